#include "app/ExtractorApp.h"
#include <cstdio>
#include <cstring>
#include "core/ImageViewerFolder.h"
#include "core/PluginFolder.h"
#include "core/SettingIO.h"
#include "core/StartupPlan.h"
#include "core/Utility.h"
#include "extractwin/ExtractProgressDlg.h"
#include "listwin/ArchiveListDlg.h"
#include "plugins/PluginTable.h"
#include "settings/SettingsDlg.h"
#include "text/WideText.h"

void CExtractorApp::LookUpPluginFolder() {
    CSettingIO settings;
    if (!settings.Read(profile::SpiFold).empty()) return;
    std::wstring viewerFolder;
    if (ReadImageViewerFolder(&viewerFolder)) settings.Write(profile::SpiFold, viewerFolder);
}

void CExtractorApp::Relaunch(const char* ownPath, const std::vector<std::string>& pieces) {
    for (const std::string& piece : pieces) {
        std::string arguments = std::string(CommandLineMarker) + " " + piece;
        CUtility().RunProgram(ownPath, arguments.c_str(), 0);
    }
}

BOOL CExtractorApp::InitInstance() {
    SetRegistryKey("Morvel");
    LookUpPluginFolder();

    const char* text = m_lpCmdLine ? m_lpCmdLine : "";
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
    case StartMode::Relaunch: {
        char ownPath[32768] = {};
        GetModuleFileNameA(nullptr, ownPath, sizeof ownPath - 1);
        Relaunch(ownPath, plan.pieces);
        break;
    }
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

void CExtractorApp::RunListMode(const std::string& archivePath) {
    CPluginTable host;
    host.LoadFolder(WideToCp932Shown(PluginFolderInUse(SpiFileExtension)).c_str());

    CArchiveListDlg window;
    window.SetArchive(archivePath.c_str(), &host);
    m_pMainWnd = &window;
    window.DoModal();
    m_pMainWnd = nullptr;
    host.Unload(AllSlots);
}

void CExtractorApp::RunImmediateMode(const std::vector<std::string>& pieces) {
    CPluginTable host;
    host.LoadFolder(WideToCp932Shown(PluginFolderInUse(SpiFileExtension)).c_str());

    // One dialog for every archive: each showing extracts one archive and closes itself.
    CExtractProgressDlg dialog;
    m_pMainWnd = &dialog;
    for (const std::string& piece : pieces) {
        dialog.SetArchive(FittingPath(piece).c_str(), &host);
        dialog.DoModal();
    }
    m_pMainWnd = nullptr;
    host.Unload(AllSlots);
}
