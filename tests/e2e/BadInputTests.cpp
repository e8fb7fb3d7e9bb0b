// Input a user may hand the program by mistake, or that was made to harm: each archive gets
// its message, and nothing outside the destination folder changes.
#include "tests/e2e/E2eTest.h"

namespace e2e {
namespace {

constexpr char Caption[] = "Varnito";
constexpr char PluginCaption[] = "画像展開エラー";

class BadInput : public E2eTest {
protected:
    // Runs immediate mode on the command line and answers every box until the process ends.
    std::vector<ShownBox> RunAndAnswer(const std::string& commandLine, size_t expectedBoxes) {
        VarnitoProcess varnito;
        EXPECT_TRUE(varnito.Start(commandLine));
        std::vector<ShownBox> boxes;
        for (size_t i = 0; i < expectedBoxes; ++i) {
            ShownBox box = AnswerMessageBox(varnito.Id());
            if (!box.window) break;
            boxes.push_back(box);
        }
        EXPECT_TRUE(varnito.WaitForExit()) << "still running after " << boxes.size() << " boxes";
        return boxes;
    }
};

TEST_F(BadInput, EachBrokenArchiveGetsItsMessageAndTheNextOneStillRuns) {
    std::string out = work / "out\\";
    PrepareProfile(1, out);
    ArchivesInWork({"empty.zip", "plain.txt", "truncated.zip", "third.zip"});
    std::string in = work / "in\\";
    FileTree before = ReadTree(work.path());

    std::vector<ShownBox> boxes = RunAndAnswer(
        in + "empty.zip " + in + "missing.zip " + in + "plain.txt " + in + "truncated.zip " + in + "third.zip", 4);

    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].caption, Caption);
    EXPECT_EQ(boxes[0].text, "ファイルの内容がありません。");
    EXPECT_EQ(boxes[1].caption, Caption);
    EXPECT_EQ(boxes[1].text, "ファイルが見つかりません。");
    EXPECT_EQ(boxes[2].caption, PluginCaption);
    EXPECT_EQ(boxes[2].text, "対応するSusie32 Plug-inがありません。");
    EXPECT_EQ(boxes[3].caption, PluginCaption) << boxes[3].text;
    EXPECT_FALSE(boxes[3].text.empty());

    // Only the good archive's folder is new; the inputs are untouched.
    FileTree after = ReadTree(work.path());
    FileTree outside;
    for (const auto& [path, state] : after)
        if (path.rfind("out\\third\\", 0) != 0 || path == "out\\third\\") outside[path] = state;
    before["out\\"] = FolderState();
    before["out\\third\\"] = FolderState();
    EXPECT_EQ(TreeDifferences(before, outside), "");
    EXPECT_EQ(TreeDifferences(FilesOnly(UnzippedTree("third.zip")), FilesOnly(ReadTree(out + "third"))), "");
}

TEST_F(BadInput, NamesThatLeaveTheDestinationStayInsideIt) {
    // The destination lies two folders down, so that "../" and "../../" have somewhere to go.
    std::string out = work / "a\\b\\out\\";
    PrepareProfile(1, out);
    std::string archive = ArchivesInWork({"escaping.zip"}, "a\\");
    CreateDirectoryA((work / "a\\b").c_str(), nullptr);
    FileTree before = ReadTree(work.path());

    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(archive));
    ASSERT_TRUE(varnito.WaitForExit()) << "a box or window left: " << varnito.Windows().size();

    FileTree after = ReadTree(work.path());
    FileTree outside;
    for (const auto& [path, state] : after)
        if (path.rfind("a\\b\\out\\escaping\\", 0) != 0 || path == "a\\b\\out\\escaping\\") outside[path] = state;
    before["a\\b\\out\\"] = FolderState();
    before["a\\b\\out\\escaping\\"] = FolderState();
    EXPECT_EQ(TreeDifferences(before, outside), "");
    for (const char* rooted : {"C:\\rooted.txt", "C:\\drive.txt", "C:\\escaped.txt", "C:\\twice.txt"})
        EXPECT_FALSE(testsupport::FileExists(rooted)) << rooted;
    // The harmless entry arrived.
    EXPECT_EQ(testsupport::ReadBytes(out + "escaping\\ok.txt"), "stays inside\n");
}

TEST_F(BadInput, ListModeReportsAMissingOrEmptyArchiveAndEnds) {
    PrepareProfile(0);
    std::string empty = ArchivesInWork({"empty.zip"});
    for (const auto& [path, message] : {std::pair<std::string, std::string>{empty, "ファイルの内容がありません。"},
                                        {work / "in\\missing.zip", "ファイルが見つかりません。"}}) {
        VarnitoProcess varnito;
        ASSERT_TRUE(varnito.Start(path));
        ShownBox box = AnswerMessageBox(varnito.Id());
        EXPECT_EQ(box.caption, Caption) << path;
        EXPECT_EQ(box.text, message) << path;
        EXPECT_TRUE(varnito.WaitForExit()) << path;
    }
}

}  // namespace
}  // namespace e2e
