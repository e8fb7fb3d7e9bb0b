// The .xz container: streams of blocks, each block's filter chain and check, the index that
// repeats every block's sizes, the stream footer, and the padding between streams.
#include <cstring>
#include <vector>
#include "spi/common/codecs/ByteOrder.h"
#include "spi/common/codecs/Checks.h"
#include "spi/common/codecs/Decoder.h"
#include "spi/common/codecs/Methods.h"

namespace codecs {
namespace {

constexpr uint8_t HeaderMagic[6] = {0xFD, '7', 'z', 'X', 'Z', 0x00};
constexpr uint8_t FooterMagic[2] = {'Y', 'Z'};
constexpr size_t StreamHeaderSize = 12;
constexpr unsigned CheckNone = 0, CheckCrc32 = 1, CheckCrc64 = 4, CheckSha256 = 10;
constexpr unsigned MaxFilters = 4;

size_t CheckSize(unsigned type) { return type == 0 ? 0 : size_t{4} << ((type - 1) / 3); }

// Reads a variable-length integer (7 bits a byte, low first, at most 9 bytes, no
// superfluous zero byte) from `bytes`; false when it is malformed or runs past `end`.
bool ReadNumber(const uint8_t*& bytes, const uint8_t* end, uint64_t* value) {
    *value = 0;
    for (unsigned i = 0; i < 9 && bytes < end; ++i) {
        uint8_t byte = *bytes++;
        if (i > 0 && byte == 0) return false;
        *value |= static_cast<uint64_t>(byte & 0x7F) << (7 * i);
        if (!(byte & 0x80)) return true;
    }
    return false;
}

// The uncompressed bytes of a block, checked as the stream header says.
class BlockCheck {
public:
    void Start(unsigned type) {
        type_ = type;
        crc32_ = 0;
        crc64_ = 0;
        sha_ = Sha256();
    }
    void Update(const uint8_t* data, size_t size) {
        if (type_ == CheckCrc32) crc32_ = Crc32(crc32_, data, size);
        if (type_ == CheckCrc64) crc64_ = Crc64(crc64_, data, size);
        if (type_ == CheckSha256) sha_.Update(data, size);
    }
    // Compares with the stored check; checks of other types are skipped unverified.
    bool Matches(const uint8_t* stored) {
        uint8_t value[32];
        if (type_ == CheckCrc32) {
            for (int i = 0; i < 4; ++i) value[i] = static_cast<uint8_t>(crc32_ >> (8 * i));
        } else if (type_ == CheckCrc64) {
            for (int i = 0; i < 8; ++i) value[i] = static_cast<uint8_t>(crc64_ >> (8 * i));
        } else if (type_ == CheckSha256) {
            sha_.Finish(value);
        } else {
            return true;
        }
        return memcmp(value, stored, CheckSize(type_)) == 0;
    }

private:
    unsigned type_ = CheckNone;
    uint32_t crc32_ = 0;
    uint64_t crc64_ = 0;
    Sha256 sha_;
};

// What the blocks of a stream were, folded so that the index can be compared in bounded memory.
struct BlockTally {
    uint64_t count = 0, unpaddedSum = 0, uncompressedSum = 0;
    uint32_t crc = 0;
    void Add(uint64_t unpadded, uint64_t uncompressed) {
        uint8_t pair[16];
        for (int i = 0; i < 8; ++i) {
            pair[i] = static_cast<uint8_t>(unpadded >> (8 * i));
            pair[8 + i] = static_cast<uint8_t>(uncompressed >> (8 * i));
        }
        crc = Crc32(crc, pair, sizeof pair);
        ++count;
        unpaddedSum += unpadded;
        uncompressedSum += uncompressed;
    }
    bool operator==(const BlockTally& other) const {
        return count == other.count && unpaddedSum == other.unpaddedSum &&
               uncompressedSum == other.uncompressedSum && crc == other.crc;
    }
};

struct BlockFilter {
    Method method = Method::Lzma2;
    MethodProperties properties;
};

class XzDecoder : public Decoder {
public:
    explicit XzDecoder(ByteInput& input) : input_(input) {}

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (status_ == Status::Ok && *produced < size) {
            if (stage_ == Stage::StreamHeader) {
                status_ = ReadStreamHeader(nullptr);
            } else if (stage_ == Stage::Blocks) {
                status_ = ReadBlockHeaderOrIndex();
            } else if (stage_ == Stage::BlockData) {
                size_t count = 0;
                Status status = chain_.back()->Decode(out + *produced, size - *produced, &count);
                check_.Update(out + *produced, count);
                *produced += count;
                blockUncompressed_ += count;
                if (status == Status::End) status = FinishBlock();
                status_ = status;
            } else {
                status_ = ReadStreamPadding();
            }
        }
        return status_;
    }

private:
    enum class Stage { StreamHeader, Blocks, BlockData, Padding };

