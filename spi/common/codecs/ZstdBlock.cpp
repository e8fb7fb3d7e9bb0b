// A compressed Zstandard block: the literals (raw, one repeated byte, or Huffman-coded in one or
// four streams), then the sequences (literal length, offset, match length), each decoded with
// its FSE table from one backward bit stream and carried out at once.
#include "spi/common/codecs/ZstdBlock.h"
#include <algorithm>
#include <cstring>

namespace codecs {
namespace zstd {
namespace {

constexpr uint32_t LiteralLengthBase[36] = {0,  1,  2,   3,   4,   5,   6,    7,    8,    9,    10,   11,
                                            12, 13, 14,  15,  16,  18,  20,   22,   24,   28,   32,   40,
                                            48, 64, 128, 256, 512, 1024, 2048, 4096, 8192, 16384, 32768, 65536};
constexpr uint8_t LiteralLengthExtra[36] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0,  0,  1,  1,
                                            1, 1, 2, 2, 3, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
constexpr uint32_t MatchLengthBase[53] = {3,  4,  5,  6,  7,  8,  9,  10,  11,  12,  13,   14,   15,   16,
                                          17, 18, 19, 20, 21, 22, 23, 24,  25,  26,  27,   28,   29,   30,
                                          31, 32, 33, 34, 35, 37, 39, 41,  43,  47,  51,   59,   67,   83,
                                          99, 131, 259, 515, 1027, 2051, 4099, 8195, 16387, 32771, 65539};
constexpr uint8_t MatchLengthExtra[53] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  0,  0,  0,  0,  0,  0,  0,  0, 0,
                                          0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 4, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
// The predefined distributions (accuracy logs 6, 5 and 6).
constexpr int16_t DefaultLiteralLengthCounts[36] = {4, 3, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1, 1, 1, 2, 2,
                                                    2, 2, 2, 2, 2, 2, 2, 3, 2, 1, 1, 1, 1, 1, -1, -1, -1, -1};
constexpr int16_t DefaultMatchLengthCounts[53] = {1, 4, 3, 2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                  1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                                  1, 1, 1, 1, 1, 1, 1, 1, 1, 1, -1, -1, -1, -1, -1, -1, -1};
constexpr int16_t DefaultOffsetCounts[29] = {1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1,
                                             1, 1, 1, 1, 1, 1, 1, 1, 1, -1, -1, -1, -1, -1};

enum Mode { Predefined = 0, Rle = 1, FseCompressed = 2, Repeat = 3 };
enum LiteralsType { RawLiterals = 0, RleLiterals = 1, CompressedLiterals = 2, TreelessLiterals = 3 };

uint32_t LittleEndian(const uint8_t* p, unsigned bytes) {
    uint32_t value = 0;
    for (unsigned i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(p[i]) << (8 * i);
    return value;
}

SequenceCode CodeOf(unsigned kind, unsigned symbol) {
    SequenceCode code{};
    if (kind == 0) {
        code.base = LiteralLengthBase[symbol];
        code.extra = LiteralLengthExtra[symbol];
    } else if (kind == 1) {
        code.base = uint32_t{1} << symbol;
        code.extra = static_cast<uint8_t>(symbol);
    } else {
        code.base = MatchLengthBase[symbol];
        code.extra = MatchLengthExtra[symbol];
    }
    return code;
}

constexpr unsigned MaxSymbol[3] = {35, 31, 52};
constexpr unsigned MaxLog[3] = {9, 8, 9};

bool FillTable(unsigned kind, const int16_t* counts, unsigned symbols, unsigned log, SequenceTable* table) {
    FseState states[1 << MaxFseLog];
    if (!BuildFseTable(counts, symbols, log, states)) return false;
    for (unsigned i = 0; i < 1u << log; ++i) {
        table->codes[i] = CodeOf(kind, states[i].symbol);
        table->codes[i].next = states[i].next;
        table->codes[i].bits = states[i].bits;
    }
    table->log = log;
    table->ready = true;
    return true;
}

void Copy16(uint8_t* to, const uint8_t* from) { memcpy(to, from, 16); }

// Copies `length` bytes 16 at a time; may write up to 15 bytes more, and read as many.
void WildCopy(uint8_t* to, const uint8_t* from, size_t length) {
    uint8_t* end = to + length;
    do {
        Copy16(to, from);
        to += 16;
        from += 16;
    } while (to < end);
}

// Copies a match that starts `offset` bytes back, which it may overlap.
void CopyMatch(uint8_t* to, size_t offset, size_t length) {
    const uint8_t* from = to - offset;
    if (offset >= 16) return WildCopy(to, from, length);
    uint8_t* end = to + length;
    if (offset >= 8) {
        for (; to < end; to += 8, from += 8) memcpy(to, from, 8);
        return;
    }
    for (; to < end; ++to, ++from) *to = *from;
}

}  // namespace

BlockDecoder::BlockDecoder() {
    FillTable(0, DefaultLiteralLengthCounts, 36, 6, &defaultLiteralLengths_);
    FillTable(1, DefaultOffsetCounts, 29, 5, &defaultOffsets_);
    FillTable(2, DefaultMatchLengthCounts, 53, 6, &defaultMatchLengths_);
    StartFrame();
}

void BlockDecoder::StartFrame() {
    huffman_.maxBits = 0;
    literalLengths_.ready = offsets_.ready = matchLengths_.ready = false;
    repeats_[0] = 1;
    repeats_[1] = 4;
    repeats_[2] = 8;
}

bool BlockDecoder::Decode(const uint8_t* data, size_t size, const BlockOutput& out, size_t* produced) {
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    if (!ReadLiterals(p, end, out.limit) || p >= end) return false;
    unsigned count = *p++;
    if (count >= 128) {
        if (count < 255) {
            if (p >= end) return false;
            count = ((count - 128) << 8) + *p++;
        } else {
            if (end - p < 2) return false;
            count = LittleEndian(p, 2) + 0x7F00;
            p += 2;
        }
    }
    if (count == 0) {
        memcpy(out.ring + out.start, literals_, literalCount_);
        *produced = literalCount_;
        return true;
    }
    if (p >= end) return false;
    unsigned modes = *p++;
    if ((modes & 3) != 0 || !ReadTable(Kind::LiteralLength, modes >> 6, p, end, &literalLengths_) ||
        !ReadTable(Kind::Offset, (modes >> 4) & 3, p, end, &offsets_) ||
        !ReadTable(Kind::MatchLength, (modes >> 2) & 3, p, end, &matchLengths_))
        return false;
    return Execute(p, static_cast<size_t>(end - p), count, out, produced);
}

bool BlockDecoder::ReadLiterals(const uint8_t*& p, const uint8_t* end, size_t limit) {
    size_t available = static_cast<size_t>(end - p);
    if (available == 0) return false;
    unsigned type = p[0] & 3, format = (p[0] >> 2) & 3;
    size_t count = 0, packed = 0, header = 0;
    if (type == RawLiterals || type == RleLiterals) {
        header = format == 3 ? 3 : format == 1 ? 2 : 1;
        if (available < header) return false;
        uint32_t bytes = LittleEndian(p, static_cast<unsigned>(header));
        count = header == 1 ? bytes >> 3 : bytes >> 4;
    } else {
        header = format < 2 ? 3 : format == 2 ? 4 : 5;
        if (available < header) return false;
        unsigned width = format < 2 ? 10 : format == 2 ? 14 : 18;
        uint64_t bytes = LittleEndian(p, header == 3 ? 3 : 4) | (header == 5 ? static_cast<uint64_t>(p[4]) << 32 : 0);
        count = static_cast<size_t>((bytes >> 4) & ((1u << width) - 1));
        packed = static_cast<size_t>((bytes >> (4 + width)) & ((1u << width) - 1));
    }
    p += header;
    available -= header;
    if (count > limit) return false;
    literalCount_ = count;
    if (type == RawLiterals) {
        if (available < count) return false;
        memcpy(literals_, p, count);
        p += count;
        return true;
    }
    if (type == RleLiterals) {
        if (available < 1) return false;
        memset(literals_, *p++, count);
        return true;
    }
    if (available < packed) return false;
    const uint8_t* section = p;
    p += packed;
    return ReadCompressedLiterals(section, packed, type == CompressedLiterals, format == 0 ? 1 : 4, count);
}

bool BlockDecoder::ReadCompressedLiterals(const uint8_t* p, size_t size, bool newTable, unsigned streams,
                                          size_t count) {
    if (newTable) {
        size_t used = 0;
        if (!ReadHuffmanTable(p, size, &huffman_, &used)) return false;
        p += used;
        size -= used;
    } else if (huffman_.maxBits == 0) {
        return false;
    }
    if (streams == 1) return DecodeHuffmanStream(huffman_, p, size, literals_, count);
    if (size < 6) return false;
    size_t sizes[4] = {LittleEndian(p, 2), LittleEndian(p + 2, 2), LittleEndian(p + 4, 2), 0};
    size -= 6;
    p += 6;
    if (sizes[0] + sizes[1] + sizes[2] > size) return false;
    sizes[3] = size - sizes[0] - sizes[1] - sizes[2];
    size_t share = (count + 3) / 4;
    if (3 * share > count) return false;
    const uint8_t* starts[4] = {p, p + sizes[0], p + sizes[0] + sizes[1], p + sizes[0] + sizes[1] + sizes[2]};
    uint8_t* out[4] = {literals_, literals_ + share, literals_ + 2 * share, literals_ + 3 * share};
    const size_t counts[4] = {share, share, share, count - 3 * share};
    return DecodeHuffmanStreams(huffman_, starts, sizes, out, counts);
}

bool BlockDecoder::ReadTable(Kind kind, unsigned mode, const uint8_t*& p, const uint8_t* end, SequenceTable* table) {
    unsigned k = static_cast<unsigned>(kind);
    if (mode == Predefined) {
        *table = k == 0 ? defaultLiteralLengths_ : k == 1 ? defaultOffsets_ : defaultMatchLengths_;
        return true;
    }
    if (mode == Rle) {
        if (p >= end || *p > MaxSymbol[k]) return false;
        table->codes[0] = CodeOf(k, *p++);
        table->codes[0].next = 0;
        table->codes[0].bits = 0;
        table->log = 0;
        table->ready = true;
        return true;
    }
    if (mode == Repeat) return table->ready;
    int16_t counts[256];
    unsigned symbols = 0, log = 0;
    size_t used = 0;
    if (!ReadFseCounts(p, static_cast<size_t>(end - p), MaxLog[k], MaxSymbol[k], counts, &symbols, &log, &used))
        return false;
    p += used;
    return FillTable(k, counts, symbols, log, table);
}

namespace {

struct Sequence {
    size_t literalLength;
    size_t matchLength;
    uint64_t offset;
};

// Reads the sequences of a block from its bit stream, one after the other, resolving repeated
// offsets as it goes.
class SequenceReader {
public:
    SequenceReader(const BackwardBits& bits, const SequenceTable& lengths, const SequenceTable& offsets,
                   const SequenceTable& matches, uint64_t repeats[3])
        : bits_(bits), lengthCodes_(lengths.codes), offsetCodes_(offsets.codes), matchCodes_(matches.codes),
          repeats_(repeats) {
        lengthState_ = bits_.Read(lengths.log);
        offsetState_ = bits_.Read(offsets.log);
        matchState_ = bits_.Read(matches.log);
    }

