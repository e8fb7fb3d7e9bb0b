#pragma once
// The coders of one folder wired together as its header says, reading the folder's packed
// streams from the archive and producing the folder's output from its start.
#include <memory>
#include <vector>
#include "spi/common/ByteSource.h"
#include "spi/common/codecs/Decoder.h"
#include "spi/sevenzip/Contents.h"
#include "spi/sevenzip/Decryption.h"

namespace sevenzip {

class FolderDecoder {
public:
    FolderDecoder() = default;
    FolderDecoder(const FolderDecoder&) = delete;
    FolderDecoder& operator=(const FolderDecoder&) = delete;

    // Makes the decoders of contents.folders[folder] over `source` (both, and `decryption` when
    // given, must outlive this object). SpiResult: SpiUnknownFormat for a method this plug-in
    // does not unpack (PPMd, encryption without a decryption, ...), SpiBrokenData for
    // properties that make no sense, SpiNoMemory, and the decryption's failures.
    int Open(ByteSource& source, const Contents& contents, size_t folder, Decryption* decryption = nullptr);
    // Unpacks the next bytes of the folder's output, up to `size`; *produced is less only at
    // the end of the output. SpiResult: SpiBrokenData for damaged data, SpiReadError, ...
    int Read(uint8_t* out, size_t size, size_t* produced);
    // Reads and drops `count` bytes. SpiResult as Read; SpiBrokenData when the output is shorter.
    int Skip(uint64_t count);

private:
    // The decoder that produces the output of coder `index`, made with what it reads.
    codecs::Decoder* Build(uint32_t index, int depth);
    codecs::ByteInput* BytesOf(uint32_t input, int depth);
    codecs::Decoder* DecoderOf(uint32_t input, int depth);
    codecs::Decoder* MakeCoder(const Coder& coder, uint32_t index, uint32_t firstInput, int depth);
    codecs::Decoder* MakeDecryptor(const Coder& coder, uint32_t index, uint32_t firstInput, int depth);
    int ResultOf(codecs::Status status) const;

    ByteSource* source_ = nullptr;
    const Contents* contents_ = nullptr;
    const Folder* folder_ = nullptr;
    Decryption* decryption_ = nullptr;
    int failure_ = 0;  // why Build returned null
    codecs::Decoder* output_ = nullptr;
    std::vector<std::unique_ptr<codecs::Input>> inputs_;
    std::vector<std::unique_ptr<codecs::DecoderInput>> decoderInputs_;
    std::vector<std::unique_ptr<codecs::ByteInput>> byteInputs_;
    std::vector<std::unique_ptr<codecs::Decoder>> decoders_;
};

}  // namespace sevenzip
