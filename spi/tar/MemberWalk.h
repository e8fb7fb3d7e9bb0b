#pragma once
// The members of a TAR stream, walked header by header: GNU long names and links, pax
// extended headers (per member and global), and the end of the archive.
#include <cstdint>
#include <string>
#include <vector>
#include "spi/tar/SparseMap.h"
#include "spi/tar/TarStream.h"

namespace tar {

// Sparse: a file stored as its data regions (see SparseMap); Unreadable: a file stored in a
// layout this reader does not know (a sparse map of a later version).
enum class MemberKind { File, Folder, SymbolicLink, HardLink, Sparse, Unreadable };

struct Member {
    std::string name;            // bytes as stored
    bool nameIsUtf8 = false;     // declared so (pax), not guessed
    std::string linkTarget;      // links: the name they point to
    bool linkIsUtf8 = false;
    MemberKind kind = MemberKind::File;
    uint64_t dataOffset = 0;     // where its bytes start in the stream (behind a sparse map)
    uint64_t size = 0;           // the file's bytes (a sparse file's real size, holes included)
    std::vector<Region> regions; // Sparse: the data regions, stored one after another from dataOffset
    int64_t modified = 0;        // seconds since 1970 UTC
};

// Walks the stream from its start and appends every member that extraction can make (device
// files, FIFOs and GNU volume labels are passed over, and so are the headers that only describe
// the member after them). *end receives where the archive ends in the stream. SpiResult:
// SpiUnknownFormat when the stream neither begins with a header nor is all zero blocks (an
// empty archive), SpiBrokenData for a header or sparse map that does not hold together or a
// stream that ends inside a member, SpiReadError, SpiNoMemory.
int WalkMembers(TarStream& stream, std::vector<Member>* members, uint64_t* end);

}  // namespace tar
