#pragma once
// Paths of the files our plug-ins read and write, in UTF-16 as the wide file functions take
// them, whatever a name's characters.
#include <string>

// The path as the file functions take it: one of MAX_PATH characters and more in its "\\?\"
// form (made absolute, '/' made '\', "." and ".." resolved, as that form is taken literally),
// which is the only form Windows opens a path of that length in; a shorter one as it is.
std::wstring LongPathForm(const std::wstring& path);

// Whether a file or folder of that path exists.
bool PathExists(const std::wstring& path);

// The last part of a path (after the last '\', '/' or ':'), without its last extension when
// `dropExtension` says so ("a.tar.gz" becomes "a.tar").
std::wstring FileNameOf(const wchar_t* path, bool dropExtension);
