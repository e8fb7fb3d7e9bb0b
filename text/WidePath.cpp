#include "text/WidePath.h"

namespace widepath {

size_t NameStart(const std::wstring& path) {
    size_t last = path.find_last_of(L"\\/:");
    return last == std::wstring::npos ? 0 : last + 1;
}

std::wstring Folder(const std::wstring& path) { return path.substr(0, NameStart(path)); }

std::wstring FileName(const std::wstring& path) { return path.substr(NameStart(path)); }

std::wstring BaseName(const std::wstring& path) {
    std::wstring name = FileName(path);
    size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring WithSeparator(const std::wstring& folder) {
    return folder.empty() || EndsWithSeparator(folder) ? folder : folder + L'\\';
}

}  // namespace widepath
