#pragma once
// Files of any name and path length, through the wide file functions: what the tests of the
// plug-ins' wide exports write and read back (names code page 932 cannot spell, paths of
// MAX_PATH characters and more).
#include <string>
#include <vector>

namespace testsupport {

// A path the ANSI functions take (the system's code page), in UTF-16, and back.
std::wstring WidePath(const std::string& path);
std::string AnsiPath(const std::wstring& path);
// The path in its "\\?\" form, which takes any length; any other than "X:\..." as it is.
std::wstring LongForm(const std::wstring& path);
// Makes every folder of the path; false when one cannot be made.
bool MakeFolders(const std::wstring& path);
bool WriteWideFile(const std::wstring& path, const std::string& bytes);
std::string ReadWideFile(const std::wstring& path);  // empty when it cannot be read
// The names in a folder ("." and ".." left out), sorted.
std::vector<std::wstring> WideNamesIn(const std::wstring& folder);
// Removes the folder and everything in it.
void RemoveWideTree(const std::wstring& folder);
// UTF-16 as UTF-8, for messages and for contents that name a file.
std::string Utf8(const std::wstring& text);

}  // namespace testsupport
