#pragma once
// Names inside LHA archives: Shift-JIS bytes, folders separated by '\'.
#include <cstddef>
#include <string>

namespace lha {

// A stored name with its separators made '\': '/' and the 0xFF of extended folder names.
// Neither byte can be part of a double-byte character. Stops at an embedded 0 byte.
std::string NormalizeSeparators(const char* bytes, size_t length);

// Index just behind the last '\' that is a separator (not the second byte of a double-byte
// character); 0 when the name has none.
size_t FolderPartLength(const std::string& name);

}  // namespace lha
