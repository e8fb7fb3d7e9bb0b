#pragma once
// A new local-memory block whose pages are all there before it is filled.
#include <windows.h>
#include <cstddef>

// LocalAlloc(LMEM_FIXED, size); null when it cannot be had. A block of megabytes gets its
// pages supplied at once rather than one page per first write: under Wine on a virtual machine
// each such fault costs as much as copying the page several times over (reading 1 GB into a
// new block took twice as long as into one whose pages were there).
HLOCAL AllocateFilledIn(size_t size);
