// The list window as start-up runs it: modal, the application's main window. Closing it
// while a run reads its entries, a run over an archive replaced after it was listed, the order
// in which a run reads the entries, and where the window first appears.
#include <gtest/gtest.h>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include "core/SettingIO.h"
#include "extract/ExtractionTexts.h"
#include "framework/WinApp.h"
#include "tests/extract/WindowWatcher.h"
#include "tests/listwin/ListWindowFixture.h"

using extracttest::PostKey;
using extracttest::WindowWatcher;
using testsupport::ReadBytes;

namespace {

std::atomic<HWND> g_listWindow{nullptr};
std::atomic<bool> g_questionTimedOut{false};

bool IsListWindow(HWND window) { return GetDlgItem(window, IDC_ARCLIST_ENTRIES) != nullptr; }

bool IsProgressDialog(HWND window) {
    char className[32] = {};
    GetClassNameA(GetDlgItem(window, 1024), className, sizeof className);
    return strcmp(className, PROGRESS_CLASSA) == 0;
}

// Should the close request leave the question open, the test answers it itself after a while
// (stop), so that it cannot hang.
void CALLBACK AnswerLateQuestion(HWND question, UINT, UINT_PTR timer, DWORD) {
    KillTimer(question, timer);
    g_questionTimedOut = true;
    PostMessageA(question, WM_COMMAND, IDCANCEL, 0);
}

// Closes a list window that nothing else closed (a run that went on without a message).
void CALLBACK CloseLate(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// Once the held fetch has begun, asks the window to close, then lets the fetch go on. Should
// the fetch not begin within two minutes (the emulated 32-bit machine under load takes more
// than 20 seconds to get there), the window is asked to close all the same, so that the test
// fails instead of waiting for a window that nothing closes.
DWORD WINAPI CloseDuringTheFetch(void*) {
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, fixture::FetchEventName("held").c_str());
    HANDLE goOn = CreateEventA(nullptr, TRUE, FALSE, fixture::FetchEventName("go-on").c_str());
    WaitForSingleObject(held, 120000);
    PostMessageA(g_listWindow, WM_CLOSE, 0, 0);
    SetEvent(goOn);
    CloseHandle(held);
    CloseHandle(goOn);
    return 0;
}

class ListWindowRun : public ListWindowTest {
protected:
    void SetUp() override {
        ListWindowTest::SetUp();
        ASSERT_TRUE(CreateDirectoryA(out.c_str(), nullptr));
        g_listWindow = nullptr;
        g_questionTimedOut = false;
    }

    // Opens the window, calls afterListing, presses "extract all", confirms the destination
    // `out`, and hands every overwrite question to onQuestion. A message box is read into
    // boxTexts, closed, and closes the window. Returns the window's result.
    INT_PTR ExtractAll(const std::function<void(HWND)>& onQuestion, const std::function<void()>& afterListing = {}) {
        return Extract(IDC_ARCLIST_EXTRACT_ALL, onQuestion, [&](HWND, HWND) {
            if (afterListing) afterListing();
        });
    }

    // The same with any extraction button; beforeButton(window, list) may post messages that
    // the window handles, after filling, before the button's. With closeAfterRun the window
    // is closed once the run's progress dialog has gone.
    INT_PTR Extract(int button, const std::function<void(HWND)>& onQuestion,
                    const std::function<void(HWND, HWND)>& beforeButton = {}, bool closeAfterRun = false) {
        CArchiveListDlg modal;
        modal.SetArchive(testsupport::Wide(archive), &host);
        AfxGetApp()->m_pMainWnd = &modal;
        WindowWatcher watcher([&](HWND window, UINT message) {
            if (closeAfterRun && message == WM_DESTROY && IsProgressDialog(window))
                PostMessageA(g_listWindow, WM_CLOSE, 0, 0);
            if (message != WM_INITDIALOG) return;
            std::string title = testsupport::WindowText(window);
            if (IsListWindow(window)) {
                g_listWindow = window;
                if (beforeButton) beforeButton(window, GetDlgItem(window, IDC_ARCLIST_ENTRIES));
                PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            } else if (title == "解凍先設定") {
                SetDlgItemTextA(window, 1013, out.c_str());
                PostKey(window, VK_RETURN);
            } else if (title == "上書確認") {
                onQuestion(window);
            } else if (testsupport::IsMessageBox(window)) {
                char text[512] = {};
                GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
                boxTexts.push_back(text);
                PostMessageA(window, WM_COMMAND, IDOK, 0);
                PostMessageA(g_listWindow, WM_CLOSE, 0, 0);
            }
        });
        INT_PTR result = modal.DoModal();
        AfxGetApp()->m_pMainWnd = nullptr;
        return result;
    }

