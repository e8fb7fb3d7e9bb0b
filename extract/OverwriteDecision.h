#pragma once
#include <string>
#include "extract/ExtractionPlan.h"
#include "extract/OutputFile.h"

// What the loop does with an entry whose output file may exist.
enum class OverwriteAction { Write, Skip, Ask };

// The decision before any question: a missing file (or a folder of that name) is written,
// OverwriteAll writes, IgnoreAll skips, the other two modes ask.
OverwriteAction DecideOverwrite(OverwriteMode mode, bool fileExists);
// What an answer to the question means for the entry.
OverwriteAction ActionForAnswer(OverwriteMode chosen);

// The question about an existing output file, shown with its size and time as read before.
OverwriteQuestion MakeOverwriteQuestion(const std::wstring& folderText, const OutputFileState& onDisk,
                                        const ListedEntry& entry, OverwriteMode current);

// A byte count with "," between groups of three digits.
std::string GroupedSize(unsigned long long bytes);
