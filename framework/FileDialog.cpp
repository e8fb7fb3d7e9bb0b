#include "framework/FileDialog.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "text/Cp932.h"
#include "text/PathSize.h"
#include "text/WideText.h"

std::vector<char> CFileDialog::SystemFilter(const char* filter) {
    std::vector<char> result;
    if (!filter || !*filter) return result;
    for (const char* p = filter; *p; ++p) {
        // A "|" can be the second byte of a double-byte character: copy those whole.
        if (cp932::CharWidth(p) == 2) {
            result.push_back(*p++);
            result.push_back(*p);
        } else {
            result.push_back(*p == '|' ? '\0' : *p);
        }
    }
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const std::wstring& fileName,
                         DWORD flags, const char* filter, CWnd* parent)
    : m_open(openFileDialog), m_parent(parent), m_fileName(MaxWidePathLength + 1, L'\0'),
      m_defaultExtension(Cp932ToWide(defaultExtension ? defaultExtension : "")) {
    std::vector<char> systemFilter = SystemFilter(filter);
    // Converted whole: the zeros between the texts stay where they are.
    m_filter = Cp932ToWide(std::string(systemFilter.begin(), systemFilter.end()));
    fileName.copy(m_fileName.data(), m_fileName.size() - 1);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal() {
    HWND owner = m_parent ? m_parent->m_hWnd : nullptr;
    if (!owner && AfxGetApp() && AfxGetApp()->m_pMainWnd) owner = AfxGetApp()->m_pMainWnd->m_hWnd;
    m_ofn.hwndOwner = owner;
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.lpstrFile = m_fileName.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileName.size());
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    BOOL chosen = m_open ? GetOpenFileNameW(&m_ofn) : GetSaveFileNameW(&m_ofn);
    m_fileName.back() = L'\0';
    return chosen ? IDOK : IDCANCEL;
}
