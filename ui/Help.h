#pragma once
#include <windows.h>
#include <string>

// The program's help command: hands the help file Varnito.chm in the program's own folder to
// the shell by its full path, whatever the current folder holds. When the file is not there it
// opens nothing and says so, naming where it looked, in the program's message box owned by
// `owner`.
void OpenHelpFile(HWND owner);

// The path as the shell takes it: the shell finds no file by a path of MAX_PATH characters or
// more, so such a path becomes its short form where the volume keeps short names and that form
// is shorter; otherwise, and for any shorter path, the path as it is.
std::wstring PathTheShellTakes(const std::wstring& path);
