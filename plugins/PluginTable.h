#pragma once
// The plug-in table: every usable plug-in of one folder, and every archive read through them.
#include <windows.h>
#include <string>
#include <vector>
#include "plugins/ArchiveIdentity.h"
#include "plugins/EntryList.h"
#include "plugins/ListedArchive.h"
#include "plugins/PluginBlock.h"
#include "plugins/PluginResult.h"
#include "plugins/SusiePlugin.h"

constexpr int MaxPlugins = 200;

// Where a plug-in reports how far one entry's unpacking has come.
class EntryProgress {
public:
    virtual ~EntryProgress() = default;
    // `done` of `total` (the plug-in's own units); false asks the plug-in to stop.
    virtual bool Continue(int done, int total) = 0;
};
// Unload's index for every slot at once.
constexpr int AllSlots = -1;

// The bytes (or UTF-16 units) of the buffer each GetPluginInfo call is handed.
constexpr int PluginInfoBufferSize = 200;

// One plug-in file of the folder.
struct PluginSlot {
    std::wstring fileName;  // as the folder listing returns it
    std::wstring fullPath;  // folder, backslash, fileName
    char infoText[80];     // GetPluginInfo 1
    char extensions[80];   // GetPluginInfo 2, cut to whole characters where it is longer
    std::string filePatterns;  // GetPluginInfo 2 whole (the file types the settings dialog offers)
    int isArchive;         // 1 archive plug-in, 0 image plug-in ("00IN")
    bool wide;             // an archive plug-in read through its wide exports
    HMODULE module;        // null when no library is loaded
};

// The table holds the libraries it loaded and releases them when it is destroyed. Each slot
// keeps the entry points its library exports, looked up once when the slot is taken, so calls
// to several plug-ins may interleave in any order. An archive plug-in that exports the whole
// wide set (IsSupportedW, GetArchiveInfoW, GetFileInfoW, GetFileW) is read through it for
// every archive, and through GetArchiveListW where it has that too; any other through its
// code page 932 exports, which are handed each archive by a name they can take.
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
    int LoadFolder(const std::wstring& folder);
    // Releases the library of one slot, or of all with AllSlots. The slots' texts stay readable.
    void Unload(int index);
    // Slot 0 to MaxPlugins - 1 (an empty slot, without library, beyond the loaded ones).
    const PluginSlot& Slot(int index) const;

    // Chooses the plug-in for the archive and lists it into *listed: its path and identity
    // always, its slot and entries on success. The result is PluginSucceeded, or
    // ArchiveNotOpened, NoPluginAccepts, BlockNotLocked, EntryInfoFailed, ArchiveInfoMissing or
    // StoppedByUser (the user cancelled a dialog of the plug-in's), with NoSlot and no entries.
    // Entries whose names the plug-in cut to fit its records are left out and counted
    // (EntryList::Unshown).
    PluginResult ListArchive(const std::wstring& archivePath, ListedArchive* listed);
    // Unpacks one entry of an archive this table listed and hands over the plug-in's own block,
    // locked: *fetched owns it from then on and unlocks and frees it. On success the block holds
    // at least the entry's unpackedSize bytes (a shorter one gives EntryNotUnpacked); an entry
    // without fileName, and an empty entry (unpackedSize 0) that came without a readable block,
    // leave *fetched empty. Returns PluginSucceeded, or EntryNotUnpacked, StoppedByUser,
    // PluginNotBound, BlockNotLocked, or EntryBufferNotAllocated when fetched is null; *fetched
    // is empty on failure.
    PluginResult FetchEntry(const ListedArchive& archive, const ListedEntry& entry, PluginBlock* fetched);
    // Has the plug-in unpack one entry of an archive this table listed as a file of its own
    // making in `folder` (which must exist; the caller's own work folder, holding nothing
    // else), reporting to progress (or to nobody when it is null). Returns PluginSucceeded,
    // with the plug-in's file in the folder; FileOutputNotOffered when the plug-in writes no
    // files (nothing was written); StoppedByUser when progress or the user stopped it;
    // EntryNotUnpacked, PluginNotBound. On failure the folder may hold what the plug-in left.
    PluginResult UnpackEntryInto(const ListedArchive& archive, const ListedEntry& entry, const std::wstring& folder,
                                 EntryProgress* progress);

private:
    // The archive entry points of one library (null in an image plug-in's slot and in a
    // released one); the picture exports are only checked to be there.
    struct EntryPoints {
        IsSupportedFn isSupported = nullptr;
        GetArchiveInfoFn getArchiveInfo = nullptr;
        GetFileInfoFn getFileInfo = nullptr;
        GetFileFn getFile = nullptr;
        IsSupportedWFn isSupportedW = nullptr;
        GetArchiveInfoWFn getArchiveInfoW = nullptr;
        GetFileInfoWFn getFileInfoW = nullptr;
        GetFileWFn getFileW = nullptr;
        GetArchiveListWFn getArchiveListW = nullptr;  // only beside the rest of the wide set
    };
    struct LoadedPlugin {
        PluginSlot slot;
        EntryPoints calls;
    };

    // Loads one plug-in file into a new last slot with its entry points; false (and no slot)
    // when it is not usable.
    bool TakeSlot(const std::wstring& folder, const std::wstring& name);
    // Classifies the loaded library, reads its texts and looks up its entry points; false when
    // an export its kind needs is missing.
    static bool LookUpEntryPoints(LoadedPlugin* plugin);
    // The first archive plug-in that accepts the archive: its slot into *slot and, for an ANSI
    // plug-in, the name it was given into *pluginPath; PluginSucceeded, or ArchiveNotOpened,
    // NoPluginAccepts.
    PluginResult ChoosePlugin(const std::wstring& archivePath, int* slot, std::string* pluginPath) const;
    // The chosen plug-in's list into listed->entries, by the exports it is read through.
    PluginResult CopyEntries(const EntryPoints& calls, ListedArchive* listed) const;
    PluginResult CopyAnsiEntries(const EntryPoints& calls, ListedArchive* listed) const;
    PluginResult CopyWideEntries(const EntryPoints& calls, ListedArchive* listed) const;
    PluginResult CopyListedEntries(const EntryPoints& calls, ListedArchive* listed) const;
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
