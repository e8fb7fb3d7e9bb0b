// FSE table descriptions and tables, and the Huffman code of literals, as Zstandard defines them.
#include "spi/common/codecs/ZstdEntropy.h"
#include <algorithm>

namespace codecs {
namespace zstd {
namespace {

unsigned HighBit(uint32_t value) { return 31 - static_cast<unsigned>(__builtin_clz(value)); }

// Bits of a table description, least significant first; past the end it reads zeros and
// remembers that it did.
class ForwardBits {
public:
    ForwardBits(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint32_t Peek(unsigned count) const {
        uint32_t value = 0;
        for (unsigned i = 0; i < count; ++i) {
            size_t bit = position_ + i;
            if (bit / 8 < size_) value |= static_cast<uint32_t>((data_[bit / 8] >> (bit % 8)) & 1) << i;
        }
        return value;
    }
    void Skip(unsigned count) { position_ += count; }
    uint32_t Read(unsigned count) {
        uint32_t value = Peek(count);
        Skip(count);
        return value;
    }
    bool Overrun() const { return position_ > size_ * 8; }
    size_t BytesUsed() const { return (position_ + 7) / 8; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

// Appends the run of zero counts that follows a zero count; false past the last symbol.
bool ReadZeroRun(ForwardBits& bits, unsigned maxSymbol, int16_t counts[256], unsigned* symbol) {
    for (;;) {
        unsigned repeat = bits.Read(2);
        for (unsigned i = 0; i < repeat; ++i) {
            if (*symbol > maxSymbol || bits.Overrun()) return false;
            counts[(*symbol)++] = 0;
        }
        if (repeat != 3) return true;
    }
}

}  // namespace

bool ReadFseCounts(const uint8_t* data, size_t size, unsigned maxLog, unsigned maxSymbol, int16_t counts[256],
                   unsigned* symbols, unsigned* log, size_t* used) {
    ForwardBits bits(data, size);
    unsigned accuracy = bits.Read(4) + 5;
    if (accuracy > maxLog) return false;
    int remaining = (1 << accuracy) + 1;
    int threshold = 1 << accuracy;
    unsigned width = accuracy + 1;
    unsigned symbol = 0;
    while (remaining > 1) {
        if (symbol > maxSymbol || bits.Overrun()) return false;
        int largest = 2 * threshold - 1 - remaining;
        int value = static_cast<int>(bits.Peek(width));
        if ((value & (threshold - 1)) < largest) {
            value &= threshold - 1;
            bits.Skip(width - 1);
        } else {
            value &= 2 * threshold - 1;
            if (value >= threshold) value -= largest;
            bits.Skip(width);
        }
        int count = value - 1;
        remaining -= count < 0 ? 1 : count;
        counts[symbol++] = static_cast<int16_t>(count);
        if (count == 0 && !ReadZeroRun(bits, maxSymbol, counts, &symbol)) return false;
        if (remaining < 1) return false;
        while (remaining < threshold) {
            --width;
            threshold >>= 1;
        }
    }
    if (remaining != 1 || bits.Overrun()) return false;
    *symbols = symbol;
    *log = accuracy;
    *used = bits.BytesUsed();
    return true;
}

bool BuildFseTable(const int16_t* counts, unsigned symbols, unsigned log, FseState* table) {
    const unsigned size = 1u << log;
    unsigned total = 0;
    for (unsigned s = 0; s < symbols; ++s) total += counts[s] < 0 ? 1 : static_cast<unsigned>(counts[s]);
    if (total != size || symbols > 256) return false;
    uint16_t next[256];
    unsigned high = size - 1;
    for (unsigned s = 0; s < symbols; ++s) {
        next[s] = counts[s] < 0 ? 1 : static_cast<uint16_t>(counts[s]);
        if (counts[s] < 0) table[high--].symbol = static_cast<uint8_t>(s);
    }
    const unsigned step = (size >> 1) + (size >> 3) + 3, mask = size - 1;
    unsigned position = 0;
    for (unsigned s = 0; s < symbols; ++s) {
        for (int i = 0; i < counts[s]; ++i) {
            table[position].symbol = static_cast<uint8_t>(s);
            do position = (position + step) & mask;
            while (position > high);
        }
    }
    if (position != 0) return false;
    for (unsigned i = 0; i < size; ++i) {
        unsigned x = next[table[i].symbol]++;
        unsigned bits = log - HighBit(x);
        table[i].bits = static_cast<uint8_t>(bits);
        table[i].next = static_cast<uint16_t>((x << bits) - size);
    }
    return true;
}

namespace {

constexpr unsigned MaxWeights = 255;  // the last symbol's weight is implied

// Weights compressed with FSE: two states take turns over one table until the stream runs out.
bool ReadFseWeights(const uint8_t* data, size_t size, uint8_t weights[256], unsigned* count) {
    int16_t counts[256];
    unsigned symbols = 0, log = 0;
    size_t used = 0;
    FseState table[1 << 6];
    if (!ReadFseCounts(data, size, 6, 15, counts, &symbols, &log, &used) || !BuildFseTable(counts, symbols, log, table))
        return false;
    BackwardBits bits;
    if (used >= size || !bits.Start(data + used, size - used)) return false;
    unsigned state[2] = {bits.Read(log), bits.Read(log)};
    unsigned n = 0;
    for (unsigned turn = 0;; turn ^= 1) {
        if (n + 2 > MaxWeights) return false;
        const FseState& entry = table[state[turn]];
        weights[n++] = entry.symbol;
        bits.Refill();
        state[turn] = entry.next + bits.Read(entry.bits);
        if (bits.Left() < 0) {
            weights[n++] = table[state[turn ^ 1]].symbol;
            break;
        }
    }
    *count = n;
    return true;
}

bool BuildHuffmanTable(uint8_t weights[256], unsigned count, HuffmanTable* table) {
    uint32_t sum = 0;
    for (unsigned s = 0; s < count; ++s) {
        if (weights[s] > MaxHuffmanBits) return false;
        if (weights[s]) sum += 1u << (weights[s] - 1);
    }
    if (sum == 0) return false;
    unsigned maxBits = HighBit(sum) + 1;
    uint32_t rest = (1u << maxBits) - sum;
    if (maxBits > MaxHuffmanBits || (rest & (rest - 1)) != 0) return false;
    weights[count++] = static_cast<uint8_t>(HighBit(rest) + 1);
    unsigned position = 0;
    for (unsigned weight = 1; weight <= maxBits; ++weight) {
        for (unsigned s = 0; s < count; ++s) {
            if (weights[s] != weight) continue;
            HuffmanCode code{static_cast<uint8_t>(s), static_cast<uint8_t>(maxBits + 1 - weight)};
            for (unsigned i = 0; i < 1u << (weight - 1); ++i) table->codes[position++] = code;
        }
    }
    table->maxBits = maxBits;
    return true;
}

}  // namespace

bool ReadHuffmanTable(const uint8_t* data, size_t size, HuffmanTable* table, size_t* used) {
    if (size == 0) return false;
    uint8_t weights[256];
    unsigned count = 0;
    unsigned header = data[0];
    if (header >= 128) {
        count = header - 127;
        size_t bytes = (count + 1) / 2;
        if (bytes + 1 > size) return false;
        for (unsigned i = 0; i < count; ++i) {
            uint8_t pair = data[1 + i / 2];
            weights[i] = static_cast<uint8_t>(i % 2 ? pair & 15 : pair >> 4);
        }
        *used = 1 + bytes;
    } else {
        if (header + 1u > size || !ReadFseWeights(data + 1, header, weights, &count)) return false;
        *used = 1 + header;
    }
    return BuildHuffmanTable(weights, count, table);
}

namespace {

// Five codes of at most 11 bits fit the 56 bits a refill guarantees.
constexpr size_t CodesPerRefill = 5;

inline uint8_t DecodeSymbol(const HuffmanTable& table, BackwardBits& bits) {
    HuffmanCode code = table.codes[bits.Peek(table.maxBits)];
    bits.Skip(code.bits);
    return code.symbol;
}

// Decodes symbols `from` to `count` of one stream; true when the stream is used up exactly.
bool FinishStream(const HuffmanTable& table, BackwardBits& bits, uint8_t* out, size_t from, size_t count) {
    size_t i = from;
    for (; i + CodesPerRefill <= count; i += CodesPerRefill) {
        bits.Refill();
        for (size_t j = 0; j < CodesPerRefill; ++j) out[i + j] = DecodeSymbol(table, bits);
    }
    bits.Refill();
    for (; i < count; ++i) out[i] = DecodeSymbol(table, bits);
    return bits.Left() == 0;
}

}  // namespace

bool DecodeHuffmanStream(const HuffmanTable& table, const uint8_t* stream, size_t size, uint8_t* out, size_t count) {
    BackwardBits bits;
    return bits.Start(stream, size) && FinishStream(table, bits, out, 0, count);
}

bool DecodeHuffmanStreams(const HuffmanTable& table, const uint8_t* const streams[4], const size_t sizes[4],
                          uint8_t* const out[4], const size_t counts[4]) {
    BackwardBits bits[4];
    for (int k = 0; k < 4; ++k)
        if (!bits[k].Start(streams[k], sizes[k])) return false;
    // The four streams side by side, so that their lookups overlap, while each has symbols left.
    size_t together = std::min(std::min(counts[0], counts[1]), std::min(counts[2], counts[3]));
    size_t i = 0;
    for (; i + CodesPerRefill <= together; i += CodesPerRefill) {
        for (int k = 0; k < 4; ++k) bits[k].Refill();
        for (size_t j = 0; j < CodesPerRefill; ++j) {
            out[0][i + j] = DecodeSymbol(table, bits[0]);
            out[1][i + j] = DecodeSymbol(table, bits[1]);
            out[2][i + j] = DecodeSymbol(table, bits[2]);
            out[3][i + j] = DecodeSymbol(table, bits[3]);
        }
    }
    for (int k = 0; k < 4; ++k)
        if (!FinishStream(table, bits[k], out[k], i, counts[k])) return false;
    return true;
}

}  // namespace zstd
}  // namespace codecs
