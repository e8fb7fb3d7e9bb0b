#include "tests/zip/ZipPluginLoader.h"
#include <cstring>
#include "tests/support/TestSupport.h"

namespace {

ZipPlugin Load() {
    ZipPlugin plugin;
    plugin.module = LoadLibraryA(PluginPath().c_str());
    if (!plugin.module) return plugin;
    auto find = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(plugin.module, name)); };
    plugin.getPluginInfo = reinterpret_cast<GetPluginInfoFn>(find("GetPluginInfo"));
    plugin.isSupported = reinterpret_cast<IsSupportedFn>(find("IsSupported"));
    plugin.getArchiveInfo = reinterpret_cast<GetArchiveInfoFn>(find("GetArchiveInfo"));
    plugin.getFileInfo = reinterpret_cast<GetFileInfoFn>(find("GetFileInfo"));
    plugin.getFile = reinterpret_cast<GetFileFn>(find("GetFile"));
    return plugin;
}

}  // namespace

const ZipPlugin& Plugin() {
    static ZipPlugin plugin = Load();
    return plugin;
}

std::string PluginPath() { return testsupport::ExeFolder() + "..\\spi\\zip\\Zip.spi"; }

std::string Fixtures() { return testsupport::ExeFolder() + "zip_fixtures\\"; }

Listing ListArchive(const std::string& archive) {
    Listing listing;
    HLOCAL block = nullptr;
    listing.result = Plugin().getArchiveInfo(archive.c_str(), 0, 0, &block);
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

Fetched FetchEntry(const std::string& archive, LONG_PTR position, SpiProgressCallback progress, LONG_PTR data) {
    Fetched fetched;
    HLOCAL block = nullptr;
    fetched.result = Plugin().getFile(archive.c_str(), position, reinterpret_cast<LPSTR>(&block),
                                      SpiOutputToMemory, progress, data);
    if (!block) return fetched;
    fetched.handed = true;
    size_t size = LocalSize(block);
    const char* bytes = static_cast<const char*>(LocalLock(block));
    if (bytes) fetched.bytes.assign(bytes, size);
    LocalUnlock(block);
    LocalFree(block);
    return fetched;
}

std::string JoinedName(const ArchiveEntry& entry) {
    return std::string(entry.path, strnlen(entry.path, sizeof entry.path)) +
           std::string(entry.fileName, strnlen(entry.fileName, sizeof entry.fileName));
}

const ArchiveEntry* FindEntry(const Listing& listing, const std::string& joinedName) {
    for (const ArchiveEntry& entry : listing.entries)
        if (JoinedName(entry) == joinedName) return &entry;
    return nullptr;
}
