#pragma once
// The password of one 7z archive as 7z.spi uses it: asked for through the plug-in's password
// dialog when an encrypted folder or header is first read (once per archive while the plug-in
// stays loaded, the plug-in's one memory in spi/common/password), taken as UTF-16LE as 7-Zip takes it, and turned into the
// AES key of each folder. A wrong password cannot be told from damage by the cipher itself:
// it garbles what it decrypts, which then fails to decode or fails its CRC. Until a password
// has opened something of this archive, such a failure is taken for a wrong password and the
// user asked again; after that, it is damage.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include "spi/common/crypto/SevenZipAes.h"
#include "spi/sevenzip/Decryption.h"

class ArchivePassword : public sevenzip::Decryption {
public:
    explicit ArchivePassword(const wchar_t* archivePath);
    ~ArchivePassword() override;
    ArchivePassword(const ArchivePassword&) = delete;
    ArchivePassword& operator=(const ArchivePassword&) = delete;

    // Runs `attempt`, a read of something the password guards, until it succeeds, fails for a
    // reason a wrong password does not explain, or the user cancels the password (SpiAborted).
    // After a wrong password the user is asked again and `attempt` runs again from its start,
    // told so by its argument. The SpiResult of the last attempt.
    int Attempt(const std::function<int(bool again)>& attempt);

    std::unique_ptr<codecs::Decoder> Open(const std::vector<uint8_t>& properties, codecs::ByteInput& input,
                                          uint64_t size, int* failure) override;

private:
    using Key = std::array<uint8_t, crypto::kSevenZipKeySize>;
    // The password from the memory or the user; false when the user cancelled.
    bool Obtain(bool afterWrongOne);
    // The key of these properties for the password, made once; false when CNG failed.
    bool KeyFor(const crypto::SevenZipAesProperties& properties, Key* key);
    void Clear();

    std::wstring path_;
    bool have_ = false;
    std::string password_;           // UTF-16LE
    bool confirmed_ = false;         // the password opened something of this archive
    bool offered_ = false;           // a key was handed out during the running attempt
    std::map<std::string, Key> keys_;  // by the properties' cycles and salt
};
