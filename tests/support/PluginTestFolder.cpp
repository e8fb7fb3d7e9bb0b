#include "tests/support/PluginTestFolder.h"
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

std::string JoinedName(const ListedEntry& entry) { return FolderOf(entry) + FileNameOf(entry); }
std::string FileNameOf(const ListedEntry& entry) { return testsupport::Narrow(entry.fileName); }
std::string FolderOf(const ListedEntry& entry) { return testsupport::Narrow(entry.path); }
