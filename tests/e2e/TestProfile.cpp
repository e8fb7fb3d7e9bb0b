#include "tests/e2e/TestProfile.h"
#include "tests/e2e/VarnitoProcess.h"

namespace e2e {

void PrepareProfile(int defrostingMode, const std::string& destination) {
    testsupport::ClearProfile();
    WriteProfileText("SpiFold", PluginFolder());
    WriteProfileNumber("DefrostingMode", defrostingMode);
    WriteProfileText("DefrostingFold", destination);
    WriteProfileNumber("OpenCheckFlag", 0);
    WriteProfileNumber("UpdateChkFlag", 1);
}

}  // namespace e2e
