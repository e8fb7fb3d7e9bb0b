#include "spi/zip/CodecMethods.h"
#include <algorithm>
#include <memory>
#include <new>
#include "spi/common/CodecResult.h"
#include "spi/common/RangeInput.h"
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/Decoder.h"

namespace zip {
namespace {

constexpr uint16_t MethodDeflate64 = 9;
constexpr uint16_t MethodBzip2 = 12;
constexpr uint16_t MethodLzma = 14;
constexpr uint16_t MethodXz = 95;
constexpr uint16_t MethodZstd = 93;
constexpr uint16_t MethodZstdEarly = 20;  // what some programs wrote before 93 was assigned
constexpr uint16_t FlagLzmaEndMarker = 0x0002;
constexpr size_t ChunkSize = 1 << 20;  // bytes produced between progress reports

// ZIP's LZMA data starts with the encoder's version (2 bytes), the size of the properties
// (2 bytes, always 5) and the properties.
std::unique_ptr<codecs::Decoder> MakeZipLzma(codecs::ByteInput& input, const Entry& entry, int* result) {
    uint8_t header[9];
    if (input.Read(header, sizeof header) != sizeof header || header[2] != 5 || header[3] != 0) {
        *result = input.Failed() ? SpiReadError : SpiBrokenData;
        return nullptr;
    }
    codecs::LzmaProperties properties;
    if (!codecs::ParseLzmaProperties(header + 4, &properties)) {
        *result = SpiBrokenData;
        return nullptr;
    }
    return codecs::MakeLzmaDecoder(input, properties, entry.unpackedSize, (entry.flags & FlagLzmaEndMarker) != 0);
}

std::unique_ptr<codecs::Decoder> MakeDecoder(codecs::ByteInput& input, const Entry& entry, int* result) {
    *result = SpiNoMemory;
    switch (entry.method) {
        case MethodDeflate64: return codecs::MakeDeflate64Decoder(input);
        case MethodBzip2: return codecs::MakeBzip2Decoder(input);
        case MethodLzma: return MakeZipLzma(input, entry, result);
        case MethodXz: return codecs::MakeXzDecoder(input);
        case MethodZstd:
        case MethodZstdEarly: return codecs::MakeZstdDecoder(input);
    }
    *result = SpiUnknownFormat;
    return nullptr;
}


}  // namespace

bool IsCodecMethod(uint16_t method) {
    return method == MethodDeflate64 || method == MethodBzip2 || method == MethodLzma || method == MethodXz ||
           method == MethodZstd || method == MethodZstdEarly;
}

int DecodeCodecEntry(ByteSource& source, uint64_t offset, const Entry& entry, OutputSink& sink,
                     ProgressReport* progress, uLong* crc) {
    RangeInput packed(source, offset, entry.packedSize);
    std::unique_ptr<codecs::ByteInput> input(new (std::nothrow) codecs::ByteInput(packed));
    if (!input) return SpiNoMemory;
    int result = SpiSuccess;
    std::unique_ptr<codecs::Decoder> decoder = MakeDecoder(*input, entry, &result);
    if (!decoder) return result;

    uint64_t done = 0;
    uint8_t overflow = 0;  // output beyond the stated size lands here and marks the entry damaged
    for (;;) {
        uint8_t* out = &overflow;
        size_t room = 1;
        if (done < entry.unpackedSize) {
            out = sink.Room(&room);
            room = static_cast<size_t>(std::min<uint64_t>({room, ChunkSize, entry.unpackedSize - done}));
            if (!out || room == 0) return SpiInternalError;
        }
        size_t produced = 0;
        codecs::Status status = decoder->Decode(out, room, &produced);
        if (produced > 0) {
            if (out == &overflow) return SpiBrokenData;
            *crc = crc32(*crc, out, static_cast<uInt>(produced));
            if (!sink.Commit(produced)) return SpiInternalError;
            done += produced;
            if (progress && !progress->Continue(done, entry.unpackedSize)) return SpiAborted;
        }
        if (status == codecs::Status::End) break;
        if (status != codecs::Status::Ok) return SpiResultOf(status);
    }
    return done == entry.unpackedSize ? SpiSuccess : SpiBrokenData;
}

}  // namespace zip
