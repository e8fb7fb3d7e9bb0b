#include "tests/extract/ExtractTestSupport.h"
#include <algorithm>
#include <cstdio>
#include "tests/support/PluginTestFolder.h"
#include "tests/support/RecordedStarts.h"
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
    static PluginTestFolder folder;
    static std::string copy = folder.Add(testsupport::PluginFile("fixture"));
    return folder.Path();
}

FixtureListing::FixtureListing(const std::string& archivePath) {
    table.LoadFolder(testsupport::Wide(FixturePluginFolder()));
    ListInto(table, archivePath, &archive);
}

std::vector<const ListedEntry*> FixtureListing::All() const {
    std::vector<const ListedEntry*> all;
    for (const ListedEntry& entry : archive.entries) all.push_back(&entry);
    return all;
}

bool ScriptedAsker::Ask(const OverwriteQuestion& question, OverwriteMode* chosen) {
    questions.push_back(question);
    if (whileAsking) whileAsking();
    if (answers.empty()) return false;
    int answer = answers.front();
    answers.pop_front();
    if (answer < 0) return false;
    *chosen = static_cast<OverwriteMode>(answer);
    return true;
}

FolderOpenRecorder::FolderOpenRecorder() { testsupport::ClearRecordedStarts(testsupport::ExeFolder()); }

FolderOpenRecorder::~FolderOpenRecorder() { testsupport::ClearRecordedStarts(testsupport::ExeFolder()); }

std::vector<std::string> FolderOpenRecorder::OpenedNow() { return testsupport::RecordedStarts(testsupport::ExeFolder()); }

std::vector<std::string> FolderOpenRecorder::Opened(size_t count, DWORD timeoutMs) {
    return testsupport::WaitForStarts(testsupport::ExeFolder(), count, timeoutMs);
}

}  // namespace extracttest
