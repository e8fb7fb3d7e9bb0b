// libFuzzer target over the archive reading of Lha.spi: the header walk and the unpacking of
// every entry, built natively (the parsing has no Windows dependency).
#include <cstddef>
#include <cstdint>
#include "spi/lha/ArchiveWalk.h"
#include "spi/lha/EntryUnpacker.h"

namespace {

// Takes the bytes and forgets them; stops an entry after a few MB so that an archive that
// claims gigabytes does not slow the fuzzing down.
class DiscardingSink : public lha::OutputSink {
public:
    bool Write(const uint8_t*, size_t length) override {
        taken_ += length;
        return taken_ <= 4 * 1024 * 1024;
    }

private:
    uint64_t taken_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemorySource source(data, size);
    int entries = 0;
    lha::WalkArchive(source, 0, [&](const lha::Header& header) {
        DiscardingSink sink;
        lha::UnpackEntry(source, header, sink, nullptr);
        return ++entries < 64;
    });
    return 0;
}
