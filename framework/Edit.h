#pragma once
#include <windows.h>
#include "framework/Wnd.h"

// An edit control.
class CEdit : public CWnd {
public:
    void LimitText(int bytes) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(bytes)); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
};
