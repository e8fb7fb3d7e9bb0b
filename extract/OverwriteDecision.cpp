#include "extract/OverwriteDecision.h"
#include "core/Utility.h"
#include "extract/FileTimes.h"

OverwriteAction DecideOverwrite(OverwriteMode mode, bool fileExists) {
    if (!fileExists) return OverwriteAction::Write;
    if (mode == OverwriteAll) return OverwriteAction::Write;
    if (mode == IgnoreAll) return OverwriteAction::Skip;
    return OverwriteAction::Ask;
}

OverwriteAction ActionForAnswer(OverwriteMode chosen) {
    return chosen == Overwrite || chosen == OverwriteAll ? OverwriteAction::Write : OverwriteAction::Skip;
}

std::string GroupedSize(unsigned long long bytes) {
    char text[40];
    CUtility().GroupDigits(bytes, text);
    return text;
}

OverwriteQuestion MakeOverwriteQuestion(const std::wstring& folderText, const OutputFileState& onDisk,
                                        const ListedEntry& entry, OverwriteMode current) {
    OverwriteQuestion question;
    question.folderText = folderText;
    question.fileLine = L" " + std::wstring(entry.fileName);
    question.diskSizeText = GroupedSize(onDisk.size);
    question.diskTimeText = LocalTimeText(onDisk.modified);
    question.archiveSizeText = GroupedSize(entry.unpackedSize);
    question.archiveTimeText = TimestampText(entry.timestamp);
    question.preselected = current;
    return question;
}
