#include "spi/common/password/ArchivePasswords.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <utility>

#include "spi/common/SpiResult.h"
#include "spi/common/password/PasswordForms.h"

namespace password {
namespace {

// Recursive: while the dialog is up its thread runs a message loop, and a window of the host
// could call the plug-in again from it; that call must not wait for itself.
std::recursive_mutex& PluginLock() {
    static std::recursive_mutex lock;
    return lock;
}

PasswordMemory& PluginMemory() {
    static PasswordMemory memory;
    return memory;
}

// The typed text in each form, without repeats (an ASCII password is the same in code page
// 932 and UTF-8) and without the forms it cannot take (bytes that are not code page 932).
std::vector<std::string> Candidates(const std::string& typed, const std::vector<PasswordForm>& forms) {
    std::vector<std::string> candidates;
    for (PasswordForm form : forms) {
        std::string bytes = form == PasswordForm::Cp932 ? typed
                            : form == PasswordForm::Utf8 ? AsUtf8(typed)
                                                          : AsUtf16Le(typed);
        if (bytes.empty() && !typed.empty()) continue;
        if (std::find(candidates.begin(), candidates.end(), bytes) == candidates.end())
            candidates.push_back(std::move(bytes));
    }
    return candidates;
}

void Forget(std::string* text) {
    if (!text->empty()) SecureZeroMemory(&(*text)[0], text->size());
    text->clear();
}

// No form of the typed text opened the item, and none came near: the password is wrong.
constexpr int NoneOpened = -1;

// Tries every form of the typed text: SpiSuccess, SpiInternalError, SpiBrokenData when a form
// passed the check but the data did not hold together, or NoneOpened.
int TryForms(const std::string& typed, const std::vector<PasswordForm>& forms, const PasswordSource::Trial& trial) {
    int result = NoneOpened;
    std::vector<std::string> candidates = Candidates(typed, forms);
    for (const std::string& bytes : candidates) {
        PasswordSource::Attempt attempt = trial(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (attempt == PasswordSource::Attempt::Opened) result = SpiSuccess;
        if (attempt == PasswordSource::Attempt::Failed) result = SpiInternalError;
        if (attempt == PasswordSource::Attempt::Damaged) result = SpiBrokenData;
        if (attempt == PasswordSource::Attempt::Opened || attempt == PasswordSource::Attempt::Failed) break;
    }
    for (std::string& bytes : candidates) Forget(&bytes);
    return result;
}

}  // namespace

void ArchiveCalled(const wchar_t* archivePath) {
    std::lock_guard<std::recursive_mutex> lock(PluginLock());
    PluginMemory().ArchiveCalled(archivePath ? archivePath : L"");
}

PromptAnswer ObtainTyped(const std::wstring& archivePath, bool afterWrongOne, std::string* typed) {
    std::lock_guard<std::recursive_mutex> lock(PluginLock());
    return afterWrongOne ? PluginMemory().ObtainAfterWrong(archivePath, typed) : PluginMemory().Obtain(archivePath, typed);
}

ArchivePasswords::ArchivePasswords(std::wstring archivePath, std::vector<PasswordForm> forms)
    : archivePath_(std::move(archivePath)), forms_(std::move(forms)) {}

int ArchivePasswords::Unlock(const Trial& trial) {
    std::lock_guard<std::recursive_mutex> lock(PluginLock());
    return UnlockWith(PluginMemory(), archivePath_, forms_, trial);
}

int UnlockWith(PasswordMemory& memory, const std::wstring& archivePath, const std::vector<PasswordForm>& forms,
               const PasswordSource::Trial& trial) {
    std::string typed;
    PromptAnswer answer = memory.Obtain(archivePath, &typed);
    int result = SpiAborted;
    while (answer == PromptAnswer::Ok) {
        result = TryForms(typed, forms, trial);
        if (result != NoneOpened) break;
        answer = memory.ObtainAfterWrong(archivePath, &typed);
        result = SpiAborted;
    }
    Forget(&typed);
    return result;
}

}  // namespace password
