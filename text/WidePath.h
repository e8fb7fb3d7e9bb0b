#pragma once
// The parts of a UTF-16 path. No character there has a separator inside it, so the scan is
// the plain one that code page 932 text cannot have.
#include <string>

namespace widepath {

// "\" or "/".
inline bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

inline bool EndsWithSeparator(const std::wstring& path) { return !path.empty() && IsSeparator(path.back()); }

// The drive and folder of a path, up to and with the separator (or drive colon) before its
// file name: "C:\tools\" of "C:\tools\edit.exe", "C:" of "C:edit.exe"; empty for a bare name.
inline std::wstring DriveAndFolder(const std::wstring& path) {
    size_t last = path.find_last_of(L"\\/:");
    return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

}  // namespace widepath
