#pragma once
// The exports of an archive plug-in, declared as hosts call them (the types the host side
// declares in plugins/SusiePlugin.h): the five of the interface, their wide forms, and our
// GetArchiveListW. A plug-in's source defines them.
#include <type_traits>
#include "plugins/SusiePlugin.h"

SPI_EXPORT int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen);
SPI_EXPORT int WINAPI IsSupported(LPCSTR filename, ULONG_PTR header);
SPI_EXPORT int WINAPI GetArchiveInfo(LPCSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle);
SPI_EXPORT int WINAPI GetFileInfo(LPCSTR src, LONG_PTR offset, LPCSTR name, unsigned int flags,
                                  ArchiveEntry* entry);
SPI_EXPORT int WINAPI GetFile(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned int flags,
                              SpiProgressCallback progress, LONG_PTR data);
SPI_EXPORT int WINAPI GetPluginInfoW(int infono, LPWSTR buf, int buflen);
SPI_EXPORT int WINAPI IsSupportedW(LPCWSTR filename, ULONG_PTR header);
SPI_EXPORT int WINAPI GetArchiveInfoW(LPCWSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle);
SPI_EXPORT int WINAPI GetFileInfoW(LPCWSTR src, LONG_PTR offset, LPCWSTR name, unsigned int flags,
                                   ArchiveEntryW* entry);
SPI_EXPORT int WINAPI GetFileW(LPCWSTR src, LONG_PTR position, LPWSTR dest, unsigned int flags,
                               SpiProgressCallback progress, LONG_PTR data);
SPI_EXPORT int WINAPI GetArchiveListW(LPCWSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle);

static_assert(std::is_same<decltype(&GetPluginInfo), GetPluginInfoFn>::value, "GetPluginInfo signature");
static_assert(std::is_same<decltype(&IsSupported), IsSupportedFn>::value, "IsSupported signature");
static_assert(std::is_same<decltype(&GetArchiveInfo), GetArchiveInfoFn>::value, "GetArchiveInfo signature");
static_assert(std::is_same<decltype(&GetFileInfo), GetFileInfoFn>::value, "GetFileInfo signature");
static_assert(std::is_same<decltype(&GetFile), GetFileFn>::value, "GetFile signature");
static_assert(std::is_same<decltype(&GetPluginInfoW), GetPluginInfoWFn>::value, "GetPluginInfoW signature");
static_assert(std::is_same<decltype(&IsSupportedW), IsSupportedWFn>::value, "IsSupportedW signature");
static_assert(std::is_same<decltype(&GetArchiveInfoW), GetArchiveInfoWFn>::value, "GetArchiveInfoW signature");
static_assert(std::is_same<decltype(&GetFileInfoW), GetFileInfoWFn>::value, "GetFileInfoW signature");
static_assert(std::is_same<decltype(&GetFileW), GetFileWFn>::value, "GetFileW signature");
static_assert(std::is_same<decltype(&GetArchiveListW), GetArchiveListWFn>::value, "GetArchiveListW signature");
