#pragma once
#include <cstddef>

// The size of every path buffer of the program: at most 259 bytes of code page 932 text and
// the terminating zero, the limit of the Windows "A" file functions (MAX_PATH).
constexpr size_t PathSize = 260;
