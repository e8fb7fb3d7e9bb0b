#pragma once
#include <string>
#include <vector>
#include "framework/WinApp.h"

// The application: start-up decides the mode from the command line, shows that mode's
// windows modally and returns, which ends the process.
class CExtractorApp : public CWinApp {
public:
    BOOL InitInstance() override;

    // Fills an empty SpiFold from the image viewer's registry entry.
    static void LookUpPluginFolder();
    // Starts one copy of the program per piece, each with the marker before its piece.
    static void Relaunch(const std::wstring& ownPath, const std::vector<std::wstring>& pieces);

private:
    void RunSettingsMode();
    void RunListMode(const std::wstring& archivePath);
    void RunImmediateMode(const std::vector<std::wstring>& pieces);
};

// The single-instance name of settings mode.
constexpr char SettingsMutexName[] = "VarnitoZVMorvel-SetupApplication";
