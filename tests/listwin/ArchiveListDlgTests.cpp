#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include "core/SettingIO.h"
#include "framework/MessagePump.h"
#include "tests/listwin/ListTestHelpers.h"
#include "tests/listwin/ListWindowFixture.h"

using testsupport::MessageBoxWatcher;

namespace {

std::string Num(long long value) { return std::to_string(value); }

// Three files and a folder entry, each column ordering them differently.
std::vector<std::string> ThreeFiles() {
    int may2002 = listtest::LocalTimestamp(2002, 5, 1, 13, 5, 0);
    return {
        "-lh5-|1|4000|10000|" + Num(may2002) + "|docs\\\\|b.txt|",
        "stored|2|50|3000000000|" + Num(may2002 + 60) + "|bin\\\\|C.dat|",
        "-lh0-|3|10001|10000|" + Num(may2002 - 60) + "||a.TXT|",
        "-lhd-|4|0|0|0|empty\\\\||",
    };
}

}  // namespace

TEST_F(ListWindowTest, OneRowPerFileWithItsCells) {
    Open(WriteArchive(ThreeFiles(), "Pics.fix"));
    EXPECT_EQ(testsupport::WindowText(Window()), "Varnito - Pics.fix");
    ASSERT_EQ(Rows(), 3) << "the folder entry has no row";

    EXPECT_EQ(Cell(0, 0), "b.txt");
    EXPECT_EQ(Cell(0, 1), "10,000");
    EXPECT_EQ(Cell(0, 2), "4,000");
    EXPECT_EQ(Cell(0, 3), "40%");
    EXPECT_EQ(Cell(0, 4), "2002/05/01 13:05:00");
    EXPECT_EQ(Cell(0, 5), "-lh5-");
    EXPECT_EQ(Cell(0, 6), "docs\\");
    EXPECT_EQ(Cell(1, 1), "3,000,000,000");
    EXPECT_EQ(Cell(1, 3), "0%");
    EXPECT_EQ(Cell(2, 3), "100%");
    EXPECT_EQ(Cell(2, 6), "");

    // Every row's item data is its own record.
    for (int row = 0; row < Rows(); ++row) {
        ASSERT_NE(RowEntry(row), nullptr);
        EXPECT_EQ(testsupport::Narrow(RowEntry(row)->fileName), Cell(row, 0));
    }

    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    const char* headings[] = {"ファイル名", "サイズ", "圧縮", "比率", "日時", "タイプ", "相対パス"};
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 7);
    for (int column = 0; column < 7; ++column) {
        char text[64] = {};
        HDITEMA item = {};
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, headings[column]);
        bool right = column >= 1 && column <= 3;
        EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, right ? HDF_RIGHT : HDF_LEFT) << column;
        // Wide enough for the heading and every cell of the column.
        int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
        EXPECT_GT(width, SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(headings[column])))
            << column;
        for (int row = 0; row < Rows(); ++row)
            EXPECT_GT(width, SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(Cell(row, column).c_str())))
                << column;
    }
    EXPECT_NE(GetWindowLongPtrA(list, GWL_STYLE) & WS_VISIBLE, 0);
}

// A window over a plug-in of the wide extension, and an archive in a folder whose name code
// page 932 cannot spell.
class WideListWindowTest : public ListWindowTest {
protected:
    const char* Variant() const override { return "fixture_wide"; }
    std::wstring ArchiveOutsideCp932(const std::string& script) {
        std::wstring path = testsupport::MakeFolder(dir, L"한국어") + L"한국어.fix";
        EXPECT_TRUE(testsupport::WriteBytes(path, "#fixture\n" + script));
        archive = "unnamed.fix";  // no work folder of this name: probes remove their own
        return path;
    }
};

