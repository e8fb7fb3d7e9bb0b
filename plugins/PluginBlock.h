#pragma once
// A local-memory block that a plug-in handed over. From the moment the plug-in returns, the
// host owns it: whatever happens, the block is unlocked (when it was locked) and released
// when this object goes out of scope.
#include <windows.h>

class PluginBlock {
public:
    explicit PluginBlock(HLOCAL handle) : handle_(handle) {}
    ~PluginBlock();
    PluginBlock(const PluginBlock&) = delete;
    PluginBlock& operator=(const PluginBlock&) = delete;

    // The block's size in bytes; 0 when there is no usable block.
    SIZE_T Size() const { return handle_ ? LocalSize(handle_) : 0; }
    // The block's bytes, or null when it cannot be locked.
    unsigned char* Lock();

private:
    HLOCAL handle_;
    bool locked_ = false;
};
