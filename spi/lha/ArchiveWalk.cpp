#include "spi/common/SpiResult.h"
#include "spi/lha/ArchiveWalk.h"

namespace lha {
namespace {

// After the first member, bytes that do not even begin like a header end the archive:
// old archives often carry padding (0x1A from transfer programs, zeros) or other data after
// their last member instead of the end marker.
bool IsTrailingData(ByteSource& source, uint64_t offset) {
    uint8_t bytes[22] = {};
    const uint64_t left = offset < source.Size() ? source.Size() - offset : 0;
    const size_t count = left < sizeof bytes ? static_cast<size_t>(left) : sizeof bytes;
    return !source.ReadAt(offset, bytes, count) || !LooksLikeHeader(bytes, count);
}

}  // namespace

int WalkArchive(ByteSource& source, uint64_t start, const std::function<bool(const Header&)>& visit) {
    Header header;
    uint64_t offset = start;
    for (;;) {
        // Entries are handed back by their header's offset, a pointer-sized number (32 bits
        // in the 32-bit plug-in, 64 in the 64-bit one).
        if (offset > UINTPTR_MAX) return SpiBrokenData;
        if (offset != start && IsTrailingData(source, offset)) return SpiSuccess;
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
