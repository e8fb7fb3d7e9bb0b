#include <gtest/gtest.h>
#include "core/SettingIO.h"
#include "extract/ExtractEntries.h"
#include "extractwin/DestinationDlg.h"
#include "extractwin/ExtractProgressDlg.h"
#include "extractwin/ListProgressDlg.h"
#include "extractwin/OverwriteDlg.h"
#include "extractwin/SelectionExtraction.h"
#include "framework/WinApp.h"
#include "tests/extract/ExtractTestSupport.h"
#include "tests/extract/WindowWatcher.h"
#include "tests/support/TestProfile.h"
#include "tests/support/TestSupport.h"

using namespace extracttest;
using testsupport::ReadBytes;
using Files = std::vector<std::string>;

namespace {
constexpr COLORREF Yellow = RGB(255, 255, 0), Blue = RGB(0, 0, 255), White = RGB(255, 255, 255),
                   Red = RGB(255, 0, 0);

bool IsDialogTitled(HWND window, const char* title) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    return strcmp(cls, "#32770") == 0 && testsupport::WindowText(window) == title;
}

OverwriteQuestion SampleQuestion(OverwriteMode preselected) {
    OverwriteQuestion q;
    q.folderText = L"C:\\out\\doc/";
    q.fileLine = L" a.txt";
    q.diskSizeText = "1,000";
    q.diskTimeText = "2001/02/03 04:05:06";
    q.archiveSizeText = "2,000";
    q.archiveTimeText = "2011/12/13 14:15:16";
    q.preselected = preselected;
    return q;
}

// Asks the overwrite question; `act` runs on the dialog right after its initialisation.
bool AskWith(OverwriteMode preselected, const std::function<void(HWND)>& act, OverwriteMode* chosen) {
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message == WM_INITDIALOG && IsDialogTitled(window, "上書確認")) act(window);
    });
    COverwriteAsker asker;
    return asker.Ask(SampleQuestion(preselected), chosen);
}

// The window of this thread that has a progress bar 1024 (a progress dialog), or null.
BOOL CALLBACK NoteProgressBar(HWND window, LPARAM found) {
    char cls[32] = {};
    GetClassNameA(GetDlgItem(window, 1024), cls, sizeof cls);
    if (strcmp(cls, PROGRESS_CLASSA) == 0) *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

HWND ProgressDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), NoteProgressBar, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool ProgressDialogExists() { return ProgressDialog() != nullptr; }

// A plain top-level window standing in for the archive list window.
class StandInWindow {
public:
    StandInWindow() {
        hwnd = CreateWindowExA(0, "STATIC", "list", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        window.Attach(hwnd);
    }
    ~StandInWindow() {
        window.Detach();
        DestroyWindow(hwnd);
    }
    HWND hwnd;
    CWnd window;
};
}  // namespace

TEST(OverwriteDialog, ShowsTheQuestionAndResumesWithTheChoiceOnEnter) {
    std::string folder, fileLine, diskSize, diskTime, archiveSize, archiveTime;
    bool preselectedChecked = false;
    OverwriteMode chosen = Overwrite;
    bool resumed = AskWith(DontOverwrite, [&](HWND dialog) {
        folder = ControlText(dialog, 1016);
        fileLine = ControlText(dialog, 1019);
        diskSize = ControlText(dialog, 1017);
        diskTime = ControlText(dialog, 1018);
        archiveSize = ControlText(dialog, 1020);
        archiveTime = ControlText(dialog, 1021);
        preselectedChecked = IsDlgButtonChecked(dialog, 1024) == BST_CHECKED;
        CheckRadioButton(dialog, 1022, 1026, 1025);
        PostKey(dialog, VK_RETURN);
    }, &chosen);
    EXPECT_TRUE(resumed);
    EXPECT_EQ(chosen, OverwriteAll);
    EXPECT_TRUE(preselectedChecked);
    EXPECT_EQ(folder, "C:\\out\\doc/");
    EXPECT_EQ(fileLine, " a.txt");
    EXPECT_EQ(diskSize, "1,000");
    EXPECT_EQ(diskTime, "2001/02/03 04:05:06");
    EXPECT_EQ(archiveSize, "2,000");
    EXPECT_EQ(archiveTime, "2011/12/13 14:15:16");
}

