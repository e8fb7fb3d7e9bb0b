#pragma once
#include <windows.h>

// The sign of the next plug-in list sort (+1 ascending, -1 descending). The list control
// hands the comparison only one parameter, the column, so the direction travels here.
extern int sortSign;

// List-view comparison of two plug-in rows: a and b are the rows' PluginSlot pointers,
// column is the list column (0 isArchive, 1 fileName, 2 extensions, 3 infoText). Texts are
// compared without regard to letter case in the user's locale; any other column gives 0.
int CALLBACK ComparePluginRows(LPARAM a, LPARAM b, LPARAM column);
