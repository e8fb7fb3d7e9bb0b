#pragma once
// Entry names stored as Unicode (UTF-8 or UTF-16), turned into the code page 932 text that
// hosts and our records use, and kept apart when two of them come out the same.
#include <string>
#include <unordered_map>

// UTF-8 to code page 932, as Utf16ToCp932 does. False for malformed UTF-8.
bool Utf8ToCp932(const std::string& utf8, std::string* out);

// UTF-16 to code page 932: composed first (NFC), so that a base letter and its combining mark
// become the one character code page 932 has; then each character code page 932 cannot spell
// exactly (no best-fit stand-in, which could name another file or add a separator), and a NUL,
// becomes '_'.
std::string Utf16ToCp932(const std::wstring& utf16);

// Whether the bytes are well-formed UTF-8 (plain ASCII is).
bool IsUtf8(const std::string& bytes);

// Whether every byte is below 0x80.
bool IsAscii(const std::string& bytes);

// Whether the names an archive stores without saying how (ZIP's unflagged names, LHA's) are
// UTF-8: every one is, and one at least is not plain ASCII, as archivers on Linux, Android and
// the Mac write them; else they are code page 932.
class Utf8NameGuess {
public:
    void Add(const std::string& name);
    bool NamesAreUtf8() const { return allUtf8_ && beyondAscii_; }

private:
    bool allUtf8_ = true, beyondAscii_ = false;
};

// Tells apart the entries of one archive whose different stored names came out the same:
// the second becomes "name~2.txt", the third "name~3.txt", and so on. The same stored name
// twice stays one name (a later copy of an entry replaces the earlier one, as the archive's
// maker meant).
class DistinctNames {
public:
    // anyConverted false says no entry's name changes in conversion: then different stored
    // names stay different, the same one stays one, and nothing needs to be kept.
    explicit DistinctNames(bool anyConverted = true) : anyConverted_(anyConverted) {}
    // The name to use for an entry stored as `stored` and converted to `converted`.
    std::string Name(const std::string& stored, const std::string& converted);

private:
    bool anyConverted_;
    // key of a name given out -> its stored name's key, or nothing when that is the same
    std::unordered_map<std::string, std::string> storedOf_;
};
