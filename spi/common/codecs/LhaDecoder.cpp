// LHA's -lh4- to -lh7-: LZ77 over a window of 2^windowBits bytes (initially spaces) whose
// literals and match lengths, and distances, are coded with canonical Huffman codes sent at
// the start of every block, most significant bit first.
#include <algorithm>
#include <new>
#include "spi/common/codecs/CanonicalCode.h"
#include "spi/common/codecs/MsbBitReader.h"
#include "spi/common/codecs/Window.h"

namespace codecs {
namespace {

constexpr unsigned MinMatch = 3;
constexpr unsigned MaxMatch = 256;
constexpr unsigned SymbolCount = 256 + MaxMatch - MinMatch + 1;  // literals, then match lengths
constexpr unsigned SymbolCountBits = 9;
constexpr unsigned LengthCodeCount = 19;
constexpr unsigned LengthCodeCountBits = 5;
constexpr unsigned LengthCodeZeroRunAfter = 3;  // after the third length, a 2-bit run of zeros
constexpr unsigned MaxCodeLength = 16;
constexpr unsigned MaxPositionCodes = 17;       // windowBits + 1 for -lh7-
constexpr uint8_t InitialWindowByte = ' ';
constexpr size_t OutputRoom = 1 << 17;          // output a call may leave in the window beside the history

// A canonical code, or a single symbol that takes no bits at all.
template <unsigned MaxSymbols>
class LhaCode {
public:
    // False when no symbol is used or the lengths over-subscribe the code.
    bool Build(const uint8_t* lengths, unsigned count) {
        single_ = -1;
        return std::any_of(lengths, lengths + count, [](uint8_t length) { return length != 0; }) &&
               code_.Build(lengths, count);
    }
    void SetSingle(int symbol) { single_ = symbol; }
    // At least MaxCodeLength bits available. -1 when the bits match no code.
    int Decode(MsbBitReader& bits) const { return single_ >= 0 ? single_ : code_.Decode(bits); }

private:
    HuffmanDecoder<MsbBitReader, MaxCodeLength, MaxSymbols> code_;
    int single_ = -1;
};

class LhaDecoder : public Decoder {
public:
    LhaDecoder(ByteInput& input, unsigned windowBits, uint64_t unpackedSize)
        : input_(input),
          bits_(input),
          history_(size_t{1} << windowBits),
          positionCodes_(windowBits + 1),
          positionCountBits_(windowBits >= 15 ? 5 : 4),
          left_(unpackedSize) {}

    bool Allocate() {
        if (!window_.Allocate(history_ + OutputRoom)) return false;
        window_.Preset(InitialWindowByte);
        return true;
    }

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (status_ == Status::Ok || window_.Pending() > 0) {
            *produced += window_.Flush(out + *produced, size - *produced);
            if (*produced == size || status_ != Status::Ok) break;
            status_ = Step(std::min(size - *produced, OutputRoom));
            if (bits_.Overran()) status_ = Status::BadData;
            if (input_.Failed()) status_ = Status::ReadError;
        }
        return window_.Pending() > 0 ? Status::Ok : status_;
    }

private:
    // Unpacks up to `limit` bytes into the window.
    Status Step(size_t limit) {
        size_t start = window_.Pending();
        while (left_ > 0 && window_.Pending() - start < limit) {
            size_t room = limit - (window_.Pending() - start);
            if (matchLeft_ > 0) {
                size_t count = std::min<size_t>(matchLeft_, room);
                window_.Copy(distance_, count);
                matchLeft_ -= static_cast<uint32_t>(count);
                left_ -= count;
                continue;
            }
            if (blockLeft_ == 0 && !ReadBlockHeader()) return Status::BadData;
            --blockLeft_;
            bits_.Refill();
            const int symbol = symbols_.Decode(bits_);
            if (symbol < 0) return Status::BadData;
            if (symbol < 256) {
                window_.Put(static_cast<uint8_t>(symbol));
                --left_;
            } else if (!StartMatch(static_cast<unsigned>(symbol))) {
                return Status::BadData;
            }
            if (bits_.Overran()) return Status::BadData;
        }
        return left_ == 0 && matchLeft_ == 0 ? Status::End : Status::Ok;
    }

