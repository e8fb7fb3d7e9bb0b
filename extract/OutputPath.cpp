#include "extract/OutputPath.h"
#include <cstring>
#include "core/Utility.h"
#include "text/Cp932.h"
#include "text/PathSize.h"

namespace {
constexpr size_t MaxPathText = PathSize - 1;

// "..", and names Windows would reduce to it (dots and blanks only, two dots or more).
bool IsParentReference(const std::string& part) {
    size_t dots = 0;
    for (char c : part) {
        if (c == '.')
            ++dots;
        else if (c != ' ')
            return false;
    }
    return dots >= 2;
}

std::string FieldText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }
}  // namespace

std::string EntryPath(const ArchiveEntry& entry) { return FieldText(entry.path, sizeof entry.path); }

std::string EntryFileName(const ArchiveEntry& entry) { return FieldText(entry.fileName, sizeof entry.fileName); }

bool StaysInside(const std::string& relative) {
    if (relative.empty()) return true;
    if (cp932::IsSeparator(relative[0])) return false;  // rooted, or a UNC name
    std::string part;
    for (size_t i = 0; i <= relative.size();) {
        const char* p = relative.c_str() + i;
        if (cp932::CharWidth(p) == 2) {
            part.append(p, 2);
            i += 2;
            continue;
        }
        if (*p == ':') return false;  // drive letter, or an alternate stream of a file
        if (*p == '\0' || cp932::IsSeparator(*p)) {
            if (IsParentReference(part) || IsDeviceName(part)) return false;
            part.clear();
        } else {
            part += *p;
        }
        ++i;
    }
    return true;
}

OutputPathResult BuildOutputPath(const std::string& destination, const ArchiveEntry& entry, bool keepPaths,
                                 OutputPath* out) {
    std::string fileName = EntryFileName(entry);
    if (!keepPaths) {
        if (!StaysInside(fileName)) return OutputPathResult::Unsafe;
        out->folderToMake.clear();
        out->folderText = destination;
        out->filePath = destination + fileName;
        return out->filePath.size() > MaxPathText ? OutputPathResult::FileTooLong : OutputPathResult::Ok;
    }

    std::string storedFolder = EntryPath(entry);
    std::string relativeFile = storedFolder;
    if (!relativeFile.empty() && !cp932::EndsWithSeparator(relativeFile)) relativeFile += '/';
    relativeFile += fileName;
    if (!StaysInside(storedFolder) || !StaysInside(relativeFile)) return OutputPathResult::Unsafe;

    out->folderToMake = destination + storedFolder;
    out->folderText = out->folderToMake;
    if (!out->folderText.empty() && !cp932::EndsWithSeparator(out->folderText)) out->folderText += '/';
    if (out->folderText.size() > MaxPathText) return OutputPathResult::FolderTooLong;
    out->filePath = out->folderText + fileName;
    return out->filePath.size() > MaxPathText ? OutputPathResult::FileTooLong : OutputPathResult::Ok;
}
