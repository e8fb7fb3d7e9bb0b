#pragma once
// The profile an end-to-end run starts from (tests/support/TestProfile.h reads and writes it).
#include <string>
#include "tests/support/TestProfile.h"

namespace e2e {

using testsupport::ReadProfileNumber;
using testsupport::ReadProfileText;
using testsupport::WriteProfileNumber;
using testsupport::WriteProfileText;

// Starts a clean profile: the bundled plug-ins, immediate mode or list mode, the destination
// of immediate extraction, no folder window afterwards, overwrite questions on.
void PrepareProfile(int defrostingMode, const std::string& destination = "");

}  // namespace e2e
