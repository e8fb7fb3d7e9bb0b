#include "plugins/PluginBlock.h"

PluginBlock::PluginBlock(PluginBlock&& other) noexcept : handle_(other.handle_), bytes_(other.bytes_) {
    other.handle_ = nullptr;
    other.bytes_ = nullptr;
}

PluginBlock& PluginBlock::operator=(PluginBlock&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = other.handle_;
        bytes_ = other.bytes_;
        other.handle_ = nullptr;
        other.bytes_ = nullptr;
    }
    return *this;
}

void PluginBlock::Release() {
    if (!handle_) return;
    if (bytes_) LocalUnlock(handle_);
    LocalFree(handle_);
    handle_ = nullptr;
    bytes_ = nullptr;
}

unsigned char* PluginBlock::Lock() {
    if (!bytes_ && handle_) bytes_ = static_cast<unsigned char*>(LocalLock(handle_));
    return bytes_;
}
