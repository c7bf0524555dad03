// Tests of the fg graphics layer against a memory screen: the mode set-up and
// its standard-output lines, the refresh (what reaches the screen after no
// drawing, a drawing, an overlay move, drawing into an overlay page), the
// switch-in callback, palette conversion, and the drawing primitives' pixels
// (y-up boxes, clipping, the closed polygon, keyed images, masked patterns,
// text placement).
#include <gtest/gtest.h>

#include <allegro.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/ScreenRefresh.h"
#include "support/MemoryScreen.h"
#include "support/ReportCapture.h"
#include "widgets/DrawingPrimitives.h"
#include "widgets/GraphicsSetup.h"

namespace {

constexpr int32_t W = 640;
constexpr int32_t H = 480;
const std::string REFUSED =
    "Scripted refusal\nCan't continue.  Something seriously wrong with the graphics (out of date video drivers?).\n";

class GraphicsLayer : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(fg_set_video_mode(W, H), 1);
        // Whatever earlier tests of this process left pending.
        fg_clear_full_refresh();
        fg_overlay1_dirty = fg_overlay2_dirty = 0;
    }

    BITMAP* Page() { return fg_get_page(FG_PAGE_BACK); }

    // The number of page pixels of colour inside the page rectangle, and in
    // the whole page.
    int32_t CountColour(int32_t colour, int32_t left, int32_t top, int32_t right, int32_t bottom)
    {
        return CountPageColour(Page(), colour, left, top, right, bottom);
    }
    int32_t CountColour(int32_t colour) { return CountColour(colour, 0, 0, W - 1, H - 1); }

    MemoryScreen screen_;
};

TEST(GraphicsSetup, DriverAndSwitchModeFollowTheWindowOption)
{
    struct Row {
        uint8_t windowed;
        bool refuseBackground;   // X11 refuses switch mode 4
        int32_t driver;
        std::vector<int32_t> switchModes;
    };
    const Row rows[] = {
        {0, false, GFX_AUTODETECT, {4}},
        {0, true, GFX_AUTODETECT, {4, 3}},
        {1, false, GFX_AUTODETECT_WINDOWED, {3}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "windowed " << int{r.windowed} << " refuse " << r.refuseBackground);
        MemoryScreen screen;
        if (r.refuseBackground)
            screen.refusedSwitchModes.insert(4);
        fg_set_run_in_window(r.windowed);
        EXPECT_EQ(fg_set_video_mode(800, 600), 1);
        ASSERT_EQ(screen.modes.size(), 1u);
        EXPECT_EQ(screen.modes[0], MemoryScreen::Mode(r.driver, 800, 600));
        EXPECT_EQ(screen.switchModes, r.switchModes);
        EXPECT_EQ(screen.switchCallback, &fg_switch_in);
        EXPECT_EQ(fg_page_width(), 800);
        EXPECT_EQ(fg_page_height(), 600);
        BITMAP* back = fg_get_page(FG_PAGE_BACK);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->w, 800);
        EXPECT_EQ(bitmap_color_depth(back), 8);
        EXPECT_EQ(fg_get_draw_page(), back);
        ASSERT_NE(fg_get_page(FG_PAGE_OVERLAY1), nullptr);
        EXPECT_EQ(fg_get_page(FG_PAGE_OVERLAY2)->w, 32);
    }
    fg_set_run_in_window(0);
}

TEST(GraphicsSetup, RefusedModeWritesTwoLinesAndChangesNothing)
{
    MemoryScreen screen;
    ASSERT_EQ(fg_init_640x480(), 1);
    BITMAP* back = fg_get_page(FG_PAGE_BACK);
    screen.refused.insert({1024, 768});
    testing::internal::CaptureStdout();
    EXPECT_EQ(fg_init_1024x768(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), REFUSED);
    EXPECT_EQ(fg_page_width(), 640);
    EXPECT_EQ(fg_get_page(FG_PAGE_BACK), back);
    EXPECT_EQ(fg_get_draw_page(), back);
}

