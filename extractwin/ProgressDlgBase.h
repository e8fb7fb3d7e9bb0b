#pragma once
#include <windows.h>
#include <string>
#include "extract/ExtractionUi.h"
#include "framework/Dialog.h"
#include "framework/GdiObjects.h"
#include "framework/ProgressCtrl.h"

// What both progress dialogs share: the archive line, the entry line, the bar, the abort
// button, and their colours. The "中断" button and Esc only raise the
// abort flag; the extraction loop reads it after each entry, when the dialog has handled the
// thread's waiting messages.
//
// Painting a line and the bar for every entry would cost more than extracting a small file,
// so the entry line and the bar reach the screen at most once per ScreenInterval (the first
// entry of a showing at once), and whenever the loop calls ShowNow. A line is sent to its
// control only when its text changed, so the archive line goes once per archive.
class CProgressDlgBase : public CDialog, public ExtractionProgress {
public:
    static constexpr DWORD ScreenInterval = 50;  // milliseconds between two updates of the screen
    // The bar's steps for each position of a run of `upper` positions: a large entry moves the
    // bar within its own step.
    static int BarSteps(int upper);

    explicit CProgressDlgBase(UINT templateId, CWnd* parent = nullptr);

    void SetRange(int upper) override;
    void SetPosition(int position) override;
    void ShowEntryName(const wchar_t* name) override;
    void ShowEntryShare(int done, int total) override;
    void ShowNow() override;
    bool AbortRequested() override;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind) override;

    int abortRequested = 0;
    std::wstring entryLine;
    std::wstring archiveLine;
    CProgressCtrl bar;

protected:
    // Bar range 0 to 100, position 0.
    void ResetBar();

private:
    // ShowNow, unless the screen was updated less than ScreenInterval ago.
    void ShowWhenDue();
    void SendLine(int id, const std::wstring& text, std::wstring* shown);

    CBrush archiveLineBrush_;
    CBrush entryLineBrush_;
    int position_ = 0;
    int share_ = 0;   // of the step of position_, in bar steps
    int steps_ = 1;   // BarSteps of the range
    // What the controls hold now.
    std::wstring shownEntryLine_;
    std::wstring shownArchiveLine_;
    int shownPosition_ = 0;  // in bar steps
    bool shownOnce_ = false;  // false until the first update of this showing
    DWORD shownAt_ = 0;       // GetTickCount of the last update
};
