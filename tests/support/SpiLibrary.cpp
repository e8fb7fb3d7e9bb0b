#include "tests/support/SpiLibrary.h"
#include <cstddef>
#include <cstring>
#include <cwchar>

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
      getFile(Export<GetFileFn>(module, "GetFile")),
      getPluginInfoW(Export<GetPluginInfoWFn>(module, "GetPluginInfoW")),
      isSupportedW(Export<IsSupportedWFn>(module, "IsSupportedW")),
      getArchiveInfoW(Export<GetArchiveInfoWFn>(module, "GetArchiveInfoW")),
      getFileInfoW(Export<GetFileInfoWFn>(module, "GetFileInfoW")),
      getFileW(Export<GetFileWFn>(module, "GetFileW")),
      getArchiveListW(Export<GetArchiveListWFn>(module, "GetArchiveListW")) {}

SpiLibrary::~SpiLibrary() {
    if (module) FreeLibrary(module);
}

bool SpiLibrary::Loaded() const {
    return getPluginInfo && isSupported && getArchiveInfo && getFileInfo && getFile && getPluginInfoW && isSupportedW &&
           getArchiveInfoW && getFileInfoW && getFileW && getArchiveListW;
}

namespace {

// The records of a GetArchiveInfo or GetArchiveInfoW block before its terminator, read within
// the block's size; the block is released.
template <class Listing, class Entry>
void TakeRecords(HLOCAL block, Listing* listing) {
    if (!block) return;
    listing->handed = true;
    size_t size = LocalSize(block);
    const char* bytes = static_cast<const char*>(LocalLock(block));
    for (size_t at = 0; bytes && at + sizeof(Entry) <= size; at += sizeof(Entry)) {
        if (bytes[at] == 0) break;
        Entry entry;
        memcpy(&entry, bytes + at, sizeof entry);
        listing->entries.push_back(entry);
    }
    LocalUnlock(block);
    LocalFree(block);
}

// GetFile's block to memory, its bytes taken and the block released.
void TakeBytes(HLOCAL block, SpiFetched* fetched) {
    if (!block) return;
    fetched->handed = true;
    size_t size = LocalSize(block);
    const char* bytes = static_cast<const char*>(LocalLock(block));
    if (bytes) fetched->bytes.assign(bytes, size);
    LocalUnlock(block);
    LocalFree(block);
}

}  // namespace

SpiListing SpiLibrary::List(const std::string& archive) const {
    SpiListing listing;
    HLOCAL block = nullptr;
    listing.result = getArchiveInfo(archive.c_str(), 0, 0, &block);
    TakeRecords<SpiListing, ArchiveEntry>(block, &listing);
    return listing;
}

SpiWideListing SpiLibrary::ListWide(const std::wstring& archive) const {
    SpiWideListing listing;
    HLOCAL block = nullptr;
    listing.result = getArchiveInfoW(archive.c_str(), 0, 0, &block);
    TakeRecords<SpiWideListing, ArchiveEntryW>(block, &listing);
    return listing;
}

namespace {

// The record at `at` of a GetArchiveListW block of `size` bytes, checked against its format;
// false when it breaks it.
bool ReadListRecord(const unsigned char* bytes, size_t size, size_t at, SpiListedEntry* entry) {
    memcpy(&entry->record, bytes + at, sizeof entry->record);
    const ArchiveListRecord& record = entry->record;
    if (record.size % ArchiveListAlignment != 0 || record.size > size - at) return false;
    size_t units = static_cast<size_t>(record.pathLength) + record.fileNameLength + 2;
    if (units > (record.size - sizeof record) / sizeof(wchar_t)) return false;
    std::wstring names(units, L'\0');
    memcpy(&names[0], bytes + at + sizeof record, units * sizeof(wchar_t));
    if (names[record.pathLength] != 0 || names[units - 1] != 0) return false;
    for (size_t pad = at + sizeof record + units * sizeof(wchar_t); pad < at + record.size; ++pad)
        if (bytes[pad] != 0) return false;
    entry->path = names.substr(0, record.pathLength);
    entry->fileName = names.substr(record.pathLength + 1, record.fileNameLength);
    return true;
}

}  // namespace

SpiFullListing SpiLibrary::ListFull(const std::wstring& archive) const {
    SpiFullListing listing;
    HLOCAL block = nullptr;
    listing.result = getArchiveListW(archive.c_str(), 0, 0, &block);
    if (!block) return listing;
    listing.handed = true;
    size_t size = LocalSize(block);
    const auto* bytes = static_cast<const unsigned char*>(LocalLock(block));
    for (size_t at = 0; bytes && at + sizeof(uint32_t) <= size;) {
        uint32_t recordSize = 0;
        memcpy(&recordSize, bytes + at, sizeof recordSize);
        if (recordSize == 0) {
            listing.wellFormed = true;
            break;
        }
        SpiListedEntry entry;
        if (recordSize < sizeof(ArchiveListRecord) || !ReadListRecord(bytes, size, at, &entry)) break;
        listing.entries.push_back(entry);
        at += recordSize;
    }
    LocalUnlock(block);
    LocalFree(block);
    return listing;
}

SpiFetched SpiLibrary::FetchWide(const std::wstring& archive, LONG_PTR position) const {
    SpiFetched fetched;
    HLOCAL block = nullptr;
    fetched.result = getFileW(archive.c_str(), position, reinterpret_cast<LPWSTR>(&block), SpiOutputToMemory, nullptr, 0);
    TakeBytes(block, &fetched);
    return fetched;
}

SpiFetched SpiLibrary::Fetch(const std::string& archive, LONG_PTR position, SpiProgressCallback progress,
                             LONG_PTR data) const {
    SpiFetched fetched;
    HLOCAL block = nullptr;
    fetched.result = getFile(archive.c_str(), position, reinterpret_cast<LPSTR>(&block), SpiOutputToMemory, progress, data);
    TakeBytes(block, &fetched);
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

std::wstring JoinedName(const ArchiveEntryW& entry) {
    wchar_t path[200], fileName[200];
    memcpy(path, reinterpret_cast<const char*>(&entry) + offsetof(ArchiveEntryW, path), sizeof path);
    memcpy(fileName, reinterpret_cast<const char*>(&entry) + offsetof(ArchiveEntryW, fileName), sizeof fileName);
    return std::wstring(path, wcsnlen(path, 200)) + std::wstring(fileName, wcsnlen(fileName, 200));
}

std::wstring JoinedName(const SpiListedEntry& entry) { return entry.path + entry.fileName; }