TEST(GraphicsSetup, CallbackRefusedWritesFourLinesAndGoesOn)
{
    MemoryScreen screen;
    screen.callbackAnswer = -1;
    const std::string stars(78, '*');
    testing::internal::CaptureStdout();
    EXPECT_EQ(fg_init_800x600(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              stars + "\n***Unable to install Display Switch Callback.\n"
                      "***Proceeding, but Tessarn3 might not refresh correctly if you Alt-Tab out and back.\n" +
                  stars + "\n");
    EXPECT_EQ(fg_page_width(), 800);
}

TEST(GraphicsSetup, PaletteIsConvertedOnce)
{
    uint8_t palette[256 * 4];
    for (int32_t i = 0; i < 256 * 4; ++i)
        palette[i] = static_cast<uint8_t>(i);
    palette[3] = 0;
    fg_palette_to_vga(palette);
    EXPECT_EQ(palette[3], 0xFF);
    EXPECT_EQ(palette[4 * 255 + 0], (4 * 255) % 256 >> 2);
    EXPECT_EQ(palette[4 * 255 + 2], (4 * 255 + 2) % 256 >> 2);
    EXPECT_EQ(palette[4 * 255 + 3], (4 * 255 + 3) % 256);   // other fourth bytes untouched
    uint8_t once[256 * 4];
    std::memcpy(once, palette, sizeof once);
    fg_palette_to_vga(palette);
    EXPECT_EQ(std::memcmp(once, palette, sizeof once), 0);

    palette[3] = 0xFE;   // the other mark of a converted palette
    palette[4] = 200;
    fg_palette_to_vga(palette);
    EXPECT_EQ(palette[4], 200);
}

TEST(GraphicsSetup, BoxesAreMadeAndCopied)
{
    FgBox box;
    EXPECT_EQ(fg_make_box(&box, 1, 2, 3, 4), &box);
    FgBox copy;
    EXPECT_EQ(fg_copy_box(&copy, &box), &copy);
    EXPECT_EQ(copy.x1, 1);
    EXPECT_EQ(copy.y2, 4);
}

TEST_F(GraphicsLayer, RefreshWithNothingDrawnWritesNothing)
{
    fg_refresh_screen();
    EXPECT_EQ(screen_.ChangedOutside(0, 0, -1, -1), 0);
}

TEST_F(GraphicsLayer, FirstDrawingCopiesThePageOnceAndBothOverlays)
{
    fg_fill_box(7, FG_MODE_SOLID, 0, FgBox{10, H - 11, 19, H - 20});   // rows 10 to 19
    ASSERT_EQ(fg_full_refresh_pending(), 1);
    fg_refresh_screen();
    EXPECT_EQ(fg_full_refresh_pending(), 0);
    EXPECT_EQ(fg_overlay1_dirty, 0);
    EXPECT_EQ(fg_overlay2_dirty, 0);
    BITMAP* shown = fg_get_page(FG_PAGE_SCREEN);
    for (int32_t y = 0; y < H; y += 7)
        for (int32_t x = 0; x < W; x += 5)
            ASSERT_EQ(getpixel(shown, x, y), getpixel(Page(), x, y)) << x << "," << y;
    EXPECT_EQ(getpixel(shown, 15, 15), 7);

    // The next pass has nothing to do.
    screen_.Wipe();
    fg_refresh_screen();
    EXPECT_EQ(screen_.ChangedOutside(0, 0, -1, -1), 0);
}

TEST_F(GraphicsLayer, MovingOverlayTwoRestoresOnlyItsOldRectangle)
{
    fg_place_overlay1(FgBox{500, H - 1 - 400, 509, H - 1 - 409});
    fg_place_overlay2(FgBox{100, H - 1 - 50, 109, H - 1 - 59});
    fg_set_full_refresh();
    fg_refresh_screen();
    EXPECT_EQ(fg_overlay_old_rect(2).left, 100);
    EXPECT_EQ(fg_overlay_old_rect(2).top, 50);

    // The display's way: place, draw the image into page 5, mark, show.
    std::vector<uint8_t> image(4 * 4, 9);
    image[0] = 0;   // transparent in the masked copy
    fg_place_overlay2(FgBox{300, H - 1 - 200, 303, H - 1 - 203});
    fg_select_page(FG_PAGE_OVERLAY2);
    fg_put_image_keyed(FgBox{0, 0, 3, 3}, image.data(), 14);
    fg_restore_page();
    EXPECT_EQ(fg_get_draw_page(), Page());
    fg_overlay2_dirty = 1;
    screen_.Wipe();
    fg_refresh_screen();

    EXPECT_EQ(screen_.ChangedInside(100, 50, 109, 59), 100);   // restored from the page
    EXPECT_EQ(screen_.ChangedInside(300, 200, 303, 203), 15);  // the image less its transparent pixel
    EXPECT_EQ(getpixel(fg_get_page(FG_PAGE_SCREEN), 301, 201), 9);
    EXPECT_EQ(screen_.ChangedInside(500, 400, 509, 409), 0);   // overlay 1 untouched
    const int32_t total = screen_.ChangedOutside(0, 0, -1, -1);
    EXPECT_EQ(total, 115);
    EXPECT_EQ(fg_overlay_old_rect(2).left, 300);
}

TEST_F(GraphicsLayer, DrawingAndMoveInOnePassGiveOneFullCopyWithoutRestore)
{
    fg_place_overlay1(FgBox{0, H - 1, 31, H - 32});
    fg_overlay1_dirty = 1;
    fg_put_pixel(5, 0, 0, 320, 240);
    fg_refresh_screen();
    EXPECT_EQ(screen_.ChangedOutside(0, 0, -1, -1), W * H);
    EXPECT_EQ(fg_overlay_old_rect(1).right, 31);
}

TEST_F(GraphicsLayer, OverlayLargerThanItsPageShowsOnly32By32)
{
    fg_place_overlay1(FgBox{0, H - 1, 39, H - 40});   // 40 by 40
    fg_set_full_refresh();
    fg_refresh_screen();
    const std::vector<uint8_t> image(32 * 32, 9);
    fg_select_page(FG_PAGE_OVERLAY1);
    fg_put_image_keyed(FgBox{0, 0, 31, 31}, image.data(), 14);
    fg_restore_page();
    fg_overlay1_dirty = 1;
    screen_.Wipe();
    fg_refresh_screen();
    BITMAP* shown = fg_get_page(FG_PAGE_SCREEN);
    EXPECT_EQ(CountPageColour(shown, 9, 0, 0, 39, 39), 32 * 32);
    EXPECT_EQ(CountPageColour(shown, 9, 0, 0, 31, 31), 32 * 32);
    EXPECT_EQ(screen_.ChangedOutside(0, 0, 39, 39), 0);

    // Moving it away restores the whole old 40 by 40 rectangle.
    fg_place_overlay1(FgBox{200, H - 201, 239, H - 240});
    fg_overlay1_dirty = 1;
    screen_.Wipe();
    fg_refresh_screen();
    EXPECT_EQ(screen_.ChangedInside(0, 0, 39, 39), 40 * 40);
}

TEST_F(GraphicsLayer, NothingReachesTheScreenWhileAnOverlayPageIsDrawnOn)
{
    for (int32_t page : {FG_PAGE_OVERLAY1, FG_PAGE_OVERLAY2}) {
        SCOPED_TRACE(page);
        fg_select_page(page);
        fg_put_pixel(3, 0, 0, 1, 1);
        fg_refresh_screen();
        EXPECT_EQ(screen_.ChangedOutside(0, 0, -1, -1), 0);
        fg_restore_page();
        fg_refresh_screen();   // the change waited for this pass
        EXPECT_EQ(screen_.ChangedOutside(0, 0, -1, -1), W * H);
        screen_.Wipe();
    }
}

TEST_F(GraphicsLayer, SwitchInOnlyMarksTheScreenForRepainting)
{
    fg_switch_in();
    EXPECT_EQ(screen_.ChangedOutside(0, 0, -1, -1), 0);
    EXPECT_EQ(fg_full_refresh_pending(), 1);
    fg_refresh_screen();
    EXPECT_EQ(screen_.ChangedOutside(0, 0, -1, -1), W * H);
}

TEST_F(GraphicsLayer, PagesAreSelectedAndRestored)
{
    BITMAP* third = create_bitmap_ex(8, W, H);
    EXPECT_EQ(fg_set_third_page(third), 1);
    EXPECT_EQ(fg_get_draw_page(), third);
    fg_select_page(FG_PAGE_DRAW);   // keeps the current page
    EXPECT_EQ(fg_get_draw_page(), third);
    fg_restore_page();
    fg_select_page(FG_PAGE_BACK);
    EXPECT_EQ(fg_get_draw_page(), Page());
    fg_restore_page();
    EXPECT_EQ(fg_get_draw_page(), third);
    fg_select_page(9);
    EXPECT_EQ(fg_get_draw_page(), nullptr);
    fg_fill_box(1, 0, 0, FgBox{0, 0, 9, 9});   // no page: nothing, no crash
    fg_refresh_screen();
    fg_restore_page();
    EXPECT_EQ(fg_get_page(6), nullptr);
    EXPECT_EQ(fg_get_page(-1), nullptr);
    fg_set_draw_page(Page());
    fg_set_third_page(nullptr);
    fg_set_draw_page(Page());
    destroy_bitmap(third);
}

TEST_F(GraphicsLayer, BoxesAreYUpWithBothEndsInclusive)
{
    fg_fill_box(4, FG_MODE_SOLID, 0, FgBox{0, 0, W - 1, H - 1});
    EXPECT_EQ(CountColour(4), W * H);

    clear_to_color(Page(), 0);
    fg_fill_box(5, FG_MODE_SOLID, 0, FgBox{10, 20, 19, 29});
    EXPECT_EQ(CountColour(5, 10, H - 30, 19, H - 21), 100);
    EXPECT_EQ(CountColour(5), 100);
    clear_to_color(Page(), 0);
    fg_fill_box(5, FG_MODE_SOLID, 0, FgBox{10, 29, 19, 20});   // y values swapped
    EXPECT_EQ(CountColour(5, 10, H - 30, 19, H - 21), 100);

    clear_to_color(Page(), 0);
    fg_draw_box(6, FG_MODE_SOLID, 0, 0, FgBox{10, 20, 19, 29}, nullptr);
    EXPECT_EQ(CountColour(6), 36);   // the outline of 10 by 10
}

TEST_F(GraphicsLayer, ClipBoxLimitsDrawingAndIsLiftedAfterwards)
{
    const FgBox clip{0, H - 10, 9, H - 1};   // rows 0 to 9, columns 0 to 9
    fg_draw_line(8, FG_MODE_SOLID, 0, 0, FgBox{0, H - 1, 99, H - 1}, &clip);
    EXPECT_EQ(CountColour(8), 10);
    fg_draw_line(8, FG_MODE_SOLID, 0, 0, FgBox{0, 0, 99, 0}, nullptr);
    EXPECT_EQ(CountColour(8), 110);
}

TEST_F(GraphicsLayer, ClipBoxOffThePageDrawsNothing)
{
    // The library clamps a clip rectangle to the bitmap, which would leave
    // the last column or row open for a clip wholly beyond it.
    struct Row {
        const char* where;
        FgBox clip;
    };
    const Row rows[] = {
        {"right", FgBox{W + 5, 0, W + 20, H - 1}},
        {"below", FgBox{0, -20, W - 1, -5}},
        {"left", FgBox{-20, 0, -5, H - 1}},
        {"above", FgBox{0, H + 5, W - 1, H + 20}},
    };
    const FgPoint square[] = {{0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.where);
        fg_draw_line(8, FG_MODE_SOLID, 0, 0, FgBox{0, 0, W - 1, 0}, &r.clip);
        fg_draw_line(8, FG_MODE_SOLID, 0, 0, FgBox{W - 1, 0, W - 1, H - 1}, &r.clip);
        fg_draw_box(8, FG_MODE_SOLID, 0, 0, FgBox{0, 0, W - 1, H - 1}, &r.clip);
        fg_fill_polygon(8, FG_MODE_SOLID, 0, 4, square, &r.clip);
        fg_puts(8, FG_MODE_SOLID, 0, 0, W - 4, 0, "MMMM", &r.clip);
        EXPECT_EQ(CountColour(8), 0);
    }
    fg_draw_line(8, FG_MODE_SOLID, 0, 0, FgBox{0, 0, W - 1, 0}, nullptr);   // the clip is lifted again
    EXPECT_EQ(CountColour(8), W);
}

TEST_F(GraphicsLayer, ModesWithoutTheirPatternDrawSolid)
{
    // The library's pattern and translucent modes would read a pattern or
    // colour map no caller gives (a crash); they draw solid instead.
    for (int32_t mode : {2, 3, 4, 5, 99}) {
        SCOPED_TRACE(mode);
        clear_to_color(Page(), 0);
        fg_fill_box(7, mode, 0, FgBox{0, 0, 9, 9});
        EXPECT_EQ(CountColour(7), 100);
    }
    fg_fill_box(7, FG_MODE_XOR, 0, FgBox{0, 0, 9, 9});   // exclusive-or stays
    EXPECT_EQ(CountColour(0), W * H);
}

TEST_F(GraphicsLayer, ModeMinusOneReportsAndDrawsTheOutline)
{
    ReportCapture reports;
    fg_draw_box(6, -1, 0, 0, FgBox{0, 0, 3, 3}, nullptr);
    EXPECT_EQ(reports.errors, std::vector<std::string>{"Assert not working"});
    EXPECT_EQ(CountColour(6), 12);
}

TEST_F(GraphicsLayer, PolygonOutlineClosesAndOnePointIsOnePixel)
{
    const FgPoint corner[] = {{10, 10}, {50, 10}, {50, 50}};
    fg_draw_polygon(3, FG_MODE_SOLID, 0, 0, 3, corner, nullptr);
    // The closing line from (50, 50) back to (10, 10) passes (30, 30).
    EXPECT_EQ(getpixel(Page(), 30, H - 1 - 30), 3);
    EXPECT_EQ(getpixel(Page(), 30, H - 1 - 10), 3);

    clear_to_color(Page(), 0);
    const FgPoint one[] = {{7, 8}};
    fg_draw_polygon(3, FG_MODE_SOLID, 0, 0, 1, one, nullptr);
    EXPECT_EQ(CountColour(3), 1);
    EXPECT_EQ(getpixel(Page(), 7, H - 1 - 8), 3);
    fg_draw_polygon(3, FG_MODE_SOLID, 0, 0, 0, one, nullptr);
    fg_fill_polygon(3, FG_MODE_SOLID, 0, 0, one, nullptr);
    EXPECT_EQ(CountColour(3), 1);
}

TEST_F(GraphicsLayer, FilledPolygonsReuseTheirBuffer)
{
    std::vector<FgPoint> big;
    for (int32_t i = 0; i < 40; ++i)
        big.push_back(FgPoint{100 + (i % 2) * 50, 100 + i});
    fg_fill_polygon(2, FG_MODE_SOLID, 0, static_cast<int32_t>(big.size()), big.data(), nullptr);
    const FgPoint square[] = {{0, 0}, {9, 0}, {9, 9}, {0, 9}};
    clear_to_color(Page(), 0);
    fg_fill_polygon(2, FG_MODE_SOLID, 0, 4, square, nullptr);
    EXPECT_EQ(CountColour(2), 100);
}

TEST_F(GraphicsLayer, KeyedImageStartsAtThePageOriginAndSkipsTheKey)
{
    const uint8_t image[] = {1, 14, 2, 14, 3, 4};   // 3 wide, 2 high
    BITMAP* before = create_bitmap_ex(8, W, H);
    clear_to_color(Page(), 0);
    fg_put_image_keyed(FgBox{200, 200, 202, 201}, image, 14);
    EXPECT_EQ(fg_full_refresh_pending(), 0);
    EXPECT_EQ(getpixel(Page(), 0, 0), 1);
    EXPECT_EQ(getpixel(Page(), 1, 0), 0);   // key: transparent
    EXPECT_EQ(getpixel(Page(), 2, 0), 2);
    EXPECT_EQ(getpixel(Page(), 0, 1), 0);
    EXPECT_EQ(getpixel(Page(), 1, 1), 3);
    EXPECT_EQ(getpixel(Page(), 2, 1), 4);
    EXPECT_EQ(CountColour(0), W * H - 4);
    destroy_bitmap(before);
}

TEST_F(GraphicsLayer, MaskedPatternDrawsSetBitsAndStaysForPixels)
{
    uint8_t checker[FG_PATTERN_BYTES];
    for (int32_t row = 0; row < 16; ++row) {
        checker[2 * row] = checker[2 * row + 1] = row % 2 == 0 ? 0xAA : 0x55;
    }
    fg_set_fill_pattern(11, checker);
    EXPECT_EQ(fg_full_refresh_pending(), 0);
    clear_to_color(Page(), 1);
    fg_fill_box_pattern(9, FG_MODE_SOLID, 0, FgBox{0, H - 1, 7, H - 8}, 11);
    EXPECT_EQ(CountColour(9, 0, 0, 7, 7), 32);
    EXPECT_EQ(CountColour(1, 0, 0, 7, 7), 32);   // pattern bits 0 leave the page
    EXPECT_EQ(getpixel(Page(), 0, 0), 9);
    EXPECT_EQ(getpixel(Page(), 1, 0), 1);

    // The masked-pattern mode persists: a pixel where the pattern is 0 does
    // not show, one where it is 1 does.
    fg_put_pixel(9, 0, 0, 101, H - 1 - 100);   // row 100 even, column 101 odd: bit 0
    fg_put_pixel(9, 0, 0, 100, H - 1 - 100);
    EXPECT_EQ(getpixel(Page(), 101, 100), 1);
    EXPECT_EQ(getpixel(Page(), 100, 100), 9);

    fg_fill_box_pattern(9, FG_MODE_SOLID, 0, FgBox{0, 0, 9, 9}, 12);   // no such slot: nothing
    EXPECT_EQ(getpixel(Page(), 5, H - 5), 1);
    fg_fill_box(1, FG_MODE_SOLID, 0, FgBox{0, 0, 0, 0});   // back to solid for later tests
}

TEST_F(GraphicsLayer, TextSitsOnItsLowestRow)
{
    fg_puts(12, FG_MODE_SOLID, 0, 0, 100, 200, "MMMM", nullptr);
    int32_t lowest = -1;
    int32_t highest = H;
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 100; x < 132; ++x)
            if (getpixel(Page(), x, y) == 12) {
                lowest = std::max(lowest, y);
                highest = std::min(highest, y);
            }
    EXPECT_LE(lowest, H - 1 - 200);
    EXPECT_GE(highest, H - 200 - text_height(font));
    EXPECT_GT(lowest, H - 1 - 200 - 3);   // the glyphs reach down near the line
}

