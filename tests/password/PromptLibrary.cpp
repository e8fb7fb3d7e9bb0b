// A stand-in for a plug-in that asks for passwords: a library holding the password dialog's
// template and code, as an archive plug-in does, so that the tests show the dialog from a
// library's resources rather than the test program's.
#include <windows.h>

#include <cstring>
#include <string>

#include "spi/common/password/PasswordPrompt.h"

// Shows the dialog; on OK copies the typed text (terminated) into `typed` and returns 1, and
// 0 when cancelled or when the text does not fit.
extern "C" __declspec(dllexport) int AskPassword(const wchar_t* archivePath, int afterWrongOne, char* typed, int room) {
    std::string text;
    if (password::PasswordPrompt::Ask(archivePath, afterWrongOne != 0, &text) != password::PromptAnswer::Ok) return 0;
    if (room <= 0 || text.size() >= static_cast<size_t>(room)) return 0;
    std::memcpy(typed, text.c_str(), text.size() + 1);
    return 1;
}
