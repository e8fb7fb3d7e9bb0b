#include "listwin/WidestCells.h"
#include "text/Cp932.h"

CWidestCells::CWidestCells(HWND list)
    : list_(list), dc_(::GetDC(list)), characterWidths_(65536, -1), widths_(ColumnCount, -1), texts_(ColumnCount) {
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0));
    oldFont_ = dc_ ? ::SelectObject(dc_, font ? font : ::GetStockObject(DEFAULT_GUI_FONT)) : nullptr;
}

CWidestCells::~CWidestCells() {
    if (!dc_) return;
    ::SelectObject(dc_, oldFont_);
    ::ReleaseDC(list_, dc_);
}

void CWidestCells::Offer(int column, const char* text, size_t length) {
    if (column < 0 || column >= ColumnCount) return;
    int width = Width(text, length);
    if (width <= widths_[column]) return;
    widths_[column] = width;
    texts_[column].assign(text, length);
}

int CWidestCells::Width(const char* text, size_t length) {
    int width = 0;
    for (size_t i = 0; i < length;) {
        size_t bytes = cp932::CharWidth(text, length, i);
        width += CharacterWidth(text + i, bytes);
        i += bytes;
    }
    return width;
}

int CWidestCells::CharacterWidth(const char* character, size_t bytes) {
    const unsigned char* code = reinterpret_cast<const unsigned char*>(character);
    size_t key = bytes == 2 ? (code[0] << 8 | code[1]) : code[0];
    int& width = characterWidths_[key];
    if (width < 0) {
        SIZE size = {};
        width = dc_ && ::GetTextExtentPoint32A(dc_, character, static_cast<int>(bytes), &size) ? size.cx : 0;
    }
    return width;
}
