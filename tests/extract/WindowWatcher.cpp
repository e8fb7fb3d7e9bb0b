#include "tests/extract/WindowWatcher.h"

namespace extracttest {
namespace {
WindowWatcher* g_watcher = nullptr;
}  // namespace

WindowWatcher::WindowWatcher(Handler handler)
    : handler_(std::move(handler)),
      sentHook_(SetWindowsHookExA(WH_CALLWNDPROCRET, &WindowWatcher::SentHook, nullptr, GetCurrentThreadId())),
      postedHook_(SetWindowsHookExA(WH_GETMESSAGE, &WindowWatcher::PostedHook, nullptr, GetCurrentThreadId())) {
    g_watcher = this;
}

WindowWatcher::~WindowWatcher() {
    if (sentHook_) UnhookWindowsHookEx(sentHook_);
    if (postedHook_) UnhookWindowsHookEx(postedHook_);
    g_watcher = nullptr;
}

LRESULT CALLBACK WindowWatcher::SentHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && g_watcher) {
        const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        g_watcher->handler_(call->hwnd, call->message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WindowWatcher::PostedHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && g_watcher) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        if (message->message >= WM_APP) g_watcher->handler_(message->hwnd, message->message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string ControlText(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void PostKey(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

ControlColours AskColours(HWND dialog, int controlId) {
    HWND control = GetDlgItem(dialog, controlId);
    HDC dc = GetDC(control);
    SetBkColor(dc, RGB(1, 2, 3));
    SetTextColor(dc, RGB(4, 5, 6));
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    LOGBRUSH look = {};
    if (brush) GetObjectA(brush, sizeof look, &look);
    ControlColours colours{GetBkColor(dc), GetTextColor(dc), look.lbColor, brush != nullptr};
    ReleaseDC(control, dc);
    return colours;
}

}  // namespace extracttest
