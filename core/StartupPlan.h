#pragma once
#include <string>
#include <vector>

// What a process is for, decided from its command-line text alone.
enum class StartMode { Settings, Immediate, List, Relaunch };

struct StartupPlan {
    StartMode mode = StartMode::Settings;
    std::vector<std::string> pieces;  // immediate and relaunch: every piece, empty ones too
    std::string archivePath;          // list mode
};

// Marks a copy started by relaunch: marker, one blank, one archive path.
constexpr char CommandLineMarker[] = "/Varnito-ZV-Morvel";
// Archive paths live in 260-byte buffers.
constexpr size_t MaxPieceLength = 259;

// Cuts the text at every blank and at its end; there is no quoting.
std::vector<std::string> SplitCommandLine(const char* text);

// The decision itself. defrostingMode is only looked at when the text is not empty.
StartupPlan DecideStartup(const char* text, int defrostingMode);

// A piece as a window receives it: one that does not fit a path buffer is refused as a
// whole (it becomes the empty path, which names no file) instead of being cut short.
std::string FittingPath(const std::string& piece);
