#pragma once
// The plug-in table: every usable plug-in of one folder, and every archive read through them.
#include <windows.h>
#include "framework/Wnd.h"
#include "plugins/PluginBlock.h"
#include "plugins/SusiePlugin.h"

constexpr int MaxPlugins = 200;

// One plug-in file of the folder.
struct PluginSlot {
    char fileName[260];    // as the folder listing returns it
    char fullPath[260];    // folder, backslash, fileName
    char infoText[80];     // GetPluginInfo 1
    char extensions[80];   // GetPluginInfo 2
    int isArchive;         // 1 archive plug-in, 0 image plug-in ("00IN")
    HMODULE module;        // null when no library is loaded
};

class CPluginTable : public CWnd {
public:
    CPluginTable();
    ~CPluginTable() override;  // Unload(-1)

    // Loads, binds, classifies and orders the plug-in files of a folder (*.spi in the 32-bit
    // build, *.sph in the 64-bit one; any other file, a 32-bit plug-in in the 64-bit build
    // included, is never loaded); returns how many.
    int LoadFolder(const char* folder);
    // Releases the library of one slot, or of all 200 with -1.
    void Unload(int index);
    // Makes a slot the current plug-in; 1 on success, 0 on failure. The slot bound last stays
    // bound until another one is bound or a library is loaded or released.
    int Bind(int index);
    const PluginSlot& Slot(int index) const { return slots_[index]; }

    // Chooses the plug-in for the archive and copies its entries into a new array (n records
    // and two all-zero ones, from the process heap: release with HeapFree(GetProcessHeap())).
    // Every copy has `path` and `fileName` terminated within their fields.
    // Returns the slot index, or -2, -7, -13, -17, -19, or -6 when the array cannot be allocated.
    int ListArchive(const char* archivePath, ArchiveEntry** entries);
    // Unpacks one entry and hands over the plug-in's own block, locked: *fetched owns it from
    // then on and unlocks and frees it. On success the block holds at least the entry's
    // unpackedSize bytes (a shorter one gives -10); an entry without fileName, and an empty
    // entry (unpackedSize 0) that came without a readable block, leave *fetched empty.
    // Returns 0, or -10, -11, -13, or -15 when fetched is null; *fetched is empty on failure.
    int FetchEntry(int index, const char* archivePath, const ArchiveEntry* entry, PluginBlock* fetched);
    // Shows the message of a negative code ("画像展開エラー"); nothing for 0 or more.
    void ShowError(HWND owner, int code);

private:
    // Loads and binds one plug-in file into slot index; 1 when it is usable.
    int TakeSlot(int index, const char* folder, const char* name);
    // Looks up the slot's exports as the current entry points; false when one is missing.
    bool BindExports(int index);
    // The first archive plug-in that accepts the archive (left bound), or -2, -7.
    int ChoosePlugin(const char* archivePath);
    // Counts the whole records of a list block and completes those that need it; 0 or -17.
    int CompleteRecords(const char* archivePath, unsigned char* bytes, size_t size, size_t* count);

    // The current entry points: those of the plug-in bound last.
    GetPluginInfoFn getPluginInfo_ = nullptr;
    IsSupportedFn isSupported_ = nullptr;
    GetPictureInfoFn getPictureInfo_ = nullptr;
    GetPictureFn getPicture_ = nullptr;
    GetPreviewFn getPreview_ = nullptr;
    GetArchiveInfoFn getArchiveInfo_ = nullptr;
    GetFileInfoFn getFileInfo_ = nullptr;
    GetFileFn getFile_ = nullptr;
    int boundSlot_ = -1;  // the slot the entry points above belong to; -1 none

    PluginSlot slots_[MaxPlugins];
};

// The progress callback handed to GetFile: always "go on".
int WINAPI NoProgress(int done, int total, LONG_PTR data);

// The message text of a result code -1..-21 (null for other codes).
const char* PluginErrorText(int code);
