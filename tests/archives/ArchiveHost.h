#pragma once
// Our plug-ins in Varnito's own host (CPluginTable), loaded from a folder of copies of them, and
// what the host makes of an archive against the reference tool's copy.
#include <memory>
#include <string>
#include <vector>
#include "plugins/PluginTable.h"
#include "tests/support/PluginTestFolder.h"

namespace archivetest {

// A table over a folder holding copies of the given plug-in files (so each Host loads its own
// libraries, with nothing kept from earlier tests).
class Host {
public:
    explicit Host(const std::vector<std::string>& plugins);
    // The slot of the plug-in of that file name; -1 when none.
    int SlotOf(const std::string& fileName) const;

    std::unique_ptr<CPluginTable> table;

private:
    PluginTestFolder plugins_;
};

// Lists the archive in the host, which must choose the plug-in of that file name, and fetches
// every entry: the same names and bytes as the reference tool's copy, every file of it listed.
void ExpectSameAsReferenceInHost(const Host& host, const std::string& archive, const std::string& reference,
                                 const std::string& plugin);

}  // namespace archivetest
