#include "spi/sevenzip/ArchivePassword.h"
#include <windows.h>
#include "spi/common/SpiResult.h"
#include "spi/common/password/PasswordForms.h"
#include "spi/common/password/ArchivePasswords.h"
#include "spi/sevenzip/AesDecoder.h"

namespace {

std::string KeyName(const crypto::SevenZipAesProperties& properties) {
    return std::string(1, static_cast<char>(properties.cycles)) +
           std::string(reinterpret_cast<const char*>(properties.salt), properties.saltSize);
}

}  // namespace

ArchivePassword::ArchivePassword(const wchar_t* archivePath) : path_(archivePath ? archivePath : L"") {}

ArchivePassword::~ArchivePassword() { Clear(); }

int ArchivePassword::Attempt(const std::function<int(bool again)>& attempt) {
    for (bool again = false;; again = true) {
        offered_ = false;
        const int result = attempt(again);
        if (!offered_ || confirmed_) return result;
        if (result == SpiSuccess) confirmed_ = true;
        if (result != SpiBrokenData) return result;
        if (!Obtain(true)) return SpiAborted;
    }
}

std::unique_ptr<codecs::Decoder> ArchivePassword::Open(const std::vector<uint8_t>& properties,
                                                       codecs::ByteInput& input, uint64_t size, int* failure) {
    crypto::SevenZipAesProperties parsed;
    if (!crypto::ParseSevenZipAesProperties(properties.data(), properties.size(), &parsed)) {
        *failure = SpiBrokenData;
        return nullptr;
    }
    if (!have_ && !Obtain(false)) {
        *failure = SpiAborted;
        return nullptr;
    }
    offered_ = true;
    Key key;
    if (!KeyFor(parsed, &key)) {
        *failure = SpiInternalError;
        return nullptr;
    }
    std::unique_ptr<codecs::Decoder> decoder = sevenzip::MakeAesDecoder(input, key.data(), parsed.iv, size);
    SecureZeroMemory(key.data(), key.size());
    *failure = SpiNoMemory;
    return decoder;
}

bool ArchivePassword::Obtain(bool afterWrongOne) {
    Clear();
    std::string typed;
    if (password::ObtainTyped(path_, afterWrongOne, &typed) != password::PromptAnswer::Ok) return false;
    password_ = password::AsUtf16Le(typed);
    SecureZeroMemory(&typed[0], typed.size());
    have_ = true;
    return true;
}

bool ArchivePassword::KeyFor(const crypto::SevenZipAesProperties& properties, Key* key) {
    const std::string name = KeyName(properties);
    auto kept = keys_.find(name);
    if (kept != keys_.end()) {
        *key = kept->second;
        return true;
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(password_.data());
    if (!crypto::DeriveSevenZipKey(properties, bytes, password_.size(), key->data())) return false;
    keys_[name] = *key;
    return true;
}

void ArchivePassword::Clear() {
    if (!password_.empty()) SecureZeroMemory(&password_[0], password_.size());
    for (auto& kept : keys_) SecureZeroMemory(kept.second.data(), kept.second.size());
    password_.clear();
    keys_.clear();
    have_ = false;
}
