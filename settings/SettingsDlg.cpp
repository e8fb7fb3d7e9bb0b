#include "settings/SettingsDlg.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>
#include "core/FileAssociations.h"
#include "core/ImageViewerFolder.h"
#include "core/PluginFolder.h"
#include "core/ProgramPath.h"
#include "core/SettingIO.h"
#include "core/Utility.h"
#include "framework/BrowseForFolder.h"
#include "framework/DataExchange.h"
#include "framework/FileDialog.h"
#include "framework/MessageBox.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "settings/PluginRowOrder.h"
#include "text/PathSize.h"
#include "text/WidePath.h"
#include "text/WideText.h"
#include "ui/Help.h"

namespace {
constexpr char CountFormat[] = "【使用可能なアーカイブプラグインは  %d 個】";
constexpr char DestinationTitle[] = "解凍先を選択して下さい。";
constexpr char PluginFolderTitle[] = "Susie32 Plug-inのあるフォルダを指定して下さい。";
constexpr char EditorTitle[] = "参照用エディタの選択";
constexpr char EditorFilter[] = "実行ファイル (*.exe)|*.exe||";
constexpr char NoImageViewerText[] = "Susieがインストールされていないため、\nプラグインの検索はできません。";
constexpr int InitialColumnWidth = 40;

HICON LoadProgramIcon(int id) { return LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }

HICON LoadSmallIcon(int id) {
    return static_cast<HICON>(LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
}

// The current folder, empty when it cannot be read.
std::wstring CurrentFolder() {
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::vector<wchar_t> folder(size + 1, L'\0');
    DWORD length = size > 0 ? GetCurrentDirectoryW(size + 1, folder.data()) : 0;
    return length > 0 && length <= size ? std::wstring(folder.data(), length) : std::wstring();
}
}  // namespace

CSettingsDlg::CSettingsDlg() : CDialog(IDD_SETTINGS_DIALOG), mainIcon(LoadProgramIcon(IDI_PROGRAM)) {}

CSettingsDlg::~CSettingsDlg() = default;

void CSettingsDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SETTINGS_EDITOR_BROWSE, editorButton);
    DDX_Control(dx, IDC_SETTINGS_DEST_BROWSE, destinationButton);
    DDX_Control(dx, IDC_SETTINGS_SPI_FROM_VIEWER, viewerFolderButton);
    DDX_Control(dx, IDC_SETTINGS_SPI_BROWSE, pluginFolderButton);
    DDX_Control(dx, IDC_SETTINGS_PLUGIN_LIST, pluginList);
    DDX_Control(dx, IDC_SETTINGS_TYPE_LIST, typeList);
    DDX_Radio(dx, IDC_SETTINGS_MODE_LIST, defrostingMode);
    DDX_Check(dx, IDC_SETTINGS_OPEN_CHECK, openCheckFlag);
    DDX_Check(dx, IDC_SETTINGS_UPDATE_CHECK, updateChkFlag);
    DDX_Check(dx, IDC_SETTINGS_AVOID_DOUBLE_FOLDER, avoidDoubleFolderFlag);
}

BOOL CSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(mainIcon, TRUE);
    // A second start of the settings mode looks for this property to bring us forward.
    ::SetPropA(m_hWnd, ExecutableName().c_str(), reinterpret_cast<HANDLE>(1));

    CSettingIO settings;
    defrostingMode = settings.Read(profile::DefrostingMode);
    openCheckFlag = settings.Read(profile::OpenCheckFlag);
    updateChkFlag = settings.Read(profile::UpdateChkFlag);
    avoidDoubleFolderFlag = settings.Read(profile::AvoidDoubleFolderFlag);

    for (int id : {IDC_SETTINGS_EDITOR, IDC_SETTINGS_DEST_FOLDER, IDC_SETTINGS_SPI_FOLDER})
        ::SendDlgItemMessageW(m_hWnd, id, EM_LIMITTEXT, TextLimit, 0);
    SetDlgItemText(IDC_SETTINGS_EDITOR, settings.Read(profile::NullOpenEditor));
    SetDlgItemText(IDC_SETTINGS_DEST_FOLDER, settings.Read(profile::DefrostingFold));
    typeList.SetUp();
    // Fills the lists once, before the plug-in list's columns exist.
    SetDlgItemText(IDC_SETTINGS_SPI_FOLDER, PluginFolderInUse(SpiFileExtension));

    pluginFolderButton.SetIcon(LoadProgramIcon(IDI_FOLDER));
    viewerFolderButton.SetIcon(LoadProgramIcon(IDI_HEART));
    destinationButton.SetIcon(LoadProgramIcon(IDI_FOLDER));
    editorButton.SetIcon(LoadProgramIcon(IDI_SHEET));

    for (int& direction : columnDirection) direction = 1;
    SetUpPluginList();
    FillPluginList();

    UpdateData(FALSE);
    UpdateModeControls();
    return TRUE;
}

