#include "spi/lha/StaticHuffmanDecoder.h"
#include <algorithm>

namespace lha {
namespace {

constexpr int MinMatch = 3;
constexpr int MaxMatch = 256;
constexpr int SymbolCount = 256 + MaxMatch - MinMatch + 1;  // literals, then match lengths
constexpr int SymbolCountBits = 9;
constexpr int LengthCodeCount = 19;
constexpr int LengthCodeCountBits = 5;
constexpr int LengthCodeZeroRunAfter = 3;   // after the third length, a 2-bit run of zeros
constexpr uint8_t InitialWindowByte = ' ';

}  // namespace

StaticHuffmanDecoder::StaticHuffmanDecoder(int windowBits)
    : windowBits_(windowBits),
      positionCodes_(windowBits + 1),
      positionCountBits_(windowBits >= 15 ? 5 : 4),
      window_(size_t{1} << windowBits, InitialWindowByte) {}

// Reads the lengths of a small code: 3 bits each, 7 and above continued in unary.
bool StaticHuffmanDecoder::ReadCodeLengthCode(BitReader& bits, int symbolCount, int countBits, int zeroRunAfter,
                                              HuffmanTable* table) {
    const int count = static_cast<int>(bits.Read(countBits));
    if (count == 0) {
        const int symbol = static_cast<int>(bits.Read(countBits));
        if (symbol >= symbolCount) return false;
        table->SetSingle(symbol);
        return true;
    }
    if (count > symbolCount) return false;
    uint8_t lengths[32] = {};
    int i = 0;
    while (i < count) {
        int length = static_cast<int>(bits.Read(3));
        if (length == 7) {
            while (bits.Read(1) == 1) {
                if (++length > MaxCodeLength) return false;
            }
        }
        lengths[i++] = static_cast<uint8_t>(length);
        if (i == zeroRunAfter) {
            const int zeros = static_cast<int>(bits.Read(2));
            if (i + zeros > count) return false;
            i += zeros;   // lengths are already 0
        }
    }
    return table->Build(lengths, symbolCount);
}

// Reads the lengths of the literal and match-length code, themselves coded with lengthCode_.
bool StaticHuffmanDecoder::ReadSymbolCode(BitReader& bits) {
    const int count = static_cast<int>(bits.Read(SymbolCountBits));
    if (count == 0) {
        const int symbol = static_cast<int>(bits.Read(SymbolCountBits));
        if (symbol >= SymbolCount) return false;
        symbolCode_.SetSingle(symbol);
        return true;
    }
    if (count > SymbolCount) return false;
    uint8_t lengths[SymbolCount] = {};
    int i = 0;
    while (i < count) {
        const int code = lengthCode_.Decode(bits);
        if (code < 0) return false;
        if (code <= 2) {
            int zeros = 1;
            if (code == 1) zeros = static_cast<int>(bits.Read(4)) + 3;
            if (code == 2) zeros = static_cast<int>(bits.Read(SymbolCountBits)) + 20;
            if (i + zeros > count) return false;
            i += zeros;
        } else {
            lengths[i++] = static_cast<uint8_t>(code - 2);
        }
    }
    return symbolCode_.Build(lengths, SymbolCount);
}

bool StaticHuffmanDecoder::ReadBlockHeader(BitReader& bits) {
    blockRemaining_ = bits.Read(16);
    if (blockRemaining_ == 0) return false;
    return ReadCodeLengthCode(bits, LengthCodeCount, LengthCodeCountBits, LengthCodeZeroRunAfter, &lengthCode_) &&
           ReadSymbolCode(bits) &&
           ReadCodeLengthCode(bits, positionCodes_, positionCountBits_, -1, &positionCode_) && !bits.Overrun();
}

// Hands the bytes unpacked since the last flush to the sink (in two pieces when they wrap).
bool StaticHuffmanDecoder::Flush(OutputSink& sink) {
    const size_t mask = window_.size() - 1;
    while (flushed_ < produced_) {
        const size_t start = static_cast<size_t>(flushed_) & mask;
        const size_t length = static_cast<size_t>(std::min<uint64_t>(produced_ - flushed_, window_.size() - start));
        if (!sink.Write(&window_[start], length)) return false;
        flushed_ += length;
    }
    return true;
}

DecodeResult StaticHuffmanDecoder::Decode(BitReader& bits, uint64_t unpackedSize, OutputSink& sink) {
    const size_t mask = window_.size() - 1;
    while (produced_ < unpackedSize) {
        // A symbol adds at most MaxMatch bytes; unflushed bytes must never be overwritten.
        if (produced_ - flushed_ > window_.size() - MaxMatch && !Flush(sink)) return DecodeResult::SinkStopped;
        if (blockRemaining_ == 0 && !ReadBlockHeader(bits)) return DecodeResult::BrokenData;
        --blockRemaining_;

        const int symbol = symbolCode_.Decode(bits);
        if (symbol < 0) return DecodeResult::BrokenData;
        if (symbol < 256) {
            window_[produced_++ & mask] = static_cast<uint8_t>(symbol);
        } else {
            const int positionSymbol = positionCode_.Decode(bits);
            if (positionSymbol < 0) return DecodeResult::BrokenData;
            uint32_t distance = 0;
            if (positionSymbol > 0) distance = (1u << (positionSymbol - 1)) + bits.Read(positionSymbol - 1);
            const uint64_t length = std::min<uint64_t>(symbol - 256 + MinMatch, unpackedSize - produced_);
            uint64_t from = produced_ - distance - 1;   // wraps round the window like the window itself
            for (uint64_t i = 0; i < length; ++i) window_[produced_++ & mask] = window_[from++ & mask];
        }
        if (bits.Overrun()) return DecodeResult::BrokenData;
    }
    return Flush(sink) ? DecodeResult::Done : DecodeResult::SinkStopped;
}

}  // namespace lha
