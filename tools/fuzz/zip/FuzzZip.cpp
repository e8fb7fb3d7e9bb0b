// libFuzzer target: the ZIP plug-in's archive check, directory reader, name handling (the
// names as kept, in UTF-8, too) and extractor, built natively, over archives held in memory.
#include <cstdint>
#include <vector>
#include "spi/common/EntryPath.h"
#include "spi/common/SpiResult.h"
#include "spi/common/WideUtf8.h"
#include "spi/zip/CentralDirectory.h"
#include "spi/zip/EntryExtractor.h"
#include "tools/fuzz/BoundedSink.h"

namespace {

// The name's bytes read as UTF-16 units, any of them (lone surrogates too), as the plug-ins keep
// 7z's names: kept in UTF-8 and given back, they must come back unchanged.
void ExerciseKeptName(const std::string& name) {
    std::wstring units;
    for (size_t i = 0; i + 1 < name.size(); i += 2)
        units.push_back(static_cast<wchar_t>(static_cast<uint8_t>(name[i]) | static_cast<uint8_t>(name[i + 1]) << 8));
    std::string kept = Utf8Of(units);
    if (Utf16Of(kept) != units || Utf16Length(kept.data(), kept.size()) != units.size()) __builtin_trap();
    EntryPath path;
    SplitEntryName(kept, &path, NameForm::Utf8);
    NameKey(kept, true, NameForm::Utf8);
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
    for (int count = 0; count < 256; ++count) {
        zip::Entry entry;
        bool done = false;
        if (reader.Next(&entry, &done) != SpiSuccess || done) break;
        Exercise(source, entry);
    }
    return 0;
}
