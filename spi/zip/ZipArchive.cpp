#include "spi/common/SpiResult.h"
#include "spi/zip/ZipArchive.h"

int ZipArchive::ReadDirectory() {
    if (!directoryRead_) {
        directoryResult_ = directory_.Open(Source());
        directoryRead_ = true;
    }
    return directoryResult_;
}

int ZipArchive::Directory(zip::DirectoryReader* reader) {
    std::lock_guard<std::mutex> lock(mutex_);
    int result = ReadDirectory();
    if (result == SpiSuccess) *reader = directory_;
    return result;
}

int ZipArchive::RecordAt(uint64_t recordOffset, zip::Entry* entry) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (ReadDirectory() == SpiSuccess) return directory_.RecordAt(recordOffset, entry);
    }
    // A directory too large to hold: the record alone, from the file.
    return zip::ReadRecordAt(Source(), recordOffset, entry);
}

int ZipArchive::FindName(const char* name, uint64_t* recordOffset) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!indexBuilt_) {
        indexResult_ = ReadDirectory();
        if (indexResult_ == SpiSuccess) indexResult_ = names_.Build(directory_);
        indexBuilt_ = true;
    }
    if (indexResult_ != SpiSuccess) return indexResult_;
    return names_.Find(name, recordOffset);
}
