#pragma once
// Helpers shared by the list-window tests.
#include <windows.h>
#include <string>
#include <vector>
#include "tests/support/TestSupport.h"

namespace listtest {

// A file type registered with the shell for the life of the object: its own icon, and, when
// openCommand is given, the program that opens it ("%1" stands for the file).
class ShellFileType {
public:
    ShellFileType(const std::string& extension, const char* icon, const std::string& openCommand = "")
        : extension_("." + extension), type_("varnito.test." + extension) {
        RegSetValueA(HKEY_CLASSES_ROOT, extension_.c_str(), REG_SZ, type_.c_str(), 0);
        if (icon) RegSetValueA(HKEY_CLASSES_ROOT, (type_ + "\\DefaultIcon").c_str(), REG_SZ, icon, 0);
        if (!openCommand.empty())
            RegSetValueA(HKEY_CLASSES_ROOT, (type_ + "\\shell\\open\\command").c_str(), REG_SZ, openCommand.c_str(), 0);
    }
    ~ShellFileType() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, extension_.c_str());
        RegDeleteTreeA(HKEY_CLASSES_ROOT, type_.c_str());
    }
    ShellFileType(const ShellFileType&) = delete;
    ShellFileType& operator=(const ShellFileType&) = delete;

private:
    std::string extension_, type_;
};

// The seconds since 1970 of a local date and time, through the time-zone conversion in the
// other direction.
inline int LocalTimestamp(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME local = {year, month, 0, day, hour, minute, second, 0}, utc;
    TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
    FILETIME file;
    SystemTimeToFileTime(&utc, &file);
    ULARGE_INTEGER ticks = {{file.dwLowDateTime, file.dwHighDateTime}};
    return static_cast<int>((ticks.QuadPart - 116444736000000000ULL) / 10000000ULL);
}

// A copy of the test helper program that records how it was started, in a folder of its
// own, and what it recorded.
class RecordingProgram {
public:
    RecordingProgram() : path_(folder_ / "viewer.exe") {
        CopyFileA((testsupport::ExeFolder() + "record_args.exe").c_str(), path_.c_str(), FALSE);
    }
    const std::string& Path() const { return path_; }
    // The command-line texts of the copies started so far (waits up to timeoutMs for count).
    std::vector<std::string> Starts(size_t count = 1, DWORD timeoutMs = 15000) const {
        DWORD begin = GetTickCount();
        for (;;) {
            std::vector<std::string> texts;
            WIN32_FIND_DATAA found;
            HANDLE search = FindFirstFileA((folder_.path() + "started-*.txt").c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                do texts.push_back(testsupport::ReadBytes(folder_ / found.cFileName));
                while (FindNextFileA(search, &found));
                FindClose(search);
            }
            if (texts.size() >= count || GetTickCount() - begin > timeoutMs) {
                Sleep(200);  // let a writer finish
                return texts;
            }
            Sleep(50);
        }
    }

private:
    testsupport::TempDir folder_;
    std::string path_;
};

}  // namespace listtest
