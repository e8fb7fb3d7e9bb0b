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

    // The colours; with redraw the button is repainted now, else at its next paint.
    void SetActiveBgColor(COLORREF color, bool redraw);
    void SetDefaultActiveBgColor(bool redraw);
    void SetDefaultInactiveBgColor(bool redraw);
    void SetDefaultActiveFgColor(bool redraw);
    void SetDefaultInactiveFgColor(bool redraw);
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
    void ApplyColorChange(bool redraw);
    void DrawBorder(CDC* dc, const RECT& item, bool pressed);
    void DrawFaceIcon(CDC* dc, const RECT& item, bool pressed, bool disabled, RECT* captionArea);
    void DrawCaption(CDC* dc, RECT captionArea, bool pressed, bool disabled);
    bool IsLit(bool pressed) const { return mouseOver || pressed; }

    bool mouseOver = false;  // while the pointer is tracked over the button
    HICON iconHover = nullptr;
    HICON iconRest = nullptr;
    uint8_t iconHeight = 0;
    uint8_t iconWidth = 0;
    bool isDefault = false;  // the control had the default-push-button style
    COLORREF inactiveBgColor;
    COLORREF inactiveFgColor;
    COLORREF activeBgColor;
    COLORREF activeFgColor;
};
