#include "framework/GdiObjects.h"
#include "framework/DC.h"
#include "framework/WinApp.h"

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (!object || m_hObject) return FALSE;
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    DeleteObject();
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

BOOL CBitmap::LoadBitmap(UINT resourceId) {
    DeleteObject();
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId)));
}

BITMAP CBitmap::GetBitmapInfo() const {
    BITMAP info = {};
    if (m_hObject) ::GetObjectA(m_hObject, sizeof info, &info);
    return info;
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    DeleteObject();
    return Attach(::CreateSolidBrush(color));
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    DeleteObject();
    return Attach(::CreatePen(style, width, color));
}
