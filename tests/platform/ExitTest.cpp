// Tests of the program-ending seam.
#include <gtest/gtest.h>

#include "support/ExitCapture.h"

TEST(ExitProgram, CaptureSeesTheCode)
{
    ExitCapture capture;
    EXPECT_EQ(capture.Run([] { platform::ExitProgram(7); }), 7);
    EXPECT_EQ(capture.Run([] {}), -1);
}

TEST(ExitProgram, RealEndingUsesTheCode)
{
    EXPECT_EXIT(platform::ExitProgram(3), testing::ExitedWithCode(3), "");
}
