#pragma once
// Entry names as our plug-ins keep them: exactly as the archive stores them, in UTF-8 (see
// WideUtf8.h), whatever the archive stored (UTF-8, UTF-16 or code page 932); the code page 932
// text that ANSI hosts get made from them; and names kept apart when two of them come out the
// same.
#include <string>
#include <unordered_map>

// A name stored in UTF-8, composed (NFC: a base letter and its combining mark, as the Mac
// stores them, become the one character they make). False for malformed UTF-8.
bool Utf8Name(const std::string& stored, std::string* name);
// A name stored in UTF-16, composed.
std::string Utf16Name(const std::wstring& stored);
// A name stored in code page 932, as it is (it has no combining marks).
std::string Cp932Name(const std::string& stored);

// A kept name as ANSI hosts get it: each character code page 932 cannot spell exactly (no
// best-fit stand-in, which could name another file or add a separator), and a NUL, is '_'.
std::string AnsiName(const std::string& name);

// UTF-16 to code page 932 as AnsiName does, composed first.
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

// Tells apart the entries of one archive whose different stored names came out the same (kept
// names, or their code page 932 text): the second becomes "name~2.txt", the third
// "name~3.txt", and so on. The same stored name twice stays one name (a later copy of an entry replaces the earlier one, as the archive's
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
