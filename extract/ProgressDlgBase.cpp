#include "extract/ProgressDlgBase.h"
#include "framework/DC.h"
#include "framework/DataExchange.h"

namespace {
constexpr COLORREF Yellow = RGB(255, 255, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
}  // namespace

CProgressDlgBase::CProgressDlgBase(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent), archiveLineBrush_(Yellow), entryLineBrush_(White) {}

void CProgressDlgBase::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_ENTRY_LINE, entryLine);
    DDX_Text(dx, IDC_ARCHIVE_LINE, archiveLine);
    DDX_Control(dx, IDC_BAR, bar);
}

void CProgressDlgBase::SetRange(int upper) {
    // The 32-bit message: archives of more than 65,535 entries move the bar to its end.
    bar.SetRange32(0, upper);
}

void CProgressDlgBase::SetPosition(int position) {
    bar.SetPos(position);
}

void CProgressDlgBase::ShowEntryName(const char* name) {
    entryLine = name;
    UpdateData(FALSE);
}

void CProgressDlgBase::ResetBar() {
    SetRange(100);
    SetPosition(0);
}

void CProgressDlgBase::OnCancel() { abortRequested = 1; }

HBRUSH CProgressDlgBase::OnCtlColor(CDC* dc, CWnd* control, UINT) {
    int id = control ? control->GetDlgCtrlID() : 0;
    if (id == IDC_ARCHIVE_LINE) {
        dc->SetBkColor(Yellow);
        dc->SetTextColor(Blue);
        return archiveLineBrush_;
    }
    if (id == IDC_ENTRY_LINE) {
        dc->SetBkColor(White);
        dc->SetTextColor(Red);
        return entryLineBrush_;
    }
    return nullptr;
}