    // Inlined into the loop of Execute, so that the bit reader's state stays in registers.
    __attribute__((always_inline)) Sequence Next(bool last) {
        const SequenceCode lengthCode = lengthCodes_[lengthState_];
        const SequenceCode offsetCode = offsetCodes_[offsetState_];
        const SequenceCode matchCode = matchCodes_[matchState_];
        Sequence sequence;
        bits_.Refill();
        uint64_t offset = offsetCode.base + static_cast<uint64_t>(bits_.Read(offsetCode.extra));
        bits_.Refill();
        sequence.matchLength = matchCode.base + bits_.Read(matchCode.extra);
        sequence.literalLength = lengthCode.base + bits_.Read(lengthCode.extra);
        if (!last) {
            bits_.Refill();
            lengthState_ = lengthCode.next + bits_.Read(lengthCode.bits);
            matchState_ = matchCode.next + bits_.Read(matchCode.bits);
            offsetState_ = offsetCode.next + bits_.Read(offsetCode.bits);
        }
        sequence.offset = Resolve(offset, sequence.literalLength == 0);
        return sequence;
    }

    // The bits left once every sequence has been read; 0 for an intact stream.
    int64_t BitsLeft() const { return bits_.Left(); }

private:
    // An offset value of 1 to 3 names one of the three last offsets (shifted by one after no
    // literals); a larger one is a new offset.
    uint64_t Resolve(uint64_t value, bool noLiterals) {
        if (value > 3) {
            repeats_[2] = repeats_[1];
            repeats_[1] = repeats_[0];
            return repeats_[0] = value - 3;
        }
        unsigned index = static_cast<unsigned>(value) - 1 + noLiterals;
        if (index == 0) return repeats_[0];
        uint64_t offset = index == 3 ? repeats_[0] - 1 : repeats_[index];
        if (index > 1) repeats_[2] = repeats_[1];
        repeats_[1] = repeats_[0];
        return repeats_[0] = offset;
    }