TEST_F(WideListWindowTest, NamesOfEveryScriptAreShownSortedAndTheCutOnesCounted) {
    std::string longName;
    for (int i = 0; i < 250; ++i) longName += u8"ㄱ";
    std::wstring path = ArchiveOutsideCp932(std::string(u8"entry path=Ελληνικά\\\\|name=emoji😀.txt|data=a\n") +
                                            u8"entry name=café.txt|data=b\n" + u8"entry name=한국어.txt|data=c\n" +
                                            "entry name=" + longName + "|data=x\n");
    MessageBoxWatcher boxes;
    Open(path);
    ASSERT_EQ(Rows(), 3);
    const std::wstring emoji = L"emoji\U0001F600.txt", cafe = L"café.txt", korean = L"한국어.txt", greek = L"Ελληνικά\\";
    EXPECT_EQ(WideCell(0, 0), emoji);
    EXPECT_EQ(WideCell(0, 6), greek);
    EXPECT_EQ(WideCell(1, 0), cafe);
    EXPECT_EQ(WideCell(2, 0), korean);
    wchar_t title[128] = {};
    GetWindowTextW(Window(), title, 128);
    const std::wstring expectedTitle = L"Varnito - 한국어.fix";
    EXPECT_EQ(std::wstring(title), expectedTitle);
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.Seen()[0].caption, "Varnito");
    EXPECT_EQ(boxes.Seen()[0].text, "名前が長すぎて取り出せないエントリが 1 個あります。");

    ClickColumn(0);  // by name, in the locale's order without regard to case
    EXPECT_EQ(WideCell(0, 0), cafe);
    EXPECT_EQ(WideCell(1, 0), emoji);
    EXPECT_EQ(WideCell(2, 0), korean);
}

TEST_F(ListWindowTest, EveryColumnSortsBothWaysWithItsOwnDirection) {
    Open(WriteArchive(ThreeFiles()));
    using Names = std::vector<std::string>;
    ClickColumn(0);
    EXPECT_EQ(Column(0), (Names{"a.TXT", "b.txt", "C.dat"})) << "letter case does not count";
    ClickColumn(0);
    EXPECT_EQ(Column(0), (Names{"C.dat", "b.txt", "a.TXT"}));

    ClickColumn(1);
    EXPECT_EQ(Column(0), (Names{"b.txt", "a.TXT", "C.dat"})) << "3,000,000,000 is the largest";
    ClickColumn(1);
    EXPECT_EQ(Column(0).front(), "C.dat");

    // A first click on another column sorts it ascending, whatever the last one did.
    ClickColumn(4);
    EXPECT_EQ(Column(0), (Names{"a.TXT", "b.txt", "C.dat"}));
    ClickColumn(4);
    EXPECT_EQ(Column(0), (Names{"C.dat", "b.txt", "a.TXT"}));

    ClickColumn(2);
    EXPECT_EQ(Column(0), (Names{"C.dat", "b.txt", "a.TXT"}));
    ClickColumn(2);
    EXPECT_EQ(Column(0), (Names{"a.TXT", "b.txt", "C.dat"}));

    ClickColumn(5);
    EXPECT_EQ(Column(5), (Names{"-lh0-", "-lh5-", "stored"}));
    ClickColumn(5);
    EXPECT_EQ(Column(5), (Names{"stored", "-lh5-", "-lh0-"}));

    ClickColumn(6);
    EXPECT_EQ(Column(6), (Names{"", "bin\\", "docs\\"}));
    ClickColumn(6);
    EXPECT_EQ(Column(6), (Names{"docs\\", "bin\\", ""}));

    // The size column remembered its direction: its third click is ascending again.
    ClickColumn(1);
    EXPECT_EQ(Column(0), (Names{"b.txt", "a.TXT", "C.dat"}));

    Names before = Column(0);
    ClickColumn(3);
    Names after = Column(0);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(before, after) << "the ratio column keeps every row";
}

