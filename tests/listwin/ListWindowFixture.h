#pragma once
// A list window over a scripted archive of the fixture plug-in, created without a modal
// loop so that a test can drive it and read it back.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include <vector>
#include "listwin/ArchiveListDlg.h"
#include "res/resource.h"
#include "tests/support/PluginTestFolder.h"
#include "tests/support/TestProfile.h"
#include "tests/support/TestSupport.h"

class ListWindowTest : public testing::Test {
protected:
    void SetUp() override {
        pluginPath = plugins.Add(testsupport::PluginFile("fixture"), Variant());
        ASSERT_EQ(host.LoadFolder(testsupport::Wide(plugins.Path())), 1);
    }
    // The fixture plug-in the window's host loads.
    virtual const char* Variant() const { return "fixture"; }

    void TearDown() override {
        if (window && window->m_hWnd) ::DestroyWindow(window->m_hWnd);
        window.reset();
        testsupport::RemoveTree(WorkFolder());
    }

    // Writes a scripted archive ("entry" lines without the keyword) and returns its path.
    std::string WriteArchive(const std::vector<std::string>& entries, const std::string& name = "lwtest.fix") {
        std::string script = "#fixture\n";
        for (const std::string& entry : entries) script += "entry " + entry + "\n";
        archive = dir / name;
        testsupport::WriteBytes(archive, script);
        return archive;
    }

    void Open(const std::string& path) { Open(testsupport::Wide(path)); }
    void Open(const std::wstring& path) {
        window = std::make_unique<CArchiveListDlg>();
        window->SetArchive(path, &host);
        ASSERT_TRUE(window->Create(IDD_ARCHIVE_LIST_DIALOG));
        list = GetDlgItem(window->m_hWnd, IDC_ARCLIST_ENTRIES);
    }

    HWND Window() const { return window->m_hWnd; }
    HWND Control(int id) const { return GetDlgItem(window->m_hWnd, id); }

    int Rows() const { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }
    std::string Cell(int row, int column) const {
        char text[512] = {};
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        return text;
    }
    // A cell as the list holds it, read through the wide message.
    std::wstring WideCell(int row, int column) const {
        wchar_t text[512] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 512;
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return text;
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> cells;
        for (int row = 0; row < Rows(); ++row) cells.push_back(Cell(row, column));
        return cells;
    }
    int Image(int row) const {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    }
    const ListedEntry* RowEntry(int row) const {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return reinterpret_cast<const ListedEntry*>(item.lParam);
    }

    // Selection through the list itself, which tells the window of the change.
    void Select(int row, bool selected = true) {
        LVITEMA item = {};
        item.state = selected ? LVIS_SELECTED : 0;
        item.stateMask = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    int SelectedCount() const { return static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0)); }

    void ClickColumn(int column) {
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = list;
        click.hdr.idFrom = IDC_ARCLIST_ENTRIES;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageA(Window(), WM_NOTIFY, IDC_ARCLIST_ENTRIES, reinterpret_cast<LPARAM>(&click));
    }
    void ClickButton(int id) { SendMessageA(Control(id), BM_CLICK, 0, 0); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    std::string Status() const { return testsupport::WindowText(Control(IDC_ARCLIST_STATUS)); }

    // The work folder of the archive written last.
    std::string WorkFolder() const {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        std::string name = archive.substr(archive.find_last_of('\\') + 1);
        return std::string(temp) + "Varnito_" + name.substr(0, name.find_last_of('.')) + "\\";
    }

    testsupport::CleanProfile clean;
    testsupport::TempDir dir;
    PluginTestFolder plugins;
    std::string pluginPath;  // the fixture copy the host loads
    CPluginTable host;
    std::string archive = "lwtest.fix";
    std::unique_ptr<CArchiveListDlg> window;
    HWND list = nullptr;
};
