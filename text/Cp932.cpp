#include "text/Cp932.h"
#include <cstring>

namespace cp932 {

bool IsLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

CharKind KindAt(const char* p) {
    unsigned char lead = static_cast<unsigned char>(p[0]);
    if (lead < 0x20) return CharKind::Control;
    if (!IsLeadByte(lead) || !IsTrailByte(static_cast<unsigned char>(p[1]))) return CharKind::SingleByte;
    if (lead >= 0xFA) return CharKind::Extension;
    if (lead >= 0xF0) return CharKind::UserDefined;
    return CharKind::DoubleByte;
}

size_t CharWidth(const char* text, size_t length, size_t i) {
    bool pair = i + 1 < length && IsLeadByte(static_cast<unsigned char>(text[i])) &&
                IsTrailByte(static_cast<unsigned char>(text[i + 1]));
    return pair ? 2 : 1;
}

char LastSingleByte(const char* text, size_t length) {
    char last = '\0';
    for (size_t i = 0; i < length;) {
        size_t width = CharWidth(text, length, i);
        last = width == 1 ? text[i] : '\0';
        i += width;
    }
    return last;
}

size_t AfterLastSeparator(const char* text, size_t length, const char* separators) {
    size_t after = 0;
    for (size_t i = 0; i < length;) {
        size_t width = CharWidth(text, length, i);
        if (width == 1 && text[i] != '\0' && strchr(separators, text[i])) after = i + 1;
        i += width;
    }
    return after;
}

PathParts SplitPath(const char* path, size_t length) {
    PathParts parts;
    parts.end = length;
    if (length >= 2 && path[1] == ':' && KindAt(path) == CharKind::SingleByte) parts.folderStart = 2;
    parts.nameStart = parts.folderStart +
                      AfterLastSeparator(path + parts.folderStart, length - parts.folderStart, "\\/");
    parts.extensionStart = length;
    for (size_t i = parts.nameStart; i < length;) {
        size_t width = CharWidth(path, length, i);
        if (width == 1 && path[i] == '.') parts.extensionStart = i;
        i += width;
    }
    return parts;
}

size_t FittingLength(const char* text, size_t length, size_t room) {
    size_t used = 0;
    while (used < length && text[used] != '\0') {
        size_t width = CharWidth(text, length, used);
        if (used + width > room) break;
        used += width;
    }
    return used;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperAscii(const std::string& text) {
    std::string upper = text;
    for (size_t i = 0; i < upper.size();) {
        size_t width = CharWidth(upper, i);
        if (width == 1) upper[i] = UpperAscii(upper[i]);
        i += width;
    }
    return upper;
}

}  // namespace cp932
