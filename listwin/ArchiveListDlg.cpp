#include "listwin/ArchiveListDlg.h"
#include <cstdio>
#include <cstring>
#include "core/SettingIO.h"
#include "extractwin/SelectionExtraction.h"
#include "framework/DataExchange.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "listwin/ToolbarButtons.h"
#include "res/resource.h"
#include "text/LongPath.h"
#include "text/WidePath.h"
#include "ui/AboutDlg.h"
#include "ui/Help.h"

namespace {

// The window keeps these controls attached to its edges; the rest keep their place.
const AnchorRow ListWindowAnchors[] = {
    {IDC_ARCLIST_STATUS, AnchorKind::BottomRight, true},
    {IDC_ARCLIST_ENTRIES, AnchorKind::Size, false},
    {IDC_ARCLIST_CLOSE, AnchorKind::TopRight, true},
    {IDC_ARCLIST_ABOUT, AnchorKind::TopRight, true},
};

const POINT MinimumWindowSize = {300, 120};

// Posts a close request to every dialog and message box of this thread that is owned by
// `owner`, directly or through other windows, as their close boxes would.
void CloseOwnedDialogs(HWND owner) {
    struct Search {
        HWND owner;
        static BOOL CALLBACK Visit(HWND window, LPARAM param) {
            HWND owner = reinterpret_cast<Search*>(param)->owner;
            char className[16] = {};
            GetClassNameA(window, className, sizeof className);
            if (strcmp(className, "#32770") != 0) return TRUE;
            for (HWND up = GetWindow(window, GW_OWNER); up; up = GetWindow(up, GW_OWNER)) {
                if (up != owner) continue;
                PostMessageA(window, WM_CLOSE, 0, 0);
                break;
            }
            return TRUE;
        }
    } search{owner};
    EnumThreadWindows(GetCurrentThreadId(), &Search::Visit, reinterpret_cast<LPARAM>(&search));
}

}  // namespace

CArchiveListDlg::BusyScope::BusyScope(CArchiveListDlg& window) : window_(window), outermost_(!window.busy) {
    window.busy = true;
}

CArchiveListDlg::BusyScope::~BusyScope() {
    if (!outermost_) return;
    window_.busy = false;
    if (window_.closeRequested) window_.CloseWindow();
}

CArchiveListDlg::CArchiveListDlg() : CDialog(IDD_ARCHIVE_LIST_DIALOG, nullptr), anchors(ListWindowAnchors) {
    for (int& direction : sortDirection) direction = 1;
}

CArchiveListDlg::~CArchiveListDlg() { ReleaseEntries(); }

void CArchiveListDlg::SetArchive(const std::wstring& path, CPluginTable* table) {
    host = table;
    archivePath = path.empty() ? path : StoredName(path);
    archiveName = widepath::FileName(archivePath);
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD tempLength = GetTempPathW(MAX_PATH + 1, temp);
    // Without the temporary-files folder there is no work folder: nothing is probed, viewed
    // or cleaned up.
    workFolder.clear();
    if (tempLength > 0 && tempLength <= MAX_PATH)
        workFolder = std::wstring(temp) + L"Varnito_" + widepath::BaseName(archivePath) + L"\\";
}

void CArchiveListDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ARCLIST_ENTRIES, list);
    DDX_Text(dx, IDC_ARCLIST_STATUS, statusText);
}

BOOL CArchiveListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    statusLine.SubclassDlgItem(IDC_ARCLIST_STATUS, this);
    statusLine.bringUpToDate = [this] {
        if (statusStale) UpdateStatus();
    };
    windowIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_PROGRAM));
    SetIcon(windowIcon, TRUE);
    TakeOverButtons();
    CreateTooltips();

    RECT outer;
    GetWindowRect(&outer);
    anchors.RecordAnchors(m_hWnd, outer);
    RestorePlacement();
    ShowWindow(SW_SHOW);
    GetWindowRect(&outer);
    anchors.ApplyAnchors(m_hWnd, outer);

    SetUpColumns();
    EnableWindow(FALSE);
    BOOL filled = FillList();
    EnableWindow(TRUE);
    if (!filled) {
        // Nothing is stored and the work folder is left alone.
        imageList.DeleteImageList();
        ReleaseEntries();
        EndDialog(IDCANCEL);
        return TRUE;
    }
    UpdateButtons();
    UpdateStatus();
    return TRUE;
}

