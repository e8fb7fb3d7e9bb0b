// The command lines a registered file type gives the shell: /extract extracts at once
// whatever the mode, /open follows it; each takes its archive in quotes, blanks and all.
#include "tests/e2e/E2eTest.h"

namespace e2e {
namespace {

constexpr int ListControl = 1134, CloseButton = 1016;

class ShellSwitch : public E2eTest {
protected:
    // A fixture archive in a folder whose name has blanks, quoted after the switch.
    std::wstring SwitchLine(const wchar_t* shellSwitch, const std::string& archiveName) {
        std::string archive = ArchivesInWork({archiveName}, "my archives\\");
        return std::wstring(shellSwitch) + L" \"" + testsupport::Wide(archive) + L"\"";
    }
};

TEST_F(ShellSwitch, ExtractWritesTheArchiveAtOnceThoughTheModeIsList) {
    std::string out = work / "out\\";
    PrepareProfile(0, out);
    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(SwitchLine(L"/extract", "first.zip")));
    ASSERT_TRUE(varnito.WaitForExit(60000)) << "the run did not end";
    EXPECT_EQ(TreeDifferences(FilesOnly(UnzippedTree("first.zip")), FilesOnly(ReadTree(out + "first"))), "");
}

TEST_F(ShellSwitch, OpenShowsTheListWindowInListMode) {
    PrepareProfile(0, work / "out\\");
    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(SwitchLine(L"/open", "listed.zip")));
    HWND window = varnito.WaitForWindow("Varnito - listed.zip");
    ASSERT_TRUE(window) << "no list window";
    HWND list = GetDlgItem(window, ListControl);
    EXPECT_TRUE(WaitUntil([&] { return RowCount(list) == 4 ? list : nullptr; })) << RowCount(list);
    PressButton(window, CloseButton);
    EXPECT_TRUE(varnito.WaitForExit());
    EXPECT_FALSE(testsupport::FileExists(work / "out\\listed")) << "extracted instead of listed";
}

}  // namespace
}  // namespace e2e