    bool PlacementStored() {
        IntList10 stored;
        return CSettingIO().ReadIntList("ListWindowData", &stored) == 1;
    }

    std::string out = dir / "out\\";
    std::vector<std::string> boxTexts;
};

}  // namespace

TEST_F(ListWindowRun, ACloseRequestStopsTheRunAndTheWindowClosesAfterIt) {
    // While the overwrite question waits: the question ends as "stop" would end it.
    WriteArchive({"-lh0-|1|1|1|0||a.txt|A|", "-lh0-|2|3|3|0||b.txt|new|", "-lh0-|3|1|1|0||c.txt|C|"});
    testsupport::WriteBytes(out + "b.txt", "old");
    EXPECT_EQ(ExtractAll([](HWND question) {
                  SetTimer(question, 1, 10000, AnswerLateQuestion);
                  PostMessageA(g_listWindow, WM_CLOSE, 0, 0);
              }),
              IDCANCEL);
    EXPECT_FALSE(g_questionTimedOut) << "the close request ended the question";
    EXPECT_EQ(ReadBytes(out + "a.txt"), "A");
    EXPECT_EQ(ReadBytes(out + "b.txt"), "old");
    EXPECT_FALSE(testsupport::FileExists(out + "c.txt"));
    EXPECT_TRUE(PlacementStored()) << "the window closed as it always does";

    // While a fetch is under way: the entry fetched is written whole, the next one is not.
    testsupport::RemoveTree(out);
    CreateDirectoryA(out.c_str(), nullptr);
    testsupport::ClearProfile();  // so that the placement stored now shows
    WriteArchive({"-lh0-|1|1|1|0||a.txt|A|", "-lh0-|2|5|5|0||b.txt|BBBBB|fetch-held",
                  "-lh0-|3|1|1|0||c.txt|C|"});
    HANDLE closer = CreateThread(nullptr, 0, CloseDuringTheFetch, nullptr, 0, nullptr);
    EXPECT_EQ(ExtractAll([](HWND question) { PostMessageA(question, WM_COMMAND, IDCANCEL, 0); }), IDCANCEL);
    WaitForSingleObject(closer, INFINITE);
    CloseHandle(closer);
    EXPECT_EQ(ReadBytes(out + "a.txt"), "A");
    EXPECT_EQ(ReadBytes(out + "b.txt"), "BBBBB");
    EXPECT_FALSE(testsupport::FileExists(out + "c.txt"));
    EXPECT_TRUE(PlacementStored());
}

