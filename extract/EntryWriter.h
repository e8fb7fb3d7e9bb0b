#pragma once
#include <string>
#include "extract/ExtractionUi.h"

// Fetches one entry through its plug-in and writes it as the file filePath, dated with the
// entry's timestamp (0 leaves the time of writing). A fetch that fails or hands over fewer
// bytes than the entry's size touches no file. Returns false after showing the message.
bool WriteEntry(const ExtractionPlan& plan, const ArchiveEntry& entry, const std::string& filePath,
                ExtractionMessages& messages);
