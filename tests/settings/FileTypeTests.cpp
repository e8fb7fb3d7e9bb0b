// The settings dialog's file types on the real registry of the test prefix: which types it
// lists, what OK registers for the current user and what unchecking gives back, with copies
// of the fixture plug-in reading "ZIP", "7z" and "TAR" types.
#include <gtest/gtest.h>
#include <algorithm>
#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>
#include "core/FileAssociations.h"
#include "core/ProgramPath.h"
#include "core/SettingIO.h"
#include "res/resource.h"
#include "tests/settings/SettingsTestHelpers.h"
#include "tests/support/RecordedStarts.h"
#include "tests/support/RegistryTree.h"

using namespace settingstest;
using testsupport::PluginFile;
using testsupport::RegistryKeyExists;
using testsupport::RegistryText;
using testsupport::RegistryTree;

namespace {

const std::wstring Classes = L"Software\\Classes";
const std::wstring Kept = L"Software\\Morvel\\Varnito\\PreviousFileTypes";
const std::vector<std::string> AllTypes = {".zip", ".7z", ".tar", ".tgz", ".gz"};
// A type no program of the test prefix has, for the shell to open.
constexpr wchar_t ShellTestType[] = L".vntest";

std::wstring TypeKey(const std::wstring& type) { return Classes + L"\\" + type; }
std::wstring VerbKey(const std::wstring& type) {
    return Classes + L"\\SystemFileAssociations\\" + type + L"\\shell\\Varnito.Extract";
}
std::wstring ProgIdKey() { return Classes + L"\\Varnito.Archive"; }

// Every key a test may leave under the user's classes.
std::vector<std::wstring> TestKeys() {
    std::vector<std::wstring> keys = {ProgIdKey()};
    std::vector<std::wstring> types = {ShellTestType};
    for (const std::string& type : AllTypes) types.push_back(testsupport::Wide(type));
    for (const std::wstring& type : types) {
        keys.push_back(TypeKey(type));
        keys.push_back(Classes + L"\\SystemFileAssociations\\" + type);
    }
    return keys;
}

// The shell's notices that file types changed, as a window of this thread receives them.
class AssociationNotices {
public:
    AssociationNotices() {
        window_ = CreateWindowExA(0, "Static", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
        SHChangeNotifyEntry everywhere = {nullptr, TRUE};
        id_ = SHChangeNotifyRegister(window_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel | SHCNRF_NewDelivery,
                                     SHCNE_ASSOCCHANGED, NoticeMessage, 1, &everywhere);
    }
    ~AssociationNotices() {
        if (id_) SHChangeNotifyDeregister(id_);
        DestroyWindow(window_);
    }
    bool Watching() const { return id_ != 0; }
    int Count() const {
        testsupport::PumpMessages(100);
        return static_cast<int>(GetWindowLongPtrA(window_, GWLP_USERDATA));
    }

private:
    static constexpr UINT NoticeMessage = WM_APP + 7;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == NoticeMessage) {
            LONG event = 0;
            PIDLIST_ABSOLUTE* items = nullptr;
            HANDLE lock = SHChangeNotification_Lock(reinterpret_cast<HANDLE>(wParam), static_cast<DWORD>(lParam), &items,
                                                    &event);
            if (lock) SHChangeNotification_Unlock(lock);
            if (event & SHCNE_ASSOCCHANGED)
                SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(window, GWLP_USERDATA) + 1);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
    ULONG id_ = 0;
};

class SettingsFileTypes : public testing::Test {
protected:
    void SetUp() override {
        CopyPlugins(plugins, {{PluginFile("azip"), false, "zip", "*.zip"},
                              {PluginFile("b7z"), false, "7z", "*.7z"},
                              {PluginFile("ctar"), false, "tar", "*.tar;*.TGZ; *.tar.gz;*.*;*.tar;*."},
                              {PluginFile("dimage"), true, "", "*.png"}});
        CSettingIO().Write(profile::SpiFold, testsupport::Wide(plugins.Path()));
    }

    // The dialog opened, the types checked or cleared, and OK pressed.
    void ChooseTypes(const std::vector<std::string>& checked, const std::vector<std::string>& cleared) {
        OpenSettings open;
        for (const std::string& type : checked) ASSERT_TRUE(open.CheckType(type, true)) << type;
        for (const std::string& type : cleared) ASSERT_TRUE(open.CheckType(type, false)) << type;
        open.Click(IDOK);
    }

