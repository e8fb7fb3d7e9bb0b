#include "tests/support/RegistryTree.h"
#include <cstdio>

namespace testsupport {

namespace {

std::wstring Hex(const BYTE* data, DWORD size) {
    std::wstring text;
    for (DWORD i = 0; i < size; ++i) {
        wchar_t pair[4];
        swprintf(pair, 4, L"%02x", data[i]);
        text += pair;
    }
    return text;
}

void AddValues(HKEY key, const std::wstring& path, std::map<std::wstring, std::wstring>* tree) {
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = sizeof name / sizeof name[0], type = 0, size = 0;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
        std::vector<BYTE> data(size + 1);
        nameLength = sizeof name / sizeof name[0];
        RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data.data(), &size);
        (*tree)[path + L"|" + std::wstring(name, nameLength)] = std::to_wstring(type) + L":" + Hex(data.data(), size);
    }
}

void AddKey(HKEY key, const std::wstring& path, bool withTimes, std::map<std::wstring, std::wstring>* tree) {
    FILETIME written = {};
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &written);
    (*tree)[path] = withTimes ? std::to_wstring(written.dwHighDateTime) + L"." + std::to_wstring(written.dwLowDateTime)
                              : std::wstring();
    AddValues(key, path, tree);
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = sizeof name / sizeof name[0];
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return;
        HKEY subkey = nullptr;
        if (RegOpenKeyExW(key, name, 0, KEY_READ, &subkey) != ERROR_SUCCESS) continue;
        AddKey(subkey, path + L"\\" + std::wstring(name, length), withTimes, tree);
        RegCloseKey(subkey);
    }
}

}  // namespace

std::map<std::wstring, std::wstring> RegistryTree(HKEY root, const std::wstring& path, bool withTimes) {
    std::map<std::wstring, std::wstring> tree;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return tree;
    AddKey(key, path, withTimes, &tree);
    RegCloseKey(key);
    return tree;
}

std::wstring RegistryText(HKEY root, const std::wstring& path, const wchar_t* name) {
    DWORD size = 0;
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return MissingWide;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, &text[0], &size) != ERROR_SUCCESS)
        return MissingWide;
    return text.c_str();
}

bool RegistryKeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool WriteRegistryText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& text) {
    return RegSetKeyValueW(root, path.c_str(), name, REG_SZ, text.c_str(),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

DeletedKeys::DeletedKeys(HKEY root, std::vector<std::wstring> paths) : root_(root), paths_(std::move(paths)) {
    DeleteAll();
}

DeletedKeys::~DeletedKeys() { DeleteAll(); }

void DeletedKeys::DeleteAll() const {
    for (const std::wstring& path : paths_) RegDeleteTreeW(root_, path.c_str());
}

KeyRemovedIfNew::KeyRemovedIfNew(HKEY root, std::wstring path)
    : root_(root), path_(std::move(path)), existed_(RegistryKeyExists(root, path_)) {}

KeyRemovedIfNew::~KeyRemovedIfNew() {
    if (!existed_) RegDeleteTreeW(root_, path_.c_str());
}

}  // namespace testsupport
