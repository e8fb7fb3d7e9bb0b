// The path the help command hands the shell, which finds no file by a path of MAX_PATH
// characters or more.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <string>
#include <vector>
#include "tests/support/RecordedStarts.h"
#include "tests/support/ShellFileType.h"
#include "tests/support/TestSupport.h"
#include "ui/Help.h"

namespace {

// Folders below a temporary folder, the deepest itself longer than a plain path reaches;
// gone again afterwards.
class DeepFolder {
public:
    DeepFolder() {
        std::wstring folder = testsupport::Wide(base_.path()) + L"deep";
        for (;;) {
            CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr);
            made_.push_back(folder);
            if (folder.size() >= MAX_PATH) break;
            folder += L"\\" + std::wstring(40, L'd');
        }
    }
    ~DeepFolder() {
        for (const std::wstring& file : files_) DeleteFileW((L"\\\\?\\" + file).c_str());
        for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder)
            RemoveDirectoryW((L"\\\\?\\" + *folder).c_str());
    }
    // Writes the file in the deepest folder; its path.
    std::wstring Write(const std::wstring& name, const std::string& bytes) {
        std::wstring path = made_.back() + L"\\" + name;
        HANDLE file = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        files_.push_back(path);
        return path;
    }

private:
    testsupport::TempDir base_;
    std::vector<std::wstring> made_;
    std::vector<std::wstring> files_;
};

}  // namespace

TEST(PathTheShellTakes, ALongPathBecomesAShorterOneOfTheSameFileThatTheShellOpens) {
    testsupport::RecordingProgram viewer;
    testsupport::ShellFileType chm("chm", nullptr, "\"" + viewer.Path() + "\" \"%1\"");
    DeepFolder deep;
    std::wstring help = deep.Write(L"Varnito.chm", "deep help");
    ASSERT_GE(help.size(), static_cast<size_t>(MAX_PATH));

    std::wstring given = PathTheShellTakes(help);
    EXPECT_LT(given.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ(testsupport::ReadBytes(given), "deep help");
    auto opened = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", given.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    EXPECT_GT(opened, 32);
    auto starts = viewer.Starts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], "\"" + testsupport::Narrow(given) + "\"");
}
