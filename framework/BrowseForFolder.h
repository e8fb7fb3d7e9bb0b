#pragma once
#include <windows.h>
#include <string>

// Shows the shell's folder browser under a code page 932 title, starting at initialPath when
// it is not empty (without one trailing separator). True when the user picked a folder: its
// file-system path, of any length, then stands in *picked (an item without one, such as a
// printer, leaves *picked as it was). False when the browser was cancelled.
bool BrowseForFolder(const std::wstring& initialPath, std::wstring* picked, HWND owner, const char* title);
