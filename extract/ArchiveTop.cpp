#include "extract/ArchiveTop.h"
#include "text/WidePath.h"

namespace {
// The first part of an entry's joined name, and whether anything follows it.
struct FirstPart {
    std::wstring name;
    bool hasMore = false;
};

FirstPart FirstPartOf(const ListedEntry& entry) {
    std::wstring joined = std::wstring(entry.path) + entry.fileName;
    size_t start = 0;
    while (start < joined.size() && widepath::IsSeparator(joined[start])) ++start;
    size_t end = start;
    while (end < joined.size() && !widepath::IsSeparator(joined[end])) ++end;
    FirstPart part;
    part.name = joined.substr(start, end - start);
    size_t rest = end;
    while (rest < joined.size() && widepath::IsSeparator(joined[rest])) ++rest;
    part.hasMore = rest < joined.size();
    // A folder record names its folder with a separator after it: the folder itself.
    if (!part.hasMore && !entry.fileName[0]) part.hasMore = end < joined.size();
    return part;
}
}  // namespace

ArchiveTop TopOf(const EntryList& entries) {
    ArchiveTop top;
    std::wstring common;
    bool allInFolder = true;
    size_t files = 0;
    for (const ListedEntry& entry : entries) {
        FirstPart part = FirstPartOf(entry);
        if (part.name.empty()) continue;
        if (common.empty()) common = part.name;
        if (part.name != common) return ArchiveTop();
        bool isFile = entry.fileName[0] != L'\0';
        // A folder record of the top folder itself is still "in" it.
        if (!part.hasMore && isFile) allInFolder = false;
        if (isFile) ++files;
    }
    if (common.empty()) return top;
    if (allInFolder) {
        top.kind = TopKind::OneFolder;
    } else if (files == 1) {
        top.kind = TopKind::OneFile;
    } else {
        return top;
    }
    top.name = common;
    return top;
}
