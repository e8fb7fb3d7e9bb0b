#include "extractwin/ListProgressDlg.h"

CListProgressDlg::CListProgressDlg(CWnd* parent) : CProgressDlgBase(IDD, parent) {
    Create(IDD, parent);  // without a parent the desktop owns it
}

CListProgressDlg::~CListProgressDlg() { DestroyWindow(); }

BOOL CListProgressDlg::OnInitDialog() {
    CProgressDlgBase::OnInitDialog();
    ResetBar();
    if (m_pParentWnd && m_pParentWnd->m_hWnd) {
        RECT parent, own;
        m_pParentWnd->GetWindowRect(&parent);
        GetWindowRect(&own);
        int width = own.right - own.left, height = own.bottom - own.top;
        int left = parent.left + ((parent.right - parent.left) - width) / 2;
        int top = parent.top + ((parent.bottom - parent.top) - height) / 2;
        SetWindowPos(HWND_TOP, left, top, 0, 0, SWP_NOSIZE);
    }
    return TRUE;
}
