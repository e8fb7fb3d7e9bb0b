// Unpacks the first entry of each given archive through an archive plug-in's GetFile (to a
// memory block), as a host does, and prints the time and throughput (run by
// tools/bench/codec-speed under Wine):   zip_method_bench.exe [--password=TEXT] PLUGIN ARCHIVE...
// With a password, the plug-in's password dialog is answered with it (once; any later dialog
// is cancelled), and the time includes the key's derivation.
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <memory>
#include "plugins/PluginBlock.h"
#include "plugins/SusiePlugin.h"
#include "tests/support/PasswordDialogUser.h"
#include "tools/bench/Measure.h"

namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int Bench(GetArchiveInfoFn getArchiveInfo, GetFileFn getFile, const char* archive) {
    HLOCAL listHandle = nullptr;
    getArchiveInfo(archive, 0, 0, &listHandle);
    PluginBlock list(listHandle);
    if (list.Size() < sizeof(ArchiveEntry) || !list.Lock()) {
        printf("%s: GetArchiveInfo failed\n", archive);
        return 1;
    }
    ArchiveEntry first = *reinterpret_cast<const ArchiveEntry*>(list.Bytes());
    HLOCAL handle = nullptr;
    double start = bench::Seconds();
    int result = getFile(archive, first.position, reinterpret_cast<LPSTR>(&handle), SpiOutputToMemory, nullptr, 0);
    double seconds = bench::Seconds() - start;
    { PluginBlock released(handle); }  // whatever GetFile returned
    if (result != 0) {
        printf("%s: GetFile failed: %d\n", archive, result);
        return 1;
    }
    printf("%-8.8s %llu bytes %.3f s %.1f MB/s\n", reinterpret_cast<const char*>(first.method),
           static_cast<unsigned long long>(first.unpackedSize), seconds, first.unpackedSize / seconds / 1e6);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    constexpr char PasswordSwitch[] = "--password=";
    std::unique_ptr<testsupport::PasswordDialogUser> user;
    if (argc > 1 && strncmp(argv[1], PasswordSwitch, sizeof PasswordSwitch - 1) == 0) {
        user.reset(new testsupport::PasswordDialogUser({argv[1] + sizeof PasswordSwitch - 1}));
        --argc;
        ++argv;
    }
    if (argc < 3) {
        printf("usage: %s [--password=TEXT] PLUGIN ARCHIVE...\n", argv[0]);
        return 2;
    }
    HMODULE plugin = LoadLibraryA(argv[1]);
    auto getArchiveInfo = plugin ? Export<GetArchiveInfoFn>(plugin, "GetArchiveInfo") : nullptr;
    auto getFile = plugin ? Export<GetFileFn>(plugin, "GetFile") : nullptr;
    if (!getArchiveInfo || !getFile) {
        printf("cannot load %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    for (int i = 2; i < argc; ++i) failures += Bench(getArchiveInfo, getFile, argv[i]);
    return failures != 0;
}
