#include <gtest/gtest.h>
#include <windows.h>
#include "ui/OffscreenDC.h"

namespace {

const COLORREF White = RGB(255, 255, 255), Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);

// A 40x30 white picture in memory to paint on and read back.
class PaintTarget : public testing::Test {
protected:
    void SetUp() override {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        picture = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        memory = CreateCompatibleDC(nullptr);
        original = SelectObject(memory, picture);
        RECT all = {0, 0, 40, 30};
        FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        target.Attach(memory);
    }
    void TearDown() override {
        target.Detach();
        SelectObject(memory, original);
        DeleteDC(memory);
        DeleteObject(picture);
    }
    // Paints the whole picture red through a surface, with a blue dot at (12, 7).
    void PaintThroughSurface() {
        COffscreenDC surface(&target);
        RECT all = {0, 0, 40, 30}, dot = {12, 7, 13, 8};
        surface.FillSolidRect(&all, Red);
        surface.FillSolidRect(&dot, Blue);
    }
    int CountOf(COLORREF color) {
        int count = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) count += GetPixel(memory, x, y) == color;
        return count;
    }

    HBITMAP picture = nullptr;
    HDC memory = nullptr;
    HGDIOBJ original = nullptr;
    CDC target;
};

}  // namespace

TEST_F(PaintTarget, WholeAreaArrivesAtTheSamePlace) {
    PaintThroughSurface();
    EXPECT_EQ(GetPixel(memory, 12, 7), Blue);
    EXPECT_EQ(GetPixel(memory, 0, 0), Red);
    EXPECT_EQ(GetPixel(memory, 39, 29), Red);
    EXPECT_EQ(CountOf(Red), 40 * 30 - 1);
}

TEST_F(PaintTarget, OnlyTheClipBoxIsPainted) {
    IntersectClipRect(memory, 10, 5, 20, 15);
    PaintThroughSurface();
    SelectClipRgn(memory, nullptr);
    EXPECT_EQ(GetPixel(memory, 12, 7), Blue);
    EXPECT_EQ(GetPixel(memory, 10, 5), Red);
    EXPECT_EQ(GetPixel(memory, 19, 14), Red);
    EXPECT_EQ(GetPixel(memory, 9, 5), White);
    EXPECT_EQ(GetPixel(memory, 20, 14), White);
    EXPECT_EQ(GetPixel(memory, 19, 15), White);
    EXPECT_EQ(CountOf(Red) + CountOf(Blue), 10 * 10);
}

TEST_F(PaintTarget, EmptyClipBoxChangesNothing) {
    IntersectClipRect(memory, 10, 5, 10, 5);
    PaintThroughSurface();
    SelectClipRgn(memory, nullptr);
    EXPECT_EQ(CountOf(White), 40 * 30);
}

TEST_F(PaintTarget, PrinterContextIsDrawnOnDirectly) {
    target.m_bPrinting = TRUE;
    {
        COffscreenDC surface(&target);
        EXPECT_EQ(surface.m_hDC, memory);
        RECT part = {0, 0, 5, 5};
        surface.FillSolidRect(&part, Red);
        // Nothing is held back until the end.
        EXPECT_EQ(GetPixel(memory, 4, 4), Red);
    }
    EXPECT_EQ(target.m_hDC, memory);
    EXPECT_NE(GetPixel(memory, 0, 0), CLR_INVALID) << "the target's context survives the surface";
    EXPECT_EQ(CountOf(Red), 25);
}
