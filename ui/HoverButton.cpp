#include "ui/HoverButton.h"
#include <algorithm>
#include <string>
#include "framework/GdiObjects.h"
#include "framework/WinApp.h"
#include "ui/OffscreenDC.h"

CHoverButton::CHoverButton() {
    SetDefaultActiveBgColor(false);
    SetDefaultInactiveBgColor(false);
    SetDefaultActiveFgColor(false);
    SetDefaultInactiveFgColor(false);
}

CHoverButton::~CHoverButton() {
    if (iconRest && iconRest != iconHover) DestroyIcon(iconRest);
    if (iconHover) DestroyIcon(iconHover);
}

void CHoverButton::PreSubclassWindow() {
    UINT style = GetButtonStyle() & 0xFF;
    if (style & BS_DEFPUSHBUTTON) isDefault = true;
    SetButtonStyle(style | BS_OWNERDRAW, TRUE);
    CButton::PreSubclassWindow();
}

void CHoverButton::SetIcons(int hoverIconId, int restIconId) {
    auto load = [](int id) {
        return static_cast<HICON>(LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, 0));
    };
    if (iconRest && iconRest != iconHover) DestroyIcon(iconRest);
    if (iconHover) DestroyIcon(iconHover);
    iconHover = load(hoverIconId);
    iconRest = restIconId ? load(restIconId) : iconHover;

    // An icon's hot spot is its centre.
    iconWidth = iconHeight = 0;
    ICONINFO info;
    if (iconHover && GetIconInfo(iconHover, &info)) {
        iconWidth = static_cast<uint8_t>(info.xHotspot * 2);
        iconHeight = static_cast<uint8_t>(info.yHotspot * 2);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
    }
    if (m_hWnd) RedrawWindow();
}

void CHoverButton::ApplyColorChange(bool redraw) {
    if (redraw && m_hWnd) Invalidate(TRUE);
}

void CHoverButton::SetActiveBgColor(COLORREF color, bool redraw) {
    activeBgColor = color;
    ApplyColorChange(redraw);
}

void CHoverButton::SetDefaultActiveBgColor(bool redraw) {
    activeBgColor = GetSysColor(COLOR_BTNFACE);
    ApplyColorChange(redraw);
}

void CHoverButton::SetDefaultInactiveBgColor(bool redraw) {
    inactiveBgColor = GetSysColor(COLOR_BTNFACE);
    ApplyColorChange(redraw);
}

void CHoverButton::SetDefaultActiveFgColor(bool redraw) {
    activeFgColor = GetSysColor(COLOR_BTNTEXT);
    ApplyColorChange(redraw);
}

void CHoverButton::SetDefaultInactiveFgColor(bool redraw) {
    inactiveFgColor = GetSysColor(COLOR_BTNTEXT);
    ApplyColorChange(redraw);
}

LRESULT CHoverButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A fast second click is another click, not a double click.
    if (message == WM_LBUTTONDBLCLK) message = WM_LBUTTONDOWN;
    return CButton::DefWindowProc(message, wParam, lParam);
}

LRESULT CHoverButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: {
        LRESULT result = CButton::WindowProc(message, wParam, lParam);
        OnMouseMove(static_cast<UINT>(wParam), POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return result;
    }
    case WM_KILLFOCUS: {
        LRESULT result = CButton::WindowProc(message, wParam, lParam);
        OnKillFocus();
        return result;
    }
    case WM_CAPTURECHANGED:
        OnCaptureChanged();
        return CButton::WindowProc(message, wParam, lParam);
    default:
        return CButton::WindowProc(message, wParam, lParam);
    }
}

void CHoverButton::OnMouseMove(UINT flags, POINT point) {
    bool leftDown = (flags & MK_LBUTTON) != 0;
    if (leftDown && !mouseOver) return;

    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner) owner = ::GetParent(m_hWnd);
    if (::GetCapture() != m_hWnd && ::GetActiveWindow() && owner) {
        mouseOver = true;
        ::SetCapture(m_hWnd);
        Invalidate(TRUE);
        return;
    }

    ClientToScreen(&point);
    if (::WindowFromPoint(point) == m_hWnd) return;

    // The pointer has left the button.
    if (mouseOver) {
        mouseOver = false;
        Invalidate(TRUE);
    }
    if (!leftDown) ::ReleaseCapture();
}

