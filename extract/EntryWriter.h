#pragma once
#include <string>
#include "extract/ExtractionUi.h"
#include "extract/OutputFile.h"

// Fetches one entry through its plug-in and writes it as the file filePath, dated with the
// entry's timestamp (0 leaves the time of writing). `existing` is what stands at filePath: a
// missing path gets a new file, an existing file is replaced only once the new one is
// complete, and a folder or a read-only file is refused. A fetch that fails or hands over
// fewer bytes than the entry's size touches no file. Returns false after showing the message.
bool WriteEntry(const ExtractionPlan& plan, const ArchiveEntry& entry, const std::string& filePath,
                const OutputFileState& existing, ExtractionMessages& messages);
