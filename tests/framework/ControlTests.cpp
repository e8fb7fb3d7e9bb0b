// The control wrappers over the real common controls, the drawing objects, the wait
// cursor and the program's message box.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include "framework/DC.h"
#include "framework/Dialog.h"
#include "framework/FileDialog.h"
#include "framework/GdiObjects.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "framework/MessageBox.h"
#include "framework/ProgressCtrl.h"
#include "framework/ToolTipCtrl.h"
#include "framework/WaitCursor.h"
#include "res/resource.h"
#include "tests/support/TestSupport.h"

using testing::ElementsAre;

namespace {

// The archive list template, open without a modal loop, with its list taken over.
class ListFixture : public testing::Test {
protected:
    // The list window's template holds an owner-data list (its rows live in the window); these
    // tests use a list that holds its own rows, made in the template list's place and looks.
    void SetUp() override {
        ASSERT_TRUE(dialog.Create(IDD_ARCHIVE_LIST_DIALOG));
        HWND templateList = GetDlgItem(dialog.m_hWnd, IDC_ARCLIST_ENTRIES);
        RECT place;
        GetWindowRect(templateList, &place);
        MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&place), 2);
        DWORD style = static_cast<DWORD>(GetWindowLongPtrA(templateList, GWL_STYLE)) & ~LVS_OWNERDATA;
        DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(templateList, GWL_EXSTYLE));
        DestroyWindow(templateList);
        HWND own = CreateWindowExA(exStyle, WC_LISTVIEWA, "", style, place.left, place.top, place.right - place.left,
                                   place.bottom - place.top, dialog.m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ARCLIST_ENTRIES)),
                                   GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(own, nullptr);
        SendMessageA(own, WM_SETFONT, SendMessageA(dialog.m_hWnd, WM_GETFONT, 0, 0), FALSE);
        ASSERT_TRUE(list.SubclassDlgItem(IDC_ARCLIST_ENTRIES, &dialog));
    }
    void TearDown() override { dialog.DestroyWindow(); }

    std::vector<std::string> Column(int subItem) {
        std::vector<std::string> texts;
        for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back(list.GetItemText(i, subItem));
        return texts;
    }

    CDialog dialog{IDD_ARCHIVE_LIST_DIALOG};
    CListCtrl list;
};

int CALLBACK CompareNumbers(LPARAM a, LPARAM b, LPARAM direction) {
    int left = *reinterpret_cast<const int*>(a), right = *reinterpret_cast<const int*>(b);
    return (left < right ? -1 : left > right ? 1 : 0) * static_cast<int>(direction);
}

}  // namespace

// Headings wider than every cell, and a cell wider than its heading: each column ends up
// wide enough for both, with room around the heading's text.
TEST_F(ListFixture, FittedColumnsShowWholeHeadingsAndCells) {
    list.InsertColumn(0, "ファイル名", LVCFMT_LEFT, 5);
    list.InsertColumn(1, "サイズ", LVCFMT_RIGHT, 5);
    list.InsertColumn(2, "圧縮率", LVCFMT_RIGHT, 500);
    int row = list.InsertItem(0, "a-much-longer-file-name-than-the-heading.txt");
    list.SetItemText(row, 1, "1");
    list.SetItemText(row, 2, "9%");

    list.FitColumnWidths();

    auto textWidth = [&](const std::string& text) {
        return static_cast<int>(list.SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
    };
    EXPECT_GE(list.GetColumnWidth(0), textWidth(list.GetItemText(0, 0)));
    for (int column = 1; column < 3; ++column) {
        int heading = textWidth(list.GetColumnHeading(column));
        EXPECT_GE(list.GetColumnWidth(column), heading + 12) << column;
    }
    // Fitted, not left as wide as it was (the last column fills the rest of the control).
    EXPECT_LT(list.GetColumnWidth(1), textWidth("サイズ") + 60);
}

TEST_F(ListFixture, FittingFindsTheWidestCellAmongManyRows) {
    list.InsertColumn(0, "ファイル名", LVCFMT_LEFT, 5);
    list.InsertColumn(1, "サイズ", LVCFMT_RIGHT, 5);
    list.InsertColumn(2, "相対パス", LVCFMT_LEFT, 5);
    for (int i = 0; i < 400; ++i) {
        int row = list.InsertItem(i, "name.txt");
        list.SetItemText(row, 1, i == 250 ? "4,000,000,000" : "1");
    }
    list.FitColumnWidths();

    int wide = static_cast<int>(list.SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>("4,000,000,000")));
    EXPECT_GE(list.GetColumnWidth(1), wide + 6);
    EXPECT_LT(list.GetColumnWidth(1), wide + 40);
    EXPECT_EQ(list.GetItemCount(), 400) << "rows are left as they were";
    EXPECT_EQ(list.GetItemText(250, 1), "4,000,000,000");
    // The last column fills the rest of the list.
    RECT client;
    GetClientRect(list.m_hWnd, &client);
    EXPECT_GE(list.GetColumnWidth(0) + list.GetColumnWidth(1) + list.GetColumnWidth(2), client.right - 1);
}

