#include "extract/ExtractEntries.h"
#include <windows.h>
#include "app/Utility.h"
#include "extract/EntryWriter.h"
#include "extract/ExtractionTexts.h"
#include "extract/OutputPath.h"
#include "extract/OverwriteDecision.h"
#include "framework/Wnd.h"

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        // Dialogs see their keys first, so Esc reaches the progress dialog's abort.
        if (CWnd::WalkPreTranslateTree(&message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

namespace {
// Builds the output path and makes its folder. False after showing the message.
bool PrepareOutput(const ExtractionPlan& plan, const ArchiveEntry& entry, OutputPath* out,
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
    if (plan.keepPaths && !CUtility().MakeFolders(out->folderToMake.c_str())) {
        messages.ShowMessage(FolderFailedText);
        return false;
    }
    return true;
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
    for (size_t i = 0; i < plan.entries.size(); ++i) {
        const ArchiveEntry& entry = *plan.entries[i];
        progress.SetPosition(static_cast<int>(plan.countFromOne ? i + 1 : i));
        std::string fileName = EntryFileName(entry);
        if (fileName.empty()) continue;  // a folder record

        progress.ShowEntryName(fileName.c_str());
        DrainMessages();
        if (progress.AbortRequested()) return ExtractionEnd::Normal;

        OutputPath out;
        if (!PrepareOutput(plan, entry, &out, messages)) return ExtractionEnd::Failure;

        bool exists = CUtility().PathKind(out.filePath.c_str()) == 1;
        OverwriteAction action = DecideOverwrite(mode, exists);
        if (action == OverwriteAction::Ask) {
            OverwriteQuestion question = MakeOverwriteQuestion(out.folderText, out.filePath, entry, mode);
            OverwriteMode chosen = mode;
            if (!asker.Ask(question, &chosen)) return ExtractionEnd::Failure;
            if (chosen >= Overwrite && chosen <= IgnoreAll) mode = chosen;
            chosen = mode;
            action = ActionForAnswer(chosen);
        }
        if (action == OverwriteAction::Skip) continue;
        if (!WriteEntry(plan, entry, out.filePath, messages)) return ExtractionEnd::Failure;
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