    BackwardBits bits_;
    const SequenceCode* lengthCodes_;
    const SequenceCode* offsetCodes_;
    const SequenceCode* matchCodes_;
    uint64_t* repeats_;
    unsigned lengthState_, offsetState_, matchState_;
};

// Sequences are read this far ahead of being carried out, so that the bytes of their matches
// are already on their way into the cache.
constexpr unsigned ReadAhead = 8;

}  // namespace

bool BlockDecoder::Execute(const uint8_t* stream, size_t size, unsigned count, const BlockOutput& out,
                           size_t* produced) {
    BackwardBits bits;
    if (!bits.Start(stream, size)) return false;
    uint64_t repeats[3] = {repeats_[0], repeats_[1], repeats_[2]};
    SequenceReader reader(bits, literalLengths_, offsets_, matchLengths_, repeats);
    uint8_t* const blockStart = out.ring + out.start;
    uint8_t* op = blockStart;
    uint8_t* const opEnd = blockStart + out.limit;
    const uint8_t* literal = literals_;
    const uint8_t* const literalEnd = literals_ + literalCount_;
    Sequence queue[ReadAhead];
    size_t ahead = out.start;  // where the next sequence read will start in the ring
    auto readNext = [&](unsigned n) __attribute__((always_inline)) {
        Sequence sequence = reader.Next(n + 1 == count);
        ahead += sequence.literalLength;
        if (sequence.offset <= ahead)
            __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(out.ring) + ahead - sequence.offset));
        ahead += sequence.matchLength;
        queue[n % ReadAhead] = sequence;
    };
    for (unsigned n = 0; n < count && n < ReadAhead; ++n) readNext(n);
    for (unsigned n = 0; n < count; ++n) {
        const Sequence sequence = queue[n % ReadAhead];
        if (n + ReadAhead < count) readNext(n + ReadAhead);
        size_t literalLength = sequence.literalLength, matchLength = sequence.matchLength;
        uint64_t offset = sequence.offset;
        if (literalLength > static_cast<size_t>(literalEnd - literal) ||
            literalLength + matchLength > static_cast<size_t>(opEnd - op))
            return false;
        WildCopy(op, literal, literalLength);
        op += literalLength;
        literal += literalLength;
        if (offset == 0 || offset > out.window || offset > out.history + static_cast<uint64_t>(op - blockStart))
            return false;
        size_t behind = static_cast<size_t>(op - out.ring);
        if (offset > behind) {
            size_t fromEnd = static_cast<size_t>(offset) - behind;
            if (fromEnd > out.wrapEnd) return false;
            size_t first = std::min(matchLength, fromEnd);
            memcpy(op, out.ring + out.wrapEnd - fromEnd, first);
            op += first;
            matchLength -= first;
        }
        if (matchLength > 0) CopyMatch(op, static_cast<size_t>(offset), matchLength);
        op += matchLength;
    }
    if (reader.BitsLeft() != 0) return false;
    size_t rest = static_cast<size_t>(literalEnd - literal);
    if (rest > static_cast<size_t>(opEnd - op)) return false;
    memcpy(op, literal, rest);
    op += rest;
    memcpy(repeats_, repeats, sizeof repeats);
    *produced = static_cast<size_t>(op - blockStart);
    return true;
}

}  // namespace zstd
}  // namespace codecs
