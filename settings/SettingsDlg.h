#pragma once
#include <windows.h>
#include <string>
#include "framework/Button.h"
#include "framework/Dialog.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"
#include "plugins/PluginTable.h"
#include "settings/FileTypeList.h"
#include "text/PathSize.h"

// The settings dialog: edits the start-up mode, the program for entries without an
// associated application, the immediate-extraction destination with its three options and
// the plug-in folder, lists the archive plug-ins of that folder, and which of the file types
// they read are registered for the program. Nothing reaches the profile or the registered
// types before OK.
class CSettingsDlg : public CDialog {
public:
    CSettingsDlg();
    ~CSettingsDlg() override;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // Enables the immediate-extraction controls in mode 1 and the editor controls in mode 0.
    void UpdateModeControls();
    // Lists the archive plug-ins of the folder in the plug-in folder field, with their count,
    // and the file types they read.
    void FillPluginList();

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnHelpInfo(HELPINFO* info) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr int ColumnCount = 4;
    // The path fields hold at most this many UTF-16 units: any path, as the profile keeps it.
    static constexpr int TextLimit = static_cast<int>(MaxWidePathLength);

    void SetUpPluginList();
    // The rows of the loaded archive plug-ins, and the file types they read.
    void ListArchivePlugins(int loaded);
    void SortByColumn(int column);
    void PickDestinationFolder();
    void PickPluginFolder();
    void TakeImageViewerFolder();
    void PickEditor();
    // The text of a path field; a longer text than it takes (which OK refuses) reads as empty.
    std::wstring FieldText(int id) const;

    CPluginTable plugins;
    CImageList images;
    int columnDirection[ColumnCount] = {1, 1, 1, 1};
    CButton editorButton;
    CButton destinationButton;
    CButton viewerFolderButton;
    CButton pluginFolderButton;
    CListCtrl pluginList;
    CFileTypeList typeList;
    int defrostingMode = 0;
    int openCheckFlag = 0;
    int updateChkFlag = 0;
    int avoidDoubleFolderFlag = 0;
    HICON mainIcon = nullptr;
};
