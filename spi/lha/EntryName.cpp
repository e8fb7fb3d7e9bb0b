#include "spi/lha/EntryName.h"
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

}  // namespace lha
