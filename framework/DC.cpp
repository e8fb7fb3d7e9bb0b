#include "framework/DC.h"
#include <cstring>
#include "framework/GdiObjects.h"

CDC::~CDC() { DeleteDC(); }

void CDC::Attach(HDC dc) {
    DeleteDC();
    m_hDC = m_hAttribDC = dc;
    m_owned = false;
}

HDC CDC::Detach() {
    HDC dc = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    m_owned = false;
    return dc;
}

BOOL CDC::CreateCompatibleDC(CDC* reference) {
    DeleteDC();
    HDC dc = ::CreateCompatibleDC(reference ? reference->m_hDC : nullptr);
    if (!dc) return FALSE;
    m_hDC = m_hAttribDC = dc;
    m_owned = true;
    return TRUE;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    bool owned = m_owned;
    HDC dc = Detach();
    return owned ? ::DeleteDC(dc) : TRUE;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    if (m_hAttribDC && m_hAttribDC != m_hDC) ::SetTextColor(m_hAttribDC, color);
    return ::SetTextColor(m_hDC, color);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    if (m_hAttribDC && m_hAttribDC != m_hDC) ::SetBkColor(m_hAttribDC, color);
    return ::SetBkColor(m_hDC, color);
}

int CDC::SetBkMode(int mode) {
    if (m_hAttribDC && m_hAttribDC != m_hDC) ::SetBkMode(m_hAttribDC, mode);
    return ::SetBkMode(m_hDC, mode);
}

POINT CDC::SetWindowOrg(int x, int y) {
    POINT previous = {};
    ::SetWindowOrgEx(m_hDC, x, y, &previous);
    if (m_hAttribDC && m_hAttribDC != m_hDC) ::SetWindowOrgEx(m_hAttribDC, x, y, nullptr);
    return previous;
}

int CDC::GetClipBox(RECT* rect) const { return ::GetClipBox(m_hDC, rect); }

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    if (m_hAttribDC && m_hAttribDC != m_hDC) ::SelectObject(m_hAttribDC, object);
    return ::SelectObject(m_hDC, object);
}

HGDIOBJ CDC::SelectObject(CGdiObject* object) {
    return object ? SelectObject(object->m_hObject) : nullptr;
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
    COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::FillRect(const RECT* rect, CBrush* brush) {
    ::FillRect(m_hDC, rect, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr);
}

POINT CDC::MoveTo(int x, int y) {
    POINT previous = {};
    ::MoveToEx(m_hDC, x, y, &previous);
    return previous;
}

BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sourceX, sourceY, rop);
}

int CDC::DrawText(const char* text, int length, RECT* rect, UINT format) {
    return ::DrawTextA(m_hDC, text, length, rect, format);
}

int CDC::DrawText(const std::string& text, RECT* rect, UINT format) {
    return DrawText(text.c_str(), static_cast<int>(text.size()), rect, format);
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

BOOL CDC::DrawState(POINT pt, SIZE size, HICON icon, UINT flags, HBRUSH brush) {
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, pt.x, pt.y,
                        size.cx, size.cy, flags | DST_ICON);
}

BOOL CDC::DrawState(POINT pt, SIZE size, const char* text, UINT flags, BOOL prefixText, int length,
                    HBRUSH brush) {
    if (!text) text = "";
    if (length <= 0) length = static_cast<int>(strlen(text));
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(text), static_cast<WPARAM>(length),
                        pt.x, pt.y, size.cx, size.cy, flags | (prefixText ? DST_PREFIXTEXT : DST_TEXT));
}

SIZE CDC::GetTextExtent(const std::string& text) const {
    SIZE size = {};
    ::GetTextExtentPoint32A(m_hAttribDC ? m_hAttribDC : m_hDC, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}
