#pragma once
// The -lh4- to -lh7- methods: LZ77 over a sliding window whose literals, lengths and
// distances are coded with static Huffman codes sent at the start of every block.
#include <cstdint>
#include <vector>
#include "spi/lha/BitReader.h"
#include "spi/lha/HuffmanTable.h"
#include "spi/lha/OutputSink.h"

namespace lha {

enum class DecodeResult { Done, BrokenData, SinkStopped };

class StaticHuffmanDecoder {
public:
    // windowBits: 12 (-lh4-), 13 (-lh5-), 15 (-lh6-) or 16 (-lh7-).
    explicit StaticHuffmanDecoder(int windowBits);
    // Unpacks exactly `unpackedSize` bytes into the sink.
    DecodeResult Decode(BitReader& bits, uint64_t unpackedSize, OutputSink& sink);

private:
    bool ReadBlockHeader(BitReader& bits);
    bool ReadCodeLengthCode(BitReader& bits, int symbolCount, int countBits, int zeroRunAfter, HuffmanTable* table);
    bool ReadSymbolCode(BitReader& bits);
    bool Flush(OutputSink& sink);

    int windowBits_;
    int positionCodes_;       // distance symbols: windowBits + 1
    int positionCountBits_;   // bits of the distance code's symbol count
    std::vector<uint8_t> window_;
    uint64_t produced_ = 0;   // bytes unpacked so far
    uint64_t flushed_ = 0;    // bytes handed to the sink so far
    uint32_t blockRemaining_ = 0;
    HuffmanTable lengthCode_;    // code lengths of the other two codes
    HuffmanTable symbolCode_;    // literals and match lengths
    HuffmanTable positionCode_;  // distance bit counts
};

}  // namespace lha
