// bzip2: blocks of up to 900,000 bytes, each Huffman-coded move-to-front indices and runs of
// the Burrows-Wheeler transform of run-length-coded data, each with its CRC; the stream ends
// with the CRC of all blocks. Streams that follow each other are read as one.
#include <algorithm>
#include <cstring>
#include <new>
#include "spi/common/codecs/CanonicalCode.h"
#include "spi/common/codecs/Checks.h"
#include "spi/common/codecs/MsbBitReader.h"

namespace codecs {
namespace {

constexpr uint64_t BlockMagic = 0x314159265359ull;
constexpr uint64_t EndMagic = 0x177245385090ull;
constexpr unsigned MaxGroups = 6, MaxSelectors = 18002, GroupSize = 50;
constexpr unsigned RunA = 0, RunB = 1;
constexpr unsigned MaxCodeLength = 20;
using Huffman = HuffmanDecoder<MsbBitReader, MaxCodeLength, 258>;

class Bzip2Decoder : public Decoder {
public:
    explicit Bzip2Decoder(ByteInput& input) : input_(input), bits_(input) {}

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (status_ == Status::Ok && *produced < size) {
            if (stage_ == Stage::StreamHeader) status_ = StreamHeader();
            else if (stage_ == Stage::BlockHeader) status_ = NextBlock();
            else status_ = Output(out, size, produced);
            if (status_ != Status::End && bits_.Overran()) status_ = Status::BadData;
            if (input_.Failed()) status_ = Status::ReadError;
        }
        return status_;
    }

private:
    enum class Stage { StreamHeader, BlockHeader, Output };

    Status StreamHeader() {
        if (bits_.Bits(24) != 0x425A68) return Status::BadData;  // "BZh"
        return StreamLevel(bits_.Bits(8));
    }

    Status StreamLevel(uint32_t digit) {
        if (digit < '1' || digit > '9') return Status::BadData;
        size_t capacity = (digit - '0') * size_t{100000};
        if (capacity > capacity_) {
            tt_.reset(new (std::nothrow) uint32_t[capacity]);
            capacity_ = tt_ ? capacity : 0;
            if (!tt_) return Status::NoMemory;
        }
        blockLimit_ = capacity;
        combinedCrc_ = 0;
        stage_ = Stage::BlockHeader;
        return Status::Ok;
    }

    Status NextBlock() {
        uint64_t magic = (uint64_t{bits_.Bits(24)} << 24) | bits_.Bits(24);
        if (magic == EndMagic) return EndOfStream();
        if (magic != BlockMagic) return Status::BadData;
        blockCrc_ = bits_.Bits(32);
        if (bits_.Bits(1)) return Status::Unsupported;  // randomised blocks (bzip2 before 0.9.5)
        uint32_t origin = bits_.Bits(24);
        Status status = ReadBlock();
        if (status != Status::Ok) return status;
        if (origin >= blockSize_) return Status::BadData;
        UndoTransform(origin);
        return Status::Ok;
    }

    Status EndOfStream() {
        if (bits_.Bits(32) != combinedCrc_) return Status::BadData;
        bits_.AlignToByte();
        if (bits_.RealBufferedBytes() == 0 && input_.AtEnd()) return Status::End;
        // Another stream may follow; anything else after a complete stream is ignored.
        if (bits_.Bits(24) != 0x425A68) return Status::End;
        uint32_t digit = bits_.Bits(8);
        if (bits_.Overran()) return Status::End;
        return StreamLevel(digit);
    }

    Status ReadBlock() {
        uint8_t symbols[256];
        unsigned used = 0;
        uint32_t ranges = bits_.Bits(16);
        for (unsigned range = 0; range < 16; ++range) {
            if (!(ranges & (0x8000u >> range))) continue;
            uint32_t present = bits_.Bits(16);
            for (unsigned i = 0; i < 16; ++i)
                if (present & (0x8000u >> i)) symbols[used++] = static_cast<uint8_t>(range * 16 + i);
        }
        if (used == 0) return Status::BadData;
        unsigned alphabet = used + 2;
        unsigned groups = bits_.Bits(3), selectorCount = bits_.Bits(15);
        if (groups < 2 || groups > MaxGroups || selectorCount == 0) return Status::BadData;
        Status status = ReadSelectors(groups, selectorCount);
        if (status != Status::Ok) return status;
        for (unsigned g = 0; g < groups; ++g) {
            uint8_t lengths[258];
            unsigned length = bits_.Bits(5);
            for (unsigned s = 0; s < alphabet; ++s) {
                for (;;) {
                    if (length < 1 || length > MaxCodeLength) return Status::BadData;
                    if (!bits_.Bits(1)) break;
                    length = bits_.Bits(1) ? length - 1 : length + 1;
                }
                lengths[s] = static_cast<uint8_t>(length);
            }
            if (!tables_[g].Build(lengths, alphabet)) return Status::BadData;
        }
        return ReadSymbols(symbols, alphabet);
    }

    Status ReadSelectors(unsigned groups, unsigned count) {
        uint8_t order[MaxGroups];
        for (unsigned i = 0; i < MaxGroups; ++i) order[i] = static_cast<uint8_t>(i);
        selectorCount_ = std::min(count, MaxSelectors);
        for (unsigned i = 0; i < count; ++i) {
            unsigned index = 0;
            while (bits_.Bits(1))
                if (++index >= groups) return Status::BadData;
            uint8_t group = order[index];
            memmove(order + 1, order, index);
            order[0] = group;
            if (i < MaxSelectors) selectors_[i] = group;  // more than a block can use are ignored
            if (bits_.Overran()) return Status::BadData;
        }
        return Status::Ok;
    }

