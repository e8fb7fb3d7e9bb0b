#include "spi/common/codecs/Methods.h"
#include "spi/common/codecs/ByteOrder.h"
#include "spi/common/codecs/Filters.h"

namespace codecs {
namespace {

constexpr uint64_t None = ~0ULL;

struct MethodNumbers {
    Method method;
    MethodInput input;
    uint64_t zip;
    uint64_t sevenZip, sevenZipOld;  // 7-Zip's ids, and the longer ones older versions wrote
    uint64_t xz;
};

constexpr MethodNumbers Table[] = {
    {Method::Copy, MethodInput::Packed, 0, 0x00, None, None},
    {Method::Deflate, MethodInput::Packed, 8, 0x040108, None, None},
    {Method::Deflate64, MethodInput::Packed, 9, 0x040109, None, None},
    {Method::Bzip2, MethodInput::Packed, 12, 0x040202, None, None},
    {Method::Lzma, MethodInput::Packed, 14, 0x030101, None, None},
    {Method::Lzma2, MethodInput::Packed, None, 0x21, None, 0x21},
    {Method::Xz, MethodInput::Packed, 95, None, None, None},
    {Method::Zstd, MethodInput::Packed, 93, None, None, None},
    {Method::Zstd, MethodInput::Packed, 20, None, None, None},  // ZIP's number for it before 93 was assigned
    {Method::Bcj2, MethodInput::FourStreams, None, 0x0303011B, None, None},
    {Method::Delta, MethodInput::Filter, None, 0x03, None, 0x03},
    {Method::X86, MethodInput::Filter, None, 0x04, 0x03030103, 0x04},
    {Method::Arm, MethodInput::Filter, None, 0x07, 0x03030501, 0x07},
    {Method::Arm64, MethodInput::Filter, None, 0x0A, None, 0x0A},
};

const MethodNumbers* Find(Method method) {
    for (const MethodNumbers& row : Table)
        if (row.method == method) return &row;
    return nullptr;
}

template <class Matches>
bool Look(Matches matches, Method* method) {
    for (const MethodNumbers& row : Table) {
        if (!matches(row)) continue;
        *method = row.method;
        return true;
    }
    return false;
}

}  // namespace

bool ZipMethod(uint16_t number, Method* method) {
    return Look([number](const MethodNumbers& row) { return row.zip == number; }, method);
}

bool SevenZipMethod(uint64_t id, Method* method) {
    return id != None &&
           Look([id](const MethodNumbers& row) { return row.sevenZip == id || row.sevenZipOld == id; }, method);
}

bool XzFilter(uint64_t id, Method* method) {
    return id != None && Look([id](const MethodNumbers& row) { return row.xz == id; }, method);
}

MethodInput InputOf(Method method) { return Find(method)->input; }

bool ParseMethodProperties(Method method, const uint8_t* bytes, size_t size, MethodProperties* properties) {
    switch (method) {
        case Method::Lzma: return size == 5 && ParseLzmaProperties(bytes, &properties->lzma);
        case Method::Lzma2: return size == 1 && ParseLzma2Dictionary(bytes[0], &properties->dictionarySize);
        case Method::Delta:
            if (size != 1) return false;
            properties->value = bytes[0] + 1u;
            return true;
        case Method::X86:
        case Method::Arm:
        case Method::Arm64:
            if (size != 0 && size != 4) return false;
            properties->value = size == 4 ? ReadLe32(bytes) : 0;
            return true;
        default: return true;
    }
}

uint64_t MostOutputPerPackedByte(Method method) {
    switch (method) {
        case Method::Copy: return 1;
        // A match of 258 bytes from 2 bits: length and distance codes of 1 bit, no extra bits.
        case Method::Deflate: return 258 * 8 / 2;
        // A match of 65,538 bytes from 18 bits: a 1-bit length code with its 16 extra bits and
        // a 1-bit distance code.
        case Method::Deflate64: return 65538 * 8 / 18;
        // A block of at most 900,000 bytes, which the run-length stage turns into 259 for every
        // 5, from no fewer than 173 bits of block header, symbol map, tables and symbols.
        case Method::Bzip2: return 900000 / 5 * 259 * 8 / 173 + 1;
        // A 273-byte repeat of the last distance costs 14 range-coded decisions, and a decision
        // costs at least 0.022 bits (a probability never passes 2017/2048): about 7,090 bytes
        // a byte. LZMA2 chunks and the xz container only add bytes.
        case Method::Lzma:
        case Method::Lzma2:
        case Method::Xz: return 7100;
        // A block repeating one byte: at most 128 KiB from a 3-byte block header and the byte.
        case Method::Zstd: return (128 << 10) / 4;
        default: return 0;
    }
}

std::unique_ptr<Decoder> MakeMethodDecoder(Method method, const MethodProperties& properties, ByteInput& input,
                                           uint64_t unpackedSize) {
    switch (method) {
        case Method::Copy: return MakeCopyDecoder(input);
        case Method::Deflate: return MakeDeflateDecoder(input);
        case Method::Deflate64: return MakeDeflate64Decoder(input);
        case Method::Bzip2: return MakeBzip2Decoder(input);
        case Method::Lzma: return MakeLzmaDecoder(input, properties.lzma, unpackedSize, properties.endMarker);
        case Method::Lzma2: return MakeLzma2Decoder(input, properties.dictionarySize, unpackedSize);
        case Method::Xz: return MakeXzDecoder(input);
        case Method::Zstd: return MakeZstdDecoder(input);
        default: return nullptr;
    }
}

std::unique_ptr<Decoder> MakeMethodFilter(Method method, const MethodProperties& properties, Decoder& inner) {
    switch (method) {
        case Method::Delta: return MakeDeltaFilter(inner, properties.value);
        case Method::X86: return MakeX86Filter(inner, properties.value);
        case Method::Arm: return MakeArmFilter(inner, properties.value);
        case Method::Arm64: return MakeArm64Filter(inner, properties.value);
        default: return nullptr;
    }
}

}  // namespace codecs
