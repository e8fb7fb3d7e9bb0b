#include "spi/common/CallbackProgress.h"
#include <climits>

bool CallbackProgress::Continue(uint64_t done, uint64_t total) {
    if (!callback_) return true;
    while (total > INT_MAX) {
        total >>= 1;
        done >>= 1;
    }
    return callback_(static_cast<int>(done), static_cast<int>(total), data_) == 0;
}
