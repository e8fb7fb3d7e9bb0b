#pragma once
// The test helper record_args (RecordArgs.cpp): started under any name, it writes the
// command-line text it received to "started-<pid>.txt" beside itself. Tests read those
// records to see what the program started, and how.
#include <windows.h>
#include <string>
#include <vector>
#include "tests/support/TestSupport.h"

namespace testsupport {

// The records in the folder so far, sorted.
std::vector<std::string> RecordedStarts(const std::string& folder);
// Waits up to timeoutMs for at least `count` records; returns what is there by then.
std::vector<std::string> WaitForStarts(const std::string& folder, size_t count, DWORD timeoutMs = 15000);
void ClearRecordedStarts(const std::string& folder);

// A copy of the recorder in a temporary folder of its own.
class RecordingProgram {
public:
    // A file name with blanks, or a subfolder whose name has blanks, is allowed.
    explicit RecordingProgram(const std::string& name = "viewer.exe", const std::string& subfolder = "");
    const std::string& Path() const { return path_; }
    const std::string& Folder() const { return folder_; }
    // The records of the copies started so far (waits up to timeoutMs for `count`).
    std::vector<std::string> Starts(size_t count = 1, DWORD timeoutMs = 15000) const {
        return WaitForStarts(folder_, count, timeoutMs);
    }

private:
    TempDir dir_;
    std::string folder_;
    std::string path_;
};

}  // namespace testsupport
