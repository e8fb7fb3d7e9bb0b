#include "spi/common/NameText.h"
#include <windows.h>

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

// UTF-16 to code page 932; characters it lacks become '_'.
bool WideToCp932(const std::wstring& wide, std::string* out) {
    int wideLength = static_cast<int>(wide.size());
    int length = WideCharToMultiByte(CodePage932, 0, wide.data(), wideLength, nullptr, 0, "_", nullptr);
    if (length <= 0) return false;
    out->resize(length);
    return WideCharToMultiByte(CodePage932, 0, wide.data(), wideLength, &(*out)[0], length, "_", nullptr) == length;
}

}  // namespace

bool Utf8ToCp932(const std::string& utf8, std::string* out) {
    out->clear();
    std::wstring wide;
    return utf8.empty() || (Utf8ToWide(utf8, &wide) && WideToCp932(wide, out));
}

bool IsUtf8(const std::string& bytes) {
    std::wstring wide;
    return bytes.empty() || Utf8ToWide(bytes, &wide);
}

bool Utf8ToCp932Exactly(const std::string& utf8, std::string* out) {
    std::wstring wide;
    return !utf8.empty() && Utf8ToWide(utf8, &wide) && Utf16ToCp932Exactly(wide, out);
}

bool Utf16ToCp932Exactly(const std::wstring& utf16, std::string* out) {
    std::wstring back;
    if (utf16.empty() || utf16.find(L'\0') != std::wstring::npos || !WideToCp932(utf16, out)) return false;
    int length = MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, out->data(), static_cast<int>(out->size()),
                                     nullptr, 0);
    if (length <= 0) return false;
    back.resize(length);
    MultiByteToWideChar(CodePage932, MB_ERR_INVALID_CHARS, out->data(), static_cast<int>(out->size()), &back[0],
                        length);
    return back == utf16;
}
