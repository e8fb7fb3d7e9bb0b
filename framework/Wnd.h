#pragma once
#include <windows.h>
#include <string>
#include "framework/CmdTarget.h"

class CDC;

// A window handle and the operations on it.
//
// A CWnd can simply name a window (Attach, FromHandle) or take the window over
// (SubclassWindow, SubclassDlgItem): then every message of the window passes through the
// virtual WindowProc of the derived class, and what it does not handle goes on to the
// window's own procedure through DefWindowProc. A taken-over window lets go of its object
// when it is destroyed.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // The object attached to a window, or else a temporary stand-in that only names the
    // window (valid until the window is gone; never delete it). Null for a null handle.
    static CWnd* FromHandle(HWND hwnd);
    // The object attached to a window, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Names a window without taking it over; the caller detaches before the window goes.
    BOOL Attach(HWND hwnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Runs once the object is attached and before the window's messages reach WindowProc.
    virtual void PreSubclassWindow() {}
    // Sees a message of the modal loop before it is translated and dispatched; TRUE keeps
    // it from going further.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Every message of a taken-over window. The default reflects control notifications to
    // taken-over controls, calls the handlers below and else DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's own procedure (the one it had before it was taken over).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the window has been destroyed and the object let go of it.
    virtual void PostNcDestroy() {}

    // Handlers called by WindowProc. Each returns TRUE (or a non-null brush) when it handled
    // the message.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A control asks for its colours: set them on dc and return the background brush, or
    // return null for the default colours. kind is a CTLCOLOR_* value.
    virtual HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    // A notification sent by this control to its parent comes back here first (owner
    // drawing, commands, notifications). TRUE when handled, with the result in *result.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Gives the message to PreTranslateMessage of the window it is for and then of each
    // parent up to the top-level window. TRUE when one of them took it.
    static BOOL WalkPreTranslateTree(MSG* msg);

    // Window text and state.
    void SetWindowText(const char* text);
    std::string GetWindowText() const;
    int GetWindowTextLength() const;
    // The same in UTF-16, for paths, whose characters code page 932 may not spell.
    void SetWindowText(const std::wstring& text);
    std::wstring GetWindowWideText() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL IsWindow() const;
    void Invalidate(BOOL erase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(const RECT* area = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    BOOL DestroyWindow();
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    void SetFont(HFONT font, BOOL redraw = TRUE);
    HFONT GetFont() const;
    HICON SetIcon(HICON icon, BOOL big);

    // Geometry.
    void GetWindowRect(RECT* rect) const;
    void GetClientRect(RECT* rect) const;
    void ClientToScreen(POINT* point) const;
    void ClientToScreen(RECT* rect) const;
    void ScreenToClient(POINT* point) const;
    void ScreenToClient(RECT* rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    // Centres the window over its owner (or the given window), or over the work area of
    // its monitor when there is none; it is kept inside the work area.
    void CenterWindow(CWnd* alternateOwner = nullptr);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);

    // Relations and focus.
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    int GetDlgCtrlID() const;

    // Controls of a dialog.
    CWnd* GetDlgItem(int id) const;
    void SetDlgItemText(int id, const char* text);
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::wstring& text);
    std::wstring GetDlgItemWideText(int id) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HWND m_hWnd = nullptr;

protected:
    static LRESULT CALLBACK StandardWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Offers a control's notification to the object that took the control over.
    BOOL ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    WNDPROC m_superWndProc = nullptr;  // the window's procedure before it was taken over
};
