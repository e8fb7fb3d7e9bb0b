#pragma once
// Drives dialogs of this thread from inside their own message handling: hooks see every
// sent message after a window of the thread has handled it, and every posted message as a
// message loop takes it, so a test can read a dialog right after its initialisation (or a
// control after its text changed) and post the keys and clicks a user would give next.
#include <windows.h>
#include <functional>
#include <string>

namespace extracttest {

class WindowWatcher {
public:
    // Called after a window of this thread handled a sent message, and when a loop of the
    // thread takes a posted message of WM_APP or above (the markers a test posts itself),
    // before it is dispatched.
    using Handler = std::function<void(HWND window, UINT message)>;
    explicit WindowWatcher(Handler handler);
    ~WindowWatcher();
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

private:
    static LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PostedHook(int code, WPARAM wParam, LPARAM lParam);
    Handler handler_;
    HHOOK sentHook_;
    HHOOK postedHook_;
};

std::string ControlText(HWND dialog, int id);
// Posts a key press (down and up) to a window, as the dialog manager expects it.
void PostKey(HWND window, UINT key);
// The colours a control asks its dialog for: background, text, and the brush's colour.
struct ControlColours {
    COLORREF background, text, brush;
    bool handled;
};
ControlColours AskColours(HWND dialog, int controlId);

}  // namespace extracttest
