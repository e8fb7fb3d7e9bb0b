// When the plug-ins ask for a password, with a stand-in for the dialog that answers from a
// script and counts how often it was shown.
#include <gtest/gtest.h>

#include <deque>

#include "spi/common/SpiResult.h"
#include "spi/common/password/ArchivePasswords.h"
#include "spi/common/password/PasswordMemory.h"

using password::PasswordMemory;
using password::PromptAnswer;

namespace {

struct ScriptedUser {
    std::deque<std::string> answers;  // "" for キャンセル, else "=password"
    std::vector<bool> askedAfterWrong;

    PasswordMemory::Asker Asker() {
        return [this](const std::wstring&, bool afterWrongOne, std::string* typed) {
            askedAfterWrong.push_back(afterWrongOne);
            if (answers.empty()) {
                ADD_FAILURE() << "asked more often than expected";
                return PromptAnswer::Cancelled;
            }
            std::string answer = answers.front();
            answers.pop_front();
            if (answer.empty()) return PromptAnswer::Cancelled;
            *typed = answer.substr(1);
            return PromptAnswer::Ok;
        };
    }
};

TEST(PasswordMemory, AsksOncePerArchiveAndKeepsTheAnswerForEveryLaterEntry) {
    ScriptedUser user{{"=first", "=second"}, {}};
    PasswordMemory memory(user.Asker());
    std::string password;
    for (int entry = 0; entry < 5; ++entry) {
        memory.ArchiveCalled(L"C:\\in\\a.zip");
        ASSERT_EQ(memory.Obtain(L"C:\\in\\a.zip", &password), PromptAnswer::Ok);
        EXPECT_EQ(password, "first");
    }
    memory.ArchiveCalled(L"C:\\in\\b.7z");
    ASSERT_EQ(memory.Obtain(L"C:\\in\\b.7z", &password), PromptAnswer::Ok);
    EXPECT_EQ(password, "second");
    ASSERT_EQ(memory.Obtain(L"c:\\IN\\A.ZIP", &password), PromptAnswer::Ok) << "the same file named in other case";
    EXPECT_EQ(password, "first");
    EXPECT_EQ(user.askedAfterWrong.size(), 2u);
}

TEST(PasswordMemory, AWrongPasswordIsForgottenAndTheUserAskedAgainSayingSo) {
    ScriptedUser user{{"=wrong", "=right"}, {}};
    PasswordMemory memory(user.Asker());
    std::string password;
    ASSERT_EQ(memory.Obtain(L"a.zip", &password), PromptAnswer::Ok);
    ASSERT_EQ(memory.ObtainAfterWrong(L"a.zip", &password), PromptAnswer::Ok);
    EXPECT_EQ(password, "right");
    ASSERT_EQ(memory.Obtain(L"a.zip", &password), PromptAnswer::Ok);
    EXPECT_EQ(password, "right");
    EXPECT_EQ(user.askedAfterWrong, (std::vector<bool>{false, true}));
}

TEST(PasswordMemory, AfterACancelTheArchiveIsNotAskedAboutUntilAnotherArchiveIs) {
    ScriptedUser user{{"", "=other", "=again"}, {}};
    PasswordMemory memory(user.Asker());
    std::string password = "untouched";
    memory.ArchiveCalled(L"a.zip");
    EXPECT_EQ(memory.Obtain(L"a.zip", &password), PromptAnswer::Cancelled);
    for (int entry = 0; entry < 3; ++entry) {
        memory.ArchiveCalled(L"a.zip");
        EXPECT_EQ(memory.Obtain(L"a.zip", &password), PromptAnswer::Cancelled);
        EXPECT_EQ(memory.ObtainAfterWrong(L"a.zip", &password), PromptAnswer::Cancelled);
    }
    EXPECT_EQ(password, "untouched");
    EXPECT_EQ(user.askedAfterWrong.size(), 1u);

    memory.ArchiveCalled(L"b.zip");
    ASSERT_EQ(memory.Obtain(L"b.zip", &password), PromptAnswer::Ok);
    memory.ArchiveCalled(L"a.zip");
    ASSERT_EQ(memory.Obtain(L"a.zip", &password), PromptAnswer::Ok);
    EXPECT_EQ(password, "again");
}

TEST(PasswordMemory, ACancelAfterAWrongPasswordKeepsNoPassword) {
    ScriptedUser user{{"=wrong", "", "=right"}, {}};
    PasswordMemory memory(user.Asker());
    std::string password;
    memory.ArchiveCalled(L"a.zip");
    ASSERT_EQ(memory.Obtain(L"a.zip", &password), PromptAnswer::Ok);
    EXPECT_EQ(memory.ObtainAfterWrong(L"a.zip", &password), PromptAnswer::Cancelled);
    memory.ArchiveCalled(L"b.zip");
    memory.ArchiveCalled(L"a.zip");
    ASSERT_EQ(memory.Obtain(L"a.zip", &password), PromptAnswer::Ok) << "asked anew, not the wrong one kept";
    EXPECT_EQ(password, "right");
}

}  // namespace

// A form of the typed text that passes a weak check but does not unpack (ZipCrypto's one check
// byte passes a wrong password 1 time in 256) gives way to the text's other forms; when none
// opens the entry it is damaged, and the user is not told the password was wrong.
TEST(PasswordMemory, AFormThatPassesTheCheckButDoesNotUnpackGivesWayToTheOtherForms) {
    using Attempt = PasswordSource::Attempt;
    const std::vector<password::PasswordForm> forms = {password::PasswordForm::Cp932, password::PasswordForm::Utf8};
    const std::string typed = "\x83\x70\x83\x58";  // パス in code page 932
    std::string utf8Form;
    ScriptedUser user{{"=" + typed}, {}};
    PasswordMemory memory(user.Asker());
    int result = password::UnlockWith(memory, L"a.zip", forms, [&](const uint8_t* bytes, size_t size) {
        std::string form(reinterpret_cast<const char*>(bytes), size);
        if (form == typed) return Attempt::Damaged;
        utf8Form = form;
        return Attempt::Opened;
    });
    EXPECT_EQ(result, SpiSuccess);
    EXPECT_EQ(utf8Form, "\xE3\x83\x91\xE3\x82\xB9");

    int tries = 0;
    result = password::UnlockWith(memory, L"a.zip", forms, [&](const uint8_t*, size_t) {
        ++tries;
        return Attempt::Damaged;
    });
    EXPECT_EQ(result, SpiBrokenData);
    EXPECT_EQ(tries, 2);
    EXPECT_EQ(user.askedAfterWrong, (std::vector<bool>{false})) << "asked once, never told it was wrong";
}
