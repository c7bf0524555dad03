// Tests of the report gateway: standard output before any window, handlers after.
#include <gtest/gtest.h>

#include "core/ErrorReport.h"
#include "support/ReportCapture.h"

TEST(ErrorReport, FatalPrintsAndReturnsWithoutWindow)
{
    testing::internal::CaptureStdout();
    FatalError("Map:Create_Map: bad tile");
    ErrorBox("not shown without a window");
    PostToMessageLog("not shown either");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Map:Create_Map: bad tile\n");
}

TEST(ErrorReport, CaptureSeesEachStrengthAndRestores)
{
    {
        ReportCapture capture;
        FatalError("f");
        ErrorBox("e");
        PostToMessageLog("p");
        EXPECT_EQ(capture.fatals, std::vector<std::string>{"f"});
        EXPECT_EQ(capture.errors, std::vector<std::string>{"e"});
        EXPECT_EQ(capture.posts, std::vector<std::string>{"p"});
    }
    testing::internal::CaptureStdout();
    FatalError("back to stdout");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "back to stdout\n");
}
