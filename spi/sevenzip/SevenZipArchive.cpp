#include "spi/sevenzip/SevenZipArchive.h"
#include "spi/common/NameText.h"
#include "spi/common/WidePath.h"
#include "spi/common/SpiResult.h"
#include "spi/sevenzip/EntryRecords.h"
#include "spi/sevenzip/Headers.h"

SevenZipArchive::SevenZipArchive(const wchar_t* path)
    : RecordedArchive(path), unnamed_(Utf16Name(FileNameOf(path, true))), password_(path) {}

int SevenZipArchive::MakeRecords(CompactRecords* records) {
    int result = password_.Attempt([this](bool) -> int {
        contents_ = sevenzip::Contents();
        return sevenzip::ReadContents(Source(), &contents_, &password_);
    });
    if (result != SpiSuccess) return result;
    return sevenzip::MakeRecords(contents_, unnamed_, records, &entryOfRecord_);
}

int SevenZipArchive::UnpackEntry(size_t index, OutputSink& sink, ProgressReport& progress) {
    std::lock_guard<std::mutex> lock(readerMutex_);
    return password_.Attempt([&](bool again) -> int {
        if (again) {
            reader_.Forget();  // its decoders hold the wrong key
            if (!sink.Rewind()) return SpiBrokenData;
        }
        return reader_.Unpack(Source(), contents_, entryOfRecord_[index], sink, &progress, &password_);
    });
}
