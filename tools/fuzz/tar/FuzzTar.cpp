// libFuzzer target: the TAR plug-in's member walk, its pax and GNU extensions, the sparse maps
// of every form and the decompressors it reads through, built natively (with header checksums
// not enforced, so that mutations reach the parsing), over archives held in memory. Every
// member's data (a sparse member's regions) is read in archive order through the two readers
// the plug-in uses, then the first again out of order.
#include <cstdint>
#include <memory>
#include <vector>
#include "spi/common/ByteSource.h"
#include "spi/common/SpiResult.h"
#include "spi/tar/MemberWalk.h"
#include "spi/tar/StreamPair.h"

namespace {

constexpr uint64_t MaxOutput = 1 << 20;  // keeps each run quick

void ReadRange(tar::StreamPair& streams, uint64_t offset, uint64_t size) {
    tar::TarStream* stream = streams.For(offset);
    if (!stream || size > MaxOutput || offset > MaxOutput) return;
    std::vector<uint8_t> bytes(static_cast<size_t>(size) + 1);
    size_t produced = 0;
    if (stream->ReadAt(offset, bytes.data(), static_cast<size_t>(size), &produced) == SpiSuccess && produced > size)
        __builtin_trap();  // read past the room it was given
}

void Read(tar::StreamPair& streams, const tar::Member& member) {
    if (member.kind != tar::MemberKind::Sparse) return ReadRange(streams, member.dataOffset, member.size);
    uint64_t stored = member.dataOffset, end = 0;
    for (const tar::Region& region : member.regions) {
        if (region.offset < end || region.offset + region.size > member.size) __builtin_trap();  // a map let through
        end = region.offset + region.size;
        ReadRange(streams, stored, region.size);
        stored += region.size;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemorySource source(data, size);
    std::unique_ptr<tar::StreamPair> streams = tar::StreamPair::Make(source, tar::CompressionOf(data, size));
    if (!streams) return 0;
    std::vector<tar::Member> members;
    uint64_t end = 0;
    if (tar::WalkMembers(streams->First(), &members, &end) != SpiSuccess) {
        streams->First().EndsAt(0);
        return 0;
    }
    size_t count = members.size() < 64 ? members.size() : 64;
    for (size_t i = 0; i < count; ++i) Read(*streams, members[i]);
    if (count > 1) Read(*streams, members[0]);
    streams->First().EndsAt(end);
    return 0;
}
