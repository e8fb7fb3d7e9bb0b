#include "tests/lha/LhaPluginLoader.h"
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include "tests/support/TestSupport.h"

namespace lhatest {
namespace {

std::string FromHex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

}  // namespace

std::string PluginPath() { return testsupport::ExeFolder() + "..\\spi\\lha\\" + testsupport::PluginFile("Lha"); }
std::string DataFolder() { return testsupport::ExeFolder() + "lha-data\\"; }

std::vector<std::string> MethodArchiveNames() {
    std::vector<std::string> names;
    for (int level = 0; level <= 2; ++level) {
        for (int method = 5; method <= 7; ++method) names.push_back("l" + std::to_string(level) + "-lh" + std::to_string(method));
    }
    return names;
}

std::vector<std::string> ArchiveNames() {
    std::vector<std::string> names = MethodArchiveNames();
    for (int level = 0; level <= 2; ++level) names.push_back("dbcs-l" + std::to_string(level));
    names.push_back("l3-lh5");
    for (int level = 0; level <= 2; ++level) names.push_back("unix-l" + std::to_string(level));
    names.push_back("utf8-l0");
    return names;
}

LhaPlugin::LhaPlugin() : SpiLibrary(PluginPath()) {}

std::vector<ArchiveEntry> LhaPlugin::List(const std::string& archive, int* result) const {
    SpiListing listing = SpiLibrary::List(archive);
    *result = listing.result;
    return listing.entries;
}

std::string LhaPlugin::Fetch(const std::string& archive, uint32_t position, int* result, SpiProgressCallback progress,
                             LONG_PTR data) const {
    SpiFetched fetched = SpiLibrary::Fetch(archive, position, progress, data);
    *result = fetched.result;
    return fetched.bytes;
}

std::map<std::string, Reference> ReadReference(const std::string& archiveName) {
    std::map<std::string, Reference> entries;
    std::istringstream lines(testsupport::ReadBytes(DataFolder() + archiveName + ".ref"));
    std::string kind, hexName;
    while (lines >> kind >> hexName) {
        Reference reference;
        reference.isFolder = kind == "D";
        reference.isLink = kind == "L";
        if (reference.isLink) {
            std::string target;
            lines >> target;
            reference.bytes = FromHex(target);
            reference.size = reference.bytes.size();
        } else if (!reference.isFolder) {
            std::string index;
            lines >> reference.size >> reference.mtime >> index;
            reference.bytes = testsupport::ReadBytes(DataFolder() + archiveName + ".files\\" + index);
        }
        entries[FromHex(hexName)] = reference;
    }
    return entries;
}

std::string MethodOf(const ArchiveEntry& entry) {
    return std::string(reinterpret_cast<const char*>(entry.method), strnlen(reinterpret_cast<const char*>(entry.method), 8));
}

}  // namespace lhatest
