#pragma once
#include <cstddef>

// The size of every path buffer of the program: at most 259 bytes of code page 932 text and
// the terminating zero, the limit of the Windows "A" file functions (MAX_PATH).
constexpr size_t PathSize = 260;

// The most UTF-16 units a path has in the wide file functions (the length a path given there
// can reach, not counting its terminator). A longer text is no path: it is refused, never cut,
// since a cut path could name another folder.
constexpr size_t MaxWidePathLength = 32767;
