// The about box: its program line on light green, and F1 opening the help file beside the program.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "res/resource.h"
#include "tests/support/HelpViewer.h"
#include "tests/support/TestSupport.h"
#include "ui/AboutDlg.h"

TEST(AboutBox, ProgramLineIsLightGreen) {
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
}

TEST(AboutBox, F1OpensTheHelpFileBesideTheProgram) {
    testsupport::HelpViewer viewer;
    testsupport::HelpFileBesideProgram help;
    CAboutDlg about;
    ASSERT_TRUE(about.Create(IDD_ABOUT_DIALOG));
    viewer.PressF1(about.m_hWnd);
    auto starts = viewer.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], "\"" + help.Path() + "\"");
}

TEST(AboutBox, F1WithoutTheHelpFileSaysSoOverTheBox) {
    ASSERT_FALSE(testsupport::FileExists(testsupport::HelpFileBesideProgramPath()));
    testsupport::HelpViewer viewer;
    CAboutDlg about;
    ASSERT_TRUE(about.Create(IDD_ABOUT_DIALOG));
    testsupport::MessageBoxWatcher boxes;
    viewer.PressF1(about.m_hWnd);
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Varnito");
    EXPECT_NE(seen[0].text.find(testsupport::HelpFileBesideProgramPath()), std::string::npos) << seen[0].text;
    EXPECT_EQ(seen[0].owner, about.m_hWnd);
    EXPECT_TRUE(viewer.Starts(1, 2000).empty());
}
