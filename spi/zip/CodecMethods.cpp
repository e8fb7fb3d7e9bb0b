#include "spi/zip/CodecMethods.h"
#include <algorithm>
#include <memory>
#include <new>
#include "spi/common/CodecResult.h"
#include "spi/common/RangeInput.h"
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/Methods.h"
#include "spi/zip/StreamBounds.h"

namespace zip {
namespace {

constexpr size_t ChunkSize = 1 << 20;  // bytes produced between progress reports

// ZIP's LZMA data starts with the encoder's version (2 bytes), the size of the properties
// (2 bytes, always 5) and the properties; a flag says whether an end marker follows.
int ReadZipLzmaProperties(codecs::ByteInput& input, const Entry& entry, codecs::MethodProperties* properties) {
    uint8_t header[9];
    if (input.Read(header, sizeof header) != sizeof header || header[2] != 5 || header[3] != 0)
        return input.Failed() ? SpiReadError : SpiBrokenData;
    if (!codecs::ParseMethodProperties(codecs::Method::Lzma, header + 4, 5, properties)) return SpiBrokenData;
    properties->endMarker = (entry.flags & FlagLzmaEndMarker) != 0;
    return SpiSuccess;
}

// A stream with an end marker is read to its marker when its stated size may have been cut.
std::unique_ptr<codecs::Decoder> MakeDecoder(codecs::ByteInput& input, const Entry& entry, int* result) {
    codecs::Method method;
    codecs::MethodProperties properties;
    *result = SpiUnknownFormat;
    if (!codecs::ZipMethod(entry.method, &method)) return nullptr;
    *result = method == codecs::Method::Lzma ? ReadZipLzmaProperties(input, entry, &properties) : SpiSuccess;
    if (*result != SpiSuccess) return nullptr;
    *result = SpiNoMemory;
    uint64_t size = properties.endMarker && !entry.hasZip64Field ? codecs::UnknownSize : entry.unpackedSize;
    return codecs::MakeMethodDecoder(method, properties, input, size);
}

}  // namespace

bool IsCodecMethod(uint16_t method) {
    codecs::Method known;
    return method != MethodStored && method != MethodDeflated && codecs::ZipMethod(method, &known);
}

int DecodeCodecEntry(ByteSource& source, uint64_t offset, const Entry& entry, OutputSink& sink,
                     ProgressReport* progress, uLong* crc) {
    RangeInput packed(source, offset, entry.packedSize);
    std::unique_ptr<codecs::ByteInput> input(new (std::nothrow) codecs::ByteInput(packed));
    if (!input) return SpiNoMemory;
    int result = SpiSuccess;
    std::unique_ptr<codecs::Decoder> decoder = MakeDecoder(*input, entry, &result);
    if (!decoder) return result;

    StreamBounds bounds(entry);
    uint64_t done = 0;
    uint8_t overflow = 0;  // output beyond the bound lands here: damage, or a size cut to 32 bits
    for (;;) {
        uint8_t* out = &overflow;
        size_t room = 1;
        if (done < bounds.Unpacked()) {
            out = sink.Room(&room);
            room = static_cast<size_t>(std::min<uint64_t>({room, ChunkSize, bounds.Unpacked() - done}));
            if (!out || room == 0) return SpiInternalError;
        }
        size_t produced = 0;
        codecs::Status status = decoder->Decode(out, room, &produced);
        if (produced > 0) {
            if (out == &overflow) {
                result = bounds.PlaceOverflow(sink, overflow, &out);
                if (result != SpiSuccess) return result;
            }
            *crc = crc32(*crc, out, static_cast<uInt>(produced));
            if (!sink.Commit(produced)) return SpiInternalError;
            done += produced;
            if (progress && !progress->Continue(done, bounds.Unpacked())) return SpiAborted;
        }
        if (status == codecs::Status::End) break;
        if (status != codecs::Status::Ok) return SpiResultOf(status);
    }
    return done == bounds.Unpacked() ? SpiSuccess : SpiBrokenData;
}

}  // namespace zip
