#pragma once
// The name of a file for a plug-in that takes only code page 932 paths in 260-byte buffers.
#include <string>

// The path in code page 932 when every character has an exact spelling there, else its short
// (8.3) form when that has one; empty when neither does or neither fits 259 bytes: such a
// plug-in cannot be handed that file.
std::string AnsiPluginPath(const std::wstring& path);
