#pragma once
#include <string>
#include <vector>

// What a process is for, decided from its command-line text alone. Nothing: a switch without
// an archive, and the process ends at once.
enum class StartMode { Settings, Immediate, List, Relaunch, Nothing };

struct StartupPlan {
    StartMode mode = StartMode::Settings;
    std::vector<std::wstring> pieces;  // immediate and relaunch: every piece, empty ones too
    std::wstring archivePath;          // list mode
};

// Marks a copy started by relaunch: marker, one blank, one archive path.
constexpr wchar_t CommandLineMarker[] = L"/Varnito-ZV-Morvel";
// The switches the shell's commands give (in any letter case), each followed by archive
// paths: /extract extracts them at once whatever the mode; /open opens them as the mode says.
constexpr wchar_t ExtractSwitch[] = L"/extract";
constexpr wchar_t OpenSwitch[] = L"/open";

// Cuts the text at every blank and at its end; there is no quoting.
std::vector<std::wstring> SplitCommandLine(const wchar_t* text);

// The paths of a text after a switch: blanks and tabs separate them, a double quote starts or
// ends a stretch whose blanks belong to the path and is itself left out ("" is an empty path).
// A backslash is always itself, before a quote too: a path holds no quotes to escape, and
// "C:\folder\" is the folder.
std::vector<std::wstring> QuotedPaths(const wchar_t* text);

// The decision itself. defrostingMode is only looked at when the text is not empty.
StartupPlan DecideStartup(const wchar_t* text, int defrostingMode);
