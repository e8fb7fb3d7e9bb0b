// The codec library's decoders against streams that Debian's gzip, bzip2, xz, zstd and 7z made at build
// time (and unpack to data.bin): the same bytes, and damage and truncation reported as such.
// Output is always taken in pieces of changing size, from 1 byte to 1 MB, the way a solid
// archive's entries ask for it, so every case also checks that a decoder resumes correctly.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "spi/common/codecs/Decoder.h"
#include "tests/support/TestSupport.h"

using codecs::Status;
using testsupport::ReadBytes;

namespace {

enum class Kind { Deflate64, Bzip2, Lzma, Lzma2, Xz, Gzip, Zstd };

struct Decoded {
    Status status = Status::Ok;
    std::string bytes;
};

std::string Fixtures() { return testsupport::ExeFolder() + "codec_fixtures\\"; }
std::string Packed(const std::string& name) { return ReadBytes(Fixtures() + name); }
const std::string& Data() {
    static const std::string data = ReadBytes(Fixtures() + "data.bin");
    return data;
}

std::unique_ptr<codecs::Decoder> Make(Kind kind, codecs::ByteInput& input, const std::string& packed) {
    switch (kind) {
        case Kind::Deflate64: return codecs::MakeDeflate64Decoder(input);
        case Kind::Bzip2: return codecs::MakeBzip2Decoder(input);
        case Kind::Lzma2: return codecs::MakeLzma2Decoder(input, 1 << 20);
        case Kind::Xz: return codecs::MakeXzDecoder(input);
        case Kind::Gzip: return codecs::MakeGzipDecoder(input);
        case Kind::Zstd: return codecs::MakeZstdDecoder(input);
        case Kind::Lzma: break;
    }
    // The .lzma layout: properties, then the size (all ones: unknown), then the stream.
    codecs::LzmaProperties properties;
    const auto* header = reinterpret_cast<const uint8_t*>(packed.data());
    if (!codecs::ParseLzmaProperties(header, &properties)) return nullptr;
    uint64_t size = 0;
    for (int i = 0; i < 8; ++i) size |= static_cast<uint64_t>(header[5 + i]) << (8 * i);
    for (int i = 0; i < 13; ++i) input.Byte();
    return codecs::MakeLzmaDecoder(input, properties, size, false);
}

Decoded Decode(Kind kind, const std::string& packed) {
    codecs::MemoryInput memory(packed.data(), packed.size());
    auto input = std::make_unique<codecs::ByteInput>(memory);
    Decoded decoded;
    std::unique_ptr<codecs::Decoder> decoder = Make(kind, *input, packed);
    if (!decoder) {
        ADD_FAILURE() << "no decoder";
        decoded.status = Status::NoMemory;
        return decoded;
    }
    static const size_t pieces[] = {1, 5000, 3, 1 << 20, 65537, 250};
    std::vector<uint8_t> room(1 << 20);
    for (size_t call = 0; decoded.status == Status::Ok; ++call) {
        size_t size = pieces[call % 6], produced = 0;
        decoded.status = decoder->Decode(room.data(), size, &produced);
        EXPECT_LE(produced, size);
        decoded.bytes.append(reinterpret_cast<const char*>(room.data()), produced);
        if (decoded.status == Status::Ok && produced == 0) {
            ADD_FAILURE() << "no progress";
            break;
        }
    }
    return decoded;
}

void ExpectDecodes(Kind kind, const std::string& name, const std::string& expected) {
    SCOPED_TRACE(name);
    std::string packed = Packed(name);
    ASSERT_FALSE(packed.empty()) << "missing fixture";
    Decoded decoded = Decode(kind, packed);
    EXPECT_EQ(decoded.status, Status::End);
    EXPECT_EQ(decoded.bytes.size(), expected.size());
    EXPECT_TRUE(decoded.bytes == expected) << "the bytes differ from the reference tool's";
}

// Cut short at several places (inside the first headers, in the middle, before the last
// byte), the stream is reported as damaged, never as complete.
void ExpectTruncationIsBadData(Kind kind, const std::string& name) {
    std::string packed = Packed(name);
    for (size_t keep : {size_t{20}, packed.size() / 2, packed.size() - 1}) {
        SCOPED_TRACE(name + " cut to " + std::to_string(keep));
        EXPECT_EQ(Decode(kind, packed.substr(0, keep)).status, Status::BadData);
    }
}

std::string Damaged(std::string packed, size_t at) {
    packed[at] ^= 0x01;
    return packed;
}

// Where an xz stream of one block keeps that block's check: just before the index, whose
// size the footer gives.
size_t XzCheckOffset(const std::string& packed, size_t checkSize) {
    const auto* footer = reinterpret_cast<const uint8_t*>(packed.data()) + packed.size() - 12;
    uint32_t backward = footer[4] | (footer[5] << 8) | (footer[6] << 16) | (static_cast<uint32_t>(footer[7]) << 24);
    return packed.size() - 12 - (size_t{backward} + 1) * 4 - checkSize;
}

}  // namespace