namespace {
// Three hundred entries with ties in every column: names that differ in letter case, in
// hyphens and digits, in kana of both widths; sizes, dates, methods and folders that repeat.
std::vector<std::string> ManyTies() {
    const char* names[] = {"a", "B", "a-b", "ab", "A10", "a9", "ｶﾅ", "カナ", "かな", "z_", "Z", "_z", "b"};
    const char* methods[] = {"-lh5-", "LH5", "stored", "Stored", "-lh0-"};
    const char* paths[] = {"", "docs\\\\", "DOCS\\\\", "bin\\\\", "bin\\\\sub\\\\"};
    std::vector<std::string> lines;
    for (int i = 0; i < 300; ++i) {
        std::string name = names[i % 13] + (i % 3 ? std::to_string(i % 7) : std::string()) + ".txt";
        lines.push_back(std::string(methods[i % 5]) + "|" + Num(i + 1) + "|" + Num((i * 3) % 20) + "|" +
                        Num((i * 7) % 50) + "|" + Num(1000000000 + (i % 9) * 60) + "|" + paths[(i / 5) % 5] + "|" +
                        name + "|");
    }
    return lines;
}
}  // namespace

TEST_F(ListWindowTest, EachColumnSortsAsTheComparisonOrdersTheRecords) {
    Open(WriteArchive(ManyTies()));
    ASSERT_EQ(Rows(), 300);
    std::vector<const ListedEntry*> expected;
    for (int row = 0; row < Rows(); ++row) expected.push_back(RowEntry(row));
    for (int column = 0; column < 7; ++column) {
        for (int sign : {1, -1}) {
            ClickColumn(column);
            // Rows that compare equal keep the order the previous sort left them in.
            std::stable_sort(expected.begin(), expected.end(), [&](const ListedEntry* a, const ListedEntry* b) {
                return CArchiveListDlg::CompareEntries(a, b, column) * sign < 0;
            });
            int mismatches = 0;
            for (int row = 0; row < Rows(); ++row) mismatches += RowEntry(row) != expected[row];
            EXPECT_EQ(mismatches, 0) << "column " << column << ", sign " << sign;
        }
    }
}

TEST_F(ListWindowTest, CompareEntriesUsesFullUnsignedAndSignedValues) {
    ListedEntry small = {}, large = {};
    small.path = small.fileName = large.path = large.fileName = L"";
    small.unpackedSize = 5;
    large.unpackedSize = 3000000000u;
    small.timestamp = -100;
    large.timestamp = 100;
    EXPECT_LT(CArchiveListDlg::CompareEntries(&small, &large, 1), 0);
    EXPECT_GT(CArchiveListDlg::CompareEntries(&large, &small, 1), 0);
    EXPECT_LT(CArchiveListDlg::CompareEntries(&small, &large, 4), 0);
    EXPECT_EQ(CArchiveListDlg::CompareEntries(&small, &large, 3), 0);
    memcpy(small.method, "ABCDEFGH", 8);
    memcpy(large.method, "abcdefgh", 8);
    small.position = 1;  // right after the method: must not take part
    EXPECT_EQ(CArchiveListDlg::CompareEntries(&small, &large, 5), 0);
}

TEST_F(ListWindowTest, ButtonsAndStatusFollowTheSelection) {
    Open(WriteArchive(ThreeFiles()));
    EXPECT_EQ(Status(), "選択数   0個  /  総数   3個 ");
    EXPECT_TRUE(Enabled(IDC_ARCLIST_EXTRACT_ALL));
    EXPECT_FALSE(Enabled(IDC_ARCLIST_EXTRACT_SELECTED));
    EXPECT_FALSE(Enabled(IDC_ARCLIST_OPEN));

    Select(1);
    EXPECT_EQ(Status(), "選択数   1個  /  総数   3個 ");
    EXPECT_TRUE(Enabled(IDC_ARCLIST_EXTRACT_SELECTED));
    EXPECT_TRUE(Enabled(IDC_ARCLIST_OPEN));

    Select(2);
    EXPECT_EQ(Status(), "選択数   2個  /  総数   3個 ");
    EXPECT_TRUE(Enabled(IDC_ARCLIST_EXTRACT_SELECTED));
    EXPECT_FALSE(Enabled(IDC_ARCLIST_OPEN));

    Select(1, false);
    Select(2, false);
    EXPECT_FALSE(Enabled(IDC_ARCLIST_EXTRACT_SELECTED));
    for (int id : {IDC_ARCLIST_SELECT, IDC_ARCLIST_CLOSE, IDC_ARCLIST_ABOUT}) EXPECT_TRUE(Enabled(id));
}

