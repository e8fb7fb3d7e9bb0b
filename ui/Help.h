#pragma once
#include <windows.h>

// The program's help command: hands the help file Varnito.chm in the program's own folder to
// the shell by its full path, whatever the current folder holds. When the file is not there it
// opens nothing and says so, naming where it looked, in the program's message box owned by
// `owner`.
void OpenHelpFile(HWND owner);
