#pragma once
// The archive exports of a plug-in built on RecordedArchive, written once: the plug-in's own
// source defines the five exports and its IsSupported test, and hands the other four to an
// ArchiveExports object, which keeps the last archive open (ArchiveCache).
// Archives are read from files, starting at offset 0; an archive handed over in memory, or at
// another offset, gets SpiNotImplemented.
#include <memory>
#include <new>
#include "plugins/SusiePlugin.h"
#include "spi/common/ArchiveCache.h"
#include "spi/common/RecordedArchive.h"
#include "spi/common/SpiResult.h"

// GetPluginInfo's copy of a text into the host's buffer, cut to fit; the length copied.
int CopyInfoText(const char* text, LPSTR buf, int buflen);

// The first SpiHeaderBytes bytes of the archive for IsSupported: from the host's buffer, or
// from the file when `header` is too small to be an address (the older form of the call
// hands over a file handle). Bytes past the end of a short file are 0. False when the file
// cannot be read.
bool ArchiveHeader(LPCSTR filename, ULONG_PTR header, uint8_t bytes[SpiHeaderBytes]);

// The work of the exports on an archive opened from a file (null: it could not be opened).
int ListRecords(RecordedArchive* archive, HLOCAL* handle);
int FindRecord(RecordedArchive* archive, LPCSTR name, unsigned int flags, ArchiveEntry* entry);
int FetchRecord(RecordedArchive* archive, LONG_PTR position, LPSTR dest, unsigned int flags,
                SpiProgressCallback progress, LONG_PTR data);

template <class Archive>
class ArchiveExports {
public:
    int GetArchiveInfo(LPCSTR src, LONG_PTR offset, unsigned int flags, HLOCAL* handle) {
        if (!handle) return SpiInternalError;
        *handle = nullptr;
        return Call(src, offset, flags, [&](RecordedArchive* archive) { return ListRecords(archive, handle); });
    }
    int GetFileInfo(LPCSTR src, LONG_PTR offset, LPCSTR name, unsigned int flags, ArchiveEntry* entry) {
        if (!name || !entry) return SpiInternalError;
        return Call(src, offset, flags, [&](RecordedArchive* archive) { return FindRecord(archive, name, flags, entry); });
    }
    int GetFile(LPCSTR src, LONG_PTR position, LPSTR dest, unsigned int flags, SpiProgressCallback progress,
                LONG_PTR data) {
        return Call(src, 0, flags, [&](RecordedArchive* archive) {
            return FetchRecord(archive, position, dest, flags, progress, data);
        });
    }
    // Lets the kept archive go (when the library is unloaded).
    void Close() { cache_.Close(); }

private:
    static constexpr unsigned int InputKindMask = 0x7;  // 0: the archive is the file named by src

    template <class Work>
    int Call(LPCSTR src, LONG_PTR offset, unsigned int flags, Work work) {
        if ((flags & InputKindMask) != 0 || offset != 0) return SpiNotImplemented;
        try {
            std::shared_ptr<Archive> archive = cache_.Open(src);
            return work(archive.get());
        } catch (const std::bad_alloc&) {
            return SpiNoMemory;
        }
    }

    ArchiveCache<Archive> cache_;
};
