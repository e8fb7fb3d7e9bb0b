#include "extract/EntryWriter.h"
#include <windows.h>
#include "extract/ExtractionTexts.h"
#include "plugins/PluginBlock.h"

namespace {
// Code of a fetch that succeeded but holds fewer bytes than the entry claims.
constexpr int ShortBlockCode = -10;

// The entry's bytes through its plug-in: 0, or a negative plug-in result code.
int FetchBytes(const ExtractionPlan& plan, const ArchiveEntry& entry, PluginBlock* fetched) {
    int code = plan.host->FetchEntry(plan.pluginIndex, plan.archivePath.c_str(), &entry, fetched);
    if (code >= 0 && fetched->Size() < entry.unpackedSize) code = ShortBlockCode;
    return code < 0 ? code : 0;
}

bool WriteBytes(const std::string& filePath, const OutputFileState& existing, const char* bytes, size_t size,
                int64_t timestamp) {
    // A read-only file is refused even where the file system would let this process replace it.
    if (existing.isFolder || existing.IsReadOnly()) return false;
    if (existing.exists) return ReplaceExistingFile(filePath, existing, bytes, size, timestamp);
    return WriteNewFile(filePath, bytes, size, timestamp);
}
}  // namespace

bool WriteEntry(const ExtractionPlan& plan, const ArchiveEntry& entry, const std::string& filePath,
                const OutputFileState& existing, ExtractionMessages& messages) {
    PluginBlock fetched;  // the plug-in's own block, released on every path
    int code = FetchBytes(plan, entry, &fetched);
    if (code < 0) {
        messages.ShowPluginError(code);
        return false;
    }
    const char* bytes = reinterpret_cast<const char*>(fetched.Bytes());
    if (!WriteBytes(filePath, existing, bytes, entry.unpackedSize, entry.timestamp)) {
        messages.ShowMessage(WriteFailedText);
        return false;
    }
    return true;
}
