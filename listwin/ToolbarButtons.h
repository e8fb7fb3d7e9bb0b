#pragma once
// The list window's tool bar: six hover buttons with an icon face and a tooltip each.
#include <windows.h>

struct ToolbarButton {
    int controlId;
    int iconId;
    const char* tooltip;
};

// In the order in which the window takes the buttons over.
extern const ToolbarButton ToolbarButtons[6];

// The hover background: the base colour lightened by 20 in each of red, green and blue,
// each part held at 255 rather than carried into the next one.
COLORREF LightenedColor(COLORREF base);
