// libFuzzer target over the archive reading of Lha.spi: the header walk and the unpacking of
// every entry, built natively (the parsing has no Windows dependency).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include "spi/lha/ArchiveWalk.h"
#include "spi/lha/EntryUnpacker.h"
#include "tools/fuzz/BoundedSink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemorySource source(data, size);
    int entries = 0;
    lha::WalkArchive(source, 0, [&](const lha::Header& header) {
        // An entry claiming gigabytes is cut at a few MB, so that the fuzzing stays fast.
        BoundedSink sink(static_cast<size_t>(std::min<uint64_t>(header.unpackedSize, 4 * 1024 * 1024)));
        lha::UnpackEntry(source, header, sink, nullptr);
        return ++entries < 64;
    });
    return 0;
}
