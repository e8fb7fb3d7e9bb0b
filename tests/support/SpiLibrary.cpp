#include "tests/support/SpiLibrary.h"
#include <cstring>

namespace {

template <typename T>
T Export(HMODULE module, const char* name) {
    return module ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

SpiLibrary::SpiLibrary(const std::string& path)
    : module(LoadLibraryA(path.c_str())),
      getPluginInfo(Export<GetPluginInfoFn>(module, "GetPluginInfo")),
      isSupported(Export<IsSupportedFn>(module, "IsSupported")),
      getArchiveInfo(Export<GetArchiveInfoFn>(module, "GetArchiveInfo")),
      getFileInfo(Export<GetFileInfoFn>(module, "GetFileInfo")),
      getFile(Export<GetFileFn>(module, "GetFile")) {}

SpiLibrary::~SpiLibrary() {
    if (module) FreeLibrary(module);
}

bool SpiLibrary::Loaded() const { return getPluginInfo && isSupported && getArchiveInfo && getFileInfo && getFile; }

SpiListing SpiLibrary::List(const std::string& archive) const {
    SpiListing listing;
    HLOCAL block = nullptr;
    listing.result = getArchiveInfo(archive.c_str(), 0, 0, &block);
    if (!block) return listing;
    listing.handed = true;
    size_t size = LocalSize(block);
    const char* bytes = static_cast<const char*>(LocalLock(block));
    for (size_t at = 0; bytes && at + sizeof(ArchiveEntry) <= size; at += sizeof(ArchiveEntry)) {
        if (bytes[at] == 0) break;
        ArchiveEntry entry;
        memcpy(&entry, bytes + at, sizeof entry);
        listing.entries.push_back(entry);
    }
    LocalUnlock(block);
    LocalFree(block);
    return listing;
}

SpiFetched SpiLibrary::Fetch(const std::string& archive, LONG_PTR position, SpiProgressCallback progress,
                             LONG_PTR data) const {
    SpiFetched fetched;
    HLOCAL block = nullptr;
    fetched.result = getFile(archive.c_str(), position, reinterpret_cast<LPSTR>(&block), SpiOutputToMemory, progress, data);
    if (!block) return fetched;
    fetched.handed = true;
    size_t size = LocalSize(block);
    const char* bytes = static_cast<const char*>(LocalLock(block));
    if (bytes) fetched.bytes.assign(bytes, size);
    LocalUnlock(block);
    LocalFree(block);
    return fetched;
}

uint64_t ReadNumber(const unsigned char* record, size_t at, size_t width) {
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;) value = value << 8 | record[at + i];
    return value;
}

void WriteNumber(unsigned char* record, size_t at, size_t width, uint64_t value) {
    for (size_t i = 0; i < width; ++i, value >>= 8) record[at + i] = static_cast<unsigned char>(value);
}

std::string JoinedName(const ArchiveEntry& entry) {
    return std::string(entry.path, strnlen(entry.path, sizeof entry.path)) +
           std::string(entry.fileName, strnlen(entry.fileName, sizeof entry.fileName));
}
