#include "extractwin/DestinationDlg.h"
#include "framework/BrowseForFolder.h"
#include "framework/DataExchange.h"
#include "framework/WinApp.h"

namespace {
HICON LoadProgramIcon(int id) { return LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }
}  // namespace

CDestinationDlg::CDestinationDlg() : CDialog(IDD), dialogIcon(LoadProgramIcon(IDI_PROGRAM)) {}

void CDestinationDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_DEST_BROWSE, browseButton);
    DDX_Text(dx, IDC_DEST_FOLDER, destination, MaxDestinationChars);
    DDX_Check(dx, IDC_DEST_KEEP_PATHS, keepPaths);
}

BOOL CDestinationDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(dialogIcon, TRUE);
    browseButton.SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(LoadProgramIcon(IDI_FOLDER)));
    return TRUE;
}

BOOL CDestinationDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_DEST_BROWSE && HIWORD(wParam) == BN_CLICKED) {
        OnBrowse();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CDestinationDlg::OnBrowse() {
    std::wstring picked;
    if (BrowseForFolder(GetDlgItemWideText(IDC_DEST_FOLDER), &picked, m_hWnd, "解凍先を選択して下さい。"))
        SetDlgItemText(IDC_DEST_FOLDER, picked);
}
