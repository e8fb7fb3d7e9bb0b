#include "tests/e2e/TestProfile.h"
#include <windows.h>
#include "tests/e2e/VarnitoProcess.h"
#include "tests/support/TestSupport.h"

namespace e2e {

namespace {
constexpr char ProfileKey[] = "Software\\Morvel\\Varnito";
constexpr char ClassesKey[] = "Software\\Classes\\";
constexpr char HandlerClass[] = "VarnitoE2E.Viewer";

void SetValue(const std::string& keyPath, const char* name, DWORD type, const void* data, DWORD size,
              HKEY root = HKEY_CURRENT_USER) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetText(const std::string& keyPath, const char* name, const std::string& value, HKEY root = HKEY_CURRENT_USER) {
    SetValue(keyPath, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1), root);
}

// Wine's shell looks types up in the machine's classes only; Windows merges the user's in.
const HKEY ClassRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
}  // namespace

void PrepareProfile(int defrostingMode, const std::string& destination) {
    testsupport::ClearProfile();
    WriteProfileText("SpiFold", PluginFolder());
    WriteProfileNumber("DefrostingMode", defrostingMode);
    WriteProfileText("DefrostingFold", destination);
    WriteProfileNumber("OpenCheckFlag", 0);
    WriteProfileNumber("UpdateChkFlag", 1);
}

void WriteProfileText(const char* name, const std::string& value) { SetText(ProfileKey, name, value); }

void WriteProfileNumber(const char* name, int value) {
    DWORD data = static_cast<DWORD>(value);
    SetValue(ProfileKey, name, REG_DWORD, &data, sizeof data);
}

std::string ReadProfileText(const char* name) {
    char text[1024] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, ProfileKey, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<missing>";
    return text;
}

int ReadProfileNumber(const char* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, ProfileKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -12345;
    return static_cast<int>(value);
}

void RegisterOpenHandler(const std::string& extension, const std::string& program) {
    for (HKEY root : ClassRoots) {
        SetText(ClassesKey + extension, "", HandlerClass, root);
        SetText(std::string(ClassesKey) + HandlerClass + "\\shell\\open\\command", "", "\"" + program + "\" \"%1\"",
                root);
    }
}

void RemoveOpenHandler(const std::string& extension) {
    for (HKEY root : ClassRoots) {
        RegDeleteTreeA(root, (ClassesKey + extension).c_str());
        RegDeleteTreeA(root, (std::string(ClassesKey) + HandlerClass).c_str());
    }
}

}  // namespace e2e
