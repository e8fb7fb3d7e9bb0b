#pragma once
#include <windows.h>

// Shows the shell's folder browser, starting at initialPath when it is not empty (one
// trailing separator is removed from the caller's buffer first). Returns 1 when the user
// picked a folder, its file-system path then stands in output (260 bytes; an item without
// one leaves output as it was), and 0 when the browser was cancelled.
int BrowseForFolder(char* initialPath, char* output, HWND owner, const char* title);
