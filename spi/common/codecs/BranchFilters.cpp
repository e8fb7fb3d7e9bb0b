// The branch converters. Each rewrites whole instructions, so a converter sees the inner
// decoder's output through a buffer and holds back the last few bytes until it knows whether
// they start an instruction that continues in the next piece (or the stream ends there).
#include <cstring>
#include <new>
#include "spi/common/codecs/ByteOrder.h"
#include "spi/common/codecs/Filters.h"

namespace codecs {
namespace {

class BranchFilter : public Decoder {
public:
    BranchFilter(Decoder& inner, uint32_t start) : inner_(inner), address_(start) {}

    Status Decode(uint8_t* out, size_t size, size_t* produced) override {
        *produced = 0;
        while (*produced < size) {
            if (next_ < converted_) {
                size_t count = converted_ - next_ < size - *produced ? converted_ - next_ : size - *produced;
                memcpy(out + *produced, buffer_ + next_, count);
                next_ += count;
                *produced += count;
            } else if (innerStatus_ == Status::End && converted_ < filled_) {
                converted_ = filled_;  // the stream ends inside what could have been an instruction
            } else if (innerStatus_ != Status::Ok) {
                return innerStatus_;
            } else {
                Refill();
            }
        }
        return Status::Ok;
    }

protected:
    // Converts the instructions that lie wholly in `data` (the first byte at `address`) and
    // returns how many bytes are done; the rest comes again, with more bytes behind it.
    virtual size_t Convert(uint8_t* data, size_t size, uint32_t address) = 0;

private:
    // Moves the bytes held back to the front, appends the inner decoder's next output and
    // converts what it can.
    void Refill() {
        size_t kept = filled_ - converted_;
        memmove(buffer_, buffer_ + converted_, kept);
        next_ = converted_ = 0;
        size_t count = 0;
        innerStatus_ = inner_.Decode(buffer_ + kept, sizeof buffer_ - kept, &count);
        filled_ = kept + count;
        if (innerStatus_ != Status::Ok && innerStatus_ != Status::End) return;
        converted_ = Convert(buffer_, filled_, address_);
        address_ += static_cast<uint32_t>(converted_);
    }

    Decoder& inner_;
    uint32_t address_;  // of buffer_[0]; wraps around like the addresses the packer counted
    Status innerStatus_ = Status::Ok;
    uint8_t buffer_[1 << 16];
    size_t next_ = 0, converted_ = 0, filled_ = 0;
};

// A CALL or JMP is E8 or E9 followed by a 32-bit displacement. The packer converts the
// displacement only where its top byte is 00 or FF (a near target), so that ordinary data is
// rarely touched, and it remembers opcode bytes it passed over in the last three bytes: a
// further E8/E9 within those may be part of the earlier instruction, and its fate depends on
// which of the displacement bytes it could overlap. Decoding has to make the same choices.
class X86Filter : public BranchFilter {
public:
    using BranchFilter::BranchFilter;

protected:
    static bool IsNearTop(uint8_t byte) { return byte == 0x00 || byte == 0xFF; }

    size_t Convert(uint8_t* data, size_t size, uint32_t address) override {
        if (size < 5) return 0;
        const size_t limit = size - 4;  // an opcode needs its four displacement bytes here
        size_t position = 0;
        for (;;) {
            size_t at = position;
            while (at < limit && (data[at] & 0xFE) != 0xE8) ++at;
            size_t gap = at - position;
            if (at >= limit) {
                passed_ = gap > 2 ? 0 : passed_ >> gap;
                return at;
            }
            // passed_: bit 2, 1, 0 set when the byte 1, 2, 3 before this one was an opcode
            // that was passed over.
            passed_ = gap > 2 ? 0 : passed_ >> gap;
            if (passed_ != 0 &&
                (passed_ > 4 || passed_ == 3 || IsNearTop(data[at + (passed_ >> 1) + 1]))) {
                PassOver(&position, at);
                continue;
            }
            if (!IsNearTop(data[at + 4])) {
                PassOver(&position, at);
                continue;
            }
            Restore(data + at + 1, address + static_cast<uint32_t>(at) + 5);
            position = at + 5;
        }
    }

private:
    void PassOver(size_t* position, size_t at) {
        passed_ = (passed_ >> 1) | 4;
        *position = at + 1;
    }

