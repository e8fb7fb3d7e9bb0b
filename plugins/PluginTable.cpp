// Loading, looking up, ordering and releasing the plug-ins of one folder.
#include "plugins/PluginTable.h"
#include <algorithm>
#include <cstring>
#include <initializer_list>
#include "text/Cp932.h"
#include "text/LongPath.h"
#include "text/WideText.h"

namespace {

constexpr char ImagePluginVersion[] = "00IN";

// Copies at most size - 1 bytes of text and terminates; never ends on half a character.
void CopyTextCut(char* target, size_t size, const char* text) {
    size_t used = cp932::FittingLength(text, strlen(text), size - 1);
    memcpy(target, text, used);
    target[used] = '\0';
}

// A plug-in's GetPluginInfo texts, through its code page 932 export where it has one, else
// through the wide one; read only up to the end of the buffer the plug-in was given.
struct PluginInfoReader {
    GetPluginInfoFn ansi = nullptr;
    GetPluginInfoWFn wide = nullptr;

    std::string Read(int infono) const {
        if (ansi) {
            char buffer[PluginInfoBufferSize + 1] = {};
            ansi(infono, buffer, PluginInfoBufferSize);
            return buffer;
        }
        wchar_t buffer[PluginInfoBufferSize + 1] = {};
        wide(infono, buffer, PluginInfoBufferSize);
        return WideToCp932Shown(buffer);
    }
    void Read(int infono, char* target, size_t size) const { CopyTextCut(target, size, Read(infono).c_str()); }
};

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
    return a.fileName < b.fileName;  // UTF-16 units compared as unsigned values
}

}  // namespace

CPluginTable::~CPluginTable() { Unload(AllSlots); }

const PluginSlot& CPluginTable::Slot(int index) const {
    static const PluginSlot empty = {};
    return HoldsSlot(index) ? plugins_[index].slot : empty;
}

int CPluginTable::LoadFolder(const std::wstring& folder) {
    Unload(AllSlots);
    plugins_.clear();
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/') base += L'\\';
    std::wstring pattern = ExtendedPath(base + L"*." + Cp932ToWide(SpiFileExtension));

    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        TakeSlot(base, found.cFileName);
    } while (plugins_.size() < MaxPlugins && FindNextFileW(search, &found));
    FindClose(search);

    std::sort(plugins_.begin(), plugins_.end(),
              [](const LoadedPlugin& a, const LoadedPlugin& b) { return SlotComesFirst(a.slot, b.slot); });
    return static_cast<int>(plugins_.size());
}

bool CPluginTable::TakeSlot(const std::wstring& folder, const std::wstring& name) {
    LoadedPlugin taken = {};
    PluginSlot& slot = taken.slot;
    slot.fileName = name;
    slot.fullPath = folder + name;
    slot.module = LoadLibraryW(ExtendedPath(slot.fullPath).c_str());
    if (!slot.module) return false;
    if (!LookUpEntryPoints(&taken)) {
        FreeLibrary(slot.module);
        return false;
    }
    plugins_.push_back(std::move(taken));
    return true;
}

bool CPluginTable::LookUpEntryPoints(LoadedPlugin* plugin) {
    PluginSlot& slot = plugin->slot;
    HMODULE module = slot.module;
    PluginInfoReader info;
    LookUp(module, "GetPluginInfo", &info.ansi);
    LookUp(module, "GetPluginInfoW", &info.wide);
    if (!info.ansi && !info.wide) return false;
    char version[PluginInfoBufferSize + 1];
    info.Read(0, version, sizeof version);
    slot.isArchive = strcmp(version, ImagePluginVersion) != 0;

    EntryPoints calls;
    bool complete = false;
    if (slot.isArchive) {
        bool ansiSet = LookUp(module, "IsSupported", &calls.isSupported) &&
                       LookUp(module, "GetArchiveInfo", &calls.getArchiveInfo) &&
                       LookUp(module, "GetFileInfo", &calls.getFileInfo) && LookUp(module, "GetFile", &calls.getFile);
        slot.wide = LookUp(module, "IsSupportedW", &calls.isSupportedW) &&
                    LookUp(module, "GetArchiveInfoW", &calls.getArchiveInfoW) &&
                    LookUp(module, "GetFileInfoW", &calls.getFileInfoW) && LookUp(module, "GetFileW", &calls.getFileW);
        if (slot.wide) LookUp(module, "GetArchiveListW", &calls.getArchiveListW);
        complete = ansiSet || slot.wide;
    } else {
        complete = info.ansi && LookUp(module, "IsSupported", &calls.isSupported) &&
                   HasExports(module, {"GetPictureInfo", "GetPicture", "GetPreview"});
    }
    if (!complete) return false;
    info.Read(1, slot.infoText, sizeof slot.infoText);
    slot.filePatterns = info.Read(2);
    CopyTextCut(slot.extensions, sizeof slot.extensions, slot.filePatterns.c_str());
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
