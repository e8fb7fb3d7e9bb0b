#pragma once
#include <windows.h>
#include <string>
#include "framework/CmdTarget.h"

class CWnd;

// The string resource that names the application (and its profile key).
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 57344
#endif

// The one application object of a process. WinMain hands it the command line and calls
// InitInstance; the process ends when InitInstance returns.
class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    virtual BOOL InitInstance() { return FALSE; }

    // Fills the fields WinMain provides: instance, application name, command-line text (the
    // wide one from fullWideCommandLine, or from fullCommandLine when that is null).
    void PrepareRun(HINSTANCE instance, const char* fullCommandLine, const wchar_t* fullWideCommandLine = nullptr);

    // Profile location: HKEY_CURRENT_USER\Software\<company>\<application name>.
    void SetRegistryKey(const char* company);

    // Profile access. Every call opens the key afresh (creating missing keys) and closes it.
    // A missing value, or one of another registry type, reads as the default.
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
    BOOL WriteProfileInt(const char* section, const char* entry, int value);
    std::string GetProfileString(const char* section, const char* entry, const char* defaultValue);
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);
    // The same value in UTF-16, through the wide registry functions (entry is ASCII). A value
    // the "A" functions wrote reads back as the same text.
    std::wstring GetProfileWideString(const char* section, const char* entry, const wchar_t* defaultValue);
    BOOL WriteProfileWideString(const char* section, const char* entry, const std::wstring& value);

    HINSTANCE m_hInstance = nullptr;
    std::string m_appName;        // from AFX_IDS_APP_TITLE, else the executable's base name
    std::string m_registryKey;    // company key given to SetRegistryKey
    const char* m_lpCmdLine = ""; // command line without the program path
    const wchar_t* m_lpCmdLineW = L"";  // the same in UTF-16: names of every script
    CWnd* m_pMainWnd = nullptr;

private:
    HKEY OpenSectionKey(const char* section);
    std::string m_commandLineCopy;
    std::wstring m_wideCommandLineCopy;
};

// The application object of this process (null before one is constructed).
CWinApp* AfxGetApp();

// The module whose resources the program uses.
HINSTANCE AfxGetResourceHandle();

// The command-line text the application sees: the process command line after the program
// path (which ends at its closing quote, or before the first byte <= 0x20) and after the
// bytes 0x01..0x20 that follow it.
const char* CommandLineText(const char* fullCommandLine);
const wchar_t* CommandLineText(const wchar_t* fullCommandLine);
