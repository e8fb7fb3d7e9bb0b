// The exports of Tar.spi: TAR archives, plain or in gzip, bzip2 or xz, and files packed alone by
// one of those, through the Susie archive plug-in interface.
#include <type_traits>
#include "plugins/SusiePlugin.h"
#include "spi/common/ArchiveExports.h"
#include "spi/tar/TarArchive.h"
#include "spi/tar/TarHeader.h"

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
ArchiveExports<TarArchive> plugin;

}  // namespace

SPI_EXPORT int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
    switch (infono) {
        case 0: return CopyInfoText("00AM", buf, buflen);
        case 1: return CopyInfoText("Varnito TAR plug-in 1.0 (tar, gzip, bzip2, xz)", buf, buflen);
        case 2: return CopyInfoText("*.tar;*.tgz;*.tar.gz;*.tbz2;*.tar.bz2;*.txz;*.tar.xz;*.gz;*.bz2;*.xz", buf, buflen);
        case 3: return CopyInfoText("TAR 書庫", buf, buflen);
        default: return 0;
    }
}

SPI_EXPORT int WINAPI IsSupported(LPCSTR filename, ULONG_PTR header) {
    uint8_t bytes[SpiHeaderBytes];
    if (!ArchiveHeader(filename, header, bytes)) return 0;
    if (tar::CompressionOf(bytes, sizeof bytes) != tar::Compression::None) return 1;
    tar::HeaderBlock block;
    return tar::ReadHeaderBlock(bytes, &block) == tar::BlockKind::Header ? 1 : 0;
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
