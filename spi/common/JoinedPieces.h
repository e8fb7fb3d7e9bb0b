#pragma once
// A file cut into numbered pieces (name.001, name.002, ...: 7-Zip's volumes, or any file cut by
// a splitter) read as the one file it was cut from. Given the first piece, the pieces after it
// are opened in turn while they exist, and positions run across them. Any other name is read
// alone, as a set of one piece.
//
// A split ZIP (name.z01, name.z02, ..., name.zip last) is opened through its .zip when name.z01
// lies beside it: the .z pieces in turn while they exist, then the .zip, each piece a disk of the
// archive, whose offsets count from the disk's start (StartOf).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "spi/common/FileSource.h"

class JoinedPieces : public ByteSource {
public:
    explicit JoinedPieces(const wchar_t* path);

    // False when a piece cannot be opened or the set is not whole: a piece missing before one
    // that exists, or a piece before the last shorter than the first (a splitter cuts equal
    // pieces), so that a damaged set is refused rather than read as a shorter file.
    bool IsOpen() const { return open_; }
    // Whether the name was a first piece (a set, even of one piece).
    bool IsSet() const { return digits_ != 0 || splitZip_; }
    // Whether the pieces are the disks of a split ZIP.
    bool IsSplitZip() const { return splitZip_; }
    size_t Count() const { return pieces_.size(); }
    FileSource& Piece(size_t index) { return *pieces_[index]; }
    // The name of piece `index` (0 for the first); for a set, Count() names the piece that would
    // come next.
    std::wstring NameOf(size_t index) const;
    // Where piece `index` starts in the joined file.
    uint64_t StartOf(size_t index) const { return starts_[index]; }

    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* buffer, size_t count) override;

    // Whether the path names a later piece (.002 and on) of a set whose first piece lies beside
    // it, or a .z piece of a split ZIP whose .zip lies beside it: a part of an archive, not an
    // archive.
    static bool IsLaterPiece(const wchar_t* path);

private:
    bool OpenPiece(const std::wstring& name);
    bool SameSizeBeforeLast() const;
    void OpenSplitZip();

    std::wstring base_;  // the name less its number, for a set; the whole name otherwise
    size_t digits_ = 0;  // how many digits the first piece's number has; 0: not a set
    std::vector<std::unique_ptr<FileSource>> pieces_;
    std::vector<uint64_t> starts_;  // where each piece starts in the joined file
    uint64_t size_ = 0;
    bool open_ = false;
    bool splitZip_ = false;
};
