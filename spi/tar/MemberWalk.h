#pragma once
// The members of a TAR stream, walked header by header: GNU long names and links, pax
// extended headers (per member and global), and the end of the archive.
#include <cstdint>
#include <string>
#include <vector>
#include "spi/tar/TarStream.h"

namespace tar {

enum class MemberKind { File, Folder, SymbolicLink, HardLink, Sparse };

struct Member {
    std::string name;            // bytes as stored
    bool nameIsUtf8 = false;     // declared so (pax), not guessed
    std::string linkTarget;      // links: the name they point to
    bool linkIsUtf8 = false;
    MemberKind kind = MemberKind::File;
    uint64_t dataOffset = 0;     // where its bytes start in the stream
    uint64_t size = 0;           // stored bytes
    int64_t modified = 0;        // seconds since 1970 UTC
};

// Walks the stream from its start and appends every member that extraction can make (device
// files, FIFOs and GNU volume labels are passed over, and so are the headers that only describe
// the member after them). *end receives where the archive ends in the stream. SpiResult: SpiUnknownFormat when
// the stream does not begin with a header, SpiBrokenData for a header that does not hold
// together or a stream that ends inside a member, SpiReadError, SpiNoMemory.
int WalkMembers(TarStream& stream, std::vector<Member>* members, uint64_t* end);

}  // namespace tar