TEST_F(ListWindowTest, AnArchiveOfFoldersOnlyHasNoRows) {
    Open(WriteArchive({"-lhd-|1|0|0|0|a\\\\||", "-lhd-|2|0|0|0|b\\\\||"}));
    EXPECT_EQ(Rows(), 0);
    EXPECT_FALSE(Enabled(IDC_ARCLIST_EXTRACT_ALL));
    EXPECT_EQ(Status(), "選択数   0個  /  総数   0個 ");
}

namespace {
// Counts the texts a control is sent (for 100,000 rows, one status text per row took seconds).
class TextsSent {
public:
    explicit TextsSent(HWND control) : control_(control) {
        counted_ = this;
        original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Count)));
    }
    ~TextsSent() {
        SetWindowLongPtrA(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        counted_ = nullptr;
    }
    int count = 0;

private:
    static LRESULT CALLBACK Count(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETTEXT) ++counted_->count;
        return CallWindowProcA(counted_->original_, window, message, wParam, lParam);
    }
    static TextsSent* counted_;
    HWND control_;
    WNDPROC original_;
};
TextsSent* TextsSent::counted_ = nullptr;
}  // namespace

TEST_F(ListWindowTest, ToggleSelectionSelectsAllOrNone) {
    Open(WriteArchive(ThreeFiles()));
    {
        TextsSent statusTexts(Control(IDC_ARCLIST_STATUS));
        ClickButton(IDC_ARCLIST_SELECT);
        EXPECT_EQ(statusTexts.count, 1) << "the status follows a bulk selection once, not row by row";
    }
    EXPECT_EQ(SelectedCount(), 3);
    EXPECT_EQ(Status(), "選択数   3個  /  総数   3個 ");
    EXPECT_TRUE(Enabled(IDC_ARCLIST_EXTRACT_SELECTED));
    ClickButton(IDC_ARCLIST_SELECT);
    EXPECT_EQ(SelectedCount(), 0);
    EXPECT_EQ(Status(), "選択数   0個  /  総数   3個 ");
    EXPECT_FALSE(Enabled(IDC_ARCLIST_EXTRACT_SELECTED));
    Select(0);
    ClickButton(IDC_ARCLIST_SELECT);
    EXPECT_EQ(SelectedCount(), 0) << "with some selected, the selection is cleared";
}

TEST_F(ListWindowTest, RowByRowSelectionMakesTheStatusOnceWhenShown) {
    Open(WriteArchive(ThreeFiles()));
    UpdateWindow(Window());
    {
        TextsSent statusTexts(Control(IDC_ARCLIST_STATUS));
        for (int row = 0; row < Rows(); ++row) Select(row);
        EXPECT_TRUE(Enabled(IDC_ARCLIST_EXTRACT_SELECTED)) << "the buttons follow at once";
        EXPECT_FALSE(Enabled(IDC_ARCLIST_OPEN));
        PumpPendingMessages();
        EXPECT_EQ(statusTexts.count, 1) << "one status text for the whole selection, not one per row";
    }
    EXPECT_EQ(Status(), "選択数   3個  /  総数   3個 ");
    Select(0, false);
    EXPECT_EQ(Status(), "選択数   2個  /  総数   3個 ") << "read before it was shown, it is up to date";
}

