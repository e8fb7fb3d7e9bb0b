#include "spi/tar/MemberWalk.h"
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
    member.kind = pending.pax.sparse ? MemberKind::Sparse : KindOf(header.type);
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
                pending.pax = global;
                continue;
            case 'L': pending.hasLongName = true; pending.longName = LongName(data); continue;
            case 'K': pending.hasLongLink = true; pending.longLink = LongName(data); continue;
            case '3': case '4': case '6': break;  // devices and FIFOs: nothing to extract
            case 'V': case 'M': break;            // GNU's volume label, and a file's part from an earlier volume
            default:
                header.size = stored;
                members->push_back(MakeMember(header, pending, dataOffset));
                if (members->back().kind == MemberKind::Folder) members->back().size = 0;
        }
        pending = Pending();
        pending.pax = global;
        pending.pax.hasPath = pending.pax.hasLinkPath = pending.pax.hasSize = false;
    }
}

}  // namespace tar
