// Loading, binding, ordering and releasing the plug-ins of one folder.
#include "plugins/PluginTable.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include "text/Cp932.h"

namespace {

constexpr char ImagePluginVersion[] = "00IN";
constexpr int PluginInfoBufferSize = 200;
constexpr int VersionBufferSize = 80;

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

// Makes the named export the current entry point; false when the plug-in lacks it.
template <typename Function>
bool LookUp(HMODULE module, const char* name, Function* current) {
    *current = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return *current != nullptr;
}

bool SlotComesFirst(const PluginSlot& a, const PluginSlot& b) {
    if (a.isArchive != b.isArchive) return a.isArchive > b.isArchive;
    return strcmp(a.fileName, b.fileName) < 0;  // strcmp compares bytes as unsigned values
}

}  // namespace

CPluginTable::~CPluginTable() { Unload(AllSlots); }

const PluginSlot& CPluginTable::Slot(int index) const {
    static const PluginSlot empty = {};
    return HoldsSlot(index) ? slots_[index] : empty;
}

int CPluginTable::LoadFolder(const char* folder) {
    Unload(AllSlots);
    slots_.clear();
    boundSlot_ = -1;
    if (!folder) folder = "";
    char base[MAX_PATH];
    bool endsWithBackslash = cp932::LastSingleByte(folder) == '\\';
    int written = snprintf(base, sizeof base, endsWithBackslash ? "%s" : "%s\\", folder);
    if (written < 0 || written >= static_cast<int>(sizeof base)) return 0;
    char pattern[MAX_PATH + 8];
    snprintf(pattern, sizeof pattern, "%s*.%s", base, SpiFileExtension);

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        TakeSlot(base, found.cFileName);
    } while (slots_.size() < MaxPlugins && FindNextFileA(search, &found));
    FindClose(search);

    std::sort(slots_.begin(), slots_.end(), SlotComesFirst);
    boundSlot_ = -1;  // the slots moved
    return static_cast<int>(slots_.size());
}

bool CPluginTable::TakeSlot(const char* folder, const char* name) {
    PluginSlot slot = {};
    int written = snprintf(slot.fullPath, sizeof slot.fullPath, "%s%s", folder, name);
    if (written < 0 || written >= static_cast<int>(sizeof slot.fullPath)) return false;
    CopyTextCut(slot.fileName, sizeof slot.fileName, name);
    slot.module = LoadLibraryA(slot.fullPath);
    if (!slot.module) return false;
    slots_.push_back(slot);
    int index = static_cast<int>(slots_.size()) - 1;
    if (!Bind(index)) {
        Unload(index);
        slots_.pop_back();
        return false;
    }
    PluginSlot& taken = slots_.back();
    ReadPluginInfo(getPluginInfo_, 1, taken.infoText, sizeof taken.infoText);
    ReadPluginInfo(getPluginInfo_, 2, taken.extensions, sizeof taken.extensions);
    char version[PluginInfoBufferSize + 1];
    ReadPluginInfo(getPluginInfo_, 0, version, sizeof version);
    taken.isArchive = strcmp(version, ImagePluginVersion) != 0;
    return true;
}

void CPluginTable::Unload(int index) {
    if (index == AllSlots) {
        for (int i = 0; i < static_cast<int>(slots_.size()); ++i) Unload(i);
        return;
    }
    if (!HoldsSlot(index) || !slots_[index].module) return;
    if (index == boundSlot_) boundSlot_ = -1;
    FreeLibrary(slots_[index].module);
    slots_[index].module = nullptr;
}

int CPluginTable::Bind(int index) {
    if (!HoldsSlot(index) || !slots_[index].module) return 0;
    if (index == boundSlot_) return 1;
    boundSlot_ = BindExports(index) ? index : -1;
    return boundSlot_ == index;
}

bool CPluginTable::BindExports(int index) {
    PluginSlot& slot = slots_[index];
    HMODULE module = slot.module;
    if (!LookUp(module, "GetPluginInfo", &getPluginInfo_) || !LookUp(module, "IsSupported", &isSupported_)) {
        return false;
    }
    char version[VersionBufferSize + 1] = {};
    getPluginInfo_(0, version, VersionBufferSize);
    if (strcmp(version, ImagePluginVersion) == 0) {
        slot.isArchive = 0;
        return LookUp(module, "GetPictureInfo", &getPictureInfo_) && LookUp(module, "GetPicture", &getPicture_) &&
               LookUp(module, "GetPreview", &getPreview_);
    }
    slot.isArchive = 1;
    return LookUp(module, "GetArchiveInfo", &getArchiveInfo_) && LookUp(module, "GetFileInfo", &getFileInfo_) &&
           LookUp(module, "GetFile", &getFile_);
}
