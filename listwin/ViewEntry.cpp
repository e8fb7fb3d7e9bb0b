// Opening one entry with the program associated with its type: the entry is unpacked into
// the work folder and handed to the shell.
#include <windows.h>
#include <shellapi.h>
#include "app/SettingIO.h"
#include "framework/MessageBox.h"
#include "framework/WaitCursor.h"
#include "listwin/ArchiveListDlg.h"
#include "listwin/WorkFile.h"

namespace {

// One WriteFile call takes at most a DWORD's worth; entries of the 64-bit build hold more.
constexpr size_t MaxWriteChunk = 1u << 30;

// Creates or truncates the file and writes the bytes; false when it cannot be opened.
bool WriteWorkFile(const char* path, const char* bytes, size_t count) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    for (size_t done = 0; done < count;) {
        DWORD chunk = static_cast<DWORD>(count - done < MaxWriteChunk ? count - done : MaxWriteChunk);
        DWORD written = 0;
        if (!WriteFile(file, bytes + done, chunk, &written, nullptr) || written == 0) break;
        done += written;
    }
    CloseHandle(file);
    return true;
}

bool ShellOpen(const char* file, const char* parameters) {
    HINSTANCE result = ShellExecuteA(nullptr, "open", file, parameters, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

void CArchiveListDlg::ViewEntry() {
    int row = list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) return;
    BusyScope busyWhileViewing(*this);
    CWaitCursor wait;
    const ArchiveEntry* entry = reinterpret_cast<const ArchiveEntry*>(list.GetItemData(row));
    if (!entry || !entry->fileName[0]) return;

    PluginBlock fetched;  // the plug-in's own block, released on every path
    int result = host->FetchEntry(pluginIndex, archivePath, entry, &fetched);
    if (result < 0) {
        host->ShowError(m_hWnd, result);
        return;
    }

    // A name that leads out of the work folder is refused like a file that cannot be made.
    char workFile[CUtility::PathSize];
    bool named = workFolder[0] && WorkFilePath(workFolder, entry->fileName, workFile, sizeof workFile);
    if (named) CreateDirectoryA(workFolder, nullptr);
    size_t size = fetched.Bytes() ? fetched.Size() : 0;
    size_t count = entry->unpackedSize < size ? static_cast<size_t>(entry->unpackedSize) : size;
    bool written = named && WriteWorkFile(workFile, reinterpret_cast<const char*>(fetched.Bytes()), count);
    fetched = PluginBlock();  // the memory goes back before the viewer starts
    if (!written) {
        AppMessageBox(this, "ワークファイルの作成に失敗しました。");
        return;
    }

    if (ShellOpen(workFile, nullptr)) return;
    char editor[CSettingIO::PathBufferSize];
    CSettingIO().ReadString("", "NullOpenEditor", "NotePad", editor);
    if (ShellOpen(editor, workFile)) return;
    AppMessageBox(this, "関連付けられたアプリケーションがありません。");
}
