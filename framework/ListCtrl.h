#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "framework/Wnd.h"

class CImageList;

// A list-view control (the program uses the report view).
class CListCtrl : public CWnd {
public:
    // Columns. width -1 leaves the control's default; SetColumnWidth also takes
    // LVSCW_AUTOSIZE and LVSCW_AUTOSIZE_USEHEADER.
    int InsertColumn(int column, const char* heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    BOOL DeleteColumn(int column);
    BOOL SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const;
    std::string GetColumnHeading(int column) const;
    int GetColumnCount() const;
    // Makes every column as wide as the wider of its heading and its widest cell; the last
    // column also fills the rest of the control (ListCtrlFit.cpp).
    void FitColumnWidths();
    // The same for columns whose widest cells are known: widest[c] is the text of column c's
    // widest cell (empty: no cell), images[c] the image of that cell's row.
    void FitColumnWidths(const std::vector<std::string>& widest, const std::vector<int>& images);
    void FitColumnWidths(const std::vector<std::wstring>& widest, const std::vector<int>& images);

    // Rows. InsertItem returns the new row's index, or -1.
    int InsertItem(int index, const char* text, int image = -1);
    int InsertItem(UINT mask, int index, const char* text, UINT state, UINT stateMask, int image,
                   LPARAM data);
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL SetItemText(int index, int subItem, const char* text);
    std::string GetItemText(int index, int subItem) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    int GetItemImage(int index) const;

    // Selection and other states.
    BOOL SetItemState(int index, UINT state, UINT mask);   // index -1: every row
    UINT GetItemState(int index, UINT mask) const;
    UINT GetSelectedCount() const;
    int GetNextItem(int start, int flags) const;           // LVNI_SELECTED ...

    // Sorts the rows: compare(data1, data2, sortData) over the rows' item data.
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR sortData);

    DWORD SetExtendedStyle(DWORD styles);                 // returns the previous styles
    DWORD GetExtendedStyle() const;
    // Attaches an image list (LVSIL_SMALL ...). The list stays the image list object's
    // own: the control does not destroy it.
    HIMAGELIST SetImageList(CImageList* images, int kind);
    BOOL SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    HWND GetHeaderCtrl() const;

private:
    // Fits the columns to a hidden twin that holds the widest cells (put there by fill).
    template <typename Fill>
    void FitToTwin(Fill fill);
    std::vector<int> WidestRows(int columns) const;
    BOOL CreateTwin(CListCtrl& twin) const;
    int FittedWidth(int column);
};
