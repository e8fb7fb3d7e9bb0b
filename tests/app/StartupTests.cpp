#include <gtest/gtest.h>
#include "app/StartupPlan.h"

TEST(Startup, EmptyTextIsSettingsMode) {
    EXPECT_EQ(DecideStartup("", 1).mode, StartMode::Settings);
}
