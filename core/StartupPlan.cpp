#include "core/StartupPlan.h"
#include <cwchar>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The text after the switch when the text begins with it (followed by a blank or nothing).
const wchar_t* AfterSwitch(const wchar_t* text, const wchar_t* name) {
    size_t length = wcslen(name);
    if (_wcsnicmp(text, name, length) != 0) return nullptr;
    const wchar_t* rest = text + length;
    return *rest == L'\0' || IsBlank(*rest) ? rest : nullptr;
}

// A switch's plan: immediate extraction of every path, or the plan of the mode for /open.
StartupPlan SwitchPlan(std::vector<std::wstring> paths, bool extract, int defrostingMode) {
    StartupPlan plan;
    if (paths.empty()) {
        plan.mode = StartMode::Nothing;
    } else if (extract || defrostingMode != 0) {
        plan.mode = StartMode::Immediate;
        plan.pieces = std::move(paths);
    } else if (paths.size() == 1) {
        plan.mode = StartMode::List;
        plan.archivePath = paths[0];
    } else {
        plan.mode = StartMode::Relaunch;  // the marker's copies take a path with blanks whole
        plan.pieces = std::move(paths);
    }
    return plan;
}

}  // namespace

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

std::vector<std::wstring> QuotedPaths(const wchar_t* text) {
    std::vector<std::wstring> paths;
    const wchar_t* p = text;
    for (;;) {
        while (IsBlank(*p)) ++p;
        if (*p == L'\0') return paths;
        std::wstring path;
        bool quoted = false;
        for (; *p && (quoted || !IsBlank(*p)); ++p) {
            if (*p == L'"')
                quoted = !quoted;
            else
                path += *p;
        }
        paths.push_back(path);
    }
}

StartupPlan DecideStartup(const wchar_t* text, int defrostingMode) {
    StartupPlan plan;
    if (!text || !*text) {
        plan.mode = StartMode::Settings;
        return plan;
    }
    if (const wchar_t* paths = AfterSwitch(text, ExtractSwitch)) return SwitchPlan(QuotedPaths(paths), true, defrostingMode);
    if (const wchar_t* paths = AfterSwitch(text, OpenSwitch)) return SwitchPlan(QuotedPaths(paths), false, defrostingMode);
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
