#include "spi/common/AnsiNames.h"
#include "spi/common/EntryPath.h"
#include "spi/common/NameText.h"
#include "spi/common/PackedText.h"

namespace {

bool AnyBeyondAscii(const CompactRecords& records) {
    for (size_t i = 0; i < records.Count(); ++i) {
        KeptRecord kept = records.Get(i);
        for (std::string_view name : {kept.path, kept.fileName})
            for (char c : name)
                if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

}  // namespace

// A record's code page 932 name can differ from its ASCII one only when it was told apart from
// another record's converted name, so an archive of ASCII names keeps every name as it is.
AnsiNames::AnsiNames(const CompactRecords& records) {
    if (!AnyBeyondAscii(records)) return;
    starts_.assign(records.Count(), AsKept);
    DistinctNames names;
    EntryPath ansi;
    for (size_t i = 0; i < records.Count(); ++i) {
        KeptRecord kept = records.Get(i);
        std::string joined = std::string(kept.path) + std::string(kept.fileName);
        SplitEntryName(names.Name(joined, AnsiName(joined)), &ansi, NameForm::Cp932);
        if (ansi.path == kept.path && ansi.fileName == kept.fileName) continue;
        starts_[i] = bytes_.size();
        AppendPacked(&bytes_, ansi.path);
        AppendPacked(&bytes_, ansi.fileName);
    }
    bytes_.shrink_to_fit();
}

void AnsiNames::Get(size_t index, const KeptRecord& kept, std::string_view* path, std::string_view* fileName) const {
    if (starts_.empty() || starts_[index] == AsKept) {
        *path = kept.path;
        *fileName = kept.fileName;
        return;
    }
    const char* at = bytes_.data() + starts_[index];
    *path = ReadPacked(&at);
    *fileName = ReadPacked(&at);
}
