#include "tests/support/WideNames.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <set>
#include "tests/support/TestSupport.h"
#include "tests/support/WideFiles.h"

namespace widenames {
namespace {

using testsupport::Utf8;

const wchar_t* const DeepParts[] = {L"node_modules", L"@varnito-fixtures",
                                    L"a-dependency-with-a-descriptive-and-rather-long-package-name", L"node_modules",
                                    L"another-dependency-whose-name-is-just-as-long-as-the-first-one", L"node_modules",
                                    L"a-third-level-of-dependencies-as-npm-nested-them-before-v3", L"lib", L"internal"};
const wchar_t DeepFile[] = L"a-source-file-with-a-long-and-descriptive-name-as-in-real-trees.js";

// The files (not the folders) a list names.
std::set<std::wstring> FileNames(const SpiWideListing& listing) {
    std::set<std::wstring> names;
    for (const ArchiveEntryW& entry : listing.entries)
        if (entry.fileName[0]) names.insert(JoinedName(entry));
    return names;
}

std::set<std::wstring> FileNames(const SpiFullListing& listing) {
    std::set<std::wstring> names;
    for (const SpiListedEntry& entry : listing.entries)
        if (!entry.fileName.empty()) names.insert(JoinedName(entry));
    return names;
}

std::set<std::string> FileNames(const SpiListing& listing) {
    std::set<std::string> names;
    for (const ArchiveEntry& entry : listing.entries)
        if (entry.fileName[0]) names.insert(JoinedName(entry));
    return names;
}

const SpiListedEntry* Listed(const SpiFullListing& listing, const std::wstring& name) {
    for (const SpiListedEntry& entry : listing.entries)
        if (JoinedName(entry) == name) return &entry;
    return nullptr;
}

// GetFileW into `folder` (given as a host gives it, no "\\?\"); the bytes of the file it wrote.
std::string WrittenInto(const SpiLibrary& plugin, const std::wstring& archive, uint64_t position,
                        const std::wstring& folder, const std::wstring& fileName) {
    std::wstring dest = folder;
    int result = plugin.getFileW(archive.c_str(), static_cast<LONG_PTR>(position), &dest[0], 0, nullptr, 0);
    EXPECT_EQ(result, 0) << Utf8(fileName);
    return testsupport::ReadWideFile(folder + L"\\" + fileName);
}

}  // namespace

const std::vector<std::wstring>& SixNames() {
    static const std::vector<std::wstring> names = {
        L"\uD55C\uAD6D\uC5B4.txt", L"\u7B80\u4F53\u4E2D\u6587.txt", L"caf\u00E9.txt", L"emoji\U0001F600.txt",
        L"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC.txt", L"\u65E5\u672C\u8A9E.txt"};
    return names;
}

const std::vector<std::string>& SixAnsiNames() {
    static const std::vector<std::string> names = {"___.txt", "_体中文.txt", "caf_.txt",
                                                   "emoji_.txt", "Ελληνικ_.txt", "日本語.txt"};
    return names;
}

std::string Content(const std::wstring& name) { return "the file " + Utf8(name) + "\n"; }

std::wstring DeepName() {
    std::wstring name = L"deep\\";
    for (const wchar_t* part : DeepParts) name += std::wstring(part) + L"\\";
    return name + DeepFile;
}

std::string DeepContent() {
    std::string content;
    for (int i = 0; i < 50; ++i) content += Content(DeepFile);
    return content;
}

std::wstring DeepShortName() { return L"deep\\package.json"; }

void ExpectSixNames(const SpiLibrary& plugin, const std::wstring& archive) {
    SCOPED_TRACE(Utf8(archive));
    std::set<std::wstring> expected;
    for (const std::wstring& name : SixNames()) expected.insert(L"six\\" + name);
    SpiWideListing wide = plugin.ListWide(archive);
    ASSERT_EQ(wide.result, 0);
    EXPECT_EQ(FileNames(wide), expected);
    SpiFullListing full = plugin.ListFull(archive);
    ASSERT_EQ(full.result, 0);
    ASSERT_TRUE(full.wellFormed);
    EXPECT_EQ(FileNames(full), expected);

    testsupport::TempDir out;
    std::wstring folder = testsupport::WidePath(out.path()) + L"six";
    ASSERT_TRUE(testsupport::MakeFolders(folder));
    for (const std::wstring& name : SixNames()) {
        const SpiListedEntry* listed = Listed(full, L"six\\" + name);
        ASSERT_NE(listed, nullptr) << Utf8(name);
        EXPECT_EQ(plugin.FetchWide(archive, static_cast<LONG_PTR>(listed->record.position)).bytes, Content(name));
        ArchiveEntryW found = {};
        EXPECT_EQ(plugin.getFileInfoW(archive.c_str(), 0, (L"six/" + name).c_str(), 0, &found), 0) << Utf8(name);
        EXPECT_EQ(static_cast<uint64_t>(found.position), listed->record.position);
        EXPECT_EQ(WrittenInto(plugin, archive, listed->record.position, folder, name), Content(name));
    }
    std::vector<std::wstring> written = SixNames();
    std::sort(written.begin(), written.end());
    EXPECT_EQ(testsupport::WideNamesIn(folder), written);

    std::set<std::string> ansi;
    for (const std::string& name : SixAnsiNames()) ansi.insert("six\\" + name);
    SpiListing listing = plugin.List(testsupport::AnsiPath(archive));
    ASSERT_EQ(listing.result, 0);
    EXPECT_EQ(FileNames(listing), ansi);
}

void ExpectDeepTree(const SpiLibrary& plugin, const std::wstring& archive) {
    SCOPED_TRACE(Utf8(archive));
    SpiFullListing full = plugin.ListFull(archive);
    ASSERT_EQ(full.result, 0);
    ASSERT_TRUE(full.wellFormed);
    EXPECT_EQ(FileNames(full), (std::set<std::wstring>{DeepName(), DeepShortName()}));
    SpiWideListing wide = plugin.ListWide(archive);
    ASSERT_EQ(wide.result, 0);
    EXPECT_EQ(FileNames(wide), std::set<std::wstring>{DeepShortName()});
    SpiListing ansi = plugin.List(testsupport::AnsiPath(archive));
    ASSERT_EQ(ansi.result, 0);
    EXPECT_EQ(FileNames(ansi), std::set<std::string>{testsupport::AnsiPath(DeepShortName())});
    ArchiveEntryW found = {};
    EXPECT_NE(plugin.getFileInfoW(archive.c_str(), 0, DeepName().c_str(), 0, &found), 0)
        << "its record cannot hold the name";

    const SpiListedEntry* deep = Listed(full, DeepName());
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(plugin.FetchWide(archive, static_cast<LONG_PTR>(deep->record.position)).bytes, DeepContent());
    testsupport::TempDir out;
    std::wstring folder = testsupport::WidePath(out.path()) + deep->path;
    folder.pop_back();
    ASSERT_GE(folder.size() + 1 + deep->fileName.size(), static_cast<size_t>(MAX_PATH));
    ASSERT_TRUE(testsupport::MakeFolders(folder));
    EXPECT_EQ(WrittenInto(plugin, archive, deep->record.position, folder, deep->fileName), DeepContent());
}

}  // namespace widenames
