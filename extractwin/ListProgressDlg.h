#pragma once
#include "extractwin/ProgressDlgBase.h"
#include "res/resource.h"

// The progress dialog of an extraction from the archive list window: made at once without
// a modal loop, centred over its parent, destroyed with the object.
class CListProgressDlg : public CProgressDlgBase {
public:
    enum { IDD = IDD_LIST_PROGRESS_DIALOG };

    explicit CListProgressDlg(CWnd* parent = nullptr);
    ~CListProgressDlg() override;

    BOOL OnInitDialog() override;
};
