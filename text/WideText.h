#pragma once
// UTF-16 text, the form names and paths take in the program, and the code page 932 text of
// its messages and of plug-ins that speak only that. Windows' own conversion, so this part of
// text/ is for the program and its tests, not for the plug-ins' portable code.
#include <string>

// Code page 932 bytes as UTF-16; a byte no character starts with becomes U+30FB.
std::wstring Cp932ToWide(const std::string& text);

// UTF-16 as code page 932, exactly: false, *out untouched, when a character has no exact
// spelling there (no best-fit stand-in: "é" never becomes "e", which could name another file).
bool WideToCp932(const std::wstring& text, std::string* out);

// UTF-16 as code page 932 for showing: a character without a spelling there becomes "?".
std::string WideToCp932Shown(const std::wstring& text);
