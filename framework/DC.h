#pragma once
#include <windows.h>
#include <string>
#include "framework/CmdTarget.h"

class CGdiObject;
class CBrush;

// A device context. Drawing goes to the output context m_hDC; queries read the attribute
// context m_hAttribDC (the same handle unless a derived class sets them apart). A context
// made by CreateCompatibleDC is deleted with the object; one given to Attach is not.
class CDC : public CCmdTarget {
public:
    CDC() = default;
    ~CDC() override;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    void Attach(HDC dc);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* reference);
    BOOL DeleteDC();
    BOOL IsPrinting() const { return m_bPrinting; }

    // Attributes.
    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);
    POINT SetWindowOrg(int x, int y);
    int GetClipBox(RECT* rect) const;
    HGDIOBJ SelectObject(HGDIOBJ object);
    HGDIOBJ SelectObject(CGdiObject* object);

    // Output.
    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillRect(const RECT* rect, CBrush* brush);
    POINT MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop);
    int DrawText(const char* text, int length, RECT* rect, UINT format);
    int DrawText(const std::string& text, RECT* rect, UINT format);
    BOOL DrawIcon(int x, int y, HICON icon);
    // DrawStateA with an icon (DST_ICON) or a text (DST_TEXT, or DST_PREFIXTEXT when
    // prefixText) at pt in size; flags add DSS_* states.
    BOOL DrawState(POINT pt, SIZE size, HICON icon, UINT flags, HBRUSH brush = nullptr);
    BOOL DrawState(POINT pt, SIZE size, const char* text, UINT flags, BOOL prefixText = TRUE,
                   int length = 0, HBRUSH brush = nullptr);
    SIZE GetTextExtent(const std::string& text) const;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

private:
    bool m_owned = false;
};
