#include "tests/support/HelpViewer.h"

namespace testsupport {

std::string HelpFileBesideProgramPath() { return ExeFolder() + "Varnito.chm"; }

HelpFileBesideProgram::HelpFileBesideProgram() : path_(HelpFileBesideProgramPath()) {
    WriteBytes(path_, "the help file beside the program");
}

HelpFileBesideProgram::~HelpFileBesideProgram() { DeleteFileA(path_.c_str()); }

HelpViewer::HelpViewer() : association_("chm", nullptr, "\"" + viewer_.Path() + "\" \"%1\"") {
    WriteBytes(otherHelpFolder_ / "Varnito.chm", "a help file in the current folder");
}

void HelpViewer::PressF1(HWND window) {
    CurrentFolder current(otherHelpFolder_.path());
    testsupport::PressF1(window);
}

}  // namespace testsupport
