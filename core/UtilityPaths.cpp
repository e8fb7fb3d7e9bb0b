#include <cstdio>
#include <cstring>
#include <string>
#include "core/Utility.h"
#include "text/Cp932.h"

namespace {
// Where the character after the one at i starts.
size_t NextChar(const std::string& text, size_t i) { return i + cp932::CharWidth(text, i); }

// Where the first folder separator at or after i stands, or the length of the text.
size_t SeparatorFrom(const std::string& text, size_t i) {
    while (i < text.size() && !cp932::IsSeparator(text[i])) i = NextChar(text, i);
    return i;
}

// The length of the part of a path that names no folder to make.
size_t RootLength(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':' && cp932::KindAt(path.c_str()) == cp932::CharKind::SingleByte)
        return path.size() >= 3 && cp932::IsSeparator(path[2]) ? 3 : 2;
    if (path.size() >= 2 && cp932::IsSeparator(path[0]) && cp932::IsSeparator(path[1])) {
        size_t server = SeparatorFrom(path, 2);
        size_t share = SeparatorFrom(path, server + 1);
        return share < path.size() ? share + 1 : path.size();
    }
    return !path.empty() && cp932::IsSeparator(path[0]) ? 1 : 0;
}

// Copies whole characters of the text, as many as fit.
void CopyBounded(char* out, size_t outSize, const char* from, size_t length) {
    if (outSize == 0) return;
    length = cp932::FittingLength(from, length, outSize - 1);
    memcpy(out, from, length);
    out[length] = '\0';
}
}  // namespace

std::vector<std::string> FolderPrefixes(const std::string& path) {
    std::vector<std::string> folders;
    size_t partStart = RootLength(path);
    for (size_t i = partStart; i < path.size(); i = NextChar(path, i)) {
        if (!cp932::IsSeparator(path[i])) continue;
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
    stem = cp932::UpperAscii(stem);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (stem == device) return true;
    bool port = stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0;
    return port && stem.size() == 4 && stem[3] >= '0' && stem[3] <= '9';
}

int CUtility::CharClass(const char* p) { return static_cast<int>(cp932::KindAt(p)); }

void CUtility::ToSlashes(char* path) {
    // The result is never longer than the path, so it is built in place.
    char* out = path;
    for (const char* in = path; *in;) {
        if (cp932::CharWidth(in) == 2) {
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
    size_t length = strlen(path);
    size_t start = cp932::AfterLastSeparator(path, length, "\\/:");
    CopyBounded(out, outSize, path + start, length - start);
}

void CUtility::SplitPath(PathPart part, const char* path, char* out, size_t outSize) {
    cp932::PathParts parts = cp932::SplitPath(path, strlen(path));
    switch (part) {
    case PathPart::BaseName:
        CopyBounded(out, outSize, path + parts.nameStart, parts.extensionStart - parts.nameStart);
        break;
    case PathPart::DriveAndFolder:
        CopyBounded(out, outSize, path, parts.nameStart);
        break;
    case PathPart::Extension:
        CopyBounded(out, outSize, path + parts.extensionStart, parts.end - parts.extensionStart);
        break;
    }
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