void CArchiveListDlg::TakeOverButtons() {
    COLORREF hover = LightenedColor(GetSysColor(COLOR_MENU));
    for (int i = 0; i < 6; ++i) {
        buttons[i].SubclassDlgItem(ToolbarButtons[i].controlId, this);
        buttons[i].SetIcons(ToolbarButtons[i].iconId, 0);
        buttons[i].SetActiveBgColor(hover, false);
    }
}

void CArchiveListDlg::CreateTooltips() {
    tooltip.Create(this);
    tooltip.Activate(TRUE);
    tooltip.SetDelayTime(TTDT_AUTOMATIC, 350);
    tooltip.SetMaxTipWidth(200);
    for (int i = 0; i < 6; ++i) tooltip.AddTool(&buttons[i], ToolbarButtons[i].tooltip);
}

void CArchiveListDlg::RestorePlacement() {
    IntList10 stored;
    if (CSettingIO().ReadIntList(profile::ListWindowData, &stored) != 1) {
        // A first run opens centred, where the window then stays, not in the corner.
        CenterWindow();
        return;
    }
    // Never reopen minimized, nor hidden or in any other odd state a stored value may name.
    if (stored.showCmd != SW_SHOWMAXIMIZED) stored.showCmd = SW_SHOWNORMAL;
    WINDOWPLACEMENT placement = PlacementOf(stored);
    SetWindowPlacement(&placement);
}

