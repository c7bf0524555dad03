// Tests of the maximize and minimize buttons: their settings, the normal and
// restore forms chosen from the window's size, placement at the line's end,
// recolouring of the shared pictures, the press loop that holds the mouse
// (program events to the desktop, the command posted to the window), the
// minimize button of a maximized window, and their hot keys.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "support/WidgetWorld.h"
#include "widgets/UI_MAXIMIZE_BUTTON.h"
#include "widgets/UI_WINDOW.h"

namespace {

class RecordingDesktop : public UI_DESKTOP {
public:
    RecordingDesktop(UI_SCREEN* display, UI_INPUT_MANAGER* manager) : UI_DESKTOP(display, manager) {}
    int32_t Event(UI_MESSAGE* event) override
    {
        received.push_back(event->type);
        return UI_CODE_NOT_HANDLED;
    }
    std::vector<int32_t> received;
};

class SizeButtons : public testing::Test {
protected:
    void SetUp() override
    {
        window_.screenRect = UI_RECT{100, 100, 299, 199};
        window_.clipRect = window_.screenRect;
        window_.screenNumber = 2;
        maximize_ = new UI_MAXIMIZE_BUTTON;
        minimize_ = new UI_MINIMIZE_BUTTON;
        window_.Add(maximize_);
        window_.Add(minimize_);
    }

    // Lays the button out in the window's whole client area, as the first
    // support object of a window's layout is.
    int32_t Measure(UI_WIDGET& b)
    {
        window_.clipList.DeleteAll();
        UI_MESSAGE layout(UI_CODE_LAYOUT);
        return b.Event(&layout);
    }

