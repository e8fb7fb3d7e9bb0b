#include "framework/ImageList.h"

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

BOOL CImageList::DeleteImageList() {
    if (!m_hImageList) return FALSE;
    BOOL ok = ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return ok;
}

int CImageList::Add(HICON icon) { return m_hImageList ? ImageList_AddIcon(m_hImageList, icon) : -1; }
int CImageList::GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }

COLORREF CImageList::SetBkColor(COLORREF color) {
    return m_hImageList ? ImageList_SetBkColor(m_hImageList, color) : CLR_NONE;
}
