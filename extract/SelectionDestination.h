#pragma once
#include <string>
#include "extract/ExtractionUi.h"

// The destination of a selection run from the text of the destination dialog: that folder
// with a trailing separator, made with all missing parents; or, for an empty text, the
// archive's own folder (made by nobody). False after the folder message.
bool SelectionDestination(const std::wstring& typed, const std::wstring& archivePath, std::wstring* destination,
                          ExtractionMessages& messages);
