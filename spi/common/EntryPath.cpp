#include "spi/common/EntryPath.h"
#include "text/Cp932.h"

namespace {

bool IsDrive(const std::string& name, size_t start, size_t length) {
    char letter = name[start];
    return length == 2 && name[start + 1] == ':' &&
           ((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'));
}

// Whether the part of name at start is one that is dropped: empty, ".", ".." or, first of
// all parts, a drive.
bool Dropped(const std::string& name, size_t start, size_t length) {
    if (length == 0) return true;
    if (name[start] == '.' && (length == 1 || (length == 2 && name[start + 1] == '.'))) return true;
    return start == 0 && IsDrive(name, start, length);
}

// The bytes of the character at i.
size_t WidthAt(const std::string& name, size_t i, NameForm form) {
    return form == NameForm::Cp932 ? cp932::CharWidth(name, i) : 1;
}

}  // namespace

bool SplitEntryName(const std::string& name, EntryPath* result, NameForm form) {
    result->path.clear();
    result->fileName.clear();
    // The last part kept so far waits in fileName until the next one shows it was a folder.
    bool kept = false, endsWithSeparator = false;
    auto keep = [&](size_t start, size_t length) {
        if (Dropped(name, start, length)) return;
        if (kept) result->path.append(result->fileName).push_back('\\');
        result->fileName.assign(name, start, length);
        kept = true;
    };
    size_t start = 0;
    // A 0x5C inside a double-byte character is no separator.
    for (size_t i = 0; i < name.size();) {
        size_t width = WidthAt(name, i, form);
        endsWithSeparator = width == 1 && cp932::IsSeparator(name[i]);
        i += width;
        if (endsWithSeparator) {
            keep(start, i - 1 - start);
            start = i;
        }
    }
    if (!endsWithSeparator) keep(start, name.size() - start);
    if (!kept) return false;
    if (endsWithSeparator) {
        result->path.append(result->fileName).push_back('\\');
        result->fileName.clear();
    }
    return true;
}

bool SameEntryName(const std::string& a, const std::string& b, bool ignoreCase) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size();) {
        size_t width = cp932::CharWidth(a, i);
        if (width != cp932::CharWidth(b, i)) return false;
        char x = a[i], y = b[i];
        if (width == 2) {
            if (a.compare(i, 2, b, i, 2) != 0) return false;
        } else if (!(cp932::IsSeparator(x) && cp932::IsSeparator(y)) &&
                   (ignoreCase ? cp932::UpperAscii(x) != cp932::UpperAscii(y) : x != y)) {
            return false;
        }
        i += width;
    }
    return true;
}

std::string NameKey(const std::string& name, bool foldCase, NameForm form) {
    std::string key = foldCase && form == NameForm::Cp932 ? cp932::UpperAscii(name) : name;
    // '/' is never the second byte of a double-byte character.
    for (char& c : key) {
        if (c == '/') c = '\\';
        if (foldCase && form == NameForm::Utf8) c = cp932::UpperAscii(c);
    }
    return key;
}
