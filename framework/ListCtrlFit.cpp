// Fitting a list's columns to their contents.
//
// The control's own auto-size measures every row through a device context of its own per
// row: for 100,000 rows that takes minutes under Wine. So the widest cell of each column is
// found here with one device context, a hidden twin of the control that holds only those
// cells is fitted instead, and the twin's widths are taken over. The control's header-aware
// auto-size also cuts some headings short under Wine, so headings are measured as well.
#include <algorithm>
#include "framework/ListCtrl.h"

namespace {

// Room a header item needs around its text.
constexpr int HeadingPadding = 16;

// The width of a text in the list's font; one device context for many texts.
class TextMeasure {
public:
    explicit TextMeasure(HWND list) : list_(list), dc_(::GetDC(list)) {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0));
        oldFont_ = ::SelectObject(dc_, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    }
    ~TextMeasure() {
        ::SelectObject(dc_, oldFont_);
        ::ReleaseDC(list_, dc_);
    }
    int Width(const char* text, int length) const {
        SIZE size = {};
        return ::GetTextExtentPoint32A(dc_, text, length, &size) ? size.cx : 0;
    }

private:
    HWND list_;
    HDC dc_;
    HGDIOBJ oldFont_;
};

}  // namespace

void CListCtrl::FitColumnWidths() {
    int columns = GetColumnCount();
    if (columns <= 0) return;
    std::vector<int> widest = WidestRows(columns);
    std::vector<std::string> texts(columns);
    std::vector<int> images(columns, 0);
    for (int column = 0; column < columns; ++column) {
        if (widest[column] < 0) continue;
        texts[column] = GetItemText(widest[column], column);
        images[column] = GetItemImage(widest[column]);
    }
    FitColumnWidths(texts, images);
}

void CListCtrl::FitColumnWidths(const std::vector<std::string>& widest, const std::vector<int>& images) {
    FitToTwin([&](CListCtrl& twin, int columns) {
        for (int column = 0; column < columns && column < static_cast<int>(widest.size()); ++column) {
            if (widest[column].empty()) continue;
            int image = column < static_cast<int>(images.size()) ? images[column] : 0;
            int row = twin.InsertItem(LVIF_TEXT | LVIF_IMAGE, twin.GetItemCount(), "", 0, 0, image, 0);
            twin.SetItemText(row, column, widest[column].c_str());
        }
    });
}

void CListCtrl::FitColumnWidths(const std::vector<std::wstring>& widest, const std::vector<int>& images) {
    FitToTwin([&](CListCtrl& twin, int columns) {
        for (int column = 0; column < columns && column < static_cast<int>(widest.size()); ++column) {
            if (widest[column].empty()) continue;
            int image = column < static_cast<int>(images.size()) ? images[column] : 0;
            int row = twin.InsertItem(LVIF_TEXT | LVIF_IMAGE, twin.GetItemCount(), "", 0, 0, image, 0);
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = const_cast<wchar_t*>(widest[column].c_str());
            twin.SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        }
    });
}

template <typename Fill>
void CListCtrl::FitToTwin(Fill fill) {
    int columns = GetColumnCount();
    if (columns <= 0) return;
    CListCtrl twin;
    if (!CreateTwin(twin)) return;
    fill(twin, columns);
    // Every column but the last as the twin has it. The last one then fills the rest of this
    // control, whose room (scroll bar and all) the twin does not share.
    int last = columns - 1;
    for (int column = 0; column < last; ++column) {
        int width = twin.FittedWidth(column);
        twin.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
        SetColumnWidth(column, std::max(width, twin.GetColumnWidth(column)));
    }
    int width = twin.FittedWidth(last);
    SetColumnWidth(last, LVSCW_AUTOSIZE_USEHEADER);
    SetColumnWidth(last, std::max(width, GetColumnWidth(last)));
    ::DestroyWindow(twin.Detach());
}

// The row of each column's widest cell (-1 when there are no rows).
std::vector<int> CListCtrl::WidestRows(int columns) const {
    std::vector<int> rows(columns, -1), widths(columns, -1);
    TextMeasure measure(m_hWnd);
    char text[1024];
    for (int row = 0, count = GetItemCount(); row < count; ++row) {
        for (int column = 0; column < columns; ++column) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            int length = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                                      reinterpret_cast<LPARAM>(&item)));
            int width = measure.Width(text, length);
            if (width > widths[column]) {
                widths[column] = width;
                rows[column] = row;
            }
        }
    }
    return rows;
}

// A hidden list of the same size, looks, images and columns, without rows. It is a pop-up, so
// that its notifications reach no dialog.
BOOL CListCtrl::CreateTwin(CListCtrl& twin) const {
    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    // The twin holds its own rows, also for a list whose rows live in its owner.
    DWORD style = (GetStyle() & ~(WS_VISIBLE | WS_CHILD | LVS_OWNERDATA)) | WS_POPUP | LVS_SHAREIMAGELISTS;
    HWND hwnd = ::CreateWindowExA(GetExStyle(), WC_LISTVIEWA, "", style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd || !twin.Attach(hwnd)) return FALSE;
    twin.SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
    twin.SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    twin.SetExtendedStyle(GetExtendedStyle());
    for (int column = 0, count = GetColumnCount(); column < count; ++column) {
        LVCOLUMNA info = {};
        info.mask = LVCF_FMT;
        SendMessage(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        twin.InsertColumn(column, GetColumnHeading(column).c_str(), info.fmt, GetColumnWidth(column), column);
    }
    return TRUE;
}

// The wider of the column's widest cell and its heading.
int CListCtrl::FittedWidth(int column) {
    SetColumnWidth(column, LVSCW_AUTOSIZE);
    std::string heading = GetColumnHeading(column);
    int headingWidth = static_cast<int>(SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(heading.c_str())));
    return std::max(GetColumnWidth(column), headingWidth + HeadingPadding);
}