TEST(Deflate64, DecodesWhat7ZipPackedAndRefusesTruncation) {
    ExpectDecodes(Kind::Deflate64, "data.deflate64", Data());
    ExpectTruncationIsBadData(Kind::Deflate64, "data.deflate64");
}

// A dynamic block of seven literals whose end-of-block code is 15 bits long, then a stored
// block whose length fields end exactly where the bit buffer's last whole byte does, then a
// final stored block. The stored bytes are read straight from the input, so the bytes the bit
// buffer had looked at beyond its count must not come back into the next block's header.
// Made bit by bit (zlib decodes it to the same bytes).
TEST(Deflate64, StoredBlockAfterALongEndOfBlockCodeLeavesNoStaleBits) {
    const std::string packed = std::string("\x04\xE1\x81\x92\x24\x49\x92\x24\xC9\x7E\x1B\x12\x8B\x9A\x47\x56"
                                           "\xCF\xDE\xFB\xFF\xBF\x79\x88\x80\xFF\x3F\x00",
                                           27) +
                               std::string("\x1E\x00\xE1\xFF", 4) + "stored bytes, read straight in" +
                               std::string("\x01\x12\x00\xED\xFF", 5) + "and the last block";
    Decoded decoded = Decode(Kind::Deflate64, packed);
    EXPECT_EQ(decoded.status, Status::End);
    EXPECT_EQ(decoded.bytes, "AAAAAAAstored bytes, read straight inand the last block");
}

TEST(Bzip2, DecodesBlocksAndConsecutiveStreamsLikeBzip2) {
    ExpectDecodes(Kind::Bzip2, "data.bz2", Data());
    ExpectDecodes(Kind::Bzip2, "data-1.bz2", Data());
    ExpectDecodes(Kind::Bzip2, "two.bz2", Data() + Data());
    ExpectDecodes(Kind::Bzip2, "empty.bz2", "");
}

TEST(Bzip2, DamageAndTruncationAreBadData) {
    std::string packed = Packed("data-1.bz2");
    EXPECT_EQ(Decode(Kind::Bzip2, Damaged(packed, packed.size() / 2)).status, Status::BadData);
    EXPECT_EQ(Decode(Kind::Bzip2, Damaged(packed, packed.size() - 3)).status, Status::BadData) << "stream CRC";
    ExpectTruncationIsBadData(Kind::Bzip2, "data-1.bz2");
}

TEST(Lzma, DecodesWithAndWithoutAStatedSize) {
    ExpectDecodes(Kind::Lzma, "data.lzma", Data());        // size unknown: ends with its marker
    ExpectDecodes(Kind::Lzma, "data-sized.lzma", Data());  // size stated, and a marker after it
    // A dictionary of 4 GB declared for 1 MB of data takes memory only for the data (a 32-bit
    // process could not hold the whole dictionary).
    std::string huge = Packed("data.lzma");
    huge.replace(1, 4, std::string(4, '\xFF'));
    Decoded decoded = Decode(Kind::Lzma, huge);
    EXPECT_EQ(decoded.status, Status::End);
    EXPECT_TRUE(decoded.bytes == Data());
    ExpectTruncationIsBadData(Kind::Lzma, "data.lzma");
    std::string longer = Packed("data-sized.lzma");
    longer[5] = static_cast<char>(longer[5] + 1);  // states one byte more than the stream holds
    EXPECT_EQ(Decode(Kind::Lzma, longer).status, Status::BadData);
}

TEST(Lzma2, DecodesRawChunksAndRefusesTruncation) {
    ExpectDecodes(Kind::Lzma2, "data.lzma2", Data());
    ExpectTruncationIsBadData(Kind::Lzma2, "data.lzma2");
}

TEST(Xz, DecodesEveryCheckFilterAndStreamLayoutLikeXz) {
    for (const char* name : {"data-none.xz", "data-crc32.xz", "data-crc64.xz", "data-sha256.xz", "data-delta.xz",
                             "data-blocks.xz"})
        ExpectDecodes(Kind::Xz, name, Data());
    ExpectDecodes(Kind::Xz, "two.xz", Data() + Data());
    ExpectDecodes(Kind::Xz, "empty.xz", "");
}

