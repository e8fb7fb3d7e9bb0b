#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <thread>
#include "res/resource.h"
#include "tests/listwin/ListTestHelpers.h"
#include "tests/listwin/ListWindowFixture.h"
#include "ui/AboutDlg.h"

using testsupport::MessageBoxWatcher;

namespace {

// The shell opens *.chm files with the given command for the life of the object; the
// prefix's own association comes back afterwards.
class HelpViewer {
public:
    explicit HelpViewer(const std::string& command) {
        char old[256] = {};
        LONG size = sizeof old;
        hadOld_ = RegQueryValueA(HKEY_CLASSES_ROOT, ".chm", old, &size) == ERROR_SUCCESS;
        old_ = old;
        RegSetValueA(HKEY_CLASSES_ROOT, ".chm", REG_SZ, "varnito.test.help", 0);
        RegSetValueA(HKEY_CLASSES_ROOT, "varnito.test.help\\shell\\open\\command", REG_SZ, command.c_str(), 0);
    }
    ~HelpViewer() {
        if (hadOld_)
            RegSetValueA(HKEY_CLASSES_ROOT, ".chm", REG_SZ, old_.c_str(), 0);
        else
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".chm");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "varnito.test.help");
    }

private:
    bool hadOld_ = false;
    std::string old_;
};

// Runs with the given current folder.
class InFolder {
public:
    explicit InFolder(const std::string& folder) {
        GetCurrentDirectoryA(sizeof old_, old_);
        SetCurrentDirectoryA(folder.c_str());
    }
    ~InFolder() { SetCurrentDirectoryA(old_); }

private:
    char old_[MAX_PATH] = {};
};

void PressF1(HWND window) {
    HELPINFO info = {sizeof info, HELPINFO_WINDOW, 0, window, 0, {0, 0}};
    SendMessageA(window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace

TEST_F(ListWindowTest, F1HandsTheHelpFileToTheShell) {
    listtest::RecordingProgram helpViewer;
    HelpViewer association("\"" + helpViewer.Path() + "\" \"%1\"");
    testsupport::TempDir folder;
    testsupport::WriteBytes(folder / "Varnito.chm", "help");
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}));
    {
        InFolder current(folder.path());
        PressF1(Window());
    }
    auto starts = helpViewer.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].find("Varnito.chm"), std::string::npos) << starts[0];
}

TEST_F(ListWindowTest, F1WithoutAHelpFileReportsNothing) {
    testsupport::TempDir emptyFolder;
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}));
    MessageBoxWatcher boxes;
    {
        InFolder current(emptyFolder.path());
        PressF1(Window());
    }
    Sleep(500);
    EXPECT_TRUE(boxes.Seen().empty());
    EXPECT_TRUE(IsWindow(Window()));
}

TEST_F(ListWindowTest, TheAboutButtonShowsTheAboutBox) {
    Open(WriteArchive({"-lh5-|1|1|1|0||a.vlwnone|a|"}));
    // Closes the about box once it is up, as a user would with its OK button.
    std::atomic<HWND> seen{nullptr};
    std::thread closer([&] {
        for (int tries = 0; tries < 500 && !seen; ++tries) {
            HWND box = FindWindowA("#32770", "バージョン情報");
            DWORD process = 0;
            if (box && IsWindowVisible(box) && GetWindowThreadProcessId(box, &process) && process == GetCurrentProcessId()) {
                seen = box;
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
            Sleep(20);
        }
    });
    ClickButton(IDC_ARCLIST_ABOUT);  // returns once the box is closed
    closer.join();
    ASSERT_NE(seen.load(), nullptr);
    EXPECT_FALSE(IsWindow(seen.load()));
    EXPECT_TRUE(IsWindow(Window()));
    EXPECT_TRUE(IsWindowEnabled(Window()));
}

TEST(AboutBox, ProgramLineIsLightGreenAndF1OpensHelp) {
    listtest::RecordingProgram helpViewer;
    HelpViewer association("\"" + helpViewer.Path() + "\" \"%1\"");
    testsupport::TempDir folder;
    testsupport::WriteBytes(folder / "Varnito.chm", "help");

    CAboutDlg about;
    ASSERT_TRUE(about.Create(IDD_ABOUT_DIALOG));
    HDC dc = GetDC(about.m_hWnd);
    HWND line = GetDlgItem(about.m_hWnd, IDC_ABOUT_PROGRAM_LINE);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageA(about.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(line)));
    LOGBRUSH look = {};
    ASSERT_TRUE(GetObjectA(brush, sizeof look, &look));
    EXPECT_EQ(look.lbColor, RGB(200, 255, 200));
    EXPECT_EQ(GetBkColor(dc), RGB(200, 255, 200));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    auto other = reinterpret_cast<HBRUSH>(SendMessageA(about.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(GetDlgItem(about.m_hWnd, IDOK))));
    EXPECT_NE(other, brush);
    ReleaseDC(about.m_hWnd, dc);

    {
        InFolder current(folder.path());
        PressF1(about.m_hWnd);
    }
    EXPECT_EQ(helpViewer.Starts().size(), 1u);
}
