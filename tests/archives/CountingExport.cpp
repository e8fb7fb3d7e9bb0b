// For the test builds of 7z.spi and Tar.spi: one more export, PluginStarts, how many times the
// plug-in has started decoding a block (7z) or a compressed stream (TAR) from its beginning.
#include <windows.h>
#include <cstdint>
#if defined(COUNT_SEVENZIP)
#include "spi/sevenzip/FolderReader.h"
static uint64_t Starts() { return sevenzip::FolderReader::FolderStarts(); }
#else
#include "spi/tar/TarStream.h"
static uint64_t Starts() { return tar::TarStream::Starts(); }
#endif

extern "C" __declspec(dllexport) unsigned int WINAPI PluginStarts() { return static_cast<unsigned int>(Starts()); }
