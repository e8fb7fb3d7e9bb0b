#pragma once
// A 7z archive file the plug-in keeps open between calls (see ArchiveCache): its headers are
// read once, on first use, and its folders' decoders stay where the last entry left them
// (FolderReader), so that a host fetching the entries in archive order decodes each folder once.
// Encrypted folders and headers are read with the archive's password (ArchivePassword).
#include <mutex>
#include <string>
#include <vector>
#include "spi/common/RecordedArchive.h"
#include "spi/sevenzip/ArchivePassword.h"
#include "spi/sevenzip/Contents.h"
#include "spi/sevenzip/FolderReader.h"

class SevenZipArchive : public RecordedArchive {
public:
    explicit SevenZipArchive(const wchar_t* path);

    int UnpackEntry(size_t index, OutputSink& sink, ProgressReport& progress) override;

protected:
    int MakeRecords(CompactRecords* records) override;

private:
    std::string unnamed_;  // the name of an entry stored without one: the archive's, less its extension (UTF-8)
    sevenzip::Contents contents_;
    std::vector<size_t> entryOfRecord_;  // index in contents_.entries of each record
    ArchivePassword password_;
    std::mutex readerMutex_;
    sevenzip::FolderReader reader_;
};
