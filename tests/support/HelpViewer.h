#pragma once
// The stage of the help command's tests. The recorder stands in for the shell's viewer of
// .chm files, and F1 is pressed with a current folder that holds a Varnito.chm of its own,
// which the command must never open: it looks beside the program, here the running test
// program. The test programs share one folder, so a test places the Varnito.chm there for its
// own life only, and the others find none.
#include <windows.h>
#include <string>
#include <vector>
#include "tests/support/RecordedStarts.h"
#include "tests/support/ShellFileType.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

// Where the help command looks: Varnito.chm beside the running test program.
std::string HelpFileBesideProgramPath();

// A Varnito.chm beside the running test program while the object lives.
class HelpFileBesideProgram {
public:
    HelpFileBesideProgram();
    ~HelpFileBesideProgram();
    HelpFileBesideProgram(const HelpFileBesideProgram&) = delete;
    HelpFileBesideProgram& operator=(const HelpFileBesideProgram&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

class HelpViewer {
public:
    HelpViewer();
    // Asks the window for help as F1 does, with the folder of the other Varnito.chm current.
    void PressF1(HWND window);
    // The command lines the viewer was started with, after its own path; waits up to
    // timeoutMs for `count` of them.
    std::vector<std::string> Starts(size_t count = 1, DWORD timeoutMs = 15000) const {
        return viewer_.Starts(count, timeoutMs);
    }

private:
    RecordingProgram viewer_;
    ShellFileType association_;
    TempDir otherHelpFolder_;
};

}  // namespace testsupport
