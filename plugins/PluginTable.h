#pragma once
// The plug-in table: every usable plug-in of one folder, and every archive read through them.
#include <windows.h>
#include <vector>
#include "plugins/ArchiveIdentity.h"
#include "plugins/EntryList.h"
#include "plugins/PluginBlock.h"
#include "plugins/PluginResult.h"
#include "plugins/SusiePlugin.h"
#include "text/PathSize.h"

constexpr int MaxPlugins = 200;
// Unload's index for every slot at once.
constexpr int AllSlots = -1;
// The slot of a listing that chose no plug-in.
constexpr int NoSlot = -1;

// One plug-in file of the folder.
struct PluginSlot {
    char fileName[PathSize];  // as the folder listing returns it
    char fullPath[PathSize];  // folder, backslash, fileName
    char infoText[80];     // GetPluginInfo 1
    char extensions[80];   // GetPluginInfo 2
    int isArchive;         // 1 archive plug-in, 0 image plug-in ("00IN")
    HMODULE module;        // null when no library is loaded
};

// How a listing ended: the slot of the plug-in that listed the archive, and the result, apart.
struct ArchiveListing {
    PluginResult result = NoPluginAccepts;
    int slot = NoSlot;  // a slot index only when result is PluginSucceeded
    ArchiveIdentity archive;  // the file as it was listed, read before the plug-in was chosen

    bool Listed() const { return result == PluginSucceeded; }
};

// The table holds the libraries it loaded and releases them when it is destroyed. Each slot
// keeps the entry points its library exports, looked up once when the slot is taken, so calls
// to several plug-ins may interleave in any order.
class CPluginTable {
public:
    CPluginTable() = default;
    ~CPluginTable();  // Unload(AllSlots)
    CPluginTable(const CPluginTable&) = delete;
    CPluginTable& operator=(const CPluginTable&) = delete;

    // Releases what the table holds, then loads, looks up, classifies and orders the plug-in files
    // of a folder (*.spi in the 32-bit build, *.sph in the 64-bit one; any other file, a 32-bit
    // plug-in in the 64-bit build included, is never loaded), at most MaxPlugins; returns how
    // many. Slots from there on are empty.
    int LoadFolder(const char* folder);
    // Releases the library of one slot, or of all with AllSlots. The slots' texts stay readable.
    void Unload(int index);
    // Slot 0 to MaxPlugins - 1 (an empty slot, without library, beyond the loaded ones).
    const PluginSlot& Slot(int index) const;

    // Chooses the plug-in for the archive and hands its list block over to *entries (written
    // only on success). The result is PluginSucceeded with the chosen slot, or
    // ArchiveNotOpened, NoPluginAccepts, BlockNotLocked, EntryInfoFailed, ArchiveInfoMissing or
    // StoppedByUser (the user cancelled a dialog of the plug-in's), with NoSlot.
    ArchiveListing ListArchive(const char* archivePath, EntryList* entries);
    // Unpacks one entry and hands over the plug-in's own block, locked: *fetched owns it from
    // then on and unlocks and frees it. On success the block holds at least the entry's
    // unpackedSize bytes (a shorter one gives EntryNotUnpacked); an entry without fileName, and
    // an empty entry (unpackedSize 0) that came without a readable block, leave *fetched empty.
    // Returns PluginSucceeded, or EntryNotUnpacked, StoppedByUser, PluginNotBound, BlockNotLocked,
    // or EntryBufferNotAllocated when fetched is null; *fetched is empty on failure.
    PluginResult FetchEntry(int index, const char* archivePath, const ArchiveEntry* entry, PluginBlock* fetched);

private:
    // The archive entry points of one library (null in an image plug-in's slot and in a
    // released one); the picture exports are only checked to be there.
    struct EntryPoints {
        IsSupportedFn isSupported = nullptr;
        GetArchiveInfoFn getArchiveInfo = nullptr;
        GetFileInfoFn getFileInfo = nullptr;
        GetFileFn getFile = nullptr;
    };
    struct LoadedPlugin {
        PluginSlot slot;
        EntryPoints calls;
    };

    // Loads one plug-in file into a new last slot with its entry points; false (and no slot)
    // when it is not usable.
    bool TakeSlot(const char* folder, const char* name);
    // Classifies the loaded library, reads its texts and looks up its entry points; false when
    // an export its kind needs is missing.
    static bool LookUpEntryPoints(LoadedPlugin* plugin);
    // The first archive plug-in that accepts the archive into *slot; PluginSucceeded, or
    // ArchiveNotOpened, NoPluginAccepts.
    PluginResult ChoosePlugin(const char* archivePath, int* slot) const;
    // Counts the whole records of a list block and completes those that need it through the
    // slot's GetFileInfo; PluginSucceeded or EntryInfoFailed.
    PluginResult CompleteRecords(const EntryPoints& calls, const char* archivePath, unsigned char* bytes,
                                 size_t size, size_t* count) const;
    // The archive's list from GetArchiveInfo, completed, into *entries (written only on success).
    PluginResult CopyEntries(const EntryPoints& calls, const char* archivePath, EntryList* entries) const;
    bool HoldsSlot(int index) const { return index >= 0 && index < static_cast<int>(plugins_.size()); }
    // The slot's archive entry points, or null when it holds no loaded archive plug-in.
    const EntryPoints* ArchiveCalls(int index) const;

    std::vector<LoadedPlugin> plugins_;  // the loaded plug-ins in table order
};

// The progress callback handed to GetFile: always "go on".
int WINAPI NoProgress(int done, int total, LONG_PTR data);

// The message text of a result code from BitmapNotUnpacked down to LowestPluginResult (null for
// other codes).
const char* PluginErrorText(int code);
