#include "spi/common/NameText.h"
#include <windows.h>
#include "spi/common/EntryPath.h"
#include "spi/common/WideUtf8.h"
#include "text/WideText.h"

namespace {

constexpr UINT CodePage932 = 932;

bool Utf8ToWide(const std::string& utf8, std::wstring* wide) {
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                                     nullptr, 0);
    if (length <= 0) return false;
    wide->resize(length);
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                               &(*wide)[0], length) == length;
}

// Whether composing leaves the text as it is, without asking Windows (two calls a name, which
// cost more than the rest of a listing of Japanese names): every character is one that is
// composed already and that no character after it combines with, as long as no combining mark
// comes. These are those below U+0300 (where the marks begin), kana but the two combining sound
// marks, CJK ideographs (not the compatibility ones), Hangul syllables and the full- and
// half-width forms.
bool StaysComposed(const std::wstring& text) {
    for (wchar_t unit : text) {
        bool stays = unit < 0x300 || (unit >= 0x3041 && unit <= 0x3096) || (unit >= 0x309B && unit <= 0x30FF) ||
                     (unit >= 0x4E00 && unit <= 0x9FFF) || (unit >= 0xAC00 && unit <= 0xD7A3) ||
                     (unit >= 0xFF01 && unit <= 0xFF9F);
        if (!stays) return false;
    }
    return true;
}

// The text in NFC; unchanged when Windows cannot compose it (such as a lone surrogate).
std::wstring Composed(const std::wstring& text) {
    if (StaysComposed(text)) return text;
    int length = static_cast<int>(text.size());
    int room = NormalizeString(NormalizationC, text.data(), length, nullptr, 0);
    if (room <= 0) return text;
    std::wstring composed(room, L'\0');
    room = NormalizeString(NormalizationC, text.data(), length, &composed[0], room);
    if (room <= 0) return text;
    composed.resize(room);
    return composed;
}

// The code page 932 bytes of one character (one or two UTF-16 units), or "_" when code page
// 932 has no form that converts back to the same character.
std::string CharacterCp932(const wchar_t* units, int count) {
    char bytes[8];
    BOOL defaulted = FALSE;
    int length = WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, units, count, bytes, sizeof bytes, "_",
                                     &defaulted);
    wchar_t back[4];
    if (length <= 0 || defaulted || units[0] == L'\0' ||
        MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, bytes, length, back, 4) != count ||
        std::wstring(back, count) != std::wstring(units, count))
        return "_";
    return std::string(bytes, length);
}

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// "name~2.txt" for "name.txt" and 2: the number goes before the extension of the last part.
std::string Numbered(const std::string& name, unsigned number) {
    size_t part = name.find_last_of("\\/");
    size_t dot = name.rfind('.');
    bool folder = !name.empty() && (name.back() == '/' || name.back() == '\\');
    size_t at = name.size() - (folder ? 1 : 0);
    if (!folder && dot != std::string::npos && dot > (part == std::string::npos ? 0 : part + 1)) at = dot;
    return name.substr(0, at) + "~" + std::to_string(number) + name.substr(at);
}

}  // namespace

bool Utf8Name(const std::string& stored, std::string* name) {
    std::wstring wide;
    if (IsAscii(stored)) {
        *name = stored;
        return true;
    }
    if (!Utf8ToWide(stored, &wide)) return false;
    *name = Utf16Name(wide);
    return true;
}

std::string Utf16Name(const std::wstring& stored) { return Utf8Of(Composed(stored)); }

std::string Cp932Name(const std::string& stored) { return IsAscii(stored) ? stored : Utf8Of(Cp932ToWide(stored)); }

std::string AnsiName(const std::string& name) { return IsAscii(name) ? name : Utf16ToCp932(Utf16Of(name)); }

// Most names' every character has its exact spelling, and two conversions of the whole text
// show it; the others are converted a character at a time.
std::string Utf16ToCp932(const std::wstring& utf16) {
    std::wstring composed = Composed(utf16);
    std::string out;
    if (composed.find(L'\0') == std::wstring::npos && WideToCp932(composed, &out) && Cp932ToWide(out) == composed)
        return out;
    out.clear();
    for (size_t i = 0; i < composed.size();) {
        int count = IsHighSurrogate(composed[i]) && i + 1 < composed.size() && IsLowSurrogate(composed[i + 1]) ? 2 : 1;
        out += CharacterCp932(composed.data() + i, count);
        i += count;
    }
    return out;
}

bool IsUtf8(const std::string& bytes) {
    std::wstring wide;
    return bytes.empty() || Utf8ToWide(bytes, &wide);
}

bool IsAscii(const std::string& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

void Utf8NameGuess::Add(const std::string& name) {
    allUtf8_ = allUtf8_ && IsUtf8(name);
    beyondAscii_ = beyondAscii_ || !IsAscii(name);
}

std::string DistinctNames::Name(const std::string& stored, const std::string& converted) {
    if (!anyConverted_) return converted;
    std::string storedKey = NameKey(stored, false);
    std::string name = converted;
    for (unsigned number = 2;; ++number) {
        std::string key = NameKey(name, false);
        // Most names are given out as they are stored; those keep no second copy of it. (A
        // converted name is empty only when the stored one is.)
        std::string storedCopy = key == storedKey ? std::string() : storedKey;
        auto given = storedOf_.emplace(std::move(key), std::move(storedCopy));
        const std::string& storedBefore = given.first->second.empty() ? given.first->first : given.first->second;
        if (given.second || storedBefore == storedKey) return name;
        name = Numbered(converted, number);
    }
}
