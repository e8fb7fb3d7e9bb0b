#include "extract/OutputPath.h"
#include "core/Utility.h"
#include "text/WidePath.h"

namespace {
using widepath::EndsWithSeparator;
using widepath::IsSeparator;

// "..", and names Windows would reduce to it (dots and blanks only, two dots or more).
bool IsParentReference(const std::wstring& part) {
    size_t dots = 0;
    for (wchar_t c : part) {
        if (c == L'.')
            ++dots;
        else if (c != L' ')
            return false;
    }
    return dots >= 2;
}

// A part that Windows would write under another name: it takes trailing dots and blanks off.
bool EndsInDotOrBlank(const std::wstring& part) {
    return !part.empty() && part != L"." && (part.back() == L'.' || part.back() == L' ');
}

bool PartIsSafe(const std::wstring& part) {
    return !IsParentReference(part) && !IsDeviceName(part) && !EndsInDotOrBlank(part);
}
}  // namespace

bool StaysInside(const std::wstring& relative) {
    if (relative.empty()) return true;
    if (IsSeparator(relative[0])) return false;  // rooted, or a UNC name
    if (relative.find(L':') != std::wstring::npos) return false;  // a drive, or a stream of a file
    size_t start = 0;
    for (size_t i = 0; i <= relative.size(); ++i) {
        if (i < relative.size() && !IsSeparator(relative[i])) continue;
        if (!PartIsSafe(relative.substr(start, i - start))) return false;
        start = i + 1;
    }
    return true;
}

OutputPathResult BuildOutputPath(const std::wstring& destination, const ListedEntry& entry, bool keepPaths,
                                 OutputPath* out) {
    std::wstring fileName = entry.fileName;
    if (!keepPaths) {
        if (!StaysInside(fileName)) return OutputPathResult::Unsafe;
        out->folderToMake.clear();
        out->folderText = destination;
        out->filePath = destination + fileName;
        return out->filePath.size() > LongestPath ? OutputPathResult::FileTooLong : OutputPathResult::Ok;
    }

    std::wstring storedFolder = entry.path;
    std::wstring relativeFile = storedFolder;
    if (!relativeFile.empty() && !EndsWithSeparator(relativeFile)) relativeFile += L'/';
    relativeFile += fileName;
    if (!StaysInside(storedFolder) || !StaysInside(relativeFile)) return OutputPathResult::Unsafe;

    out->folderToMake = destination + storedFolder;
    out->folderText = out->folderToMake;
    if (!out->folderText.empty() && !EndsWithSeparator(out->folderText)) out->folderText += L'/';
    if (out->folderText.size() > LongestPath) return OutputPathResult::FolderTooLong;
    out->filePath = out->folderText + fileName;
    return out->filePath.size() > LongestPath ? OutputPathResult::FileTooLong : OutputPathResult::Ok;
}
