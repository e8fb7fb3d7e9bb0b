#pragma once
#include <vector>
#include "framework/Wnd.h"
#include "plugins/PluginTable.h"

// Extracts the given entries (first to last) of a list window's archive: the destination
// dialog, the progress dialog over the window, and the entry loop. Nothing is written when the
// user cancels the destination dialog.
void ExtractSelection(CWnd* listWindow, const ListedArchive& archive, const std::vector<const ListedEntry*>& selected);
