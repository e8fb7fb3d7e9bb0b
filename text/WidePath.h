#pragma once
// The parts of a UTF-16 path. '\' and '/' both separate folders; a drive ends at its ':'.
// Plain C++ without Windows.
#include <string>

namespace widepath {

inline bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
inline bool EndsWithSeparator(const std::wstring& path) { return !path.empty() && IsSeparator(path.back()); }

// Where the file name starts: behind the last separator or drive colon; 0 when there is none.
size_t NameStart(const std::wstring& path);
// Everything before the file name, with its trailing separator ("C:\a\" of "C:\a\b.zip").
std::wstring Folder(const std::wstring& path);
// The file name ("b.zip").
std::wstring FileName(const std::wstring& path);
// The file name without its last extension ("b" of "C:\a\b.zip", "a.tar" of "a.tar.gz", ""
// of ".zip").
std::wstring BaseName(const std::wstring& path);
// The folder with one trailing '\' added when it has none (an empty folder stays empty).
std::wstring WithSeparator(const std::wstring& folder);

}  // namespace widepath
