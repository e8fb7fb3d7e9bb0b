#pragma once
#include <windows.h>
#include <cstddef>
#include <string>
#include <vector>
#include "text/PathSize.h"

// The part of a path that SplitPath writes.
enum class PathPart {
    Extension = 0,       // from the last dot of the file name on, the dot included
    BaseName = 1,        // the file name without its extension
    DriveAndFolder = 2,  // everything before the file name, with its trailing separator
};

// What a path names on disk.
enum class PathType { Missing = -1, File = 1, Folder = 2 };

// Stateless path, file, folder and process operations. All texts are code page 932
// byte strings; where separators are looked for, a 0x5C that is the second byte of a
// double-byte character belongs to that character.
class CUtility {
public:
    // 0 control, 1 single byte, 2 double byte, 3 user-defined double byte, 4 extension range.
    static int CharClass(const char* p);

    void ToSlashes(char* path);
    void FileNamePart(const char* path, char* out, size_t outSize = PathSize);
    void SplitPath(PathPart part, const char* path, char* out, size_t outSize = PathSize);
    void GroupDigits(unsigned long long value, char* out);  // out: at least 40 bytes

    int StoredName(char* path, size_t pathSize = PathSize);
    PathType PathKind(const char* path);
    long long FileSize(const char* path);      // bytes, or -1
    // Makes the folder and every missing folder along it (FolderPrefixes); non-zero when the
    // folder exists afterwards. Gives up at the fourth folder that cannot be made.
    int MakeFolders(const char* path);
    // The same for a UTF-16 path of any length.
    int MakeFolders(const std::wstring& path);
    int DeleteFiles(const char* folder, const char* pattern, int recurse, int count);
    int DeleteFiles(const std::wstring& folder, const wchar_t* pattern, int recurse, int count);

    int RunProgram(const char* program, const char* parameters, int wait);
    int RunProgram(const std::wstring& program, const std::wstring& parameters, int wait);
    int ClaimSingleInstance(const char* mutexName, const char* propertyName);
};

// The folders along a path, outermost first: every prefix that ends at a "\" or "/" after the
// path's root, then the whole path when it does not end with a separator. The root ("X:\",
// "X:", "\\server\share\", or one leading separator) is no folder to make; a 0x5C that ends
// a double-byte character is no separator. "C:\a\b" gives "C:\a\" and "C:\a\b".
std::vector<std::string> FolderPrefixes(const std::string& path);
// The same for a UTF-16 path, whose separators are every '\' and '/'; the root of an extended
// path ("\\?\C:\", "\\?\UNC\server\share\") is no folder to make either.
std::vector<std::wstring> FolderPrefixes(const std::wstring& path);

// True when a name, in any folder, opens a device instead of a file: CON, PRN, AUX, NUL,
// COM0 to COM9, LPT0 to LPT9, CONIN$ and CONOUT$, in any letter case, with or without an
// extension, blanks before the extension ignored ("nul.txt", "Aux .c", "COM1.log").
bool IsDeviceName(const std::string& name);
// The same for a UTF-16 name; COM and LPT with a superscript digit (¹ ² ³) are devices too.
bool IsDeviceName(const std::wstring& name);

// The path with its file name as the folder stores it (its letter case, its long form); the
// path as it is when no such file exists.
std::wstring StoredName(const std::wstring& path);

// The executable's file name without folder and extension. The settings dialog carries a
// window property of this name, which a second settings-mode start looks for.
std::string ExecutableName();