TEST(OverwriteDialog, EscTheCloseBoxAndTheStopButtonAllStop) {
    OverwriteMode chosen = Overwrite;
    EXPECT_FALSE(AskWith(Overwrite, [](HWND dialog) { PostKey(dialog, VK_ESCAPE); }, &chosen));
    EXPECT_FALSE(AskWith(Overwrite, [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, &chosen));
    EXPECT_FALSE(AskWith(Overwrite, [](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }, &chosen));
    EXPECT_TRUE(AskWith(Overwrite, [](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }, &chosen));
    EXPECT_EQ(chosen, Overwrite);
}

TEST(OverwriteDialog, ColoursTheFileLineAndAnswersHelp) {
    ControlColours fileLine{}, folder{};
    LRESULT help = 0;
    OverwriteMode chosen;
    AskWith(Overwrite, [&](HWND dialog) {
        fileLine = AskColours(dialog, 1019);
        folder = AskColours(dialog, 1016);
        HELPINFO info = {sizeof info, HELPINFO_WINDOW, 0, dialog, 0, {0, 0}};
        help = SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        PostKey(dialog, VK_ESCAPE);
    }, &chosen);
    EXPECT_TRUE(fileLine.handled);
    EXPECT_EQ(fileLine.background, White);
    EXPECT_EQ(fileLine.text, Blue);
    EXPECT_EQ(fileLine.brush, White);
    EXPECT_NE(folder.text, Blue);
    EXPECT_EQ(help, TRUE);
}

TEST(DestinationDialog, TakesNoMoreThan200BytesAndRefusesALongerText) {
    testsupport::MessageBoxWatcher safetyNet;  // closes any box the hook below misses
    std::vector<std::string> refusals;
    size_t typedLength = 0;
    CDestinationDlg dialog;
    dialog.destination = L"C:\\arc\\";
    dialog.keepPaths = 1;
    bool checked = false;
    std::string shown;
    HWND destination = nullptr;
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message == WM_INITDIALOG && IsDialogTitled(window, "解凍先設定")) {
            destination = window;
            shown = ControlText(window, 1013);
            checked = IsDlgButtonChecked(window, 1014) == BST_CHECKED;
            HWND edit = GetDlgItem(window, 1013);
            SetWindowTextA(edit, "");
            for (int i = 0; i < 210; ++i) PostMessageA(edit, WM_CHAR, 'x', 1);
            PostMessageA(window, WM_APP, 0, 0);  // after the typing: look and go on
        } else if (message == WM_APP && window == destination) {
            typedLength = ControlText(window, 1013).size();
            SetDlgItemTextA(window, 1013, std::string(201, 'y').c_str());
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        } else if (message == WM_INITDIALOG && testsupport::IsMessageBox(window)) {
            refusals.push_back(testsupport::WindowText(window) + ":" + ControlText(window, 0xFFFF));
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            PostMessageA(destination, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, "C:\\arc\\");
    EXPECT_TRUE(checked);
    EXPECT_EQ(typedLength, 200u);
    EXPECT_EQ(refusals, Files({"Varnito:200 文字以内で入力してください。"}));
}

TEST(DestinationDialog, OkHandsBackTheTextAndTheCheckBox) {
    CDestinationDlg dialog;
    dialog.destination = L"C:\\arc\\";
    dialog.keepPaths = 1;
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message == WM_INITDIALOG && IsDialogTitled(window, "解凍先設定")) {
            SetDlgItemTextA(window, 1013, "D:\\elsewhere");
            CheckDlgButton(window, 1014, BST_UNCHECKED);
            PostKey(window, VK_RETURN);
        }
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.destination, L"D:\\elsewhere");
    EXPECT_EQ(dialog.keepPaths, 0);
}