    bool StartMatch(unsigned symbol) {
        const int positionSymbol = positions_.Decode(bits_);
        if (positionSymbol < 0) return false;
        uint32_t distance = 0;
        if (positionSymbol > 0) distance = 1u << (positionSymbol - 1);
        if (positionSymbol > 1) distance += bits_.Bits(static_cast<unsigned>(positionSymbol - 1));
        // A distance beyond the window wraps round it, as the window itself does.
        distance_ = (distance & (history_ - 1)) + 1;
        matchLeft_ = static_cast<uint32_t>(std::min<uint64_t>(symbol - 256 + MinMatch, left_));
        return true;
    }

    bool ReadBlockHeader() {
        blockLeft_ = bits_.Bits(16);
        if (blockLeft_ == 0) return false;
        return ReadSmallCode(LengthCodeCount, LengthCodeCountBits, LengthCodeZeroRunAfter, &lengths_) &&
               ReadSymbolCode() && ReadSmallCode(positionCodes_, positionCountBits_, 0, &positions_) &&
               !bits_.Overran();
    }

    // Reads the lengths of a small code: 3 bits each, 7 and above continued in unary.
    template <unsigned MaxSymbols>
    bool ReadSmallCode(unsigned symbolCount, unsigned countBits, unsigned zeroRunAfter, LhaCode<MaxSymbols>* code) {
        const unsigned count = bits_.Bits(countBits);
        if (count == 0) {
            const unsigned symbol = bits_.Bits(countBits);
            if (symbol >= symbolCount) return false;
            code->SetSingle(static_cast<int>(symbol));
            return true;
        }
        if (count > symbolCount) return false;
        uint8_t lengths[32] = {};
        unsigned i = 0;
        while (i < count) {
            unsigned length = bits_.Bits(3);
            if (length == 7) {
                while (bits_.Bits(1) == 1)
                    if (++length > MaxCodeLength) return false;
            }
            lengths[i++] = static_cast<uint8_t>(length);
            if (i == zeroRunAfter) {
                const unsigned zeros = bits_.Bits(2);
                if (i + zeros > count) return false;
                i += zeros;  // lengths are already 0
            }
        }
        return code->Build(lengths, symbolCount);
    }

    // Reads the lengths of the literal and match-length code, themselves coded with lengths_.
    bool ReadSymbolCode() {
        const unsigned count = bits_.Bits(SymbolCountBits);
        if (count == 0) {
            const unsigned symbol = bits_.Bits(SymbolCountBits);
            if (symbol >= SymbolCount) return false;
            symbols_.SetSingle(static_cast<int>(symbol));
            return true;
        }
        if (count > SymbolCount) return false;
        uint8_t lengths[SymbolCount] = {};
        unsigned i = 0;
        while (i < count) {
            bits_.Refill();
            const int code = lengths_.Decode(bits_);
            if (code < 0) return false;
            if (code > 2) {
                lengths[i++] = static_cast<uint8_t>(code - 2);
                continue;
            }
            unsigned zeros = 1;
            if (code == 1) zeros = bits_.Bits(4) + 3;
            if (code == 2) zeros = bits_.Bits(SymbolCountBits) + 20;
            if (i + zeros > count) return false;
            i += zeros;
        }
        return symbols_.Build(lengths, SymbolCount);
    }

    ByteInput& input_;
    MsbBitReader bits_;
    Window window_;
    const size_t history_;
    const unsigned positionCodes_;      // distance symbols: windowBits + 1
    const unsigned positionCountBits_;  // bits of the distance code's symbol count
    uint64_t left_;                     // bytes still to unpack
    Status status_ = Status::Ok;
    uint32_t blockLeft_ = 0;            // symbols left in the block
    uint32_t matchLeft_ = 0, distance_ = 0;
    LhaCode<LengthCodeCount> lengths_;  // code lengths of the other two codes
    LhaCode<SymbolCount> symbols_;      // literals and match lengths
    LhaCode<MaxPositionCodes> positions_;  // distance bit counts
};

}  // namespace

std::unique_ptr<Decoder> MakeLhaDecoder(ByteInput& input, unsigned windowBits, uint64_t unpackedSize) {
    if (windowBits < 12 || windowBits > 16) return nullptr;
    std::unique_ptr<LhaDecoder> decoder(new (std::nothrow) LhaDecoder(input, windowBits, unpackedSize));
    if (!decoder || !decoder->Allocate()) return nullptr;
    return decoder;
}

}  // namespace codecs
