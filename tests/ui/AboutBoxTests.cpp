// The about box: its program line on light green, and F1 handing the help file to the shell.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "res/resource.h"
#include "tests/support/RecordedStarts.h"
#include "tests/support/ShellFileType.h"
#include "tests/support/TestSupport.h"
#include "ui/AboutDlg.h"

TEST(AboutBox, ProgramLineIsLightGreenAndF1OpensHelp) {
    testsupport::RecordingProgram helpViewer;
    testsupport::ShellFileType association("chm", nullptr, "\"" + helpViewer.Path() + "\" \"%1\"");
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
        testsupport::CurrentFolder current(folder.path());
        testsupport::PressF1(about.m_hWnd);
    }
    EXPECT_EQ(helpViewer.Starts().size(), 1u);
}
