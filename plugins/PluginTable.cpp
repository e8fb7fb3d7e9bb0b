// Loading, looking up, ordering and releasing the plug-ins of one folder.
#include "plugins/PluginTable.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include "text/Cp932.h"

namespace {

constexpr char ImagePluginVersion[] = "00IN";
constexpr int PluginInfoBufferSize = 200;

// Copies at most size - 1 bytes of text and terminates; never ends on half a character.
void CopyTextCut(char* target, size_t size, const char* text) {
    size_t used = cp932::FittingLength(text, strlen(text), size - 1);
    memcpy(target, text, used);
    target[used] = '\0';
}

// One GetPluginInfo answer, read only up to the end of the buffer the plug-in was given.
void ReadPluginInfo(GetPluginInfoFn getPluginInfo, int infono, char* target, size_t size) {
    char buffer[PluginInfoBufferSize + 1] = {};
    getPluginInfo(infono, buffer, PluginInfoBufferSize);
    CopyTextCut(target, size, buffer);
}

// The named export into *entry; false when the plug-in lacks it.
template <typename Function>
bool LookUp(HMODULE module, const char* name, Function* entry) {
    *entry = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return *entry != nullptr;
}

bool HasExports(HMODULE module, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (!GetProcAddress(module, name)) return false;
    return true;
}

bool SlotComesFirst(const PluginSlot& a, const PluginSlot& b) {
    if (a.isArchive != b.isArchive) return a.isArchive > b.isArchive;
    return strcmp(a.fileName, b.fileName) < 0;  // strcmp compares bytes as unsigned values
}

}  // namespace

CPluginTable::~CPluginTable() { Unload(AllSlots); }

const PluginSlot& CPluginTable::Slot(int index) const {
    static const PluginSlot empty = {};
    return HoldsSlot(index) ? plugins_[index].slot : empty;
}

int CPluginTable::LoadFolder(const char* folder) {
    Unload(AllSlots);
    plugins_.clear();
    if (!folder) folder = "";
    char base[PathSize];
    bool endsWithBackslash = cp932::LastSingleByte(folder) == '\\';
    int written = snprintf(base, sizeof base, endsWithBackslash ? "%s" : "%s\\", folder);
    if (written < 0 || written >= static_cast<int>(sizeof base)) return 0;
    char pattern[PathSize + 8];
    snprintf(pattern, sizeof pattern, "%s*.%s", base, SpiFileExtension);

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        TakeSlot(base, found.cFileName);
    } while (plugins_.size() < MaxPlugins && FindNextFileA(search, &found));
    FindClose(search);

    std::sort(plugins_.begin(), plugins_.end(),
              [](const LoadedPlugin& a, const LoadedPlugin& b) { return SlotComesFirst(a.slot, b.slot); });
    return static_cast<int>(plugins_.size());
}

bool CPluginTable::TakeSlot(const char* folder, const char* name) {
    LoadedPlugin taken = {};
    PluginSlot& slot = taken.slot;
    int written = snprintf(slot.fullPath, sizeof slot.fullPath, "%s%s", folder, name);
    if (written < 0 || written >= static_cast<int>(sizeof slot.fullPath)) return false;
    CopyTextCut(slot.fileName, sizeof slot.fileName, name);
    slot.module = LoadLibraryA(slot.fullPath);
    if (!slot.module) return false;
    if (!LookUpEntryPoints(&taken)) {
        FreeLibrary(slot.module);
        return false;
    }
    plugins_.push_back(taken);
    return true;
}

bool CPluginTable::LookUpEntryPoints(LoadedPlugin* plugin) {
    PluginSlot& slot = plugin->slot;
    HMODULE module = slot.module;
    GetPluginInfoFn getPluginInfo = nullptr;
    EntryPoints calls;
    if (!LookUp(module, "GetPluginInfo", &getPluginInfo) || !LookUp(module, "IsSupported", &calls.isSupported)) {
        return false;
    }
    char version[PluginInfoBufferSize + 1];
    ReadPluginInfo(getPluginInfo, 0, version, sizeof version);
    slot.isArchive = strcmp(version, ImagePluginVersion) != 0;
    bool complete = slot.isArchive ? LookUp(module, "GetArchiveInfo", &calls.getArchiveInfo) &&
                                         LookUp(module, "GetFileInfo", &calls.getFileInfo) &&
                                         LookUp(module, "GetFile", &calls.getFile)
                                   : HasExports(module, {"GetPictureInfo", "GetPicture", "GetPreview"});
    if (!complete) return false;
    ReadPluginInfo(getPluginInfo, 1, slot.infoText, sizeof slot.infoText);
    ReadPluginInfo(getPluginInfo, 2, slot.extensions, sizeof slot.extensions);
    if (slot.isArchive) plugin->calls = calls;
    return true;
}

void CPluginTable::Unload(int index) {
    if (index == AllSlots) {
        for (int i = 0; i < static_cast<int>(plugins_.size()); ++i) Unload(i);
        return;
    }
    if (!HoldsSlot(index) || !plugins_[index].slot.module) return;
    FreeLibrary(plugins_[index].slot.module);
    plugins_[index].slot.module = nullptr;
    plugins_[index].calls = EntryPoints();
}

const CPluginTable::EntryPoints* CPluginTable::ArchiveCalls(int index) const {
    if (!HoldsSlot(index)) return nullptr;
    const LoadedPlugin& plugin = plugins_[index];
    return plugin.slot.module && plugin.slot.isArchive ? &plugin.calls : nullptr;
}
