#pragma once
#include <windows.h>
#include <commdlg.h>
#include <string>
#include <vector>
#include "framework/CmdTarget.h"

class CWnd;

// The shell's file-open (or save) dialog. filter lists "name|pattern|" pairs and ends with
// "|", as in "実行ファイル (*.exe)|*.exe||". m_ofn may be adjusted before DoModal (title,
// initial folder). Without a parent the application's main window owns the dialog.
class CFileDialog : public CCmdTarget {
public:
    CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr, const char* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
                CWnd* parent = nullptr);

    // IDOK when a file was chosen, IDCANCEL otherwise.
    virtual INT_PTR DoModal();
    std::string GetPathName() const { return m_fileName.data(); }

    OPENFILENAMEA m_ofn = {};

    // The filter in the system's form: pairs of zero-terminated texts, ended by an empty one.
    static std::vector<char> SystemFilter(const char* filter);

private:
    BOOL m_open;
    CWnd* m_parent;
    std::vector<char> m_filter;
    std::vector<char> m_fileName;
    std::string m_defaultExtension;
};
