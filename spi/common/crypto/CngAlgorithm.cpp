#include "spi/common/crypto/CngAlgorithm.h"

#include <cwchar>

namespace crypto {

CngAlgorithm::CngAlgorithm(const wchar_t* id, ULONG flags, const wchar_t* chainingMode) {
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&handle_, id, nullptr, flags))) {
        handle_ = nullptr;
        return;
    }
    if (!chainingMode) return;
    auto mode = reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(chainingMode));
    ULONG bytes = static_cast<ULONG>((std::wcslen(chainingMode) + 1) * sizeof(wchar_t));
    if (!BCRYPT_SUCCESS(BCryptSetProperty(handle_, BCRYPT_CHAINING_MODE, mode, bytes, 0))) {
        BCryptCloseAlgorithmProvider(handle_, 0);
        handle_ = nullptr;
    }
}

CngAlgorithm::~CngAlgorithm() {
    if (handle_) BCryptCloseAlgorithmProvider(handle_, 0);
}

}  // namespace crypto
