// Measures what the plug-in host adds to a plug-in's own work (run by tools/bench/plugin-host):
//   PluginHostBench.exe PLUGIN_FOLDER MANY_ENTRIES_ARCHIVE LARGE_ENTRY_ARCHIVE
// 1. ListArchive on the archive of many entries, against the plug-in's own GetArchiveInfo.
// 2. FetchEntry of the first entry of the large archive, against the plug-in's own GetFile:
//    what the host adds in time, and peak memory (the host hands over the plug-in's block).
#include <windows.h>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include "plugins/PluginTable.h"
#include "tools/bench/Measure.h"

namespace {
using bench::PeakBytes;
using bench::Seconds;

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The chosen plug-in's own work for a listing, called the way the host calls it:
// GetArchiveInfo, then GetFileInfo for every record that needs completing.
double PluginListingSeconds(const PluginSlot& slot, const char* archive) {
    HMODULE module = LoadLibraryA(slot.fullPath);
    auto getArchiveInfo = Export<GetArchiveInfoFn>(module, "GetArchiveInfo");
    auto getFileInfo = Export<GetFileInfoFn>(module, "GetFileInfo");
    HLOCAL handle = nullptr;
    double start = Seconds();
    getArchiveInfo(archive, 0, 0, &handle);
    double seconds = Seconds() - start;
    PluginBlock block(handle);
    auto* records = reinterpret_cast<ArchiveEntry*>(block.Lock());
    size_t count = records ? block.Size() / sizeof(ArchiveEntry) : 0;
    for (size_t i = 0; i < count && records[i].method[0]; ++i) {
        ArchiveEntry& record = records[i];
        if (record.position && record.packedSize && record.unpackedSize) continue;
        char name[401];
        snprintf(name, sizeof name, "%.200s%.200s", record.path, record.fileName);
        start = Seconds();
        getFileInfo(archive, 0, name, 0, &record);
        seconds += Seconds() - start;
    }
    block = PluginBlock();
    FreeLibrary(module);
    return seconds;
}

// The chosen plug-in's own GetFile to memory.
double PluginFetchSeconds(const PluginSlot& slot, const char* archive, const ArchiveEntry& entry) {
    HMODULE module = LoadLibraryA(slot.fullPath);
    auto getFile = Export<GetFileFn>(module, "GetFile");
    HLOCAL handle = nullptr;
    double start = Seconds();
    getFile(archive, entry.position, reinterpret_cast<LPSTR>(&handle), SpiOutputToMemory, NoProgress, 0);
    double seconds = Seconds() - start;
    PluginBlock fetched(handle);
    fetched = PluginBlock();
    FreeLibrary(module);
    return seconds;
}

// A copy into fresh memory, as the host makes one.
double PlainCopySeconds(const char* bytes, size_t size) {
    std::unique_ptr<char[]> copy(new char[size]);
    double start = Seconds();
    memcpy(copy.get(), bytes, size);
    return Seconds() - start;
}

constexpr int Rounds = 3;  // every time is the best of this many, so that caches are warm

int BenchListing(CPluginTable& table, const char* archive) {
    double listing = 1e9;
    double plugin = 1e9;
    size_t count = 0;
    for (int round = 0; round < Rounds; ++round) {
        EntryList entries;
        double start = Seconds();
        ArchiveListing listed = table.ListArchive(archive, &entries);
        listing = std::min(listing, Seconds() - start);
        if (!listed.Listed()) {
            printf("ListArchive failed: %d\n", listed.result);
            return 1;
        }
        count = entries.size();
        entries = EntryList();
        plugin = std::min(plugin, PluginListingSeconds(table.Slot(listed.slot), archive));
    }
    printf("ListArchive, %zu entries:        %.3f s\n", count, listing);
    printf("  the plug-in's own calls:        %.3f s\n", plugin);
    printf("  added by the host:              %.1f %% of the plug-in's time (goal: under 10 %%)\n",
           100.0 * (listing - plugin) / plugin);
    std::string list(count * sizeof(ArchiveEntry), 'x');
    printf("  of which copying the list costs at least %.3f s (plain copy into fresh memory)\n",
           PlainCopySeconds(list.data(), list.size()));
    return 0;
}

int BenchFetch(CPluginTable& table, const char* archive) {
    EntryList entries;
    ArchiveListing listed = table.ListArchive(archive, &entries);
    if (!listed.Listed() || entries.empty()) {
        printf("ListArchive failed: %d\n", listed.result);
        return 1;
    }
    int index = listed.slot;
    double fetch = 1e9;
    double plugin = 1e9;
    SIZE_T peak = 0;
    size_t size = 0;
    for (int round = 0; round < Rounds; ++round) {
        SIZE_T peakBefore = PeakBytes();
        PluginBlock fetched;
        double start = Seconds();
        int result = table.FetchEntry(index, archive, &entries[0], &fetched);
        fetch = std::min(fetch, Seconds() - start);
        if (round == 0) peak = PeakBytes() - peakBefore;
        if (result != 0) {
            printf("FetchEntry failed: %d\n", result);
            return 1;
        }
        size = fetched.Size();
        fetched = PluginBlock();
        plugin = std::min(plugin, PluginFetchSeconds(table.Slot(index), archive, entries[0]));
    }
    double host = fetch - plugin;
    printf("FetchEntry, %zu MB:              %.3f s, %.0f MB/s\n", size >> 20, fetch, size / fetch / 1e6);
    printf("  the plug-in's GetFile alone:    %.3f s\n", plugin);
    printf("  the host's part:                %.3f s (it hands over the plug-in's block)\n", host);
    printf("  peak memory added:              %zu MB (goal: at most the entry and 32 MB, %zu MB)\n",
           static_cast<size_t>(peak >> 20), (size >> 20) + 32);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        printf("usage: %s PLUGIN_FOLDER MANY_ENTRIES_ARCHIVE LARGE_ENTRY_ARCHIVE\n", argv[0]);
        return 2;
    }
    auto table = std::make_unique<CPluginTable>();
    if (table->LoadFolder(argv[1]) == 0) {
        printf("no plug-in in %s\n", argv[1]);
        return 1;
    }
    return BenchListing(*table, argv[2]) || BenchFetch(*table, argv[3]);
}
