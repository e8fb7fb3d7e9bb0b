#include "tests/support/TestProfile.h"
#include <windows.h>
#include <cstring>

namespace testsupport {

namespace {
constexpr char ProfileKey[] = "Software\\Morvel\\Varnito";
constexpr char ViewerKey[] = "Software\\Halvorn\\Susie\\Plug-in";

void SetValue(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ProfileKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}
}  // namespace

void ClearProfile() { RegDeleteTreeA(HKEY_CURRENT_USER, ProfileKey); }

void ClearImageViewerKey() { RegDeleteTreeA(HKEY_CURRENT_USER, ViewerKey); }

CleanProfile::CleanProfile(bool withoutImageViewer) : withoutImageViewer_(withoutImageViewer) {
    ClearProfile();
    if (withoutImageViewer_) ClearImageViewerKey();
}

CleanProfile::~CleanProfile() {
    ClearProfile();
    if (withoutImageViewer_) ClearImageViewerKey();
}

bool WriteImageViewerPath(const char* path, bool expandable) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ViewerKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    if (path)
        RegSetValueExA(key, "Path", 0, expandable ? REG_EXPAND_SZ : REG_SZ, reinterpret_cast<const BYTE*>(path),
                       static_cast<DWORD>(strlen(path) + 1));
    RegCloseKey(key);
    return true;
}

void WriteProfileText(const char* name, const std::string& value) {
    SetValue(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void WriteProfileNumber(const char* name, int value) {
    DWORD data = static_cast<DWORD>(value);
    SetValue(name, REG_DWORD, &data, sizeof data);
}

std::string ReadProfileText(const char* name) {
    char text[1024] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, ProfileKey, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return MissingText;
    return text;
}

std::wstring ReadProfileWideText(const char* name) {
    std::wstring wideName(name, name + strlen(name));  // the names are ASCII
    std::wstring wideKey(ProfileKey, ProfileKey + strlen(ProfileKey));
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, wideKey.c_str(), wideName.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::wstring(MissingText, MissingText + strlen(MissingText));
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    RegGetValueW(HKEY_CURRENT_USER, wideKey.c_str(), wideName.c_str(), RRF_RT_REG_SZ, nullptr, &text[0], &size);
    return text.c_str();
}

int ReadProfileNumber(const char* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, ProfileKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return MissingNumber;
    return static_cast<int>(value);
}

}  // namespace testsupport
