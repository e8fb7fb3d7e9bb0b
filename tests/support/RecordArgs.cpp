// A stand-in program for tests: writes the command-line text it received (after its own
// path) to a new file "started-<pid>.txt" beside itself, then ends. The file is written under
// another name first and then renamed, so a test that finds it finds it whole.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include "framework/WinApp.h"

int main() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    char* slash = strrchr(path, '\\');
    if (slash) slash[1] = '\0';
    char file[MAX_PATH + 32], partial[MAX_PATH + 32];
    snprintf(file, sizeof file, "%sstarted-%lu.txt", path, GetCurrentProcessId());
    snprintf(partial, sizeof partial, "%swriting-%lu.tmp", path, GetCurrentProcessId());
    FILE* f = fopen(partial, "wb");
    if (!f) return 1;
    const char* text = CommandLineText(GetCommandLineA());
    bool written = fwrite(text, 1, strlen(text), f) == strlen(text);
    written = fclose(f) == 0 && written;
    return written && MoveFileA(partial, file) ? 0 : 1;
}
