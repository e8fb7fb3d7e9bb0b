#include "extractwin/ExtractProgressDlg.h"
#include <cstring>
#include "core/Utility.h"
#include "extract/WholeArchiveExtraction.h"
#include "extractwin/OverwriteDlg.h"
#include "extractwin/OwnedMessages.h"
#include "framework/WaitCursor.h"
#include "text/PathSize.h"

CExtractProgressDlg::CExtractProgressDlg() : CProgressDlgBase(IDD) {}

void CExtractProgressDlg::SetArchive(const char* path, CPluginTable* table) {
    host = table;
    // A path that does not fit is refused whole (it then names no file), never cut short.
    size_t length = path ? strlen(path) : 0;
    if (length >= sizeof archivePath) length = 0;
    if (length) memcpy(archivePath, path, length);
    archivePath[length] = '\0';
    CUtility utility;
    utility.StoredName(archivePath, sizeof archivePath);
    char name[PathSize];
    utility.FileNamePart(archivePath, name, sizeof name);
    archiveLine = name;
    entryLine.clear();  // nothing of the previous archive stays on screen
}

BOOL CExtractProgressDlg::OnInitDialog() {
    CProgressDlgBase::OnInitDialog();
    SetWindowText("Varnito-解凍中...");
    abortRequested = 0;
    ResetBar();
    ShowWindow(SW_SHOW);
    RunExtraction();
    EndDialog(IDCANCEL);
    return FALSE;
}

void CExtractProgressDlg::RunExtraction() {
    COverwriteAsker asker;
    OwnedMessages messages(m_hWnd);
    CWaitCursor busy;
    ExtractWholeArchive(archivePath, host, *this, asker, messages);
}