    Status Truncated() const { return input_.Failed() ? Status::ReadError : Status::BadData; }

    bool ReadExact(uint8_t* buffer, size_t size) { return input_.Read(buffer, size) == size; }

    // `start`: the first bytes, when the caller has read them already.
    Status ReadStreamHeader(const uint8_t* start) {
        uint8_t header[StreamHeaderSize];
        size_t have = start ? 4 : 0;
        if (start) memcpy(header, start, 4);
        if (!ReadExact(header + have, sizeof header - have)) return Truncated();
        if (memcmp(header, HeaderMagic, sizeof HeaderMagic) != 0) return Status::BadData;
        if (Crc32(0, header + 6, 2) != ReadLe32(header + 8)) return Status::BadData;
        if (header[6] != 0 || (header[7] & 0xF0)) return Status::Unsupported;
        memcpy(streamFlags_, header + 6, 2);
        checkType_ = header[7];
        tally_ = BlockTally();
        stage_ = Stage::Blocks;
        return Status::Ok;
    }

    Status ReadBlockHeaderOrIndex() {
        uint8_t header[1024];
        header[0] = input_.Byte();
        if (input_.Overrun() > 0) return Truncated();
        if (header[0] == 0) return ReadIndexAndFooter();
        size_t headerSize = (size_t{header[0]} + 1) * 4;
        if (!ReadExact(header + 1, headerSize - 1)) return Truncated();
        if (Crc32(0, header, headerSize - 4) != ReadLe32(header + headerSize - 4)) return Status::BadData;
        BlockFilter filters[MaxFilters];
        unsigned count = 0;
        Status status = ParseBlockHeader(header, headerSize - 4, filters, &count);
        if (status != Status::Ok) return status;
        status = BuildChain(filters, count);
        if (status != Status::Ok) return status;
        blockHeaderSize_ = headerSize;
        blockDataStart_ = input_.Consumed();
        blockUncompressed_ = 0;
        check_.Start(checkType_);
        stage_ = Stage::BlockData;
        return Status::Ok;
    }

    Status ParseBlockHeader(const uint8_t* header, size_t size, BlockFilter* filters, unsigned* count) {
        const uint8_t* at = header + 2;
        const uint8_t* end = header + size;
        uint8_t flags = header[1];
        if (flags & 0x3C) return Status::Unsupported;
        declaredCompressed_ = declaredUncompressed_ = UnknownSize;
        if ((flags & 0x40) && (!ReadNumber(at, end, &declaredCompressed_) || declaredCompressed_ == 0))
            return Status::BadData;
        if ((flags & 0x80) && !ReadNumber(at, end, &declaredUncompressed_)) return Status::BadData;
        *count = (flags & 3) + 1;
        for (unsigned i = 0; i < *count; ++i) {
            uint64_t id = 0, propertiesSize = 0;
            if (!ReadNumber(at, end, &id) || !ReadNumber(at, end, &propertiesSize) ||
                propertiesSize > static_cast<uint64_t>(end - at))
                return Status::BadData;
            const uint8_t* properties = at;
            at += propertiesSize;
            if (!XzFilter(id, &filters[i].method)) return Status::Unsupported;
            if (!ParseMethodProperties(filters[i].method, properties, static_cast<size_t>(propertiesSize),
                                       &filters[i].properties))
                return Status::BadData;
            // The last filter reads the block's bytes, the others what the one after them unpacks.
            if ((InputOf(filters[i].method) == MethodInput::Packed) != (i + 1 == *count)) return Status::Unsupported;
        }
        while (at < end)
            if (*at++ != 0) return Status::BadData;  // header padding is zeros
        return Status::Ok;
    }

    // The decoders of a block: LZMA2 reading the block's bytes, then the other filters in
    // reverse order of the header, each reading the one before it.
    Status BuildChain(const BlockFilter* filters, unsigned count) {
        chain_.clear();
        const BlockFilter& last = filters[count - 1];
        std::unique_ptr<Decoder> decoder = MakeMethodDecoder(last.method, last.properties, input_, declaredUncompressed_);
        if (!decoder) return Status::NoMemory;
        chain_.push_back(std::move(decoder));
        for (unsigned i = count - 1; i-- > 0;) {
            decoder = MakeMethodFilter(filters[i].method, filters[i].properties, *chain_.back());
            if (!decoder) return Status::NoMemory;
            chain_.push_back(std::move(decoder));
        }
        return Status::Ok;
    }

