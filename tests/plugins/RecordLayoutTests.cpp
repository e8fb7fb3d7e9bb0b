// The entry record as plug-ins of this build lay it out (428 bytes with 32-bit numbers in the
// 32-bit build, 448 bytes with 64-bit ones in the 64-bit build), built byte by byte from the
// published offsets and read through the declaration host and plug-ins share.
#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "tests/support/SpiLibrary.h"

namespace {

TEST(RecordLayout, ARecordBuiltByteByByteReadsBackFieldByField) {
    ASSERT_EQ(sizeof(ArchiveEntry), RecordLayout.size);
    const size_t width = RecordLayout.numberWidth;
    // Every number fills its whole field with distinct bytes, so a field read one byte off,
    // or narrower than the convention's, reads a different value.
    const uint64_t position = width == 8 ? 0x1122334455667788ull : 0x11223344u;
    const uint64_t packed = width == 8 ? 0x0000000123456789ull : 0x23456789u;
    const uint64_t unpacked = width == 8 ? 0x00000002468ACF12ull : 0x468ACF12u;
    const uint64_t minusTwo = width == 8 ? ~1ull : 0xFFFFFFFEu;  // a time before 1970

    std::vector<unsigned char> bytes(RecordLayout.size, 0xEE);  // padding stays 0xEE
    memset(bytes.data(), 0, 8);
    memcpy(bytes.data(), "Deflate", 7);
    WriteNumber(bytes.data(), RecordLayout.position, width, position);
    WriteNumber(bytes.data(), RecordLayout.packedSize, width, packed);
    WriteNumber(bytes.data(), RecordLayout.unpackedSize, width, unpacked);
    WriteNumber(bytes.data(), RecordLayout.timestamp, width, minusTwo);
    memset(bytes.data() + RecordLayout.path, 0, 200);
    memcpy(bytes.data() + RecordLayout.path, "docs\\", 5);
    memset(bytes.data() + RecordLayout.fileName, 0, 200);
    memcpy(bytes.data() + RecordLayout.fileName, "a.txt", 5);
    WriteNumber(bytes.data(), RecordLayout.crc, 4, 0xDEADBEEF);

    ArchiveEntry entry;
    memcpy(&entry, bytes.data(), sizeof entry);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry.method), 8), std::string("Deflate\0", 8));
    EXPECT_EQ(static_cast<uint64_t>(entry.position), position);
    EXPECT_EQ(static_cast<uint64_t>(entry.packedSize), packed);
    EXPECT_EQ(static_cast<uint64_t>(entry.unpackedSize), unpacked);
    EXPECT_EQ(static_cast<int64_t>(entry.timestamp), -2);
    EXPECT_STREQ(entry.path, "docs\\");
    EXPECT_STREQ(entry.fileName, "a.txt");
    EXPECT_EQ(entry.crc, 0xDEADBEEFu);
}

}  // namespace
