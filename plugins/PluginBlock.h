#pragma once
// A local-memory block that a plug-in handed over. From the moment the plug-in returns, the
// host owns it: whatever happens, the block is unlocked (when it was locked) and released
// when its owner goes out of scope. Owners can be moved, never copied, so a fetched entry
// reaches its writer as the plug-in's own block, without a copy.
#include <windows.h>
#include <cstddef>

class PluginBlock {
public:
    PluginBlock() = default;
    explicit PluginBlock(HLOCAL handle) : handle_(handle) {}
    ~PluginBlock() { Release(); }
    PluginBlock(PluginBlock&& other) noexcept;
    PluginBlock& operator=(PluginBlock&& other) noexcept;
    PluginBlock(const PluginBlock&) = delete;
    PluginBlock& operator=(const PluginBlock&) = delete;

    // The block's size in bytes; 0 when there is no usable block.
    SIZE_T Size() const { return handle_ ? LocalSize(handle_) : 0; }
    // Locks the block (once) and returns its bytes, or null when it cannot be locked.
    unsigned char* Lock();
    // The bytes of a locked block; null when the block is not locked (or there is none).
    const unsigned char* Bytes() const { return bytes_; }

private:
    void Release();

    HLOCAL handle_ = nullptr;
    unsigned char* bytes_ = nullptr;
};