    Status FinishBlock() {
        uint64_t compressed = input_.Consumed() - blockDataStart_;
        if ((declaredCompressed_ != UnknownSize && compressed != declaredCompressed_) ||
            (declaredUncompressed_ != UnknownSize && blockUncompressed_ != declaredUncompressed_))
            return Status::BadData;
        uint8_t padding[3], stored[64];
        size_t paddingSize = (4 - compressed % 4) % 4;
        if (!ReadExact(padding, paddingSize) || !ReadExact(stored, CheckSize(checkType_))) return Truncated();
        for (size_t i = 0; i < paddingSize; ++i)
            if (padding[i] != 0) return Status::BadData;
        if (!check_.Matches(stored)) return Status::BadData;
        tally_.Add(blockHeaderSize_ + compressed + CheckSize(checkType_), blockUncompressed_);
        chain_.clear();
        stage_ = Stage::Blocks;
        return Status::Ok;
    }

    // Reads one byte of the index, adding it to the index's CRC.
    uint8_t IndexByte() {
        uint8_t byte = input_.Byte();
        indexCrc_ = Crc32(indexCrc_, &byte, 1);
        ++indexSize_;
        return byte;
    }
    bool IndexNumber(uint64_t* value) {
        uint8_t bytes[9];
        size_t used = 0;
        do bytes[used] = IndexByte();
        while ((bytes[used++] & 0x80) && used < sizeof bytes);
        const uint8_t* at = bytes;
        return ReadNumber(at, bytes + used, value) && input_.Overrun() == 0;
    }

    Status ReadIndexAndFooter() {
        uint8_t indicator = 0;
        indexCrc_ = Crc32(0, &indicator, 1);
        indexSize_ = 1;
        uint64_t count = 0;
        if (!IndexNumber(&count) || count != tally_.count) return Truncated();
        BlockTally listed;
        for (uint64_t i = 0; i < count; ++i) {
            uint64_t unpadded = 0, uncompressed = 0;
            if (!IndexNumber(&unpadded) || !IndexNumber(&uncompressed)) return Truncated();
            listed.Add(unpadded, uncompressed);
        }
        while (indexSize_ % 4 != 0)
            if (IndexByte() != 0) return Status::BadData;
        uint8_t crc[4], footer[StreamHeaderSize];
        if (!ReadExact(crc, 4) || !ReadExact(footer, sizeof footer)) return Truncated();
        if (!(listed == tally_) || ReadLe32(crc) != indexCrc_) return Status::BadData;
        if (Crc32(0, footer + 4, 6) != ReadLe32(footer) || memcmp(footer + 10, FooterMagic, 2) != 0 ||
            memcmp(footer + 8, streamFlags_, 2) != 0 || (uint64_t{ReadLe32(footer + 4)} + 1) * 4 != indexSize_ + 4)
            return Status::BadData;
        stage_ = Stage::Padding;
        return Status::Ok;
    }

    // Between streams: groups of four zero bytes, then the next stream or the end.
    Status ReadStreamPadding() {
        for (;;) {
            if (input_.AtEnd()) return input_.Failed() ? Status::ReadError : Status::End;
            uint8_t group[4];
            if (!ReadExact(group, 4)) return Truncated();
            if (memcmp(group, HeaderMagic, 4) == 0) return ReadStreamHeader(group);
            if (ReadLe32(group) != 0) return Status::BadData;
        }
    }

    ByteInput& input_;
    Status status_ = Status::Ok;
    Stage stage_ = Stage::StreamHeader;
    uint8_t streamFlags_[2] = {};
    unsigned checkType_ = CheckNone;
    BlockTally tally_;
    std::vector<std::unique_ptr<Decoder>> chain_;
    BlockCheck check_;
    size_t blockHeaderSize_ = 0;
    uint64_t blockDataStart_ = 0, blockUncompressed_ = 0;
    uint64_t declaredCompressed_ = UnknownSize, declaredUncompressed_ = UnknownSize;
    uint32_t indexCrc_ = 0;
    uint64_t indexSize_ = 0;
};

}  // namespace

std::unique_ptr<Decoder> MakeXzDecoder(ByteInput& input) {
    return std::unique_ptr<Decoder>(new (std::nothrow) XzDecoder(input));
}

}  // namespace codecs