    testsupport::CleanProfile clean{true};
    testsupport::KeyRemovedIfNew associations{HKEY_CURRENT_USER, Classes + L"\\SystemFileAssociations"};
    testsupport::DeletedKeys keys{HKEY_CURRENT_USER, TestKeys()};
    PluginTestFolder plugins;
    const std::wstring program = ProgramPath();
};

TEST_F(SettingsFileTypes, ListsEachTypeTheArchivePluginsReadOnceAndRefillsWithThem) {
    OpenSettings open;
    EXPECT_EQ(open.Types(), AllTypes);
    EXPECT_EQ(open.CheckedTypes(), std::vector<std::string>{});

    // A check given before a refill is still there after it.
    ASSERT_TRUE(open.CheckType(".7z", true));
    testsupport::TempDir empty;
    open.SetText(IDC_SETTINGS_SPI_FOLDER, empty.path());
    EXPECT_EQ(open.Types(), std::vector<std::string>{});
    open.SetText(IDC_SETTINGS_SPI_FOLDER, plugins.Path());
    EXPECT_EQ(open.Types(), AllTypes);
    EXPECT_EQ(open.CheckedTypes(), std::vector<std::string>{".7z"});
}

// The plug-in list shows 79 bytes of a plug-in's extension text, but every type of the whole
// text is offered (Tar.spi's runs to 91 bytes); only a pattern cut at the end of GetPluginInfo's
// 200-byte buffer is no type.
TEST_F(SettingsFileTypes, EveryPatternOfALongExtensionTextIsATypeUnlessTheBufferCutIt) {
    PluginTestFolder longText;
    std::string text = "*.zip";
    while (text.size() < 71) text += ";*.zip";
    text += ";*.tar.bz2;*.tzst";
    ASSERT_GT(text.size(), 79u);
    std::string filling = "*.lzh";
    while (filling.size() < 190) filling += ";*.lzh";
    filling += ";*.tar.xz";  // cut to "*.tar" by the 200-byte buffer
    CopyPlugins(longText, {{PluginFile("long"), false, "long", text}, {PluginFile("full"), false, "full", filling}});
    OpenSettings open;
    open.SetText(IDC_SETTINGS_SPI_FOLDER, longText.Path());
    std::vector<std::string> types = open.Types();
    std::sort(types.begin(), types.end());
    EXPECT_EQ(types, (std::vector<std::string>{".bz2", ".lzh", ".tzst", ".zip"}));
}

TEST_F(SettingsFileTypes, OkRegistersExactlyTheCheckedTypesForThisProgram) {
    AssociationNotices notices;
    ASSERT_TRUE(notices.Watching());
    ChooseTypes({".zip", ".7z"}, {});
    EXPECT_EQ(notices.Count(), 1) << "the shell is told once";

    const std::wstring quoted = L"\"" + program + L"\"";
    for (const wchar_t* type : {L".zip", L".7z"}) {
        SCOPED_TRACE(testsupport::Narrow(type));
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, TypeKey(type)), L"Varnito.Archive");
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, VerbKey(type)), L"Varnitoで解凍");
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, VerbKey(type) + L"\\command"), quoted + L" /extract \"%1\"");
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, Kept, type), L"") << "remembered: no default before";
    }
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, ProgIdKey()), L"Varnito で開くアーカイブ");
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, ProgIdKey() + L"\\DefaultIcon"), quoted + L",0");
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, ProgIdKey() + L"\\shell\\open\\command"), quoted + L" /open \"%1\"");
    for (const wchar_t* type : {L".tar", L".tgz", L".gz", L".png"}) {
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, TypeKey(type))) << testsupport::Narrow(type);
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, VerbKey(type))) << testsupport::Narrow(type);
    }

    OpenSettings again;
    EXPECT_EQ(again.CheckedTypes(), std::vector<std::string>({".zip", ".7z"}));
}

TEST_F(SettingsFileTypes, SelectAllRegistersEveryTypeAndClearAllGivesEachBackWhatItHad) {
    ASSERT_TRUE(testsupport::WriteRegistryText(HKEY_CURRENT_USER, TypeKey(L".zip"), L"", L"OtherApp.zip"));
    ASSERT_TRUE(testsupport::WriteRegistryText(HKEY_CURRENT_USER, TypeKey(L".zip") + L"\\OpenWithProgids",
                                               L"OtherApp.zip", L""));
    const auto before = RegistryTree(HKEY_CURRENT_USER, Classes);

    {
        OpenSettings open;
        open.Click(IDC_SETTINGS_TYPE_ALL);
        EXPECT_EQ(open.CheckedTypes(), AllTypes);
        open.Click(IDOK);
    }
    for (const std::string& type : AllTypes)
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, TypeKey(testsupport::Wide(type))), L"Varnito.Archive") << type;
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, Kept, L".zip"), L"OtherApp.zip");

    AssociationNotices notices;
    {
        OpenSettings open;
        EXPECT_EQ(open.CheckedTypes(), AllTypes);
        open.Click(IDC_SETTINGS_TYPE_NONE);
        EXPECT_EQ(open.CheckedTypes(), std::vector<std::string>{});
        open.Click(IDOK);
    }
    EXPECT_EQ(notices.Count(), 1);
    EXPECT_EQ(RegistryTree(HKEY_CURRENT_USER, Classes), before) << "the user's classes as they were";
    for (const std::string& type : AllTypes)
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, Kept, testsupport::Wide(type).c_str()), testsupport::MissingWide)
            << type << " still kept";
}

