#include "listwin/WidestCells.h"

namespace {
bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit < 0xE000; }
}  // namespace

CWidestCells::CWidestCells(HWND list)
    : list_(list), dc_(::GetDC(list)), unitWidths_(65536, -1), widths_(ColumnCount, -1), texts_(ColumnCount) {
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0));
    oldFont_ = dc_ ? ::SelectObject(dc_, font ? font : ::GetStockObject(DEFAULT_GUI_FONT)) : nullptr;
}

CWidestCells::~CWidestCells() {
    if (!dc_) return;
    ::SelectObject(dc_, oldFont_);
    ::ReleaseDC(list_, dc_);
}

void CWidestCells::Offer(int column, const wchar_t* text, size_t length) {
    if (column < 0 || column >= ColumnCount) return;
    int width = Width(text, length);
    if (width <= widths_[column]) return;
    widths_[column] = width;
    texts_[column].assign(text, length);
}

int CWidestCells::Width(const wchar_t* text, size_t length) {
    int width = 0;
    for (size_t i = 0; i < length;) {
        size_t units = i + 1 < length && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]) ? 2 : 1;
        width += CharacterWidth(text + i, units);
        i += units;
    }
    return width;
}

int CWidestCells::CharacterWidth(const wchar_t* character, size_t units) {
    int* width = nullptr;
    if (units == 2)
        width = &pairWidths_.emplace(uint32_t(character[0]) << 16 | character[1], -1).first->second;
    else
        width = &unitWidths_[character[0]];
    if (*width < 0) {
        SIZE size = {};
        *width = dc_ && ::GetTextExtentPoint32W(dc_, character, static_cast<int>(units), &size) ? size.cx : 0;
    }
    return *width;
}
