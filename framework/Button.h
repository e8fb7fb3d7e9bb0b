#pragma once
#include "framework/Wnd.h"

// A push button, check box or radio button. An owner-drawn button draws itself in
// DrawItem, which the parent's drawing request reaches through the framework.
class CButton : public CWnd {
public:
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetButtonStyle() const;
    // Replaces the button's type and style bits (BS_*) and redraws when asked.
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);

    // Owner drawing (BS_OWNERDRAW): draws the button.
    virtual void DrawItem(DRAWITEMSTRUCT* item);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
