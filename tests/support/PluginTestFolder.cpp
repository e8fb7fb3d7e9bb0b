#include "tests/support/PluginTestFolder.h"
#include "text/WideText.h"
#include <gtest/gtest.h>

std::string PluginTestFolder::Add(const std::string& name, const char* variant, const std::string& config) {
    std::string target = plugins_ / name;
    EXPECT_TRUE(CopyFileA(fixture::FixturePath(variant).c_str(), target.c_str(), FALSE)) << variant;
    if (!config.empty()) testsupport::WriteBytes(target + ".cfg", config);
    return target;
}

std::string PluginTestFolder::AddCopy(const std::string& source, const std::string& name) {
    std::string target = plugins_ / name;
    EXPECT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE)) << source;
    return target;
}

std::string PluginTestFolder::Archive(const std::string& name, const std::string& lines) const {
    return File(name, "#fixture\n" + lines);
}

std::string PluginTestFolder::File(const std::string& name, const std::string& bytes) const {
    std::string path = archives_ / name;
    EXPECT_TRUE(testsupport::WriteBytes(path, bytes));
    return path;
}

std::unique_ptr<CPluginTable> LoadTable(const std::string& folder, int* count) {
    auto table = std::make_unique<CPluginTable>();
    int loaded = table->LoadFolder(testsupport::Wide(folder));
    if (count) *count = loaded;
    return table;
}

TestListing ListInto(CPluginTable& table, const std::string& archivePath, ListedArchive* listed) {
    PluginResult result = table.ListArchive(testsupport::Wide(archivePath), listed);
    return TestListing{result, listed->slot};
}

namespace {
// A name as our plug-ins give it to a code page 932 host: each character without an exact
// spelling there is '_', the form the reference copies of the tests' archives are named in.
std::string Cp932Form(const wchar_t* name) {
    std::string form;
    for (const wchar_t* p = name; *p;) {
        size_t units = p[0] >= 0xD800 && p[0] < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000 ? 2 : 1;
        std::string spelled;
        form += WideToCp932(std::wstring(p, units), &spelled) ? spelled : "_";
        p += units;
    }
    return form;
}
}  // namespace

std::string JoinedName(const ListedEntry& entry) { return FolderOf(entry) + FileNameOf(entry); }
std::string FileNameOf(const ListedEntry& entry) { return Cp932Form(entry.fileName); }
std::string FolderOf(const ListedEntry& entry) { return Cp932Form(entry.path); }
