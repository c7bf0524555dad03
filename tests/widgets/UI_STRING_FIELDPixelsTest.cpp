// The string field drawn by the real display into a memory page: marked
// text stands in the mark colours, the rest in the field's own.
#include <gtest/gtest.h>

#include "support/MemoryScreen.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_STRING_FIELD.h"
#include "widgets/UI_WINDOW.h"

namespace {

TEST(StringFieldPixels, MarkIsDrawnInTheMarkColours)
{
    MemoryScreen memory;
    UI_FG_DISPLAY display(0);
    ASSERT_EQ(display.ready, 1);
    UI_INPUT_MANAGER manager(&display, 10);
    UI_DESKTOP desktop(&display, &manager);
    UI_STRING_FIELD field(0, 0, 20, "abcdefgh", 40, 0, 0, nullptr);
    field.screenNumber = 1;
    field.screenRect = UI_RECT{100, 100, 259, 115};
    field.clipRect = UI_RECT{0, 0, 639, 479};
    field.colours = field.ChooseColours(UI_CODE_DRAW_NORMAL);
    field.textRegion = UI_RECT{104, 102, 255, 112};
    field.markStart = 2;
    field.markEnd = 5;
    field.Repaint(0, 0, 0);

    BITMAP* page = fg_get_page(FG_PAGE_BACK);
    const int32_t markBackground = display.ColourIndex(&UI_MARK_COLOURS, 0);
    const int32_t fieldBackground = display.ColourIndex(field.colours, 0);
    ASSERT_NE(markBackground, fieldBackground);
    const int32_t markLeft = 104 + field.TextWidth(0, 2);
    const int32_t markRight = 104 + field.TextWidth(0, 5) - 1;
    ASSERT_GT(markRight, markLeft);
    // The marked characters' cells are mostly the mark's background, those
    // before and after it mostly the field's (the mark is the field's colours
    // turned round, so the letters' pixels swap too).
    auto mostly = [&](int32_t colour, int32_t left, int32_t right) {
        const int32_t cells = (right - left + 1) * (112 - 102 + 1);
        return CountPageColour(page, colour, left, 102, right, 112) * 3 > cells * 2;
    };
    EXPECT_TRUE(mostly(markBackground, markLeft, markRight));
    EXPECT_FALSE(mostly(fieldBackground, markLeft, markRight));
    EXPECT_TRUE(mostly(fieldBackground, 104, markLeft - 1));
    EXPECT_TRUE(mostly(fieldBackground, markRight + 1, 255));
    EXPECT_FALSE(mostly(markBackground, markRight + 1, 255));
}

} // namespace
