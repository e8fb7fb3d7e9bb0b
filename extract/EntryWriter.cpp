#include "extract/EntryWriter.h"
#include <windows.h>
#include "extract/ExtractionTexts.h"
#include "extract/FileTimes.h"

namespace {
// Code of a fetch that succeeded but holds fewer bytes than the entry claims.
constexpr int ShortBlockCode = -10;
// One WriteFile call takes at most a DWORD's worth; entries of the 64-bit build hold more.
constexpr size_t MaxWriteChunk = 1u << 30;

// Creates or truncates the file and writes the bytes; false when any step fails. A
// read-only file is refused even where the file system would let this process write it.
bool WriteWholeFile(const std::string& path, const char* bytes, size_t size) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool written = true;
    for (size_t done = 0; written && done < size;) {
        DWORD chunk = static_cast<DWORD>(size - done < MaxWriteChunk ? size - done : MaxWriteChunk);
        DWORD count = 0;
        written = WriteFile(file, bytes + done, chunk, &count, nullptr) && count > 0;
        done += count;
    }
    bool closed = CloseHandle(file) != FALSE;
    return written && closed;
}
}  // namespace

bool WriteEntry(const ExtractionPlan& plan, const ArchiveEntry& entry, const std::string& filePath,
                ExtractionMessages& messages) {
    PluginBlock fetched;  // the plug-in's own block, released on every path
    int code = plan.host->FetchEntry(plan.pluginIndex, plan.archivePath.c_str(), &entry, &fetched);
    if (code >= 0 && fetched.Size() < entry.unpackedSize) code = ShortBlockCode;
    if (code < 0) {
        messages.ShowPluginError(code);
        return false;
    }
    if (!WriteWholeFile(filePath, reinterpret_cast<const char*>(fetched.Bytes()), entry.unpackedSize)) {
        messages.ShowMessage(WriteFailedText);
        return false;
    }
    if (entry.timestamp != 0) SetModificationTime(filePath.c_str(), entry.timestamp);
    return true;
}
