#include "spi/common/CompactRecords.h"
#include <cstring>
#include "spi/common/PackedText.h"

void CompactRecords::Add(const RecordNumbers& numbers, const std::string& path, const std::string& fileName) {
    starts_.push_back(bytes_.size());
    bytes_.append(reinterpret_cast<const char*>(&numbers), sizeof numbers);
    AppendPacked(&bytes_, path);
    AppendPacked(&bytes_, fileName);
}

void CompactRecords::Trim() {
    bytes_.shrink_to_fit();
    starts_.shrink_to_fit();
}

void CompactRecords::Clear() {
    std::string().swap(bytes_);
    std::vector<size_t>().swap(starts_);
}

KeptRecord CompactRecords::Get(size_t index) const {
    KeptRecord record;
    const char* at = bytes_.data() + starts_[index];
    memcpy(&record.numbers, at, sizeof record.numbers);
    at += sizeof record.numbers;
    record.path = ReadPacked(&at);
    record.fileName = ReadPacked(&at);
    return record;
}
