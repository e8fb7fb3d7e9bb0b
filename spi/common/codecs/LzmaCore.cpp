#include "spi/common/codecs/LzmaCore.h"
#include <algorithm>

namespace codecs {
namespace {

constexpr unsigned ProbabilityBits = 11;
constexpr uint16_t InitialProbability = 1 << (ProbabilityBits - 1);
constexpr unsigned MoveBits = 5;
constexpr uint32_t TopValue = 1u << 24;
constexpr unsigned MinMatch = 2;
constexpr uint32_t EndMarkerDistance = 0xFFFFFFFF;

// What the last symbols were, newest last; the states below LiteralStates end in a literal.
enum State : unsigned {
    LiteralLiteralLiteral = 0,
    MatchLiteralLiteral, RepLiteralLiteral, ShortRepLiteralLiteral,
    MatchLiteral, RepLiteral, ShortRepLiteral,
    LiteralMatch, LiteralRep, LiteralShortRep,
    NonLiteralMatch, NonLiteralRep,
    LiteralStates = LiteralMatch,
};
static_assert(NonLiteralRep + 1 == LzmaCore::States, "the model has a row per state");

constexpr unsigned AfterLiteral(unsigned state) {
    return state <= ShortRepLiteralLiteral ? LiteralLiteralLiteral : state <= LiteralShortRep ? state - 3 : state - 6;
}
constexpr unsigned AfterMatch(unsigned state) { return state < LiteralStates ? LiteralMatch : NonLiteralMatch; }
constexpr unsigned AfterRep(unsigned state) { return state < LiteralStates ? LiteralRep : NonLiteralRep; }
constexpr unsigned AfterShortRep(unsigned state) { return state < LiteralStates ? LiteralShortRep : NonLiteralRep; }

#define LZMA_INLINE inline __attribute__((always_inline))

// Everything the inner loop changes, held in one local object so that the compiler keeps it
// in registers: the range coder, the input position and the window's write position.
struct Hot {
    ByteInput& input;
    uint32_t range, code;
    const uint8_t* next;
    const uint8_t* end;
    uint8_t* dict;
    size_t size, pos, written;
    uint64_t filled;  // history in the window before this call

    LZMA_INLINE uint32_t Byte() {
        if (next < end) return *next++;
        input.Skip(static_cast<size_t>(next - input.Peek()));
        uint8_t byte = input.Byte();
        next = input.Peek();
        end = next + input.Available();
        return byte;
    }
    LZMA_INLINE void Normalize() {
        if (range < TopValue) {
            range <<= 8;
            code = (code << 8) | Byte();
        }
    }
    LZMA_INLINE unsigned Bit(uint16_t* prob) {
        uint32_t p = *prob;
        uint32_t bound = (range >> ProbabilityBits) * p;
        unsigned bit;
        if (code < bound) {
            range = bound;
            *prob = static_cast<uint16_t>(p + (((1u << ProbabilityBits) - p) >> MoveBits));
            bit = 0;
        } else {
            range -= bound;
            code -= bound;
            *prob = static_cast<uint16_t>(p - (p >> MoveBits));
            bit = 1;
        }
        Normalize();
        return bit;
    }
    LZMA_INLINE unsigned Tree(uint16_t* probs, unsigned bits) {
        unsigned m = 1;
        for (unsigned i = 0; i < bits; ++i) m = (m << 1) | Bit(&probs[m]);
        return m - (1u << bits);
    }
    LZMA_INLINE unsigned ReverseTree(uint16_t* probs, unsigned bits) {
        unsigned m = 1, symbol = 0;
        for (unsigned i = 0; i < bits; ++i) {
            unsigned bit = Bit(&probs[m]);
            m = (m << 1) | bit;
            symbol |= bit << i;
        }
        return symbol;
    }
    unsigned DirectBits(unsigned bits) {
        unsigned result = 0;
        for (; bits > 0; --bits) {
            range >>= 1;
            code -= range;
            uint32_t mask = 0u - (code >> 31);  // all ones when the subtraction went below 0
            code += range & mask;
            result = (result << 1) + (mask + 1);
            Normalize();
        }
        return result;
    }
    LZMA_INLINE unsigned Length(LzmaCore::LengthCoder& coder, unsigned posState) {
        constexpr unsigned Low = 1u << LzmaCore::LengthLowBits, Mid = 1u << LzmaCore::LengthMidBits;
        if (!Bit(&coder.choice)) return Tree(coder.low[posState], LzmaCore::LengthLowBits);
        if (!Bit(&coder.choice2)) return Low + Tree(coder.mid[posState], LzmaCore::LengthMidBits);
        return Low + Mid + Tree(coder.high, LzmaCore::LengthHighBits);
    }
    uint32_t Distance(LzmaCore::Model& model, unsigned length) {
        constexpr unsigned LastClass = LzmaCore::SlotLengthClasses - 1;
        unsigned slot = Tree(model.posSlot[length < LastClass ? length : LastClass], LzmaCore::DistanceSlotBits);
        if (slot < LzmaCore::FirstModelledSlot) return slot;
        unsigned directBits = (slot >> 1) - 1;
        uint32_t distance = (2u | (slot & 1)) << directBits;
        if (slot < LzmaCore::FirstAlignedSlot) return distance + ReverseTree(model.specPos + distance - slot, directBits);
        distance += DirectBits(directBits - LzmaCore::AlignBits) << LzmaCore::AlignBits;
        return distance + ReverseTree(model.align, LzmaCore::AlignBits);
    }

