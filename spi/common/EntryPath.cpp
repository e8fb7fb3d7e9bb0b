#include "spi/common/EntryPath.h"
#include <cstring>
#include <vector>
#include "text/Cp932.h"

namespace {

// The parts between separators; a 0x5C inside a double-byte character is no separator.
std::vector<std::string> SplitParts(const std::string& name, bool* endsWithSeparator) {
    std::vector<std::string> parts(1);
    *endsWithSeparator = false;
    for (size_t i = 0; i < name.size();) {
        size_t width = cp932::CharWidth(name, i);
        *endsWithSeparator = width == 1 && cp932::IsSeparator(name[i]);
        if (*endsWithSeparator)
            parts.emplace_back();
        else
            parts.back().append(name, i, width);
        i += width;
    }
    return parts;
}

bool IsDrive(const std::string& part) {
    return part.size() == 2 && part[1] == ':' &&
           ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

}  // namespace

bool SplitEntryName(const std::string& name, EntryPath* result) {
    bool isFolder = false;
    std::vector<std::string> parts = SplitParts(name, &isFolder);
    std::vector<std::string> kept;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty() || part == "." || part == ".." || (i == 0 && IsDrive(part))) continue;
        kept.push_back(part);
    }
    if (kept.empty()) return false;

    result->path.clear();
    result->fileName.clear();
    size_t folderParts = isFolder ? kept.size() : kept.size() - 1;
    for (size_t i = 0; i < folderParts; ++i) result->path += kept[i] + '\\';
    if (!isFolder) result->fileName = kept.back();
    return true;
}

bool SameEntryName(const std::string& a, const std::string& b, bool ignoreCase) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size();) {
        size_t width = cp932::CharWidth(a, i);
        if (width != cp932::CharWidth(b, i)) return false;
        char x = a[i], y = b[i];
        if (width == 2) {
            if (a.compare(i, 2, b, i, 2) != 0) return false;
        } else if (!(cp932::IsSeparator(x) && cp932::IsSeparator(y)) &&
                   (ignoreCase ? cp932::UpperAscii(x) != cp932::UpperAscii(y) : x != y)) {
            return false;
        }
        i += width;
    }
    return true;
}

std::string NameKey(const std::string& name, bool foldCase) {
    std::string key = foldCase ? cp932::UpperAscii(name) : name;
    // '/' is never the second byte of a double-byte character.
    for (char& c : key)
        if (c == '/') c = '\\';
    return key;
}

std::string BaseName(const char* path, bool dropExtension) {
    if (!path) return std::string();
    size_t length = strlen(path);
    std::string name(path + cp932::AfterLastSeparator(path, length, "\\/:"));
    // '.' is never the second byte of a double-byte character.
    size_t dot = name.rfind('.');
    if (dropExtension && dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}
