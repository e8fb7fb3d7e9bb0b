#include "spi/zip/ZipArchive.h"
#include "spi/common/SpiResult.h"
#include "spi/zip/EntryExtractor.h"
#include "spi/zip/EntryRecord.h"

zip::DiskStarts zip::DisksOf(const JoinedPieces& pieces) {
    DiskStarts disks;
    if (pieces.IsSplitZip())
        for (size_t i = 0; i < pieces.Count(); ++i) disks.push_back(pieces.StartOf(i));
    return disks;
}

ZipArchive::ZipArchive(const char* path) : RecordedArchive(path), memory_(nullptr, 0), inMemory_(false) {}

ZipArchive::ZipArchive(const void* bytes, size_t size)
    : RecordedArchive(nullptr), memory_(bytes, size), inMemory_(true) {}

// A record for every entry of the directory, but those whose name is empty once cleaned
// (such as "../").
int ZipArchive::MakeRecords(std::vector<ArchiveEntry>* records) {
    int result = directory_.Open(Input(), inMemory_ ? zip::DiskStarts() : zip::DisksOf(Pieces()));
    if (result != SpiSuccess) return result;
    for (;;) {
        zip::Entry entry;
        bool done = false, skip = false;
        result = directory_.Next(&entry, &done);
        if (result != SpiSuccess || done) return result;
        ArchiveEntry record;
        result = DescribeEntry(entry, &record, &skip);
        if (result != SpiSuccess) return result;
        if (skip) continue;
        records->push_back(record);
        recordOffsets_.push_back(entry.recordOffset);
    }
}

int ZipArchive::EntryOf(size_t index, zip::Entry* entry) const {
    return directory_.RecordAt(recordOffsets_[index], entry);
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
    return zip::ExtractEntry(Input(), entry, sink, &progress);
}
