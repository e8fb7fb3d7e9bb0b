#include "spi/lha/EntryName.h"
#include <cstring>
#include "text/Cp932.h"

namespace lha {

std::string NormalizeSeparators(const char* bytes, size_t length) {
    std::string name;
    name.reserve(length);
    for (size_t i = 0; i < length && bytes[i] != '\0'; ++i) {
        unsigned char byte = static_cast<unsigned char>(bytes[i]);
        name.push_back(byte == '/' || byte == 0xFF ? '\\' : static_cast<char>(byte));
    }
    return name;
}

size_t FolderPartLength(const std::string& name) { return cp932::AfterLastSeparator(name.data(), name.size(), "\\"); }

size_t CopyBounded(char* out, size_t capacity, const char* text, size_t length) {
    if (capacity == 0) return 0;
    size_t count = cp932::FittingLength(text, length, capacity - 1);
    memcpy(out, text, count);
    out[count] = '\0';
    return count;
}

}  // namespace lha
