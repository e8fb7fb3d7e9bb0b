#include "core/FileAssociations.h"
#include <windows.h>
#include <shlobj.h>
#include <algorithm>
#include "core/RegistryKey.h"
#include "core/SettingIO.h"
#include "text/WideText.h"

namespace {

constexpr wchar_t ClassesPath[] = L"Software\\Classes";
constexpr wchar_t ProgIdDescription[] = L"Varnito で開くアーカイブ";
constexpr wchar_t ExtractVerbText[] = L"Varnitoで解凍";
// No type's name holds these: wildcards, and what a key name or a file extension cannot hold.
constexpr wchar_t NotInType[] = L"*?\\/:<>|\" \t";

// The last extension of one pattern of an extension text, lower-cased; empty when it names none.
std::wstring LastExtension(const std::wstring& pattern) {
    size_t dot = pattern.rfind(L'.');
    if (dot == std::wstring::npos || dot + 1 == pattern.size()) return std::wstring();
    std::wstring extension = pattern.substr(dot);
    if (extension.find_first_of(NotInType) != std::wstring::npos) return std::wstring();
    CharLowerBuffW(&extension[0], static_cast<DWORD>(extension.size()));
    return extension;
}

std::wstring Trimmed(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// What the shell runs: the program, the option, and the file the user chose.
std::wstring CommandLine(const std::wstring& program, const wchar_t* option) {
    return Quoted(program) + L" " + option + L" \"%1\"";
}

std::wstring VerbPath(const std::wstring& type) {
    return L"SystemFileAssociations\\" + type + L"\\shell\\" + ExtractVerb;
}

bool NamesProgId(const RegistryKey& typeKey) {
    std::wstring progId;
    return typeKey.ReadText(nullptr, &progId) && _wcsicmp(progId.c_str(), ArchiveProgId) == 0;
}

bool WriteProgId(const RegistryKey& classes, const std::wstring& program) {
    RegistryKey progId = RegistryKey::Create(classes.Handle(), ArchiveProgId);
    return progId.WriteText(nullptr, ProgIdDescription) &&
           RegistryKey::Create(progId.Handle(), L"DefaultIcon").WriteText(nullptr, Quoted(program) + L",0") &&
           RegistryKey::Create(progId.Handle(), L"shell\\open\\command")
               .WriteText(nullptr, CommandLine(program, L"/open"));
}

bool WriteVerb(const RegistryKey& classes, const std::wstring& type, const std::wstring& program) {
    RegistryKey verb = RegistryKey::Create(classes.Handle(), VerbPath(type));
    return verb.WriteText(nullptr, ExtractVerbText) &&
           RegistryKey::Create(verb.Handle(), L"command").WriteText(nullptr, CommandLine(program, L"/extract"));
}

// Deletes the key at `path` below `root` when it is empty, then each key above it, up to
// root, that this leaves empty: what registering made and nothing else holds.
void DeleteEmptyKeys(const RegistryKey& root, std::wstring path) {
    while (!path.empty()) {
        if (!RegistryKey::Open(root.Handle(), path).IsEmpty()) return;
        if (RegDeleteKeyW(root.Handle(), path.c_str()) != ERROR_SUCCESS) return;
        size_t slash = path.rfind(L'\\');
        path.resize(slash == std::wstring::npos ? 0 : slash);
    }
}

bool Register(const RegistryKey& classes, const std::wstring& type, const std::wstring& program) {
    RegistryKey typeKey = RegistryKey::Create(classes.Handle(), type);
    if (!typeKey) return false;
    if (!NamesProgId(typeKey)) {
        std::wstring previous;  // stays empty when the type has no default
        typeKey.ReadText(nullptr, &previous);
        // What the type named is kept before it is overwritten, or it could not come back.
        if (!CSettingIO().SectionKey(profile::PreviousFileTypes, true).WriteText(type.c_str(), previous)) return false;
    }
    return typeKey.WriteText(nullptr, ArchiveProgId) && WriteVerb(classes, type, program);
}

// Gives the type, which names the ProgID, its kept default back, or none.
bool RestorePrevious(const RegistryKey& typeKey, const std::wstring& type) {
    std::wstring previous;
    RegistryKey kept = CSettingIO().SectionKey(profile::PreviousFileTypes, false);
    if (kept) kept.ReadText(type.c_str(), &previous);
    return previous.empty() ? typeKey.DeleteValue(nullptr) : typeKey.WriteText(nullptr, previous);
}

bool Unregister(const RegistryKey& classes, const std::wstring& type) {
    bool restored = true;
    if (RegistryKey typeKey = RegistryKey::Open(classes.Handle(), type, true); typeKey && NamesProgId(typeKey))
        restored = RestorePrevious(typeKey, type);
    DeleteEmptyKeys(classes, type);
    LONG verb = RegDeleteTreeW(classes.Handle(), VerbPath(type).c_str());
    DeleteEmptyKeys(classes, L"SystemFileAssociations\\" + type + L"\\shell");
    if (RegistryKey kept = CSettingIO().SectionKey(profile::PreviousFileTypes, false)) kept.DeleteValue(type.c_str());
    return restored && (verb == ERROR_SUCCESS || verb == ERROR_FILE_NOT_FOUND);
}

bool AnyTypeNamesProgId(const RegistryKey& classes) {
    for (const std::wstring& name : classes.SubkeyNames())
        if (!name.empty() && name[0] == L'.' && NamesProgId(RegistryKey::Open(classes.Handle(), name))) return true;
    return false;
}

}  // namespace

void AddFileTypes(const char* extensionText, bool lastMayBeCut, std::vector<std::wstring>* types) {
    std::wstring text = Cp932ToWide(extensionText ? extensionText : "");
    for (size_t start = 0; start <= text.size();) {
        size_t end = std::min(text.find(L';', start), text.size());
        if (end == text.size() && lastMayBeCut) return;
        std::wstring type = LastExtension(Trimmed(text.substr(start, end - start)));
        if (!type.empty() && std::find(types->begin(), types->end(), type) == types->end()) types->push_back(type);
        start = end + 1;
    }
}

bool IsRegisteredType(const std::wstring& type) {
    return NamesProgId(RegistryKey::Open(HKEY_CURRENT_USER, std::wstring(ClassesPath) + L"\\" + type));
}

bool ApplyFileTypeChanges(const std::vector<FileTypeChange>& changes, const std::wstring& programPath) {
    if (changes.empty()) return true;
    RegistryKey classes = RegistryKey::Create(HKEY_CURRENT_USER, ClassesPath);
    bool done = static_cast<bool>(classes);
    bool progIdWritten = false, unregistered = false;
    for (const FileTypeChange& change : changes) {
        if (change.registered) {
            // Before any type names it; each run writes this program's path.
            progIdWritten = progIdWritten || WriteProgId(classes, programPath);
            done = progIdWritten && Register(classes, change.type, programPath) && done;
        } else {
            done = Unregister(classes, change.type) && done;
            unregistered = true;
        }
    }
    if (unregistered && !AnyTypeNamesProgId(classes)) RegDeleteTreeW(classes.Handle(), ArchiveProgId);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return done;
}
