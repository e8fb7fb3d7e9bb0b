#pragma once
// The five exports of an archive plug-in, declared as hosts call them (the types the host side
// declares in plugins/SusiePlugin.h); a plug-in's source defines them.
#include <type_traits>
#include "plugins/SusiePlugin.h"

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
