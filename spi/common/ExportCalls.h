#pragma once
// What the ANSI exports (ArchiveExports.cpp) and the wide ones (WideExports.cpp) of our
// plug-ins do alike. The two sets differ in their texts alone: the ANSI exports take code page
// 932 (a path as the ANSI file functions read it) and give ArchiveEntry records, the wide ones
// take UTF-16 and give ArchiveEntryW records; both reach the same kept archive.
#include <functional>
#include "plugins/SusiePlugin.h"
#include "spi/common/RecordedArchive.h"

namespace plugin {

enum class ExportSet { Ansi, Wide };

// GetFileInfo's flag: names compared without letter case.
constexpr unsigned int IgnoreCaseFlag = 0x80;

// The name form of an export set's entry names.
inline NameForm NamesOf(ExportSet set) { return set == ExportSet::Ansi ? NameForm::Cp932 : NameForm::Utf8; }

// Opens the archive the host names (`src`: a file's name in the set's text, or the bytes of an
// archive in memory, as `flags` say) and does the work on it. SpiResult.
int WithArchive(ExportSet set, const void* src, LONG_PTR offset, unsigned int flags,
                const std::function<int(RecordedArchive&)>& work);

// IsSupported of both sets, the path made UTF-16.
int IsSupportedFile(const wchar_t* path, ULONG_PTR header);

// GetFile of both sets: `dest` is the set's folder text, or for output to memory where the
// block's handle goes.
int GetEntry(ExportSet set, const void* src, LONG_PTR position, void* dest, unsigned int flags,
             SpiProgressCallback progress, LONG_PTR data);

// A path as the ANSI file functions read it (the system's code page), in UTF-16.
std::wstring AnsiPath(const char* path);

}  // namespace plugin
