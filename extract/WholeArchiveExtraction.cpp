#include "extract/WholeArchiveExtraction.h"
#include <windows.h>
#include <shellapi.h>
#include "core/SettingIO.h"
#include "core/Utility.h"
#include "extract/ExtractEntries.h"
#include "extract/ExtractionTexts.h"
#include "text/Cp932.h"
#include "text/PathSize.h"
#include "text/WideText.h"

namespace {
bool ArchiveHasContent(const char* archivePath, ExtractionMessages& messages) {
    long long size = CUtility().FileSize(archivePath);
    if (size == 0) messages.ShowMessage(EmptyArchiveText);
    if (size < 0) messages.ShowMessage(ArchiveMissingText);
    return size > 0;
}
}  // namespace

bool WholeArchiveDestination(const std::string& folder, const char* archivePath, std::string* destination) {
    char baseName[PathSize];
    CUtility().SplitPath(PathPart::BaseName, archivePath, baseName, sizeof baseName);
    std::string joined = folder;
    if (!cp932::EndsWithSeparator(joined)) joined += '\\';
    joined += baseName;
    joined += '\\';
    if (joined.size() > PathSize - 1) return false;
    *destination = joined;
    return true;
}

ExtractionEnd ExtractWholeArchive(const char* archivePath, CPluginTable* host, ExtractionProgress& progress,
                                  OverwriteAsker& asker, ExtractionMessages& messages) {
    CSettingIO settings;
    std::string folder = WideToCp932Shown(settings.Read(profile::DefrostingFold));
    if (folder.empty()) {
        messages.ShowMessage(NoDestinationText);
        return ExtractionEnd::Failure;
    }
    ExtractionPlan plan;
    if (!WholeArchiveDestination(folder, archivePath, &plan.destination)) {
        messages.ShowMessage(FolderFailedText);
        return ExtractionEnd::Failure;
    }

    if (!ArchiveHasContent(archivePath, messages)) return ExtractionEnd::Failure;
    EntryList listed;
    ArchiveListing listing = host->ListArchive(archivePath, &listed);
    if (!listing.Listed()) {
        // A cancel while listing ends the archive as quietly as a stop at the question.
        if (listing.result != StoppedByUser) messages.ShowPluginError(listing.result);
        return ExtractionEnd::Failure;
    }

    for (const ArchiveEntry& entry : listed) plan.entries.push_back(&entry);
    progress.SetRange(static_cast<int>(plan.entries.size()));
    progress.SetPosition(0);

    plan.host = host;
    plan.pluginIndex = listing.slot;
    plan.listedArchive = listing.archive;
    plan.archivePath = archivePath;
    plan.keepPaths = true;
    plan.firstMode = settings.Read(profile::UpdateChkFlag) == 1 ? Overwrite : IgnoreAll;
    plan.countFromOne = false;
    ExtractionEnd end = ExtractEntries(plan, progress, asker, messages);

    if (end == ExtractionEnd::Normal && settings.Read(profile::OpenCheckFlag) == 1)
        ShellExecuteA(nullptr, "open", plan.destination.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return end;
}
