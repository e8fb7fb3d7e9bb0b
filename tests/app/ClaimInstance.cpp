// Helper program for the single-instance tests: claims the named mutex and reports the
// answer as its exit code (1 first instance, 0 another one exists).
#include <windows.h>
#include "core/Utility.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    return CUtility().ClaimSingleInstance(argv[1], argv[2]);
}
