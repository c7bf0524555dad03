// Tests of the display on the fg layer, against a memory screen: the mode
// ladder, the metrics, drawing only in the drawing window's areas, text
// markers, widths and the character limit, pixel images, nested updates and
// the overlays, area assignment, and the country table it fills.
#include <gtest/gtest.h>

#include <allegro.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "core/ScreenRefresh.h"
#include "support/MemoryScreen.h"
#include "widgets/CountryTable.h"
#include "widgets/UI_FG_DISPLAY.h"

namespace {

constexpr int32_t BACKGROUND = 1;   // the framework's background colour

UI_COLOUR_ENTRY Solid(int32_t foreground, int32_t background)
{
    return UI_COLOUR_ENTRY{{32, 0, 0}, 1, foreground, background, 1, 0, foreground, background};
}

BITMAP* Page()
{
    return fg_get_page(FG_PAGE_BACK);
}

int32_t CountColour(int32_t colour, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return CountPageColour(Page(), colour, left, top, right, bottom);
}

TEST(UI_FG_DISPLAY, ModeLadderStepsDownFromTheModeAsked)
{
    struct Row {
        int32_t mode;
        std::vector<std::pair<int32_t, int32_t>> refused;
        int32_t ready, width, height, tries;
    };
    const Row rows[] = {
        {UI_MODE_1280X1024, {}, 1, 1280, 1024, 1},
        {UI_MODE_1280X1024, {{1280, 1024}}, 1, 1024, 768, 2},
        {UI_MODE_1280X1024, {{1280, 1024}, {1024, 768}, {800, 600}}, 1, 640, 480, 4},
        {UI_MODE_1024X768, {}, 1, 1024, 768, 1},
        {UI_MODE_1024X768, {{1024, 768}}, 1, 800, 600, 2},
        {UI_MODE_800X600, {}, 1, 800, 600, 1},
        {0x101, {}, 1, 640, 480, 1},
        {0, {}, 1, 640, 480, 1},
        {UI_MODE_800X600, {{800, 600}, {640, 480}}, 0, 0, 0, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode 0x" << std::hex << r.mode << " refusals " << r.refused.size());
        MemoryScreen screen;
        for (const auto& size : r.refused)
            screen.refused.insert(size);
        testing::internal::CaptureStdout();
        UI_FG_DISPLAY display(r.mode);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(display.ready, r.ready);
        EXPECT_EQ(display.width, r.width);
        EXPECT_EQ(display.height, r.height);
        EXPECT_EQ(static_cast<int32_t>(screen.modes.size()), r.tries);
        std::string expected;
        for (size_t i = 0; i < r.refused.size(); ++i)
            expected += "Scripted refusal\nCan't continue.  Something seriously wrong with the graphics "
                        "(out of date video drivers?).\n";
        EXPECT_EQ(out, expected);
    }
}

class Display : public testing::Test {
protected:
    void SetUp() override
    {
        display_ = std::make_unique<UI_FG_DISPLAY>(0);
        ASSERT_EQ(display_->ready, 1);
    }

    MemoryScreen screen_;
    std::unique_ptr<UI_FG_DISPLAY> display_;
};

TEST_F(Display, ComesUpWithItsMetricsTheBackgroundAndTheDesktopArea)
{
    UI_FG_DISPLAY& d = *display_;
    EXPECT_EQ(d.systemName, "DOS");
    EXPECT_EQ(d.driverName, "FG");
    EXPECT_EQ(d.colourCount, 256);
    EXPECT_EQ(d.columnWidth, 8);
    EXPECT_EQ(d.rowHeight, 21);
    EXPECT_EQ(d.StringHeight("anything", 1, 1), 13);
    EXPECT_EQ(d.currentFont, 1);
    EXPECT_EQ(d.characterWidths['W'], 8);
    EXPECT_EQ(CountColour(BACKGROUND, 0, 0, 639, 479), 640 * 480);
    EXPECT_EQ(screen_.ChangedOutside(0, 0, -1, -1), 640 * 480);   // refreshed
    ASSERT_EQ(d.Size(), 1);
    EXPECT_EQ(d.First()->screenNumber, 1);
    EXPECT_EQ(d.First()->region.right, 639);
    EXPECT_EQ(d.First()->region.bottom, 479);
}

TEST_F(Display, BoxAcrossAWindowInFrontChangesOnlyItsOwnAreas)
{
    UI_FG_DISPLAY& d = *display_;
    d.AssignArea(2, 100, 100, 299, 199);   // a window in front of the desktop
    const UI_COLOUR_ENTRY grey = Solid(15, 7);
    d.DrawBox(1, 50, 50, 349, 249, &grey, 0, 1, 0, nullptr);
    EXPECT_EQ(CountColour(BACKGROUND, 100, 100, 299, 199), 200 * 100);
    EXPECT_EQ(CountColour(7, 50, 50, 349, 249), 300 * 200 - 200 * 100);
    EXPECT_EQ(CountColour(7, 0, 0, 639, 479), 300 * 200 - 200 * 100);

    d.DrawBox(2, 50, 50, 349, 249, &grey, 0, 1, 0, nullptr);   // the window in front draws there
    EXPECT_EQ(CountColour(7, 100, 100, 299, 199), 200 * 100);

    const UI_COLOUR_ENTRY white = Solid(15, 15);
    d.DrawBox(UI_ALL_SCREENS, 0, 0, 9, 9, &white, 1, 0, 0, nullptr);   // regardless of the areas
    EXPECT_EQ(CountColour(15, 0, 0, 9, 9), 36);
}

TEST_F(Display, BoxFramesAndPatternedFills)
{
    UI_FG_DISPLAY& d = *display_;
    const UI_COLOUR_ENTRY frame = Solid(15, 7);
    d.DrawBox(1, 10, 10, 29, 29, &frame, 2, 0, 0, nullptr);
    EXPECT_EQ(CountColour(15, 10, 10, 29, 29), 20 * 20 - 16 * 16);
    const UI_COLOUR_ENTRY same = Solid(7, 7);
    d.DrawBox(1, 40, 10, 59, 29, &same, 2, 1, 0, nullptr);   // filled, equal colours: no frame
    EXPECT_EQ(CountColour(7, 40, 10, 59, 29), 400);

    UI_COLOUR_ENTRY checker = Solid(4, 9);
    checker.fillPattern = 9;
    d.DrawBox(1, 0, 100, 7, 107, &checker, 0, 1, 0, nullptr);
    EXPECT_EQ(CountColour(4, 0, 100, 7, 107), 32);
    EXPECT_EQ(CountColour(9, 0, 100, 7, 107), 32);
    EXPECT_EQ(d.currentPattern, 9);

    UI_COLOUR_ENTRY outside = Solid(4, 9);
    outside.fillPattern = 12;   // beyond the pattern table: solid
    d.DrawBox(1, 20, 100, 27, 107, &outside, 0, 1, 0, nullptr);
    EXPECT_EQ(CountColour(9, 20, 100, 27, 107), 64);
}

TEST_F(Display, StringWidthCountsMarkersOut)
{
    struct Row {
        const char* text;
        int32_t font;
        int32_t width;
    };
    const Row rows[] = {
        {"&File", 1, 32},   {"&File", 0x1001, 40}, {"File", 1, 32},     {"&&", 1, 8},
        {"a&&b&c", 1, 32},  {"end&", 1, 24},       {"", 1, 0},          {nullptr, 1, 0},
        {"&File", 0x1002, 40}, {"&File", 2, 32}, {"M", 0, 8},
        {"MM", 5, 16},   // no such slot: measured in slot 1
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text != nullptr ? r.text : "(null)");
        EXPECT_EQ(display_->StringWidth(r.text, 1, r.font), r.width);
    }
}

TEST_F(Display, MarkedCharacterIsUnderlinedAndTheMarkerNotDrawn)
{
    UI_FG_DISPLAY& d = *display_;
    const UI_COLOUR_ENTRY text = Solid(15, 3);
    d.DrawString(1, 100, 100, "&File", &text, -1, 1, 0, nullptr, 1);
    EXPECT_EQ(CountColour(3, 100, 100, 131, 115) + CountColour(15, 100, 100, 131, 115), 32 * 16);   // filled box
    EXPECT_EQ(CountColour(3, 132, 100, 140, 115), 0);
    EXPECT_EQ(CountColour(15, 100, 115, 107, 115), 8);    // under the F
    EXPECT_EQ(CountColour(15, 108, 115, 131, 115), 0);
    EXPECT_GT(CountColour(15, 100, 100, 107, 114), 0);    // the F itself

    d.DrawString(1, 200, 200, "&File", &text, -1, 1, 0, nullptr, 0x1001);   // '&' drawn, nothing underlined
    EXPECT_EQ(CountColour(3, 200, 200, 239, 215) + CountColour(15, 200, 200, 239, 215), 40 * 16);
    EXPECT_EQ(CountColour(15, 200, 215, 239, 215), 0);

    d.DrawString(1, 300, 300, "&a&b", &text, -1, 1, 0, nullptr, 1);   // only the last marked
    EXPECT_EQ(CountColour(15, 300, 315, 307, 315), 0);
    EXPECT_EQ(CountColour(15, 308, 315, 315, 315), 8);
}

TEST_F(Display, NothingIsDrawnForNoTextOrNoColours)
{
    UI_FG_DISPLAY& d = *display_;
    const UI_COLOUR_ENTRY text = Solid(15, 3);
    fg_clear_full_refresh();
    d.DrawString(1, 0, 0, nullptr, &text, -1, 1, 0, nullptr, 1);
    d.DrawString(1, 0, 0, "", &text, -1, 1, 0, nullptr, 1);
    d.DrawString(1, 0, 0, "abc", nullptr, -1, 1, 0, nullptr, 1);
    d.DrawString(1, 0, 0, "abc", &text, 0, 1, 0, nullptr, 1);
    d.DrawBox(1, -50, -50, -1, -1, &text, 1, 1, 0, nullptr);   // off the screen
    const UI_RECT clip{600, 400, 610, 410};
    d.DrawBox(1, 0, 0, 9, 9, &text, 1, 1, 0, &clip);          // outside the clip
    EXPECT_EQ(fg_full_refresh_pending(), 0);
    EXPECT_EQ(CountColour(BACKGROUND, 0, 0, 639, 479), 640 * 480);
}

TEST(UI_FG_DISPLAY, DrawStringDrawsAtMost255Characters)
{
    MemoryScreen screen;
    UI_FG_DISPLAY d(UI_MODE_1280X1024);
    ASSERT_EQ(d.width, 1280);
    const std::string text(300, 'M');
    const UI_COLOUR_ENTRY colours = Solid(15, 3);
    // Started so that character 255, if drawn, would fill the last 8 columns.
    const int32_t left = 1280 - 256 * 8;
    d.DrawString(1, left, 100, text.c_str(), &colours, -1, 1, 0, nullptr, 1);
    EXPECT_EQ(CountColour(3, 1272, 100, 1279, 115), 0);
    EXPECT_EQ(CountColour(15, 1272, 100, 1279, 115), 0);
    EXPECT_GT(CountColour(15, 1264, 100, 1271, 115), 0);
    EXPECT_EQ(CountColour(3, 1264, 100, 1271, 115) + CountColour(15, 1264, 100, 1271, 115), 8 * 16);

    // A length shorter than the text draws that many.
    d.DrawString(1, 0, 200, text.c_str(), &colours, 3, 1, 0, nullptr, 1);
    EXPECT_EQ(CountColour(BACKGROUND, 0, 200, 23, 215), 0);
    EXPECT_EQ(CountColour(BACKGROUND, 24, 200, 31, 215), 128);
}

TEST_F(Display, PixelsTakeTheirColourMapOrTheirOwnIndex)
{
    UI_FG_DISPLAY& d = *display_;
    const uint8_t image[] = {0, 2, 0xFF, 5};   // 2 by 2
    d.DrawPixels(1, 10, 10, 2, 2, image, nullptr, nullptr);
    EXPECT_EQ(getpixel(Page(), 10, 10), 0);
    EXPECT_EQ(getpixel(Page(), 11, 10), 2);
    EXPECT_EQ(getpixel(Page(), 10, 11), BACKGROUND);   // 0xFF is transparent
    EXPECT_EQ(getpixel(Page(), 11, 11), 5);

    std::vector<UI_COLOUR_ENTRY> map(6, Solid(0, 0));
    map[0] = Solid(40, 0);
    map[2] = Solid(42, 0);
    map[5] = Solid(45, 0);
    d.AssignArea(2, 21, 0, 100, 100);   // the right column belongs to another window
    d.DrawPixels(1, 20, 20, 2, 2, image, map.data(), nullptr);
    EXPECT_EQ(getpixel(Page(), 20, 20), 40);
    EXPECT_EQ(getpixel(Page(), 21, 20), BACKGROUND);
    EXPECT_EQ(getpixel(Page(), 21, 21), BACKGROUND);
}

TEST_F(Display, NestedUpdatesKeepThePointerLiftedUntilTheLastRelease)
{
    UI_FG_DISPLAY& d = *display_;
    const std::vector<uint8_t> pointer(4 * 4, 9);
    ASSERT_EQ(d.SetOverlay(UI_OVERLAY_POINTER, 10, 10, 4, 4, pointer.data()), 1);
    EXPECT_EQ(CountColour(9, 10, 10, 13, 13), 16);

    d.HoldScreen(1, 0, 0, 50, 50);
    d.HoldScreen(1, 0, 0, 20, 20);
    EXPECT_EQ(CountColour(BACKGROUND, 10, 10, 13, 13), 16);
    EXPECT_EQ(d.SetOverlay(UI_OVERLAY_CURSOR, 0, 0, 1, 1, pointer.data()), 0);   // locked
    EXPECT_EQ(d.MoveOverlay(UI_OVERLAY_POINTER, 30, 30), 0);
    d.ReleaseScreen(1);
    EXPECT_EQ(CountColour(BACKGROUND, 10, 10, 13, 13), 16);
    EXPECT_EQ(d.updateDepth, -1);
    d.ReleaseScreen(1);
    EXPECT_EQ(CountColour(9, 10, 10, 13, 13), 16);
    EXPECT_EQ(d.overlayLock, 0);

    // A drawing under the pointer leaves the pointer on top and its saved
    // pixels in the new colour.
    const UI_COLOUR_ENTRY red = Solid(4, 4);
    d.DrawBox(1, 0, 0, 30, 30, &red, 0, 1, 0, nullptr);
    EXPECT_EQ(CountColour(9, 10, 10, 13, 13), 16);
    EXPECT_EQ(d.MoveOverlay(UI_OVERLAY_POINTER, 40, 40), 1);
    EXPECT_EQ(CountColour(4, 10, 10, 13, 13), 16);
    EXPECT_EQ(CountColour(9, 40, 40, 43, 43), 16);
}

TEST_F(Display, MovingAnOverlayToItsPlaceDoesNothing)
{
    UI_FG_DISPLAY& d = *display_;
    std::vector<uint8_t> cursor(2 * 8, 12);
    cursor[0] = UI_OVERLAY_TRANSPARENT;
    EXPECT_EQ(d.MoveOverlay(UI_OVERLAY_CURSOR, 5, 5), 0);   // no image yet
    ASSERT_EQ(d.SetOverlay(UI_OVERLAY_CURSOR, 100, 100, 2, 8, cursor.data()), 1);
    EXPECT_EQ(getpixel(Page(), 100, 100), BACKGROUND);
    EXPECT_EQ(getpixel(Page(), 101, 100), 12);
    fg_clear_full_refresh();
    EXPECT_EQ(d.MoveOverlay(UI_OVERLAY_CURSOR, 100, 100), 0);
    EXPECT_EQ(fg_full_refresh_pending(), 0);
    EXPECT_EQ(d.MoveOverlay(2, 0, 0), 0);
    ASSERT_EQ(d.SetOverlay(UI_OVERLAY_CURSOR, 0, 0, 0, 0, nullptr), 1);   // removed
    EXPECT_EQ(CountColour(12, 0, 0, 639, 479), 0);
}

TEST_F(Display, AreasAreAssignedCutAndReset)
{
    UI_FG_DISPLAY& d = *display_;
    d.AssignArea(2, 100, 100, 199, 199);
    EXPECT_EQ(d.Size(), 5);   // four desktop pieces and the window
    d.AssignArea(3, 50, 50, 49, 60);   // empty: nothing
    d.AssignArea(3, 700, 0, 800, 10);  // off the screen: nothing
    EXPECT_EQ(d.Size(), 5);
    d.AssignArea(3, 600, 400, 900, 900);   // clamped
    EXPECT_EQ(d.tail != nullptr ? static_cast<UI_CLIP_RECT*>(d.tail)->region.right : 0, 639);
    d.AssignArea(4, -10, -10, 1000, 1000);   // the whole screen
    ASSERT_EQ(d.Size(), 1);
    EXPECT_EQ(d.First()->screenNumber, 4);
}

TEST_F(Display, ClipToScreenClampsAndIntersects)
{
    struct Row {
        UI_RECT rect;
        bool hasClip;
        UI_RECT clip;
        bool answer;
        UI_RECT result;
    };
    const Row rows[] = {
        {{-5, -5, 10, 10}, false, {}, true, {0, 0, 10, 10}},
        {{600, 400, 700, 500}, false, {}, true, {600, 400, 639, 479}},
        {{0, 0, 100, 100}, true, {50, 60, 200, 70}, true, {50, 60, 100, 70}},
        {{0, 0, 100, 100}, true, {101, 0, 200, 70}, false, {}},
        {{-10, 0, -1, 10}, false, {}, false, {}},
    };
    for (const Row& r : rows) {
        UI_RECT result{};
        const bool answer =
            display_->ClipToScreen(result, r.hasClip ? &r.clip : nullptr, r.rect.left, r.rect.top, r.rect.right,
                                   r.rect.bottom);
        EXPECT_EQ(answer, r.answer);
        if (answer) {
            EXPECT_EQ(result.left, r.result.left);
            EXPECT_EQ(result.top, r.result.top);
            EXPECT_EQ(result.right, r.result.right);
            EXPECT_EQ(result.bottom, r.result.bottom);
        }
    }
}

TEST_F(Display, XorFrameDrawnTwiceLeavesThePage)
{
    UI_FG_DISPLAY& d = *display_;
    const UI_RECT a{10, 10, 50, 50};
    const UI_RECT b{20, 20, 60, 60};
    d.XorFrame(a, b, 1);
    EXPECT_NE(getpixel(Page(), 10, 10), BACKGROUND);
    EXPECT_NE(getpixel(fg_get_page(FG_PAGE_SCREEN), 10, 10), BACKGROUND);   // shown at once
    d.XorFrame(a, b, 1);
    EXPECT_EQ(CountColour(BACKGROUND, 0, 0, 100, 100), 101 * 101);
    fg_clear_full_refresh();
    d.XorFrame(a, a, 1);
    EXPECT_EQ(fg_full_refresh_pending(), 0);
}

TEST_F(Display, LinesPolygonsEllipsesAndShifts)
{
    UI_FG_DISPLAY& d = *display_;
    const UI_COLOUR_ENTRY c = Solid(6, 6);
    d.DrawLine(1, 0, 300, 99, 300, &c, 1, 0, nullptr);
    EXPECT_EQ(CountColour(6, 0, 300, 99, 300), 100);
    const int32_t triangle[] = {200, 200, 240, 200, 200, 240};
    d.DrawPolygon(1, 3, triangle, &c, 0, 0, nullptr);
    EXPECT_EQ(getpixel(Page(), 220, 220), 6);   // the closing edge
    EXPECT_EQ(getpixel(Page(), 210, 210), BACKGROUND);
    d.DrawPolygon(1, 3, triangle, &c, 1, 0, nullptr);
    EXPECT_EQ(getpixel(Page(), 210, 210), 6);
    d.DrawEllipse(1, 400, 100, 0, 360, 10, 5, &c, 1, 0, nullptr);
    EXPECT_EQ(getpixel(Page(), 400, 100), 6);
    EXPECT_EQ(getpixel(Page(), 405, 102), 6);
    EXPECT_EQ(getpixel(Page(), 400, 110), BACKGROUND);

    d.ShiftArea(UI_RECT{0, 300, 99, 300}, 0, 310, 1);
    EXPECT_EQ(CountColour(6, 0, 310, 99, 310), 100);
}

TEST(CountryTable, CLocaleKeepsTheBuiltInValues)
{
    std::setlocale(LC_ALL, "C");
    UI_COUNTRY_TABLE table;
    FillCountryTable(table, *std::localeconv());
    EXPECT_STREQ(table.decimalPoint, ".");
    EXPECT_STREQ(table.thousandsSeparator, ",");
    EXPECT_STREQ(table.grouping, "\3");
    EXPECT_STREQ(table.currencySymbol, "$");
    EXPECT_EQ(table.fractionDigits, 2);
    EXPECT_STREQ(table.negativeSign, "-");
    EXPECT_EQ(table.negativeSignPosition, 1);
    EXPECT_EQ(table.currencyBeforePositive, 1);

    LoadCountryTable();   // the framework's, once
    EXPECT_STREQ(FrameworkCountryTable().decimalPoint, ".");
}

TEST(CountryTable, LocaleValuesReplaceTheBuiltIns)
{
    lconv locale = *std::localeconv();
    char comma[] = ",";
    char dot[] = ".";
    char euro[] = "EUR";
    char empty[] = "";
    char tooLong[] = "a currency name far too long";
    char grouping[] = "\3\2";
    locale.decimal_point = comma;
    locale.thousands_sep = dot;
    locale.grouping = grouping;
    locale.currency_symbol = euro;
    locale.p_cs_precedes = 0;
    locale.frac_digits = 127;   // not available: kept
    locale.negative_sign = empty;
    locale.mon_decimal_point = tooLong;
    UI_COUNTRY_TABLE table;
    FillCountryTable(table, locale);
    EXPECT_STREQ(table.decimalPoint, ",");
    EXPECT_STREQ(table.thousandsSeparator, ".");
    EXPECT_STREQ(table.grouping, "\3\2");
    EXPECT_STREQ(table.currencySymbol, "EUR");
    EXPECT_EQ(table.currencyBeforePositive, 0);
    EXPECT_EQ(table.fractionDigits, 2);
    EXPECT_STREQ(table.negativeSign, "-");
    EXPECT_STREQ(table.monetaryDecimalPoint, ".");
}

} // namespace
