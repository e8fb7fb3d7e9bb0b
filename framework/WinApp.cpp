#include "framework/WinApp.h"
#include <vector>
#include "text/PathSize.h"
#include "text/WideText.h"

namespace {
CWinApp* g_app = nullptr;

std::string ExecutableBaseName(HINSTANCE instance) {
    char path[PathSize] = {};
    GetModuleFileNameA(instance, path, sizeof path - 1);
    std::string name = path;
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}
}  // namespace

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetResourceHandle() {
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : GetModuleHandleA(nullptr);
}

const char* CommandLineText(const char* line) {
    if (!line) return "";
    const unsigned char* p = reinterpret_cast<const unsigned char*>(line);
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p > 0x20) ++p;
    }
    while (*p >= 0x01 && *p <= 0x20) ++p;
    return reinterpret_cast<const char*>(p);
}

const wchar_t* CommandLineText(const wchar_t* line) {
    if (!line) return L"";
    const wchar_t* p = line;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p == L'"') ++p;
    } else {
        while (*p > 0x20) ++p;
    }
    while (*p >= 0x01 && *p <= 0x20) ++p;
    return p;
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

void CWinApp::PrepareRun(HINSTANCE instance, const char* fullCommandLine, const wchar_t* fullWideCommandLine) {
    m_hInstance = instance;
    char title[256] = {};
    if (LoadStringA(instance, AFX_IDS_APP_TITLE, title, sizeof title) > 0)
        m_appName = title;
    else
        m_appName = ExecutableBaseName(instance);
    m_commandLineCopy = CommandLineText(fullCommandLine);
    m_lpCmdLine = m_commandLineCopy.c_str();
    m_wideCommandLineCopy = fullWideCommandLine ? CommandLineText(fullWideCommandLine) : Cp932ToWide(m_commandLineCopy);
    m_lpCmdLineW = m_wideCommandLineCopy.c_str();
}

void CWinApp::SetRegistryKey(const char* company) { m_registryKey = company ? company : ""; }

HKEY CWinApp::OpenSectionKey(const char* section) {
    HKEY software = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE | KEY_READ, &software) != ERROR_SUCCESS)
        return nullptr;
    HKEY key = nullptr;
    std::string path = m_registryKey + "\\" + m_appName;
    if (section && *section) path += std::string("\\") + section;
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(software, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_WRITE | KEY_READ, nullptr, &key, &disposition);
    RegCloseKey(software);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) {
    HKEY key = OpenSectionKey(section);
    if (!key) return static_cast<UINT>(defaultValue);
    DWORD type = 0, value = 0, size = sizeof value;
    LONG rc = RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return static_cast<UINT>(defaultValue);
    return value;
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) {
    HKEY key = OpenSectionKey(section);
    if (!key) return FALSE;
    DWORD data = static_cast<DWORD>(value);
    LONG rc = RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::string CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) {
    std::string fallback = defaultValue ? defaultValue : "";
    HKEY key = OpenSectionKey(section);
    if (!key) return fallback;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size);
    std::vector<char> data;
    if (rc == ERROR_SUCCESS && type == REG_SZ) {
        data.resize(size + 1);
        rc = RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return fallback;
    data.resize(size + 1, '\0');
    data[size] = '\0';  // a stored value need not carry its terminator
    return std::string(data.data());
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) {
    HKEY key = OpenSectionKey(section);
    if (!key) return FALSE;
    const char* text = value ? value : "";
    LONG rc = RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                             static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::wstring CWinApp::GetProfileWideString(const char* section, const char* entry, const wchar_t* defaultValue) {
    std::wstring fallback = defaultValue ? defaultValue : L"";
    HKEY key = OpenSectionKey(section);
    if (!key) return fallback;
    std::wstring name = Cp932ToWide(entry ? entry : "");
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<wchar_t> data;
    if (rc == ERROR_SUCCESS && type == REG_SZ) {
        data.resize(size / sizeof(wchar_t) + 1);
        rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    }
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return fallback;
    data.resize(size / sizeof(wchar_t) + 1, L'\0');
    data[size / sizeof(wchar_t)] = L'\0';  // a stored value need not carry its terminator
    return std::wstring(data.data());
}

BOOL CWinApp::WriteProfileWideString(const char* section, const char* entry, const std::wstring& value) {
    HKEY key = OpenSectionKey(section);
    if (!key) return FALSE;
    std::wstring name = Cp932ToWide(entry ? entry : "");
    LONG rc = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}
