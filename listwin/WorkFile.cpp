#include "listwin/WorkFile.h"
#include <windows.h>
#include <cstring>
#include <string>
#include "core/Utility.h"

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

}  // namespace

bool IsPlainFileName(const char* fileName) {
    if (!fileName || !*fileName) return false;
    std::wstring name = AsFileSystemSees(fileName);
    if (name.empty() || OnlyDotsAndBlanks(name) || IsDeviceName(fileName)) return false;
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
