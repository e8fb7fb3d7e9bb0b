#pragma once
#include <string>
#include "extract/ExtractionUi.h"
#include "framework/Dialog.h"
#include "framework/GdiObjects.h"
#include "res/resource.h"

// The question before an existing file is overwritten: where it goes, its name, size and
// time on disk and in the archive, and the four ways to go on. OK resumes with the chosen
// mode; cancel, Esc and the close box stop the run.
class COverwriteDlg : public CDialog {
public:
    enum { IDD = IDD_OVERWRITE_DIALOG };

    COverwriteDlg();

    void DoDataExchange(CDataExchange* dx) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind) override;

    std::string diskSizeText;
    std::string archiveSizeText;
    std::string diskTimeText;
    std::string archiveTimeText;
    int choice = -1;  // the radio button: an OverwriteMode
    std::wstring fileLine;
    std::wstring folderText;

private:
    CBrush fileLineBrush_;
};

// Asks the overwrite question with a new COverwriteDlg each time.
class COverwriteAsker : public OverwriteAsker {
public:
    bool Ask(const OverwriteQuestion& question, OverwriteMode* chosen) override;
};
