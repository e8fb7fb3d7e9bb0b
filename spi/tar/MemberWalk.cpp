#include "spi/tar/MemberWalk.h"
#include <utility>
#include "spi/common/SpiResult.h"
#include "spi/tar/TarHeader.h"

namespace tar {
namespace {

constexpr uint64_t MaxExtendedSize = 1 << 20;  // a long name or a pax header; real ones are small

uint64_t Padded(uint64_t size) { return (size + BlockSize - 1) / BlockSize * BlockSize; }

// What the headers before a member said about it.
struct Pending {
    PaxValues pax;
    bool hasLongName = false, hasLongLink = false;
    std::string longName, longLink;
};

int ReadData(TarStream& stream, uint64_t offset, uint64_t size, std::string* data) {
    if (size > MaxExtendedSize) return SpiBrokenData;
    data->resize(static_cast<size_t>(size));
    size_t produced = 0;
    int result = stream.ReadAt(offset, reinterpret_cast<uint8_t*>(&(*data)[0]), data->size(), &produced);
    if (result != SpiSuccess) return result;
    return produced == data->size() ? SpiSuccess : SpiBrokenData;
}

// A GNU long name: the data up to its first NUL.
std::string LongName(const std::string& data) { return data.substr(0, data.find('\0')); }

MemberKind KindOf(char type) {
    switch (type) {
        case '1': return MemberKind::HardLink;
        case '2': return MemberKind::SymbolicLink;
        case '5':
        case 'D': return MemberKind::Folder;  // 'D': GNU's folder with a list of its names
        case 'S': return MemberKind::Sparse;
        default: return MemberKind::File;     // '0', '7', NUL and types unknown here
    }
}

Member MakeMember(const HeaderBlock& header, const Pending& pending, uint64_t dataOffset) {
    Member member;
    member.kind = KindOf(header.type);
    member.name = header.name;
    if (pending.hasLongName) member.name = pending.longName;
    if (pending.pax.hasPath) member.name = pending.pax.path;
    member.nameIsUtf8 = pending.pax.hasPath && !pending.pax.binaryNames;
    member.linkTarget = header.linkName;
    if (pending.hasLongLink) member.linkTarget = pending.longLink;
    if (pending.pax.hasLinkPath) member.linkTarget = pending.pax.linkPath;
    member.linkIsUtf8 = pending.pax.hasLinkPath && !pending.pax.binaryNames;
    member.dataOffset = dataOffset;
    member.size = header.size;
    member.modified = pending.pax.hasTime ? pending.pax.modified : header.modified;
    if (member.kind == MemberKind::Folder && (member.name.empty() || member.name.back() != '/')) member.name += '/';
    return member;
}

// A stream whose first block is zero is an empty archive only when nothing but zero blocks
// follow; otherwise it is no TAR at all (a compressed disk image, say). SpiUnknownFormat then.
int ReadZeroBlocks(TarStream& stream, uint64_t* end) {
    uint8_t chunk[1 << 15];
    uint64_t offset = BlockSize;  // behind the first
    for (size_t produced = sizeof chunk; produced == sizeof chunk; offset += produced) {
        int result = stream.ReadAt(offset, chunk, sizeof chunk, &produced);
        if (result != SpiSuccess) return result;
        for (size_t i = 0; i < produced; ++i)
            if (chunk[i] != 0) return SpiUnknownFormat;
    }
    if (offset % BlockSize != 0) return SpiUnknownFormat;
    *end = 0;
    return SpiSuccess;
}

// An old GNU sparse header's extension blocks, from *offset (moved behind them).
int ReadSparseExtensions(TarStream& stream, bool extended, uint64_t* offset, std::vector<Region>* regions) {
    while (extended) {
        uint8_t block[BlockSize];
        size_t produced = 0;
        int result = stream.ReadAt(*offset, block, sizeof block, &produced);
        if (result != SpiSuccess) return result;
        if (produced < BlockSize || !ReadSparseExtension(block, regions, &extended)) return SpiBrokenData;
        *offset += BlockSize;
    }
    return SpiSuccess;
}

// The map of a file that pax records call sparse: in the records (0.0, 0.1) or ahead of the
// data (1.0, which moves the member's data behind it and takes its blocks from *stored).
int ReadPaxSparseMap(TarStream& stream, const PaxValues::Sparse& pax, Member* member, uint64_t* stored,
                     SparseMap* map) {
    if (!pax.hasRealSize || pax.awaitingSize) return SpiBrokenData;
    map->realSize = pax.realSize;
    if (pax.major == 0) {
        map->regions = pax.regions;
        return pax.hasCount && pax.count != map->regions.size() ? SpiBrokenData : SpiSuccess;
    }
    uint64_t mapSize = 0;
    int result = ReadDataMap(stream, member->dataOffset, *stored, &map->regions, &mapSize);
    member->dataOffset += mapSize;
    *stored -= mapSize;
    return result;
}

// Makes a file member sparse when its headers say it is: its regions, its real size, and
// (pax 0.1 and 1.0, whose header holds a made-up name) its real name.
int ReadSparse(TarStream& stream, const HeaderBlock& header, const PaxValues& pax, uint64_t stored, Member* member) {
    SparseMap map;
    if (header.type == 'S') {
        map = header.sparse;
    } else if (!pax.sparse.any || member->kind != MemberKind::File) {
        return SpiSuccess;
    } else if (pax.sparse.major > 1) {
        member->kind = MemberKind::Unreadable;
        return SpiSuccess;
    } else {
        int result = ReadPaxSparseMap(stream, pax.sparse, member, &stored, &map);
        if (result != SpiSuccess) return result;
        if (pax.sparse.hasName) {
            member->name = pax.sparse.name;
            member->nameIsUtf8 = !pax.binaryNames;
        }
    }
    if (!MapHolds(map, stored)) return SpiBrokenData;
    member->kind = MemberKind::Sparse;
    member->size = map.realSize;
    member->regions = std::move(map.regions);
    return SpiSuccess;
}

}  // namespace

int WalkMembers(TarStream& stream, std::vector<Member>* members, uint64_t* end) {
    PaxValues global;
    Pending pending;
    pending.pax = global;
    uint64_t offset = 0;
    for (bool first = true;; first = false) {
        uint8_t block[BlockSize];
        size_t produced = 0;
        int result = stream.ReadAt(offset, block, sizeof block, &produced);
        if (result != SpiSuccess) return result;
        HeaderBlock header;
        BlockKind kind = produced == 0 ? BlockKind::Zero : produced < BlockSize ? BlockKind::Invalid
                                                                                : ReadHeaderBlock(block, &header);
        if (kind == BlockKind::Invalid) return first ? SpiUnknownFormat : SpiBrokenData;
        if (kind == BlockKind::Zero && first) return produced == 0 ? SpiUnknownFormat : ReadZeroBlocks(stream, end);
        if (kind == BlockKind::Zero) {
            bool covered = true;
            if (produced == 0) result = stream.Covers(offset, &covered);
            if (result != SpiSuccess) return result;
            if (!covered) return SpiBrokenData;  // the last member's data is cut short
            *end = offset;  // the end marker (two zero blocks, often padded further), or the file's end
            return SpiSuccess;
        }
        uint64_t dataOffset = offset + BlockSize;
        if (pending.pax.hasSize) header.size = pending.pax.size;
        // Headers of links and folders may state a size that no data follows.
        bool hasData = header.type != '1' && header.type != '2' && header.type != '3' && header.type != '4' &&
                       header.type != '5' && header.type != '6';
        uint64_t stored = hasData ? header.size : 0;
        result = ReadSparseExtensions(stream, header.type == 'S' && header.sparseExtended, &dataOffset,
                                      &header.sparse.regions);
        if (result != SpiSuccess) return result;
        offset = dataOffset + Padded(stored);
        if (offset < dataOffset) return SpiBrokenData;

        std::string data;
        if (header.type == 'x' || header.type == 'g' || header.type == 'L' || header.type == 'K') {
            result = ReadData(stream, dataOffset, stored, &data);
            if (result != SpiSuccess) return result;
        }
        switch (header.type) {
            case 'x':
                if (!ReadPaxRecords(data, &pending.pax)) return SpiBrokenData;
                continue;
            case 'g':
                if (!ReadPaxRecords(data, &global)) return SpiBrokenData;
                global.sparse = PaxValues::Sparse();  // a map describes one file
                pending.pax = global;
                continue;
            case 'L': pending.hasLongName = true; pending.longName = LongName(data); continue;
            case 'K': pending.hasLongLink = true; pending.longLink = LongName(data); continue;
            case '3': case '4': case '6': break;  // devices and FIFOs: nothing to extract
            case 'V': case 'M': break;            // GNU's volume label, and a file's part from an earlier volume
            default: {
                header.size = stored;
                Member member = MakeMember(header, pending, dataOffset);
                if (member.kind == MemberKind::Folder) member.size = 0;
                result = ReadSparse(stream, header, pending.pax, stored, &member);
                if (result != SpiSuccess) return result;
                members->push_back(std::move(member));
            }
        }
        pending = Pending();
        pending.pax = global;
        pending.pax.hasPath = pending.pax.hasLinkPath = pending.pax.hasSize = false;
    }
}

}  // namespace tar