TEST_F(ListWindowTest, CtrlASelectsAllOnlyInTheList) {
    Open(WriteArchive(ThreeFiles()));
    BYTE keys[256] = {}, saved[256];
    GetKeyboardState(saved);
    keys[VK_CONTROL] = 0x80;
    keys['A'] = 0x80;
    SetKeyboardState(keys);

    PostMessageA(Control(IDC_ARCLIST_STATUS), WM_KEYDOWN, 'A', 0);
    PumpPendingMessages();
    EXPECT_EQ(SelectedCount(), 0) << "Ctrl+A elsewhere does nothing special";

    PostMessageA(list, WM_KEYDOWN, 'A', 0);
    PumpPendingMessages();
    SetKeyboardState(saved);
    EXPECT_EQ(SelectedCount(), 3);
    EXPECT_EQ(Status(), "選択数   3個  /  総数   3個 ");
}

TEST_F(ListWindowTest, PlacementIsStoredAndAMinimizedOneReopensNormal) {
    CSettingIO().WriteString("", "ListWindowData", "0:2:-1:-1:-1:-1:100:80:700:500");
    Open(WriteArchive(ThreeFiles()));
    EXPECT_FALSE(IsIconic(Window()));
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    ASSERT_TRUE(GetWindowPlacement(Window(), &placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
    EXPECT_EQ(placement.rcNormalPosition.left, 100);
    EXPECT_EQ(placement.rcNormalPosition.top, 80);
    EXPECT_EQ(placement.rcNormalPosition.right, 700);
    EXPECT_EQ(placement.rcNormalPosition.bottom, 500);

    SetWindowPos(Window(), nullptr, 50, 60, 640, 400, SWP_NOZORDER);
    ClickButton(IDC_ARCLIST_CLOSE);
    EXPECT_FALSE(IsWindowVisible(Window()));
    IntList10 stored;
    ASSERT_EQ(CSettingIO().ReadIntList("ListWindowData", &stored), 1);
    EXPECT_EQ(stored.showCmd, 1);
    EXPECT_EQ(stored.left, 50);
    EXPECT_EQ(stored.top, 60);
    EXPECT_EQ(stored.right, 690);
    EXPECT_EQ(stored.bottom, 460);
}

TEST_F(ListWindowTest, AHiddenPlacementOpensNormalAndGarbageIsIgnored) {
    CSettingIO().WriteString("", "ListWindowData", "0:0:-1:-1:-1:-1:100:80:700:500");
    Open(WriteArchive(ThreeFiles()));
    EXPECT_TRUE(IsWindowVisible(Window()));
    TearDown();

    CSettingIO().WriteString("", "ListWindowData", "1:2:3");
    Open(WriteArchive(ThreeFiles()));
    RECT outer;
    GetWindowRect(Window(), &outer);
    RECT template192 = {0, 0, 263, 197};
    MapDialogRect(Window(), &template192);
    EXPECT_GT(outer.right - outer.left, template192.right) << "the template's size, frame included";
    EXPECT_LT(outer.right - outer.left, template192.right + 40);
}

TEST_F(ListWindowTest, ResizingKeepsControlsOnTheirEdgesAndStopsAtTheMinimum) {
    Open(WriteArchive(ThreeFiles()));
    auto rectOf = [](HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        return r;
    };
    RECT window0 = rectOf(Window()), list0 = rectOf(list), close0 = rectOf(Control(IDC_ARCLIST_CLOSE)),
         status0 = rectOf(Control(IDC_ARCLIST_STATUS)), select0 = rectOf(Control(IDC_ARCLIST_SELECT));
    SetWindowPos(Window(), nullptr, 0, 0, window0.right - window0.left + 100, window0.bottom - window0.top + 50,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT window1 = rectOf(Window()), list1 = rectOf(list), close1 = rectOf(Control(IDC_ARCLIST_CLOSE)),
         status1 = rectOf(Control(IDC_ARCLIST_STATUS)), select1 = rectOf(Control(IDC_ARCLIST_SELECT));
    EXPECT_EQ(list1.right - list1.left, list0.right - list0.left + 100);
    EXPECT_EQ(list1.bottom - list1.top, list0.bottom - list0.top + 50);
    EXPECT_EQ(close1.left - window1.left, close0.left - window0.left + 100);
    EXPECT_EQ(close1.top - window1.top, close0.top - window0.top);
    EXPECT_EQ(status1.left - window1.left, status0.left - window0.left + 100);
    EXPECT_EQ(status1.top - window1.top, status0.top - window0.top + 50);
    EXPECT_EQ(select1.left - window1.left, select0.left - window0.left) << "not anchored";

    MINMAXINFO limits = {};
    SendMessageA(Window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 300);
    EXPECT_EQ(limits.ptMinTrackSize.y, 120);
}

TEST_F(ListWindowTest, ButtonsShowTheirTips) {
    Open(WriteArchive(ThreeFiles()));
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr)
        if (GetWindow(tip, GW_OWNER) == Window() && SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) == 6) break;
    ASSERT_NE(tip, nullptr);
    char text[256] = {};
    TTTOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = Window();
    info.uId = reinterpret_cast<UINT_PTR>(Control(IDC_ARCLIST_SELECT));
    info.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, "全選択/選択解除を行います。");
    EXPECT_EQ(SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 350);
    EXPECT_EQ(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 200);
}

