#include "spi/lha/OutputSinks.h"
#include <algorithm>
#include <cstring>

namespace lha {

bool MemorySink::Write(const uint8_t* data, size_t length) {
    if (length > capacity_ - written_) return false;
    memcpy(block_ + written_, data, length);
    written_ += length;
    return true;
}

bool FileSink::Write(const uint8_t* data, size_t length) {
    while (length > 0) {
        DWORD piece = static_cast<DWORD>(std::min<size_t>(length, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file_, data, piece, &written, nullptr) || written != piece) return false;
        data += piece;
        length -= piece;
    }
    return true;
}

}  // namespace lha
