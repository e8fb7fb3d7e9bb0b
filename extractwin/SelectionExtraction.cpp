#include "extractwin/SelectionExtraction.h"
#include "core/SettingIO.h"
#include "core/Utility.h"
#include "extract/ExtractEntries.h"
#include "extract/ExtractionTexts.h"
#include "extract/OutputPath.h"
#include "extract/SelectionDestination.h"
#include "extractwin/DestinationDlg.h"
#include "extractwin/ListProgressDlg.h"
#include "extractwin/OverwriteDlg.h"
#include "extractwin/OwnedMessages.h"
#include "framework/WaitCursor.h"
#include "text/PathSize.h"

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

std::string ArchiveFolder(const char* archivePath) {
    char folder[PathSize];
    CUtility().SplitPath(PathPart::DriveAndFolder, archivePath, folder, sizeof folder);
    return folder;
}

void RunSelection(CWnd* listWindow, CPluginTable* host, int pluginIndex, const ArchiveIdentity& listedArchive,
                  const char* archivePath,
                  const char* archiveName, const std::vector<const ArchiveEntry*>& selected,
                  const CDestinationDlg& answer) {
    CListProgressDlg progress(listWindow);
    progress.archiveLine = archiveName ? archiveName : "";
    progress.SetRange(static_cast<int>(selected.size()));
    progress.SetPosition(0);
    ReenableOnExit reenable(listWindow);

    OwnedMessages messages(listWindow ? listWindow->m_hWnd : nullptr);
    ExtractionPlan plan;
    if (!SelectionDestination(answer.destination, archivePath, &plan.destination, messages)) return;
    CSettingIO().Write(profile::RelativePathFlag, answer.keepPaths);

    plan.entries = selected;
    plan.host = host;
    plan.pluginIndex = pluginIndex;
    plan.archivePath = archivePath;
    plan.listedArchive = listedArchive;
    plan.keepPaths = answer.keepPaths != 0;
    plan.firstMode = Overwrite;
    plan.countFromOne = true;
    COverwriteAsker asker;
    ExtractEntries(plan, progress, asker, messages);
}
}  // namespace

void ExtractSelection(CWnd* listWindow, CPluginTable* host, int pluginIndex, const ArchiveIdentity& listedArchive,
                      const char* archivePath,
                      const char* archiveName, const std::vector<const ArchiveEntry*>& selected) {
    CDestinationDlg dialog;
    dialog.destination = ArchiveFolder(archivePath);
    dialog.keepPaths = CSettingIO().Read(profile::RelativePathFlag) != 0 ? 1 : 0;
    if (dialog.DoModal() != IDOK) return;

    CWaitCursor busy;
    if (listWindow) listWindow->EnableWindow(FALSE);
    RunSelection(listWindow, host, pluginIndex, listedArchive, archivePath, archiveName, selected, dialog);
}
