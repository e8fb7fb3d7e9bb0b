#include "spi/common/JoinedPieces.h"
#include <algorithm>
#include <cwchar>
#include "spi/common/WidePath.h"

namespace {

constexpr size_t LeastDigits = 3;  // ".001": fewer digits are some other suffix

// The number that the name ends with from `start` on; 0 when anything else follows, or more
// than 9 digits.
uint64_t NumberAt(const std::wstring& name, size_t start) {
    if (name.size() - start > 9) return 0;
    uint64_t number = 0;
    for (size_t i = start; i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9') return 0;
        number = number * 10 + static_cast<uint64_t>(name[i] - L'0');
    }
    return number;
}

// The piece number at the end of the name (".001" gives 1); 0 when the name ends otherwise.
uint64_t PieceNumber(const std::wstring& name, size_t* digits) {
    size_t dot = name.find_last_of(L".\\/:");
    if (dot == std::wstring::npos || name[dot] != L'.') return 0;
    *digits = name.size() - dot - 1;
    return *digits < LeastDigits ? 0 : NumberAt(name, dot + 1);
}

// The number with at least `digits` digits, zeros in front.
std::wstring Padded(size_t number, size_t digits) {
    std::wstring text = std::to_wstring(number);
    if (text.size() < digits) text.insert(0, digits - text.size(), L'0');
    return text;
}

std::wstring Numbered(const std::wstring& base, size_t digits, size_t number) {
    return base + L"." + Padded(number, digits);
}

constexpr size_t SplitZipDigits = 2;  // name.z01

bool EndsWithZip(const std::wstring& name) {
    return name.size() > 4 && name[name.size() - 4] == L'.' && _wcsicmp(name.c_str() + name.size() - 3, L"zip") == 0;
}

// Piece `number` of the split ZIP whose last piece is `zipName`: the same name with "z01" for
// "zip" (in the letter case of its "z").
std::wstring SplitZipPiece(const std::wstring& zipName, size_t number) {
    return zipName.substr(0, zipName.size() - 2) + Padded(number, SplitZipDigits);
}

// The number of a split ZIP's piece (".z01" gives 1); 0 when the name ends otherwise.
uint64_t SplitZipNumber(const std::wstring& name, size_t* digits) {
    size_t dot = name.find_last_of(L".\\/:");
    if (dot == std::wstring::npos || name[dot] != L'.' || dot + 1 >= name.size()) return 0;
    if (name[dot + 1] != L'z' && name[dot + 1] != L'Z') return 0;
    *digits = name.size() - dot - 2;
    return *digits < SplitZipDigits ? 0 : NumberAt(name, dot + 2);
}

}  // namespace

JoinedPieces::JoinedPieces(const wchar_t* path) {
    if (!path) return;
    base_ = path;
    if (EndsWithZip(base_) && PathExists(SplitZipPiece(base_, 1))) {
        OpenSplitZip();
        return;
    }
    if (PieceNumber(base_, &digits_) == 1) base_.resize(base_.size() - digits_ - 1);
    else digits_ = 0;
    for (size_t index = 0;; ++index) {
        std::wstring name = NameOf(index);
        if (index > 0 && !PathExists(name)) break;
        if (!OpenPiece(name)) return;
        if (digits_ == 0) break;
    }
    bool whole = digits_ == 0 || !PathExists(NameOf(pieces_.size() + 1));
    if (pieces_.size() > 1) whole = whole && pieces_.back()->Size() <= pieces_[0]->Size();
    open_ = whole && SameSizeBeforeLast();
}

// The .z pieces in turn while they exist, then the .zip; each .z piece is as long as the first.
void JoinedPieces::OpenSplitZip() {
    splitZip_ = true;
    size_t number = 1;
    for (; PathExists(SplitZipPiece(base_, number)); ++number)
        if (!OpenPiece(SplitZipPiece(base_, number))) return;
    if (!OpenPiece(base_)) return;
    open_ = !PathExists(SplitZipPiece(base_, number + 1)) && SameSizeBeforeLast();
}

bool JoinedPieces::OpenPiece(const std::wstring& name) {
    auto piece = std::make_unique<FileSource>(name.c_str());
    if (!piece->IsOpen()) return false;
    starts_.push_back(size_);
    size_ += piece->Size();
    pieces_.push_back(std::move(piece));
    return true;
}

bool JoinedPieces::SameSizeBeforeLast() const {
    for (size_t i = 1; i + 1 < pieces_.size(); ++i)
        if (pieces_[i]->Size() != pieces_[0]->Size()) return false;
    return true;
}

std::wstring JoinedPieces::NameOf(size_t index) const {
    if (splitZip_) {
        if (index + 1 == pieces_.size()) return base_;
        // The .z pieces come first; past the .zip, the .z piece that would come next.
        return SplitZipPiece(base_, index + 1 < pieces_.size() ? index + 1 : index);
    }
    return digits_ == 0 ? base_ : Numbered(base_, digits_, index + 1);
}

bool JoinedPieces::ReadAt(uint64_t offset, void* buffer, size_t count) {
    if (!open_ || !Contains(offset, count)) return false;
    auto* out = static_cast<uint8_t*>(buffer);
    size_t index = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), offset) - starts_.begin()) - 1;
    while (count > 0) {
        uint64_t within = offset - starts_[index];
        uint64_t left = pieces_[index]->Size() - within;
        size_t part = left < count ? static_cast<size_t>(left) : count;
        if (part > 0 && !pieces_[index]->ReadAt(within, out, part)) return false;
        out += part;
        offset += part;
        count -= part;
        ++index;
    }
    return true;
}

bool JoinedPieces::IsLaterPiece(const wchar_t* path) {
    if (!path) return false;
    std::wstring name = path;
    size_t digits = 0;
    if (SplitZipNumber(name, &digits) >= 1) {
        std::wstring zipName = name.substr(0, name.size() - digits) + L"ip";
        return PathExists(zipName);
    }
    if (PieceNumber(name, &digits) < 2) return false;
    std::wstring base = name.substr(0, name.size() - digits - 1);
    return PathExists(Numbered(base, digits, 1)) || PathExists(Numbered(base, LeastDigits, 1));
}
