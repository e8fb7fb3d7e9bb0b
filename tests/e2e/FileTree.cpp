#include "tests/e2e/FileTree.h"
#include <sstream>
#include "tests/e2e/VarnitoProcess.h"
#include "tests/support/TestSupport.h"

namespace e2e {

namespace {
constexpr int64_t MaxComparedBytes = 1 << 20;

int64_t UnixTime(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<int64_t>(value.QuadPart / 10000000ULL) - 11644473600LL;
}

std::string WithSeparator(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

void ReadFolder(const std::string& root, const std::string& relative, FileTree* tree) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((root + relative + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        FileState state;
        state.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (state.isFolder) {
            (*tree)[relative + name + "\\"] = state;
            ReadFolder(root, relative + name + "\\", tree);
            continue;
        }
        state.size = (static_cast<int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        state.modified = UnixTime(found.ftLastWriteTime);
        if (state.size <= MaxComparedBytes) state.bytes = testsupport::ReadBytes(root + relative + name);
        (*tree)[relative + name] = state;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
}  // namespace

FileTree ReadTree(const std::string& root) {
    FileTree tree;
    ReadFolder(WithSeparator(root), "", &tree);
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
    return CopyFileA((FixtureFolder() + name).c_str(), (WithSeparator(folder) + name).c_str(), FALSE) != 0;
}

}  // namespace e2e
