#pragma once
// Every value of the profile, under the name it has in the registry, with the default that
// every reader uses. All of them live directly under the application's key (the empty
// section); CSettingIO reads and writes them.

// A folder or program path, a REG_SZ value read and written as UTF-16.
struct TextValue {
    const char* name;
    const wchar_t* defaultValue;
};

struct NumberValue {
    const char* name;
    int defaultValue;
};

namespace profile {
constexpr TextValue SpiFold{"SpiFold", L""};                 // the plug-in folder
constexpr TextValue DefrostingFold{"DefrostingFold", L""};   // immediate mode's destination
constexpr TextValue NullOpenEditor{"NullOpenEditor", L"NotePad"};  // opens a type with no program
constexpr NumberValue DefrostingMode{"DefrostingMode", 0};  // not 0: immediate mode
constexpr NumberValue OpenCheckFlag{"OpenCheckFlag", 1};    // 1: show the destination afterwards
constexpr NumberValue UpdateChkFlag{"UpdateChkFlag", 1};    // 1: ask before overwriting
constexpr NumberValue RelativePathFlag{"RelativePathFlag", 1};  // not 0: entries keep their folders
// 1: immediate mode writes an archive's one top folder, or its one file, straight into
// DefrostingFold instead of into a folder named after the archive.
constexpr NumberValue AvoidDoubleFolderFlag{"AvoidDoubleFolderFlag", 0};
// The archive list window's placement, an IntList10; nothing when it is missing.
constexpr char ListWindowData[] = "ListWindowData";
// A section of its own: for each file type registered for the program, by the type's name
// (".zip"), the default value the type had before (empty when it had none).
constexpr char PreviousFileTypes[] = "PreviousFileTypes";
}  // namespace profile
