#include "spi/common/codecs/LzmaCore.h"

namespace codecs {
namespace {

constexpr unsigned ProbabilityBits = 11;
constexpr uint16_t InitialProbability = 1 << (ProbabilityBits - 1);
constexpr unsigned MoveBits = 5;
constexpr uint32_t TopValue = 1u << 24;
constexpr unsigned MinMatch = 2;
constexpr uint32_t EndMarkerDistance = 0xFFFFFFFF;

template <size_t N>
void Fill(uint16_t (&probs)[N]) {
    for (uint16_t& p : probs) p = InitialProbability;
}
template <size_t N, size_t M>
void Fill(uint16_t (&probs)[N][M]) {
    for (auto& row : probs) Fill(row);
}

}  // namespace

bool LzmaCore::SetProperties(unsigned lc, unsigned lp, unsigned pb) {
    if (lc > 8 || lp > 4 || pb > 4) return false;
    lc_ = lc;
    lp_ = lp;
    pb_ = pb;
    literals_.assign(size_t{0x300} << (lc + lp), InitialProbability);
    return true;
}

void LzmaCore::ResetState() {
    Fill(isMatch_); Fill(isRep_); Fill(isRepG0_); Fill(isRepG1_); Fill(isRepG2_); Fill(isRep0Long_);
    Fill(posSlot_); Fill(specPos_); Fill(align_);
    for (LengthCoder* coder : {&lengths_, &repLengths_}) {
        coder->choice = coder->choice2 = InitialProbability;
        Fill(coder->low); Fill(coder->mid); Fill(coder->high);
    }
    for (uint16_t& p : literals_) p = InitialProbability;
    state_ = 0;
    rep_[0] = rep_[1] = rep_[2] = rep_[3] = 0;
    remainLen_ = 0;
}

void LzmaCore::ResetDictionary() {
    window_.Reset();
    position_ = 0;
}

bool LzmaCore::StartRange(ByteInput& input) {
    range_ = 0xFFFFFFFF;
    code_ = 0;
    if (input.Byte() != 0) return false;
    for (int i = 0; i < 4; ++i) code_ = (code_ << 8) | input.Byte();
    return code_ != range_;
}

inline unsigned LzmaCore::Bit(ByteInput& input, uint16_t* prob) {
    uint32_t bound = (range_ >> ProbabilityBits) * *prob;
    unsigned bit;
    if (code_ < bound) {
        range_ = bound;
        *prob = static_cast<uint16_t>(*prob + (((1u << ProbabilityBits) - *prob) >> MoveBits));
        bit = 0;
    } else {
        range_ -= bound;
        code_ -= bound;
        *prob = static_cast<uint16_t>(*prob - (*prob >> MoveBits));
        bit = 1;
    }
    if (range_ < TopValue) {
        range_ <<= 8;
        code_ = (code_ << 8) | input.Byte();
    }
    return bit;
}

inline unsigned LzmaCore::Tree(ByteInput& input, uint16_t* probs, unsigned bits) {
    unsigned m = 1;
    for (unsigned i = 0; i < bits; ++i) m = (m << 1) | Bit(input, &probs[m]);
    return m - (1u << bits);
}

inline unsigned LzmaCore::ReverseTree(ByteInput& input, uint16_t* probs, unsigned bits) {
    unsigned m = 1, symbol = 0;
    for (unsigned i = 0; i < bits; ++i) {
        unsigned bit = Bit(input, &probs[m]);
        m = (m << 1) | bit;
        symbol |= bit << i;
    }
    return symbol;
}

unsigned LzmaCore::DirectBits(ByteInput& input, unsigned bits) {
    unsigned result = 0;
    for (; bits > 0; --bits) {
        range_ >>= 1;
        code_ -= range_;
        uint32_t mask = 0u - (code_ >> 31);  // all ones when the subtraction went below 0
        code_ += range_ & mask;
        result = (result << 1) + (mask + 1);
        if (range_ < TopValue) {
            range_ <<= 8;
            code_ = (code_ << 8) | input.Byte();
        }
    }
    return result;
}

unsigned LzmaCore::Length(ByteInput& input, LengthCoder& coder, unsigned posState) {
    if (!Bit(input, &coder.choice)) return Tree(input, coder.low[posState], 3);
    if (!Bit(input, &coder.choice2)) return 8 + Tree(input, coder.mid[posState], 3);
    return 16 + Tree(input, coder.high, 8);
}

uint32_t LzmaCore::Distance(ByteInput& input, unsigned length) {
    unsigned slot = Tree(input, posSlot_[length < 3 ? length : 3], 6);
    if (slot < 4) return slot;
    unsigned directBits = (slot >> 1) - 1;
    uint32_t distance = (2u | (slot & 1)) << directBits;
    if (slot < 14) return distance + ReverseTree(input, specPos_ + distance - slot, directBits);
    distance += DirectBits(input, directBits - 4) << 4;
    return distance + ReverseTree(input, align_, 4);
}

void LzmaCore::Literal(ByteInput& input) {
    unsigned previous = window_.HasDistance(1) ? window_.Back(1) : 0;
    size_t context = ((static_cast<size_t>(position_) & ((1u << lp_) - 1)) << lc_) + (previous >> (8 - lc_));
    uint16_t* probs = &literals_[0x300 * context];
    unsigned symbol = 1;
    if (state_ >= 7) {
        unsigned match = window_.Back(rep_[0] + 1);
        do {
            unsigned matchBit = (match >> 7) & 1;
            match <<= 1;
            unsigned bit = Bit(input, &probs[((1 + matchBit) << 8) + symbol]);
            symbol = (symbol << 1) | bit;
            if (matchBit != bit) break;
        } while (symbol < 0x100);
    }
    while (symbol < 0x100) symbol = (symbol << 1) | Bit(input, &probs[symbol]);
    window_.Put(static_cast<uint8_t>(symbol));
    ++position_;
    state_ = state_ < 4 ? 0 : state_ < 10 ? state_ - 3 : state_ - 6;
}

LzmaCore::Outcome LzmaCore::Decode(ByteInput& input, size_t limit) {
    size_t start = window_.Pending();
    auto room = [&] { return limit - (window_.Pending() - start); };
    if (remainLen_ > 0) {
        size_t count = remainLen_ < room() ? remainLen_ : room();
        window_.Copy(rep_[0] + 1, count);
        position_ += count;
        remainLen_ -= static_cast<uint32_t>(count);
    }
    const unsigned posMask = (1u << pb_) - 1;
    while (room() > 0) {
        unsigned posState = static_cast<unsigned>(position_) & posMask;
        if (!Bit(input, &isMatch_[state_][posState])) {
            Literal(input);
            continue;
        }
        unsigned length;
        if (!Bit(input, &isRep_[state_])) {
            length = Length(input, lengths_, posState);
            uint32_t distance = Distance(input, length);
            if (distance == EndMarkerDistance) return Outcome::EndMarker;
            rep_[3] = rep_[2];
            rep_[2] = rep_[1];
            rep_[1] = rep_[0];
            rep_[0] = distance;
            state_ = state_ < 7 ? 7 : 10;
        } else {
            if (!window_.HasDistance(1)) return Outcome::BadData;
            if (!Bit(input, &isRepG0_[state_])) {
                if (!Bit(input, &isRep0Long_[state_][posState])) {
                    state_ = state_ < 7 ? 9 : 11;
                    window_.Put(window_.Back(rep_[0] + 1));
                    ++position_;
                    continue;
                }
            } else {
                uint32_t distance;
                if (!Bit(input, &isRepG1_[state_])) {
                    distance = rep_[1];
                } else {
                    if (!Bit(input, &isRepG2_[state_])) {
                        distance = rep_[2];
                    } else {
                        distance = rep_[3];
                        rep_[3] = rep_[2];
                    }
                    rep_[2] = rep_[1];
                }
                rep_[1] = rep_[0];
                rep_[0] = distance;
            }
            length = Length(input, repLengths_, posState);
            state_ = state_ < 7 ? 8 : 11;
        }
        if (!window_.HasDistance(uint64_t{rep_[0]} + 1)) return Outcome::BadData;
        size_t total = length + MinMatch;
        size_t count = total < room() ? total : room();
        window_.Copy(rep_[0] + 1, count);
        position_ += count;
        remainLen_ = static_cast<uint32_t>(total - count);
    }
    return Outcome::Ran;
}

}  // namespace codecs
