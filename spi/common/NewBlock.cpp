#include "spi/common/NewBlock.h"

namespace {
// Smaller blocks cost fewer faults than the calls that spare them.
constexpr size_t FillInFrom = 4u << 20;
// Under the smallest lock limits Linux sets by default for a user (8 MB).
constexpr size_t LockStep = 1u << 20;

// Locking a range makes the system supply its pages in one call (Wine locks with mlock); the
// lock is let go at once. Where locking is refused (a Windows working set quota, a lower
// limit) the pages come on first write, as they would anyway.
void SupplyPages(char* start, size_t size) {
    for (size_t done = 0; done < size; done += LockStep) {
        size_t step = size - done < LockStep ? size - done : LockStep;
        if (!VirtualLock(start + done, step)) return;
        VirtualUnlock(start + done, step);
    }
}
}  // namespace

HLOCAL AllocateFilledIn(size_t size) {
    HLOCAL block = LocalAlloc(LMEM_FIXED, size);
    if (block && size >= FillInFrom) SupplyPages(static_cast<char*>(block), size);
    return block;
}
