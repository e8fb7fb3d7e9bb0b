#pragma once
// The program's about box, shown modally without an owner.
#include "framework/Dialog.h"
#include "framework/GdiObjects.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    BOOL OnHelpInfo(HELPINFO* info) override;
    // The program line stands on light green.
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind) override;

private:
    CBrush programLineBrush;
};