void CSettingsDlg::SetUpPluginList() {
    pluginList.SetExtendedStyle(pluginList.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP |
                                LVS_EX_FULLROWSELECT);
    images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 0);
    images.Add(LoadSmallIcon(IDI_PLUGIN_CROSS));
    images.Add(LoadSmallIcon(IDI_PLUGIN_RING));
    pluginList.SetImageList(&images, LVSIL_SMALL);

    pluginList.DeleteAllItems();
    for (int i = 0; i < ColumnCount; ++i) pluginList.DeleteColumn(0);
    const char* headings[ColumnCount] = {"", "Plug-in", "対応拡張子", "INFORMATION"};
    for (int column = 0; column < ColumnCount; ++column)
        pluginList.InsertColumn(column, headings[column], LVCFMT_LEFT, InitialColumnWidth);
    pluginList.FitColumnWidths();
}

void CSettingsDlg::UpdateModeControls() {
    UpdateData(TRUE);
    for (int id : {IDC_SETTINGS_UPDATE_CHECK, IDC_SETTINGS_OPEN_CHECK, IDC_SETTINGS_AVOID_DOUBLE_FOLDER,
                   IDC_SETTINGS_DEST_LABEL, IDC_SETTINGS_DEST_FOLDER, IDC_SETTINGS_DEST_BROWSE})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), defrostingMode == 1);
    for (int id : {IDC_SETTINGS_EDITOR_LABEL, IDC_SETTINGS_EDITOR, IDC_SETTINGS_EDITOR_BROWSE})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), defrostingMode == 0);
}

std::wstring CSettingsDlg::FieldText(int id) const {
    std::wstring text = GetDlgItemWideText(id);
    return text.size() > static_cast<size_t>(TextLimit) ? std::wstring() : text;
}

void CSettingsDlg::FillPluginList() {
    CWaitCursor wait;
    int loaded = plugins.LoadFolder(FieldText(IDC_SETTINGS_SPI_FOLDER));

    pluginList.ShowWindow(SW_HIDE);
    pluginList.DeleteAllItems();
    ListArchivePlugins(loaded);
    plugins.Unload(AllSlots);
    if (loaded > 0) {
        sortSign = -1;
        columnDirection[0] = -columnDirection[0];
        pluginList.SortItems(ComparePluginRows, 0);
        pluginList.FitColumnWidths();
    }
    pluginList.ShowWindow(SW_SHOW);
}

void CSettingsDlg::ListArchivePlugins(int loaded) {
    int archives = 0;
    std::vector<std::wstring> types;
    for (int i = 0; i < loaded; ++i) {
        const PluginSlot& slot = plugins.Slot(i);
        if (!slot.isArchive) continue;
        int row = pluginList.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_STATE | LVIF_PARAM, i, "", 0, 0,
                                        slot.isArchive, reinterpret_cast<LPARAM>(&slot));
        if (row < 0) break;
        pluginList.SetItemText(row, 1, WideToCp932Shown(slot.fileName).c_str());
        pluginList.SetItemText(row, 2, slot.extensions);
        pluginList.SetItemText(row, 3, slot.infoText);
        // A text that fills the plug-in's whole buffer may have lost its last pattern's end.
        bool filled = slot.filePatterns.size() >= PluginInfoBufferSize - 1;
        AddFileTypes(slot.filePatterns.c_str(), filled, &types);
        if (slot.isArchive == 1) ++archives;
    }
    typeList.Fill(types);

    char countLine[128];
    snprintf(countLine, sizeof countLine, CountFormat, archives);
    SetDlgItemText(IDC_SETTINGS_PLUGIN_COUNT, countLine);
}

void CSettingsDlg::SortByColumn(int column) {
    if (column < 0 || column >= ColumnCount) return;
    sortSign = columnDirection[column];
    columnDirection[column] = -columnDirection[column];
    pluginList.SortItems(ComparePluginRows, static_cast<DWORD_PTR>(column));
}

void CSettingsDlg::PickDestinationFolder() {
    std::wstring picked;
    if (BrowseForFolder(FieldText(IDC_SETTINGS_DEST_FOLDER), &picked, m_hWnd, DestinationTitle))
        SetDlgItemText(IDC_SETTINGS_DEST_FOLDER, picked);
}

