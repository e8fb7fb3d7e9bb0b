#pragma once
// Entry names stored as Unicode (UTF-8 or UTF-16), turned into the code page 932 text that
// hosts and our records use.
#include <string>

// UTF-8 to code page 932; characters it lacks become '_'. False for malformed UTF-8.
bool Utf8ToCp932(const std::string& utf8, std::string* out);

// Whether the bytes are well-formed UTF-8 (plain ASCII is).
bool IsUtf8(const std::string& bytes);

// UTF-8 or UTF-16 to code page 932 only when every character has its own form there:
// converting back gives the same text. A best-fit stand-in ("\" for the yen sign, "?" for
// a character it lacks) would name another file, or even add a separator. False otherwise,
// and for malformed input or a NUL inside.
bool Utf8ToCp932Exactly(const std::string& utf8, std::string* out);
bool Utf16ToCp932Exactly(const std::wstring& utf16, std::string* out);