TEST_F(GraphicsLayer, PageBoxesAreCopiedBetweenPages)
{
    BITMAP* third = create_bitmap_ex(8, W, H);
    clear_to_color(third, 0);
    fg_set_third_page(third);
    fg_set_draw_page(Page());
    fg_fill_box(11, FG_MODE_SOLID, 0, FgBox{0, 0, 9, 9});
    fg_copy_page_box(FgBox{0, 0, 9, 9}, 100, 100, FG_PAGE_BACK, FG_PAGE_THIRD);
    EXPECT_EQ(getpixel(third, 100, H - 100 - 10), 11);
    EXPECT_EQ(getpixel(third, 109, H - 1 - 100), 11);
    EXPECT_EQ(getpixel(third, 110, H - 1 - 100), 0);
    fg_copy_page_box(FgBox{0, 0, 9, 9}, 100, 100, FG_PAGE_BACK, 7);   // no page: nothing

    clear_to_color(Page(), 0);
    fg_put_bitmap(FgBox{20, H - 1 - 20, 29, H - 1 - 29}, third, 0, 100, H - 110, 1);
    EXPECT_EQ(getpixel(Page(), 20, 20), 11);
    fg_blit_to_box(FgBox{300, 300, 309, 309}, third);   // library rows
    EXPECT_EQ(getpixel(Page(), 300, 300), 0);
    fg_set_third_page(nullptr);
    fg_set_draw_page(Page());
    destroy_bitmap(third);
}

TEST_F(GraphicsLayer, SetFontOnlyReports)
{
    ReportCapture reports;
    const FgFontRecord record;
    fg_set_font(&record);
    EXPECT_EQ(reports.errors, std::vector<std::string>{"eek.  fg_set_font isn't finished.  please report this."});
    EXPECT_EQ(fg_full_refresh_pending(), 0);
}

} // namespace
