#pragma once
#include <string>

// The full path of this process's program file, of any length; empty when it cannot be read.
std::wstring ProgramPath();
