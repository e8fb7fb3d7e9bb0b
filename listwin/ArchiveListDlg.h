#pragma once
// The archive list window: the main window of list mode. One row per file entry of the
// archive, sortable by every column; extracts all or the selected entries, opens one entry
// with its associated program, and remembers its placement.
#include <memory>
#include <string>
#include <vector>
#include "core/Utility.h"
#include "framework/AnchorTable.h"
#include "framework/Dialog.h"
#include "framework/ImageList.h"
#include "framework/ToolTipCtrl.h"
#include "listwin/EntryCells.h"
#include "listwin/EntryListView.h"
#include "listwin/LazyStatusLine.h"
#include "plugins/PluginTable.h"
#include "text/PathSize.h"
#include "ui/HoverButton.h"

class CArchiveListDlg : public CDialog {
public:
    CArchiveListDlg();
    ~CArchiveListDlg() override;

    // The archive and the loaded plug-in table; before the window opens.
    void SetArchive(const std::wstring& path, CPluginTable* host);

    BOOL FillList();
    void UpdateButtons();
    void UpdateStatus();
    void SortByColumn(int column);
    static int CompareEntries(const ListedEntry* a, const ListedEntry* b, int column);
    void ExtractAll();
    void ExtractSelected();
    void ToggleSelection();
    void ShowAbout();
    void ViewEntry();
    // Closes the window. While a run or viewing an entry is under way, the run is asked to
    // stop instead and the window closes once it has ended.
    void CloseWindow();

    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnHelpInfo(HELPINFO* info) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;

    // Read access for the program's own checks of the window.
    const std::wstring& ArchivePath() const { return archivePath; }
    const std::wstring& WorkFolder() const { return workFolder; }

private:
    // Marks the window busy while work reads its entries; the outermost scope carries out a
    // close request that came meanwhile.
    class BusyScope {
    public:
        explicit BusyScope(CArchiveListDlg& window);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        CArchiveListDlg& window_;
        bool outermost_;
    };

    void TakeOverButtons();
    void CreateTooltips();
    // The stored placement, or centred on the screen on a first run.
    void RestorePlacement();
    void SetUpColumns();
    class RowMeasure;
    // Selects or clears every row; buttons and status are updated once, at the end.
    void SelectAll(bool select);
    void ReleaseEntries();
    // A row's state changed: the buttons follow at once, the status text when next shown.
    void SelectionChanged();
    CWnd* Button(int id);
    bool IsCtrlAOnList(const MSG* msg) const;

    CPluginTable* host = nullptr;
    CImageList imageList;
    std::unique_ptr<CRowIconCache> rowIcons;  // chooses the rows' images in imageList
    CToolTipCtrl tooltip;
    std::wstring archivePath;
    std::wstring archiveName;
    std::wstring workFolder;  // with its trailing separator; empty when there is none
    ListedArchive archive;  // its entries: the rows point into them
    CHoverButton buttons[6];
    int sortDirection[ColumnCount];
    CEntryListView list;
    std::string statusText;
    CLazyStatusLine statusLine;  // control 1026
    bool statusStale = false;    // the selection changed since statusText was made
    bool selectingAll = false;  // while SelectAll runs
    HICON windowIcon = nullptr;
    CAnchorTable anchors;
    bool busy = false;            // a run or viewing reads the entries
    bool closeRequested = false;  // a close request waits for it to end
};
