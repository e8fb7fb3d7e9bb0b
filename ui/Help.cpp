#include "ui/Help.h"
#include <windows.h>
#include <shellapi.h>

void OpenHelpFile() { ShellExecuteA(nullptr, "open", "Varnito.chm", nullptr, nullptr, SW_SHOWNORMAL); }
