#include "ui/AboutDlg.h"
#include "framework/DC.h"
#include "res/resource.h"
#include "ui/Help.h"

namespace {
const COLORREF LightGreen = RGB(200, 255, 200);
}

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT_DIALOG, nullptr), programLineBrush(LightGreen) {}

BOOL CAboutDlg::OnHelpInfo(HELPINFO*) {
    OpenHelpFile(m_hWnd);
    return TRUE;
}

HBRUSH CAboutDlg::OnCtlColor(CDC* dc, CWnd* control, UINT kind) {
    if (!control || control->GetDlgCtrlID() != IDC_ABOUT_PROGRAM_LINE) return CDialog::OnCtlColor(dc, control, kind);
    dc->SetBkColor(LightGreen);
    dc->SetTextColor(RGB(0, 0, 0));
    return programLineBrush;
}
