#include "spi/lha/ArchiveWalk.h"
#include "spi/lha/SpiResult.h"

namespace lha {

int WalkArchive(ByteSource& source, uint64_t start, const std::function<bool(const Header&)>& visit) {
    Header header;
    uint64_t offset = start;
    for (;;) {
        // Entries are handed back by their header's offset, a 32-bit number.
        if (offset > UINT32_MAX) return SpiBrokenData;
        switch (ReadHeader(source, offset, &header)) {
        case HeaderStatus::ArchiveEnd: return SpiSuccess;
        case HeaderStatus::Broken: return SpiBrokenData;
        case HeaderStatus::Unsupported: return SpiUnknownFormat;
        case HeaderStatus::Read: break;
        }
        if (!visit(header)) return SpiSuccess;
        offset = header.nextOffset;
    }
}

}  // namespace lha
