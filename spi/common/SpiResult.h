#pragma once
// Result codes of the Susie plug-in exports (the values every Susie host understands), shared
// by all our plug-ins.
enum SpiResult {
    SpiNotImplemented = -1,  // the request (an input or output kind) is not offered
    SpiSuccess = 0,
    SpiAborted = 1,          // the progress callback asked to stop
    SpiUnknownFormat = 2,    // not an archive of the plug-in's kind, or a feature it does not support
    SpiBrokenData = 3,       // the archive contradicts itself, ends early or fails a check
    SpiNoMemory = 4,
    SpiMemoryError = 5,      // a memory block could not be locked
    SpiReadError = 6,
    SpiInternalError = 8,    // also: no entry of that name, an output file that cannot be written
};