// Another file takes the archive's name after it was listed, as a new download of it would:
// the plug-in would hand over the new file's entries at the listed positions under the old
// names. The run stops at the first entry with the message, and nothing is written.
TEST_F(ListWindowRun, AnArchiveReplacedAfterItWasListedIsNotReadAndNothingIsWritten) {
    WriteArchive({"name=a.txt|data=A", "name=b.txt|data=B"});
    EXPECT_EQ(ExtractAll([](HWND question) { PostMessageA(question, WM_COMMAND, IDCANCEL, 0); },
                         [&] {
                             SetTimer(g_listWindow, 1, 15000, CloseLate);
                             std::string replacement = dir / "replacement.fix";
                             testsupport::WriteBytes(replacement,
                                                     "#fixture\nentry name=a.txt|data=another a\n"
                                                     "entry name=b.txt|data=another b\n");
                             MoveFileExA(replacement.c_str(), archive.c_str(), MOVEFILE_REPLACE_EXISTING);
                         }),
              IDCANCEL);
    ASSERT_EQ(boxTexts.size(), 1u);
    EXPECT_EQ(boxTexts[0], ArchiveChangedText);
    EXPECT_FALSE(testsupport::FileExists(out + "a.txt"));
    EXPECT_FALSE(testsupport::FileExists(out + "b.txt"));
}

TEST_F(ListWindowRun, ARunOverASortedSelectionFetchesInArchiveOrder) {
    WriteArchive({"-lh0-|1|1|1|0||c.txt|C|", "-lh0-|2|1|1|0||a.txt|A|", "-lh0-|3|1|1|0||d.txt|D|",
                  "-lh0-|4|1|1|0||b.txt|B|", "-lh0-|5|1|1|0||e.txt|E|"});
    testsupport::WriteBytes(out + "b.txt", "old");
    testsupport::WriteBytes(out + "d.txt", "old");
    fixture::FixtureProbe probe(pluginPath);
    ASSERT_TRUE(probe.Loaded());
    probe.Reset();
    // The name column twice (descending: e d c b a), then the rows of e, d and b.
    static NMLISTVIEW click;
    static LVITEMA select;
    std::vector<std::string> questions;
    INT_PTR result = Extract(
        IDC_ARCLIST_EXTRACT_SELECTED,
        [&](HWND question) {
            questions.push_back(testsupport::WindowText(GetDlgItem(question, IDC_OVERWRITE_FILE_LINE)));
            PostKey(question, VK_RETURN);
        },
        [](HWND window, HWND list) {
            click = {};
            click.hdr.hwndFrom = list;
            click.hdr.idFrom = IDC_ARCLIST_ENTRIES;
            click.hdr.code = LVN_COLUMNCLICK;
            click.iItem = -1;
            for (int i = 0; i < 2; ++i)
                PostMessageA(window, WM_NOTIFY, IDC_ARCLIST_ENTRIES, reinterpret_cast<LPARAM>(&click));
            select = {};
            select.state = select.stateMask = LVIS_SELECTED;
            for (int row : {0, 1, 3}) PostMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&select));
        },
        true);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(probe.FetchedPositions(), (std::vector<long long>{3, 4, 5})) << "d, b and e in the archive's order";
    EXPECT_EQ(questions, (std::vector<std::string>{" d.txt", " b.txt"}));
    EXPECT_EQ(ReadBytes(out + "e.txt"), "E");
    EXPECT_EQ(ReadBytes(out + "b.txt"), "B");
}

TEST_F(ListWindowTest, AFirstRunOpensCentredWhereItThenStays) {
    RECT shownAt = {};
    bool shown = false;
    WindowWatcher watcher([&](HWND window, UINT message) {
        if (message == WM_SHOWWINDOW && !shown && IsListWindow(window)) {
            shown = true;
            GetWindowRect(window, &shownAt);
        }
    });
    Open(WriteArchive({"-lh0-|1|1|1|0||a.txt|A|"}));
    ASSERT_TRUE(shown);
    RECT now;
    GetWindowRect(Window(), &now);
    EXPECT_TRUE(EqualRect(&shownAt, &now)) << "shown where it stays";

    MONITORINFO monitor = {sizeof monitor, {}, {}, 0};
    GetMonitorInfoA(MonitorFromWindow(Window(), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    EXPECT_LE(std::abs((now.left + now.right) - (work.left + work.right)), 2);
    EXPECT_LE(std::abs((now.top + now.bottom) - (work.top + work.bottom)), 2);
}
