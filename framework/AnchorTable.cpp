#include "core/Utility.h"

void CUtility::RecordAnchors(HWND dialog, const RECT& d, AnchorRow* table) {
    for (AnchorRow* row = table; row->controlId != 0; ++row) {
        RECT r;
        HWND control = GetDlgItem(dialog, row->controlId);
        if (!control || !GetWindowRect(control, &r)) continue;
        switch (row->kind) {
        case 1: case 2: case 3:
            row->vertical = (d.bottom - d.top) - (r.bottom - r.top);
            row->horizontal = (d.right - d.left) - (r.right - r.left);
            break;
        case 4:
            row->vertical = d.bottom - r.top;
            row->horizontal = r.left - d.left;
            break;
        case 5:
            row->vertical = r.top - d.top;
            row->horizontal = d.right - r.left;
            break;
        case 6:
            row->vertical = d.bottom - r.top;
            row->horizontal = d.right - r.left;
            break;
        default:
            break;
        }
    }
}

void CUtility::ApplyAnchors(HWND dialog, const RECT& d, AnchorRow* table) {
    if (!IsWindowVisible(dialog)) return;
    for (AnchorRow* row = table; row->controlId != 0; ++row) {
        HWND control = GetDlgItem(dialog, row->controlId);
        if (!control || !IsWindowVisible(control)) continue;
        RECT r;
        GetWindowRect(control, &r);
        int width = r.right - r.left, height = r.bottom - r.top;
        UINT flags = SWP_NOZORDER;
        POINT at = {r.left, r.top};
        switch (row->kind) {
        case 1: height = (d.bottom - d.top) - row->vertical; flags |= SWP_NOMOVE; break;
        case 2: width = (d.right - d.left) - row->horizontal; flags |= SWP_NOMOVE; break;
        case 3:
            height = (d.bottom - d.top) - row->vertical;
            width = (d.right - d.left) - row->horizontal;
            flags |= SWP_NOMOVE;
            break;
        case 4: at = {d.left + row->horizontal, d.bottom - row->vertical}; flags |= SWP_NOSIZE; break;
        case 5: at = {d.right - row->horizontal, d.top + row->vertical}; flags |= SWP_NOSIZE; break;
        case 6: at = {d.right - row->horizontal, d.bottom - row->vertical}; flags |= SWP_NOSIZE; break;
        default: flags |= SWP_NOMOVE | SWP_NOSIZE; break;
        }
        ScreenToClient(dialog, &at);
        SetWindowPos(control, nullptr, at.x, at.y, width, height, flags);
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (row->redraw == 1) {
            ShowWindow(control, SW_HIDE);
            ShowWindow(control, SW_SHOW);
        }
    }
}
