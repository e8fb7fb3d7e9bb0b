#include "spi/zip/EncryptedEntry.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>
#include "spi/common/SpiResult.h"
#include "spi/common/crypto/WinZipAes.h"
#include "spi/common/crypto/ZipCrypto.h"
#include "spi/zip/DecryptedSource.h"
#include "spi/zip/EntryExtractor.h"

namespace zip {
namespace {

using Attempt = PasswordSource::Attempt;

constexpr size_t DigestChunk = 1 << 20;
constexpr uint16_t AesVersionWithCrc = 1;  // AE-1

// The byte the decrypted header must end with: the CRC's high byte, or the DOS time's when
// the CRC was not known before the data was written.
uint8_t ZipCryptoCheckByte(const Entry& entry) {
    if (entry.flags & FlagDataDescriptor) return static_cast<uint8_t>(entry.dosTime >> 8);
    return static_cast<uint8_t>(entry.crc >> 24);
}

int ExtractZipCrypto(ByteSource& source, uint64_t offset, const DecryptedView& view, OutputSink& sink,
                     ProgressReport* progress, PasswordSource& passwords, const Entry& entry) {
    uint8_t header[crypto::kZipCryptoHeaderSize];
    if (!source.ReadAt(offset, header, sizeof header)) return SpiReadError;
    // The header's one check byte passes a wrong password 1 time in 256, so a password is
    // taken only once the entry it opens unpacks and matches its CRC; until then the sink is
    // emptied again for the next try.
    int extracted = SpiBrokenData;
    int result = passwords.Unlock([&](const uint8_t* password, size_t size) {
        crypto::ZipCrypto cipher(password, size);
        uint8_t copy[sizeof header];
        std::memcpy(copy, header, sizeof header);
        if (!cipher.AcceptsHeader(copy, ZipCryptoCheckByte(entry))) return Attempt::Wrong;
        DecryptedSource plain(source, offset + view.headerBytes, view.entry.packedSize,
                              [&](uint8_t* data, size_t count) {
                                  cipher.Decrypt(data, count);
                                  return true;
                              });
        extracted = ExtractEntryData(plain, 0, view.entry, sink, progress, true);
        if (extracted == SpiBrokenData && sink.Rewind()) return Attempt::Damaged;
        return Attempt::Opened;  // unpacked, or failed for a reason no password explains
    });
    return result == SpiSuccess ? extracted : result;
}

// Feeds the encrypted data to the authentication code and compares it with the stored one.
int Authenticate(ByteSource& source, uint64_t offset, uint64_t size, crypto::WinZipAesDecryptor& decryptor) {
    uint8_t code[crypto::kWinZipCodeSize];
    if (!source.ReadAt(offset + size, code, sizeof code)) return SpiReadError;
    std::vector<uint8_t> chunk(static_cast<size_t>(std::min<uint64_t>(DigestChunk, std::max<uint64_t>(size, 1))));
    for (uint64_t done = 0; done < size;) {
        size_t count = static_cast<size_t>(std::min<uint64_t>(chunk.size(), size - done));
        if (!source.ReadAt(offset + done, chunk.data(), count)) return SpiReadError;
        if (!decryptor.Digest(chunk.data(), count)) return SpiInternalError;
        done += count;
    }
    return decryptor.Authenticates(code) ? SpiSuccess : SpiBrokenData;
}

int ExtractWinZipAes(ByteSource& source, uint64_t offset, const DecryptedView& view, OutputSink& sink,
                     ProgressReport* progress, PasswordSource& passwords, const Entry& entry) {
    const auto strength = static_cast<crypto::WinZipAesStrength>(entry.aes.strength);
    uint8_t saltAndVerifier[crypto::kWinZipLargestSalt + crypto::kWinZipVerifierSize];
    const size_t saltSize = crypto::WinZipSaltSize(strength);
    if (saltSize + crypto::kWinZipVerifierSize != view.headerBytes) return SpiInternalError;
    if (!source.ReadAt(offset, saltAndVerifier, static_cast<size_t>(view.headerBytes))) return SpiReadError;
    std::unique_ptr<crypto::WinZipAesDecryptor> decryptor;
    int result = passwords.Unlock([&](const uint8_t* password, size_t size) {
        auto candidate = std::make_unique<crypto::WinZipAesDecryptor>();
        switch (candidate->Begin(strength, password, size, saltAndVerifier, saltAndVerifier + saltSize)) {
            case crypto::WinZipAesDecryptor::Start::WrongPassword: return Attempt::Wrong;
            case crypto::WinZipAesDecryptor::Start::Failed: return Attempt::Failed;
            case crypto::WinZipAesDecryptor::Start::Ready: break;
        }
        decryptor = std::move(candidate);
        return Attempt::Opened;
    });
    if (result != SpiSuccess) return result;
    const uint64_t dataOffset = offset + view.headerBytes;
    result = Authenticate(source, dataOffset, view.entry.packedSize, *decryptor);
    if (result != SpiSuccess) return result;
    DecryptedSource plain(source, dataOffset, view.entry.packedSize, [&](uint8_t* data, size_t size) {
        return decryptor->DecryptAfterCheck(data, size);
    });
    return ExtractEntryData(plain, 0, view.entry, sink, progress, entry.aes.version == AesVersionWithCrc);
}

}  // namespace

int ExtractEncryptedEntry(ByteSource& source, const Entry& entry, OutputSink& sink, ProgressReport* progress,
                          PasswordSource& passwords) {
    int result = CheckExtractable(entry);
    Entry found = entry;
    uint64_t offset = 0;
    if (result == SpiSuccess) result = FindEntryData(source, &found, &offset);
    if (result == SpiSuccess) result = CheckExtractable(found);  // with the sizes restored
    DecryptedView view;
    if (result == SpiSuccess) result = ViewDecrypted(found, &view);
    if (result != SpiSuccess) return result;
    if (found.method == MethodWinZipAes)
        return ExtractWinZipAes(source, offset, view, sink, progress, passwords, found);
    return ExtractZipCrypto(source, offset, view, sink, progress, passwords, found);
}

}  // namespace zip
