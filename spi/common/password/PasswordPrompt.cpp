#include "spi/common/password/PasswordPrompt.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "spi/common/password/PasswordDialogIds.h"

namespace password {
namespace {

constexpr int kLongestPassword = 1024;  // bytes the box takes

struct DialogState {
    const std::wstring* archivePath;
    bool afterWrongOne;
    std::string* typed;
};

// The module holding this code, and so the dialog template: the plug-in, or a test program.
HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

// Centred on the owner, or on the work area when there is none; kept on the screen.
void CentreOnOwner(HWND dialog) {
    RECT area, box, around;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!owner || !IsWindowVisible(owner) || IsIconic(owner) || !GetWindowRect(owner, &around)) around = area;
    GetWindowRect(dialog, &box);
    const LONG width = box.right - box.left, height = box.bottom - box.top;
    LONG left = around.left + (around.right - around.left - width) / 2;
    LONG top = around.top + (around.bottom - around.top - height) / 2;
    left = std::max(area.left, std::min(left, area.right - width));
    top = std::max(area.top, std::min(top, area.bottom - height));
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Initialise(HWND dialog, const DialogState& state) {
    const std::wstring& path = *state.archivePath;
    const size_t separator = path.find_last_of(L"\\/:");
    SetDlgItemTextW(dialog, IDC_PASSWORD_ARCHIVE, path.c_str() + (separator == std::wstring::npos ? 0 : separator + 1));
    ShowWindow(GetDlgItem(dialog, IDC_PASSWORD_WRONG), state.afterWrongOne ? SW_SHOW : SW_HIDE);
    SendDlgItemMessageA(dialog, IDC_PASSWORD_EDIT, EM_LIMITTEXT, kLongestPassword, 0);
    CentreOnOwner(dialog);
    SetFocus(GetDlgItem(dialog, IDC_PASSWORD_EDIT));
}

void TakeTyped(HWND dialog, std::string* typed) {
    std::vector<char> text(kLongestPassword + 1);
    const int length = GetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, text.data(), static_cast<int>(text.size()));
    typed->assign(text.data(), length > 0 ? static_cast<size_t>(length) : 0);
    SecureZeroMemory(text.data(), text.size());
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        Initialise(dialog, *reinterpret_cast<const DialogState*>(lParam));
        return FALSE;  // the focus was set here
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDOK) TakeTyped(dialog, reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER))->typed);
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(dialog, id);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

PromptAnswer PasswordPrompt::Ask(const std::wstring& archivePath, bool afterWrongOne, std::string* typed) {
    DialogState state{&archivePath, afterWrongOne, typed};
    const INT_PTR result = DialogBoxParamA(ThisModule(), MAKEINTRESOURCEA(IDD_PASSWORD_DIALOG), GetActiveWindow(),
                                           &DialogProcedure, reinterpret_cast<LPARAM>(&state));
    return result == IDOK ? PromptAnswer::Ok : PromptAnswer::Cancelled;
}

}  // namespace password
