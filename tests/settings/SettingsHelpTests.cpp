// F1 in the settings dialog: the help file beside the program, or a message that it is missing.
#include <gtest/gtest.h>
#include "tests/settings/SettingsTestHelpers.h"
#include "tests/support/HelpViewer.h"

using namespace settingstest;

TEST(SettingsHelp, F1OpensTheHelpFileBesideTheProgram) {
    testsupport::CleanProfile clean{true};
    testsupport::HelpViewer viewer;
    testsupport::HelpFileBesideProgram help;
    OpenSettings open;
    viewer.PressF1(open.hwnd());
    auto starts = viewer.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], "\"" + help.Path() + "\"");
}

TEST(SettingsHelp, F1WithoutTheHelpFileSaysSoOverTheDialog) {
    ASSERT_FALSE(testsupport::FileExists(testsupport::HelpFileBesideProgramPath()));
    testsupport::CleanProfile clean{true};
    testsupport::HelpViewer viewer;
    OpenSettings open;
    testsupport::MessageBoxWatcher boxes;
    viewer.PressF1(open.hwnd());
    auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Varnito");
    EXPECT_NE(seen[0].text.find(testsupport::HelpFileBesideProgramPath()), std::string::npos) << seen[0].text;
    EXPECT_EQ(seen[0].owner, open.hwnd());
    EXPECT_TRUE(viewer.Starts(1, 2000).empty());
}