TEST(DestinationDialog, CancellingTheBrowserKeepsTheFieldAndPickingReplacesIt) {
    std::string afterCancel, afterPick;
    int browsers = 0;
    CDestinationDlg dialog;
    dialog.destination = L"C:\\windows\\";
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message != WM_INITDIALOG && message != WM_APP) return;
        if (IsDialogTitled(window, "解凍先設定")) {
            if (message == WM_INITDIALOG) {
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(1015, BN_CLICKED), 0);
            } else if (browsers == 1) {
                afterCancel = ControlText(window, 1013);
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(1015, BN_CLICKED), 0);
            } else {
                afterPick = ControlText(window, 1013);
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
        } else if (message == WM_INITDIALOG && GetWindow(window, GW_OWNER)) {
            // The shell's folder browser, owned by the destination dialog.
            HWND owner = GetWindow(window, GW_OWNER);
            ++browsers;
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(browsers == 1 ? IDCANCEL : IDOK, BN_CLICKED), 0);
            PostMessageA(owner, WM_APP, 0, 0);
        }
    });
    dialog.DoModal();
    EXPECT_EQ(browsers, 2);
    EXPECT_EQ(afterCancel, "C:\\windows\\");
    EXPECT_EQ(afterPick, "C:\\windows");
}

TEST(ProgressDialogs, TheBarTakesMoreThan65535EntriesAndTheLinesHaveTheirColours) {
    CListProgressDlg progress;
    progress.SetRange(70000);
    progress.SetPosition(69999);
    progress.ShowNow();
    PBRANGE range = {};
    SendDlgItemMessageA(progress.m_hWnd, 1024, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    int steps = CProgressDlgBase::BarSteps(70000);
    EXPECT_EQ(range.iHigh, 70000 * steps);
    EXPECT_EQ(SendDlgItemMessageA(progress.m_hWnd, 1024, PBM_GETPOS, 0, 0), 69999 * steps);
    // A large entry moves the bar within its own step.
    progress.ShowEntryShare(1, 4);
    progress.ShowNow();
    EXPECT_EQ(SendDlgItemMessageA(progress.m_hWnd, 1024, PBM_GETPOS, 0, 0), 69999 * steps + steps / 4);
    progress.SetPosition(70000);
    progress.ShowNow();
    EXPECT_EQ(SendDlgItemMessageA(progress.m_hWnd, 1024, PBM_GETPOS, 0, 0), 70000 * steps);

    ControlColours archive = AskColours(progress.m_hWnd, 1025), entry = AskColours(progress.m_hWnd, 1023);
    EXPECT_EQ(archive.background, Yellow);
    EXPECT_EQ(archive.text, Blue);
    EXPECT_EQ(archive.brush, Yellow);
    EXPECT_EQ(entry.background, White);
    EXPECT_EQ(entry.text, Red);
    EXPECT_EQ(entry.brush, White);
}

namespace {
// A plan that writes every listed entry of the archive into destination.
ExtractionPlan EveryEntryInto(FixtureListing& listed, const std::string& destination) {
    ExtractionPlan plan;
    plan.archive = &listed.archive;
    plan.entries = listed.All();
    plan.destination = testsupport::Wide(destination);
    return plan;
}
}  // namespace

TEST(ProgressDialogs, ARunEndsWithItsLastEntryAndAFullBarOnScreenAndSendsEachLineOnlyWhenItChanges) {
    testsupport::TempDir work;
    const int count = 300;
    std::vector<FixtureEntry> many;
    for (int i = 1; i <= count; ++i) many.push_back({"", "f" + std::to_string(i), "x"});
    WriteFixtureArchive(work / "many.fix", many);
    FixtureListing listed(work / "many.fix");
    ASSERT_GE(listed.Slot(), 0);
    ExtractionPlan plan = EveryEntryInto(listed, work / "out\\");
    plan.countFromOne = true;

    CListProgressDlg progress;
    progress.archiveLine = L"many.fix";
    progress.SetRange(count);
    int archiveLineSent = 0, entryLineSent = 0;
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message != WM_SETTEXT || GetParent(window) != progress.m_hWnd) return;
        if (GetDlgCtrlID(window) == 1025) ++archiveLineSent;
        if (GetDlgCtrlID(window) == 1023) ++entryLineSent;
    });
    ScriptedAsker asker;
    RecordingMessages messages;
    DWORD started = GetTickCount();
    EXPECT_EQ(ExtractEntries(plan, progress, asker, messages), ExtractionEnd::Normal);
    DWORD elapsed = GetTickCount() - started;

    EXPECT_EQ(ListTree(work / "out").size(), static_cast<size_t>(count));
    EXPECT_EQ(ControlText(progress.m_hWnd, 1023), "f" + std::to_string(count));
    EXPECT_EQ(ControlText(progress.m_hWnd, 1025), "many.fix");
    EXPECT_EQ(SendDlgItemMessageA(progress.m_hWnd, 1024, PBM_GETPOS, 0, 0), count * CProgressDlgBase::BarSteps(count));
    EXPECT_EQ(archiveLineSent, 1);
    // Not a line per entry: at most one per interval, and the last entry's at the end.
    EXPECT_LE(entryLineSent, static_cast<int>(elapsed / CProgressDlgBase::ScreenInterval) + 2)
        << count << " entries in " << elapsed << " ms";
}

