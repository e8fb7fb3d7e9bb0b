#include "extract/WholeArchiveExtraction.h"
#include <windows.h>
#include <shellapi.h>
#include "core/SettingIO.h"
#include "extract/ArchiveTop.h"
#include "extract/ExtractEntries.h"
#include "extract/ExtractionTexts.h"
#include "extract/OutputPath.h"
#include "text/LongPath.h"
#include "text/WidePath.h"
#include "text/WideText.h"

namespace {
bool ArchiveHasContent(const std::wstring& archivePath, ExtractionMessages& messages) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    bool found = !archivePath.empty() &&
                 GetFileAttributesExW(ExtendedPath(archivePath).c_str(), GetFileExInfoStandard, &data);
    if (!found) {
        messages.ShowMessage(ArchiveMissingText);
        return false;
    }
    bool empty = data.nFileSizeHigh == 0 && data.nFileSizeLow == 0;
    if (empty) messages.ShowMessage(EmptyArchiveText);
    return !empty;
}
}  // namespace

bool WholeArchiveDestination(const std::wstring& folder, const std::wstring& archivePath, std::wstring* destination) {
    std::wstring joined = widepath::WithSeparator(folder) + widepath::BaseName(archivePath) + L'\\';
    if (joined.size() > LongestPath) return false;
    *destination = joined;
    return true;
}

ExtractionEnd ExtractWholeArchive(const std::wstring& archivePath, CPluginTable* host, ExtractionProgress& progress,
                                  OverwriteAsker& asker, ExtractionMessages& messages) {
    CSettingIO settings;
    std::wstring folder = settings.Read(profile::DefrostingFold);
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
    ListedArchive listed;
    PluginResult result = host->ListArchive(archivePath, &listed);
    if (result != PluginSucceeded) {
        // A cancel while listing ends the archive as quietly as a stop at the question.
        if (result != StoppedByUser) messages.ShowPluginError(result);
        return ExtractionEnd::Failure;
    }
    if (listed.entries.Unshown()) messages.ShowMessage(UnshownEntriesText(listed.entries.Unshown()).c_str());
    std::wstring opened = plan.destination;
    if (settings.Read(profile::AvoidDoubleFolderFlag) == 1) {
        ArchiveTop top = TopOf(listed.entries);
        if (top.kind != TopKind::Mixed) plan.destination = widepath::WithSeparator(folder);
        if (top.kind == TopKind::OneFolder) opened = plan.destination + top.name + L'\\';
        if (top.kind == TopKind::OneFile) opened = plan.destination;
    }

    for (const ListedEntry& entry : listed.entries) plan.entries.push_back(&entry);
    progress.SetRange(static_cast<int>(plan.entries.size()));
    progress.SetPosition(0);

    plan.archive = &listed;
    plan.keepPaths = true;
    plan.firstMode = settings.Read(profile::UpdateChkFlag) == 1 ? Overwrite : IgnoreAll;
    plan.countFromOne = false;
    ExtractionEnd end = ExtractEntries(plan, progress, asker, messages);

    if (end == ExtractionEnd::Normal && settings.Read(profile::OpenCheckFlag) == 1)
        ShellExecuteW(nullptr, L"open", opened.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return end;
}
