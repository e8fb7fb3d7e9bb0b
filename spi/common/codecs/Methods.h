#pragma once
// The one method table: which decoder a ZIP method number, a 7z method id or an xz filter id
// names, how its properties are read and how its decoder is made. A plug-in looks its number
// up here and never names a decoder itself.
#include <cstddef>
#include <cstdint>
#include <memory>
#include "spi/common/codecs/Decoder.h"

namespace codecs {

enum class Method { Copy, Deflate, Deflate64, Bzip2, Lzma, Lzma2, Xz, Zstd, Bcj2, Delta, X86, Arm, Arm64 };

// What a method's decoder reads.
enum class MethodInput {
    Packed,       // packed bytes (MakeMethodDecoder)
    Filter,       // another decoder's output (MakeMethodFilter)
    FourStreams,  // BCJ2's four packed streams (MakeBcj2Decoder)
};

// Each finds the method a container's number names; false for one this library does not
// decode (PPMd, encryption, ...). A 7z id is its bytes read most significant first.
bool ZipMethod(uint16_t number, Method* method);
bool SevenZipMethod(uint64_t id, Method* method);
bool XzFilter(uint64_t id, Method* method);
MethodInput InputOf(Method method);

// What a method's properties say.
struct MethodProperties {
    LzmaProperties lzma;          // LZMA
    bool endMarker = false;       // LZMA: an end marker follows the stated size
    uint32_t dictionarySize = 0;  // LZMA2
    uint32_t value = 0;           // Delta: the distance; branch filters: the address of the first byte
};

// Reads the properties that 7z and xz store beside the method (5 bytes for LZMA, 1 for LZMA2
// and Delta, none or 4 for the branch filters; the other methods have none and ignore any).
// False when they do not fit the method.
bool ParseMethodProperties(Method method, const uint8_t* bytes, size_t size, MethodProperties* properties);

// The most bytes a stream of a Packed method can unpack to for each of its packed bytes: a bound
// every valid stream obeys, so that a stated size beyond it is damage, known before anything is
// reserved for it. 0 for a method that is not a Packed one.
uint64_t MostOutputPerPackedByte(Method method);

// The decoder of a Packed method over its bytes (`unpackedSize` may be UnknownSize); null when
// memory runs out or the method is not a Packed one.
std::unique_ptr<Decoder> MakeMethodDecoder(Method method, const MethodProperties& properties, ByteInput& input,
                                           uint64_t unpackedSize);
// The decoder of a Filter method over `inner` (borrowed); null when memory runs out or the
// method is not a Filter.
std::unique_ptr<Decoder> MakeMethodFilter(Method method, const MethodProperties& properties, Decoder& inner);

}  // namespace codecs
