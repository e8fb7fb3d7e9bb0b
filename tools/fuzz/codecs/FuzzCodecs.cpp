// libFuzzer target: one decoder of the codec library (chosen when building, FUZZ_DECODER),
// built natively, over streams held in memory. Output is taken in pieces of changing size, so
// that stopping and resuming mid-stream is fuzzed as well.
//   FUZZ_DECODER 0: Deflate64, 1: bzip2, 2: LZMA (.lzma layout: properties, 8-byte size),
//   3: LZMA2 (raw, 1 MB dictionary), 4: xz, 5: Zstandard
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>
#include "spi/common/codecs/Decoder.h"

namespace {

constexpr uint64_t MaxOutput = 8 << 20;  // keeps each run quick

std::unique_ptr<codecs::Decoder> Make(codecs::ByteInput& input, const uint8_t* data, size_t size) {
    switch (FUZZ_DECODER) {
        case 0: return codecs::MakeDeflate64Decoder(input);
        case 1: return codecs::MakeBzip2Decoder(input);
        case 2: {
            codecs::LzmaProperties properties;
            if (size < 13 || !codecs::ParseLzmaProperties(data, &properties)) return nullptr;
            properties.dictionarySize = std::min<uint32_t>(properties.dictionarySize, 1 << 24);
            uint64_t unpacked = 0;
            for (int i = 0; i < 8; ++i) unpacked |= static_cast<uint64_t>(data[5 + i]) << (8 * i);
            return codecs::MakeLzmaDecoder(input, properties, unpacked, false);
        }
        case 3: return codecs::MakeLzma2Decoder(input, 1 << 20);
        case 4: return codecs::MakeXzDecoder(input);
        default: return codecs::MakeZstdDecoder(input);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size_t skip = FUZZ_DECODER == 2 ? 13 : 0;
    if (size < skip) return 0;
    codecs::MemoryInput memory(data + skip, size - skip);
    std::unique_ptr<codecs::ByteInput> input(new codecs::ByteInput(memory));
    std::unique_ptr<codecs::Decoder> decoder = Make(*input, data, size);
    if (!decoder) return 0;
    static const size_t pieces[] = {1, 4096, 3, 65536, 77, 1 << 20};
    std::vector<uint8_t> out(1 << 20);
    uint64_t total = 0;
    codecs::Status status = codecs::Status::Ok;
    for (unsigned call = 0; status == codecs::Status::Ok && total < MaxOutput; ++call) {
        size_t room = pieces[call % 6];
        size_t produced = 0;
        status = decoder->Decode(out.data(), room, &produced);
        if (produced > room) __builtin_trap();  // wrote past the room it was given
        if (status == codecs::Status::Ok && produced == 0) __builtin_trap();  // no progress
        total += produced;
    }
    if (status != codecs::Status::Ok) {
        size_t produced = 1;
        if (decoder->Decode(out.data(), out.size(), &produced) != status || produced != 0)
            __builtin_trap();  // a finished decoder stays finished
    }
    return 0;
}
