#include "spi/lha/EntryName.h"
#include <cstring>

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

size_t FolderPartLength(const std::string& name) {
    size_t folderLength = 0;
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(byte) && i + 1 < name.size()) {
            ++i;
        } else if (byte == '\\') {
            folderLength = i + 1;
        }
    }
    return folderLength;
}

bool EndsWithSeparator(const std::string& name) {
    return !name.empty() && FolderPartLength(name) == name.size();
}

size_t CopyBounded(char* out, size_t capacity, const char* text, size_t length) {
    if (capacity == 0) return 0;
    size_t count = 0;
    while (count < length && text[count] != '\0') {
        size_t width = IsLeadByte(static_cast<unsigned char>(text[count])) && count + 1 < length ? 2 : 1;
        if (count + width > capacity - 1) break;
        count += width;
    }
    memcpy(out, text, count);
    out[count] = '\0';
    return count;
}

}  // namespace lha
