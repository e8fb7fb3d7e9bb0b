#include "spi/common/password/PasswordMemory.h"

namespace password {
namespace {

// Archives are told apart as the file system tells their paths apart, ASCII letters in either case.
std::wstring KeyOf(const std::wstring& archivePath) {
    std::wstring key = archivePath;
    for (wchar_t& c : key)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return key;
}

}  // namespace

PasswordMemory::PasswordMemory(Asker asker) : asker_(std::move(asker)) {}

void PasswordMemory::ArchiveCalled(const std::wstring& archivePath) {
    if (KeyOf(archivePath) != cancelled_) cancelled_.clear();
}

PromptAnswer PasswordMemory::Obtain(const std::wstring& archivePath, std::string* password) {
    const std::wstring key = KeyOf(archivePath);
    auto kept = kept_.find(key);
    if (kept != kept_.end()) {
        *password = kept->second;
        return PromptAnswer::Ok;
    }
    return Ask(key, archivePath, false, password);
}

PromptAnswer PasswordMemory::ObtainAfterWrong(const std::wstring& archivePath, std::string* password) {
    const std::wstring key = KeyOf(archivePath);
    kept_.erase(key);
    return Ask(key, archivePath, true, password);
}

PromptAnswer PasswordMemory::Ask(const std::wstring& key, const std::wstring& archivePath, bool afterWrongOne,
                                 std::string* password) {
    if (!key.empty() && key == cancelled_) return PromptAnswer::Cancelled;
    if (asker_(archivePath, afterWrongOne, password) == PromptAnswer::Cancelled) {
        cancelled_ = key;
        return PromptAnswer::Cancelled;
    }
    kept_[key] = *password;
    return PromptAnswer::Ok;
}

}  // namespace password