    // Huffman symbols to bytes: runs of the front byte (RUNA/RUNB digits) and move-to-front
    // indices, into the low bytes of tt_.
    Status ReadSymbols(const uint8_t* symbols, unsigned alphabet) {
        uint8_t front[256];
        for (unsigned i = 0; i < 256; ++i) front[i] = static_cast<uint8_t>(i);
        memset(counts_, 0, sizeof counts_);
        const unsigned endOfBlock = alphabet - 1;
        size_t size = 0;
        uint32_t run = 0, runWeight = 1;
        for (unsigned selector = 0, left = 0;;) {
            if (left == 0) {
                if (selector >= selectorCount_) return Status::BadData;
                table_ = &tables_[selectors_[selector++]];
                left = GroupSize;
            }
            --left;
            bits_.Refill();
            int symbol = table_->Decode(bits_);
            if (symbol < 0) return Status::BadData;
            if (symbol == RunA || symbol == RunB) {
                if (runWeight > blockLimit_) return Status::BadData;
                run += runWeight << symbol;
                runWeight <<= 1;
                continue;
            }
            if (run > 0) {
                if (run > blockLimit_ - size) return Status::BadData;
                uint8_t byte = symbols[front[0]];
                counts_[byte] += run;
                std::fill(tt_.get() + size, tt_.get() + size + run, byte);
                size += run;
                run = 0;
            }
            runWeight = 1;
            if (static_cast<unsigned>(symbol) == endOfBlock) break;
            if (size >= blockLimit_) return Status::BadData;
            unsigned index = static_cast<unsigned>(symbol) - 1;
            uint8_t value = front[index];
            memmove(front + 1, front, index);
            front[0] = value;
            uint8_t byte = symbols[value];
            ++counts_[byte];
            tt_[size++] = byte;
        }
        blockSize_ = static_cast<uint32_t>(size);
        return Status::Ok;
    }

    // Links every position of the transformed block to the one that follows it in the
    // original order: tt_[i] keeps its byte in the low 8 bits and the link above them.
    void UndoTransform(uint32_t origin) {
        uint32_t starts[256];
        uint32_t sum = 0;
        for (unsigned b = 0; b < 256; ++b) {
            starts[b] = sum;
            sum += counts_[b];
        }
        uint32_t* tt = tt_.get();
        for (uint32_t i = 0; i < blockSize_; ++i) tt[starts[tt[i] & 0xFF]++] |= i << 8;
        next_ = tt[origin] >> 8;
        left_ = blockSize_;
        runLength_ = 0;
        repeat_ = 0;
        crc_ = 0xFFFFFFFF;
        stage_ = Stage::Output;
    }

    // The block's bytes in original order, with runs of four equal bytes and a count expanded.
    Status Output(uint8_t* out, size_t size, size_t* produced) {
        const uint32_t* tt = tt_.get();
        uint8_t* to = out + *produced;
        uint8_t* const end = out + size;
        while (to < end) {
            if (repeat_ > 0) {
                size_t count = std::min<size_t>(repeat_, static_cast<size_t>(end - to));
                memset(to, last_, count);
                to += count;
                repeat_ -= static_cast<uint32_t>(count);
                continue;
            }
            if (left_ == 0) break;
            uint32_t entry = tt[next_];
            uint8_t byte = static_cast<uint8_t>(entry);
            next_ = entry >> 8;
            --left_;
            if (runLength_ == 4) {
                repeat_ = byte;
                runLength_ = 0;
                continue;
            }
            runLength_ = (runLength_ > 0 && byte == last_) ? runLength_ + 1 : 1;
            last_ = byte;
            *to++ = byte;
        }
        crc_ = Bzip2CrcUpdate(crc_, out + *produced, static_cast<size_t>(to - (out + *produced)));
        *produced = static_cast<size_t>(to - out);
        if (left_ > 0 || repeat_ > 0) return Status::Ok;
        if (~crc_ != blockCrc_) return Status::BadData;
        combinedCrc_ = ((combinedCrc_ << 1) | (combinedCrc_ >> 31)) ^ blockCrc_;
        stage_ = Stage::BlockHeader;
        return Status::Ok;
    }

    ByteInput& input_;
    MsbBitReader bits_;
    Status status_ = Status::Ok;
    Stage stage_ = Stage::StreamHeader;
    std::unique_ptr<uint32_t[]> tt_;
    size_t capacity_ = 0, blockLimit_ = 0;
    uint32_t blockSize_ = 0;
    uint32_t counts_[256];
    Huffman tables_[MaxGroups];
    const Huffman* table_ = nullptr;
    uint8_t selectors_[MaxSelectors];
    unsigned selectorCount_ = 0;
    uint32_t blockCrc_ = 0, combinedCrc_ = 0, crc_ = 0;
    uint32_t next_ = 0, left_ = 0, repeat_ = 0;
    unsigned runLength_ = 0;
    uint8_t last_ = 0;
};

}  // namespace

std::unique_ptr<Decoder> MakeBzip2Decoder(ByteInput& input) {
    return std::unique_ptr<Decoder>(new (std::nothrow) Bzip2Decoder(input));
}

}  // namespace codecs