TEST(ProgressDialogs, ARunKeepsTheWindowsAnsweringAndAQuitRequestForTheLoopsAround) {
    testsupport::TempDir work;
    WriteFixtureArchive(work / "two.fix", {{"", "a", "1"}, {"", "b", "2"}});
    FixtureListing listed(work / "two.fix");
    ASSERT_GE(listed.Slot(), 0);
    ExtractionPlan plan = EveryEntryInto(listed, work / "out\\");

    CListProgressDlg progress;
    PostMessageA(progress.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PostQuitMessage(3);
    ScriptedAsker asker;
    RecordingMessages messages;
    EXPECT_EQ(ExtractEntries(plan, progress, asker, messages), ExtractionEnd::Normal);
    EXPECT_TRUE(ListTree(work / "out").empty());  // the posted abort was handled before the first entry
    MSG quit = {};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
}

TEST(ProgressDialogs, TheListProgressDialogSitsCentredOverItsParentAndAbortingLeavesItOpen) {
    StandInWindow list;
    CListProgressDlg progress(&list.window);
    RECT parent, own;
    GetWindowRect(list.hwnd, &parent);
    GetWindowRect(progress.m_hWnd, &own);
    int width = own.right - own.left, height = own.bottom - own.top;
    EXPECT_EQ(own.left, parent.left + (600 - width) / 2);
    EXPECT_EQ(own.top, parent.top + (400 - height) / 2);
    EXPECT_EQ(GetWindow(progress.m_hWnd, GW_OWNER), list.hwnd);
    EXPECT_EQ(ControlText(progress.m_hWnd, 1023), "");
    EXPECT_EQ(ControlText(progress.m_hWnd, 1025), "");

    SendMessageA(progress.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(progress.AbortRequested());
    EXPECT_TRUE(IsWindow(progress.m_hWnd));
    EXPECT_TRUE(IsWindowVisible(progress.m_hWnd));
}

class ImmediateRun : public ::testing::Test {
protected:
    void SetUp() override {
        CSettingIO().WriteString("", "DefrostingFold", (work / "out").c_str());
        table.LoadFolder(testsupport::Wide(FixturePluginFolder()));
    }

    testsupport::CleanProfile clean;
    testsupport::TempDir work;
    CPluginTable table;
};

TEST_F(ImmediateRun, EscDuringTheSecondArchiveAbortsOnlyThatOneAndItsFolderIsStillOpened) {
    FolderOpenRecorder opened;
    for (const char* name : {"one", "two", "three"}) {
        std::string n = name;
        WriteFixtureArchive(work / (n + ".fix"), {{"", n + "1", "1"}, {"", n + "2", "2"}, {"", n + "3", "3"}});
    }
    // two1 is there already: its question is where the user presses Esc.
    CreateDirectoryA((work / "out").c_str(), nullptr);
    CreateDirectoryA((work / "out\\two").c_str(), nullptr);
    testsupport::WriteBytes(work / "out\\two\\two1", "old");
    std::string title, archiveLineAtFirstEntry;
    CExtractProgressDlg dialog;
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message == WM_SETTEXT && GetDlgCtrlID(window) == 1023 && title.empty() &&
            !testsupport::WindowText(window).empty()) {
            title = testsupport::WindowText(GetParent(window));
            archiveLineAtFirstEntry = ControlText(GetParent(window), 1025);
        }
        if (message == WM_INITDIALOG && IsDialogTitled(window, "上書確認")) {
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // overwrite two1
            PostKey(GetDlgItem(dialog.m_hWnd, IDCANCEL), VK_ESCAPE);
        }
    });
    CWinApp* app = AfxGetApp();
    app->m_pMainWnd = &dialog;
    for (const char* name : {"one", "two", "three"}) {
        dialog.SetArchive(testsupport::Wide(work / (std::string(name) + ".fix")), &table);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
    app->m_pMainWnd = nullptr;

    EXPECT_EQ(title, "Varnito-解凍中...");
    EXPECT_EQ(archiveLineAtFirstEntry, "one.fix");
    EXPECT_EQ(ListTree(work / "out"), Files({"one\\", "one\\one1", "one\\one2", "one\\one3", "three\\", "three\\three1",
                                             "three\\three2", "three\\three3", "two\\", "two\\two1"}));
    EXPECT_EQ(ReadBytes(work / "out\\two\\two1"), "1");
    EXPECT_EQ(opened.Opened(3, 10000).size(), 3u);
}

