#pragma once
// Result codes of the Susie plug-in exports (the values every Susie host understands).
enum SpiResult {
    SpiNotImplemented = -1,  // the request (an input or output kind) is not offered
    SpiSuccess = 0,
    SpiAborted = 1,          // the progress callback asked to stop
    SpiUnknownFormat = 2,    // not a ZIP archive, or a feature it does not support
    SpiBrokenData = 3,       // the archive contradicts itself or ends early
    SpiNoMemory = 4,
    SpiMemoryError = 5,      // a memory block could not be locked
    SpiReadError = 6,
    SpiOtherError = 8,       // no entry of that name, an output file that cannot be written, ...
};
