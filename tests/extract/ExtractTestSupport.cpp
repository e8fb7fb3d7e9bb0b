#include "tests/extract/ExtractTestSupport.h"
#include <algorithm>
#include <cstdio>
#include "spi/fixture/FixtureControl.h"
#include "tests/support/TestSupport.h"

namespace extracttest {
namespace {
// The fixture's escapes for the characters its script format uses itself.
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '|') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        if (c == '\r') {
            out += "\\r";
            continue;
        }
        out += c;
    }
    return out;
}

void ListInto(const std::string& base, const std::string& relative, std::vector<std::string>* out) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((base + relative + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out->push_back(relative + name + "\\");
            ListInto(base, relative + name + "\\", out);
        } else {
            out->push_back(relative + name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}
}  // namespace

std::string WriteFixtureArchive(const std::string& path, const std::vector<FixtureEntry>& entries) {
    std::string script = "#fixture\n";
    for (const FixtureEntry& e : entries) {
        std::string unpacked = e.unpackedSize >= 0 ? std::to_string(e.unpackedSize) : "";
        // method|position|packed|unpacked|timestamp|path|fileName|data|flags
        script += "entry -fx-||" + std::string() + "|" + unpacked + "|" + std::to_string(e.timestamp) + "|" +
                  Escape(e.path) + "|" + Escape(e.fileName) + "|" + Escape(e.data) + "|" + e.flags + "\n";
    }
    testsupport::WriteBytes(path, script);
    return path;
}

std::string FixturePluginFolder() {
    // A folder of its own holding only the archive variant of the fixture plug-in.
    static testsupport::TempDir folder;
    static bool copied = CopyFileA(fixture::FixturePath().c_str(),
                                   (folder / testsupport::PluginFile("fixture")).c_str(), FALSE) != FALSE;
    (void)copied;
    return folder.path();
}

ListedArchive::ListedArchive(const std::string& archivePath) {
    table.LoadFolder(FixturePluginFolder().c_str());
    slot = table.ListArchive(archivePath.c_str(), &entries);
}

std::vector<const ArchiveEntry*> ListedArchive::All() const {
    std::vector<const ArchiveEntry*> all;
    for (const ArchiveEntry& entry : entries) all.push_back(&entry);
    return all;
}

bool ScriptedAsker::Ask(const OverwriteQuestion& question, OverwriteMode* chosen) {
    questions.push_back(question);
    if (answers.empty()) return false;
    int answer = answers.front();
    answers.pop_front();
    if (answer < 0) return false;
    *chosen = static_cast<OverwriteMode>(answer);
    return true;
}

FILETIME ModificationTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

int32_t ModificationTimestamp(const std::string& path) {
    FILETIME time = ModificationTime(path);
    unsigned long long ticks = (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<int32_t>(static_cast<long long>(ticks / 10000000ULL) - 11644473600LL);
}

bool SetModificationTimestamp(const std::string& path, int32_t timestamp) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    unsigned long long ticks = (static_cast<unsigned long long>(timestamp) + 11644473600ULL) * 10000000ULL;
    FILETIME time = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    bool ok = SetFileTime(file, nullptr, nullptr, &time) != FALSE;
    CloseHandle(file);
    return ok;
}

std::vector<std::string> ListTree(const std::string& folder) {
    std::vector<std::string> all;
    std::string base = folder;
    if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
    ListInto(base, "", &all);
    std::sort(all.begin(), all.end());
    return all;
}

FolderOpenRecorder::FolderOpenRecorder() { ClearRecords(); }

FolderOpenRecorder::~FolderOpenRecorder() { ClearRecords(); }

void FolderOpenRecorder::ClearRecords() {
    std::string folder = testsupport::ExeFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "started-*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do DeleteFileA((folder + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
}

std::vector<std::string> FolderOpenRecorder::OpenedNow() {
    std::vector<std::string> texts;
    std::string folder = testsupport::ExeFolder();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "started-*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return texts;
    do {
        // The recorder may still be writing; an empty record is not counted yet.
        std::string text = testsupport::ReadBytes(folder + found.cFileName);
        if (!text.empty()) texts.push_back(text);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return texts;
}

std::vector<std::string> FolderOpenRecorder::Opened(size_t count, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    std::vector<std::string> texts = OpenedNow();
    while (texts.size() < count && GetTickCount() - start < timeoutMs) {
        Sleep(50);
        texts = OpenedNow();
    }
    return texts;
}

}  // namespace extracttest
