#include "spi/zip/EntryLayout.h"
#include <algorithm>
#include "spi/common/SpiResult.h"

namespace zip {
namespace {

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return b > UINT64_MAX - a ? UINT64_MAX : a + b; }

// Where an entry's bytes end as far as its central record tells: the local header's fixed
// part, the data and the smallest data descriptor. The name and extra field that the local
// header holds beside it are left out: only reading every local header would tell their
// lengths, which would slow the listing of a large archive, and an overlap they hide lets the
// data of all entries together take no more than twice the file's bytes.
uint64_t EntryEnd(const Entry& entry) {
    uint64_t fixed = LocalHeaderSize + (entry.flags & FlagDataDescriptor ? DataDescriptorMinSize : 0);
    return SaturatingAdd(entry.localHeaderOffset, SaturatingAdd(fixed, entry.packedSize));
}

// The entries in the order they lie in the source.
std::vector<Entry*> InPlaceOrder(std::vector<Entry>* entries) {
    std::vector<Entry*> order;
    order.reserve(entries->size());
    for (Entry& entry : *entries) order.push_back(&entry);
    auto byOffset = [](const Entry* a, const Entry* b) { return a->localHeaderOffset < b->localHeaderOffset; };
    if (!std::is_sorted(order.begin(), order.end(), byOffset)) std::sort(order.begin(), order.end(), byOffset);
    return order;
}

// The bytes of an entry, or of the directory (entry null).
struct Span {
    uint64_t start, end;
    Entry* entry;
};

// The entries in place order with the directory among them, by its offset.
class Spans {
public:
    Spans(std::vector<Entry*> order, const DirectoryLocation& directory)
        : order_(std::move(order)), directory_{directory.offset, SaturatingAdd(directory.offset, directory.size), nullptr} {
        auto before = [](const Entry* entry, uint64_t offset) { return entry->localHeaderOffset < offset; };
        directoryAt_ = static_cast<size_t>(
            std::lower_bound(order_.begin(), order_.end(), directory.offset, before) - order_.begin());
    }
    size_t Count() const { return order_.size() + 1; }
    Span At(size_t index) const {
        if (index == directoryAt_) return directory_;
        Entry* entry = order_[index < directoryAt_ ? index : index - 1];
        return {entry->localHeaderOffset, EntryEnd(*entry), entry};
    }

private:
    std::vector<Entry*> order_;
    Span directory_;
    size_t directoryAt_;
};

}  // namespace

int EntryLayout::Build(std::vector<Entry>* entries, const DirectoryLocation& directory, uint64_t sourceSize) {
    Spans spans(InPlaceOrder(entries), directory);
    starts_.clear();
    starts_.reserve(spans.Count());
    sourceSize_ = sourceSize;
    Span span = spans.At(0);
    for (size_t i = 0; i < spans.Count(); ++i) {
        starts_.push_back(span.start);
        Span next = i + 1 < spans.Count() ? spans.At(i + 1) : Span{sourceSize, sourceSize, nullptr};
        if (i + 1 < spans.Count() && span.end > next.start) return SpiBrokenData;
        if (span.entry) span.entry->nextStart = std::min(next.start, sourceSize);
        span = next;
    }
    return SpiSuccess;
}

uint64_t EntryLayout::NextStart(uint64_t localHeaderOffset) const {
    auto next = std::upper_bound(starts_.begin(), starts_.end(), localHeaderOffset);
    return next == starts_.end() ? sourceSize_ : std::min(*next, sourceSize_);
}

}  // namespace zip
