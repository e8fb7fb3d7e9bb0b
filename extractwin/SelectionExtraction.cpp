#include "extractwin/SelectionExtraction.h"
#include "core/SettingIO.h"
#include "extract/ExtractEntries.h"
#include "extract/SelectionDestination.h"
#include "extractwin/DestinationDlg.h"
#include "extractwin/ListProgressDlg.h"
#include "extractwin/OverwriteDlg.h"
#include "extractwin/OwnedMessages.h"
#include "framework/WaitCursor.h"
#include "text/WidePath.h"

namespace {
// Enables the list window again when the run is over, before its progress dialog goes.
class ReenableOnExit {
public:
    explicit ReenableOnExit(CWnd* window) : window_(window) {}
    ~ReenableOnExit() {
        if (window_) window_->EnableWindow(TRUE);
    }

private:
    CWnd* window_;
};

void RunSelection(CWnd* listWindow, const ListedArchive& archive, const std::vector<const ListedEntry*>& selected,
                  const CDestinationDlg& answer) {
    CListProgressDlg progress(listWindow);
    progress.archiveLine = widepath::FileName(archive.path);
    progress.SetRange(static_cast<int>(selected.size()));
    progress.SetPosition(0);
    ReenableOnExit reenable(listWindow);

    OwnedMessages messages(listWindow ? listWindow->m_hWnd : nullptr);
    ExtractionPlan plan;
    if (!SelectionDestination(answer.destination, archive.path, &plan.destination, messages)) return;
    CSettingIO().Write(profile::RelativePathFlag, answer.keepPaths);

    plan.archive = &archive;
    plan.entries = selected;
    plan.keepPaths = answer.keepPaths != 0;
    plan.firstMode = Overwrite;
    plan.countFromOne = true;
    COverwriteAsker asker;
    ExtractEntries(plan, progress, asker, messages);
}
}  // namespace

void ExtractSelection(CWnd* listWindow, const ListedArchive& archive, const std::vector<const ListedEntry*>& selected) {
    CDestinationDlg dialog;
    dialog.destination = widepath::Folder(archive.path);
    dialog.keepPaths = CSettingIO().Read(profile::RelativePathFlag) != 0 ? 1 : 0;
    if (dialog.DoModal() != IDOK) return;

    CWaitCursor busy;
    if (listWindow) listWindow->EnableWindow(FALSE);
    RunSelection(listWindow, archive, selected, dialog);
}
