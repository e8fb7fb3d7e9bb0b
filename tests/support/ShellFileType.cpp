#include "tests/support/ShellFileType.h"

namespace testsupport {

// Through HKEY_CLASSES_ROOT: Wine's shell looks types up in the machine's classes, which that
// key writes to, and Windows merges them with the user's.
ShellFileType::ShellFileType(const std::string& extension, const char* icon, const std::string& openCommand)
    : extension_("." + extension), type_("varnito.test." + extension) {
    char previous[256] = {};
    LONG size = sizeof previous;
    hadPrevious_ = RegQueryValueA(HKEY_CLASSES_ROOT, extension_.c_str(), previous, &size) == ERROR_SUCCESS;
    previous_ = previous;
    RegSetValueA(HKEY_CLASSES_ROOT, extension_.c_str(), REG_SZ, type_.c_str(), 0);
    if (icon) RegSetValueA(HKEY_CLASSES_ROOT, (type_ + "\\DefaultIcon").c_str(), REG_SZ, icon, 0);
    if (!openCommand.empty())
        RegSetValueA(HKEY_CLASSES_ROOT, (type_ + "\\shell\\open\\command").c_str(), REG_SZ, openCommand.c_str(), 0);
}

ShellFileType::~ShellFileType() {
    if (hadPrevious_)
        RegSetValueA(HKEY_CLASSES_ROOT, extension_.c_str(), REG_SZ, previous_.c_str(), 0);
    else
        RegDeleteTreeA(HKEY_CLASSES_ROOT, extension_.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, type_.c_str());
}

}  // namespace testsupport
