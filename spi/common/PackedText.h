#pragma once
// Texts kept one after another in one string, each behind its length (7 bits a byte, the last
// byte below 0x80): the records a plug-in keeps for a large archive (CompactRecords) hold
// short names by the million, most of them under 128 bytes.
#include <cstddef>
#include <string>
#include <string_view>

inline void AppendPacked(std::string* bytes, std::string_view text) {
    size_t length = text.size();
    for (; length >= 0x80; length >>= 7) bytes->push_back(static_cast<char>(0x80 | (length & 0x7F)));
    bytes->push_back(static_cast<char>(length));
    bytes->append(text.data(), text.size());
}

// The text at *at, which is moved behind it.
inline std::string_view ReadPacked(const char** at) {
    size_t length = 0;
    for (unsigned shift = 0;; shift += 7) {
        unsigned char byte = static_cast<unsigned char>(*(*at)++);
        length |= static_cast<size_t>(byte & 0x7F) << shift;
        if (byte < 0x80) break;
    }
    std::string_view text(*at, length);
    *at += length;
    return text;
}
