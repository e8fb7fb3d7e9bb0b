#include "plugins/PluginBlock.h"

PluginBlock::~PluginBlock() {
    if (!handle_) return;
    if (locked_) LocalUnlock(handle_);
    LocalFree(handle_);
}

unsigned char* PluginBlock::Lock() {
    if (!handle_) return nullptr;
    void* bytes = LocalLock(handle_);
    locked_ = bytes != nullptr;
    return static_cast<unsigned char*>(bytes);
}
