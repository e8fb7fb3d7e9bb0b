#include "spi/sevenzip/EntryRecords.h"
#include "spi/common/EntryRecord.h"
#include "spi/common/NameText.h"
#include "spi/common/SpiResult.h"

namespace sevenzip {
namespace {

// The method of the folder as users know it: that of the coder reading the first packed
// stream (LZMA under BCJ2, 7zAES for an encrypted folder).
const char* MethodName(const Folder& folder) {
    uint32_t first = 0;
    uint32_t coder = folder.CoderOfInput(folder.packedInputs.empty() ? 0 : folder.packedInputs[0], &first);
    if (coder >= folder.coders.size()) return "7z";
    uint64_t id = 0;
    for (uint8_t byte : folder.coders[coder].method) id = (id << 8) | byte;
    switch (id) {
        case 0x00: return "Copy";
        case 0x030101: return "LZMA";
        case 0x21: return "LZMA2";
        case 0x030401: return "PPMd";
        case 0x040108: return "Deflate";
        case 0x040109: return "Deflat64";
        case 0x040202: return "BZip2";
        case 0x06F10701: return "7zAES";
        default: return "7z";
    }
}

uint64_t PackedSize(const Contents& contents, const Folder& folder) {
    uint64_t size = 0;
    for (size_t i = 0; i < folder.packedInputs.size(); ++i) size += contents.packSizes[folder.firstPackStream + i];
    return size;
}

// The entry's share of its folder's packed size; at least 1 for an entry with content, so that
// hosts take its record as complete.
uint64_t PackedShare(const Contents& contents, const Entry& entry) {
    const Folder& folder = contents.folders[entry.folder];
    if (entry.size == 0) return 0;
    if (folder.streams == 1) return PackedSize(contents, folder);
    double share = static_cast<double>(PackedSize(contents, folder)) * static_cast<double>(entry.size) /
                   static_cast<double>(folder.UnpackSize());
    return share < 1 ? 1 : static_cast<uint64_t>(share);
}

// The UTF-16 name's bytes, to tell apart names that convert alike.
std::string StoredBytes(const std::wstring& name) {
    return std::string(reinterpret_cast<const char*>(name.data()), name.size() * sizeof(wchar_t));
}

}  // namespace

int MakeRecords(const Contents& contents, const std::string& unnamed, CompactRecords* records,
                std::vector<size_t>* entryOfRecord) {
    DistinctNames names;
    for (size_t i = 0; i < contents.entries.size(); ++i) {
        const Entry& entry = contents.entries[i];
        if (entry.isAnti) continue;
        EntryFields fields;
        std::wstring name(entry.name.begin(), entry.name.end());
        if (name.empty()) fields.name = unnamed;
        else fields.name = names.Name(StoredBytes(name), Utf16Name(name));
        if (entry.isFolder) fields.name += '\\';
        if (entry.hasStream) fields.method = MethodName(contents.folders[entry.folder]);
        else fields.method = entry.isFolder ? "Folder" : "Empty";
        fields.position = i + 1;
        fields.packedSize = entry.hasStream ? PackedShare(contents, entry) : 0;
        fields.unpackedSize = entry.size;
        fields.timestamp = entry.timeDefined ? FileTimeToUnix(entry.modified) : 0;
        fields.crc = entry.crc;
        NamedRecord record;
        bool skip = false;
        int result = FillRecord(fields, &record, &skip);
        if (result != SpiSuccess) return result;
        if (skip) continue;
        records->Add(record.numbers, record.name.path, record.name.fileName);
        entryOfRecord->push_back(i);
    }
    return SpiSuccess;
}

}  // namespace sevenzip
