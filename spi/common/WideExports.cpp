// The wide exports of each of our archive plug-ins: GetPluginInfoW, IsSupportedW,
// GetArchiveInfoW, GetFileInfoW and GetFileW, the ANSI ones' calls with UTF-16 texts and
// ArchiveEntryW records, and our GetArchiveListW, whose records carry names of any length.
#include <cstring>
#include <new>
#include <string>
#include "spi/common/ArchiveExports.h"
#include "spi/common/ExportCalls.h"
#include "spi/common/HostRecords.h"
#include "spi/common/ListBlocks.h"
#include "spi/common/SpiExports.h"
#include "spi/common/SpiResult.h"
#include "spi/common/WideUtf8.h"
#include "text/WideText.h"

using plugin::ExportSet;

SPI_EXPORT int WINAPI GetPluginInfoW(int infono, LPWSTR buf, int buflen) {
    const char* text = plugin::InfoText(infono);
    if (!text || !buf || buflen <= 0) return 0;
    try {
        std::wstring wide = Cp932ToWide(text);
        size_t length = wide.size() < static_cast<size_t>(buflen) ? wide.size() : static_cast<size_t>(buflen) - 1;
        memcpy(buf, wide.data(), length * sizeof(wchar_t));
        buf[length] = L'\0';
        return static_cast<int>(length);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

SPI_EXPORT int WINAPI IsSupportedW(LPCWSTR filename, ULONG_PTR header) {
    try {
        return plugin::IsSupportedFile(filename, header);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

SPI_EXPORT int WINAPI GetArchiveInfoW(LPCWSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle) {
    if (!handle) return SpiInternalError;
    *handle = nullptr;
    return plugin::WithArchive(ExportSet::Wide, src, offset, flags,
                               [&](RecordedArchive& archive) { return ListWideEntries(archive, handle); });
}

SPI_EXPORT int WINAPI GetArchiveListW(LPCWSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle) {
    if (!handle) return SpiInternalError;
    *handle = nullptr;
    return plugin::WithArchive(ExportSet::Wide, src, offset, flags,
                               [&](RecordedArchive& archive) { return ListFullRecords(archive, handle); });
}

// An entry whose name does not fit the record is not found (GetArchiveListW lists it).
SPI_EXPORT int WINAPI GetFileInfoW(LPCWSTR src, LONG_PTR offset, LPCWSTR name, unsigned int flags,
                                   ArchiveEntryW* entry) {
    if (!name || !entry) return SpiInternalError;
    return plugin::WithArchive(ExportSet::Wide, src, offset, flags, [&](RecordedArchive& archive) -> int {
        NamedRecord record;
        int result = archive.Find(Utf8Of(name), NameForm::Utf8, (flags & plugin::IgnoreCaseFlag) != 0, &record);
        if (result != SpiSuccess) return result;
        KeptRecord kept{record.numbers, record.name.path, record.name.fileName};
        return ToWideEntry(kept, entry) ? SpiSuccess : SpiInternalError;
    });
}

SPI_EXPORT int WINAPI GetFileW(LPCWSTR src, LONG_PTR position, LPWSTR dest, unsigned int flags,
                               SpiProgressCallback progress, LONG_PTR data) {
    return plugin::GetEntry(ExportSet::Wide, src, position, dest, flags, progress, data);
}
