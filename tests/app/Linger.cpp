// Helper program for the process tests: stays for the number of milliseconds given as its
// argument, then ends.
#include <windows.h>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    Sleep(static_cast<DWORD>(strtoul(argv[1], nullptr, 10)));
    return 0;
}
