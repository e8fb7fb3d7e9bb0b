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

    struct LengthCoder {
        uint16_t choice, choice2, low[16][8], mid[16][8], high[256];
    };
    struct Model {
        uint16_t isMatch[12][16], isRep[12], isRepG0[12], isRepG1[12], isRepG2[12], isRep0Long[12][16];
        uint16_t posSlot[4][64], specPos[115], align[16];
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
