#include "spi/tar/SparseMap.h"
#include "spi/common/SpiResult.h"
#include "spi/tar/TarHeader.h"

namespace tar {
namespace {

constexpr size_t MaxDigits = 19;  // fits 64 bits

// Appends a decimal digit to *value; false when the number grows too long.
bool AddDigit(char digit, size_t* digits, uint64_t* value) {
    if (digit < '0' || digit > '9' || ++*digits > MaxDigits) return false;
    *value = *value * 10 + static_cast<uint64_t>(digit - '0');
    return true;
}

// The decimal numbers, one a line, at the start of a member's data, read block by block.
class NumberLines {
public:
    NumberLines(TarStream& stream, uint64_t offset, uint64_t limit) : stream_(stream), offset_(offset), limit_(limit) {}

    // The next number. SpiResult: SpiBrokenData for a line that is no number, or the member's end.
    int Next(uint64_t* value) {
        *value = 0;
        size_t digits = 0;
        for (;;) {
            if (at_ == BlockSize) {
                int result = ReadBlock();
                if (result != SpiSuccess) return result;
            }
            char c = static_cast<char>(block_[at_++]);
            if (c == '\n') return digits > 0 ? SpiSuccess : SpiBrokenData;
            if (!AddDigit(c, &digits, value)) return SpiBrokenData;
        }
    }
    // The whole blocks read so far.
    uint64_t BlocksRead() const { return read_; }

private:
    int ReadBlock() {
        if (read_ + BlockSize > limit_) return SpiBrokenData;
        size_t produced = 0;
        int result = stream_.ReadAt(offset_ + read_, block_, BlockSize, &produced);
        if (result != SpiSuccess) return result;
        if (produced < BlockSize) return SpiBrokenData;
        read_ += BlockSize;
        at_ = 0;
        return SpiSuccess;
    }

    TarStream& stream_;
    uint64_t offset_, limit_, read_ = 0;
    uint8_t block_[BlockSize] = {};
    size_t at_ = BlockSize;
};

}  // namespace

bool MapHolds(const SparseMap& map, uint64_t stored) {
    uint64_t end = 0, sum = 0;
    for (const Region& region : map.regions) {
        if (region.offset < end || region.size > map.realSize || region.offset > map.realSize - region.size)
            return false;
        end = region.offset + region.size;
        sum += region.size;  // cannot wrap: the regions lie apart inside the real size
    }
    return sum == stored;
}

bool ReadRegionList(const std::string& text, std::vector<Region>* regions) {
    uint64_t numbers[2] = {};
    size_t count = 0, digits = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != ',') {
            if (!AddDigit(text[i], &digits, &numbers[count])) return false;
            continue;
        }
        if (digits == 0) return text.empty();  // an empty list, or an empty number
        digits = 0;
        if (++count < 2) continue;
        if (regions->size() >= MaxSparseRegions) return false;
        regions->push_back(Region{numbers[0], numbers[1]});
        count = 0;
        numbers[0] = numbers[1] = 0;
    }
    return count == 0;
}

int ReadDataMap(TarStream& stream, uint64_t offset, uint64_t limit, std::vector<Region>* regions,
                uint64_t* mapSize) {
    NumberLines lines(stream, offset, limit);
    uint64_t count = 0;
    int result = lines.Next(&count);
    if (result != SpiSuccess) return result;
    if (count > MaxSparseRegions) return SpiBrokenData;
    for (uint64_t i = 0; i < count; ++i) {
        Region region;
        if ((result = lines.Next(&region.offset)) != SpiSuccess || (result = lines.Next(&region.size)) != SpiSuccess)
            return result;
        regions->push_back(region);
    }
    *mapSize = lines.BlocksRead();
    return SpiSuccess;
}

}  // namespace tar
