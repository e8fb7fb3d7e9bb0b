#include "core/StartupPlan.h"
#include <cwchar>

std::vector<std::wstring> SplitCommandLine(const wchar_t* text) {
    std::vector<std::wstring> pieces;
    const wchar_t* start = text;
    for (const wchar_t* p = text;; ++p) {
        if (*p == L' ' || *p == L'\0') {
            pieces.emplace_back(start, p);
            if (*p == L'\0') break;
            start = p + 1;
        }
    }
    return pieces;
}

StartupPlan DecideStartup(const wchar_t* text, int defrostingMode) {
    StartupPlan plan;
    if (!text || !*text) {
        plan.mode = StartMode::Settings;
        return plan;
    }
    if (defrostingMode != 0) {
        plan.mode = StartMode::Immediate;
        plan.pieces = SplitCommandLine(text);
        return plan;
    }
    const size_t markerLength = wcslen(CommandLineMarker);
    bool marked = wcsncmp(text, CommandLineMarker, markerLength) == 0;
    const wchar_t* firstBlank = wcschr(text, L' ');
    if (!marked && firstBlank) {
        plan.mode = StartMode::Relaunch;
        plan.pieces = SplitCommandLine(text);  // passed on whole; each copy judges its own
        return plan;
    }
    plan.mode = StartMode::List;
    const wchar_t* path = text;
    if (marked && firstBlank) path = text + markerLength + 1;
    plan.archivePath = path;
    return plan;
}
