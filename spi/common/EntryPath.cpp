#include "spi/common/EntryPath.h"
#include <vector>

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The parts between separators; a 0x5C inside a double-byte character is no separator.
std::vector<std::string> SplitParts(const std::string& name, bool* endsWithSeparator) {
    std::vector<std::string> parts(1);
    *endsWithSeparator = false;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < name.size()) {
            parts.back() += c;
            parts.back() += name[++i];
            *endsWithSeparator = false;
        } else if (IsSeparator(c)) {
            parts.emplace_back();
            *endsWithSeparator = true;
        } else {
            parts.back() += c;
            *endsWithSeparator = false;
        }
    }
    return parts;
}

bool IsDrive(const std::string& part) {
    return part.size() == 2 && part[1] == ':' &&
           ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

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
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (IsLeadByte(static_cast<unsigned char>(x)) && i + 1 < a.size()) {
            if (x != y || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (IsSeparator(x) && IsSeparator(y)) {
            continue;
        } else if (ignoreCase ? FoldCase(x) != FoldCase(y) : x != y) {
            return false;
        }
    }
    return true;
}

bool EndsWithSeparator(const std::string& text) {
    bool separator = false;
    for (size_t i = 0; i < text.size(); ++i) {
        separator = IsSeparator(text[i]);
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            separator = false;
            ++i;
        }
    }
    return separator;
}

std::string NameKey(const std::string& name, bool foldCase) {
    std::string key = name;
    for (size_t i = 0; i < key.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(key[i])) && i + 1 < key.size()) ++i;
        else if (key[i] == '/') key[i] = '\\';
        else if (foldCase) key[i] = FoldCase(key[i]);
    }
    return key;
}

std::string BaseName(const char* path, bool dropExtension) {
    std::string name;
    for (size_t i = 0; path && path[i]; ++i) {
        char c = path[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && path[i + 1]) {
            name += c;
            name += path[++i];
        } else if (IsSeparator(c) || c == ':') {
            name.clear();
        } else {
            name += c;
        }
    }
    size_t dot = name.rfind('.');
    if (dropExtension && dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}
