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
#include "text/LongPath.h"
#include "text/WideText.h"
#include "ui/PluginErrorBox.h"

namespace {

bool ShellOpen(const std::wstring& file, const wchar_t* parameters) {
    HINSTANCE result = ShellExecuteW(nullptr, L"open", file.c_str(), parameters, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

void CArchiveListDlg::ViewEntry() {
    int row = list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) return;
    BusyScope busyWhileViewing(*this);
    CWaitCursor wait;
    const ListedEntry* entry = list.RowEntry(row);
    if (!entry || !entry->fileName[0]) return;

    // A name that leads out of the work folder is refused like a file that cannot be made
    // (after the fetch, whose failure is told first): it gets no path at all.
    std::wstring workFile = workFolder.empty() ? std::wstring() : WorkFilePath(workFolder, entry->fileName);
    if (!workFile.empty()) CreateDirectoryW(ExtendedPath(workFolder).c_str(), nullptr);
    ZoneMarker zone(archivePath);
    EntryFileTarget target{workFile, LookAtOutput(workFile), 0, &zone};
    int code = 0;
    ArchiveHold held(archive);
    EntryFileEnd end = WriteEntryFile(held, *entry, target, &code);
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
    if (ShellOpen(CSettingIO().Read(profile::NullOpenEditor), workFile.c_str())) return;
    AppMessageBox(this, "関連付けられたアプリケーションがありません。");
}