    // One literal; after a match coded against the byte the last distance points at, until
    // the first bit that differs from it.
    LZMA_INLINE uint8_t Literal(uint16_t* probs, unsigned state, uint32_t rep0) {
        unsigned symbol = 1;
        if (state >= LiteralStates) {
            unsigned match = Back(rep0 + 1);
            do {
                unsigned matchBit = (match >> 7) & 1;
                match <<= 1;
                unsigned bit = Bit(&probs[((1 + matchBit) << 8) + symbol]);
                symbol = (symbol << 1) | bit;
                if (matchBit != bit) break;
            } while (symbol < 0x100);
        }
        while (symbol < 0x100) symbol = (symbol << 1) | Bit(&probs[symbol]);
        return static_cast<uint8_t>(symbol);
    }
    // Which of the four last distances a repeated match uses; it moves to the front.
    LZMA_INLINE void RepeatedDistance(LzmaCore::Model& model, unsigned state, uint32_t* rep) {
        uint32_t distance;
        if (!Bit(&model.isRepG1[state])) {
            distance = rep[1];
        } else {
            if (!Bit(&model.isRepG2[state])) {
                distance = rep[2];
            } else {
                distance = rep[3];
                rep[3] = rep[2];
            }
            rep[2] = rep[1];
        }
        rep[1] = rep[0];
        rep[0] = distance;
    }

