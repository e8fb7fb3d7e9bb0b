#include "plugins/ArchiveHold.h"
#include "text/LongPath.h"

ArchiveHold::ArchiveHold(const ListedArchive& archive) : archive_(archive), path_(ExtendedPath(archive.path)) {}

ArchiveHold::~ArchiveHold() {
    if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_);
}

bool ArchiveHold::StillAsListed() {
    if (checked_) return unchanged_ && ::StillAsListed(archive_.identity, path_);
    checked_ = true;
    // Read access, so that the sharing mode binds others; plug-ins that read the archive
    // share reading, as every reader must.
    held_ = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
    ArchiveIdentity now = held_ != INVALID_HANDLE_VALUE ? IdentityOfOpenFile(held_) : ReadArchiveIdentity(path_);
    unchanged_ = Unchanged(archive_.identity, now);
    return unchanged_;
}
