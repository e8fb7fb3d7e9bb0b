#pragma once
// Base of every end-to-end test: a work folder of its own, and no Varnito.exe process left
// behind, whatever the test's outcome.
#include <gtest/gtest.h>
#include "tests/e2e/FileTree.h"
#include "tests/e2e/TestProfile.h"
#include "tests/e2e/VarnitoProcess.h"
#include "tests/support/TestSupport.h"

namespace e2e {

class E2eTest : public testing::Test {
protected:
    void SetUp() override { EndLeftoverVarnitoProcesses(); }
    void TearDown() override { EndLeftoverVarnitoProcesses(); }

    // Copies fixture archives into the work folder; their paths, blank-separated.
    std::string ArchivesInWork(const std::vector<std::string>& names, const std::string& folder = "in\\") {
        CreateDirectoryA((work / folder).c_str(), nullptr);
        std::string line;
        for (const std::string& name : names) {
            EXPECT_TRUE(CopyFixture(name, work / folder)) << name;
            line += (line.empty() ? "" : " ") + work / folder + name;
        }
        return line;
    }

    testsupport::CleanProfile clean;  // cleared once the processes are gone
    testsupport::TempDir work;
};

}  // namespace e2e
