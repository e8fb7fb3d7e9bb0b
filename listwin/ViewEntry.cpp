// Opening one entry with the program associated with its type: the entry is unpacked into
// the work folder and handed to the shell.
#include <windows.h>
#include <shellapi.h>
#include "core/SettingIO.h"
#include "extract/EntryWriter.h"
#include "extract/ExtractionTexts.h"
#include "framework/MessageBox.h"
#include "framework/WaitCursor.h"
#include "listwin/ArchiveListDlg.h"
#include "listwin/WorkFile.h"
#include "text/PathSize.h"
#include "text/WideText.h"
#include "ui/PluginErrorBox.h"

namespace {

bool ShellOpen(const char* file, const char* parameters) {
    HINSTANCE result = ShellExecuteA(nullptr, "open", file, parameters, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

void CArchiveListDlg::ViewEntry() {
    int row = list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) return;
    BusyScope busyWhileViewing(*this);
    CWaitCursor wait;
    const ArchiveEntry* entry = list.RowEntry(row);
    if (!entry || !entry->fileName[0]) return;

    // A name that leads out of the work folder is refused like a file that cannot be made
    // (after the fetch, whose failure is told first): it gets no path at all.
    char workFile[PathSize] = {};
    bool named = workFolder[0] && WorkFilePath(workFolder, entry->fileName, workFile, sizeof workFile);
    if (named) CreateDirectoryA(workFolder, nullptr);
    ZoneMarker zone(archivePath);
    EntryFileTarget target{workFile, LookAtOutput(workFile), 0, &zone};
    int code = 0;
    ArchiveHold archive(listedArchive, archivePath);
    EntryFileEnd end = WriteEntryFile(*host, pluginIndex, archive, *entry, target, &code);
    if (end == EntryFileEnd::ArchiveChanged) {
        AppMessageBox(this, ArchiveChangedText);
        return;
    }
    if (end == EntryFileEnd::NotFetched) {
        ShowPluginErrorBox(m_hWnd, code);
        return;
    }
    if (end != EntryFileEnd::Written) {
        AppMessageBox(this, "ワークファイルの作成に失敗しました。");
        return;
    }

    if (ShellOpen(workFile, nullptr)) return;
    if (ShellOpen(WideToCp932Shown(CSettingIO().Read(profile::NullOpenEditor)).c_str(), workFile)) return;
    AppMessageBox(this, "関連付けられたアプリケーションがありません。");
}
