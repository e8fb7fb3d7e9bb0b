#pragma once
#include <string>
#include "framework/Dialog.h"
#include "res/resource.h"

// Asks where a selection extraction goes and whether entries keep their stored folders.
// It reads and writes no setting: the caller fills both fields and reads them after OK.
class CDestinationDlg : public CDialog {
public:
    enum { IDD = IDD_DESTINATION_DIALOG };
    static constexpr int MaxDestinationChars = 200;

    CDestinationDlg();

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    CWnd browseButton;
    std::wstring destination;
    int keepPaths = 0;
    HICON dialogIcon = nullptr;

private:
    void OnBrowse();
};
