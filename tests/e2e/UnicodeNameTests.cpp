// Names and paths beyond code page 932 as a user meets them: an archive named 「한국어.zip」 on
// the command line, holding names of other scripts (UTF-8 flag, as every current zip tool
// writes them) and an entry under five folders of 58 characters, through the bundled ZIP
// plug-in, in immediate mode and in the list window.
#include <fstream>
#include <map>
#include <set>
#include "tests/e2e/E2eTest.h"
#include "tests/support/FolderWalk.h"

namespace e2e {
namespace {

constexpr int ListControl = 1134;

// What names.txt says the archive holds: relative path (UTF-8, '\' between parts) -> content.
std::map<std::string, std::string> ExpectedFiles() {
    std::map<std::string, std::string> files;
    std::ifstream list(FixtureFolder() + "names.txt", std::ios::binary);
    for (std::string line; std::getline(list, line);) {
        size_t tab = line.find('\t');
        if (tab != std::string::npos) files[line.substr(0, tab)] = line.substr(tab + 1) + "\n";
    }
    return files;
}

class UnicodeNames : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        input = testsupport::MakeFolder(work, L"入力") + L"한국어.zip";
        ASSERT_TRUE(CopyFileW(testsupport::Wide(FixtureFolder() + "names.zip").c_str(), input.c_str(), FALSE));
        expected = ExpectedFiles();
        ASSERT_EQ(expected.size(), 8u) << "names.txt of the build";
    }
    std::wstring input;
    std::map<std::string, std::string> expected;
};

}  // namespace

TEST_F(UnicodeNames, ImmediateModeWritesEveryNameAndTheDeepPathExactly) {
    std::string out = work / "out\\";
    PrepareProfile(1, out);
    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(input));
    ASSERT_TRUE(varnito.WaitForExit(60000));
    for (HWND window : varnito.Windows()) ADD_FAILURE() << "window left: " << Text(window);

    // The folder named after the archive keeps its name.
    std::wstring folder = testsupport::Wide(out) + L"한국어\\";
    std::set<std::string> written;
    for (const std::string& path : testsupport::ListTreeUtf8(folder))
        if (path.back() != '\\') written.insert(path);
    std::set<std::string> names;
    for (const auto& file : expected) names.insert(file.first);
    EXPECT_EQ(written, names);
    for (const auto& [name, content] : expected) {
        std::wstring path = L"\\\\?\\" + folder + testsupport::FromUtf8(name);
        EXPECT_EQ(testsupport::ReadBytes(path), content) << name;
    }
}

TEST_F(UnicodeNames, TheListWindowShowsEveryNameAndTheDeepOne) {
    PrepareProfile(0, work / "out\\");
    VarnitoProcess varnito;
    ASSERT_TRUE(varnito.Start(input));
    // The list window, once it has filled its list and its caption.
    HWND window = WaitUntil([&]() -> HWND {
        for (HWND candidate : varnito.Windows()) {
            wchar_t text[16] = {};
            GetWindowTextW(candidate, text, 16);
            if (GetDlgItem(candidate, ListControl) && std::wstring(text).rfind(L"Varnito - ", 0) == 0) return candidate;
        }
        return nullptr;
    });
    ASSERT_TRUE(window) << "no list window";
    HWND list = GetDlgItem(window, ListControl);
    wchar_t caption[128] = {};
    GetWindowTextW(window, caption, 128);
    const std::wstring expectedCaption = L"Varnito - 한국어.zip";
    EXPECT_EQ(std::wstring(caption), expectedCaption);

    std::set<std::string> shown, names;
    for (int row = 0; row < RowCount(list); ++row) shown.insert(CellTextUtf8(list, row, 6) + CellTextUtf8(list, row, 0));
    for (const auto& file : expected) names.insert(file.first);
    EXPECT_EQ(shown, names);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(varnito.WaitForExit());
}

}  // namespace e2e