    // The displacement at `operand` back from the absolute target, for an instruction that
    // ends at `next`.
    void Restore(uint8_t* operand, uint32_t next) {
        uint32_t value = ReadLe32(operand) - next;
        if (passed_ != 0) {
            // The packer saw this instruction after one it passed over, and converted the
            // value a second time where the overlapping byte would again look near.
            unsigned shift = (passed_ & 6) << 2;
            if (IsNearTop(static_cast<uint8_t>(value >> shift))) {
                value ^= (uint32_t{0x100} << shift) - 1;
                value -= next;
            }
            passed_ = 0;
        }
        WriteLe32(operand, (value & 0x00FFFFFF) | ((0u - ((value >> 24) & 1)) << 24));
    }

    uint32_t passed_ = 0;
};

// Instruction sets of 4-byte words, aligned: each word is converted on its own.
class WordFilter : public BranchFilter {
public:
    using BranchFilter::BranchFilter;

protected:
    size_t Convert(uint8_t* data, size_t size, uint32_t address) override {
        size_t at = 0;
        for (; at + 4 <= size; at += 4) ConvertWord(data + at, address + static_cast<uint32_t>(at));
        return at;
    }
    virtual void ConvertWord(uint8_t* word, uint32_t pc) = 0;
};

// BL: a 24-bit word offset, counted from the instruction's address plus 8, and the byte EB.
class ArmFilter : public WordFilter {
public:
    using WordFilter::WordFilter;

protected:
    void ConvertWord(uint8_t* word, uint32_t pc) override {
        if (word[3] != 0xEB) return;
        uint32_t target = (ReadLe32(word) & 0x00FFFFFF) << 2;
        uint32_t offset = (target - (pc + 8)) >> 2;
        WriteLe32(word, (offset & 0x00FFFFFF) | 0xEB000000);
    }
};

// BL (a 26-bit word offset) and ADRP (a 21-bit page offset, split over two fields). ADRP is
// converted only for offsets within ±512 MB, the packer's choice to leave data alone.
class Arm64Filter : public WordFilter {
public:
    using WordFilter::WordFilter;

protected:
    void ConvertWord(uint8_t* word, uint32_t pc) override {
        uint32_t instruction = ReadLe32(word);
        if ((instruction >> 26) == 0x25) {  // BL
            WriteLe32(word, 0x94000000 | ((instruction - (pc >> 2)) & 0x03FFFFFF));
        } else if ((instruction & 0x9F000000) == 0x90000000) {  // ADRP
            uint32_t pages = ((instruction >> 29) & 3) | ((instruction >> 3) & 0x001FFFFC);
            if ((pages + 0x00020000) & 0x001C0000) return;
            pages -= pc >> 12;
            instruction &= 0x9000001F;
            instruction |= (pages & 3) << 29;
            instruction |= (pages & 0x0003FFFC) << 3;
            instruction |= (0u - (pages & 0x00020000)) & 0x00E00000;
            WriteLe32(word, instruction);
        }
    }
};

template <class Filter>
std::unique_ptr<Decoder> Make(Decoder& inner, uint32_t start) {
    return std::unique_ptr<Decoder>(new (std::nothrow) Filter(inner, start));
}

}  // namespace

std::unique_ptr<Decoder> MakeX86Filter(Decoder& inner, uint32_t start) { return Make<X86Filter>(inner, start); }
std::unique_ptr<Decoder> MakeArmFilter(Decoder& inner, uint32_t start) { return Make<ArmFilter>(inner, start); }
std::unique_ptr<Decoder> MakeArm64Filter(Decoder& inner, uint32_t start) { return Make<Arm64Filter>(inner, start); }

}  // namespace codecs
