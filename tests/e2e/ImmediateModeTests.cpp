// Immediate mode as a user meets it: several archives on the command line, one meeting
// files that already exist, one aborted while it runs.
#include "tests/e2e/E2eTest.h"

namespace e2e {
namespace {

constexpr char ProgressCaption[] = "Varnito-解凍中...";
constexpr char OverwriteCaption[] = "上書確認";
constexpr int ArchiveLine = 1025, EntryLine = 1023;
constexpr int OverwriteAllRadio = 1025, FileLine = 1019;
constexpr int SecondArchiveFiles = 1500;
constexpr char PasswordCaption[] = "パスワードの入力";
constexpr int PasswordArchiveLine = 2401, PasswordBox = 2402;

class ImmediateMode : public E2eTest {};

// The progress dialog while it shows an entry of the given archive.
HWND ProgressOf(const VarnitoProcess& varnito, const std::string& archiveName) {
    return WaitUntil([&]() -> HWND {
        HWND dialog = varnito.WaitForWindow(ProgressCaption, "#32770", 0);
        if (dialog && ControlText(dialog, ArchiveLine) == archiveName && !ControlText(dialog, EntryLine).empty())
            return dialog;
        return nullptr;
    });
}

TEST_F(ImmediateMode, ThreeArchivesOneOverwrittenOneAbortedTheLastStillExtracted) {
    std::string out = work / "out\\";
    PrepareProfile(1, out);
    std::string archives = ArchivesInWork({"first.zip", "second.zip", "third.zip"});
    // Files of the first archive already there, older and different.
    CreateDirectoryA(out.c_str(), nullptr);
    CreateDirectoryA((out + "first").c_str(), nullptr);
    CreateDirectoryA((out + "first\\data").c_str(), nullptr);
    ASSERT_TRUE(testsupport::WriteBytes(out + "first\\readme.txt", "old readme"));
    ASSERT_TRUE(testsupport::WriteBytes(out + "first\\data\\numbers.bin", "old numbers"));

    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(archives));

    HWND question = varnito.WaitForWindow(OverwriteCaption);
    ASSERT_TRUE(question) << "no overwrite question for the first archive";
    std::string fileLine = ControlText(question, FileLine);
    EXPECT_TRUE(fileLine == " readme.txt" || fileLine == " numbers.bin") << fileLine;
    ASSERT_TRUE(ClickAndWait(question, OverwriteAllRadio));
    EXPECT_TRUE(IsChecked(question, OverwriteAllRadio));
    PressButton(question, IDOK);

    // The second archive is stopped while its entries are being written.
    HWND progress = ProgressOf(varnito, "second.zip");
    ASSERT_TRUE(progress) << "the second archive never showed its progress";
    EXPECT_FALSE(varnito.WaitForWindow(OverwriteCaption, "#32770", 0)) << "asked again after 全て上書き";
    PressButton(progress, IDCANCEL);

    ASSERT_TRUE(varnito.WaitForExit(60000)) << "the run did not end";
    for (HWND window : varnito.Windows()) ADD_FAILURE() << "window left: " << Text(window);

    EXPECT_EQ(TreeDifferences(FilesOnly(UnzippedTree("first.zip")), FilesOnly(ReadTree(out + "first"))), "");
    EXPECT_EQ(TreeDifferences(FilesOnly(UnzippedTree("third.zip")), FilesOnly(ReadTree(out + "third"))), "");
    size_t secondFiles = FilesOnly(ReadTree(out + "second")).size();
    EXPECT_LT(secondFiles, static_cast<size_t>(SecondArchiveFiles)) << "the abort did not stop the second archive";
}

// An encrypted archive twice over: its password cancelled, the run ends without a message and
// goes on to the next archive; typed once, every file of it is written.
TEST_F(ImmediateMode, ACancelledPasswordEndsTheArchiveQuietlyAndATypedOneWritesEveryFile) {
    std::string out = work / "out\\";
    PrepareProfile(1, out);
    std::string in = work / "in\\";
    CreateDirectoryA(in.c_str(), nullptr);
    for (const char* name : {"cancelled.zip", "typed.zip"})
        ASSERT_TRUE(CopyFileA((FixtureFolder() + "first-pw.zip").c_str(), (in + name).c_str(), FALSE));

    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(in + "cancelled.zip " + in + "typed.zip"));
    // The dialog of an archive, or any message box.
    auto dialogOf = [&](const std::string& archiveName) {
        return WaitUntil([&]() -> HWND {
            for (HWND window : varnito.Windows())
                if (IsMessageBox(window) ||
                    (Text(window) == PasswordCaption && ControlText(window, PasswordArchiveLine) == archiveName))
                    return window;
            return nullptr;
        });
    };
    HWND dialog = dialogOf("cancelled.zip");
    ASSERT_TRUE(dialog && !IsMessageBox(dialog)) << "no password dialog for the first archive";
    PressButton(dialog, IDCANCEL);
    dialog = dialogOf("typed.zip");
    ASSERT_TRUE(dialog) << "the run did not go on to the second archive";
    ASSERT_FALSE(IsMessageBox(dialog)) << "a message after キャンセル: " << ControlText(dialog, 0xFFFF);
    ASSERT_TRUE(SetControlText(dialog, PasswordBox, "Varnito1"));
    PressButton(dialog, IDOK);

