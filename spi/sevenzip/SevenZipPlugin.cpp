// The exports of 7z.spi: 7z archives through the Susie archive plug-in interface.
#include <type_traits>
#include "plugins/SusiePlugin.h"
#include "spi/common/ArchiveExports.h"
#include "spi/sevenzip/Headers.h"
#include "spi/sevenzip/SevenZipArchive.h"

SPI_EXPORT int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen);
SPI_EXPORT int WINAPI IsSupported(LPCSTR filename, ULONG_PTR header);
SPI_EXPORT int WINAPI GetArchiveInfo(LPCSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle);
SPI_EXPORT int WINAPI GetFileInfo(LPCSTR src, LONG_PTR offset, LPCSTR name, unsigned int flags,
                                  ArchiveEntry* entry);
SPI_EXPORT int WINAPI GetFile(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned int flags,
                              SpiProgressCallback progress, LONG_PTR data);

static_assert(std::is_same<decltype(&GetPluginInfo), GetPluginInfoFn>::value, "GetPluginInfo signature");
static_assert(std::is_same<decltype(&IsSupported), IsSupportedFn>::value, "IsSupported signature");
static_assert(std::is_same<decltype(&GetArchiveInfo), GetArchiveInfoFn>::value, "GetArchiveInfo signature");
static_assert(std::is_same<decltype(&GetFileInfo), GetFileInfoFn>::value, "GetFileInfo signature");
static_assert(std::is_same<decltype(&GetFile), GetFileFn>::value, "GetFile signature");

namespace {

// The archive file a host reads entry by entry stays open between calls.
ArchiveExports<SevenZipArchive> plugin;

}  // namespace

SPI_EXPORT int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
    switch (infono) {
        case 0: return CopyInfoText("00AM", buf, buflen);
        case 1: return CopyInfoText("Varnito 7z plug-in 1.0 (LZMA, LZMA2, BCJ, BCJ2, Deflate, BZip2)", buf, buflen);
        case 2: return CopyInfoText("*.7z", buf, buflen);
        case 3: return CopyInfoText("7z 書庫", buf, buflen);
        default: return 0;
    }
}

SPI_EXPORT int WINAPI IsSupported(LPCSTR filename, ULONG_PTR header) {
    uint8_t bytes[SpiHeaderBytes];
    return ArchiveHeader(filename, header, bytes) && sevenzip::HasSignature(bytes, sizeof bytes) ? 1 : 0;
}

SPI_EXPORT int WINAPI GetArchiveInfo(LPCSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle) {
    return plugin.GetArchiveInfo(src, offset, flags, handle);
}

SPI_EXPORT int WINAPI GetFileInfo(LPCSTR src, LONG_PTR offset, LPCSTR name, unsigned int flags,
                                  ArchiveEntry* entry) {
    return plugin.GetFileInfo(src, offset, name, flags, entry);
}

SPI_EXPORT int WINAPI GetFile(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned int flags,
                              SpiProgressCallback progress, LONG_PTR data) {
    return plugin.GetFile(src, position, dest, flags, progress, data);
}

// The archive kept open is closed when the host releases the library. (When the process
// ends, the system closes it; other threads may have ended holding the cache's lock.)
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID processEnds) {
    if (reason == DLL_PROCESS_DETACH && !processEnds) plugin.Close();
    return TRUE;
}
