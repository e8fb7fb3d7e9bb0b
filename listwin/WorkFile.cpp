#include "listwin/WorkFile.h"
#include <windows.h>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

// The name as the file system will see it: the file functions turn the code page 932 bytes
// into UTF-16 this way, so a 0x5C trail byte of a double-byte character is no separator here.
std::wstring AsFileSystemSees(const char* name) {
    int length = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, name, -1, &wide[0], length);
    wide.resize(length - 1);
    return wide;
}

bool OnlyDotsAndBlanks(const std::wstring& name) { return name.find_first_not_of(L". ") == std::wstring::npos; }

// CON, PRN, AUX, NUL, COM0-9, LPT0-9 and the console names open devices in any folder,
// with or without an extension.
bool IsDeviceName(const std::wstring& name) {
    std::wstring stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    static const wchar_t* const devices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : devices)
        if (_wcsicmp(stem.c_str(), device) == 0) return true;
    if (stem.size() == 4 && iswdigit(stem[3])) {
        std::wstring port = stem.substr(0, 3);
        return _wcsicmp(port.c_str(), L"COM") == 0 || _wcsicmp(port.c_str(), L"LPT") == 0;
    }
    return false;
}

}  // namespace

bool IsPlainFileName(const char* fileName) {
    if (!fileName || !*fileName) return false;
    std::wstring name = AsFileSystemSees(fileName);
    if (name.empty() || OnlyDotsAndBlanks(name) || IsDeviceName(name)) return false;
    for (wchar_t c : name)
        if (c < 0x20 || c == L'\\' || c == L'/' || c == L':') return false;
    return true;
}

bool WorkFilePath(const char* workFolder, const char* fileName, char* out, size_t outSize) {
    if (outSize == 0) return false;
    out[0] = '\0';
    if (!IsPlainFileName(fileName)) return false;
    size_t folderLength = strlen(workFolder), nameLength = strlen(fileName);
    if (folderLength + nameLength >= outSize) return false;
    memcpy(out, workFolder, folderLength);
    memcpy(out + folderLength, fileName, nameLength + 1);
    return true;
}