TEST_F(ImmediateRun, AStopAtTheOverwriteQuestionOpensNothing) {
    FolderOpenRecorder opened;
    WriteFixtureArchive(work / "a.fix", {{"", "x", "new"}, {"", "y", "new"}});
    CreateDirectoryA((work / "out").c_str(), nullptr);
    CreateDirectoryA((work / "out\\a").c_str(), nullptr);
    testsupport::WriteBytes(work / "out\\a\\x", "old");
    int questions = 0;
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message == WM_INITDIALOG && IsDialogTitled(window, "上書確認")) {
            ++questions;
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    });
    CExtractProgressDlg dialog;
    AfxGetApp()->m_pMainWnd = &dialog;
    dialog.SetArchive(testsupport::Wide(work / "a.fix"), &table);
    dialog.DoModal();
    AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(ReadBytes(work / "out\\a\\x"), "old");
    EXPECT_FALSE(testsupport::FileExists(work / "out\\a\\y"));
    Sleep(500);
    EXPECT_TRUE(opened.OpenedNow().empty());
}

TEST_F(ImmediateRun, MessagesAreShownInTheProgramsBoxOverTheDialog) {
    testsupport::MessageBoxWatcher boxes;
    CSettingIO().WriteInt("", "OpenCheckFlag", 0);
    CExtractProgressDlg dialog;
    dialog.SetArchive(testsupport::Wide(work / "missing.fix"), &table);
    dialog.DoModal();
    ASSERT_TRUE(boxes.WaitFor(1));
    EXPECT_EQ(boxes.Seen()[0].caption, "Varnito");
    EXPECT_EQ(boxes.Seen()[0].text, "ファイルが見つかりません。");
}

class SelectionRun : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFixtureArchive(archive, {{"d\\", "a", "A"}, {"", "b", "B"}, {"", "c", "C"}});
        listed.reset(new FixtureListing(archive));
        ASSERT_GE(listed->Slot(), 0);
        AfxGetApp()->m_pMainWnd = &list.window;
    }
    void TearDown() override { AfxGetApp()->m_pMainWnd = nullptr; }
    void Extract() {
        ExtractSelection(&list.window, listed->archive, listed->All());
    }

    testsupport::CleanProfile clean;
    testsupport::TempDir work;
    std::string archive = work / "a.fix";
    std::unique_ptr<FixtureListing> listed;
    StandInWindow list;
};