// The window ends at once, shows the message, and writes nothing.
class FailedOpeningTest : public ListWindowTest {
protected:
    std::vector<testsupport::SeenBox> RunModal(const std::string& path) {
        MessageBoxWatcher boxes;
        CArchiveListDlg modal;
        modal.SetArchive(testsupport::Wide(path), &host);
        EXPECT_EQ(modal.DoModal(), IDCANCEL);
        return boxes.Seen();
    }
    void ExpectNothingWritten() {
        EXPECT_EQ(CSettingIO().ReadString("", "ListWindowData", "unset", nullptr), "unset");
        EXPECT_FALSE(testsupport::FileExists(WorkFolder()));
    }
};

TEST_F(FailedOpeningTest, EmptyFile) {
    archive = dir / "empty.fix";
    testsupport::WriteBytes(archive, "");
    auto seen = RunModal(archive);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Varnito");
    EXPECT_EQ(seen[0].text, "ファイルの内容がありません。");
    ExpectNothingWritten();
}

TEST_F(FailedOpeningTest, MissingFile) {
    archive = dir / "missing.fix";
    auto seen = RunModal(archive);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Varnito");
    EXPECT_EQ(seen[0].text, "ファイルが見つかりません。");
    ExpectNothingWritten();
}

TEST_F(FailedOpeningTest, NoPluginTakesIt) {
    archive = dir / "other.fix";
    testsupport::WriteBytes(archive, "not a script");
    auto seen = RunModal(archive);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "画像展開エラー");
    EXPECT_EQ(seen[0].text, "対応するSusie32 Plug-inがありません。");
    ExpectNothingWritten();
}

TEST_F(FailedOpeningTest, ACancelWhileListingClosesTheWindowWithoutAMessage) {
    archive = dir / "stopped.fix";
    testsupport::WriteBytes(archive, "#fixture\nlist fail\nentry -lh5-|1|1|1|0||x.txt|x|\n");
    EXPECT_TRUE(RunModal(archive).empty());
    ExpectNothingWritten();
}

TEST_F(FailedOpeningTest, APathTooLongIsNotCut) {
    archive = dir / "long.fix";
    testsupport::WriteBytes(archive, "#fixture\nentry -lh5-|1|1|1|0||x.txt|x|\n");
    std::string longPath = dir.path() + std::string(300 - dir.path().size(), 'a');
    auto seen = RunModal(longPath);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "ファイルが見つかりません。");
}
