// A resize table moving and sizing the controls of a real window.
#include <gtest/gtest.h>
#include <windows.h>
#include "framework/AnchorTable.h"

TEST(AnchorTable, ControlsFollowTheEdgesOfARealWindow) {
    HWND dialog = CreateWindowExA(0, "#32770", "anchors", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(dialog, nullptr);
    auto child = [&](int id, int x, int y, int w, int h) {
        return CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, x, y, w, h, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    };
    HWND grow = child(10, 0, 30, 300, 200);
    HWND corner = child(11, 300, 250, 60, 12);
    HWND topRight = child(12, 340, 2, 30, 26);
    const AnchorRow rows[] = {
        {11, AnchorKind::BottomRight, true}, {10, AnchorKind::Size, false}, {12, AnchorKind::TopRight, true}};
    CAnchorTable table(rows);
    RECT d;
    GetWindowRect(dialog, &d);
    table.RecordAnchors(dialog, d);

    // Hidden: nothing moves.
    RECT bigger = {d.left, d.top, d.right + 100, d.bottom + 50};
    table.ApplyAnchors(dialog, bigger);
    RECT r;
    GetWindowRect(grow, &r);
    EXPECT_EQ(r.right - r.left, 300);

    ShowWindow(dialog, SW_SHOW);
    MoveWindow(dialog, bigger.left, bigger.top, bigger.right - bigger.left, bigger.bottom - bigger.top, TRUE);
    GetWindowRect(dialog, &d);
    table.ApplyAnchors(dialog, d);
    GetWindowRect(grow, &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 250);
    POINT p = {0, 0};
    ClientToScreen(dialog, &p);
    GetWindowRect(corner, &r);
    EXPECT_EQ(r.left - p.x, 400);
    EXPECT_EQ(r.top - p.y, 300);
    EXPECT_EQ(r.right - r.left, 60);
    GetWindowRect(topRight, &r);
    EXPECT_EQ(r.left - p.x, 440);
    EXPECT_EQ(r.top - p.y, 2);
    DestroyWindow(dialog);
}
