#pragma once
// The widest text of each column of the archive list, found while the rows are made. The
// width of a text is the sum of its characters' widths in the list's font, each character
// measured once, so no row is ever measured through the control (which for an owner-data
// list would ask the window for every cell again).
#include <windows.h>
#include <string>
#include <unordered_map>
#include <vector>
#include "listwin/EntryCells.h"

class CWidestCells {
public:
    explicit CWidestCells(HWND list);
    ~CWidestCells();
    CWidestCells(const CWidestCells&) = delete;
    CWidestCells& operator=(const CWidestCells&) = delete;

    // A cell of the column; kept when it is the widest so far (the first of equals stays).
    void Offer(int column, const wchar_t* text, size_t length);
    void Offer(int column, const std::wstring& text) { Offer(column, text.data(), text.size()); }

    // The widest text of each column (empty for a column without cells).
    const std::vector<std::wstring>& Texts() const { return texts_; }

private:
    int Width(const wchar_t* text, size_t length);
    int CharacterWidth(const wchar_t* character, size_t units);

    HWND list_;
    HDC dc_;
    HGDIOBJ oldFont_;
    std::vector<int> unitWidths_;  // by UTF-16 unit of the basic plane; -1 unmeasured
    std::unordered_map<uint32_t, int> pairWidths_;  // characters beyond it, by surrogate pair
    std::vector<int> widths_;
    std::vector<std::wstring> texts_;
};
