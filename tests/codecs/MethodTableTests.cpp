// The one method table, checked once for every method number a plug-in claims: Zip.spi's
// methods, 7z.spi's method ids and the filters of the xz streams that Tar.spi and Zip.spi
// read. Each number must make a decoder, and a packed method's decoder must unpack a stream
// of that method that Debian's tools made, so a number that names the wrong decoder fails here.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "spi/common/codecs/Methods.h"
#include "tests/support/TestSupport.h"

using codecs::Method;
using codecs::MethodInput;
using codecs::Status;

namespace {

std::string Packed(const std::string& name) {
    return testsupport::ReadBytes(testsupport::ExeFolder() + "codec_fixtures\\" + name);
}

// A stream of a packed method and where the method's own bytes start in its fixture file.
struct Sample {
    const char* fixture;
    size_t skip;
    std::vector<uint8_t> properties;
};

Sample SampleOf(Method method) {
    switch (method) {
        case Method::Copy: return {"data.bin", 0, {}};
        case Method::Deflate: return {"data.gz", 10, {}};  // gzip's header, then raw Deflate
        case Method::Deflate64: return {"data.deflate64", 0, {}};
        case Method::Bzip2: return {"data.bz2", 0, {}};
        case Method::Lzma: return {"data.lzma", 13, {0x5D, 0x00, 0x00, 0x80, 0x00}};  // ends with its marker
        case Method::Lzma2: return {"data.lzma2", 0, {16}};                           // 1 MiB
        case Method::Zstd: return {"data-1.zst", 0, {}};
        default: return {"data-crc32.xz", 0, {}};
    }
}

// Unpacks the sample of a packed method through the table's decoder.
void ExpectUnpacksItsSample(Method method) {
    Sample sample = SampleOf(method);
    std::string packed = Packed(sample.fixture), expected = Packed("data.bin");
    ASSERT_GT(packed.size(), sample.skip) << "missing fixture " << sample.fixture;
    codecs::MethodProperties properties;
    ASSERT_TRUE(codecs::ParseMethodProperties(method, sample.properties.data(), sample.properties.size(), &properties));
    codecs::MemoryInput memory(packed.data() + sample.skip, packed.size() - sample.skip);
    auto input = std::make_unique<codecs::ByteInput>(memory);
    auto decoder = codecs::MakeMethodDecoder(method, properties, *input, codecs::UnknownSize);
    ASSERT_TRUE(decoder);
    std::string out;
    std::vector<uint8_t> room(1 << 16);
    Status status = Status::Ok;
    while (status == Status::Ok && out.size() <= expected.size()) {
        size_t produced = 0;
        status = decoder->Decode(room.data(), room.size(), &produced);
        out.append(reinterpret_cast<const char*>(room.data()), produced);
    }
    EXPECT_EQ(status, Status::End);
    EXPECT_TRUE(out == expected) << "unpacked " << out.size() << " bytes unlike the sample's";
}

// A filter's decoder reads another decoder; the branch filters take a start address.
void ExpectMakesItsFilter(Method method) {
    const uint8_t properties[] = {0, 0, 0, 0};
    size_t size = method == Method::Delta ? 1 : 4;
    codecs::MethodProperties parsed;
    ASSERT_TRUE(codecs::ParseMethodProperties(method, properties, size, &parsed));
    codecs::MemoryInput memory("", 0);
    codecs::ByteInput input(memory);
    auto inner = codecs::MakeCopyDecoder(input);
    EXPECT_TRUE(codecs::MakeMethodFilter(method, parsed, *inner));
}

void ExpectDecodes(Method method) {
    switch (codecs::InputOf(method)) {
        case MethodInput::Packed: ExpectUnpacksItsSample(method); break;
        case MethodInput::Filter: ExpectMakesItsFilter(method); break;
        case MethodInput::FourStreams: EXPECT_EQ(method, Method::Bcj2); break;
    }
}

// How many bytes the decoder of `method` unpacks `packed` to; 0 when it fails.
uint64_t UnpackedSize(Method method, const std::string& packed) {
    codecs::MethodProperties properties;
    codecs::MemoryInput memory(packed.data(), packed.size());
    auto input = std::make_unique<codecs::ByteInput>(memory);
    auto decoder = codecs::MakeMethodDecoder(method, properties, *input, codecs::UnknownSize);
    if (!decoder) return 0;
    std::vector<uint8_t> room(1 << 20);
    uint64_t total = 0;
    for (;;) {
        size_t produced = 0;
        Status status = decoder->Decode(room.data(), room.size(), &produced);
        total += produced;
        if (status == Status::End) return total;
        if (status != Status::Ok) return 0;
    }
}

}  // namespace

