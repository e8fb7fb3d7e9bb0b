#pragma once
#include <vector>
#include "framework/Wnd.h"
#include "plugins/PluginTable.h"

// Extracts the given rows (first to last) of a list window: the destination dialog, the
// progress dialog over the window, and the entry loop. Nothing is written when the user
// cancels the destination dialog. listedArchive is the archive as it was listed.
void ExtractSelection(CWnd* listWindow, CPluginTable* host, int pluginIndex, const ArchiveIdentity& listedArchive,
                      const char* archivePath,
                      const char* archiveName, const std::vector<const ArchiveEntry*>& selected);
