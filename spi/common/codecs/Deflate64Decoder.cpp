// Deflate64 (ZIP method 9): Deflate with a 64 KB window, lengths up to 65538 (the last length
// code takes 16 extra bits) and two more distance codes for distances up to 65536.
#include <algorithm>
#include "spi/common/codecs/CanonicalCode.h"
#include "spi/common/codecs/LsbBitReader.h"
#include "spi/common/codecs/Window.h"

namespace codecs {
namespace {

constexpr size_t WindowSize = 1 << 18;  // 64 KB of history plus room for output between calls
constexpr unsigned EndOfBlock = 256;
constexpr unsigned LengthCodes = 29, DistanceCodes = 32;

constexpr uint16_t LengthBase[LengthCodes] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                              31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 3};
constexpr uint8_t LengthExtra[LengthCodes] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 16};
constexpr uint32_t DistanceBase[DistanceCodes] = {
    1,    2,    3,    4,    5,    7,     9,     13,    17,    25,    33,    49,    65,    97,    129,   193,
    257,  385,  513,  769,  1025, 1537,  2049,  3073,  4097,  6145,  8193,  12289, 16385, 24577, 32769, 49153};
constexpr uint8_t DistanceExtra[DistanceCodes] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,  6,
                                                  7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
using Huffman = HuffmanDecoder<LsbBitReader, 15, 320>;

constexpr uint8_t CodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

class Deflate64Decoder : public Decoder {
public:
    explicit Deflate64Decoder(ByteInput& input) : input_(input), bits_(input) {}
    bool Allocate() { return window_.Allocate(WindowSize); }

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (status_ == Status::Ok || window_.Pending() > 0) {
            *produced += window_.Flush(out + *produced, size - *produced);
            if (*produced == size || status_ != Status::Ok) break;
            status_ = Step(std::min(size - *produced, WindowSize));
            if (status_ != Status::End && bits_.Overran()) status_ = Status::BadData;
            if (input_.Failed()) status_ = Status::ReadError;
        }
        return window_.Pending() > 0 ? Status::Ok : status_;
    }

