#include "core/StartupPlan.h"
#include <cstring>

std::vector<std::string> SplitCommandLine(const char* text) {
    std::vector<std::string> pieces;
    const char* start = text;
    for (const char* p = text;; ++p) {
        if (*p == ' ' || *p == '\0') {
            pieces.emplace_back(start, p);
            if (*p == '\0') break;
            start = p + 1;
        }
    }
    return pieces;
}

std::string FittingPath(const std::string& piece) {
    return piece.size() <= MaxPieceLength ? piece : std::string();
}

StartupPlan DecideStartup(const char* text, int defrostingMode) {
    StartupPlan plan;
    if (!text || !*text) {
        plan.mode = StartMode::Settings;
        return plan;
    }
    if (defrostingMode != 0) {
        plan.mode = StartMode::Immediate;
        for (const std::string& piece : SplitCommandLine(text)) plan.pieces.push_back(FittingPath(piece));
        return plan;
    }
    const size_t markerLength = strlen(CommandLineMarker);
    bool marked = strncmp(text, CommandLineMarker, markerLength) == 0;
    const char* firstBlank = strchr(text, ' ');
    if (!marked && firstBlank) {
        plan.mode = StartMode::Relaunch;
        plan.pieces = SplitCommandLine(text);  // passed on whole; each copy judges its own
        return plan;
    }
    plan.mode = StartMode::List;
    const char* path = text;
    if (marked && firstBlank) path = text + markerLength + 1;
    plan.archivePath = FittingPath(path);
    return plan;
}