TEST_F(SelectionRun, WritesWhereTheDialogSaysStoresTheCheckBoxAndGivesTheWindowBack) {
    std::string proposed, entryLineAtQuestion;
    bool listDisabledDuringRun = false, archiveLineShown = false, progressShown = false;
    // b is there already; its question comes while the run is under way.
    CreateDirectoryA((work / "chosen").c_str(), nullptr);
    CreateDirectoryA((work / "chosen\\deep").c_str(), nullptr);
    testsupport::WriteBytes(work / "chosen\\deep\\b", "old");
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message == WM_INITDIALOG && IsDialogTitled(window, "解凍先設定")) {
            proposed = ControlText(window, 1013);
            SetDlgItemTextA(window, 1013, (work / "chosen\\deep").c_str());
            CheckDlgButton(window, 1014, BST_UNCHECKED);
            PostKey(window, VK_RETURN);
        }
        if (message == WM_INITDIALOG && IsDialogTitled(window, "上書確認")) {
            HWND progress = ProgressDialog();
            listDisabledDuringRun = !IsWindowEnabled(list.hwnd);
            progressShown = ProgressDialogExists();
            archiveLineShown = progress && ControlText(progress, 1025) == "a.fix";
            entryLineAtQuestion = progress ? ControlText(progress, 1023) : "";
            PostKey(window, VK_RETURN);
        }
    });
    Extract();
    EXPECT_EQ(proposed, work.path());
    EXPECT_EQ(ListTree(work / "chosen"), Files({"deep\\", "deep\\a", "deep\\b", "deep\\c"}));
    EXPECT_EQ(ReadBytes(work / "chosen\\deep\\b"), "B");
    EXPECT_EQ(CSettingIO().ReadInt("", "RelativePathFlag", 1), 0);
    EXPECT_TRUE(listDisabledDuringRun);
    EXPECT_TRUE(progressShown);
    EXPECT_TRUE(archiveLineShown);
    EXPECT_EQ(entryLineAtQuestion, "b");  // the screen names the entry the question is about
    EXPECT_TRUE(IsWindowEnabled(list.hwnd));
    EXPECT_FALSE(ProgressDialogExists());
}

TEST_F(SelectionRun, AnEmptyDestinationMeansTheArchivesFolderAndCancelWritesNothing) {
    CSettingIO().WriteInt("", "RelativePathFlag", 1);
    bool cancel = true;
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message == WM_INITDIALOG && IsDialogTitled(window, "解凍先設定")) {
            SetDlgItemTextA(window, 1013, "");
            CheckDlgButton(window, 1014, BST_UNCHECKED);
            PostKey(window, cancel ? VK_ESCAPE : VK_RETURN);
        }
    });
    Extract();
    EXPECT_EQ(ListTree(work.path()), Files({"a.fix"}));
    EXPECT_EQ(CSettingIO().ReadInt("", "RelativePathFlag", 7), 1);

    cancel = false;
    Extract();
    EXPECT_EQ(ListTree(work.path()), Files({"a", "a.fix", "b", "c"}));
}

TEST_F(SelectionRun, EscDuringALongRunOfSmallEntriesStopsAtTheNextEntry) {
    const int count = 400, pressedAt = 200;
    std::vector<FixtureEntry> many;
    for (int i = 1; i <= count; ++i) many.push_back({"", "e" + std::to_string(i), "new"});
    WriteFixtureArchive(archive, many);
    listed.reset(new FixtureListing(archive));
    ASSERT_GE(listed->Slot(), 0);
    // The user presses Esc right after answering the question about one entry in the middle.
    std::string asked = "e" + std::to_string(pressedAt);
    testsupport::WriteBytes(work / asked, "old");
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message == WM_INITDIALOG && IsDialogTitled(window, "解凍先設定")) {
            CheckDlgButton(window, 1014, BST_UNCHECKED);
            PostKey(window, VK_RETURN);
        }
        if (message == WM_INITDIALOG && IsDialogTitled(window, "上書確認")) {
            PostKey(window, VK_RETURN);
            PostKey(GetDlgItem(ProgressDialog(), IDCANCEL), VK_ESCAPE);
        }
    });
    Extract();
    std::vector<std::string> written = ListTree(work.path());
    EXPECT_EQ(written.size(), static_cast<size_t>(pressedAt) + 1) << "files besides the archive";
    EXPECT_EQ(ReadBytes(work / asked), "new");
    EXPECT_FALSE(testsupport::FileExists(work / ("e" + std::to_string(pressedAt + 1))));
    EXPECT_TRUE(IsWindowEnabled(list.hwnd));
}
