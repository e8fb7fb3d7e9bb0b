#pragma once
// One compressed Zstandard block: its literals section and its sequences, carried out into the
// frame's output. Keeps what later blocks of the same frame may reuse (the Huffman table, the
// three sequence tables, the repeated offsets).
#include <cstddef>
#include <cstdint>
#include "spi/common/codecs/ZstdEntropy.h"

namespace codecs {
namespace zstd {

constexpr size_t MaxBlockSize = 128 << 10;
// Bytes past a block's end that its copies may overwrite (they copy 16 bytes at a time).
constexpr size_t CopySlack = 32;

// Where a block's bytes go. The output is a ring: the block is written from `start` on in one
// piece, and the history before it continues backwards from `start` to the ring's beginning
// and then from `wrapEnd` (the end of the bytes written before the ring last wrapped around).
struct BlockOutput {
    uint8_t* ring;
    size_t start;
    size_t limit;      // the most bytes the block may produce; CopySlack more may be written
    size_t wrapEnd;    // 0 when the ring has not wrapped in this frame
    uint64_t history;  // bytes of this frame before the block that matches may reach, ≤ window
    uint64_t window;
};

// The decoding table of one kind of sequence code, each state with its code's value.
struct SequenceCode {
    uint32_t base;   // the value before the extra bits
    uint16_t next;   // the next state, before the state bits read are added
    uint8_t bits;    // state bits
    uint8_t extra;   // extra bits of the value
};

struct SequenceTable {
    SequenceCode codes[1 << MaxFseLog];
    unsigned log = 0;
    bool ready = false;
};

class BlockDecoder {
public:
    BlockDecoder();
    // A new frame: no tables to repeat, the repeated offsets as at the start of a frame.
    void StartFrame();
    // Decodes the compressed block `data` (`size` bytes, 8 readable bytes before it) into `out`
    // and sets *produced. False when the block is damaged.
    bool Decode(const uint8_t* data, size_t size, const BlockOutput& out, size_t* produced);

private:
    enum class Kind { LiteralLength, Offset, MatchLength };
    bool ReadLiterals(const uint8_t*& p, const uint8_t* end, size_t limit);
    bool ReadCompressedLiterals(const uint8_t* p, size_t size, bool newTable, unsigned streams, size_t count);
    bool ReadTable(Kind kind, unsigned mode, const uint8_t*& p, const uint8_t* end, SequenceTable* table);
    bool Execute(const uint8_t* stream, size_t size, unsigned count, const BlockOutput& out, size_t* produced);

    HuffmanTable huffman_;
    SequenceTable literalLengths_, offsets_, matchLengths_;
    SequenceTable defaultLiteralLengths_, defaultOffsets_, defaultMatchLengths_;
    uint64_t repeats_[3];
    size_t literalCount_ = 0;
    uint8_t literals_[MaxBlockSize + CopySlack];
};

}  // namespace zstd
}  // namespace codecs
