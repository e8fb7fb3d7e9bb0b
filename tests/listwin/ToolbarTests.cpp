// The list window's tool bar: hover buttons in the lightened menu colour that take every click.
#include <gtest/gtest.h>
#include <windows.h>
#include "listwin/ToolbarButtons.h"
#include "res/resource.h"
#include "tests/listwin/ListWindowFixture.h"
#include "ui/HoverButton.h"

TEST(HoverColour, EachPartStopsAt255) {
    EXPECT_EQ(LightenedColor(RGB(100, 150, 200)), RGB(120, 170, 220));
    EXPECT_EQ(LightenedColor(RGB(240, 240, 240)), RGB(255, 255, 255));
    EXPECT_EQ(LightenedColor(RGB(250, 10, 236)), RGB(255, 30, 255));
}

TEST_F(ListWindowTest, ToolbarButtonsHoverWithTheLightenedMenuColour) {
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}));
    auto* extractAll = dynamic_cast<CHoverButton*>(CWnd::FromHandlePermanent(Control(IDC_ARCLIST_EXTRACT_ALL)));
    ASSERT_NE(extractAll, nullptr);
    EXPECT_EQ(extractAll->GetActiveBgColor(), LightenedColor(GetSysColor(COLOR_MENU)));

    SetForegroundWindow(Window());
    SetActiveWindow(Window());
    HWND about = Control(IDC_ARCLIST_ABOUT);
    SendMessageA(about, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), about) << "the pointer is followed while over the button";
    SendMessageA(about, WM_MOUSEMOVE, 0, MAKELPARAM(-3000, -3000));
    EXPECT_NE(GetCapture(), about) << "leaving releases the capture";
}

TEST_F(ListWindowTest, AFastSecondClickIsAnotherClick) {
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|", "-lh5-|2|1|1|0||b.vlwnone|b|"}));
    HWND toggle = Control(IDC_ARCLIST_SELECT);
    LPARAM inside = MAKELPARAM(5, 5);
    SendMessageA(toggle, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    SendMessageA(toggle, WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(SelectedCount(), 2);
    SendMessageA(toggle, WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
    SendMessageA(toggle, WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(SelectedCount(), 0) << "the double click toggled the selection back";
}
