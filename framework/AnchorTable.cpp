#include "framework/AnchorTable.h"

namespace {
int Height(const RECT& r) { return r.bottom - r.top; }
int Width(const RECT& r) { return r.right - r.left; }
}  // namespace

void CAnchorTable::RecordAnchors(HWND dialog, const RECT& d) {
    for (AnchorRow& row : rows_) {
        RECT r;
        HWND control = GetDlgItem(dialog, row.controlId);
        if (!control || !GetWindowRect(control, &r)) continue;
        switch (row.kind) {
        case AnchorKind::Height:
        case AnchorKind::Width:
        case AnchorKind::Size:
            row.vertical = Height(d) - Height(r);
            row.horizontal = Width(d) - Width(r);
            break;
        case AnchorKind::BottomLeft:
            row.vertical = d.bottom - r.top;
            row.horizontal = r.left - d.left;
            break;
        case AnchorKind::TopRight:
            row.vertical = r.top - d.top;
            row.horizontal = d.right - r.left;
            break;
        case AnchorKind::BottomRight:
            row.vertical = d.bottom - r.top;
            row.horizontal = d.right - r.left;
            break;
        }
    }
}

void CAnchorTable::ApplyAnchors(HWND dialog, const RECT& d) const {
    if (!IsWindowVisible(dialog)) return;
    for (const AnchorRow& row : rows_) {
        HWND control = GetDlgItem(dialog, row.controlId);
        if (!control || !IsWindowVisible(control)) continue;
        RECT r;
        GetWindowRect(control, &r);
        int width = Width(r), height = Height(r);
        UINT flags = SWP_NOZORDER;
        POINT at = {r.left, r.top};
        switch (row.kind) {
        case AnchorKind::Height: height = Height(d) - row.vertical; flags |= SWP_NOMOVE; break;
        case AnchorKind::Width: width = Width(d) - row.horizontal; flags |= SWP_NOMOVE; break;
        case AnchorKind::Size:
            height = Height(d) - row.vertical;
            width = Width(d) - row.horizontal;
            flags |= SWP_NOMOVE;
            break;
        case AnchorKind::BottomLeft:
            at = {d.left + row.horizontal, d.bottom - row.vertical};
            flags |= SWP_NOSIZE;
            break;
        case AnchorKind::TopRight:
            at = {d.right - row.horizontal, d.top + row.vertical};
            flags |= SWP_NOSIZE;
            break;
        case AnchorKind::BottomRight:
            at = {d.right - row.horizontal, d.bottom - row.vertical};
            flags |= SWP_NOSIZE;
            break;
        }
        ScreenToClient(dialog, &at);
        SetWindowPos(control, nullptr, at.x, at.y, width, height, flags);
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (row.redraw) {
            ShowWindow(control, SW_HIDE);
            ShowWindow(control, SW_SHOW);
        }
    }
}
