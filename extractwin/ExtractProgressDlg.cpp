#include "extractwin/ExtractProgressDlg.h"
#include "core/Utility.h"
#include "extract/WholeArchiveExtraction.h"
#include "extractwin/OverwriteDlg.h"
#include "extractwin/OwnedMessages.h"
#include "framework/WaitCursor.h"
#include "text/WidePath.h"

CExtractProgressDlg::CExtractProgressDlg() : CProgressDlgBase(IDD) {}

void CExtractProgressDlg::SetArchive(const std::wstring& path, CPluginTable* table) {
    host = table;
    archivePath = path.empty() ? path : StoredName(path);
    archiveLine = widepath::FileName(archivePath);
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
