// The program as its package unpacks: Varnito.exe with its plug-ins in `plugins` beside it,
// and nothing configured yet (no plug-in folder, no image viewer to take one from).
#include "tests/e2e/E2eTest.h"

namespace e2e {
namespace {

constexpr char SettingsCaption[] = "Varnito環境設定";
constexpr int ListControl = 1134, CloseButton = 1016;
constexpr int PluginFolderEdit = 1001, PluginList = 1005;

class UnpackedPackage : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(plugins.c_str(), nullptr));
        ASSERT_TRUE(CopyFileA(ProgramPath().c_str(), program.c_str(), FALSE));
        for (const char* name : {"Zip", "Lha", "7z", "Tar"}) {
            std::string plugin = testsupport::PluginFile(name);
            ASSERT_TRUE(CopyFileA((PluginFolder() + "\\" + plugin).c_str(), (plugins + "\\" + plugin).c_str(), FALSE));
        }
    }

    // The program lists every file of listed.zip (a list window at all: a plug-in opened it).
    void ExpectListsEveryFileOfTheZip() {
        std::string archive = ArchivesInWork({"listed.zip"});
        VarnitoProcess varnito;
        ASSERT_TRUE(varnito.Start(archive, program));
        HWND window = varnito.WaitForWindow("Varnito - listed.zip");
        ASSERT_TRUE(window) << "no list window (\"no plug-in\")";
        size_t files = FilesOnly(UnzippedTree("listed.zip")).size();
        HWND list = GetDlgItem(window, ListControl);
        EXPECT_TRUE(WaitUntil([&] { return RowCount(list) == static_cast<int>(files) ? list : nullptr; }))
            << RowCount(list) << " rows";
        PressButton(window, CloseButton);
        EXPECT_TRUE(varnito.WaitForExit());
    }

    // The settings dialog shows the folder beside the program as the one in use, with its four plug-ins.
    void ExpectSettingsShowTheBundledPlugins() {
        VarnitoProcess settings;
        ASSERT_TRUE(settings.Start("", program));
        HWND dialog = settings.WaitForWindow(SettingsCaption);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(ControlText(dialog, PluginFolderEdit), plugins);
        EXPECT_EQ(RowCount(GetDlgItem(dialog, PluginList)), 4);
        PressButton(dialog, IDCANCEL);
        EXPECT_TRUE(settings.WaitForExit());
    }

    testsupport::CleanProfile clean{true};
    std::string folder = work / "Varnito";
    std::string plugins = folder + "\\plugins";
    std::string program = folder + "\\Varnito.exe";
};

TEST_F(UnpackedPackage, OpensArchivesAndListsItsPluginsWithoutAnySetting) {
    ExpectListsEveryFileOfTheZip();
    // Nothing was stored that would tie the package to where it was unpacked.
    EXPECT_EQ(ReadProfileText("SpiFold"), testsupport::MissingText);
    ExpectSettingsShowTheBundledPlugins();
}

// The folder taken from an installed image viewer holds plug-ins of the other kind only (a
// 32-bit viewer's folder for the 64-bit program): the plug-ins beside the program open the
// archive, and the settings dialog shows their folder as the one in use.
TEST_F(UnpackedPackage, AViewersFolderWithoutPluginsOfItsKindGivesWayToItsOwn) {
    std::string viewer = work / "viewer";
    ASSERT_TRUE(CreateDirectoryA(viewer.c_str(), nullptr));
    const char* otherKind = testsupport::PluginFile("Zip").back() == 'h' ? "Zip.spi" : "Zip.sph";
    ASSERT_TRUE(testsupport::WriteBytes(viewer + "\\" + otherKind, "not of this build's kind"));
    ASSERT_TRUE(testsupport::WriteImageViewerPath(viewer.c_str()));
    ExpectListsEveryFileOfTheZip();
    EXPECT_EQ(ReadProfileText("SpiFold"), viewer) << "the setting itself stays the viewer's";
    ExpectSettingsShowTheBundledPlugins();
}

}  // namespace
}  // namespace e2e