TEST_F(SettingsFileTypes, ATypeAnotherProgramTookWhileTheDialogWasOpenStaysThatPrograms) {
    ChooseTypes({".zip", ".7z"}, {});
    OpenSettings open;
    // Another program takes .zip after the dialog showed it as ours.
    ASSERT_TRUE(testsupport::WriteRegistryText(HKEY_CURRENT_USER, TypeKey(L".zip"), L"", L"Later.zip"));
    open.Click(IDC_SETTINGS_TYPE_NONE);
    open.Click(IDOK);
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, TypeKey(L".zip")), L"Later.zip");
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, TypeKey(L".7z")));
    for (const wchar_t* type : {L".zip", L".7z"}) {
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, VerbKey(type))) << testsupport::Narrow(type);
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, Kept, type), testsupport::MissingWide) << testsupport::Narrow(type);
    }
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, ProgIdKey())) << "no type names it";
}

TEST_F(SettingsFileTypes, TheProgIdStaysWhileATypeStillNamesIt) {
    ChooseTypes({".zip", ".7z"}, {});
    ChooseTypes({}, {".7z"});
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, TypeKey(L".zip")), L"Varnito.Archive");
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, TypeKey(L".7z")));
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, ProgIdKey() + L"\\shell\\open\\command"),
              L"\"" + program + L"\" /open \"%1\"");
}

TEST_F(SettingsFileTypes, OkWithoutChangesWritesNothingUnderTheClasses) {
    ChooseTypes({".zip"}, {});
    // Another program's type, and our verb left on a type it took since.
    ASSERT_TRUE(testsupport::WriteRegistryText(HKEY_CURRENT_USER, TypeKey(L".7z"), L"", L"OtherApp.7z"));
    ASSERT_TRUE(testsupport::WriteRegistryText(HKEY_CURRENT_USER, TypeKey(L".tar"), L"", L"OtherApp.tar"));
    ASSERT_TRUE(testsupport::WriteRegistryText(HKEY_CURRENT_USER, VerbKey(L".tar"), L"", L"Varnitoで解凍"));
    const auto before = RegistryTree(HKEY_CURRENT_USER, Classes, true);
    const auto keptBefore = RegistryTree(HKEY_CURRENT_USER, Kept, true);
    Sleep(20);  // a write after this would carry a later time

    AssociationNotices notices;
    {
        OpenSettings open;
        EXPECT_EQ(open.CheckedTypes(), std::vector<std::string>{".zip"});
        // Checked and cleared again is no change either.
        ASSERT_TRUE(open.CheckType(".gz", true));
        ASSERT_TRUE(open.CheckType(".gz", false));
        open.Click(IDOK);
    }
    EXPECT_EQ(RegistryTree(HKEY_CURRENT_USER, Classes, true), before);
    EXPECT_EQ(RegistryTree(HKEY_CURRENT_USER, Kept, true), keptBefore);
    EXPECT_EQ(notices.Count(), 0);
}

// The shell starts the registered command with the file it opens, as `wine start` does.
TEST_F(SettingsFileTypes, TheShellOpensARegisteredTypeWithTheProgramAndTheFile) {
    testsupport::RecordingProgram recorder("record args.exe", "with blank");
    ASSERT_TRUE(ApplyFileTypeChanges({{ShellTestType, true}}, testsupport::Wide(recorder.Path())));
    // Windows lays the user's classes over HKEY_CLASSES_ROOT; Wine 8's shell reads the
    // machine's classes alone, so the test copies what was registered there.
    testsupport::DeletedKeys machine(HKEY_CLASSES_ROOT, {ShellTestType, L"Varnito.Archive"});
    for (const wchar_t* key : {ShellTestType, L"Varnito.Archive"}) {
        HKEY target = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegCopyTreeW(HKEY_CURRENT_USER, (Classes + L"\\" + key).c_str(), target), ERROR_SUCCESS);
        RegCloseKey(target);
    }
    std::string archive = plugins.File("my archive" + testsupport::Narrow(ShellTestType), "data");
    HINSTANCE started = ShellExecuteW(nullptr, L"open", testsupport::Wide(archive).c_str(), nullptr, nullptr, SW_SHOW);
    EXPECT_GT(reinterpret_cast<INT_PTR>(started), 32);
    EXPECT_EQ(recorder.Starts(1), std::vector<std::string>{"/open \"" + archive + "\""});
}

}  // namespace