TEST_F(ListFixture, ColumnsRowsCellsAndItemData) {
    EXPECT_EQ(list.InsertColumn(0, "ファイル名", LVCFMT_LEFT, 20), 0);
    EXPECT_EQ(list.InsertColumn(1, "サイズ", LVCFMT_RIGHT, 20), 1);
    EXPECT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(list.GetColumnHeading(0), "ファイル名");

    int values[] = {30, 10, 20};
    for (int i = 0; i < 3; ++i) {
        int row = list.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, list.GetItemCount(), "表ソ.txt", 0, 0, i,
                                  reinterpret_cast<LPARAM>(&values[i]));
        EXPECT_EQ(row, i);
        list.SetItemText(row, 1, std::to_string(values[i]).c_str());
    }
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(0, 0), "表ソ.txt");
    EXPECT_EQ(list.GetItemData(2), reinterpret_cast<DWORD_PTR>(&values[2]));
    EXPECT_EQ(list.GetItemImage(1), 1);

    list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
    EXPECT_GT(list.GetColumnWidth(0), 20);

    std::string longText(3000, 'w');
    list.SetItemText(0, 1, longText.c_str());
    EXPECT_EQ(list.GetItemText(0, 1).size(), longText.size());
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ListFixture, SortingComparesItemDataBothWays) {
    list.InsertColumn(0, "n");
    int values[] = {3000, 7, 500, 42};
    for (int& v : values) {
        int row = list.InsertItem(LVIF_TEXT | LVIF_PARAM, list.GetItemCount(), std::to_string(v).c_str(), 0, 0, 0,
                                  reinterpret_cast<LPARAM>(&v));
        ASSERT_GE(row, 0);
    }
    EXPECT_TRUE(list.SortItems(CompareNumbers, 1));
    EXPECT_THAT(Column(0), ElementsAre("7", "42", "500", "3000"));
    EXPECT_TRUE(list.SortItems(CompareNumbers, static_cast<DWORD_PTR>(-1)));
    EXPECT_THAT(Column(0), ElementsAre("3000", "500", "42", "7"));
}

TEST_F(ListFixture, SelectionCountsAndWalks) {
    list.InsertColumn(0, "n");
    for (int i = 0; i < 5; ++i) list.InsertItem(i, std::to_string(i).c_str());
    EXPECT_EQ(list.GetSelectedCount(), 0u);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 2u);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(list.GetNextItem(1, LVNI_SELECTED), 3);
    EXPECT_EQ(list.GetItemState(3, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
    list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 5u);
    list.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedCount(), 0u);
}

TEST_F(ListFixture, ExtendedStylesBackgroundAndAnImageListThatOutlivesTheControl) {
    DWORD before = list.GetExtendedStyle();
    list.SetExtendedStyle(before | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    EXPECT_EQ(list.GetExtendedStyle() & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES),
              static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
    list.SetBkColor(RGB(255, 255, 255));
    EXPECT_EQ(list.GetBkColor(), RGB(255, 255, 255));

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24, 10, 10));
    images.SetBkColor(RGB(255, 255, 255));
    HICON page = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BLANK_PAGE));
    EXPECT_EQ(images.Add(page), 0);
    EXPECT_EQ(images.GetImageCount(), 1);
    list.SetImageList(&images, LVSIL_SMALL);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL)), images.m_hImageList);
    dialog.DestroyWindow();
    // The control did not take the list with it.
    EXPECT_EQ(ImageList_GetImageCount(images.m_hImageList), 1);
    EXPECT_TRUE(images.DeleteImageList());
}

TEST(ToolTip, ToolsWithTextsOverTheButtons) {
    CDialog dialog(IDD_ARCHIVE_LIST_DIALOG);
    ASSERT_TRUE(dialog.Create(IDD_ARCHIVE_LIST_DIALOG));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&dialog));
    tip.Activate(TRUE);
    tip.SetDelayTime(TTDT_AUTOMATIC, 350);
    tip.SetMaxTipWidth(200);
    EXPECT_EQ(tip.SetMaxTipWidth(200), 200);
    EXPECT_EQ(tip.SendMessage(TTM_GETDELAYTIME, TTDT_INITIAL), 350);
    EXPECT_TRUE(tip.AddTool(dialog.GetDlgItem(IDC_ARCLIST_EXTRACT_ALL), "全てのファイルを解凍します。"));
    EXPECT_TRUE(tip.AddTool(dialog.GetDlgItem(IDC_ARCLIST_CLOSE), "終了します。"));
    EXPECT_EQ(tip.GetToolCount(), 2);
    EXPECT_EQ(tip.GetToolText(dialog.GetDlgItem(IDC_ARCLIST_CLOSE)), "終了します。");

    MSG move = {dialog.GetDlgItem(IDC_ARCLIST_CLOSE)->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3), GetTickCount(), {}};
    tip.RelayEvent(&move);  // must be accepted without effect on the tool list
    EXPECT_EQ(tip.GetToolCount(), 2);
    // The owner takes its tooltip with it; the object lets go of the window.
    dialog.DestroyWindow();
    EXPECT_EQ(tip.m_hWnd, nullptr);
}

