#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <string>
#include "res/resource.h"
#include "ui/HoverButton.h"

namespace {

const int Width = 34, Height = 39;

// A 34x39 picture in memory to draw a button face on.
class Picture {
public:
    Picture() {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        original_ = SelectObject(dc_, bitmap_);
    }
    ~Picture() {
        SelectObject(dc_, original_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    HDC dc() const { return dc_; }
    void Fill(COLORREF color) {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) SetPixel(dc_, x, y, color);
    }
    // The first pixel that differs, as text; empty when the pictures are the same.
    std::string Difference(const Picture& other) const {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (GetPixel(dc_, x, y) != GetPixel(other.dc_, x, y))
                    return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
        return std::string();
    }

private:
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ original_;
};

// A bare 34x39 push button in a window of its own, taken over by a hover button.
class HoverButtonTest : public testing::Test {
protected:
    void SetUp() override {
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        HWND control = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 0, Width, Height,
                                       parent, reinterpret_cast<HMENU>(1012), nullptr, nullptr);
        ASSERT_TRUE(button.SubclassWindow(control));
        button.SetIcons(IDI_EXTRACT_ALL, 0);
        icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_EXTRACT_ALL), IMAGE_ICON, 0, 0, 0));
        ASSERT_NE(icon, nullptr);
    }
    void TearDown() override {
        DestroyIcon(icon);
        DestroyWindow(parent);
    }
    void Draw(Picture* picture, UINT state) {
        DRAWITEMSTRUCT item = {ODT_BUTTON, 1012, 0, ODA_DRAWENTIRE, state, button.m_hWnd, picture->dc(), {0, 0, Width, Height}, 0};
        button.DrawItem(&item);
    }
    // An L-shaped line through (x0,y0), (x1,y1), (x2,y2), the last point left out.
    static void Line(HDC dc, COLORREF color, POINT a, POINT b, POINT c) {
        HPEN pen = CreatePen(PS_SOLID, 1, color);
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, a.x, a.y, nullptr);
        LineTo(dc, b.x, b.y);
        LineTo(dc, c.x, c.y);
        SelectObject(dc, old);
        DeleteObject(pen);
    }

    HWND parent = nullptr;
    CHoverButton button;
    HICON icon = nullptr;
};

}  // namespace

TEST_F(HoverButtonTest, TakesOverAsOwnerDrawn) {
    EXPECT_EQ(GetWindowLongPtrA(button.m_hWnd, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST_F(HoverButtonTest, AtRestTheIconSitsAtOneThreeWithoutBorder) {
    Picture drawn, expected;
    Draw(&drawn, 0);
    expected.Fill(GetSysColor(COLOR_BTNFACE));
    DrawIconEx(expected.dc(), 1, 3, icon, 32, 32, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(drawn.Difference(expected), "");
}

TEST_F(HoverButtonTest, PressedTheBorderSinksAndTheIconMovesToTwoFour) {
    const COLORREF hover = RGB(10, 200, 30);
    button.SetActiveBgColor(hover, false);
    Picture drawn, expected;
    Draw(&drawn, ODS_SELECTED);
    expected.Fill(hover);
    Line(expected.dc(), GetSysColor(COLOR_BTNSHADOW), {0, Height - 1}, {0, 0}, {Width, 0});
    Line(expected.dc(), GetSysColor(COLOR_BTNHIGHLIGHT), {0, Height - 1}, {Width - 1, Height - 1}, {Width - 1, -1});
    DrawIconEx(expected.dc(), 2, 4, icon, 32, 32, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(drawn.Difference(expected), "");
    // Spot checks that do not depend on the reference drawing.
    EXPECT_EQ(GetPixel(drawn.dc(), 0, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(drawn.dc(), 33, 10), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetPixel(drawn.dc(), 1, 1), hover);
}

TEST_F(HoverButtonTest, DisabledIsDrawnDifferently) {
    Picture normal, disabled;
    Draw(&normal, 0);
    Draw(&disabled, ODS_DISABLED);
    EXPECT_NE(normal.Difference(disabled), "");
    EXPECT_EQ(GetPixel(disabled.dc(), 0, 0), GetSysColor(COLOR_BTNFACE));
}

TEST_F(HoverButtonTest, ColourChangeWithoutRedrawWaitsForThePaint) {
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    UpdateWindow(parent);
    ValidateRect(button.m_hWnd, nullptr);
    button.SetActiveBgColor(RGB(1, 2, 3), false);
    RECT invalid;
    EXPECT_FALSE(GetUpdateRect(button.m_hWnd, &invalid, FALSE));
    button.SetActiveBgColor(RGB(1, 2, 3), true);
    EXPECT_TRUE(GetUpdateRect(button.m_hWnd, &invalid, FALSE));
    EXPECT_EQ(button.GetActiveBgColor(), RGB(1, 2, 3));
}
