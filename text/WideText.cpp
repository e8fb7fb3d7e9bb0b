#include "text/WideText.h"
#include <windows.h>

namespace {
constexpr UINT CodePage932 = 932;
}  // namespace

std::wstring Cp932ToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int length = MultiByteToWideChar(CodePage932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CodePage932, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

bool WideToCp932(const std::wstring& text, std::string* out) {
    if (text.empty()) {
        out->clear();
        return true;
    }
    BOOL lossy = FALSE;
    int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, &lossy);
    if (length <= 0 || lossy) return false;
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, text.data(), size, &bytes[0], length, nullptr, &lossy);
    if (lossy) return false;
    *out = std::move(bytes);
    return true;
}

std::string WideToCp932Shown(const std::wstring& text) {
    if (text.empty()) return std::string();
    int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, "?", nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CodePage932, WC_NO_BEST_FIT_CHARS, text.data(), size, &bytes[0], length, "?", nullptr);
    return bytes;
}
