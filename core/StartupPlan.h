#pragma once
#include <string>
#include <vector>

// What a process is for, decided from its command-line text alone.
enum class StartMode { Settings, Immediate, List, Relaunch };

struct StartupPlan {
    StartMode mode = StartMode::Settings;
    std::vector<std::wstring> pieces;  // immediate and relaunch: every piece, empty ones too
    std::wstring archivePath;          // list mode
};

// Marks a copy started by relaunch: marker, one blank, one archive path.
constexpr wchar_t CommandLineMarker[] = L"/Varnito-ZV-Morvel";

// Cuts the text at every blank and at its end; there is no quoting.
std::vector<std::wstring> SplitCommandLine(const wchar_t* text);

// The decision itself. defrostingMode is only looked at when the text is not empty.
StartupPlan DecideStartup(const wchar_t* text, int defrostingMode);
