#include <gtest/gtest.h>
#include <windows.h>
#include <climits>
#include <cstring>
#include "listwin/EntryCells.h"
#include "tests/listwin/ListTestHelpers.h"

using listtest::LocalTimestamp;

namespace {

ListedEntry Sized(uint64_t packed, uint64_t unpacked) {
    ListedEntry entry = {};
    entry.packedSize = packed;
    entry.unpackedSize = unpacked;
    entry.path = entry.fileName = L"";
    return entry;
}

}  // namespace

TEST(EntryCells, SizesAreGroupedAndUnsigned) {
    EXPECT_EQ(CellText(Sized(0, 3000000000u), ColumnUnpackedSize), L"3,000,000,000");
    EXPECT_EQ(CellText(Sized(4294967295u, 0), ColumnPackedSize), L"4,294,967,295");
    EXPECT_EQ(CellText(Sized(999, 1000), ColumnPackedSize), L"999");
    EXPECT_EQ(CellText(Sized(999, 1000), ColumnUnpackedSize), L"1,000");
    EXPECT_EQ(CellText(Sized(0, 0), ColumnUnpackedSize), L"0");
#if defined(_WIN64)
    // The 64-bit record carries entries of more than 4 GB whole.
    EXPECT_EQ(CellText(Sized(4294967396ull, 5000000000ull), ColumnUnpackedSize), L"5,000,000,000");
    EXPECT_EQ(CellText(Sized(4294967396ull, 5000000000ull), ColumnPackedSize), L"4,294,967,396");
    EXPECT_EQ(CellText(Sized(4294967396ull, 5000000000ull), ColumnRatio), L"85%");
#endif
}

TEST(EntryCells, RatioRoundsDownAndStopsAtHundred) {
    EXPECT_EQ(CellText(Sized(10, 0), ColumnRatio), L"100%");
    EXPECT_EQ(CellText(Sized(0, 0), ColumnRatio), L"0%");
    EXPECT_EQ(CellText(Sized(4000, 10000), ColumnRatio), L"40%");
    EXPECT_EQ(CellText(Sized(10001, 10000), ColumnRatio), L"100%");
    EXPECT_EQ(CellText(Sized(50000000, 60000000), ColumnRatio), L"83%");
    EXPECT_EQ(CellText(Sized(1, 3), ColumnRatio), L"33%");
    // packed * 100 does not fit into 32 bits here.
    EXPECT_EQ(CellText(Sized(4000000000u, 4100000000u), ColumnRatio), L"97%");
    EXPECT_EQ(PackingRatio(4294967295u, 1), 100);
    // Nor into 64 bits.
    EXPECT_EQ(PackingRatio(UINT64_MAX - 1, UINT64_MAX), 99);
    EXPECT_EQ(PackingRatio(UINT64_MAX / 2 + 1, UINT64_MAX), 50);
    EXPECT_EQ(PackingRatio(UINT64_MAX, 3), 100);
}

TEST(EntryCells, DateIsLocalTime) {
    ListedEntry entry = {};
    entry.path = entry.fileName = L"";
    entry.timestamp = LocalTimestamp(2002, 5, 1, 13, 5, 0);
    EXPECT_EQ(CellText(entry, ColumnDate), L"2002/05/01 13:05:00");
    entry.timestamp = LocalTimestamp(2038, 1, 1, 0, 0, 9);
    EXPECT_EQ(CellText(entry, ColumnDate), L"2038/01/01 00:00:09");
}

TEST(EntryCells, ExtremeTimestampsGiveAWholeDateOrNothing) {
    for (int32_t timestamp : {INT32_MIN, -1, 0, INT32_MAX}) {
        std::string text = EntryTimeText(timestamp);
        if (text.empty()) continue;
        ASSERT_EQ(text.size(), 19u) << timestamp;
        int year, month, day, hour, minute, second;
        ASSERT_EQ(sscanf(text.c_str(), "%4d/%2d/%2d %2d:%2d:%2d", &year, &month, &day, &hour, &minute, &second), 6);
        EXPECT_TRUE(year >= 1901 && year <= 2038) << text;
        EXPECT_TRUE(month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour < 24) << text;
    }
}

// Times only the 64-bit record carries: beyond 2038 they show, beyond what a file time holds
// they stay empty.
TEST(EntryCells, TimesBeyondThe32BitRangeShowOrStayEmpty) {
    const int64_t noonOfNewYear2500 = 16725268800LL;  // 2500-01-01 12:00:00 UTC
    EXPECT_EQ(EntryTimeText(noonOfNewYear2500).substr(0, 10), "2500/01/01");
    for (int64_t timestamp : {INT64_MIN, -11644473601LL, INT64_MAX, 910692730086LL})
        EXPECT_EQ(EntryTimeText(timestamp), "") << timestamp;
}

TEST(EntryCells, TextColumns) {
    ListedEntry entry = {};
    memcpy(entry.method, "-lh5-", 5);
    entry.path = L"docs\\";
    entry.fileName = L"表.txt";
    EXPECT_EQ(CellText(entry, ColumnMethod), L"-lh5-");
    EXPECT_EQ(CellText(entry, ColumnPath), L"docs\\");
    EXPECT_EQ(CellText(entry, ColumnFileName), L"表.txt");

    // A method that fills all eight bytes ends there, not in the next field.
    memcpy(entry.method, "ABCDEFGH", 8);
    entry.position = 0x41414141;
    EXPECT_EQ(CellText(entry, ColumnMethod), L"ABCDEFGH");
}

TEST(EntryCells, StatusTextPadsToThreeDigits) {
    EXPECT_EQ(SelectionStatusText(0, 0), "選択数   0個  /  総数   0個 ");
    EXPECT_EQ(SelectionStatusText(2, 1234), "選択数   2個  /  総数 1234個 ");
}
