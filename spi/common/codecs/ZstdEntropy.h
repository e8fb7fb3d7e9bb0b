#pragma once
// The entropy coding of Zstandard blocks: the backward bit streams, FSE tables (read from a
// table description, or the predefined ones) and the Huffman table of literals.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace codecs {
namespace zstd {

// Reads a bit stream written forwards and read from its end: the last byte holds a 1 bit above
// the first bit to read. Loads eight bytes at a time, so up to 7 bytes before the stream must
// be readable (they are never used as data).
class BackwardBits {
public:
    // False when the stream is empty or its last byte is 0 (no start mark).
    bool Start(const uint8_t* begin, size_t size) {
        if (size == 0 || begin[size - 1] == 0) return false;
        begin_ = begin;
        unsigned top = 7;
        while (!(begin[size - 1] >> top)) --top;
        left_ = static_cast<int64_t>(size - 1) * 8 + top;
        Refill();
        return true;
    }
    // Makes at least 56 bits readable, unless the stream has been overrun.
    void Refill() {
        if (left_ < 0) return;
        int64_t byte = (left_ >> 3) - 7;
        memcpy(&bits_, begin_ + byte, 8);  // the machines we build for are little-endian
        base_ = byte * 8;
    }
    // The next `count` (≤ 56 since the last Refill, ≤ 32 at once) bits.
    uint32_t Read(unsigned count) {
        left_ -= count;
        return static_cast<uint32_t>((bits_ >> ((left_ - base_) & 63)) & ((uint64_t{1} << count) - 1));
    }
    // The next `count` bits without consuming them; bits past the start of the stream are
    // whatever precedes it.
    uint32_t Peek(unsigned count) const {
        return static_cast<uint32_t>((bits_ >> ((left_ - count - base_) & 63)) & ((uint64_t{1} << count) - 1));
    }
    void Skip(unsigned count) { left_ -= count; }
    // Bits not yet read; negative once more were read than the stream holds.
    int64_t Left() const { return left_; }

private:
    const uint8_t* begin_ = nullptr;
    uint64_t bits_ = 0;
    int64_t left_ = 0;
    int64_t base_ = 0;  // the stream bit that is bit 0 of bits_
};

// One state of an FSE decoding table: its symbol and how to find the next state.
struct FseState {
    uint16_t next;   // the next state, before the bits read are added
    uint8_t bits;    // bits to read for the next state
    uint8_t symbol;
};

constexpr unsigned MaxFseLog = 9;

// Reads an FSE table description from `data` (at most `size` bytes): the accuracy log (at most
// `maxLog`) and the normalized counts of symbols 0..maxSymbol (-1 for "less than 1"). Sets
// *used to the bytes it took. False when the description is malformed.
bool ReadFseCounts(const uint8_t* data, size_t size, unsigned maxLog, unsigned maxSymbol, int16_t counts[256],
                   unsigned* symbols, unsigned* log, size_t* used);
// Spreads the counts of `symbols` symbols over the 1 << log states of `table`. False when the
// counts do not fill the table exactly.
bool BuildFseTable(const int16_t* counts, unsigned symbols, unsigned log, FseState* table);

constexpr unsigned MaxHuffmanBits = 11;

struct HuffmanCode {
    uint8_t symbol;
    uint8_t bits;
};

// The literals' prefix code, as a table indexed by the next MaxBits bits.
struct HuffmanTable {
    HuffmanCode codes[1 << MaxHuffmanBits];
    unsigned maxBits = 0;  // 0 when no table has been read
};

// Reads a Huffman tree description (direct or FSE-compressed weights) from `data`; sets
// *used. False when it is malformed.
bool ReadHuffmanTable(const uint8_t* data, size_t size, HuffmanTable* table, size_t* used);

// Decodes `count` literals from one Huffman stream, which must be used up exactly.
bool DecodeHuffmanStream(const HuffmanTable& table, const uint8_t* stream, size_t size, uint8_t* out, size_t count);
// The same for four streams at once, stream k giving counts[k] literals to out[k].
bool DecodeHuffmanStreams(const HuffmanTable& table, const uint8_t* const streams[4], const size_t sizes[4],
                          uint8_t* const out[4], const size_t counts[4]);

}  // namespace zstd
}  // namespace codecs
