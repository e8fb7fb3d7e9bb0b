#include "tests/support/ExtractedTree.h"

namespace testsupport {
namespace {

void Collect(const std::string& root, const std::string& prefix, std::map<std::string, ExtractedItem>* items) {
    for (const FoundName& found : ListFolder(root + prefix)) {
        std::string joined = prefix + found.name + (found.isFolder ? "\\" : "");
        (*items)[joined] = {root + joined, found.isFolder, UnixTime(found.modified)};
        if (found.isFolder) Collect(root, joined, items);
    }
}

}  // namespace

std::map<std::string, ExtractedItem> ExtractedTree(const std::string& root) {
    std::map<std::string, ExtractedItem> items;
    Collect(root, "", &items);
    return items;
}

}  // namespace testsupport
