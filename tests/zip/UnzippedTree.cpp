#include "tests/zip/UnzippedTree.h"
#include "tests/zip/ZipPluginLoader.h"

std::map<std::string, UnzippedItem> UnzippedTree(const std::string& name) {
    return testsupport::ExtractedTree(Fixtures() + "expected\\" + name + "\\");
}
