#include "extractwin/ProgressDlgBase.h"
#include <climits>
#include <cstdint>
#include "framework/DC.h"
#include "framework/DataExchange.h"
#include "framework/MessagePump.h"
#include "res/resource.h"

namespace {
constexpr COLORREF Yellow = RGB(255, 255, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Red = RGB(255, 0, 0);
}  // namespace

CProgressDlgBase::CProgressDlgBase(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent), archiveLineBrush_(Yellow), entryLineBrush_(White) {}

void CProgressDlgBase::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_PROGRESS_ENTRY_LINE, entryLine);
    DDX_Text(dx, IDC_PROGRESS_ARCHIVE_LINE, archiveLine);
    DDX_Control(dx, IDC_PROGRESS_BAR, bar);
}

BOOL CProgressDlgBase::OnInitDialog() {
    BOOL result = CDialog::OnInitDialog();  // both lines onto their controls
    shownEntryLine_ = entryLine;
    shownArchiveLine_ = archiveLine;
    shownPosition_ = bar.GetPos();
    position_ = shownPosition_ / steps_;
    share_ = 0;
    shownOnce_ = false;
    return result;
}

int CProgressDlgBase::BarSteps(int upper) {
    constexpr int Steps = 1000;
    return upper > 0 && upper <= INT_MAX / Steps ? Steps : 1;
}

void CProgressDlgBase::SetRange(int upper) {
    // The 32-bit message: archives of more than 65,535 entries move the bar to its end.
    steps_ = BarSteps(upper);
    bar.SetRange32(0, upper * steps_);
}

void CProgressDlgBase::SetPosition(int position) {
    position_ = position;
    share_ = 0;
    // The lines of a showing appear with its first entry, not with the bar's first move.
    if (shownOnce_) ShowWhenDue();
}

void CProgressDlgBase::ShowEntryName(const wchar_t* name) {
    entryLine = name;
    ShowWhenDue();
}

void CProgressDlgBase::ShowEntryShare(int done, int total) {
    if (total <= 0 || done < 0) return;
    share_ = static_cast<int>(static_cast<int64_t>(done < total ? done : total) * steps_ / total);
    ShowWhenDue();
}

void CProgressDlgBase::ShowWhenDue() {
    if (!shownOnce_ || GetTickCount() - shownAt_ >= ScreenInterval) ShowNow();
}

void CProgressDlgBase::ShowNow() {
    if (!m_hWnd) return;
    SendLine(IDC_PROGRESS_ARCHIVE_LINE, archiveLine, &shownArchiveLine_);
    SendLine(IDC_PROGRESS_ENTRY_LINE, entryLine, &shownEntryLine_);
    int barPosition = position_ * steps_ + share_;
    if (barPosition != shownPosition_) {
        bar.SetPos(barPosition);
        shownPosition_ = barPosition;
    }
    shownOnce_ = true;
    shownAt_ = GetTickCount();
}

void CProgressDlgBase::SendLine(int id, const std::wstring& text, std::wstring* shown) {
    if (text == *shown) return;
    ::SetDlgItemTextW(m_hWnd, id, text.c_str());
    *shown = text;
}

void CProgressDlgBase::ResetBar() {
    SetRange(100);
    position_ = shownPosition_ = share_ = 0;
    bar.SetPos(0);
}

bool CProgressDlgBase::AbortRequested() {
    PumpPendingMessages();
    return abortRequested != 0;
}

void CProgressDlgBase::OnCancel() { abortRequested = 1; }

HBRUSH CProgressDlgBase::OnCtlColor(CDC* dc, CWnd* control, UINT) {
    int id = control ? control->GetDlgCtrlID() : 0;
    if (id == IDC_PROGRESS_ARCHIVE_LINE) {
        dc->SetBkColor(Yellow);
        dc->SetTextColor(Blue);
        return archiveLineBrush_;
    }
    if (id == IDC_PROGRESS_ENTRY_LINE) {
        dc->SetBkColor(White);
        dc->SetTextColor(Red);
        return entryLineBrush_;
    }
    return nullptr;
}