void CSettingsDlg::PickPluginFolder() {
    std::wstring picked;
    if (!BrowseForFolder(FieldText(IDC_SETTINGS_SPI_FOLDER), &picked, m_hWnd, PluginFolderTitle)) return;
    SetDlgItemText(IDC_SETTINGS_SPI_FOLDER, picked);
    FillPluginList();
}

void CSettingsDlg::TakeImageViewerFolder() {
    CWaitCursor wait;
    std::wstring folder;
    if (!ReadImageViewerFolder(&folder)) {
        AppMessageBox(this, NoImageViewerText);
        return;
    }
    SetDlgItemText(IDC_SETTINGS_SPI_FOLDER, folder);
}

void CSettingsDlg::PickEditor() {
    std::wstring editor = FieldText(IDC_SETTINGS_EDITOR);
    std::wstring initialFolder = widepath::Folder(editor);
    std::wstring title = Cp932ToWide(EditorTitle);

    CWaitCursor wait;
    std::wstring currentFolder = CurrentFolder();
    CFileDialog dialog(TRUE, nullptr, editor, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, EditorFilter);
    dialog.m_ofn.lpstrTitle = title.c_str();
    dialog.m_ofn.lpstrInitialDir = initialFolder.c_str();
    INT_PTR answer = dialog.DoModal();
    if (!currentFolder.empty()) SetCurrentDirectoryW(currentFolder.c_str());

    // A path longer than the field takes goes in whole: OK refuses it rather than store a cut one.
    if (answer == IDOK) SetDlgItemText(IDC_SETTINGS_EDITOR, dialog.GetPathName());
}

void CSettingsDlg::OnOK() {
    // A text longer than a path is refused, not cut: cut it would name another folder or program.
    std::wstring pluginFolder, destination, editor;
    CDataExchange texts(this, TRUE);
    DDX_Text(&texts, IDC_SETTINGS_SPI_FOLDER, pluginFolder, TextLimit);
    DDX_Text(&texts, IDC_SETTINGS_DEST_FOLDER, destination, TextLimit);
    DDX_Text(&texts, IDC_SETTINGS_EDITOR, editor, TextLimit);
    if (texts.m_failed) return;

    CWaitCursor wait;
    UpdateData(TRUE);
    CSettingIO settings;
    settings.Write(profile::DefrostingMode, defrostingMode);
    settings.Write(profile::OpenCheckFlag, openCheckFlag);
    settings.Write(profile::UpdateChkFlag, updateChkFlag);
    settings.Write(profile::AvoidDoubleFolderFlag, avoidDoubleFolderFlag);
    settings.Write(profile::SpiFold, pluginFolder);
    settings.Write(profile::DefrostingFold, destination);
    settings.Write(profile::NullOpenEditor, editor);
    ApplyFileTypeChanges(typeList.Changes(), ProgramPath());
    CDialog::OnOK();
}

BOOL CSettingsDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (id == IDC_SETTINGS_SPI_FOLDER && code == EN_UPDATE) {
        FillPluginList();
        return TRUE;
    }
    if (code != BN_CLICKED) return CDialog::OnCommand(wParam, lParam);
    switch (id) {
    case IDC_SETTINGS_MODE_LIST:
    case IDC_SETTINGS_MODE_IMMEDIATE:
        UpdateModeControls();
        return TRUE;
    case IDC_SETTINGS_DEST_BROWSE:
        PickDestinationFolder();
        return TRUE;
    case IDC_SETTINGS_SPI_BROWSE:
        PickPluginFolder();
        return TRUE;
    case IDC_SETTINGS_SPI_FROM_VIEWER:
        TakeImageViewerFolder();
        return TRUE;
    case IDC_SETTINGS_EDITOR_BROWSE:
        PickEditor();
        return TRUE;
    case IDC_SETTINGS_TYPE_ALL:
    case IDC_SETTINGS_TYPE_NONE:
        typeList.CheckAll(id == IDC_SETTINGS_TYPE_ALL);
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

BOOL CSettingsDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->idFrom == IDC_SETTINGS_PLUGIN_LIST && header->code == LVN_COLUMNCLICK) {
        SortByColumn(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
        *result = 0;
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

BOOL CSettingsDlg::OnHelpInfo(HELPINFO*) {
    OpenHelpFile(m_hWnd);
    return TRUE;
}

LRESULT CSettingsDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ::RemovePropA(m_hWnd, ExecutableName().c_str());
    return CDialog::WindowProc(message, wParam, lParam);
}
