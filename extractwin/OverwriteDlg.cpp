#include "extractwin/OverwriteDlg.h"
#include "framework/DC.h"
#include "framework/DataExchange.h"

namespace {
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Blue = RGB(0, 0, 255);
}  // namespace

COverwriteDlg::COverwriteDlg() : CDialog(IDD), fileLineBrush_(White) {}

void COverwriteDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_OVERWRITE_DISK_SIZE, diskSizeText);
    DDX_Text(dx, IDC_OVERWRITE_ARCHIVE_SIZE, archiveSizeText);
    DDX_Text(dx, IDC_OVERWRITE_DISK_TIME, diskTimeText);
    DDX_Text(dx, IDC_OVERWRITE_ARCHIVE_TIME, archiveTimeText);
    DDX_Radio(dx, IDC_OVERWRITE_CHOICE_OVERWRITE, choice);
    DDX_Text(dx, IDC_OVERWRITE_FILE_LINE, fileLine);
    DDX_Text(dx, IDC_OVERWRITE_FOLDER, folderText);
}

HBRUSH COverwriteDlg::OnCtlColor(CDC* dc, CWnd* control, UINT) {
    if (!control || control->GetDlgCtrlID() != IDC_OVERWRITE_FILE_LINE) return nullptr;
    dc->SetBkColor(White);
    dc->SetTextColor(Blue);
    return fileLineBrush_;
}

bool COverwriteAsker::Ask(const OverwriteQuestion& question, OverwriteMode* chosen) {
    COverwriteDlg dialog;
    dialog.folderText = question.folderText;
    dialog.fileLine = question.fileLine;
    dialog.diskSizeText = question.diskSizeText;
    dialog.diskTimeText = question.diskTimeText;
    dialog.archiveSizeText = question.archiveSizeText;
    dialog.archiveTimeText = question.archiveTimeText;
    dialog.choice = question.preselected;
    if (dialog.DoModal() != IDOK) return false;
    *chosen = static_cast<OverwriteMode>(dialog.choice);
    return true;
}
