#pragma once
// A status text that is made when it is shown or read, not on every change. A selection
// made row by row (a shift-click, a program setting each row's state) tells the window of
// every row; the window then only marks the text stale, and it is brought up to date once,
// when the control paints or someone reads it.
#include <functional>
#include "framework/Wnd.h"

class CLazyStatusLine : public CWnd {
public:
    // Called before the control paints or gives its text.
    std::function<void()> bringUpToDate;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        bool shown = message == WM_PAINT || message == WM_GETTEXT || message == WM_GETTEXTLENGTH;
        if (shown && bringUpToDate) bringUpToDate();
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
