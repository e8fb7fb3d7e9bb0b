#include "app/ExtractorApp.h"
#include <cstdio>
#include <cstring>
#include "core/ImageViewerFolder.h"
#include "core/PluginFolder.h"
#include "core/ProgramPath.h"
#include "core/SettingIO.h"
#include "core/StartupPlan.h"
#include "core/Utility.h"
#include "extractwin/ExtractProgressDlg.h"
#include "listwin/ArchiveListDlg.h"
#include "plugins/PluginTable.h"
#include "settings/SettingsDlg.h"
#include "text/PathSize.h"
#include "text/WideText.h"

void CExtractorApp::LookUpPluginFolder() {
    CSettingIO settings;
    if (!settings.Read(profile::SpiFold).empty()) return;
    std::wstring viewerFolder;
    if (ReadImageViewerFolder(&viewerFolder)) settings.Write(profile::SpiFold, viewerFolder);
}

void CExtractorApp::Relaunch(const std::wstring& ownPath, const std::vector<std::wstring>& pieces) {
    for (const std::wstring& piece : pieces)
        CUtility().RunProgram(ownPath, std::wstring(CommandLineMarker) + L" " + piece, 0);
}

BOOL CExtractorApp::InitInstance() {
    SetRegistryKey("Morvel");
    LookUpPluginFolder();

    const wchar_t* text = m_lpCmdLineW ? m_lpCmdLineW : L"";
    int defrostingMode = 0;
    if (*text) defrostingMode = CSettingIO().Read(profile::DefrostingMode);
    StartupPlan plan = DecideStartup(text, defrostingMode);

    switch (plan.mode) {
    case StartMode::Settings:
        RunSettingsMode();
        break;
    case StartMode::Immediate:
        RunImmediateMode(plan.pieces);
        break;
    case StartMode::List:
        RunListMode(plan.archivePath);
        break;
    case StartMode::Relaunch:
        Relaunch(ProgramPath(), plan.pieces);
        break;
    case StartMode::Nothing:
        break;
    }
    return FALSE;
}

void CExtractorApp::RunSettingsMode() {
    if (!CUtility().ClaimSingleInstance(SettingsMutexName, ExecutableName().c_str())) return;
    CSettingsDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
}

void CExtractorApp::RunListMode(const std::wstring& archivePath) {
    CPluginTable host;
    host.LoadFolder(PluginFolderInUse(SpiFileExtension));

    CArchiveListDlg window;
    window.SetArchive(archivePath, &host);
    m_pMainWnd = &window;
    window.DoModal();
    m_pMainWnd = nullptr;
    host.Unload(AllSlots);
}

void CExtractorApp::RunImmediateMode(const std::vector<std::wstring>& pieces) {
    CPluginTable host;
    host.LoadFolder(PluginFolderInUse(SpiFileExtension));

    // One dialog for every archive: each showing extracts one archive and closes itself.
    CExtractProgressDlg dialog;
    m_pMainWnd = &dialog;
    for (const std::wstring& piece : pieces) {
        dialog.SetArchive(piece, &host);
        dialog.DoModal();
    }
    m_pMainWnd = nullptr;
    host.Unload(AllSlots);
}
