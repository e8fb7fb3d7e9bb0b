#pragma once
// The archive file types the shell opens with this program, for the current user alone:
// keys under HKEY_CURRENT_USER\Software\Classes, which need no administrator rights and which
// Windows lays over the machine's own classes. A registered type ".zip" names the program's
// ProgID ArchiveProgId (opened by "<program>" /open "%1") and carries the verb ExtractVerb,
// "<program>" /extract "%1", under SystemFileAssociations, so that the verb shows whichever
// program owns the type. The type's earlier default is kept in the profile
// (profile::PreviousFileTypes) and given back when the type is unregistered.
#include <string>
#include <vector>

constexpr wchar_t ArchiveProgId[] = L"Varnito.Archive";
constexpr wchar_t ExtractVerb[] = L"Varnito.Extract";

// The file types an archive plug-in's extension text names ("*.zip", "*.tar;*.tgz;*.tar.gz"):
// each pattern's last extension, lower-cased (".zip", ".gz"), added to *types unless it is
// there already. A pattern whose last extension holds a wildcard, or that has none, names no
// type, and neither does the last one when lastMayBeCut (a text that filled the buffer it was
// kept in may have lost its end: "*.tar.bz2" cut to "*.tar.bz" would name another type).
void AddFileTypes(const char* extensionText, bool lastMayBeCut, std::vector<std::wstring>* types);

// True when the type (".zip") names the program's ProgID in the user's classes now.
bool IsRegisteredType(const std::wstring& type);

// A type to register for the program, or to unregister.
struct FileTypeChange {
    std::wstring type;
    bool registered;
};

// Registers or unregisters each type for the program at programPath, and tells the shell once
// when there was any change; the ProgID goes when no type names it any more. Registering keeps
// the type's default unless it names the ProgID already; unregistering gives it back, or
// leaves the type without a default when it had none, unless another program has set its own
// default since: then that stays. Either way the verb and the kept default go. Returns whether
// every change was made.
bool ApplyFileTypeChanges(const std::vector<FileTypeChange>& changes, const std::wstring& programPath);
