// libFuzzer target: the 7z plug-in's header reading and its folders' decoders, built natively
// (with the headers' CRCs not enforced, so that mutations reach the parsers), over archives
// held in memory. Every entry is unpacked in archive order, then one again out of order.
#include <cstdint>
#include <vector>
#include "spi/common/ByteSource.h"
#include "spi/common/SpiResult.h"
#include "spi/sevenzip/FolderReader.h"
#include "spi/sevenzip/Headers.h"
#include "tools/fuzz/BoundedSink.h"

namespace {

constexpr uint64_t MaxOutput = 1 << 20;  // keeps each run quick

void Unpack(sevenzip::FolderReader& reader, MemorySource& source, const sevenzip::Contents& contents, size_t i) {
    const sevenzip::Entry& entry = contents.entries[i];
    if (entry.size > MaxOutput || entry.offset > MaxOutput) return;
    BoundedSink sink(static_cast<size_t>(entry.size));
    int result = reader.Unpack(source, contents, i, sink, nullptr);
    if (result == SpiSuccess && sink.Used() != entry.size) __builtin_trap();  // success means every byte
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemorySource source(data, size);
    sevenzip::Contents contents;
    if (sevenzip::ReadContents(source, &contents) != SpiSuccess) return 0;
    sevenzip::FolderReader reader;
    size_t count = contents.entries.size() < 64 ? contents.entries.size() : 64;
    for (size_t i = 0; i < count; ++i) Unpack(reader, source, contents, i);
    if (count > 1) Unpack(reader, source, contents, 0);
    return 0;
}
