#include "tests/zip/ZipPluginLoader.h"
#include <cstring>
#include "tests/support/TestSupport.h"

const ZipPlugin& Plugin() {
    static ZipPlugin plugin(PluginPath());
    return plugin;
}

std::string PluginPath() { return testsupport::ExeFolder() + "..\\spi\\zip\\" + testsupport::PluginFile("Zip"); }

std::string Fixtures() { return testsupport::ExeFolder() + "zip_fixtures\\"; }

Listing ListArchive(const std::string& archive) { return Plugin().List(archive); }

Fetched FetchEntry(const std::string& archive, LONG_PTR position, SpiProgressCallback progress, LONG_PTR data) {
    return Plugin().Fetch(archive, position, progress, data);
}

const ArchiveEntry* FindEntry(const Listing& listing, const std::string& joinedName) {
    for (const ArchiveEntry& entry : listing.entries)
        if (JoinedName(entry) == joinedName) return &entry;
    return nullptr;
}