// The branch converters hold back the bytes of an instruction cut by the end of a piece.
TEST(Xz, BranchConvertersDecodeInPiecesOfAnySize) {
    ExpectDecodes(Kind::Xz, "data-x86.xz", Data());
    ExpectDecodes(Kind::Xz, "data-arm64.xz", Data());
}

TEST(Gzip, DecodesConsecutiveMembersAndRefusesAWrongCheck) {
    ExpectDecodes(Kind::Gzip, "two.gz", Data() + Data());
    std::string packed = Packed("two.gz");
    EXPECT_EQ(Decode(Kind::Gzip, Damaged(packed, packed.size() - 6)).status, Status::BadData) << "CRC-32";
    ExpectTruncationIsBadData(Kind::Gzip, "data.gz");
}

TEST(Xz, WrongChecksDamageAndTruncationAreBadData) {
    for (auto check : {std::make_pair("data-crc32.xz", 4), std::make_pair("data-crc64.xz", 8),
                       std::make_pair("data-sha256.xz", 32)}) {
        SCOPED_TRACE(check.first);
        std::string packed = Packed(check.first);
        EXPECT_EQ(Decode(Kind::Xz, Damaged(packed, XzCheckOffset(packed, check.second))).status, Status::BadData);
    }
    std::string packed = Packed("data-blocks.xz");
    EXPECT_EQ(Decode(Kind::Xz, Damaged(packed, packed.size() / 2)).status, Status::BadData);
    EXPECT_EQ(Decode(Kind::Xz, Damaged(packed, packed.size() - 20)).status, Status::BadData) << "index";
    EXPECT_EQ(Decode(Kind::Xz, Damaged(packed, packed.size() - 8)).status, Status::BadData) << "footer";
    EXPECT_EQ(Decode(Kind::Xz, packed + std::string(3, '\0')).status, Status::BadData) << "padding of 3";
    EXPECT_EQ(Decode(Kind::Xz, packed + "junk").status, Status::BadData);
    ExpectTruncationIsBadData(Kind::Xz, "data-blocks.xz");
}

TEST(Zstd, DecodesLevelsWindowsAndFramesLikeZstd) {
    for (const char* name : {"data-1.zst", "data-19.zst", "data-nocheck.zst", "data-long.zst", "data-window.zst"})
        ExpectDecodes(Kind::Zstd, name, Data());
    ExpectDecodes(Kind::Zstd, "two.zst", Data() + Data());
    ExpectDecodes(Kind::Zstd, "empty.zst", "");
}

TEST(Zstd, WrongChecksumDamageAndTruncationAreBadData) {
    std::string packed = Packed("data-1.zst");
    EXPECT_EQ(Decode(Kind::Zstd, Damaged(packed, packed.size() - 2)).status, Status::BadData) << "checksum";
    EXPECT_EQ(Decode(Kind::Zstd, Damaged(packed, packed.size() / 2)).status, Status::BadData);
    EXPECT_EQ(Decode(Kind::Zstd, packed + "junk").status, Status::BadData);
    ExpectTruncationIsBadData(Kind::Zstd, "data-1.zst");
    ExpectTruncationIsBadData(Kind::Zstd, "data-19.zst");
}

// Frames written by hand: magic, frame header, one raw block holding "abc".
TEST(Zstd, RefusesADictionaryAndAWindowTheProcessCannotHold) {
    const std::string magic("\x28\xB5\x2F\xFD", 4), block("\x19\x00\x00" "abc", 6);
    // Single segment, a one-byte content size of 3; the same with a dictionary id of 0 and of 5.
    Decoded plain = Decode(Kind::Zstd, magic + std::string("\x20\x03", 2) + block);
    EXPECT_EQ(plain.status, Status::End);
    EXPECT_EQ(plain.bytes, "abc");
    EXPECT_EQ(Decode(Kind::Zstd, magic + std::string("\x21\x00\x03", 3) + block).status, Status::End);
    EXPECT_EQ(Decode(Kind::Zstd, magic + std::string("\x21\x05\x03", 3) + block).status, Status::Unsupported);
    // No content size and a window of 4 GB: a 64-bit process decodes it (the window is only
    // filled as far as the data goes), a 32-bit one cannot hold it.
    Decoded large = Decode(Kind::Zstd, magic + std::string("\x00\xB0", 2) + block);
    if (sizeof(void*) == 4) {
        EXPECT_EQ(large.status, Status::NoMemory);
    } else {
        EXPECT_EQ(large.status, Status::End);
        EXPECT_EQ(large.bytes, "abc");
    }
}
