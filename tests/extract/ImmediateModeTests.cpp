#include <gtest/gtest.h>
#include "core/SettingIO.h"
#include "tests/extract/ExtractTestSupport.h"
#include "tests/support/TestProfile.h"
#include "tests/support/TestSupport.h"

using namespace extracttest;
using Files = std::vector<std::string>;

namespace {
// Runs the program with a command-line text and waits for it to end.
bool RunVarnito(const std::string& arguments, DWORD timeoutMs) {
    std::string program = testsupport::ExeFolder() + "..\\bin\\Varnito.exe";
    std::string command = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    bool ended = WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}
}  // namespace

TEST(ImmediateMode, TheProgramExtractsEveryArchiveOfItsCommandLineIntoItsFolder) {
    testsupport::CleanProfile clean;
    testsupport::TempDir work;
    CSettingIO settings;
    settings.WriteInt("", "DefrostingMode", 1);
    settings.WriteInt("", "OpenCheckFlag", 0);
    settings.WriteString("", "SpiFold", FixturePluginFolder().c_str());
    settings.WriteString("", "DefrostingFold", (work / "out\\").c_str());
    WriteFixtureArchive(work / "a.fix", {{"doc\\", "x.txt", "X", 1200000000}});
    WriteFixtureArchive(work / "b.fix", {{"", "y.txt", "Y"}});

    ASSERT_TRUE(RunVarnito(work / "a.fix" + " " + work / "b.fix", 60000));
    EXPECT_EQ(ListTree(work / "out"), Files({"a\\", "a\\doc\\", "a\\doc\\x.txt", "b\\", "b\\y.txt"}));
    EXPECT_EQ(testsupport::ReadBytes(work / "out\\a\\doc\\x.txt"), "X");
    EXPECT_EQ(ModificationTimestamp(work / "out\\a\\doc\\x.txt"), 1200000000);
}