TEST(Progress, RangesBeyondSixteenBits) {
    CDialog dialog(IDD_LIST_PROGRESS_DIALOG);
    ASSERT_TRUE(dialog.Create(IDD_LIST_PROGRESS_DIALOG));
    CProgressCtrl bar;
    ASSERT_TRUE(bar.SubclassDlgItem(IDC_PROGRESS_BAR, &dialog));
    bar.SetRange32(0, 200000);
    int lower = -1, upper = -1;
    bar.GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 200000);
    bar.SetPos(150000);
    EXPECT_EQ(bar.GetPos(), 150000);
    dialog.DestroyWindow();
}

TEST(FileDialogFilter, BarsSeparateThePairsButNotInsideDoubleByteCharacters) {
    std::vector<char> filter = CFileDialog::SystemFilter("実行ファイル (*.exe)|*.exe||");
    const char expectedBytes[] = "実行ファイル (*.exe)\0*.exe\0\0\0\0";
    std::string expected(expectedBytes, sizeof expectedBytes - 1);
    EXPECT_EQ(std::string(filter.begin(), filter.end()), expected);
    // ポ is 0x83 0x7C: its second byte is a bar.
    std::vector<char> tricky = CFileDialog::SystemFilter("ポ|*.x|");
    EXPECT_EQ(std::string(tricky.begin(), tricky.end()), std::string("ポ\0*.x\0\0\0", 9));
    EXPECT_TRUE(CFileDialog::SystemFilter(nullptr).empty());
}

TEST(Drawing, OwnAndBorrowedContextsBitmapsBrushesAndPens) {
    CDC screen;
    screen.Attach(GetDC(nullptr));
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    EXPECT_FALSE(memory.IsPrinting());
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 20, 10));
    ReleaseDC(nullptr, screen.Detach());
    EXPECT_EQ(bitmap.GetBitmapInfo().bmWidth, 20);
    HGDIOBJ previous = memory.SelectObject(&bitmap);
    EXPECT_NE(previous, nullptr);

    CBrush white(RGB(255, 255, 255));
    RECT all = {0, 0, 20, 10};
    memory.FillRect(&all, &white);
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    memory.SelectObject(&black);
    memory.MoveTo(0, 5);
    memory.LineTo(20, 5);
    EXPECT_EQ(GetPixel(memory, 3, 5), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(memory, 3, 2), RGB(255, 255, 255));
    RECT box = {};
    memory.GetClipBox(&box);
    EXPECT_EQ(box.right, 20);

    // A moved window origin lets drawing use the coordinates of another surface.
    memory.SetWindowOrg(100, 100);
    RECT shifted = {100, 100, 102, 102};
    memory.FillSolidRect(&shifted, RGB(255, 0, 0));
    memory.SetWindowOrg(0, 0);
    EXPECT_EQ(GetPixel(memory, 1, 1), RGB(255, 0, 0));

    // A borrowed context survives the wrapper.
    HDC raw = CreateCompatibleDC(nullptr);
    {
        CDC borrowed;
        borrowed.Attach(raw);
        borrowed.SetTextColor(RGB(1, 2, 3));
    }
    EXPECT_EQ(GetTextColor(raw), RGB(1, 2, 3));
    DeleteDC(raw);
    memory.SelectObject(previous);
}

TEST(WaitCursor, ShowsTheHourglassUntilTheLastOneEnds) {
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    CDialog dialog(IDD_ABOUT_DIALOG);
    ASSERT_TRUE(dialog.Create(IDD_ABOUT_DIALOG));
    EXPECT_FALSE(CWaitCursor::IsShown());
    {
        CWaitCursor outer;
        {
            CWaitCursor inner;
        }
        EXPECT_TRUE(CWaitCursor::IsShown());
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        // A pointer move over the dialog asks for the cursor; the hourglass stays.
        EXPECT_TRUE(dialog.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), wait);
    }
    EXPECT_FALSE(CWaitCursor::IsShown());
    EXPECT_NE(GetCursor(), wait);
    dialog.DestroyWindow();
}

TEST(AppMessageBox, CaptionVarnitoAndTheGivenText) {
    testsupport::MessageBoxWatcher boxes;
    CDialog owner(IDD_ABOUT_DIALOG);
    ASSERT_TRUE(owner.Create(IDD_ABOUT_DIALOG));
    EXPECT_EQ(AppMessageBox(&owner, "ファイルが見つかりません。"), IDOK);
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.Seen()[0].caption, "Varnito");
    EXPECT_EQ(boxes.Seen()[0].text, "ファイルが見つかりません。");
    owner.DestroyWindow();
}
