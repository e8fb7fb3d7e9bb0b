#pragma once
// When a plug-in asks for a password, and what it keeps: the password that opened an archive
// is kept for that archive while the plug-in stays loaded, so extracting its entries one call
// after another asks once. After the user cancelled for an archive, the plug-in asks no more
// about it (its remaining encrypted entries fail at once) until the host calls about another
// archive. Archives are told apart by their paths as the host names them, ignoring case.
#include <functional>
#include <map>
#include <string>

#include "spi/common/password/PasswordPrompt.h"

namespace password {

class PasswordMemory {
public:
    // Shows the dialog: PasswordPrompt::Ask, or a stand-in in tests of the rule.
    using Asker = std::function<PromptAnswer(const std::wstring& archivePath, bool afterWrongOne, std::string* typed)>;
    explicit PasswordMemory(Asker asker = &PasswordPrompt::Ask);

    // Every call of the host that names an archive passes it here first: a call about another
    // archive than the cancelled one lifts the cancel.
    void ArchiveCalled(const std::wstring& archivePath);

    // The password to try for the archive: the kept one, or (when none is kept) the one the
    // user types. Cancelled without asking while a cancel for this archive stands.
    PromptAnswer Obtain(const std::wstring& archivePath, std::string* password);
    // The password from Obtain did not open the archive: it is forgotten and the user asked
    // again, the dialog saying the last one was wrong.
    PromptAnswer ObtainAfterWrong(const std::wstring& archivePath, std::string* password);

private:
    PromptAnswer Ask(const std::wstring& key, const std::wstring& archivePath, bool afterWrongOne, std::string* password);

    Asker asker_;
    std::map<std::wstring, std::string> kept_;  // by the path with its ASCII letters upper-cased
    std::wstring cancelled_;                     // upper-cased path; empty when none
};

}  // namespace password
