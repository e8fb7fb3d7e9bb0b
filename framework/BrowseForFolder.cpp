#include "framework/BrowseForFolder.h"
#include <shlobj.h>
#include <cstring>
#include "text/Cp932.h"

namespace {
int CALLBACK SelectInitialFolder(HWND browser, UINT message, LPARAM, LPARAM initialPath) {
    if (message == BFFM_INITIALIZED && initialPath)
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, initialPath);
    return 0;
}

// Drops one trailing "\" or "/" (never the second byte of a double-byte character).
void DropTrailingSeparator(char* path) {
    size_t length = strlen(path);
    if (cp932::IsSeparator(cp932::LastSingleByte(path, length))) path[length - 1] = '\0';
}
}  // namespace

int BrowseForFolder(char* initialPath, char* output, HWND owner, const char* title) {
    bool hasInitial = initialPath && initialPath[0];
    if (hasInitial) DropTrailingSeparator(initialPath);

    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.lpszTitle = title;
    info.ulFlags = 0;
    info.lpfn = SelectInitialFolder;
    info.lParam = hasInitial ? reinterpret_cast<LPARAM>(initialPath) : 0;

    LPITEMIDLIST picked = SHBrowseForFolderA(&info);
    if (!picked) return 0;

    // SHGetPathFromIDListA writes at most MAX_PATH (260) bytes, the size of output.
    SHGetPathFromIDListA(picked, output);
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(picked);
        allocator->Release();
    }
    return 1;
}