    LZMA_INLINE uint64_t History() const { return std::min<uint64_t>(filled + written, size); }
    LZMA_INLINE uint8_t Back(size_t distance) const { return dict[pos >= distance ? pos - distance : pos + size - distance]; }
    LZMA_INLINE void Put(uint8_t byte) {
        dict[pos] = byte;
        if (++pos == size) pos = 0;
        ++written;
    }
    LZMA_INLINE void Copy(size_t distance, size_t length) {
        size_t from = pos >= distance ? pos - distance : pos + size - distance;
        written += length;
        if (from + length <= size && pos + length <= size) {
            uint8_t* to = dict + pos;
            const uint8_t* source = dict + from;
            pos += length;
            if (pos == size) pos = 0;
            if (distance >= length) {
                std::copy(source, source + length, to);
            } else {
                for (size_t i = 0; i < length; ++i) to[i] = source[i];
            }
            return;
        }
        while (length-- > 0) {
            dict[pos] = dict[from];
            if (++from == size) from = 0;
            if (++pos == size) pos = 0;
        }
    }
};

template <size_t N>
void Fill(uint16_t (&probs)[N]) {
    std::fill(probs, probs + N, InitialProbability);
}
template <size_t N, size_t M>
void Fill(uint16_t (&probs)[N][M]) {
    for (auto& row : probs) Fill(row);
}

}  // namespace

bool LzmaCore::AllocateWindow(uint32_t dictionarySize, uint64_t unpackedSize) {
    constexpr uint32_t MinDictionary = 1 << 12;
    constexpr size_t InitialWindow = 1 << 20;
    uint64_t size = std::max(dictionarySize, MinDictionary);
    if (unpackedSize != UnknownSize) size = std::min<uint64_t>(size, std::max<uint64_t>(unpackedSize, MinDictionary));
    return size <= SIZE_MAX && window_.Allocate(InitialWindow, static_cast<size_t>(size));
}

bool LzmaCore::SetProperties(unsigned lc, unsigned lp, unsigned pb) {
    if (lc > MaxLiteralContextBits || lp > MaxPositionBits || pb > MaxPositionBits) return false;
    lc_ = lc;
    lp_ = lp;
    pb_ = pb;
    literals_.assign(size_t{LiteralCoderSize} << (lc + lp), InitialProbability);
    return true;
}

void LzmaCore::ResetState() {
    Model& m = model_;
    Fill(m.isMatch); Fill(m.isRep); Fill(m.isRepG0); Fill(m.isRepG1); Fill(m.isRepG2); Fill(m.isRep0Long);
    Fill(m.posSlot); Fill(m.specPos); Fill(m.align);
    for (LengthCoder* coder : {&m.lengths, &m.repLengths}) {
        coder->choice = coder->choice2 = InitialProbability;
        Fill(coder->low); Fill(coder->mid); Fill(coder->high);
    }
    std::fill(literals_.begin(), literals_.end(), InitialProbability);
    state_ = LiteralLiteralLiteral;
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

LzmaCore::Outcome LzmaCore::Decode(ByteInput& input, size_t limit) {
    Hot h{input, range_, code_, input.Peek(), input.Peek() + input.Available(),
          window_.Data(), window_.Size(), window_.Position(), 0, window_.Filled()};
    Outcome outcome = Outcome::Ran;
    unsigned state = state_;
    uint32_t rep[4] = {rep_[0], rep_[1], rep_[2], rep_[3]};
    const uint64_t startPosition = position_;
    const unsigned posMask = (1u << pb_) - 1, literalPosMask = (1u << lp_) - 1;
    Model& m = model_;

    if (remainLen_ > 0) {
        size_t count = std::min<size_t>(remainLen_, limit);
        h.Copy(rep[0] + 1, count);
        remainLen_ -= static_cast<uint32_t>(count);
    }
    while (h.written < limit) {
        const uint64_t position = startPosition + h.written;
        const unsigned posState = static_cast<unsigned>(position) & posMask;
        if (!h.Bit(&m.isMatch[state][posState])) {
            unsigned previous = h.History() > 0 ? h.Back(1) : 0;
            size_t context = ((static_cast<size_t>(position) & literalPosMask) << lc_) + (previous >> (8 - lc_));
            h.Put(h.Literal(&literals_[LiteralCoderSize * context], state, rep[0]));
            state = AfterLiteral(state);
            continue;
        }
        unsigned length;
        if (!h.Bit(&m.isRep[state])) {
            length = h.Length(m.lengths, posState);
            uint32_t distance = h.Distance(m, length);
            if (distance == EndMarkerDistance) {
                outcome = Outcome::EndMarker;
                break;
            }
            rep[3] = rep[2];
            rep[2] = rep[1];
            rep[1] = rep[0];
            rep[0] = distance;
            state = AfterMatch(state);
        } else {
            if (h.History() == 0) {
                outcome = Outcome::BadData;
                break;
            }
            if (!h.Bit(&m.isRepG0[state])) {
                if (!h.Bit(&m.isRep0Long[state][posState])) {  // a single byte from the last distance
                    state = AfterShortRep(state);
                    h.Put(h.Back(rep[0] + 1));
                    continue;
                }
            } else {
                h.RepeatedDistance(m, state, rep);
            }
            length = h.Length(m.repLengths, posState);
            state = AfterRep(state);
        }
        if (uint64_t{rep[0]} + 1 > h.History()) {
            outcome = Outcome::BadData;
            break;
        }
        size_t total = length + MinMatch;
        size_t count = std::min(total, limit - h.written);
        h.Copy(rep[0] + 1, count);
        remainLen_ = static_cast<uint32_t>(total - count);
    }

    input.Skip(static_cast<size_t>(h.next - input.Peek()));
    range_ = h.range;
    code_ = h.code;
    state_ = state;
    std::copy(rep, rep + 4, rep_);
    position_ = startPosition + h.written;
    window_.Advance(h.pos, h.written);
    return outcome;
}

}  // namespace codecs
