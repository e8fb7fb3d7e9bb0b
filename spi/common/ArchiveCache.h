#pragma once
// The archive a plug-in was asked about last, kept open with what the plug-in parsed of it
// (Archive derives from OpenedArchive and is constructed from the path). A host lists an
// archive and then fetches its entries one call at a time; each call finds the file open and
// its directory read, as long as it names the same path and the file has not changed since.
// Another archive, or a change of the file, closes it (once no call still uses it) and opens
// the new one. Close() lets it go at once: the plug-in calls it when the library is unloaded.
//
// Calls may come from several threads: the cache hands out shared owners, so an archive
// stays valid for a call while another call replaces it. What an Archive changes after its
// construction (a directory parsed on first use, a decoder's position), it guards itself.
#include <memory>
#include <mutex>
#include <string>
#include "spi/common/OpenedArchive.h"

template <class Archive>
class ArchiveCache {
public:
    // The open archive at path; null when the file cannot be opened.
    std::shared_ptr<Archive> Open(const wchar_t* path) {
        if (!path) return nullptr;
        std::lock_guard<std::mutex> lock(mutex_);
        if (kept_ && keptPath_ == path && kept_->UnchangedAt(path)) return kept_;
        auto fresh = std::make_shared<Archive>(path);
        keptPath_ = path;
        // The same file (or pieces), unchanged, under another name: what was parsed of it still holds.
        if (fresh->IsOpen() && kept_ && kept_->SameFilesAs(*fresh)) return kept_;
        kept_ = fresh->IsOpen() ? fresh : nullptr;
        return kept_;
    }

    void Close() {
        std::lock_guard<std::mutex> lock(mutex_);
        kept_.reset();
        keptPath_.clear();
    }

private:
    std::mutex mutex_;
    std::shared_ptr<Archive> kept_;
    std::wstring keptPath_;  // the name the last call gave it
};
