#pragma once
#include <windows.h>
#include <commctrl.h>
#include "framework/Wnd.h"

// A tooltip control. Its owner relays the mouse messages of its windows to it
// (RelayEvent, usually from PreTranslateMessage) so that tips appear over the tools.
class CToolTipCtrl : public CWnd {
public:
    ~CToolTipCtrl() override;

    BOOL Create(CWnd* owner, DWORD style = 0);
    void Activate(BOOL activate);
    void SetDelayTime(DWORD kind, int milliseconds);   // kind: TTDT_AUTOMATIC ...
    int SetMaxTipWidth(int width);
    // A tool that is a whole window (a control), with its tip text.
    BOOL AddTool(CWnd* tool, const char* text);
    int GetToolCount() const;
    std::string GetToolText(CWnd* tool) const;
    void RelayEvent(MSG* msg);
};
