#pragma once
// The LZMA symbol decoder (range coder, probability model, matches) that both the LZMA and
// the LZMA2 decoder drive. It decodes into its Window and stops whenever asked to, keeping a
// match that did not fit for the next call.
#include <cstdint>
#include <vector>
#include "spi/common/codecs/Decoder.h"
#include "spi/common/codecs/Window.h"

namespace codecs {

class LzmaCore {
public:
    enum class Outcome { Ran, EndMarker, BadData };

    Window& window() { return window_; }
    // Prepares a window for a dictionary of `dictionarySize` bytes; it starts small and grows
    // with the output, never beyond the unpacked size when that is known. False when memory
    // runs out.
    bool AllocateWindow(uint32_t dictionarySize, uint64_t unpackedSize);
    // New literal coding parameters (the probabilities are reset). False when out of range.
    bool SetProperties(unsigned lc, unsigned lp, unsigned pb);
    // Fresh probabilities, state and distances.
    void ResetState();
    // A new dictionary: no history, positions count from 0 again.
    void ResetDictionary();
    // Reads the range coder's 5 starting bytes; false when they cannot start a stream.
    bool StartRange(ByteInput& input);
    bool RangeFinished() const { return code_ == 0; }
    // Decodes symbols until `limit` more bytes are in the window (limit ≤ free window room)
    // or the end marker is read. A match cut by the limit is continued by the next call.
    Outcome Decode(ByteInput& input, size_t limit);
    // Bytes of a match still to be copied.
    uint32_t PendingMatch() const { return remainLen_; }
    // For stored LZMA2 chunks: the bytes count as decoded output.
    void AddUncompressed(size_t count) { position_ += count; }

    // The sizes of the probability model.
    static constexpr unsigned States = 12;            // see State in LzmaCore.cpp
    static constexpr unsigned MaxPositionBits = 4;    // pb and lp
    static constexpr unsigned MaxLiteralContextBits = 8;
    static constexpr unsigned PositionStates = 1u << MaxPositionBits;
    static constexpr unsigned LengthLowBits = 3, LengthMidBits = 3, LengthHighBits = 8;
    static constexpr unsigned SlotLengthClasses = 4;  // match lengths 2, 3, 4 and longer choose the slot
    static constexpr unsigned DistanceSlotBits = 6;
    static constexpr unsigned FirstModelledSlot = 4;  // slots below are distances 0 to 3 themselves
    static constexpr unsigned FirstAlignedSlot = 14;  // from here the low bits come from `align`
    static constexpr unsigned AlignBits = 4;
    // Distances below 1 << (FirstAlignedSlot / 2) take their extra bits from specPos.
    static constexpr unsigned ModelledDistances = (1u << (FirstAlignedSlot / 2)) - FirstAlignedSlot + 1;
    static constexpr unsigned LiteralCoderSize = 0x300;  // one byte's tree, plain and against a match byte

    struct LengthCoder {
        uint16_t choice, choice2;
        uint16_t low[PositionStates][1u << LengthLowBits], mid[PositionStates][1u << LengthMidBits];
        uint16_t high[1u << LengthHighBits];
    };
    struct Model {
        uint16_t isMatch[States][PositionStates], isRep[States], isRepG0[States], isRepG1[States], isRepG2[States];
        uint16_t isRep0Long[States][PositionStates];
        uint16_t posSlot[SlotLengthClasses][1u << DistanceSlotBits], specPos[ModelledDistances];
        uint16_t align[1u << AlignBits];
        LengthCoder lengths, repLengths;
    };

private:
    Window window_;
    uint32_t range_ = 0, code_ = 0;
    unsigned lc_ = 3, lp_ = 0, pb_ = 2;
    unsigned state_ = 0;
    uint32_t rep_[4] = {};
    uint32_t remainLen_ = 0;
    uint64_t position_ = 0;  // bytes since the dictionary was reset
    Model model_;
    std::vector<uint16_t> literals_;
};

}  // namespace codecs
