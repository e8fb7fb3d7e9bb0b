#pragma once
// Shared by the extraction tests: archives for the fixture plug-in, a loaded plug-in table,
// and recording stand-ins for the user interface of a run.
#include <windows.h>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include "extract/ExtractionUi.h"
#include "plugins/PluginTable.h"
#include "tests/support/FolderWalk.h"
#include "tests/support/TestSupport.h"

namespace extracttest {

using testsupport::ListTree;
using testsupport::ModificationTimestamp;
using testsupport::SetModificationTimestamp;

// One entry of a fixture archive.
struct FixtureEntry {
    FixtureEntry(std::string entryPath, std::string entryName, std::string entryData = std::string(),
                 int32_t entryTimestamp = 0)
        : path(std::move(entryPath)), fileName(std::move(entryName)), data(std::move(entryData)),
          timestamp(entryTimestamp) {}
    std::string path;
    std::string fileName;
    std::string data;
    int32_t timestamp = 0;
    std::string flags;           // e.g. "fetch-fail"
    long long unpackedSize = -1;  // -1: the size of data
};

// Writes a fixture archive ("#fixture" script) and returns its path.
std::string WriteFixtureArchive(const std::string& path, const std::vector<FixtureEntry>& entries);

// A plug-in folder that holds only the fixture plug-in.
std::string FixturePluginFolder();

// A plug-in table loaded with the fixture plug-in, and the archive listed through it.
struct FixtureListing {
    CPluginTable table;
    ListedArchive archive;
    explicit FixtureListing(const std::string& archivePath);
    int Slot() const { return archive.slot; }
    std::vector<const ListedEntry*> All() const;
};

// Progress: records every call; raises the abort flag once abortAfterNames names were shown.
class RecordingProgress : public ExtractionProgress {
public:
    void SetRange(int upper) override { ranges.push_back(upper); }
    void SetPosition(int position) override { positions.push_back(position); }
    void ShowEntryName(const wchar_t* name) override { names.push_back(testsupport::Narrow(name)); }
    void ShowEntryShare(int done, int total) override { shares.push_back({done, total}); }
    void ShowNow() override {}
    bool AbortRequested() override {
        return (abortAfterNames >= 0 && static_cast<int>(names.size()) > abortAfterNames) ||
               (abortAtShare >= 0 && static_cast<int>(shares.size()) > abortAtShare);
    }

    std::vector<int> ranges, positions;
    std::vector<std::string> names;
    std::vector<std::pair<int, int>> shares;
    int abortAfterNames = -1;
    int abortAtShare = -1;  // raised once more shares than this were shown
};

// Overwrite question: answers from a queue (a missing answer stops) and records questions.
class ScriptedAsker : public OverwriteAsker {
public:
    bool Ask(const OverwriteQuestion& question, OverwriteMode* chosen) override;
    // Each answer: a mode 0..3, or -1 to stop.
    std::deque<int> answers;
    std::vector<OverwriteQuestion> questions;
    std::function<void()> whileAsking;  // what happens while the question waits
};

class RecordingMessages : public ExtractionMessages {
public:
    void ShowMessage(const char* text) override { texts.push_back(text); }
    void ShowPluginError(int code) override { codes.push_back(code); }
    std::vector<std::string> texts;
    std::vector<int> codes;
};

// Sees the folders the shell opens. Wine's shell opens a folder with the first
// "explorer.exe" on the program search path, which begins with the test program's own
// folder: the build puts a recorder of that name there (the test helper record_args under
// another name), and it writes what it was started with to "started-<pid>.txt" beside itself.
class FolderOpenRecorder {
public:
    FolderOpenRecorder();
    ~FolderOpenRecorder();
    // Texts the handler received so far (waits up to timeoutMs for at least `count`).
    std::vector<std::string> Opened(size_t count, DWORD timeoutMs);
    std::vector<std::string> OpenedNow();
};

}  // namespace extracttest
