#include "extract/ExtractEntries.h"
#include <windows.h>
#include <unordered_set>
#include "core/Utility.h"
#include "extract/EntryWriter.h"
#include "extract/ExtractionTexts.h"
#include "extract/OutputFile.h"
#include "extract/OutputPath.h"
#include "extract/OverwriteDecision.h"

namespace {
// The folders this run made or found. Entries share few folders, so each folder is asked for
// once, not once per entry with every parent of it.
class RunFolders {
public:
    bool Make(const std::wstring& folder) {
        if (known_.count(folder)) return true;
        if (!CUtility().MakeFolders(folder)) return false;
        known_.insert(folder);
        return true;
    }

private:
    std::unordered_set<std::wstring> known_;
};

// Builds the output path and makes its folder. False after showing the message.
bool PrepareOutput(const ExtractionPlan& plan, const ListedEntry& entry, RunFolders& folders, OutputPath* out,
                   ExtractionMessages& messages) {
    switch (BuildOutputPath(plan.destination, entry, plan.keepPaths, out)) {
    case OutputPathResult::Ok:
        break;
    case OutputPathResult::FolderTooLong:
        messages.ShowMessage(FolderFailedText);
        return false;
    case OutputPathResult::Unsafe:
    case OutputPathResult::FileTooLong:
        messages.ShowMessage(WriteFailedText);
        return false;
    }
    if (plan.keepPaths && !folders.Make(out->folderToMake)) {
        messages.ShowMessage(FolderFailedText);
        return false;
    }
    return true;
}

// What to do with an entry whose output file exists: the run's mode decides, or the
// question, whose answer becomes the mode. False when the user stops the run.
bool DecideAboutExisting(const OutputPath& out, const OutputFileState& onDisk, const ListedEntry& entry,
                         OverwriteMode* mode, OverwriteAsker& asker, OverwriteAction* action) {
    *action = DecideOverwrite(*mode, onDisk.IsFile());
    if (*action != OverwriteAction::Ask) return true;
    OverwriteMode chosen = *mode;
    if (!asker.Ask(MakeOverwriteQuestion(out.folderText, onDisk, entry, *mode), &chosen)) return false;
    if (chosen >= Overwrite && chosen <= IgnoreAll) *mode = chosen;
    *action = ActionForAnswer(*mode);
    return true;
}

// A large entry's progress, as its plug-in reports it, onto the dialog; the user's abort,
// looked for at the first report and then at most once a screen interval, stops the plug-in
// within the entry.
class ProgressWithinEntry : public EntryProgress {
public:
    explicit ProgressWithinEntry(ExtractionProgress& progress) : progress_(progress) {}
    bool Continue(int done, int total) override {
        progress_.ShowEntryShare(done, total);
        DWORD now = GetTickCount();
        if (looked_ && now - lookedAt_ < AbortLookInterval) return true;
        looked_ = true;
        lookedAt_ = now;
        return !progress_.AbortRequested();
    }

private:
    static constexpr DWORD AbortLookInterval = 50;  // milliseconds
    ExtractionProgress& progress_;
    bool looked_ = false;
    DWORD lookedAt_ = 0;
};

enum class EntryOutcome { Written, Stopped, Failed };

// Fetches and writes the entry. Failed after showing the message; Stopped, without one, when
// the user stopped the plug-in (cancelled its password dialog).
EntryOutcome WriteEntry(const ListedEntry& entry, const std::wstring& filePath, const OutputFileState& onDisk,
                        ArchiveHold& archive, ZoneMarker& zone, ExtractionProgress& progress,
                        ExtractionMessages& messages) {
    int code = 0;
    ProgressWithinEntry withinEntry(progress);
    EntryFileTarget target{filePath, onDisk, entry.timestamp, &zone, &withinEntry};
    switch (WriteEntryFile(archive, entry, target, &code)) {
    case EntryFileEnd::Written:
        return EntryOutcome::Written;
    case EntryFileEnd::ArchiveChanged:
        messages.ShowMessage(ArchiveChangedText);
        return EntryOutcome::Failed;
    case EntryFileEnd::NotFetched:
        if (code == StoppedByUser) return EntryOutcome::Stopped;
        messages.ShowPluginError(code);
        return EntryOutcome::Failed;
    case EntryFileEnd::NotWritten:
        break;
    }
    messages.ShowMessage(WriteFailedText);
    return EntryOutcome::Failed;
}

// The progress dialog updates the screen only now and then; before a question or a message
// it shows at once which entry the run has reached.
class AskerAfterProgress : public OverwriteAsker {
public:
    AskerAfterProgress(ExtractionProgress& progress, OverwriteAsker& asker) : progress_(progress), asker_(asker) {}
    bool Ask(const OverwriteQuestion& question, OverwriteMode* chosen) override {
        progress_.ShowNow();
        return asker_.Ask(question, chosen);
    }

private:
    ExtractionProgress& progress_;
    OverwriteAsker& asker_;
};

class MessagesAfterProgress : public ExtractionMessages {
public:
    MessagesAfterProgress(ExtractionProgress& progress, ExtractionMessages& messages)
        : progress_(progress), messages_(messages) {}
    void ShowMessage(const char* text) override {
        progress_.ShowNow();
        messages_.ShowMessage(text);
    }
    void ShowPluginError(int code) override {
        progress_.ShowNow();
        messages_.ShowPluginError(code);
    }

private:
    ExtractionProgress& progress_;
    ExtractionMessages& messages_;
};

ExtractionEnd RunEntries(const ExtractionPlan& plan, ExtractionProgress& progress, OverwriteAsker& asker,
                         ExtractionMessages& messages) {
    OverwriteMode mode = plan.firstMode;
    RunFolders folders;
    ArchiveHold archive(*plan.archive);  // held from the first fetch to the run's end
    ZoneMarker zone(plan.archive->path);
    for (size_t i = 0; i < plan.entries.size(); ++i) {
        const ListedEntry& entry = *plan.entries[i];
        progress.SetPosition(static_cast<int>(plan.countFromOne ? i + 1 : i));
        if (!entry.fileName[0]) continue;  // a folder record

        progress.ShowEntryName(entry.fileName);
        if (progress.AbortRequested()) return ExtractionEnd::Normal;

        OutputPath out;
        if (!PrepareOutput(plan, entry, folders, &out, messages)) return ExtractionEnd::Failure;
        OutputFileState onDisk = LookAtOutput(out.filePath);
        // No entry may be written over the archive, whatever the path is called.
        if (onDisk.IsFile() && SameFile(plan.archive->identity, ReadArchiveIdentity(out.filePath))) {
            messages.ShowMessage(WriteFailedText);
            return ExtractionEnd::Failure;
        }
        OverwriteAction action = OverwriteAction::Write;
        if (!DecideAboutExisting(out, onDisk, entry, &mode, asker, &action)) return ExtractionEnd::Failure;
        if (action == OverwriteAction::Skip) continue;
        switch (WriteEntry(entry, out.filePath, onDisk, archive, zone, progress, messages)) {
        case EntryOutcome::Written:
            break;
        case EntryOutcome::Stopped:
            return ExtractionEnd::Normal;  // as after 中断
        case EntryOutcome::Failed:
            return ExtractionEnd::Failure;
        }
    }
    return ExtractionEnd::Normal;
}

}  // namespace

ExtractionEnd ExtractEntries(const ExtractionPlan& plan, ExtractionProgress& progress, OverwriteAsker& asker,
                             ExtractionMessages& messages) {
    AskerAfterProgress shownAsker(progress, asker);
    MessagesAfterProgress shownMessages(progress, messages);
    ExtractionEnd end = RunEntries(plan, progress, shownAsker, shownMessages);
    progress.ShowNow();  // the last entry and the bar's last position stay on screen
    return end;
}
