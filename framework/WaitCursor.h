#pragma once
#include <windows.h>

// Shows the hourglass for as long as the object lives (nested waits keep it up until the
// outermost one ends). Windows of the framework keep showing it while the pointer moves.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows the hourglass again, for example after a message box changed the pointer.
    void Restore();

    static bool IsShown();

private:
    HCURSOR m_previous = nullptr;
};