// Zeros are what each tool packs most densely (gzip and zstd come within 1 % of the bound);
// a stated size beyond the bound is refused as damage, so a bound below what a tool writes
// would refuse good entries.
TEST(MethodTable, TheMostOutputPerPackedByteHoldsForTheDensestStreamsOfTheTools) {
    struct Dense {
        const char* fixture;
        size_t skip;  // the container's header in front of the method's own bytes
        Method method;
    };
    for (const Dense& dense : {Dense{"zeros.gz", 10, Method::Deflate}, Dense{"zeros.bz2", 0, Method::Bzip2},
                               Dense{"zeros.xz", 0, Method::Xz}, Dense{"zeros.zst", 0, Method::Zstd}}) {
        SCOPED_TRACE(dense.fixture);
        std::string packed = Packed(dense.fixture).substr(dense.skip);
        ASSERT_FALSE(packed.empty());
        uint64_t unpacked = UnpackedSize(dense.method, packed);
        EXPECT_EQ(unpacked, uint64_t{64} << 20);
        EXPECT_LE(unpacked / packed.size(), codecs::MostOutputPerPackedByte(dense.method));
    }
}

TEST(MethodTable, EveryZipMethodZipSpiReadsUnpacksItsStream) {
    for (uint16_t number : {0, 8, 9, 12, 14, 20, 93, 95}) {
        SCOPED_TRACE("ZIP method " + std::to_string(number));
        Method method;
        ASSERT_TRUE(codecs::ZipMethod(number, &method));
        ExpectDecodes(method);
    }
    Method method;
    for (uint16_t refused : {1, 6, 97, 98, 99}) EXPECT_FALSE(codecs::ZipMethod(refused, &method)) << refused;
}

TEST(MethodTable, Every7zMethodId7zSpiReadsMakesItsDecoder) {
    for (uint64_t id : {0x00ULL, 0x03ULL, 0x04ULL, 0x03030103ULL, 0x0303011BULL, 0x07ULL, 0x03030501ULL, 0x0AULL,
                        0x030101ULL, 0x21ULL, 0x040108ULL, 0x040109ULL, 0x040202ULL}) {
        SCOPED_TRACE("7z method id " + std::to_string(id));
        Method method;
        ASSERT_TRUE(codecs::SevenZipMethod(id, &method));
        ExpectDecodes(method);
    }
    Method method;
    for (uint64_t refused : {0x030401ULL, 0x06F10701ULL, 0x040105ULL, ~0ULL})
        EXPECT_FALSE(codecs::SevenZipMethod(refused, &method)) << refused;
}

TEST(MethodTable, EveryXzFilterMakesItsDecoderAndOnlyLzma2ReadsPackedBytes) {
    for (uint64_t id : {0x03ULL, 0x04ULL, 0x07ULL, 0x0AULL, 0x21ULL}) {
        SCOPED_TRACE("xz filter " + std::to_string(id));
        Method method;
        ASSERT_TRUE(codecs::XzFilter(id, &method));
        EXPECT_EQ(codecs::InputOf(method) == MethodInput::Packed, id == 0x21);
        ExpectDecodes(method);
    }
    Method method;
    for (uint64_t refused : {0x05ULL, 0x06ULL, 0x08ULL, 0x09ULL}) EXPECT_FALSE(codecs::XzFilter(refused, &method)) << refused;
}
