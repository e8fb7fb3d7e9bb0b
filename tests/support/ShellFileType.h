#pragma once
// A file type registered with the shell for the life of the object.
#include <windows.h>
#include <string>

namespace testsupport {

class ShellFileType {
public:
    // ".<extension>" gets a type of its own: with an icon when one is given ("shell32.dll,3"),
    // opened by openCommand when one is given ("%1" stands for the file). A type the extension
    // had before comes back afterwards.
    ShellFileType(const std::string& extension, const char* icon, const std::string& openCommand = "");
    ~ShellFileType();
    ShellFileType(const ShellFileType&) = delete;
    ShellFileType& operator=(const ShellFileType&) = delete;

private:
    std::string extension_, type_, previous_;
    bool hadPrevious_ = false;
};

}  // namespace testsupport
