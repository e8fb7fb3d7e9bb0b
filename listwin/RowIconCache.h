#pragma once
// The images of the list's rows: the shell's small icon for an empty file of the row's type.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <unordered_map>
#include <vector>

class CRowIconCache {
public:
    // Room for this many distinct system icons; position k of the table is image k+1.
    static constexpr size_t MaxSystemIcons = 8092;

    // images holds the default icon as image 0; new icons are appended to it. Probe files are
    // made in workFolder, which is made for a probe when it does not exist and then removed
    // again; where it cannot be made (or is empty) every row gets the default.
    CRowIconCache(HIMAGELIST images, const std::wstring& workFolder);

    // The image index for a row with this file name; 0, the default icon, when the name is not
    // a plain file name or the shell has no icon for it.
    int ImageFor(const std::wstring& fileName);

    // How many probe files were made so far.
    int ProbeCount() const { return probes_; }

private:
    int ProbeExtension(const std::wstring& extension, bool* reliable);
    int ProbeInFolder(const std::wstring& extension, bool* reliable);
    int ImageForSystemIcon(int systemIndex, HICON icon);

    HIMAGELIST images_;
    std::wstring workFolder_;
    int probes_ = 0;
    // For an empty file the shell's answer depends on nothing but the extension.
    std::unordered_map<std::wstring, int> imageByExtension_;
    std::vector<int> systemIcons_;
};

// The extension the file system gives a name (without the dot; empty when there is none).
// Trailing dots and blanks, which the file system drops, do not count.
std::wstring FileSystemExtension(const std::wstring& fileName);
