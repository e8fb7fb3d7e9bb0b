// A stand-in program for tests: writes the command-line text it received (after its own
// path) to a new file "started-<pid>.txt" beside itself, then ends.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include "framework/WinApp.h"

int main() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    char* slash = strrchr(path, '\\');
    if (slash) slash[1] = '\0';
    char file[MAX_PATH + 32];
    snprintf(file, sizeof file, "%sstarted-%lu.txt", path, GetCurrentProcessId());
    FILE* f = fopen(file, "wb");
    if (!f) return 1;
    const char* text = CommandLineText(GetCommandLineA());
    fwrite(text, 1, strlen(text), f);
    fclose(f);
    return 0;
}
