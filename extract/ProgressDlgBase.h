#pragma once
#include <string>
#include "extract/ExtractionUi.h"
#include "framework/Dialog.h"
#include "framework/GdiObjects.h"
#include "framework/ProgressCtrl.h"

// What both progress dialogs share: the archive line (1025), the entry line (1023), the bar
// (1024), the abort button, and their colours. The "中断" button and Esc only raise the
// abort flag; the extraction loop reads it after each entry.
class CProgressDlgBase : public CDialog, public ExtractionProgress {
public:
    enum { IDC_ENTRY_LINE = 1023, IDC_BAR = 1024, IDC_ARCHIVE_LINE = 1025 };

    explicit CProgressDlgBase(UINT templateId, CWnd* parent = nullptr);

    void SetRange(int upper) override;
    void SetPosition(int position) override;
    void ShowEntryName(const char* name) override;
    bool AbortRequested() override { return abortRequested != 0; }

    void DoDataExchange(CDataExchange* dx) override;
    void OnCancel() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind) override;

    int abortRequested = 0;
    std::string entryLine;
    std::string archiveLine;
    CProgressCtrl bar;

protected:
    // Bar range 0 to 100, position 0.
    void ResetBar();

private:
    CBrush archiveLineBrush_;
    CBrush entryLineBrush_;
};