    WidgetWorld world_;
    UI_WINDOW window_{0, 0, 25, 8};
    UI_MAXIMIZE_BUTTON* maximize_ = nullptr;
    UI_MINIMIZE_BUTTON* minimize_ = nullptr;
};

TEST_F(SizeButtons, CarryTheirSettings)
{
    struct Row {
        UI_BUTTON* button;
        uint16_t classId, number;
        const char* name;
        int32_t hotKey;
    };
    const Row rows[] = {
        {maximize_, UI_ID_MAXIMIZE_BUTTON, 0xFFFE, "NUMID_MAXIMIZE", 0xFC},
        {minimize_, UI_ID_MINIMIZE_BUTTON, 0xFFFD, "NUMID_MINIMIZE", 0xFD},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        UI_BUTTON& b = *r.button;
        EXPECT_EQ(b.classChain[0], r.classId);
        EXPECT_EQ(b.classChain[1], UI_ID_BUTTON);
        EXPECT_EQ(b.classChain[2], UI_ID_WIDGET);
        EXPECT_EQ(b.number, r.number);
        EXPECT_STREQ(b.searchName, r.name);
        EXPECT_EQ(b.hotKey, r.hotKey);
        EXPECT_EQ(b.flags, 0x225);
        EXPECT_EQ(b.buttonFlags, 0x601);
        EXPECT_TRUE(b.windowFlags & UI_WINDOW_NEVER_CURRENT);
        EXPECT_EQ(b.depth, 1);
        EXPECT_EQ(b.text, nullptr);
        EXPECT_EQ(b.callback, UI_BUTTON::PostValue);
        EXPECT_EQ(window_.Query(UI_QUERY_FIND_NAME, const_cast<char*>(r.name), 0), &b);
        // Request 0 sets them again; the rest goes to the button.
        b.hotKey = 0;
        b.depth = 5;
        b.Query(UI_QUERY_INITIALISE, nullptr, 0);
        EXPECT_EQ(b.hotKey, r.hotKey);
        EXPECT_EQ(b.depth, 1);
        EXPECT_EQ(b.Query(UI_QUERY_GET_FLAGS, nullptr, 0), &b.buttonFlags);
    }
}

TEST_F(SizeButtons, FormFollowsTheWindowsSize)
{
    struct Row {
        uint16_t windowStatus;
        UI_BUTTON* button;
        int32_t value;
        int32_t pictureHeight;
        const uint8_t* picture;
        bool selected;
    };
    const Row rows[] = {
        {0, maximize_, UI_CODE_MAXIMIZE, 5, UI_MAXIMIZE_PICTURE, false},
        {UI_STATUS_MAXIMIZED, maximize_, UI_CODE_RESTORE, 11, UI_RESTORE_PICTURE, true},
        {0, maximize_, UI_CODE_MAXIMIZE, 5, UI_MAXIMIZE_PICTURE, false},   // restored again
        {0, minimize_, UI_CODE_MINIMIZE, 5, UI_MINIMIZE_PICTURE, false},
        {UI_STATUS_MINIMIZED, minimize_, UI_CODE_RESTORE, 11, UI_RESTORE_PICTURE, true},
        {UI_STATUS_MAXIMIZED, minimize_, UI_CODE_MINIMIZE, 5, UI_MINIMIZE_PICTURE, false},
        {0, minimize_, UI_CODE_MINIMIZE, 5, UI_MINIMIZE_PICTURE, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "class " << r.button->classId << " window 0x" << std::hex
                                        << r.windowStatus);
        window_.status = r.windowStatus;
        EXPECT_EQ(Measure(*r.button), UI_CODE_LAYOUT);
        EXPECT_EQ(r.button->value, r.value);
        EXPECT_EQ(r.button->bitmapWidth, 7);
        EXPECT_EQ(r.button->bitmapHeight, r.pictureHeight);
        EXPECT_EQ(r.button->bitmapArray, r.picture + 2);
        EXPECT_EQ((r.button->status & UI_STATUS_SELECTED) != 0, r.selected);
    }
}

TEST_F(SizeButtons, PicturesHaveTheirShapes)
{
    auto rowOf = [](const uint8_t* picture, int32_t row) {
        int32_t drawn = 0;
        for (int32_t x = 0; x < picture[0]; ++x)
            drawn += picture[2 + row * picture[0] + x] != 0xFF;
        return drawn;
    };
    const int32_t up[] = {1, 3, 5, 7, 0};
    const int32_t down[] = {0, 7, 5, 3, 1};
    const int32_t restore[] = {0, 1, 3, 5, 7, 0, 0, 7, 5, 3, 1};
    for (int32_t row = 0; row < 5; ++row) {
        EXPECT_EQ(rowOf(UI_MAXIMIZE_PICTURE, row), up[row]);
        EXPECT_EQ(rowOf(UI_MINIMIZE_PICTURE, row), down[row]);
    }
    for (int32_t row = 0; row < 11; ++row)
        EXPECT_EQ(rowOf(UI_RESTORE_PICTURE, row), restore[row]);
}

TEST_F(SizeButtons, SitOneLineHighAndSquareAtTheirRightEdge)
{
    Measure(*maximize_);
    // A support object that takes its room is given the whole client area
    // (100, 100) to (299, 199); the button sits at its right end.
    const UI_RECT& r = maximize_->screenRect;
    const int32_t side = world_.display.rowHeight - world_.display.spaceAbove - world_.display.spaceBelow;
    EXPECT_EQ(r.top, 100 - 1);
    EXPECT_EQ(r.right, 299 + 1);
    EXPECT_EQ(r.bottom, r.top + side);
    EXPECT_EQ(r.left, r.right - side);
    EXPECT_EQ(maximize_->text, nullptr);
}

TEST_F(SizeButtons, DrawingRecoloursTheSharedPicture)
{
    Measure(*maximize_);
    UI_MESSAGE draw(UI_CODE_DRAW_NORMAL);
    draw.rect = maximize_->screenRect;
    maximize_->Event(&draw);
    const int32_t colour = world_.display.ColourIndex(maximize_->colours, 1);
    EXPECT_EQ(UI_MAXIMIZE_PICTURE[2 + 3], colour);   // the tip
    EXPECT_EQ(UI_MAXIMIZE_PICTURE[2 + 0], 0xFF);     // transparent stays
    ASSERT_EQ(world_.display.Of("pixels").size(), 1u);
    EXPECT_EQ(world_.display.lastPixels, UI_MAXIMIZE_PICTURE + 2);
}

TEST_F(SizeButtons, DeletingNeverFreesTheSharedPicture)
{
    uint8_t before[sizeof UI_RESTORE_PICTURE];
    std::memcpy(before, UI_RESTORE_PICTURE, sizeof before);
    window_.status = UI_STATUS_MAXIMIZED;
    for (int32_t i = 0; i < 3; ++i) {
        auto* b = new UI_MAXIMIZE_BUTTON;
        window_.Add(b);
        Measure(*b);
        window_.supportList.Unlink(b);
        delete b;   // the sanitizer build would catch a free of the static picture
    }
    EXPECT_EQ(std::memcmp(before, UI_RESTORE_PICTURE, sizeof before), 0);
}

// A picture handed to the button through its request is the button's own
// until the next measure puts the shared one back: freed then and never
// mistaken for the shared picture afterwards.
TEST_F(SizeButtons, OwnPictureGivesWayToTheSharedOneAtTheNextMeasure)
{
    uint8_t before[sizeof UI_MAXIMIZE_PICTURE];
    std::memcpy(before, UI_MAXIMIZE_PICTURE, sizeof before);
    uint8_t own[7 * 5];
    std::memset(own, 3, sizeof own);
    Measure(*maximize_);
    maximize_->Query(UI_QUERY_SET_BITMAP, own, 0);
    EXPECT_NE(maximize_->bitmapArray, UI_MAXIMIZE_PICTURE + 2);
    Measure(*maximize_);   // the owned copy is freed (the leak check sees it)
    EXPECT_EQ(maximize_->bitmapArray, UI_MAXIMIZE_PICTURE + 2);
    EXPECT_TRUE(maximize_->buttonFlags & UI_BUTTON_STATIC_BITMAP);
    maximize_->Query(UI_QUERY_SET_BITMAP, own, 0);   // must not free the shared picture
    window_.supportList.Unlink(maximize_);
    delete maximize_;   // frees the owned copy
    EXPECT_EQ(std::memcmp(before, UI_MAXIMIZE_PICTURE, sizeof before), 0);
}

TEST_F(SizeButtons, PressHoldsTheMouseUntilTheReleaseThenCommandsTheWindow)
{
    RecordingDesktop desktop(&world_.display, &world_.manager);
    Measure(*maximize_);
    maximize_->clipRect = UI_RECT{0, 0, 639, 479};
    const UI_RECT r = maximize_->screenRect;
    const int32_t column = (r.left + r.right) / 2;
    const int32_t line = (r.top + r.bottom) / 2;
    UI_MESSAGE program(10001);
    world_.mouse->Script(WidgetWorld::Mouse(RAW_LEFT_HELD, column, line));
    world_.mouse->Script(program);
    world_.mouse->Script(WidgetWorld::Mouse(RAW_LEFT_RELEASE, column, line));
    UI_MESSAGE press = WidgetWorld::Mouse(RAW_LEFT_PRESS, column, line);
    EXPECT_EQ(maximize_->Event(&press), UI_CODE_RELEASE);
    EXPECT_EQ(desktop.received, (std::vector<int32_t>{10001}));
    EXPECT_EQ(maximize_->buttonState, 0);
    UI_MESSAGE posted;
    ASSERT_EQ(world_.manager.Get(&posted, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(posted.type, UI_CODE_MAXIMIZE);
    EXPECT_EQ(posted.pointer, &window_);
}

TEST_F(SizeButtons, MinimizeButtonOfAMaximizedWindowCannotBePressed)
{
    window_.status = UI_STATUS_MAXIMIZED;
    Measure(*minimize_);
    minimize_->clipRect = UI_RECT{0, 0, 639, 479};
    const UI_RECT r = minimize_->screenRect;
    world_.mouse->Script(WidgetWorld::Mouse(RAW_LEFT_RELEASE, r.left + 2, r.top + 2));
    const int32_t raws[] = {RAW_LEFT_PRESS, RAW_LEFT_HELD, RAW_LEFT_RELEASE};
    const int32_t codes[] = {UI_CODE_PRESS, UI_CODE_DRAG, UI_CODE_RELEASE};
    for (int32_t i = 0; i < 3; ++i) {
        UI_MESSAGE m = WidgetWorld::Mouse(raws[i], r.left + 2, r.top + 2);
        EXPECT_EQ(minimize_->Event(&m), codes[i]);
        EXPECT_EQ(minimize_->buttonState, 0);
    }
    EXPECT_EQ(world_.mouse->script.size(), 1u);   // no loop took the scripted release
    UI_MESSAGE posted;
    EXPECT_EQ(world_.manager.Get(&posted, UI_GET_NO_WAIT | UI_GET_NO_POLL), UI_CODE_NOT_HANDLED);

    window_.status = 0;   // restored: it works again
    Measure(*minimize_);
    UI_MESSAGE press = WidgetWorld::Mouse(RAW_LEFT_PRESS, r.left + 2, r.top + 2);
    EXPECT_EQ(minimize_->Event(&press), UI_CODE_RELEASE);
    ASSERT_EQ(world_.manager.Get(&posted, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(posted.type, UI_CODE_MINIMIZE);
}

TEST_F(SizeButtons, HotKeysComeFromKeysNotFromText)
{
    struct Row {
        int32_t raw;
        UI_BUTTON* button;
    };
    const Row rows[] = {{0x7100, maximize_}, {0x8300, maximize_}, {0x7000, minimize_}, {0x4A00, minimize_}};
    for (const Row& r : rows) {
        UI_MESSAGE key = WidgetWorld::Key(r.raw);
        EXPECT_EQ(LookUpEvent(window_.hotKeyTable, &key, 18, 18, 18, 18, 18), r.button->hotKey) << std::hex << r.raw;
    }
    // Chosen through their hot key, they command their window.
    UI_MESSAGE enter = WidgetWorld::Key(RAW_ENTER);
    maximize_->Event(&enter);
    UI_MESSAGE posted;
    ASSERT_EQ(world_.manager.Get(&posted, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(posted.type, UI_CODE_MAXIMIZE);
}

} // namespace
