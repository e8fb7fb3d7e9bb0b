#pragma once
#include <string>
#include "extractwin/ProgressDlgBase.h"
#include "plugins/PluginTable.h"
#include "res/resource.h"

// The progress dialog of immediate mode. Each modal showing extracts the archive given to
// SetArchive and then closes itself; the same object serves every archive of a run.
class CExtractProgressDlg : public CProgressDlgBase {
public:
    enum { IDD = IDD_EXTRACT_PROGRESS_DIALOG };

    CExtractProgressDlg();

    // The archive of the next showing (its name as the disk stores it) and the plug-ins.
    void SetArchive(const std::wstring& path, CPluginTable* table);
    // Extracts the whole archive into its folder below DefrostingFold.
    void RunExtraction();

    BOOL OnInitDialog() override;

    CPluginTable* host = nullptr;
    std::wstring archivePath;
};
