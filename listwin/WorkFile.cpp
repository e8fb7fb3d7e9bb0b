#include "listwin/WorkFile.h"
#include "core/Utility.h"

namespace {
bool OnlyDotsAndBlanks(const std::wstring& name) { return name.find_first_not_of(L". ") == std::wstring::npos; }
}  // namespace

bool IsPlainFileName(const std::wstring& name) {
    if (name.empty() || OnlyDotsAndBlanks(name) || IsDeviceName(name)) return false;
    if (name.back() == L'.' || name.back() == L' ') return false;
    for (wchar_t c : name)
        if (c < 0x20 || c == L'\\' || c == L'/' || c == L':') return false;
    return true;
}

std::wstring WorkFilePath(const std::wstring& workFolder, const std::wstring& fileName) {
    return IsPlainFileName(fileName) ? workFolder + fileName : std::wstring();
}