BOOL CArchiveListDlg::PreTranslateMessage(MSG* msg) {
    tooltip.RelayEvent(msg);
    if (IsCtrlAOnList(msg)) {
        SelectAll(true);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

bool CArchiveListDlg::IsCtrlAOnList(const MSG* msg) const {
    if (msg->message != WM_KEYDOWN || !list.m_hWnd || msg->hwnd != list.m_hWnd) return false;
    BYTE keys[256];
    if (!GetKeyboardState(keys)) return false;
    return (keys[VK_CONTROL] & 0xF0) && (keys['A'] & 0xF0);
}

BOOL CArchiveListDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_ARCLIST_EXTRACT_ALL: ExtractAll(); return TRUE;
        case IDC_ARCLIST_EXTRACT_SELECTED: ExtractSelected(); return TRUE;
        case IDC_ARCLIST_OPEN: ViewEntry(); return TRUE;
        case IDC_ARCLIST_SELECT: ToggleSelection(); return TRUE;
        case IDC_ARCLIST_CLOSE: CloseWindow(); return TRUE;
        case IDC_ARCLIST_ABOUT: ShowAbout(); return TRUE;
        default: break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CArchiveListDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header || !list.m_hWnd || header->hwndFrom != list.m_hWnd) return CDialog::OnNotify(wParam, lParam, result);
    switch (header->code) {
    case NM_DBLCLK:
        ViewEntry();
        return TRUE;
    case LVN_ITEMCHANGING:
        // Every row of a bulk selection asks first; answered here, not by the dialog's default.
        if (!selectingAll) return CDialog::OnNotify(wParam, lParam, result);
        *result = FALSE;  // the change may go ahead
        return TRUE;
    case LVN_ITEMCHANGED: {
        // Only a change of state matters (a change of every row at once has no row number);
        // a bulk selection updates buttons and status once at its end.
        const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (!selectingAll && (change->iItem < 0 || (change->uChanged & LVIF_STATE))) SelectionChanged();
        return TRUE;
    }
    case LVN_ODSTATECHANGED:
        // A range of rows at once (a shift-click).
        if (!selectingAll) SelectionChanged();
        return TRUE;
    case LVN_COLUMNCLICK:
        SortByColumn(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
}

BOOL CArchiveListDlg::OnHelpInfo(HELPINFO*) {
    OpenHelpFile(m_hWnd);
    return TRUE;
}

void CArchiveListDlg::OnSize(UINT, int, int) {
    RECT outer;
    GetWindowRect(&outer);
    anchors.ApplyAnchors(m_hWnd, outer);
}

void CArchiveListDlg::OnGetMinMaxInfo(MINMAXINFO* info) { info->ptMinTrackSize = MinimumWindowSize; }

void CArchiveListDlg::OnOK() { ViewEntry(); }
void CArchiveListDlg::OnCancel() { CloseWindow(); }

void CArchiveListDlg::UpdateButtons() {
    int rows = list.GetItemCount();
    int selected = static_cast<int>(list.GetSelectedCount());
    const struct {
        int id;
        bool enabled;
    } wanted[] = {{IDC_ARCLIST_EXTRACT_ALL, rows > 0}, {IDC_ARCLIST_EXTRACT_SELECTED, selected > 0},
                  {IDC_ARCLIST_OPEN, selected == 1}};
    for (const auto& button : wanted) {
        CWnd* control = Button(button.id);
        if (control && (control->IsWindowEnabled() != FALSE) != button.enabled) control->EnableWindow(button.enabled);
    }
}

CWnd* CArchiveListDlg::Button(int id) {
    for (int i = 0; i < 6; ++i)
        if (ToolbarButtons[i].controlId == id && buttons[i].m_hWnd) return &buttons[i];
    return GetDlgItem(id);
}

void CArchiveListDlg::SelectionChanged() {
    UpdateButtons();
    if (statusStale) return;
    statusStale = true;
    if (statusLine.m_hWnd) statusLine.Invalidate(FALSE);
}

void CArchiveListDlg::UpdateStatus() {
    statusStale = false;
    statusText = SelectionStatusText(static_cast<int>(list.GetSelectedCount()), list.GetItemCount());
    SetDlgItemText(IDC_ARCLIST_STATUS, statusText.c_str());
}

void CArchiveListDlg::SelectAll(bool select) {
    // The list repaints once (CEntryListView); the buttons and the status follow the end
    // result, not the list's reports of the change.
    selectingAll = true;
    list.SetItemState(-1, select ? LVIS_SELECTED : 0, LVIS_SELECTED);
    selectingAll = false;
    UpdateButtons();
    UpdateStatus();
}

void CArchiveListDlg::ToggleSelection() { SelectAll(list.GetSelectedCount() == 0); }

void CArchiveListDlg::ExtractSelected() {
    BusyScope busyWhileRunning(*this);
    // In the order of the entries, whatever the rows' order: a plug-in reading a solid block or
    // a compressed stream then reads it once.
    ExtractSelection(this, archive, list.SelectedInEntryOrder());
}

void CArchiveListDlg::ExtractAll() {
    BusyScope busyWhileRunning(*this);
    SelectAll(true);
    ExtractSelected();
    SelectAll(false);
}

void CArchiveListDlg::ShowAbout() {
    CAboutDlg about;
    about.DoModal();
}

void CArchiveListDlg::CloseWindow() {
    if (busy) {
        // The entries are still read: the run is asked to stop (its dialogs close as their
        // close boxes would, the progress dialog aborting), and the window closes after it.
        closeRequested = true;
        CloseOwnedDialogs(m_hWnd);
        return;
    }
    if (!workFolder.empty()) {
        // Files still held open (by a viewer) stay, and so does the folder then.
        CUtility().DeleteFiles(workFolder, L"*.*", 0, 0);
        RemoveDirectoryW(ExtendedPath(workFolder).c_str());
    }
    WINDOWPLACEMENT placement = {};
    if (GetWindowPlacement(&placement)) CSettingIO().WriteIntList(profile::ListWindowData, PlacementRecord(placement));
    list.SetImageList(nullptr, LVSIL_SMALL);
    imageList.DeleteImageList();
    ReleaseEntries();
    EndDialog(IDCANCEL);
}

void CArchiveListDlg::ReleaseEntries() {
    // The rows point into the entries: they go first.
    if (list.m_hWnd) list.ShowRows(nullptr, ListRows());
    rowIcons.reset();
    archive = ListedArchive();
}