    ASSERT_TRUE(varnito.WaitForExit(60000)) << "the run did not end";
    for (HWND window : varnito.Windows()) ADD_FAILURE() << "window left: " << Text(window);
    EXPECT_TRUE(FilesOnly(ReadTree(out + "cancelled")).empty());
    EXPECT_EQ(TreeDifferences(FilesOnly(UnzippedTree("first.zip")), FilesOnly(ReadTree(out + "typed"))), "");
}

TEST_F(ImmediateMode, WithoutOverwriteQuestionsExistingFilesStayAsTheyWere) {
    std::string out = work / "out\\";
    PrepareProfile(1, out);
    WriteProfileNumber("UpdateChkFlag", 0);
    std::string archives = ArchivesInWork({"first.zip"});
    CreateDirectoryA(out.c_str(), nullptr);
    CreateDirectoryA((out + "first").c_str(), nullptr);
    ASSERT_TRUE(testsupport::WriteBytes(out + "first\\readme.txt", "mine"));

    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(archives));
    ASSERT_TRUE(varnito.WaitForExit());

    EXPECT_EQ(testsupport::ReadBytes(out + "first\\readme.txt"), "mine");
    FileTree expected = FilesOnly(UnzippedTree("first.zip"));
    expected.erase("readme.txt");
    FileTree actual = FilesOnly(ReadTree(out + "first"));
    actual.erase("readme.txt");
    EXPECT_EQ(TreeDifferences(expected, actual), "");
}

// The other bundled plug-ins in a run: a 7z archive and a TAR in xz, extracted as 7z and tar do.
TEST_F(ImmediateMode, A7zArchiveAndATarXzExtractAs7zAndTarDo) {
    std::string out = work / "out\\";
    PrepareProfile(1, out);
    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(ArchivesInWork({"first.7z", "third.tar.xz"})));
    ASSERT_TRUE(varnito.WaitForExit(60000));
    EXPECT_EQ(TreeDifferences(UnzippedTree("first.7z"), ReadTree(out + "first")), "");
    EXPECT_EQ(TreeDifferences(FilesOnly(UnzippedTree("third.tar.xz")), FilesOnly(ReadTree(out + "third.tar"))), "");
}

// A 7z archive in 7-Zip's volumes, named on the command line by its first piece, extracts as
// the whole archive, into a folder named after the set.
TEST_F(ImmediateMode, A7zArchiveInVolumesExtractsFromItsFirstPiece) {
    std::string out = work / "out\\";
    PrepareProfile(1, out);
    std::string first = ArchivesInWork({"volumes.7z.001"});
    for (const char* later : {"volumes.7z.002", "volumes.7z.003"}) ASSERT_TRUE(CopyFixture(later, work / "in\\"));
    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(first));
    ASSERT_TRUE(varnito.WaitForExit(60000));
    for (HWND window : varnito.Windows()) ADD_FAILURE() << "window left: " << Text(window);
    EXPECT_EQ(TreeDifferences(UnzippedTree("first.7z"), ReadTree(out + "volumes.7z")), "");
}

}  // namespace
}  // namespace e2e
