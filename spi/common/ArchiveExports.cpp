// GetPluginInfo, IsSupported, GetArchiveInfo, GetFileInfo, GetFile and DllMain of each of our
// archive plug-ins (see ArchiveExports.h); the wide exports are in WideExports.cpp.
#include "spi/common/ArchiveExports.h"
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include "spi/common/ExportCalls.h"
#include "spi/common/HostRecords.h"
#include "spi/common/ListBlocks.h"
#include "spi/common/SpiExports.h"
#include "spi/common/SpiResult.h"

using plugin::ExportSet;

SPI_EXPORT int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
    const char* text = plugin::InfoText(infono);
    if (!text || !buf || buflen <= 0) return 0;
    size_t length = strnlen(text, static_cast<size_t>(buflen) - 1);
    memcpy(buf, text, length);
    buf[length] = '\0';
    return static_cast<int>(length);
}

SPI_EXPORT int WINAPI IsSupported(LPCSTR filename, ULONG_PTR header) {
    try {
        return plugin::IsSupportedFile(filename ? plugin::AnsiPath(filename).c_str() : nullptr, header);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

SPI_EXPORT int WINAPI GetArchiveInfo(LPCSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle) {
    if (!handle) return SpiInternalError;
    *handle = nullptr;
    return plugin::WithArchive(ExportSet::Ansi, src, offset, flags,
                               [&](RecordedArchive& archive) { return ListAnsiEntries(archive, handle); });
}

// An entry whose name does not fit the record is not listed, and not found either.
SPI_EXPORT int WINAPI GetFileInfo(LPCSTR src, LONG_PTR offset, LPCSTR name, unsigned int flags,
                                  ArchiveEntry* entry) {
    if (!name || !entry) return SpiInternalError;
    return plugin::WithArchive(ExportSet::Ansi, src, offset, flags, [&](RecordedArchive& archive) -> int {
        NamedRecord record;
        int result = archive.Find(name, NameForm::Cp932, (flags & plugin::IgnoreCaseFlag) != 0, &record);
        if (result != SpiSuccess) return result;
        return ToAnsiEntry(record.numbers, record.name.path, record.name.fileName, entry) ? SpiSuccess
                                                                                          : SpiInternalError;
    });
}

SPI_EXPORT int WINAPI GetFile(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned int flags,
                              SpiProgressCallback progress, LONG_PTR data) {
    return plugin::GetEntry(ExportSet::Ansi, src, position, dest, flags, progress, data);
}

// The archive kept open is closed when the host releases the library. (When the process
// ends, the system closes it; other threads may have ended holding the cache's lock.)
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID processEnds) {
    if (reason == DLL_PROCESS_DETACH && !processEnds) plugin::CloseArchive();
    return TRUE;
}
