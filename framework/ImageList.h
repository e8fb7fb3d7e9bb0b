#pragma once
#include <windows.h>
#include <commctrl.h>
#include "framework/CmdTarget.h"

// An image list, destroyed with its object.
class CImageList : public CCmdTarget {
public:
    ~CImageList() override { DeleteImageList(); }

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    // flags: ILC_COLOR24, ILC_MASK ...
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL DeleteImageList();
    int Add(HICON icon);                 // index of the new image, or -1
    int GetImageCount() const;
    COLORREF SetBkColor(COLORREF color);

    HIMAGELIST m_hImageList = nullptr;
};
