// One plug-in's listing of a large archive through each of its listing exports (run by
// tools/bench/plugin-listing):
//   plugin_listing_bench.exe PLUGIN ARCHIVE...
// For every export the plug-in has of GetArchiveInfo, GetArchiveInfoW and GetArchiveListW,
// the best of three calls, each on the plug-in loaded for it alone (a plug-in keeps the
// records of the archive it listed last, so a second call would cost next to nothing), the
// size of the block handed over, and the memory the plug-in still holds once the block is
// freed: the records it keeps and the archive's parsed directory.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include "plugins/SusiePlugin.h"
#include "tools/bench/Measure.h"

namespace {
using bench::Seconds;

constexpr int Rounds = 3;

// Private memory of the moment (what Wine reports as the peak, see Measure.h, is this).
SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

struct Measured {
    bool exported = false;
    int result = -1;
    double seconds = 1e9;
    size_t blockBytes = 0;
    SIZE_T keptBytes = 0;
};

// One call of the export named `name`, whose arguments are those of GetArchiveInfo with the
// archive's name as `Text`.
template <typename Function, typename Text>
void MeasureOnce(const std::wstring& plugin, const char* name, const Text* archive, Measured* measured) {
    SIZE_T before = PrivateBytes();
    HMODULE module = LoadLibraryW(plugin.c_str());
    auto list = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    measured->exported = list != nullptr;
    if (list) {
        HLOCAL block = nullptr;
        double start = Seconds();
        measured->result = list(archive, 0, 0, &block);
        measured->seconds = std::min(measured->seconds, Seconds() - start);
        measured->blockBytes = block ? LocalSize(block) : 0;
        if (block) LocalFree(block);
        measured->keptBytes = PrivateBytes() - before;
    }
    FreeLibrary(module);
}

template <typename Function, typename Text>
void Report(const std::wstring& plugin, const char* name, const Text* archive) {
    Measured measured;
    for (int round = 0; round < Rounds; ++round) MeasureOnce<Function>(plugin, name, archive, &measured);
    if (!measured.exported) {
        printf("  %-16s not exported\n", name);
        return;
    }
    printf("  %-16s %.3f s, result %d, block %.1f MB, the plug-in keeps %.1f MB\n", name, measured.seconds,
           measured.result, measured.blockBytes / 1048576.0, measured.keptBytes / 1048576.0);
}

std::wstring Wide(const char* text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        printf("usage: %s PLUGIN ARCHIVE...\n", argv[0]);
        return 2;
    }
    std::wstring plugin = Wide(argv[1]);
    for (int i = 2; i < argc; ++i) {
        std::wstring archive = Wide(argv[i]);
        printf("%s\n", argv[i]);
        Report<GetArchiveInfoFn>(plugin, "GetArchiveInfo", argv[i]);
        Report<GetArchiveInfoWFn>(plugin, "GetArchiveInfoW", archive.c_str());
        Report<GetArchiveListWFn>(plugin, "GetArchiveListW", archive.c_str());
    }
    return 0;
}
