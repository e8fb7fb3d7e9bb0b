#include "spi/common/password/PasswordMemory.h"

#include "text/Cp932.h"

namespace password {

PasswordMemory::PasswordMemory(Asker asker) : asker_(std::move(asker)) {}

void PasswordMemory::ArchiveCalled(const std::string& archivePath) {
    if (cp932::UpperAscii(archivePath) != cancelled_) cancelled_.clear();
}

PromptAnswer PasswordMemory::Obtain(const std::string& archivePath, std::string* password) {
    const std::string key = cp932::UpperAscii(archivePath);
    auto kept = kept_.find(key);
    if (kept != kept_.end()) {
        *password = kept->second;
        return PromptAnswer::Ok;
    }
    return Ask(key, archivePath, false, password);
}

PromptAnswer PasswordMemory::ObtainAfterWrong(const std::string& archivePath, std::string* password) {
    const std::string key = cp932::UpperAscii(archivePath);
    kept_.erase(key);
    return Ask(key, archivePath, true, password);
}

PromptAnswer PasswordMemory::Ask(const std::string& key, const std::string& archivePath, bool afterWrongOne,
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
