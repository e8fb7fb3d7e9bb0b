#pragma once
// An algorithm of Windows' cryptography library (CNG, bcrypt.dll), opened for the life of the
// object. bcrypt.dll is a system library, so the plug-ins that use it still import only
// Windows' own DLLs.
#include <windows.h>
#include <bcrypt.h>

namespace crypto {

class CngAlgorithm {
public:
    // id: BCRYPT_SHA1_ALGORITHM and the like; flags: BCRYPT_ALG_HANDLE_HMAC_FLAG for HMAC.
    // chainingMode (BCRYPT_CHAIN_MODE_ECB or _CBC), when given, is set for every key made from it.
    CngAlgorithm(const wchar_t* id, ULONG flags, const wchar_t* chainingMode = nullptr);
    ~CngAlgorithm();
    CngAlgorithm(const CngAlgorithm&) = delete;
    CngAlgorithm& operator=(const CngAlgorithm&) = delete;

    bool ok() const { return handle_ != nullptr; }
    BCRYPT_ALG_HANDLE handle() const { return handle_; }

private:
    BCRYPT_ALG_HANDLE handle_ = nullptr;
};

}  // namespace crypto
