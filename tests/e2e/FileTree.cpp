#include "tests/e2e/FileTree.h"
#include <sstream>
#include "tests/e2e/VarnitoProcess.h"
#include "tests/support/FolderWalk.h"
#include "tests/support/TestSupport.h"

namespace e2e {

namespace {
constexpr int64_t MaxComparedBytes = 1 << 20;

void ReadFolder(const std::string& root, const std::string& relative, FileTree* tree) {
    for (const testsupport::FoundName& found : testsupport::ListFolder(root + relative)) {
        FileState state;
        state.isFolder = found.isFolder;
        if (state.isFolder) {
            (*tree)[relative + found.name + "\\"] = state;
            ReadFolder(root, relative + found.name + "\\", tree);
            continue;
        }
        state.size = static_cast<int64_t>(found.size);
        state.modified = testsupport::UnixTime(found.modified);
        if (state.size <= MaxComparedBytes) state.bytes = testsupport::ReadBytes(root + relative + found.name);
        (*tree)[relative + found.name] = state;
    }
}
}  // namespace

FileTree ReadTree(const std::string& root) {
    FileTree tree;
    ReadFolder(testsupport::WithSeparator(root), "", &tree);
    return tree;
}

FileTree FilesOnly(const FileTree& tree) {
    FileTree files;
    for (const auto& [path, state] : tree)
        if (!state.isFolder) files[path] = state;
    return files;
}

std::string TreeDifferences(const FileTree& expected, const FileTree& actual) {
    std::ostringstream out;
    for (const auto& [path, want] : expected) {
        auto got = actual.find(path);
        if (got == actual.end()) {
            out << "missing: " << path << "\n";
            continue;
        }
        if (got->second.isFolder != want.isFolder) out << "kind differs: " << path << "\n";
        if (got->second.size != want.size) out << "size " << got->second.size << " not " << want.size << ": " << path << "\n";
        if (got->second.modified != want.modified)
            out << "time " << got->second.modified << " not " << want.modified << ": " << path << "\n";
        if (got->second.bytes != want.bytes) out << "bytes differ: " << path << "\n";
    }
    for (const auto& entry : actual)
        if (!expected.count(entry.first)) out << "unexpected: " << entry.first << "\n";
    return out.str();
}

FileTree UnzippedTree(const std::string& archiveName) { return ReadTree(FixtureFolder() + "expected\\" + archiveName); }

bool CopyFixture(const std::string& name, const std::string& folder) {
    return CopyFileA((FixtureFolder() + name).c_str(), (testsupport::WithSeparator(folder) + name).c_str(), FALSE) != 0;
}

}  // namespace e2e
