#pragma once
// A TAR archive file (plain, or in gzip, bzip2 or xz) the plug-in keeps open between calls
// (see ArchiveCache): its members are walked once, on first use, and a compressed stream's
// decoders stay where the last entries left them (StreamPair), so that a host fetching the
// entries in archive order decompresses the stream once; the bytes of hard links' targets are
// kept as they pass (up to a bound), so that the links after them cost no decoding.
// A sparse file comes out whole, its holes as zeros. A compressed file that holds no TAR is one
// entry: the file it packs.
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>
#include "spi/common/RecordedArchive.h"
#include "spi/tar/MemberWalk.h"
#include "spi/tar/StreamPair.h"

class TarArchive : public RecordedArchive {
public:
    explicit TarArchive(const wchar_t* path);

    int UnpackEntry(size_t index, OutputSink& sink, ProgressReport& progress) override;

protected:
    int MakeRecords(CompactRecords* records) override;

private:
    // Where a record's bytes come from.
    struct Content {
        enum Kind { Data, Sparse, Text, WholeStream, Unsupported } kind = Data;
        uint64_t offset = 0, size = 0;  // Data and WholeStream: a range of the stream
        std::string text;               // Text: a symbolic link's target
        // Sparse: the data regions, stored one after another from `offset`; `size` is the file's.
        std::vector<tar::Region> regions;
    };

    static Content ContentOf(const tar::Member& member);
    int ListMembers(const std::vector<tar::Member>& members, uint64_t end, CompactRecords* records);
    int ListCompressedFile(CompactRecords* records);
    int AddRecord(const std::string& name, const Content& content, uint64_t position, uint64_t packedSize,
                  int64_t modified, CompactRecords* records);
    // Room kept for a link target's bytes, when it fits what is left of the bound; null otherwise.
    std::string* KeepRoom(const Content& content);

    std::string archiveName_;  // the archive file's name, as kept (NameText.h)
    std::mutex streamMutex_;
    std::unique_ptr<tar::StreamPair> streams_;
    std::vector<Content> contents_;  // one per record
    // Compressed streams: where the members that hard links name start, and the bytes of those
    // read so far, by that place.
    std::unordered_set<uint64_t> linkTargets_;
    std::unordered_map<uint64_t, std::string> keptTargets_;
    uint64_t keptBytes_ = 0;
};
