#include "spi/common/password/PasswordForms.h"

#include <windows.h>

namespace password {
namespace {

constexpr UINT kCp932 = 932;
constexpr size_t kLongest = 0x10000;  // bytes; the dialog takes far fewer

std::wstring Wide(const std::string& cp932) {
    if (cp932.empty() || cp932.size() > kLongest) return std::wstring();
    const int size = static_cast<int>(cp932.size());
    const int count = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, cp932.data(), size, nullptr, 0);
    if (count <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, cp932.data(), size, &wide[0], count);
    return wide;
}

}  // namespace

std::string AsUtf8(const std::string& cp932) {
    const std::wstring wide = Wide(cp932);
    if (wide.empty()) return std::string();
    const int size = static_cast<int>(wide.size());
    const int count = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return std::string();
    std::string utf8(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &utf8[0], count, nullptr, nullptr);
    return utf8;
}

std::string AsUtf16Le(const std::string& cp932) {
    std::string bytes;
    for (wchar_t unit : Wide(cp932)) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>((unit >> 8) & 0xFF);
    }
    return bytes;
}

}  // namespace password
