#include <gtest/gtest.h>
#include <windows.h>
#include "core/SettingIO.h"
#include "tests/support/TestProfile.h"
#include "text/PathSize.h"

class SettingsStore : public ::testing::Test {
protected:
    testsupport::CleanProfile clean;
    CSettingIO io;
};

TEST_F(SettingsStore, CleanProfileReadsTheDefaultsAndLeavesTheKey) {
    EXPECT_EQ(io.ReadInt("", "DefrostingMode", 0), 0);
    EXPECT_EQ(io.ReadInt("", "OpenCheckFlag", 1), 1);
    EXPECT_EQ(io.ReadString("", "NullOpenEditor", "NotePad", nullptr), "NotePad");
    EXPECT_EQ(io.ReadString("", "SpiFold", "", nullptr), "");
    EXPECT_EQ(io.ReadString("", "SpiFold", nullptr, nullptr), "");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Morvel\\Varnito", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(SettingsStore, ValuesRoundTripWithTheirRegistryTypes) {
    io.WriteInt("", "DefrostingMode", -1);
    io.WriteString("", "DefrostingFold", "D:\\出力\\表");
    EXPECT_EQ(io.ReadInt("", "DefrostingMode", 0), -1);
    EXPECT_EQ(io.ReadString("", "DefrostingFold", "", nullptr), "D:\\出力\\表");

    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Morvel\\Varnito", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0;
    RegQueryValueExA(key, "DefrostingMode", nullptr, &type, nullptr, nullptr);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    RegQueryValueExA(key, "DefrostingFold", nullptr, &type, nullptr, nullptr);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    RegCloseKey(key);
}

TEST_F(SettingsStore, AnEmptyStringStaysEmpty) {
    io.WriteString("", "NullOpenEditor", "");
    EXPECT_EQ(io.ReadString("", "NullOpenEditor", "NotePad", nullptr), "");
}

TEST_F(SettingsStore, AValueOfTheWrongTypeReadsAsTheDefault) {
    io.WriteString("", "OpenCheckFlag", "0");
    io.WriteInt("", "NullOpenEditor", 7);
    EXPECT_EQ(io.ReadInt("", "OpenCheckFlag", 1), 1);
    EXPECT_EQ(io.ReadString("", "NullOpenEditor", "NotePad", nullptr), "NotePad");
}

TEST_F(SettingsStore, ATextTooLongForThePathBufferReadsAsTheDefault) {
    char buffer[PathSize + 16];
    memset(buffer, '#', sizeof buffer);
    std::string fits(259, 'z');
    io.WriteString("", "SpiFold", fits.c_str());
    EXPECT_EQ(io.ReadString("", "SpiFold", "D:\\plugins", buffer), fits);
    EXPECT_EQ(std::string(buffer), fits);
    EXPECT_EQ(buffer[PathSize], '#');

    // Cut to fit, it would name another folder.
    io.WriteString("", "SpiFold", (fits + "z\\more").c_str());
    EXPECT_EQ(io.ReadString("", "SpiFold", "D:\\plugins", buffer), "D:\\plugins");
    EXPECT_EQ(std::string(buffer), "D:\\plugins");
    EXPECT_EQ(io.ReadString("", "SpiFold", nullptr, nullptr), "");
}

// The three paths of the profile are read and written as UTF-16.
TEST_F(SettingsStore, APathTheEarlierBuildStoredInCodePage932ReadsBackTheSame) {
    EXPECT_EQ(io.Read(profile::NullOpenEditor), L"NotePad");
    EXPECT_EQ(io.Read(profile::SpiFold), L"");
    // As the "A" functions stored it: the bytes of this literal are code page 932.
    testsupport::WriteProfileText("DefrostingFold", "D:\\出力\\表");
    EXPECT_EQ(io.Read(profile::DefrostingFold), L"D:\\出力\\表");
}

TEST_F(SettingsStore, AFolderThatCodePage932CannotSpellIsKeptExactly) {
    const std::wstring folder = L"C:\\Users\\José\\데이터\\😀";
    ASSERT_TRUE(io.Write(profile::SpiFold, folder));
    EXPECT_EQ(io.Read(profile::SpiFold), folder);
    EXPECT_EQ(testsupport::ReadProfileWideText("SpiFold"), folder) << "one REG_SZ value under its own name";
}

TEST_F(SettingsStore, APathLongerThanTheWideFunctionsTakeIsNeitherReadNorWritten) {
    const std::wstring longest = L"C:\\" + std::wstring(MaxWidePathLength - 3, L'데');
    ASSERT_TRUE(io.Write(profile::DefrostingFold, longest));
    EXPECT_EQ(io.Read(profile::DefrostingFold), longest);

    // Cut to fit, it would name another folder.
    EXPECT_FALSE(io.Write(profile::DefrostingFold, longest + L"x"));
    EXPECT_EQ(io.Read(profile::DefrostingFold), longest) << "the stored value stays";
    testsupport::WriteProfileText("NullOpenEditor", "C:\\" + std::string(MaxWidePathLength - 2, 'e'));
    EXPECT_EQ(io.Read(profile::NullOpenEditor), L"NotePad");
}

TEST(IntList, ParsesUnderTheRulesOfPercentI) {
    IntList10 r;
    EXPECT_EQ(ParseIntList("0:1:0:0:0:0:10:10:400:300", &r), 1);
    EXPECT_EQ(r.showCmd, 1);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.bottom, 300);
    EXPECT_EQ(ParseIntList("0x10:010:-1:+2: 3:0:0:0:0:9", &r), 1);
    EXPECT_EQ(r.flags, 16);
    EXPECT_EQ(r.showCmd, 8);
    EXPECT_EQ(r.minX, -1);
    EXPECT_EQ(r.minY, 2);
    EXPECT_EQ(r.maxX, 3);
    EXPECT_EQ(ParseIntList("1:2:3:4:5:6:7:8:9:10:11", &r), 1);
    EXPECT_EQ(r.bottom, 10);
}

TEST(IntList, IncompleteTextsAreRefused) {
    IntList10 r;
    EXPECT_EQ(ParseIntList("1:2:3:4:5:6:7:8:9", &r), 0);
    EXPECT_EQ(ParseIntList("", &r), 0);
    EXPECT_EQ(ParseIntList("1:2:3;4:5:6:7:8:9:10", &r), 0);
    EXPECT_EQ(ParseIntList("garbage", &r), 0);
}

TEST_F(SettingsStore, IntListRoundTripsThroughTheProfile) {
    IntList10 r;
    EXPECT_EQ(io.ReadIntList("ListWindowData", &r), 0);
    IntList10 placement;
    placement.showCmd = 1;
    placement.minX = placement.minY = placement.maxX = placement.maxY = -1;
    placement.left = 120, placement.top = 80, placement.right = 700, placement.bottom = 520;
    EXPECT_EQ(io.WriteIntList("ListWindowData", placement), 1);
    EXPECT_EQ(io.ReadString("", "ListWindowData", "", nullptr), "0:1:-1:-1:-1:-1:120:80:700:520");
    ASSERT_EQ(io.ReadIntList("ListWindowData", &r), 1);
    EXPECT_EQ(r.right, 700);
    EXPECT_EQ(r.minX, -1);
}
