// BCJ2: x86 code split by the packer into four streams. The main stream holds the code with
// the 32-bit targets of CALL (E8), JMP (E9) and the conditional jumps (0F 80..8F) taken out;
// the call and jump streams hold those targets, absolute and big-endian; a range-coded bit
// after each such opcode says whether its target was taken out. The bit's probability depends
// on the opcode (and, for CALL, on the byte before it).
#include <cstring>
#include <new>
#include "spi/common/codecs/Decoder.h"

namespace codecs {
namespace {

constexpr unsigned ProbabilityBits = 11;
constexpr uint32_t ProbabilityOne = 1u << ProbabilityBits;
constexpr unsigned AdaptShift = 5;
constexpr uint32_t RangeTop = 1u << 24;

class Bcj2Decoder : public Decoder {
public:
    Bcj2Decoder(ByteInput& main, ByteInput& call, ByteInput& jump, ByteInput& bits, uint64_t size)
        : main_(main), call_(call), jump_(jump), bits_(bits), left_(size) {
        for (uint16_t& probability : probabilities_) probability = ProbabilityOne / 2;
    }

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        if (status_ == Status::Ok && !started_) Start();
        while (status_ == Status::Ok && *produced < size) {
            if (left_ == 0) {
                status_ = Status::End;
            } else if (targetLeft_ > 0) {
                out[(*produced)++] = target_[4 - targetLeft_--];
                --left_;
                ++done_;
            } else {
                *produced += CopyCode(out + *produced, size - *produced);
            }
        }
        return status_;
    }

private:
    static bool IsBranch(uint8_t previous, uint8_t byte) {
        return (byte & 0xFE) == 0xE8 || (previous == 0x0F && (byte & 0xF0) == 0x80);
    }

    void Start() {
        started_ = true;
        for (int i = 0; i < 5; ++i) code_ = (code_ << 8) | bits_.Byte();
    }

    // Copies main-stream bytes up to and including the next branch opcode, and reads that
    // opcode's bit (unless the output ends with it).
    size_t CopyCode(uint8_t* out, size_t room) {
        if (main_.Available() == 0 && main_.AtEnd()) {
            status_ = main_.Failed() ? Status::ReadError : Status::BadData;
            return 0;
        }
        const uint8_t* bytes = main_.Peek();
        size_t count = main_.Available();
        if (count > room) count = room;
        if (count > left_) count = static_cast<size_t>(left_);
        size_t copied = 0;
        bool branch = false;
        uint8_t before = previous_;
        while (copied < count && !branch) {
            uint8_t byte = bytes[copied++];
            branch = IsBranch(previous_, byte);
            before = previous_;
            previous_ = byte;
        }
        memcpy(out, bytes, copied);
        main_.Skip(copied);
        left_ -= copied;
        done_ += copied;
        if (branch && left_ > 0) ReadBranch(previous_, before);
        return copied;
    }

    // The bit after a branch opcode and, when it is set, the target the packer took out.
    void ReadBranch(uint8_t opcode, uint8_t before) {
        size_t slot = opcode == 0xE8 ? before : opcode == 0xE9 ? 256 : 257;
        if (!Bit(&probabilities_[slot])) return;
        ByteInput& targets = opcode == 0xE8 ? call_ : jump_;
        uint32_t absolute = 0;
        for (int i = 0; i < 4; ++i) absolute = (absolute << 8) | targets.Byte();
        if (targets.Overrun() > 0) {
            status_ = targets.Failed() ? Status::ReadError : Status::BadData;
            return;
        }
        // Relative to the end of the instruction, as the processor counts.
        uint32_t relative = absolute - static_cast<uint32_t>(done_ + 4);
        for (int i = 0; i < 4; ++i) target_[i] = static_cast<uint8_t>(relative >> (8 * i));
        targetLeft_ = 4;
        previous_ = target_[3];
    }

    bool Bit(uint16_t* probability) {
        uint32_t bound = (range_ >> ProbabilityBits) * *probability;
        bool one = code_ >= bound;
        if (one) {
            range_ -= bound;
            code_ -= bound;
            *probability = static_cast<uint16_t>(*probability - (*probability >> AdaptShift));
        } else {
            range_ = bound;
            *probability = static_cast<uint16_t>(*probability + ((ProbabilityOne - *probability) >> AdaptShift));
        }
        if (range_ < RangeTop) {
            range_ <<= 8;
            code_ = (code_ << 8) | bits_.Byte();
        }
        return one;
    }

    ByteInput &main_, &call_, &jump_, &bits_;
    uint64_t left_;       // output still to come
    uint64_t done_ = 0;   // output so far
    Status status_ = Status::Ok;
    bool started_ = false;
    uint32_t range_ = 0xFFFFFFFF, code_ = 0;
    uint16_t probabilities_[258];
    uint8_t previous_ = 0;
    uint8_t target_[4] = {};
    unsigned targetLeft_ = 0;
};

}  // namespace

std::unique_ptr<Decoder> MakeBcj2Decoder(ByteInput& main, ByteInput& call, ByteInput& jump, ByteInput& bits,
                                         uint64_t unpackedSize) {
    return std::unique_ptr<Decoder>(new (std::nothrow) Bcj2Decoder(main, call, jump, bits, unpackedSize));
}

}  // namespace codecs
