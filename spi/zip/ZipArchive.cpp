#include "spi/zip/ZipArchive.h"
#include <utility>
#include "spi/common/NameText.h"
#include "spi/common/SpiResult.h"
#include "spi/common/password/ArchivePasswords.h"
#include "spi/zip/EncryptedEntry.h"
#include "spi/zip/EntryExtractor.h"
#include "spi/zip/EntryRecord.h"
#include "spi/zip/LocalTime.h"
#include "spi/zip/StreamBounds.h"

zip::DiskStarts zip::DisksOf(const JoinedPieces& pieces) {
    DiskStarts disks;
    if (pieces.IsSplitZip())
        for (size_t i = 0; i < pieces.Count(); ++i) disks.push_back(pieces.StartOf(i));
    return disks;
}

ZipArchive::ZipArchive(const wchar_t* path)
    : RecordedArchive(path), memory_(nullptr, 0), inMemory_(false), path_(path ? path : L"") {}

ZipArchive::ZipArchive(const void* bytes, size_t size)
    : RecordedArchive(nullptr), memory_(bytes, size), inMemory_(true) {}

// A record for every entry of the directory, but those whose name is empty once cleaned
// (such as "../"). Whether unflagged names are UTF-8 is decided for the whole archive, so the
// directory is read through before any record is made.
int ZipArchive::MakeRecords(CompactRecords* records) {
    int result = directory_.Open(Input(), inMemory_ ? zip::DiskStarts() : zip::DisksOf(Pieces()));
    if (result != SpiSuccess) return result;
    std::vector<zip::Entry> entries;
    entries.reserve(directory_.MaxEntries());
    for (bool done = false;;) {
        zip::Entry entry;
        result = directory_.Next(&entry, &done);
        if (result != SpiSuccess || done) break;
        entries.push_back(std::move(entry));
    }
    if (result != SpiSuccess) return result;
    result = layout_.Build(&entries, directory_.Location(), Input().Size());
    if (result != SpiSuccess) return result;
    bool namesUtf8 = UnflaggedNamesAreUtf8(entries);
    std::vector<std::string> kept = KeptNames(entries, namesUtf8);
    DistinctNames names(AnyNameConverted(entries, kept));
    for (size_t i = 0; i < entries.size(); ++i) {
        PlaceEntry(&entries[i]);
        NamedRecord record;
        bool skip = false;
        result = DescribeEntry(entries[i], names.Name(entries[i].name, kept[i]), &record, &skip);
        if (result != SpiSuccess) return result;
        if (skip) continue;
        records->Add(record.numbers, record.name.path, record.name.fileName);
        recordOffsets_.push_back(entries[i].recordOffset);
    }
    return SpiSuccess;
}

// The name's length in the central record stands for the local header's, which is not read
// here (they differ only in odd archives).
void ZipArchive::PlaceEntry(zip::Entry* entry) {
    zip::RestoreCutSizes(entry, entry->localHeaderOffset + zip::LocalHeaderSize + entry->name.size());
    if (zip::MayHoldLocalTime(*entry)) zip::ReadLocalTime(Input(), entry);
}

int ZipArchive::EntryOf(size_t index, zip::Entry* entry) const {
    int result = directory_.RecordAt(recordOffsets_[index], entry);
    entry->nextStart = layout_.NextStart(entry->localHeaderOffset);
    return result;
}

int ZipArchive::CheckUnpackable(size_t index) {
    zip::Entry entry;
    int result = EntryOf(index, &entry);
    return result == SpiSuccess ? zip::CheckExtractable(entry) : result;
}

int ZipArchive::UnpackEntry(size_t index, OutputSink& sink, ProgressReport& progress) {
    zip::Entry entry;
    int result = EntryOf(index, &entry);
    if (result != SpiSuccess) return result;
    if (!(entry.flags & zip::FlagEncrypted)) return zip::ExtractEntry(Input(), entry, sink, &progress);
    // Typed on Japanese Windows, the password is code page 932 bytes; elsewhere, UTF-8.
    password::ArchivePasswords passwords(path_, {password::PasswordForm::Cp932, password::PasswordForm::Utf8});
    return zip::ExtractEncryptedEntry(Input(), entry, sink, &progress, passwords);
}
