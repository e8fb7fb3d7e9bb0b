#include "tests/archives/ArchiveHost.h"
#include <gtest/gtest.h>
#include "tests/archives/ArchiveFixtures.h"
#include "tests/support/SpiLibrary.h"
#include "tests/support/TestSupport.h"

namespace archivetest {

Host::Host(const std::vector<std::string>& plugins) {
    for (const std::string& path : plugins) plugins_.AddCopy(path, path.substr(path.find_last_of('\\') + 1));
    table = LoadTable(plugins_.Path());
}

int Host::SlotOf(const std::string& fileName) const {
    for (int i = 0; i < MaxPlugins && table->Slot(i).module; ++i)
        if (testsupport::Wide(fileName) == table->Slot(i).fileName) return i;
    return -1;
}

void ExpectSameAsReferenceInHost(const Host& host, const std::string& archive, const std::string& reference,
                                 const std::string& plugin) {
    SCOPED_TRACE(archive);
    auto expected = ReferenceTree(reference);
    ASSERT_GE(expected.size(), 3u) << "the reference tool's copy is missing";
    ListedArchive listed;
    ListInto(*host.table, archive, &listed);
    ASSERT_EQ(listed.slot, host.SlotOf(testsupport::PluginFile(plugin)));
    size_t files = 0;
    for (const ListedEntry& entry : listed.entries) {
        std::string name = JoinedName(entry);
        auto item = expected.find(name);
        ASSERT_NE(item, expected.end()) << name << ": the reference tool made no such file";
        if (item->second.isFolder) continue;
        PluginBlock fetched;
        ASSERT_EQ(host.table->FetchEntry(listed, entry, &fetched), 0) << name;
        std::string bytes = testsupport::ReadBytes(item->second.fullPath);
        ASSERT_EQ(entry.unpackedSize, bytes.size()) << name;
        const char* content = reinterpret_cast<const char*>(fetched.Bytes());
        EXPECT_TRUE((content ? std::string(content, bytes.size()) : std::string()) == bytes) << name;
        ++files;
    }
    size_t expectedFiles = 0;
    for (const auto& item : expected) expectedFiles += item.second.isFolder ? 0 : 1;
    EXPECT_EQ(files, expectedFiles);
}

}  // namespace archivetest