void CHoverButton::OnKillFocus() {
    if (!mouseOver) return;
    mouseOver = false;
    Invalidate(TRUE);
}

void CHoverButton::OnCaptureChanged() {
    if (!mouseOver) return;
    ::ReleaseCapture();
    Invalidate(TRUE);
}

void CHoverButton::DrawItem(DRAWITEMSTRUCT* item) {
    CDC itemDC;
    itemDC.Attach(item->hDC);
    {
        COffscreenDC dc(&itemDC);
        bool pressed = (item->itemState & ODS_SELECTED) != 0;
        bool disabled = (item->itemState & ODS_DISABLED) != 0;
        const RECT& area = item->rcItem;

        CBrush background(IsLit(pressed) ? activeBgColor : inactiveBgColor);
        dc.FillRect(&area, &background);
        DrawBorder(&dc, area, pressed);

        RECT captionArea = area;
        DrawFaceIcon(&dc, area, pressed, disabled, &captionArea);
        DrawCaption(&dc, captionArea, pressed, disabled);
    }
    itemDC.Detach();
}

// Two L-shaped one-pixel lines: top-left in one colour, bottom-right in the other.
void CHoverButton::DrawBorder(CDC* dc, const RECT& item, bool pressed) {
    if (!pressed && !mouseOver) return;
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    CPen topLeft(PS_SOLID, 1, pressed ? shadow : highlight);
    CPen bottomRight(PS_SOLID, 1, pressed ? highlight : shadow);

    HGDIOBJ previous = dc->SelectObject(&topLeft);
    dc->MoveTo(item.left, item.bottom - 1);
    dc->LineTo(item.left, item.top);
    dc->LineTo(item.right, item.top);
    dc->SelectObject(&bottomRight);
    dc->MoveTo(item.left, item.bottom - 1);
    dc->LineTo(item.right - 1, item.bottom - 1);
    dc->LineTo(item.right - 1, item.top - 1);
    dc->SelectObject(previous);
}

void CHoverButton::DrawFaceIcon(CDC* dc, const RECT& item, bool pressed, bool disabled, RECT* captionArea) {
    if (!iconHover) return;
    RECT icon = item;
    int width = item.right - item.left, height = item.bottom - item.top;
    if (GetWindowTextLength() == 0) {
        icon.left += (width - iconWidth) / 2;
    } else {
        icon.left += 3;
        captionArea->left += iconWidth + 3;
    }
    icon.top += (height - iconHeight) / 2;
    if (pressed) OffsetRect(&icon, 1, 1);

    // The icon at its own size, cut off where the button ends.
    SIZE size = {std::min<LONG>(iconWidth, icon.right - icon.left), std::min<LONG>(iconHeight, icon.bottom - icon.top)};
    if (size.cx <= 0 || size.cy <= 0) return;
    HICON face = IsLit(pressed) ? iconHover : iconRest;
    dc->DrawState(POINT{icon.left, icon.top}, size, face, disabled ? DSS_DISABLED : DSS_NORMAL);
}

void CHoverButton::DrawCaption(CDC* dc, RECT captionArea, bool pressed, bool disabled) {
    std::string caption = GetWindowText();
    if (caption.empty()) return;
    if (pressed) OffsetRect(&captionArea, 1, 1);

    HFONT font = GetFont();
    HGDIOBJ previousFont = font ? dc->SelectObject(font) : nullptr;
    dc->SetTextColor(IsLit(pressed) ? activeFgColor : inactiveFgColor);
    dc->SetBkColor(IsLit(pressed) ? activeBgColor : inactiveBgColor);

    RECT text = captionArea;
    dc->DrawText(caption, &text, DT_SINGLELINE | DT_CALCRECT);
    OffsetRect(&text, ((captionArea.right - captionArea.left) - (text.right - text.left)) / 2,
               ((captionArea.bottom - captionArea.top) - (text.bottom - text.top)) / 2);
    dc->SetBkMode(TRANSPARENT);
    dc->DrawState(POINT{text.left, text.top}, SIZE{text.right - text.left, text.bottom - text.top}, caption.c_str(),
                  disabled ? DSS_DISABLED : DSS_NORMAL);
    if (previousFont) dc->SelectObject(previousFont);
}
