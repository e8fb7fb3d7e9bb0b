// libFuzzer target: the TAR plug-in's member walk, its pax and GNU extensions and the
// decompressors it reads through, built natively (with header checksums not enforced, so that
// mutations reach the parsing), over archives held in memory. Every member's data is read in
// archive order, then the first again out of order.
#include <cstdint>
#include <vector>
#include "spi/common/ByteSource.h"
#include "spi/common/SpiResult.h"
#include "spi/tar/MemberWalk.h"

namespace {

constexpr uint64_t MaxOutput = 1 << 20;  // keeps each run quick

void Read(tar::TarStream& stream, const tar::Member& member) {
    if (member.size > MaxOutput || member.dataOffset > MaxOutput) return;
    std::vector<uint8_t> bytes(static_cast<size_t>(member.size) + 1);
    size_t produced = 0;
    if (stream.ReadAt(member.dataOffset, bytes.data(), static_cast<size_t>(member.size), &produced) == SpiSuccess &&
        produced > member.size)
        __builtin_trap();  // read past the room it was given
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemorySource source(data, size);
    tar::TarStream stream(source, tar::CompressionOf(data, size));
    std::vector<tar::Member> members;
    uint64_t end = 0;
    if (tar::WalkMembers(stream, &members, &end) != SpiSuccess) {
        stream.EndsAt(0);
        return 0;
    }
    size_t count = members.size() < 64 ? members.size() : 64;
    for (size_t i = 0; i < count; ++i) Read(stream, members[i]);
    if (count > 1) Read(stream, members[0]);
    stream.EndsAt(end);
    return 0;
}
