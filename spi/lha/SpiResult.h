#pragma once
// Result codes of the Susie plug-in exports (the values every Susie host understands).
enum SpiResult {
    SpiNotImplemented = -1,  // the request (an input or output kind) is not offered
    SpiSuccess = 0,
    SpiAborted = 1,          // the progress callback asked to stop
    SpiUnknownFormat = 2,    // not an LHA archive, or a method this plug-in does not unpack
    SpiBrokenData = 3,       // the archive contradicts itself, ends early or fails its CRC
    SpiNoMemory = 4,
    SpiMemoryError = 5,      // a memory block could not be locked
    SpiReadError = 6,
    SpiInternalError = 8,    // also: no such entry, or the output file could not be written
};
