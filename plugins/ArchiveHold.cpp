#include "plugins/ArchiveHold.h"

ArchiveHold::~ArchiveHold() {
    if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
}

bool ArchiveHold::StillAsListed() {
    if (checked_) return unchanged_ && ::StillAsListed(listed_, path_.c_str());
    checked_ = true;
    // Read access, so that the sharing mode binds others; plug-ins that read the archive
    // share reading, as every reader must.
    held_ = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
    ArchiveIdentity now = held_ != INVALID_HANDLE_VALUE ? IdentityOfOpenFile(held_) : ReadArchiveIdentity(path_.c_str());
    unchanged_ = Unchanged(listed_, now);
    return unchanged_;
}
