// When the plug-ins ask for a password, with a stand-in for the dialog that answers from a
// script and counts how often it was shown.
#include <gtest/gtest.h>

#include <deque>

#include "spi/common/password/PasswordMemory.h"

using password::PasswordMemory;
using password::PromptAnswer;

namespace {

struct ScriptedUser {
    std::deque<std::string> answers;  // "" for キャンセル, else "=password"
    std::vector<bool> askedAfterWrong;

    PasswordMemory::Asker Asker() {
        return [this](const std::string&, bool afterWrongOne, std::string* typed) {
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
        memory.ArchiveCalled("C:\\in\\a.zip");
        ASSERT_EQ(memory.Obtain("C:\\in\\a.zip", &password), PromptAnswer::Ok);
        EXPECT_EQ(password, "first");
    }
    memory.ArchiveCalled("C:\\in\\b.7z");
    ASSERT_EQ(memory.Obtain("C:\\in\\b.7z", &password), PromptAnswer::Ok);
    EXPECT_EQ(password, "second");
    ASSERT_EQ(memory.Obtain("c:\\IN\\A.ZIP", &password), PromptAnswer::Ok) << "the same file named in other case";
    EXPECT_EQ(password, "first");
    EXPECT_EQ(user.askedAfterWrong.size(), 2u);
}

TEST(PasswordMemory, AWrongPasswordIsForgottenAndTheUserAskedAgainSayingSo) {
    ScriptedUser user{{"=wrong", "=right"}, {}};
    PasswordMemory memory(user.Asker());
    std::string password;
    ASSERT_EQ(memory.Obtain("a.zip", &password), PromptAnswer::Ok);
    ASSERT_EQ(memory.ObtainAfterWrong("a.zip", &password), PromptAnswer::Ok);
    EXPECT_EQ(password, "right");
    ASSERT_EQ(memory.Obtain("a.zip", &password), PromptAnswer::Ok);
    EXPECT_EQ(password, "right");
    EXPECT_EQ(user.askedAfterWrong, (std::vector<bool>{false, true}));
}

TEST(PasswordMemory, AfterACancelTheArchiveIsNotAskedAboutUntilAnotherArchiveIs) {
    ScriptedUser user{{"", "=other", "=again"}, {}};
    PasswordMemory memory(user.Asker());
    std::string password = "untouched";
    memory.ArchiveCalled("a.zip");
    EXPECT_EQ(memory.Obtain("a.zip", &password), PromptAnswer::Cancelled);
    for (int entry = 0; entry < 3; ++entry) {
        memory.ArchiveCalled("a.zip");
        EXPECT_EQ(memory.Obtain("a.zip", &password), PromptAnswer::Cancelled);
        EXPECT_EQ(memory.ObtainAfterWrong("a.zip", &password), PromptAnswer::Cancelled);
    }
    EXPECT_EQ(password, "untouched");
    EXPECT_EQ(user.askedAfterWrong.size(), 1u);

    memory.ArchiveCalled("b.zip");
    ASSERT_EQ(memory.Obtain("b.zip", &password), PromptAnswer::Ok);
    memory.ArchiveCalled("a.zip");
    ASSERT_EQ(memory.Obtain("a.zip", &password), PromptAnswer::Ok);
    EXPECT_EQ(password, "again");
}

TEST(PasswordMemory, ACancelAfterAWrongPasswordKeepsNoPassword) {
    ScriptedUser user{{"=wrong", "", "=right"}, {}};
    PasswordMemory memory(user.Asker());
    std::string password;
    memory.ArchiveCalled("a.zip");
    ASSERT_EQ(memory.Obtain("a.zip", &password), PromptAnswer::Ok);
    EXPECT_EQ(memory.ObtainAfterWrong("a.zip", &password), PromptAnswer::Cancelled);
    memory.ArchiveCalled("b.zip");
    memory.ArchiveCalled("a.zip");
    ASSERT_EQ(memory.Obtain("a.zip", &password), PromptAnswer::Ok) << "asked anew, not the wrong one kept";
    EXPECT_EQ(password, "right");
}

}  // namespace
