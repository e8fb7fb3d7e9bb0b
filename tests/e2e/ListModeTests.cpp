// List mode and relaunch: archive list windows of real processes, read and driven from here.
#include <cstdio>
#include <ctime>
#include <set>
#include "tests/e2e/E2eTest.h"
#include "tests/support/RecordedStarts.h"
#include "tests/support/ShellFileType.h"

namespace e2e {
namespace {

constexpr char DestinationCaption[] = "解凍先設定";
constexpr int ExtractAllButton = 1012, ViewButton = 1014, CloseButton = 1016;
constexpr int ListControl = 1134, StatusControl = 1026;
constexpr int DestinationEdit = 1013, KeepPathsCheck = 1014;
constexpr int Columns = 7;

std::string Caption(const std::string& archiveName) { return "Varnito - " + archiveName; }

std::string Status(int selected, int total) {
    char text[64];
    snprintf(text, sizeof text, "選択数 %3d個  /  総数 %3d個 ", selected, total);
    return text;
}

std::string Grouped(int64_t value) {
    std::string digits = std::to_string(value), grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string LocalTimeText(int64_t seconds) {
    time_t t = static_cast<time_t>(seconds);
    struct tm local = *localtime(&t);
    char text[32];
    snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
             local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

// The name, size, date and folder cells the rows of an archive should show, from unzip's copy.
std::set<std::vector<std::string>> ExpectedCells(const std::string& archiveName) {
    std::set<std::vector<std::string>> rows;
    for (const auto& [path, state] : FilesOnly(UnzippedTree(archiveName))) {
        size_t slash = path.rfind('\\');
        std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
        std::string name = path.substr(folder.size());
        rows.insert({name, Grouped(state.size), LocalTimeText(state.modified), folder});
    }
    return rows;
}

std::set<std::vector<std::string>> ShownCells(HWND list) {
    std::set<std::vector<std::string>> rows;
    for (const auto& row : Rows(list, Columns)) rows.insert({row[0], row[1], row[4], row[6]});
    return rows;
}

int RowNamed(HWND list, const std::string& fileName) {
    for (int row = 0, count = RowCount(list); row < count; ++row)
        if (CellText(list, row, 0) == fileName) return row;
    return -1;
}

class ListMode : public E2eTest {
protected:
    // Starts list mode on a fixture archive and waits for its filled window.
    HWND OpenList(VarnitoProcess& varnito, const std::string& archiveName) {
        PrepareProfile(0);
        std::string archive = ArchivesInWork({archiveName});
        if (!varnito.Start(archive)) return nullptr;
        HWND window = varnito.WaitForWindow(Caption(archiveName));
        if (window) WaitUntil([&] { return RowCount(GetDlgItem(window, ListControl)) > 0 ? window : nullptr; });
        return window;
    }
};

TEST_F(ListMode, RowsStatusSelectAllAndExtractAllMatchUnzip) {
    VarnitoProcess varnito;
    HWND window = OpenList(varnito, "listed.zip");
    ASSERT_TRUE(window);
    HWND list = GetDlgItem(window, ListControl);
    EXPECT_EQ(ShownCells(list), ExpectedCells("listed.zip"));
    EXPECT_EQ(ControlText(window, StatusControl), Status(0, 4));

    ASSERT_TRUE(TypeKeys(window, list, {VK_CONTROL, 'A'}));
    EXPECT_TRUE(WaitUntil([&] { return SelectedCount(list) == 4 ? list : nullptr; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return ControlText(window, StatusControl) == Status(4, 4) ? list : nullptr; }, 5000))
        << ControlText(window, StatusControl);

    PressButton(window, ExtractAllButton);
    HWND destination = varnito.WaitForWindow(DestinationCaption);
    ASSERT_TRUE(destination);
    EXPECT_EQ(ControlText(destination, DestinationEdit), work / "in\\");
    EXPECT_TRUE(IsChecked(destination, KeepPathsCheck));
    std::string out = work / "chosen\\folder";
    ASSERT_TRUE(SetControlText(destination, DestinationEdit, out));
    PressButton(destination, IDOK);

    // Done when every file is there, the window takes input again and no dialog of the run is
    // left (the destination dialog is gone a moment before the progress dialog comes).
    ASSERT_TRUE(WaitUntil([&] {
        bool done = TreeDifferences(FilesOnly(UnzippedTree("listed.zip")), FilesOnly(ReadTree(out))) == "";
        return done && IsWindowEnabled(window) && varnito.Windows().size() == 1 ? window : nullptr;
    }, 60000)) << "the extraction did not finish: "
               << TreeDifferences(FilesOnly(UnzippedTree("listed.zip")), FilesOnly(ReadTree(out)));
    EXPECT_EQ(ReadProfileNumber("RelativePathFlag"), 1);

    PressButton(window, CloseButton);
    EXPECT_TRUE(varnito.WaitForExit());
    EXPECT_NE(ReadProfileText("ListWindowData"), testsupport::MissingText);
}

#if defined(_WIN64)
// An entry of 4 GiB and 100 bytes, in a sparse ZIP64 archive made at build time.
TEST_F(ListMode, AnEntryOfMoreThan4GBListsWithItsTrueSize) {
    PrepareProfile(0);
    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(testsupport::ExeFolder() + "large_fixture\\over4g.zip"));
    HWND window = varnito.WaitForWindow(Caption("over4g.zip"));
    ASSERT_TRUE(window);
    HWND list = GetDlgItem(window, ListControl);
    ASSERT_TRUE(WaitUntil([&] { return RowCount(list) == 2 ? list : nullptr; }));
    int big = RowNamed(list, "big.bin"), small = RowNamed(list, "small.txt");
    ASSERT_GE(big, 0);
    ASSERT_GE(small, 0);
    EXPECT_EQ(CellText(list, big, 1), "4,294,967,396");
    EXPECT_EQ(CellText(list, big, 2), "4,294,967,396");
    EXPECT_EQ(CellText(list, big, 3), "100%");
    EXPECT_EQ(CellText(list, big, 5), "Stored");
    EXPECT_EQ(CellText(list, small, 1), "15");
    PressButton(window, CloseButton);
    EXPECT_TRUE(varnito.WaitForExit());
}
#endif

TEST_F(ListMode, ViewingAnEntryOpensItsWorkCopyWithTheRegisteredProgram) {
    testsupport::RecordingProgram viewer;
    testsupport::ShellFileType type("e2eview", nullptr, "\"" + viewer.Path() + "\" \"%1\"");

    VarnitoProcess varnito;
    HWND window = OpenList(varnito, "listed.zip");
    ASSERT_TRUE(window);
    HWND list = GetDlgItem(window, ListControl);
    int row = RowNamed(list, "note.e2eview");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(SelectOnlyRow(list, row));
    PressButton(window, ViewButton);

    std::vector<std::string> starts = viewer.Starts();
    for (HWND shown : varnito.Windows())
        EXPECT_FALSE(IsMessageBox(shown)) << Text(shown) << ": " << ControlText(shown, 0xFFFF);
    ASSERT_EQ(starts.size(), 1u) << "the registered program was not started once";
    std::string started = starts[0];

    // The program received the work copy's path, which holds the entry's bytes.
    std::string workFile = started;
    if (workFile.size() >= 2 && workFile.front() == '"') workFile = workFile.substr(1, workFile.size() - 2);
    EXPECT_NE(workFile.find("Varnito_listed\\note.e2eview"), std::string::npos) << started;
    EXPECT_EQ(testsupport::ReadBytes(workFile), "opened through its association\n");

    PressButton(window, CloseButton);
    EXPECT_TRUE(varnito.WaitForExit());
    EXPECT_FALSE(testsupport::FileExists(workFile)) << "work copy left after closing";
}

TEST_F(ListMode, TwoArchivesOnOneCommandLineOpenTwoListProcesses) {
    PrepareProfile(0);
    std::string archives = ArchivesInWork({"listed.zip", "third.zip"});
    VarnitoProcess launcher;
    ASSERT_TRUE(launcher.Start(archives));
    EXPECT_TRUE(launcher.WaitForExit()) << "the first process did not end";
    EXPECT_TRUE(launcher.Windows().empty());

    HWND listed = WaitForWindowOfAnyProcess(Caption("listed.zip"));
    HWND third = WaitForWindowOfAnyProcess(Caption("third.zip"));
    ASSERT_TRUE(listed);
    ASSERT_TRUE(third);
    EXPECT_NE(ProcessOf(listed), ProcessOf(third));
    EXPECT_NE(ProcessOf(listed), launcher.Id());
    EXPECT_NE(ProcessOf(third), launcher.Id());
    for (auto [window, name] : {std::pair<HWND, const char*>{listed, "listed.zip"}, {third, "third.zip"}}) {
        HWND list = GetDlgItem(window, ListControl);
        WaitUntil([&] { return RowCount(list) > 0 ? list : nullptr; });
        EXPECT_EQ(ShownCells(list), ExpectedCells(name)) << name;
        PressButton(window, CloseButton);
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(listed) && !IsWindow(third) ? GetDesktopWindow() : nullptr; }))
        << "a list window did not close";
}

}  // namespace
}  // namespace e2e
