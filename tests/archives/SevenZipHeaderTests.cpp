// 7z.spi (7z.sph) against headers no 7-Zip writes, made here byte by byte: a header that repeats
// a property many times must be read in one pass, and sizes a small file claims must be checked
// against the file before anything is reserved for them.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "tests/archives/ArchiveFixtures.h"
#include "tests/support/TestSupport.h"

using namespace archivetest;
using testsupport::PeakWorkingSet;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

constexpr int BrokenData = 3;
constexpr uint64_t OneGiB = 1ull << 30;

// Property ids of 7z headers.
constexpr char End = 0x00, Header = 0x01, MainStreamsInfo = 0x04, FilesInfo = 0x05, PackInfo = 0x06,
               UnpackInfo = 0x07, SubStreamsInfo = 0x08, Size = 0x09, Crc = 0x0A, FolderList = 0x0B,
               CodersUnpackSize = 0x0C, NumUnpackStream = 0x0D, EncodedHeader = 0x17, Dummy = 0x19;

std::string LittleEndian(uint64_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// The variable-length number: the first byte's leading one bits count the bytes that follow.
std::string Number(uint64_t value) {
    for (int extra = 0; extra < 8; ++extra) {
        if (value >= (1ull << (7 * (extra + 1)))) continue;
        auto first = static_cast<char>(((0xFF << (8 - extra)) & 0xFF) | (value >> (8 * extra)));
        return first + LittleEndian(value, extra);
    }
    return '\xFF' + LittleEndian(value, 8);
}

// A 7z file: the signature header pointing at `header` (of `headerSize` bytes as it claims,
// `headerOffset` bytes after the signature header), then `body`.
std::string SevenZipFile(const std::string& body, uint64_t headerOffset, uint64_t headerSize, uint32_t headerCrc) {
    std::string start = LittleEndian(headerOffset, 8) + LittleEndian(headerSize, 8) + LittleEndian(headerCrc, 4);
    return std::string("7z\xBC\xAF\x27\x1C\x00\x04", 8) + LittleEndian(Crc32(start), 4) + start + body;
}

// Packed streams, then the header that describes them.
std::string SevenZipFile(const std::string& packed, const std::string& header) {
    return SevenZipFile(packed + header, packed.size(), header.size(), Crc32(header));
}

// One packed stream of `packedSize` bytes, stored ("Copy"), unpacking to `unpackSize` bytes.
std::string CopyStreams(uint64_t packedSize, uint64_t unpackSize) {
    std::string info = std::string(1, PackInfo) + Number(0) + Number(1) + Size + Number(packedSize) + End;
    info += std::string(1, UnpackInfo) + FolderList + Number(1) + End;
    info += Number(1) + std::string("\x01\x00", 2);  // one coder, a one-byte method id: Copy
    return info + CodersUnpackSize + Number(unpackSize) + End;
}

}  // namespace

// 20,000 one-byte files in one stored stream, whose header gives their checks 20,000 times over
// and then 20,000 padding properties: read in a pass of each, it lists at once (a rescan of
// every file per property took over half a minute).
TEST(SevenZipHeaders, APropertyRepeatedManyTimesIsReadInOnePass) {
    constexpr size_t Files = 20000, Repeats = 20000;
    std::string data, checks;
    for (size_t i = 0; i < Files; ++i) {
        data += static_cast<char>(i * 7);
        checks += LittleEndian(Crc32(data.substr(i, 1)), 4);
    }
    std::string header = std::string(1, Header) + MainStreamsInfo + CopyStreams(Files, Files);
    header += std::string(1, SubStreamsInfo) + NumUnpackStream + Number(Files) + Size;
    for (size_t i = 0; i + 1 < Files; ++i) header += Number(1);
    header += std::string(1, Crc) + '\x01' + checks;  // all defined
    for (size_t i = 0; i < Repeats; ++i) header += std::string(1, Crc) + '\x01';
    header += std::string(2, End);
    header += FilesInfo + Number(Files);
    for (size_t i = 0; i < Repeats; ++i) header += std::string(1, Dummy) + Number(0);
    header += std::string(2, End);
    TempDir folder;
    std::string archive = folder / "repeats.7z";
    ASSERT_TRUE(WriteBytes(archive, SevenZipFile(data, header)));

    ULONGLONG started = GetTickCount64();
    SpiListing listing = SevenZip().List(archive);
    ULONGLONG took = GetTickCount64() - started;
    ASSERT_EQ(listing.result, 0);
    EXPECT_LT(took, 10000u) << "listing took " << took << " ms";
    ASSERT_EQ(listing.entries.size(), Files);
    for (size_t i : {size_t{0}, Files / 2, Files - 1}) {
        const ArchiveEntry& entry = listing.entries[i];
        EXPECT_EQ(entry.crc, Crc32(data.substr(i, 1)));
        EXPECT_EQ(SevenZip().Fetch(archive, entry.position).bytes, data.substr(i, 1));
    }
}

// A 64-byte file whose header would start 8 bytes past its end and claim 1 GiB, and a header of
// a few bytes packed as a 1 GiB stream: both broken, and refused without reserving what they
// claim (256 MB stated as the bound).
TEST(SevenZipHeaders, SizesAreCheckedBeforeAnythingIsReserved) {
    TempDir folder;
    std::string beyondEnd = folder / "beyond-end.7z";
    std::string file = SevenZipFile(std::string(32, '\0'), 40, OneGiB, 0);
    ASSERT_EQ(file.size(), 64u);
    ASSERT_TRUE(WriteBytes(beyondEnd, file));
    std::string packedHeader = folder / "packed-header.7z";
    std::string header = EncodedHeader + CopyStreams(16, OneGiB) + End;
    ASSERT_TRUE(WriteBytes(packedHeader, SevenZipFile(std::string(16, Header), header)));

    size_t before = PeakWorkingSet();
    for (const std::string& archive : {beyondEnd, packedHeader}) {
        SpiListing listing = SevenZip().List(archive);
        EXPECT_EQ(listing.result, BrokenData) << archive;
        EXPECT_FALSE(listing.handed) << archive;
    }
    EXPECT_LT(PeakWorkingSet() - before, 256u << 20) << "peak working set grew by " << (PeakWorkingSet() - before);
}
