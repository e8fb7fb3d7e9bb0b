#include "extract/OverwriteDecision.h"
#include <windows.h>
#include "app/Utility.h"
#include "extract/FileTimes.h"
#include "extract/OutputPath.h"

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

OverwriteQuestion MakeOverwriteQuestion(const std::string& folderText, const std::string& filePath,
                                        const ArchiveEntry& entry, OverwriteMode current) {
    OverwriteQuestion question;
    question.folderText = folderText;
    question.fileLine = " " + EntryFileName(entry);
    WIN32_FILE_ATTRIBUTE_DATA onDisk;
    if (GetFileAttributesExA(filePath.c_str(), GetFileExInfoStandard, &onDisk)) {
        question.diskSizeText = GroupedSize((static_cast<unsigned long long>(onDisk.nFileSizeHigh) << 32) |
                                            onDisk.nFileSizeLow);
        question.diskTimeText = LocalTimeText(onDisk.ftLastWriteTime);
    }
    question.archiveSizeText = GroupedSize(entry.unpackedSize);
    question.archiveTimeText = TimestampText(entry.timestamp);
    question.preselected = current;
    return question;
}
