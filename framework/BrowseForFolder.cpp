#include "framework/BrowseForFolder.h"
#include <shlobj.h>
#include <vector>
#include "text/PathSize.h"
#include "text/WidePath.h"
#include "text/WideText.h"

namespace {
int CALLBACK SelectInitialFolder(HWND browser, UINT message, LPARAM, LPARAM initialPath) {
    if (message == BFFM_INITIALIZED && initialPath)
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, initialPath);
    return 0;
}

// The item's file-system path; false for an item without one.
bool FileSystemPath(LPCITEMIDLIST item, std::wstring* path) {
    std::vector<wchar_t> text(MaxWidePathLength + 1, L'\0');
    if (!SHGetPathFromIDListEx(item, text.data(), static_cast<DWORD>(text.size()), GPFIDL_DEFAULT)) return false;
    *path = text.data();
    return true;
}
}  // namespace

bool BrowseForFolder(const std::wstring& initialPath, std::wstring* picked, HWND owner, const char* title) {
    std::wstring initial = initialPath;
    if (widepath::EndsWithSeparator(initial)) initial.pop_back();
    std::wstring titleText = Cp932ToWide(title ? title : "");

    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.lpszTitle = titleText.c_str();
    info.ulFlags = 0;
    info.lpfn = SelectInitialFolder;
    info.lParam = initial.empty() ? 0 : reinterpret_cast<LPARAM>(initial.c_str());

    LPITEMIDLIST item = SHBrowseForFolderW(&info);
    if (!item) return false;
    FileSystemPath(item, picked);
    CoTaskMemFree(item);
    return true;
}
