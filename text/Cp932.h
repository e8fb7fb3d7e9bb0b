#pragma once
// Code page 932 (Shift-JIS) text, scanned one way by the program and by our plug-ins alike.
// A double-byte character is a lead byte followed by a trail byte. Its trail byte may be
// 0x5C (the backslash), 0x7C ("|") or an ASCII letter: such a byte belongs to the character
// and is never a separator or a letter of its own. A lead byte that is not followed by a
// trail byte is a single-byte character, so the byte after it keeps its own meaning.
// Plain C++ without Windows: plug-ins, fuzzers and benchmarks build it anywhere.
#include <cstddef>
#include <string>

namespace cp932 {

// The classes of the character that starts at a byte.
enum class CharKind {
    Control,      // below 0x20, the terminator included
    SingleByte,   // any other single byte, also a lead byte without its trail byte
    DoubleByte,   // lead byte 0x81-0x9F or 0xE0-0xEF
    UserDefined,  // lead byte 0xF0-0xF9
    Extension,    // lead byte 0xFA-0xFC
};

bool IsLeadByte(unsigned char byte);   // 0x81-0x9F, 0xE0-0xFC
bool IsTrailByte(unsigned char byte);  // 0x40-0xFC, except 0x7F

// Judged on p[0] and, for a lead byte, p[1] (which may be the terminator).
CharKind KindAt(const char* p);

// The bytes of the character that starts at text[i]: 2 for a double-byte character, else 1.
size_t CharWidth(const char* text, size_t length, size_t i);
inline size_t CharWidth(const std::string& text, size_t i) { return CharWidth(text.data(), text.size(), i); }
// The same for the character at p of a zero-terminated text.
inline size_t CharWidth(const char* p) { return CharWidth(p, 2, 0); }

// "\" or "/".
inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The last character of a text when it is a single byte; '\0' for an empty text and for a text
// that ends with a double-byte character (such as "ソ", 0x83 0x5C).
char LastSingleByte(const char* text, size_t length);
inline char LastSingleByte(const std::string& text) { return LastSingleByte(text.data(), text.size()); }

// True when the text ends with a separator of its own ("\" or "/").
inline bool EndsWithSeparator(const std::string& text) { return IsSeparator(LastSingleByte(text)); }

// Just behind the last of the given single-byte separators in the text; 0 when there is none.
// With "\\/:" this is where the file name of a path starts.
size_t AfterLastSeparator(const char* text, size_t length, const char* separators);

// The parts of a path: [0, folderStart) drive ("X:"), [folderStart, nameStart) folder with its
// trailing separator, [nameStart, extensionStart) base name, [extensionStart, end) extension
// with its dot (empty when the name has no dot).
struct PathParts {
    size_t folderStart = 0;
    size_t nameStart = 0;
    size_t extensionStart = 0;
    size_t end = 0;
};
PathParts SplitPath(const char* path, size_t length);

// How many of the first `length` bytes of a text (fewer at a zero byte) fit into `room` bytes
// as whole characters: a double-byte character is never cut in two.
size_t FittingLength(const char* text, size_t length, size_t room);

// ASCII small letters made capitals; the bytes of double-byte characters stay as they are.
char UpperAscii(char c);
std::string UpperAscii(const std::string& text);

}  // namespace cp932
