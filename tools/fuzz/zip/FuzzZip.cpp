// libFuzzer target: the ZIP plug-in's archive check, directory reader, overlap check, name
// handling (the names as kept, in UTF-8, too) and extractor, built natively, over archives held
// in memory.
#include <algorithm>
#include <cstdint>
#include <vector>
#include "spi/common/EntryPath.h"
#include "spi/common/SpiResult.h"
#include "spi/common/WideUtf8.h"
#include "spi/zip/CentralDirectory.h"
#include "spi/zip/EntryExtractor.h"
#include "spi/zip/EntryLayout.h"
#include "spi/zip/LocalTime.h"
#include "tools/fuzz/BoundedSink.h"

namespace {

struct Span {
    uint64_t start, end;
};

uint64_t Add(uint64_t a, uint64_t b) { return b > UINT64_MAX - a ? UINT64_MAX : a + b; }

// The bytes EntryLayout gives an entry, worked out again, and the directory's.
std::vector<Span> Spans(const std::vector<zip::Entry>& entries, const zip::DirectoryLocation& directory) {
    std::vector<Span> spans;
    for (const zip::Entry& entry : entries) {
        uint64_t fixed = zip::LocalHeaderSize + (entry.flags & zip::FlagDataDescriptor ? zip::DataDescriptorMinSize : 0);
        spans.push_back({entry.localHeaderOffset, Add(entry.localHeaderOffset, Add(fixed, entry.packedSize))});
    }
    spans.push_back({directory.offset, Add(directory.offset, directory.size)});
    return spans;
}

// The layout's answers against every pair compared: it refuses exactly the directories in which
// two spans overlap, and what it says follows a span is the nearest start behind it.
void CheckLayout(const zip::EntryLayout& layout, bool built, const std::vector<Span>& spans, uint64_t size) {
    bool overlap = false;
    for (size_t i = 0; i < spans.size(); ++i)
        for (size_t j = i + 1; j < spans.size(); ++j)
            overlap = overlap || (spans[i].start < spans[j].end && spans[j].start < spans[i].end);
    if (overlap == built) __builtin_trap();
    if (!built) return;
    for (const Span& span : spans) {
        uint64_t next = UINT64_MAX;
        for (const Span& other : spans)
            if (other.start > span.start && other.start < next) next = other.start;
        if (layout.NextStart(span.start) != std::min<uint64_t>(next, size)) __builtin_trap();
    }
}

void Exercise(ByteSource& source, const zip::Entry& entry) {
    EntryPath path;
    if (SplitEntryName(entry.name, &path)) SameEntryName(path.path + path.fileName, entry.name, true);
    ExerciseKeptName(entry.name);

    zip::Entry again;
    if (zip::ReadRecordAt(source, entry.recordOffset, &again) != SpiSuccess) __builtin_trap();  // listed, so found again

    constexpr uint64_t MaxOutput = 1 << 20;  // keeps each run quick
    if (zip::CheckExtractable(entry) != SpiSuccess || entry.unpackedSize > MaxOutput) return;
    BoundedSink sink(static_cast<size_t>(entry.unpackedSize));
    zip::ExtractEntry(source, entry, sink, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemorySource source(data, size);
    zip::HoldsArchive(source, true);  // the check of files that do not begin like a ZIP
    zip::DirectoryReader reader;
    if (reader.Open(source) != SpiSuccess) return 0;
    std::vector<zip::Entry> entries;
    for (int count = 0; count < 256; ++count) {
        zip::Entry entry;
        bool done = false;
        if (reader.Next(&entry, &done) != SpiSuccess || done) break;
        entries.push_back(entry);
    }
    zip::EntryLayout layout;
    bool built = layout.Build(&entries, reader.Location(), source.Size()) == SpiSuccess;
    CheckLayout(layout, built, Spans(entries, reader.Location()), source.Size());
    for (zip::Entry& entry : entries) {
        if (built && entry.nextStart != layout.NextStart(entry.localHeaderOffset)) __builtin_trap();
        if (zip::MayHoldLocalTime(entry)) zip::ReadLocalTime(source, &entry);
        Exercise(source, entry);
    }
    return 0;
}
