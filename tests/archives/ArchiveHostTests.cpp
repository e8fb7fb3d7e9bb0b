// 7z.spi and Tar.spi in Varnito's own plug-in host beside the other bundled plug-ins: chosen
// by content, listed with ListArchive and fetched with FetchEntry; and the cost of a solid
// archive, counted through test builds of the plug-ins that export how often they started a
// block (or compressed stream) from its beginning.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "plugins/PluginTable.h"
#include "tests/archives/ArchiveFixtures.h"
#include "tests/support/PluginTestFolder.h"
#include "tests/support/TestSupport.h"

using namespace archivetest;
using testsupport::PluginFile;
using testsupport::TempDir;

namespace {

typedef unsigned int(WINAPI* PluginStartsFn)();

// A table over a folder holding copies of the given plug-in files.
class Host {
public:
    explicit Host(const std::vector<std::string>& plugins) {
        for (const std::string& path : plugins) plugins_.AddCopy(path, path.substr(path.find_last_of('\\') + 1));
        table = LoadTable(plugins_.Path());
    }
    // The slot of the plug-in of that file name; -1 when none.
    int SlotOf(const std::string& fileName) const {
        for (int i = 0; i < MaxPlugins && table->Slot(i).module; ++i)
            if (fileName == table->Slot(i).fileName) return i;
        return -1;
    }

    std::unique_ptr<CPluginTable> table;

private:
    PluginTestFolder plugins_;
};

std::string Bundled(const std::string& folder, const std::string& base) {
    return testsupport::ExeFolder() + "..\\spi\\" + folder + "\\" + PluginFile(base);
}

// Lists the archive and fetches every entry in archive order; the entries' count. Each fetched
// entry must match the CRC its record states where it states one.
size_t FetchAll(CPluginTable& table, const std::string& archive) {
    EntryList entries;
    int slot = table.ListArchive(archive.c_str(), &entries).slot;
    EXPECT_GE(slot, 0);
    if (slot < 0) return 0;
    for (const ArchiveEntry& entry : entries) {
        PluginBlock fetched;
        EXPECT_EQ(table.FetchEntry(slot, archive.c_str(), &entry, &fetched), 0) << JoinedName(entry);
        const char* bytes = reinterpret_cast<const char*>(fetched.Bytes());
        std::string content = bytes ? std::string(bytes, entry.unpackedSize) : std::string();
        if (entry.crc != 0) {
            EXPECT_EQ(Crc32(content), entry.crc) << JoinedName(entry);
        }
    }
    return entries.size();
}

}  // namespace

TEST(ArchivesInHost, EachArchiveGoesToItsPluginByContent) {
    Host host({Bundled("zip", "Zip"), Bundled("lha", "Lha"), PluginPath("7z"), PluginPath("Tar")});
    int sevenZip = host.SlotOf(PluginFile("7z")), tar = host.SlotOf(PluginFile("Tar"));
    ASSERT_GE(sevenZip, 0);
    ASSERT_GE(tar, 0);
    TempDir renamed;
    // Names that say nothing: the first bytes decide.
    for (auto archive : {std::make_pair("default.7z", sevenZip), std::make_pair("gnu.tar", tar),
                         std::make_pair("bsd.tgz", tar), std::make_pair("gnu.tar.bz2", tar),
                         std::make_pair("gnu.tar.xz", tar), std::make_pair("lone.bin.xz", tar)}) {
        SCOPED_TRACE(archive.first);
        std::string copy = renamed / (std::string(archive.first) + ".dat");
        ASSERT_TRUE(CopyFileA((Fixtures() + archive.first).c_str(), copy.c_str(), FALSE));
        EntryList entries;
        EXPECT_EQ(host.table->ListArchive(copy.c_str(), &entries).slot, archive.second);
    }
}

// A solid 7z archive of 5,000 entries, listed and extracted entry by entry in archive order
// as the host does, decodes its one block once; a .tar.xz of the same files decompresses once
// to list and once to extract. Going back starts again.
TEST(ArchivesInHost, ASolidArchiveIsDecodedOncePerRunInArchiveOrder) {
    for (auto plugin :
         {std::make_pair("sevenzip_counting", "many.7z"), std::make_pair("tar_counting", "many.tar.xz")}) {
        SCOPED_TRACE(plugin.second);
        std::string path = testsupport::ExeFolder() + "counting\\" + PluginFile(plugin.first);
        Host host({path});
        HMODULE module = host.table->Slot(0).module;
        ASSERT_NE(module, nullptr);
        auto starts = reinterpret_cast<PluginStartsFn>(reinterpret_cast<void*>(GetProcAddress(module, "PluginStarts")));
        ASSERT_NE(starts, nullptr);
        bool isTar = std::string(plugin.second).find(".tar") != std::string::npos;
        unsigned before = starts();
        std::string archive = Fixtures() + plugin.second;
        EXPECT_GE(FetchAll(*host.table, archive), 5000u);
        EXPECT_EQ(starts() - before, isTar ? 2u : 1u);

        EntryList entries;
        ASSERT_EQ(host.table->ListArchive(archive.c_str(), &entries).slot, 0);
        size_t early = 10;
        while (early < entries.size() && entries[early].fileName[0] == '\0') ++early;
        ASSERT_LT(early, entries.size());
        PluginBlock again;
        EXPECT_EQ(host.table->FetchEntry(0, archive.c_str(), &entries[early], &again), 0);
        EXPECT_EQ(starts() - before, isTar ? 3u : 2u) << "an entry behind the decoder starts again";
    }
}
