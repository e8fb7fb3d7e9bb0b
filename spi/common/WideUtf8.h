#pragma once
// UTF-16 names as our plug-ins keep them: in UTF-8, half the room of UTF-16 for the ASCII
// names most archives hold. A unit of a lone surrogate (7z stores names as Windows gives them,
// and Windows allows one in a file name) is kept as the three bytes of its number, so that
// every UTF-16 text comes back unchanged. Plain C++: wchar_t is Windows' 16-bit unit.
#include <cstddef>
#include <string>

// Appends the UTF-8 of `count` UTF-16 units.
void AppendUtf8(const wchar_t* units, size_t count, std::string* out);
std::string Utf8Of(const std::wstring& text);

// How many UTF-16 units the UTF-8 that AppendUtf8 made takes.
size_t Utf16Length(const char* utf8, size_t length);
// Writes those units (Utf16Length of them) to `out`.
void Utf8ToUtf16(const char* utf8, size_t length, wchar_t* out);
std::wstring Utf16Of(const std::string& utf8);
