// Tests of the text cursor device: what it tells the display when it is
// moved, switched and reshaped, that it tells nothing twice, and its blink
// every 40 hundredths (across midnight too), on a display that records its
// overlay calls.
#include <gtest/gtest.h>

#include <vector>

#include "support/RecordingDisplay.h"
#include "support/WidgetWorld.h"
#include "widgets/UI_TEXT_CURSOR.h"

namespace {

class OverlayDisplay : public RecordingDisplay {
public:
    struct Placement {
        bool set;   // SetOverlay, else MoveOverlay
        int32_t left, top, width, height;
    };
    int32_t SetOverlay(int32_t index, int32_t left, int32_t top, int32_t w, int32_t h, const uint8_t*) override
    {
        if (index == UI_OVERLAY_CURSOR)
            placements.push_back({true, left, top, w, h});
        return setAnswer;
    }
    int32_t MoveOverlay(int32_t index, int32_t left, int32_t top) override
    {
        if (index == UI_OVERLAY_CURSOR)
            placements.push_back({false, left, top, 0, 0});
        return 1;
    }
    std::vector<Placement> placements;
    int32_t setAnswer = 1;
};

class TextCursor : public testing::Test {
protected:
    void SetUp() override
    {
        UI_TEXT_CURSOR::lastBlinkSet = false;
        UI_TEXT_CURSOR::drawn = 1;
        cursor_ = new UI_TEXT_CURSOR;
        manager_.AddDevice(cursor_);
        display_.placements.clear();
    }

    int32_t Send(int32_t type, int32_t column = 0, int32_t line = 0)
    {
        UI_MESSAGE m(type);
        m.point = UI_POINT{column, line};
        return cursor_->Event(&m);
    }

    ScriptedTimeOfDay time_;
    OverlayDisplay display_;
    UI_INPUT_MANAGER manager_{&display_, 10};
    UI_TEXT_CURSOR* cursor_ = nullptr;   // owned by the manager
};

TEST_F(TextCursor, MovingABlinkedOutCursorShowsItButAnOffOneStaysOff)
{
    EXPECT_EQ(cursor_->deviceType, UI_CURSOR_DEVICE);
    EXPECT_EQ(cursor_->deviceState, UI_DEVICE_OFF);
    Send(UI_CODE_CURSOR_POSITION, 30, 40);   // off: goes nowhere visible
    EXPECT_EQ(cursor_->deviceState, UI_DEVICE_OFF);
    ASSERT_EQ(display_.placements.size(), 1u);
    EXPECT_FALSE(display_.placements[0].set);
    EXPECT_EQ(display_.placements[0].left, display_.width);

    EXPECT_EQ(Send(UI_CURSOR_INSERT), UI_CURSOR_INSERT);
    EXPECT_EQ(cursor_->deviceState, UI_DEVICE_ON);
    Send(UI_CODE_REMOVED);
    EXPECT_EQ(cursor_->deviceState, UI_CURSOR_BLINKED_OUT);
    display_.placements.clear();
    Send(UI_CODE_CURSOR_POSITION, 50, 60);
    EXPECT_EQ(cursor_->deviceState, UI_DEVICE_ON);
    ASSERT_EQ(display_.placements.size(), 1u);
    const OverlayDisplay::Placement& p = display_.placements[0];
    EXPECT_TRUE(p.set);
    EXPECT_EQ(p.left, 50);
    EXPECT_EQ(p.top, 60);
    EXPECT_EQ(p.width, 2);
    EXPECT_EQ(p.height, display_.textHeight + 1);
}

TEST_F(TextCursor, RepeatedShapeAndPlaceDrawOnce)
{
    Send(UI_CURSOR_OVERWRITE);
    Send(UI_CURSOR_OVERWRITE);
    Send(UI_CODE_CURSOR_POSITION, 10, 10);
    Send(UI_CODE_CURSOR_POSITION, 10, 10);
    Send(UI_DEVICE_ON);
    ASSERT_EQ(display_.placements.size(), 2u);
    EXPECT_EQ(display_.placements[0].width, 1);
    EXPECT_EQ(display_.placements[1].left, 10);
    Send(UI_CODE_INITIALIZE);   // draws again in any case
    EXPECT_EQ(display_.placements.size(), 3u);
    Send(12345);   // unknown: nothing
    EXPECT_EQ(display_.placements.size(), 3u);
}

TEST_F(TextCursor, BlinksAfterMoreThanFortyHundredths)
{
    struct Row {
        int32_t start;   // time of day at the first poll
    };
    const Row rows[] = {{12 * 360000}, {UI_HUNDREDTHS_PER_DAY - 50}};   // the second crosses midnight
    for (const Row& r : rows) {
        SCOPED_TRACE(r.start);
        time_.Set(r.start);
        UI_TEXT_CURSOR::lastBlinkSet = false;
        Send(UI_CURSOR_INSERT);
        Send(UI_CODE_CURSOR_POSITION, 20, 30);
        cursor_->offsetX = 3;
        display_.placements.clear();
        cursor_->Poll();   // the first poll only stamps the time
        time_.Advance(UI_CURSOR_BLINK_INTERVAL);
        cursor_->Poll();
        EXPECT_TRUE(display_.placements.empty());
        EXPECT_EQ(cursor_->deviceState, UI_DEVICE_ON);
        time_.Advance(1);
        cursor_->Poll();
        EXPECT_EQ(cursor_->deviceState, UI_CURSOR_BLINKED_OUT);
        time_.Advance(UI_CURSOR_BLINK_INTERVAL + 1);
        cursor_->Poll();
        EXPECT_EQ(cursor_->deviceState, UI_DEVICE_ON);
        ASSERT_EQ(display_.placements.size(), 2u);
        EXPECT_EQ(display_.placements[0].left, display_.width);   // out of view
        EXPECT_EQ(display_.placements[1].left, 23);               // back, with the offset
    }
    // Across midnight the times of day are far apart: the first poll after
    // midnight blinks (once early), it never stands still.
    time_.Set(UI_HUNDREDTHS_PER_DAY - 10);
    UI_TEXT_CURSOR::lastBlinkSet = false;
    cursor_->Poll();
    EXPECT_EQ(cursor_->deviceState, UI_DEVICE_ON);
    time_.Set(5);
    cursor_->Poll();
    EXPECT_EQ(cursor_->deviceState, UI_CURSOR_BLINKED_OUT);
    // Off, it never blinks.
    Send(UI_DEVICE_OFF);
    display_.placements.clear();
    time_.Advance(500);
    cursor_->Poll();
    EXPECT_TRUE(display_.placements.empty());
}

TEST_F(TextCursor, ShapeTheDisplayRefusedIsPlacedAgainAtTheNextPoll)
{
    cursor_->Poll();
    display_.setAnswer = 0;
    Send(UI_CURSOR_INSERT);
    EXPECT_EQ(UI_TEXT_CURSOR::drawn, 0);
    display_.setAnswer = 1;
    display_.placements.clear();
    cursor_->Poll();
    ASSERT_EQ(display_.placements.size(), 1u);
    EXPECT_TRUE(display_.placements[0].set);
    EXPECT_EQ(cursor_->image, UI_CURSOR_INSERT);
    EXPECT_EQ(UI_TEXT_CURSOR::drawn, 1);
}

} // namespace
