#include <gtest/gtest.h>
#include <string>
#include "extract/ZoneMark.h"

namespace {
int ZoneOf(const std::string& stream) { return ZoneIdInStream(stream.data(), stream.size()); }

// The stream as UTF-16LE with its byte order mark, as some tools write it.
std::string Utf16(const std::string& ascii) {
    std::string wide("\xFF\xFE", 2);
    for (char c : ascii) wide += std::string{c, '\0'};
    return wide;
}
}  // namespace

TEST(ZoneStream, TheZoneIsFoundInEveryFormAStreamTakes) {
    EXPECT_EQ(ZoneOf("[ZoneTransfer]\r\nZoneId=3\r\nReferrerUrl=C:\\dl\\a.zip\r\n"), 3);
    EXPECT_EQ(ZoneOf("[ZoneTransfer]\nHostUrl=https://example.org/a.zip?x=1\nZoneId=4\n"), 4) << "LF, any order";
    EXPECT_EQ(ZoneOf("[zonetransfer]\r\n  zoneid = 3 \r\n"), 3) << "any case, blanks around";
    EXPECT_EQ(ZoneOf("ZoneId=4"), 4) << "no line end";
    EXPECT_EQ(ZoneOf(Utf16("[ZoneTransfer]\r\nZoneId=3\r\n")), 3);
    EXPECT_EQ(ZoneOf(std::string(3000, ' ') + "\r\nZoneId=3\r\n"), 3) << "within the limit read";

    EXPECT_EQ(ZoneOf("[ZoneTransfer]\r\nReferrerUrl=C:\\a=ZoneId=3.zip\r\n"), NoZone) << "only a key counts";
    EXPECT_EQ(ZoneOf("[ZoneTransfer]\r\nZoneId=3x\r\n"), NoZone);
    EXPECT_EQ(ZoneOf("[ZoneTransfer]\r\nZoneId=\r\n"), NoZone);
    EXPECT_EQ(ZoneOf("[ZoneTransfer]\r\nZoneId=99999999999999999999\r\n"), NoZone) << "no overflow";
    EXPECT_EQ(ZoneOf(std::string(ZoneStreamReadLimit, ' ') + "\r\nZoneId=3\r\n"), NoZone) << "past the limit";
    EXPECT_EQ(ZoneOf(""), NoZone);
}

TEST(ZoneStream, TheWrittenMarkReadsBackWithItsZone) {
    std::string mark = ZoneStreamText(UntrustedZone, "C:\\dl\\a=b.zip");
    EXPECT_EQ(ZoneOf(mark), UntrustedZone);
    EXPECT_NE(mark.find("\r\nReferrerUrl=C:\\dl\\a=b.zip\r\n"), std::string::npos) << mark;
}

TEST(ZoneStream, OnlyInternetZonesAreCarriedAndOnlyToVolumesWithNamedStreams) {
    EXPECT_TRUE(MarksOutput(InternetZone, true));
    EXPECT_TRUE(MarksOutput(UntrustedZone, true));
    // Without named streams the stream's name would make a file of its own beside the output.
    EXPECT_FALSE(MarksOutput(InternetZone, false));
    EXPECT_FALSE(MarksOutput(UntrustedZone, false));
    for (int zone : {NoZone, 1, 2, 5, -1}) EXPECT_FALSE(MarksOutput(zone, true)) << "zone " << zone;
}
