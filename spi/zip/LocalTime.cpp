#include "spi/zip/LocalTime.h"
#include <algorithm>
#include <vector>
#include "spi/common/codecs/ByteOrder.h"
#include "spi/zip/ExtraFields.h"

namespace zip {
namespace {

// The smallest time field: its 4-byte header, the flags and one 4-byte time.
constexpr uint64_t SmallestTimeField = 9;
constexpr uint64_t LargestLocalHeader = LocalHeaderSize + 0xFFFF + 0xFFFF;
constexpr uint64_t LargestDescriptorSlack = 24 - DataDescriptorMinSize;  // a signature and 64-bit sizes

// The bytes between the entry's local header offset and its data, as what follows the entry
// bounds them: the local header with its name and extra field. 0 when they cannot be told.
uint64_t HeaderRoom(const Entry& entry) {
    if (entry.nextStart == UnknownNextStart || entry.nextStart < entry.localHeaderOffset) return 0;
    uint64_t room = entry.nextStart - entry.localHeaderOffset;
    uint64_t behind = entry.flags & FlagDataDescriptor ? DataDescriptorMinSize : 0;
    return room < behind || room - behind < entry.packedSize ? 0 : room - behind - entry.packedSize;
}

}  // namespace

bool MayHoldLocalTime(const Entry& entry) {
    uint64_t room = HeaderRoom(entry), named = LocalHeaderSize + entry.name.size();
    if (entry.hasUnixTime || room < named) return false;
    // The local extra field, and what a data descriptor may take beyond its smallest size.
    uint64_t extra = room - named, slack = entry.flags & FlagDataDescriptor ? LargestDescriptorSlack : 0;
    bool sameLength = extra >= entry.extraLength && extra - entry.extraLength <= slack;
    return extra >= SmallestTimeField && !sameLength;
}

// One read of the whole header, name and extra field: every entry of an archive may be read so.
void ReadLocalTime(ByteSource& source, Entry* entry) {
    std::vector<uint8_t> header(static_cast<size_t>(std::min(HeaderRoom(*entry), LargestLocalHeader)));
    if (header.size() < LocalHeaderSize || !source.ReadAt(entry->localHeaderOffset, header.data(), header.size()) ||
        codecs::ReadLe32(header.data()) != LocalHeaderSignature)
        return;
    size_t extraAt = LocalHeaderSize + codecs::ReadLe16(header.data() + 26);
    size_t extraLength = codecs::ReadLe16(header.data() + 28);
    if (extraAt + extraLength > header.size()) return;
    Entry local;
    ReadExtraFields(header.data() + extraAt, extraLength, &local);
    entry->hasLocalTime = local.hasUnixTime || local.hasOldUnixTime;
    entry->localTime = local.hasUnixTime ? int64_t{local.unixTime} : int64_t{local.oldUnixTime};
}

}  // namespace zip
