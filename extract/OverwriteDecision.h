#pragma once
#include <string>
#include "extract/ExtractionPlan.h"

// What the loop does with an entry whose output file may exist.
enum class OverwriteAction { Write, Skip, Ask };

// The decision before any question: a missing file (or a folder of that name) is written,
// OverwriteAll writes, IgnoreAll skips, the other two modes ask.
OverwriteAction DecideOverwrite(OverwriteMode mode, bool fileExists);
// What an answer to the question means for the entry.
OverwriteAction ActionForAnswer(OverwriteMode chosen);

// The question about an existing output file.
OverwriteQuestion MakeOverwriteQuestion(const std::string& folderText, const std::string& filePath,
                                        const ArchiveEntry& entry, OverwriteMode current);

// A byte count with "," between groups of three digits.
std::string GroupedSize(unsigned long long bytes);
