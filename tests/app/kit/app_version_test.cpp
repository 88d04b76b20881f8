#include "app/kit/app_version.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(AppVersionTest, FallsBackWhenUnknown)
{
    EXPECT_EQ(appVersionString("1.2.0", "45"), "1.2.0 (45)");
    EXPECT_EQ(appVersionString("", ""), "0.0.0 (0)");
    EXPECT_TRUE(appVersionString().endsWith(')'));
}
