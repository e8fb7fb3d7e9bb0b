#pragma once
// A flat push button that draws itself: an icon (and the caption, when there is one) with no
// border at rest, a raised one-pixel border on the hover colour while the pointer is over
// it, and a sunken border with the face moved one pixel down and right while it is pressed.
// It follows the pointer by holding the mouse capture while the pointer is over it.
#include <windows.h>
#include <cstdint>
#include "framework/Button.h"

class CHoverButton : public CButton {
public:
    CHoverButton();
    ~CHoverButton() override;

    // Loads the face icons from the program's resources at their own size and redraws at
    // once. Without a rest icon (0) the hover icon is shown at rest too.
    void SetIcons(int hoverIconId, int restIconId);

    // The colours; redraw 1 repaints now, anything else waits for the next paint.
    void SetActiveBgColor(COLORREF color, int redraw);
    void SetDefaultActiveBgColor(int redraw);
    void SetDefaultInactiveBgColor(int redraw);
    void SetDefaultActiveFgColor(int redraw);
    void SetDefaultInactiveFgColor(int redraw);
    COLORREF GetActiveBgColor() const { return activeBgColor; }
    COLORREF GetInactiveBgColor() const { return inactiveBgColor; }
    COLORREF GetActiveFgColor() const { return activeFgColor; }
    COLORREF GetInactiveFgColor() const { return inactiveFgColor; }

    void PreSubclassWindow() override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DrawItem(DRAWITEMSTRUCT* item) override;

private:
    void OnMouseMove(UINT flags, POINT point);
    void OnKillFocus();
    void OnCaptureChanged();
    void ApplyColorChange(int redraw);
    void DrawBorder(CDC* dc, const RECT& item, bool pressed);
    void DrawFaceIcon(CDC* dc, const RECT& item, bool pressed, bool disabled, RECT* captionArea);
    void DrawCaption(CDC* dc, RECT captionArea, bool pressed, bool disabled);
    bool IsLit(bool pressed) const { return mouseOver || pressed; }

    int mouseOver = 0;
    HICON iconHover = nullptr;
    HICON iconRest = nullptr;
    uint8_t iconHeight = 0;
    uint8_t iconWidth = 0;
    int isDefault = 0;
    COLORREF inactiveBgColor;
    COLORREF inactiveFgColor;
    COLORREF activeBgColor;
    COLORREF activeFgColor;
};
