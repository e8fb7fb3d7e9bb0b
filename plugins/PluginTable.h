#pragma once
// The plug-in table: every usable plug-in of one folder, and every archive read through them.
#include <windows.h>
#include <vector>
#include "plugins/EntryList.h"
#include "plugins/PluginBlock.h"
#include "plugins/PluginResult.h"
#include "plugins/SusiePlugin.h"

constexpr int MaxPlugins = 200;
// Unload's index for every slot at once.
constexpr int AllSlots = -1;

// One plug-in file of the folder.
struct PluginSlot {
    char fileName[260];    // as the folder listing returns it
    char fullPath[260];    // folder, backslash, fileName
    char infoText[80];     // GetPluginInfo 1
    char extensions[80];   // GetPluginInfo 2
    int isArchive;         // 1 archive plug-in, 0 image plug-in ("00IN")
    HMODULE module;        // null when no library is loaded
};

// The table holds the libraries it loaded and releases them when it is destroyed.
class CPluginTable {
public:
    CPluginTable() = default;
    ~CPluginTable();  // Unload(AllSlots)
    CPluginTable(const CPluginTable&) = delete;
    CPluginTable& operator=(const CPluginTable&) = delete;

    // Releases what the table holds, then loads, binds, classifies and orders the plug-in files
    // of a folder (*.spi in the 32-bit build, *.sph in the 64-bit one; any other file, a 32-bit
    // plug-in in the 64-bit build included, is never loaded), at most MaxPlugins; returns how
    // many. Slots from there on are empty.
    int LoadFolder(const char* folder);
    // Releases the library of one slot, or of all with AllSlots. The slots' texts stay readable.
    void Unload(int index);
    // Makes a slot the current plug-in; 1 on success, 0 on failure. The slot bound last stays
    // bound until another one is bound or a library is loaded or released.
    int Bind(int index);
    // Slot 0 to MaxPlugins - 1 (an empty slot, without library, beyond the loaded ones).
    const PluginSlot& Slot(int index) const;

    // Chooses the plug-in for the archive and copies its entries into *entries (written only
    // on success). Returns the slot index, or ArchiveNotOpened, NoPluginAccepts,
    // BlockNotLocked, EntryInfoFailed, ArchiveInfoMissing, or BufferNotAllocated when there is
    // no memory for the copy.
    int ListArchive(const char* archivePath, EntryList* entries);
    // Unpacks one entry and hands over the plug-in's own block, locked: *fetched owns it from
    // then on and unlocks and frees it. On success the block holds at least the entry's
    // unpackedSize bytes (a shorter one gives EntryNotUnpacked); an entry without fileName, and
    // an empty entry (unpackedSize 0) that came without a readable block, leave *fetched empty.
    // Returns 0, or EntryNotUnpacked, PluginNotBound, BlockNotLocked, or
    // EntryBufferNotAllocated when fetched is null; *fetched is empty on failure.
    int FetchEntry(int index, const char* archivePath, const ArchiveEntry* entry, PluginBlock* fetched);
    // Shows the message of a negative code ("画像展開エラー"); nothing for 0 or more.
    void ShowError(HWND owner, int code);

private:
    // Loads and binds one plug-in file into a new last slot; false (and no slot) when it is not usable.
    bool TakeSlot(const char* folder, const char* name);
    // Looks up the slot's exports as the current entry points; false when one is missing.
    bool BindExports(int index);
    // The first archive plug-in that accepts the archive (left bound), or -2, -7.
    int ChoosePlugin(const char* archivePath);
    // Counts the whole records of a list block and completes those that need it; 0 or -17.
    int CompleteRecords(const char* archivePath, unsigned char* bytes, size_t size, size_t* count);
    bool HoldsSlot(int index) const { return index >= 0 && index < static_cast<int>(slots_.size()); }

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

    std::vector<PluginSlot> slots_;  // the loaded plug-ins in table order
};

// The progress callback handed to GetFile: always "go on".
int WINAPI NoProgress(int done, int total, LONG_PTR data);

// The message text of a result code from BitmapNotUnpacked down to LowestPluginResult (null for
// other codes).
const char* PluginErrorText(int code);
