#include "core/SettingIO.h"
#include <cstdio>
#include <cstring>
#include "framework/WinApp.h"
#include "text/PathSize.h"
#include "text/WideText.h"

std::string CSettingIO::ReadString(const char* section, const char* key, const char* defaultValue, char* out) {
    std::string value;
    if (CWinApp* app = AfxGetApp())
        value = app->GetProfileString(section, key, defaultValue);
    else
        value = defaultValue ? defaultValue : "";
    // Every text the program stores fits a path buffer. A longer one was set elsewhere, and
    // cut it could name another folder or program: it reads as missing.
    if (value.size() > PathSize - 1) value = defaultValue ? defaultValue : "";
    if (out) {
        size_t n = value.size() < PathSize - 1 ? value.size() : PathSize - 1;
        memcpy(out, value.data(), n);
        out[n] = '\0';
    }
    return value;
}

int CSettingIO::ReadInt(const char* section, const char* key, int defaultValue) {
    CWinApp* app = AfxGetApp();
    return app ? static_cast<int>(app->GetProfileInt(section, key, defaultValue)) : defaultValue;
}

bool CSettingIO::WriteString(const char* section, const char* key, const char* value) {
    CWinApp* app = AfxGetApp();
    return app && app->WriteProfileString(section, key, value);
}

bool CSettingIO::WriteInt(const char* section, const char* key, int value) {
    CWinApp* app = AfxGetApp();
    return app && app->WriteProfileInt(section, key, value);
}

std::wstring CSettingIO::Read(const TextValue& value) {
    std::wstring fallback = value.defaultValue ? value.defaultValue : L"";
    CWinApp* app = AfxGetApp();
    std::wstring text = app ? app->GetProfileWideString("", value.name, fallback.c_str()) : fallback;
    return text.size() > MaxWidePathLength ? fallback : text;
}

int CSettingIO::Read(const NumberValue& value) { return ReadInt("", value.name, value.defaultValue); }

bool CSettingIO::Write(const TextValue& value, const std::wstring& text) {
    CWinApp* app = AfxGetApp();
    return app && text.size() <= MaxWidePathLength && app->WriteProfileWideString("", value.name, text);
}

bool CSettingIO::Write(const NumberValue& value, int number) { return WriteInt("", value.name, number); }

RegistryKey CSettingIO::SectionKey(const char* section, bool create) {
    CWinApp* app = AfxGetApp();
    if (!app) return RegistryKey();
    std::wstring path = L"Software\\" + Cp932ToWide(app->m_registryKey) + L"\\" + Cp932ToWide(app->m_appName) +
                        L"\\" + Cp932ToWide(section);
    return create ? RegistryKey::Create(HKEY_CURRENT_USER, path) : RegistryKey::Open(HKEY_CURRENT_USER, path, true);
}

int ParseIntList(const char* text, IntList10* r) {
    if (!text || !*text) return 0;
    int converted = sscanf(text, "%i:%i:%i:%i:%i:%i:%i:%i:%i:%i", &r->flags, &r->showCmd, &r->minX,
                           &r->minY, &r->maxX, &r->maxY, &r->left, &r->top, &r->right, &r->bottom);
    return converted == 10 ? 1 : 0;
}

std::string FormatIntList(const IntList10& r) {
    char text[128];
    snprintf(text, sizeof text, "%i:%i:%i:%i:%i:%i:%i:%i:%i:%i", r.flags, r.showCmd, r.minX, r.minY,
             r.maxX, r.maxY, r.left, r.top, r.right, r.bottom);
    return text;
}

IntList10 PlacementRecord(const WINDOWPLACEMENT& placement) {
    IntList10 record;
    record.flags = static_cast<int>(placement.flags);
    record.showCmd = static_cast<int>(placement.showCmd);
    record.minX = placement.ptMinPosition.x;
    record.minY = placement.ptMinPosition.y;
    record.maxX = placement.ptMaxPosition.x;
    record.maxY = placement.ptMaxPosition.y;
    record.left = placement.rcNormalPosition.left;
    record.top = placement.rcNormalPosition.top;
    record.right = placement.rcNormalPosition.right;
    record.bottom = placement.rcNormalPosition.bottom;
    return record;
}

WINDOWPLACEMENT PlacementOf(const IntList10& r) {
    return {sizeof(WINDOWPLACEMENT), static_cast<UINT>(r.flags), static_cast<UINT>(r.showCmd), {r.minX, r.minY},
            {r.maxX, r.maxY}, {r.left, r.top, r.right, r.bottom}};
}

int CSettingIO::ReadIntList(const char* key, IntList10* record) {
    std::string text = ReadString("", key, "", nullptr);
    return ParseIntList(text.c_str(), record);
}

int CSettingIO::WriteIntList(const char* key, const IntList10& record) {
    WriteString("", key, FormatIntList(record).c_str());
    return 1;
}
