#include "spi/common/WideUtf8.h"

namespace {

bool IsHigh(unsigned unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLow(unsigned unit) { return unit >= 0xDC00 && unit < 0xE000; }

// Bytes of the sequence that starts with `lead`, and the UTF-16 units it stands for. A byte
// that starts no sequence (only bytes not made here) counts as one unit, in both functions
// alike, so that Utf8ToUtf16 never writes more than Utf16Length said.
size_t SequenceBytes(unsigned char lead) { return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

}  // namespace

void AppendUtf8(const wchar_t* units, size_t count, std::string* out) {
    for (size_t i = 0; i < count; ++i) {
        unsigned code = static_cast<unsigned>(units[i]) & 0xFFFF;
        if (code < 0x80) {
            out->push_back(static_cast<char>(code));
            continue;
        }
        if (IsHigh(code) && i + 1 < count && IsLow(static_cast<unsigned>(units[i + 1]) & 0xFFFF))
            code = 0x10000 + ((code - 0xD800) << 10) + ((static_cast<unsigned>(units[++i]) & 0xFFFF) - 0xDC00);
        if (code < 0x800) {
            out->push_back(static_cast<char>(0xC0 | (code >> 6)));
        } else if (code < 0x10000) {
            out->push_back(static_cast<char>(0xE0 | (code >> 12)));
            out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        } else {
            out->push_back(static_cast<char>(0xF0 | (code >> 18)));
            out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        }
        out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

std::string Utf8Of(const std::wstring& text) {
    std::string utf8;
    utf8.reserve(text.size());
    AppendUtf8(text.data(), text.size(), &utf8);
    return utf8;
}

size_t Utf16Length(const char* utf8, size_t length) {
    size_t units = 0;
    for (size_t i = 0; i < length;) {
        size_t bytes = SequenceBytes(static_cast<unsigned char>(utf8[i]));
        units += bytes == 4 && i + 4 <= length ? 2 : 1;
        i += i + bytes <= length ? bytes : 1;
    }
    return units;
}

void Utf8ToUtf16(const char* utf8, size_t length, wchar_t* out) {
    for (size_t i = 0; i < length;) {
        auto byte = [&](size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(utf8[i + at])); };
        size_t bytes = SequenceBytes(static_cast<unsigned char>(utf8[i]));
        if (i + bytes > length) bytes = 1;
        unsigned code = byte(0);
        if (bytes == 2) code = ((code & 0x1F) << 6) | (byte(1) & 0x3F);
        if (bytes == 3) code = ((code & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        if (bytes == 4) {
            code = ((code & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
            code -= 0x10000;
            *out++ = static_cast<wchar_t>(0xD800 + ((code >> 10) & 0x3FF));
            code = 0xDC00 + (code & 0x3FF);
        }
        *out++ = static_cast<wchar_t>(code);
        i += bytes;
    }
}

std::wstring Utf16Of(const std::string& utf8) {
    std::wstring text(Utf16Length(utf8.data(), utf8.size()), L'\0');
    if (!text.empty()) Utf8ToUtf16(utf8.data(), utf8.size(), &text[0]);
    return text;
}
