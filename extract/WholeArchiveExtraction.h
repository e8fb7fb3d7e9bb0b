#pragma once
#include <string>
#include "extract/ExtractionUi.h"

// Where a whole archive goes: the folder, a separator unless it ends with one, the
// archive's file name without its last extension, and a separator. False when that is longer
// than any path the file system takes.
bool WholeArchiveDestination(const std::wstring& folder, const std::wstring& archivePath, std::wstring* destination);

// Extracts every entry of one archive into DefrostingFold\<base name>\ and, after a normal
// end, opens that folder in the shell when OpenCheckFlag is 1. With AvoidDoubleFolderFlag 1,
// an archive whose entries all lie in one top folder is written straight into
// DefrostingFold (and that folder opened), and so is an archive of one file at its top
// (DefrostingFold opened). Nothing is done (beyond a message) when DefrostingFold is not set.
// The caller shows the wait cursor for the run.
ExtractionEnd ExtractWholeArchive(const std::wstring& archivePath, CPluginTable* host, ExtractionProgress& progress,
                                  OverwriteAsker& asker, ExtractionMessages& messages);
