// F1 in a copy of the program unpacked into a folder named in scripts code page 932 cannot
// spell: the help file beside the copy is found and handed to the shell.
#include "tests/e2e/E2eTest.h"
#include "tests/support/RecordedStarts.h"
#include "tests/support/ShellFileType.h"

namespace e2e {
namespace {

constexpr char SettingsCaption[] = "Varnito環境設定";
constexpr int PluginFolderEdit = 1001;

class HelpBesideACopy : public E2eTest {
protected:
    // Makes the folder (and every folder along it), copies Varnito.exe into it, and writes a
    // Varnito.chm beside it holding `content`; the path of that Varnito.chm.
    std::wstring UnpackInto(const std::wstring& folder, const std::string& content) {
        for (size_t end = folder.find(L'\\', 3); ; end = folder.find(L'\\', end + 1)) {
            CreateDirectoryW((L"\\\\?\\" + folder.substr(0, end)).c_str(), nullptr);
            if (end == std::wstring::npos) break;
        }
        std::wstring program = folder + L"\\Varnito.exe", help = folder + L"\\Varnito.chm";
        EXPECT_TRUE(CopyFileW(testsupport::Wide(ProgramPath()).c_str(), (L"\\\\?\\" + program).c_str(), FALSE));
        HANDLE file = CreateFileW((L"\\\\?\\" + help).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
        CloseHandle(file);
        return help;
    }

    // Starts the copy in the folder without arguments and presses F1 in its settings dialog;
    // the command line the viewer was started with.
    std::string PressF1InSettingsOf(const std::wstring& folder) {
        testsupport::ClearRecordedStarts(viewer.Folder());
        VarnitoProcess copy;
        EXPECT_TRUE(copy.Start(L"", folder + L"\\Varnito.exe"));
        HWND dialog = copy.WaitForWindow(SettingsCaption);
        EXPECT_TRUE(dialog);
        if (!dialog) return std::string();
        EXPECT_TRUE(TypeKeys(dialog, GetDlgItem(dialog, PluginFolderEdit), {VK_F1}));
        auto starts = viewer.Starts();
        EXPECT_EQ(starts.size(), 1u);
        PressButton(dialog, IDCANCEL);
        EXPECT_TRUE(copy.WaitForExit());
        return starts.empty() ? std::string() : starts[0];
    }

    testsupport::RecordingProgram viewer;
    testsupport::ShellFileType chm{"chm", nullptr, "\"" + viewer.Path() + "\" \"%1\""};
};

TEST_F(HelpBesideACopy, OpensFromAFolderOfAnyName) {
    // A folder named in scripts code page 932 has no spelling for.
    std::wstring named = testsupport::Wide(work.path()) + L"한국어_Ελληνικά_😀";
    std::wstring help = UnpackInto(named, "beside the named copy");
    // The viewer, an ANSI program, gets those characters as "?".
    EXPECT_EQ(PressF1InSettingsOf(named), "\"" + testsupport::Narrow(help) + "\"");
}

}  // namespace
}  // namespace e2e
