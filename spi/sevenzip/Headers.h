#pragma once
// Reading the headers of a 7z archive: the signature header at the start of the file, then the
// header it points to, which may itself be packed (an "encoded header") and is then unpacked
// first.
#include "spi/common/ByteSource.h"
#include "spi/sevenzip/Contents.h"
#include "spi/sevenzip/Decryption.h"

namespace sevenzip {

constexpr size_t SignatureHeaderSize = 32;

// Whether the bytes begin with the 7z signature.
bool HasSignature(const uint8_t* bytes, size_t size);

// Reads the archive's contents; an encrypted header is decrypted through `decryption`.
// SpiResult: SpiUnknownFormat for no 7z archive, a version or a feature this reader does not
// know (a header packed with a method it lacks, or encrypted when no decryption is given),
// SpiBrokenData where the headers contradict themselves or the file (or a wrong password
// garbled them), SpiReadError, SpiNoMemory, and the decryption's failures.
int ReadContents(ByteSource& source, Contents* contents, Decryption* decryption = nullptr);

// Parses the bytes of an unpacked header (kHeader ...), for the fuzzer and ReadContents. The
// packed streams it names are checked against a file of `fileSize` bytes.
int ParseHeader(const uint8_t* data, size_t size, uint64_t fileSize, Contents* contents);

}  // namespace sevenzip