private:
    enum class Stage { Header, Stored, Huffman };

    Status Step(size_t limit) {
        size_t start = window_.Pending();
        while (window_.Pending() - start < limit) {
            size_t room = limit - (window_.Pending() - start);
            if (remainLen_ > 0) {
                size_t count = std::min<size_t>(remainLen_, room);
                window_.Copy(distance_, count);
                remainLen_ -= static_cast<uint32_t>(count);
                continue;
            }
            Status status = stage_ == Stage::Header ? BlockHeader()
                            : stage_ == Stage::Stored ? CopyStored(room)
                                                      : Symbols(room);
            if (status != Status::Ok) return status;
        }
        return Status::Ok;
    }

    Status BlockHeader() {
        if (lastBlock_) return bits_.Overran() ? Status::BadData : Status::End;
        lastBlock_ = bits_.Bits(1) != 0;
        unsigned type = bits_.Bits(2);
        if (type == 0) {
            bits_.AlignToByte();
            uint32_t length = bits_.Bits(16);
            if ((bits_.Bits(16) ^ 0xFFFF) != length) return Status::BadData;
            storedLeft_ = length;
            stage_ = Stage::Stored;
            return Status::Ok;
        }
        if (type == 3) return Status::BadData;
        Status status = type == 1 ? FixedTables() : DynamicTables();
        if (status == Status::Ok) stage_ = Stage::Huffman;
        return status;
    }

    Status CopyStored(size_t room) {
        size_t count = std::min<size_t>(storedLeft_, room);
        storedLeft_ -= static_cast<uint32_t>(count);
        while (count > 0 && bits_.BufferedBytes() > 0) {
            window_.Put(bits_.TakeByte());
            --count;
        }
        if (count > 0) bits_.ForgetLookahead();
        while (count > 0) {
            size_t span = 0;
            uint8_t* to = window_.WriteSpan(&span);
            span = std::min(span, count);
            if (input_.Read(to, span) != span) return input_.Failed() ? Status::ReadError : Status::BadData;
            window_.Wrote(span);
            count -= span;
        }
        if (storedLeft_ == 0) stage_ = Stage::Header;
        return Status::Ok;
    }

    Status FixedTables() {
        uint8_t lengths[288 + DistanceCodes];
        std::fill(lengths, lengths + 144, 8);
        std::fill(lengths + 144, lengths + 256, 9);
        std::fill(lengths + 256, lengths + 280, 7);
        std::fill(lengths + 280, lengths + 288, 8);
        std::fill(lengths + 288, lengths + 288 + DistanceCodes, 5);
        literals_.Build(lengths, 288);
        distances_.Build(lengths + 288, DistanceCodes);
        return Status::Ok;
    }

    Status DynamicTables() {
        unsigned literalCount = bits_.Bits(5) + 257, distanceCount = bits_.Bits(5) + 1, codeCount = bits_.Bits(4) + 4;
        uint8_t lengths[288 + DistanceCodes] = {};
        for (unsigned i = 0; i < codeCount; ++i) lengths[CodeLengthOrder[i]] = static_cast<uint8_t>(bits_.Bits(3));
        Huffman codeLengths;
        if (!codeLengths.Build(lengths, 19)) return Status::BadData;
        std::fill(lengths, lengths + 19, 0);
        unsigned total = literalCount + distanceCount;
        for (unsigned i = 0; i < total;) {
            bits_.Refill();
            int symbol = codeLengths.Decode(bits_);
            if (symbol < 0) return Status::BadData;
            if (symbol < 16) {
                lengths[i++] = static_cast<uint8_t>(symbol);
                continue;
            }
            uint8_t value = 0;
            unsigned repeat;
            if (symbol == 16) {
                if (i == 0) return Status::BadData;
                value = lengths[i - 1];
                repeat = 3 + bits_.Bits(2);
            } else {
                repeat = symbol == 17 ? 3 + bits_.Bits(3) : 11 + bits_.Bits(7);
            }
            if (repeat > total - i) return Status::BadData;
            std::fill(lengths + i, lengths + i + repeat, value);
            i += repeat;
        }
        if (lengths[EndOfBlock] == 0) return Status::BadData;
        if (!literals_.Build(lengths, literalCount) || !distances_.Build(lengths + literalCount, distanceCount))
            return Status::BadData;
        return Status::Ok;
    }

    Status Symbols(size_t room) {
        size_t start = window_.Pending();
        while (window_.Pending() - start < room) {
            bits_.Refill();
            int symbol = literals_.Decode(bits_);
            if (symbol < static_cast<int>(EndOfBlock)) {
                if (symbol < 0) return Status::BadData;
                window_.Put(static_cast<uint8_t>(symbol));
                continue;
            }
            if (symbol == static_cast<int>(EndOfBlock)) {
                stage_ = Stage::Header;
                return Status::Ok;
            }
            unsigned code = static_cast<unsigned>(symbol) - 257;
            if (code >= LengthCodes) return Status::BadData;
            uint32_t length = LengthBase[code] + bits_.Bits(LengthExtra[code]);
            bits_.Refill();
            int distanceCode = distances_.Decode(bits_);
            if (distanceCode < 0) return Status::BadData;
            uint32_t distance = DistanceBase[distanceCode] + bits_.Bits(DistanceExtra[distanceCode]);
            if (!window_.HasDistance(distance)) return Status::BadData;
            size_t count = std::min<size_t>(length, room - (window_.Pending() - start));
            window_.Copy(distance, count);
            remainLen_ = static_cast<uint32_t>(length - count);
            distance_ = distance;
            if (remainLen_ > 0) return Status::Ok;
        }
        return Status::Ok;
    }

    ByteInput& input_;
    LsbBitReader bits_;
    Window window_;
    Status status_ = Status::Ok;
    Stage stage_ = Stage::Header;
    bool lastBlock_ = false;
    uint32_t storedLeft_ = 0;
    uint32_t remainLen_ = 0, distance_ = 0;
    Huffman literals_, distances_;
};

}  // namespace

std::unique_ptr<Decoder> MakeDeflate64Decoder(ByteInput& input) {
    std::unique_ptr<Deflate64Decoder> decoder(new (std::nothrow) Deflate64Decoder(input));
    if (!decoder || !decoder->Allocate()) return nullptr;
    return decoder;
}

}  // namespace codecs
