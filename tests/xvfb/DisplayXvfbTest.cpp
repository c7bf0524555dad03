// The graphics layer in a real Allegro window on an X display (Xvfb in CI):
// the set-up opens a 640 by 480 8-bit window, a drawing reaches the screen
// with the next refresh, and a refresh with nothing drawn leaves the screen
// alone. Without DISPLAY the test skips.
#include <gtest/gtest.h>

#include <cstdlib>

#include <allegro.h>

#include "core/ScreenRefresh.h"
#include "widgets/DrawingPrimitives.h"
#include "widgets/GraphicsSetup.h"

namespace {

class GraphicsWindow : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no DISPLAY: window tests need an X display (scripts/xvfb.sh starts Xvfb)";
        ASSERT_EQ(allegro_init(), 0) << allegro_error;
        fg_set_run_in_window(1);
    }

    void TearDown() override
    {
        fg_set_run_in_window(0);
        if (system_driver != nullptr)
            allegro_exit();
    }
};

TEST_F(GraphicsWindow, DrawingReachesTheScreenAndAnIdleRefreshWritesNothing)
{
    testing::internal::CaptureStdout();
    ASSERT_EQ(fg_set_video_mode(640, 480), 1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("Display Switch"), std::string::npos) << out;   // the callback is installed
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(SCREEN_W, 640);
    EXPECT_EQ(SCREEN_H, 480);
    EXPECT_EQ(bitmap_color_depth(screen), 8);

    fg_fill_box(5, FG_MODE_SOLID, 0, FgBox{100, 479 - 100, 149, 479 - 149});
    fg_refresh_screen();
    EXPECT_EQ(getpixel(screen, 100, 100), 5);
    EXPECT_EQ(getpixel(screen, 149, 149), 5);
    EXPECT_EQ(getpixel(screen, 150, 150), 0);

    putpixel(screen, 300, 300, 9);   // a mark the page does not hold
    fg_refresh_screen();
    EXPECT_EQ(getpixel(screen, 300, 300), 9);
    EXPECT_EQ(fg_full_refresh_pending(), 0);
}

} // namespace
