#include <cstdio>
#include <cstring>
#include <string>
#include "app/Utility.h"

namespace {
bool ValidTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

bool IsFolderSeparator(char c) { return c == '\\' || c == '/'; }

// Where the character after the one at i starts.
size_t NextChar(const std::string& text, size_t i) { return i + (CUtility::CharClass(text.c_str() + i) >= 2 ? 2 : 1); }

// Where the first folder separator at or after i stands, or the length of the text.
size_t SeparatorFrom(const std::string& text, size_t i) {
    while (i < text.size() && !IsFolderSeparator(text[i])) i = NextChar(text, i);
    return i;
}

// The length of the part of a path that names no folder to make.
size_t RootLength(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':' && CUtility::CharClass(path.c_str()) == 1)
        return path.size() >= 3 && IsFolderSeparator(path[2]) ? 3 : 2;
    if (path.size() >= 2 && IsFolderSeparator(path[0]) && IsFolderSeparator(path[1])) {
        size_t server = SeparatorFrom(path, 2);
        size_t share = SeparatorFrom(path, server + 1);
        return share < path.size() ? share + 1 : path.size();
    }
    return !path.empty() && IsFolderSeparator(path[0]) ? 1 : 0;
}

void CopyBounded(char* out, size_t outSize, const char* from, size_t length) {
    if (outSize == 0) return;
    if (length > outSize - 1) length = outSize - 1;
    memcpy(out, from, length);
    out[length] = '\0';
}

// Offsets of the parts of a path: [0,dirStart) drive, [dirStart,nameStart) folder,
// [nameStart,extStart) base name, [extStart,end) extension.
struct PathParts {
    size_t dirStart = 0, nameStart = 0, extStart = 0, end = 0;
};

PathParts Split(const char* path) {
    PathParts parts;
    size_t n = strlen(path);
    parts.end = n;
    if (n >= 2 && path[1] == ':' && CUtility::CharClass(path) == 1) parts.dirStart = 2;
    parts.nameStart = parts.dirStart;
    size_t lastDot = std::string::npos;
    for (size_t i = parts.dirStart; i < n;) {
        if (CUtility::CharClass(path + i) >= 2) {
            i += 2;
            continue;
        }
        if (path[i] == '\\' || path[i] == '/') {
            parts.nameStart = i + 1;
            lastDot = std::string::npos;
        } else if (path[i] == '.') {
            lastDot = i;
        }
        ++i;
    }
    parts.extStart = lastDot != std::string::npos && lastDot >= parts.nameStart ? lastDot : n;
    return parts;
}
}  // namespace

std::vector<std::string> FolderPrefixes(const std::string& path) {
    std::vector<std::string> folders;
    size_t partStart = RootLength(path);
    for (size_t i = partStart; i < path.size(); i = NextChar(path, i)) {
        if (!IsFolderSeparator(path[i])) continue;
        if (i > partStart) folders.push_back(path.substr(0, i + 1));  // "a\\b" has no empty folder
        partStart = i + 1;
    }
    if (partStart < path.size()) folders.push_back(path);
    return folders;
}

bool IsDeviceName(const std::string& name) {
    // '.' and ' ' are never the second byte of a double-byte character, and a device name is
    // plain ASCII, so the bytes can be compared as they are.
    size_t stemEnd = name.find('.');
    std::string stem = name.substr(0, stemEnd);
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (stem == device) return true;
    bool port = stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0;
    return port && stem.size() == 4 && stem[3] >= '0' && stem[3] <= '9';
}

int CUtility::CharClass(const char* p) {
    unsigned char lead = static_cast<unsigned char>(p[0]);
    if (lead < 0x20) return 0;
    unsigned char trail = static_cast<unsigned char>(p[1]);
    if (ValidTrailByte(trail)) {
        if ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF)) return 2;
        if (lead >= 0xF0 && lead <= 0xF9) return 3;
        if (lead >= 0xFA && lead <= 0xFC) return 4;
    }
    return 1;
}

void CUtility::ToSlashes(char* path) {
    // The result is never longer than the path, so it is built in place.
    char* out = path;
    for (const char* in = path; *in;) {
        if (CharClass(in) >= 2) {
            *out++ = *in++;
            *out++ = *in++;
        } else if (in[0] == '\\' && in[1] == '\\') {
            *out++ = '/';
            in += 2;
        } else if (*in == '\\') {
            *out++ = '/';
            ++in;
        } else {
            *out++ = *in++;
        }
    }
    *out = '\0';
}

void CUtility::FileNamePart(const char* path, char* out, size_t outSize) {
    // Walk forwards so that double-byte characters are recognised from their lead byte.
    size_t start = 0;
    for (size_t i = 0; path[i];) {
        if (CharClass(path + i) >= 2) {
            i += 2;
            continue;
        }
        if (IsSeparator(path[i])) start = i + 1;
        ++i;
    }
    CopyBounded(out, outSize, path + start, strlen(path + start));
}

void CUtility::SplitPath(int kind, const char* path, char* out, size_t outSize) {
    PathParts parts = Split(path);
    if (kind == 1)
        CopyBounded(out, outSize, path + parts.nameStart, parts.extStart - parts.nameStart);
    else if (kind == 2)
        CopyBounded(out, outSize, path, parts.nameStart);
    else
        CopyBounded(out, outSize, path + parts.extStart, parts.end - parts.extStart);
}

void CUtility::GroupDigits(unsigned long long value, char* out) {
    char digits[24];
    int n = snprintf(digits, sizeof digits, "%llu", value);
    char* o = out;
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) *o++ = ',';
        *o++ = digits[i];
    }
    *o = '\0';
}
