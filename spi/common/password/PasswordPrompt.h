#pragma once
// The small modal dialog in which a plug-in asks for an archive's password: the archive's file
// name, one password box, OK and キャンセル, and after a wrong password a line saying so. It is
// owned by the calling thread's active window (the host's list or progress window) and
// centred on it. The dialog template is linked into the plug-in (PasswordDialog.rc, through
// the spi_password_dialog object library).
#include <string>

namespace password {

enum class PromptAnswer { Ok, Cancelled };

class PasswordPrompt {
public:
    // archivePath: the archive as the host named it; its file name is shown. afterWrongOne:
    // the password typed last for it was wrong. On Ok, *typed holds the text typed (code page
    // 932 bytes, possibly empty). Cancelled also when the dialog could not be shown.
    static PromptAnswer Ask(const std::wstring& archivePath, bool afterWrongOne, std::string* typed);
};

}  // namespace password
