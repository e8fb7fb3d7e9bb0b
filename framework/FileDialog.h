#pragma once
#include <windows.h>
#include <commdlg.h>
#include <string>
#include <vector>
#include "framework/CmdTarget.h"

class CWnd;

// The shell's file-open (or save) dialog, through the wide functions, so that the chosen path
// is whole whatever its characters and length. filter lists "name|pattern|" pairs of code
// page 932 text and ends with "|", as in "実行ファイル (*.exe)|*.exe||"; defaultExtension is
// ASCII. m_ofn may be adjusted before DoModal (title, initial folder). Without a parent the
// application's main window owns the dialog.
class CFileDialog : public CCmdTarget {
public:
    CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr, const std::wstring& fileName = L"",
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);

    // IDOK when a file was chosen, IDCANCEL otherwise.
    virtual INT_PTR DoModal();
    std::wstring GetPathName() const { return m_fileName.data(); }

    OPENFILENAMEW m_ofn = {};

    // The filter in the system's form: pairs of zero-terminated texts, ended by an empty one.
    static std::vector<char> SystemFilter(const char* filter);

private:
    BOOL m_open;
    CWnd* m_parent;
    std::wstring m_filter;
    std::vector<wchar_t> m_fileName;
    std::wstring m_defaultExtension;
};
