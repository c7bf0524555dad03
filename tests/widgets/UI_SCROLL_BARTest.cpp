// Tests of the scroll bar: its parts and registration with its window, the
// thumb's place for a value (with a minimum other than 0, as the list box
// sends), clamping, the repeating arrows (across midnight too), a page on the
// track, dragging the thumb, the corner piece, and parts rebuilt for a new
// kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/WindowSession.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_LIST_BOX.h"
#include "widgets/UI_SCROLL_BAR.h"

namespace {

constexpr uint16_t SUPPORT_BAR_FLAGS = UI_FLAG_SUPPORT | UI_FLAG_TAKES_ROOM | UI_FLAG_BORDER;

// A window that writes down the amount of every vertical scroll message.
class ScrollNotingWindow : public UI_WINDOW {
public:
    ScrollNotingWindow() : UI_WINDOW(2, 2, 30, 10) {}
    int32_t Event(UI_MESSAGE* event) override
    {
        if (event->type == UI_CODE_SCROLL_VERTICAL)
            amounts.push_back(event->data[4]);
        return UI_WINDOW::Event(event);
    }
    std::vector<int32_t> amounts;
};

class ScrollBars : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = new ScrollNotingWindow;
        bar_ = new UI_SCROLL_BAR(0, 0, 0, 0, UI_SCROLL_VERTICAL, SUPPORT_BAR_FLAGS);
        window_->Add(bar_);
        window_->Add(new UI_BUTTON(0, 0, 5, "A"));
        session_.desktop.Add(window_);
    }

    void Set(int32_t position, int32_t minimum, int32_t maximum, int32_t span = 10, int32_t step = 1)
    {
        UI_MESSAGE m(UI_CODE_SET_SCROLL);
        m.data[0] = position;
        m.data[1] = minimum;
        m.data[2] = maximum;
        m.data[3] = span;
        m.data[4] = step;
        bar_->Event(&m);
    }

    int32_t Scroll(int32_t amount)
    {
        UI_MESSAGE m(UI_CODE_SCROLL_VERTICAL);
        m.data[4] = amount;
        return bar_->Event(&m);
    }

    // The thumb's start counted from where it stands at the minimum.
    int32_t ThumbPlace() const { return bar_->thumb->screenRect.top - (bar_->Track().top - 1); }

    UI_POINT Centre(const UI_WIDGET* w) const
    {
        return UI_POINT{(w->screenRect.left + w->screenRect.right) / 2, (w->screenRect.top + w->screenRect.bottom) / 2};
    }

    // Presses at point; every poll of the mouse then moves the time on by 4
    // hundredths, and at the polls given the mouse reports a move (or the
    // release) at a point.
    struct Step {
        int32_t poll;
        int32_t raw;
        UI_POINT at;
    };
    int32_t Hold(UI_POINT at, const std::vector<Step>& script)
    {
        int32_t polls = 0;
        session_.mouse->onPoll = [&](ScriptedDevice&) {
            session_.time.Advance(4);
            ++polls;
            for (const Step& s : script)
                if (s.poll == polls) {
                    UI_MESSAGE m = WidgetWorld::Mouse(s.raw, s.at.column, s.at.line);
                    session_.manager.Put(&m, UI_PUT_AT_TAIL);
                }
        };
        UI_MESSAGE press = WidgetWorld::Mouse(RAW_LEFT_PRESS, at.column, at.line);
        const int32_t answer = bar_->Event(&press);
        session_.mouse->onPoll = nullptr;
        session_.Pump();   // the release put back for the window
        return answer;
    }

    WindowSession session_;
    ScrollNotingWindow* window_ = nullptr;
    UI_SCROLL_BAR* bar_ = nullptr;
};

TEST_F(ScrollBars, BuildsItsPartsAndRegistersWithItsWindow)
{
    EXPECT_EQ(bar_->classChain[0], UI_ID_SCROLL_BAR);
    EXPECT_EQ(bar_->classChain[1], UI_ID_WINDOW);
    EXPECT_EQ(window_->verticalScroll, bar_);
    ASSERT_NE(bar_->decrementButton, nullptr);
    EXPECT_EQ(bar_->decrementButton->direction, UI_SCROLL_UP);
    EXPECT_EQ(bar_->thumb->direction, UI_SCROLL_THUMB_VERTICAL);
    EXPECT_EQ(bar_->incrementButton->direction, UI_SCROLL_DOWN);
    EXPECT_EQ(bar_->position, 0);
    EXPECT_EQ(bar_->maximum, 1);
    // Three quarters of a cell wide at the window's right; arrows at both ends.
    const UI_RECT& r = bar_->screenRect;
    EXPECT_EQ(r.right - r.left, UI_SCROLL_BAR::Thickness());
    EXPECT_EQ(r.right, window_->screenRect.right + 1);
    EXPECT_LT(bar_->decrementButton->screenRect.bottom, bar_->Track().top);
    EXPECT_GT(bar_->incrementButton->screenRect.top, bar_->Track().bottom);
    EXPECT_FALSE(bar_->thumb->flags & UI_FLAG_TAKES_ROOM);
    // The window's client objects no longer reach under the bar.
    EXPECT_LT(window_->First()->clipRect.right, r.left);
}

TEST_F(ScrollBars, ThumbStandsInProportionFromTheMinimum)
{
    const UI_RECT track = bar_->Track();
    const UI_RECT& t = bar_->thumb->screenRect;
    const int32_t room = (track.bottom - track.top) - (t.bottom - t.top) + 2;
    ASSERT_EQ(room, 111);
    struct Row {
        int32_t minimum, maximum, position;
        int32_t place;
    };
    const Row rows[] = {
        {10, 20, 10, 0},     // was at the far end: current x room / range, without the minimum
        {10, 20, 15, 55},
        {10, 20, 20, 111},   // was 222: drawn below the bar
        {5, 5, 5, 0},        // minimum = maximum: at the start
        {0, 100, 50, 55},
        {-300, -20, -20, 111},   // a scrolled list box sends a negative minimum
        {10, 20, 99, 111},       // clamped into the range first
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.minimum << ".." << r.maximum << " at " << r.position);
        Set(r.position, r.minimum, r.maximum);
        EXPECT_EQ(ThumbPlace(), r.place);
        EXPECT_GE(t.top, track.top - 1);
        EXPECT_LE(t.bottom, track.bottom + 1);
    }
}

TEST_F(ScrollBars, ScrollingClampsAndAnUnchangedValueDrawsNothing)
{
    Set(0, 0, 100);
    EXPECT_EQ(Scroll(500), UI_CODE_SCROLL_VERTICAL);
    EXPECT_EQ(bar_->position, 100);
    EXPECT_EQ(ThumbPlace(), 111);
    Scroll(-1000);
    EXPECT_EQ(bar_->position, 0);
    session_.display.calls.clear();
    Scroll(-5);   // already at the minimum
    Scroll(0);
    EXPECT_EQ(bar_->position, 0);
    EXPECT_TRUE(session_.display.calls.empty());
    Scroll(50);   // the thumb moves: the track and the thumb are drawn
    EXPECT_EQ(bar_->position, 50);
    EXPECT_FALSE(session_.display.calls.empty());
}

TEST_F(ScrollBars, HeldArrowRepeatsWhileThePointerStaysOnIt)
{
    Set(0, 0, 1000, 10, 3);
    const UI_POINT arrow = Centre(bar_->incrementButton);
    session_.time.Set(9 * 360000);
    // On the arrow for polls 1-9, off for 10-19, back for 20-29, released at 30.
    EXPECT_EQ(Hold(arrow, {{10, RAW_LEFT_HELD, {400, 400}},
                           {20, RAW_LEFT_HELD, arrow},
                           {30, RAW_LEFT_RELEASE, arrow}}),
              UI_CODE_RELEASE);
    // Once at the press, then every second poll (more than 6 hundredths on):
    // polls 2, 4, 6, 8, nothing while off, then 21, 23, 25, 27, 29.
    EXPECT_EQ(window_->amounts, std::vector<int32_t>(10, 3));
    EXPECT_EQ(bar_->Current(), bar_->thumb);
    EXPECT_EQ(bar_->incrementButton->buttonState, 0);   // drawn raised again
}

TEST_F(ScrollBars, HeldArrowKeepsRepeatingAcrossMidnight)
{
    Set(500, 0, 1000, 10, 1);
    session_.time.Set(UI_HUNDREDTHS_PER_DAY - 30);
    // Twenty polls of 4 hundredths: 80 hundredths, midnight after 30. A raw
    // difference of the times of day stalled the repeat at midnight.
    Hold(Centre(bar_->decrementButton), {{20, RAW_LEFT_RELEASE, Centre(bar_->decrementButton)}});
    EXPECT_EQ(window_->amounts, std::vector<int32_t>(10, -1));   // the press, polls 2, 4 ... 18
    EXPECT_LT(session_.time.Now(), 100);
}

TEST_F(ScrollBars, TrackPressScrollsOnePageWithoutRepeat)
{
    Set(0, 0, 1000, 25, 1);
    const UI_RECT track = bar_->Track();
    Hold(UI_POINT{(track.left + track.right) / 2, track.bottom - 5}, {{20, RAW_LEFT_RELEASE, {0, 0}}});
    EXPECT_EQ(window_->amounts, std::vector<int32_t>{25});
    window_->amounts.clear();
    Set(1000, 0, 1000, 25, 1);   // the thumb at the bottom: a press above it pages up
    Hold(UI_POINT{(track.left + track.right) / 2, track.top + 2}, {{3, RAW_LEFT_RELEASE, {0, 0}}});
    EXPECT_EQ(window_->amounts, std::vector<int32_t>{-25});
}

TEST_F(ScrollBars, DraggedThumbMovesTheValueOnlyWhenReleasedInside)
{
    Set(0, 0, 111);
    const UI_POINT grip = Centre(bar_->thumb);
    const UI_POINT down{grip.column, grip.line + 50};
    struct Row {
        UI_POINT release;
        std::vector<int32_t> amounts;
    };
    const Row rows[] = {
        {{400, down.line}, {}},        // outside the bar: nothing
        {down, {50}},                  // 50 pixels of 111 in a range of 111
        {grip, {}},                    // back where it started: nothing to send
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.release.column << ", " << r.release.line);
        Set(0, 0, 111);
        window_->amounts.clear();
        session_.mouse->Script(WidgetWorld::Mouse(RAW_LEFT_HELD, down.column, down.line));
        session_.mouse->Script(WidgetWorld::Mouse(RAW_LEFT_RELEASE, r.release.column, r.release.line));
        UI_MESSAGE press = WidgetWorld::Mouse(RAW_LEFT_PRESS, grip.column, grip.line);
        EXPECT_EQ(bar_->Event(&press), UI_CODE_RELEASE);
        EXPECT_EQ(window_->amounts, r.amounts);
    }
    // With a minimum of 10 the drag lands at 10 + its share of the range,
    // not at its share alone.
    Set(10, 10, 20);
    window_->amounts.clear();
    const UI_POINT start = Centre(bar_->thumb);
    session_.mouse->Script(WidgetWorld::Mouse(RAW_LEFT_HELD, start.column, start.line + 111));
    session_.mouse->Script(WidgetWorld::Mouse(RAW_LEFT_RELEASE, start.column, start.line + 111));
    UI_MESSAGE press = WidgetWorld::Mouse(RAW_LEFT_PRESS, start.column, start.line);
    bar_->Event(&press);
    EXPECT_EQ(window_->amounts, std::vector<int32_t>{10});   // to 20
}

TEST(ScrollBar, CornerPieceHasNoPartsAndIgnoresPresses)
{
    WindowSession session;
    auto* window = new UI_WINDOW(2, 2, 30, 10);
    auto* corner = new UI_SCROLL_BAR(0, 0, 0, 0, UI_SCROLL_CORNER, SUPPORT_BAR_FLAGS);
    window->Add(corner);
    session.desktop.Add(window);
    EXPECT_EQ(corner->decrementButton, nullptr);
    EXPECT_EQ(corner->thumb, nullptr);
    EXPECT_EQ(corner->head, nullptr);
    EXPECT_EQ(window->verticalScroll, nullptr);
    EXPECT_EQ(window->horizontalScroll, nullptr);
    const UI_RECT& r = corner->screenRect;
    EXPECT_EQ(r.bottom - r.top, UI_SCROLL_BAR::Thickness());
    UI_MESSAGE press = WidgetWorld::Mouse(RAW_LEFT_PRESS, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    corner->Event(&press);
    EXPECT_EQ(corner->position, 0);
}

TEST(ScrollBar, NewKindReplacesTheParts)
{
    for (bool shown : {false, true}) {
        SCOPED_TRACE(shown);
        WindowSession session;
        auto* window = new UI_WINDOW(2, 2, 30, 10);
        auto* bar = new UI_SCROLL_BAR(0, 0, 0, 0, UI_SCROLL_VERTICAL, SUPPORT_BAR_FLAGS);
        window->Add(bar);
        if (shown)
            session.desktop.Add(window);
        uint16_t vertical = UI_SCROLL_VERTICAL;
        uint16_t horizontal = UI_SCROLL_HORIZONTAL;
        bar->Query(UI_QUERY_CLEAR_FLAGS, &vertical, UI_ID_SCROLL_BAR);
        bar->Query(UI_QUERY_SET_FLAGS, &horizontal, UI_ID_SCROLL_BAR);
        bar->Query(UI_QUERY_FLAGS_CHANGED, nullptr, UI_ID_SCROLL_BAR);
        EXPECT_EQ(bar->decrementButton->direction, UI_SCROLL_LEFT);
        EXPECT_EQ(bar->thumb->direction, UI_SCROLL_THUMB_HORIZONTAL);
        EXPECT_EQ(bar->incrementButton->direction, UI_SCROLL_RIGHT);
        // Only the new parts: two arrows and the thumb.
        EXPECT_EQ(bar->supportList.Size(), 2);
        EXPECT_EQ(bar->Size(), 1);
        if (!shown)
            delete window;
    }
}

TEST(ScrollBar, ListBoxScrolledToItsEndKeepsTheThumbInTheTrack)
{
    WindowSession session;
    auto* list = new UI_LIST_BOX(0, 0, 20, 10);
    auto* bar = new UI_SCROLL_BAR(0, 0, 0, 0, UI_SCROLL_VERTICAL, SUPPORT_BAR_FLAGS);
    list->Add(bar);
    for (int32_t i = 0; i < 30; ++i)
        list->Add(new UI_BUTTON(0, 0, 10, ("Item " + std::to_string(i)).c_str(), UI_BUTTON_FLAT));
    session.desktop.Add(list);
    ASSERT_EQ(list->verticalScroll, bar);
    const UI_RECT track = bar->Track();
    session.Dispatch(WindowSession::Key(RAW_END));
    ASSERT_EQ(list->Current(), list->Last());
    EXPECT_EQ(bar->thumb->screenRect.bottom, track.bottom + 1);
    // One up from the end of the scrolled list: the first item's top, the
    // minimum, lies above the list, and the thumb stays near the end.
    session.Dispatch(WindowSession::Key(RAW_UP));
    EXPECT_LT(bar->minimum, 0);
    EXPECT_EQ(bar->maximum - bar->position, bar->step);
    EXPECT_GT(bar->thumb->screenRect.top, (track.top + track.bottom) / 2);
    EXPECT_LE(bar->thumb->screenRect.bottom, track.bottom + 1);
    session.Dispatch(WindowSession::Key(RAW_HOME));
    EXPECT_EQ(bar->thumb->screenRect.top, track.top - 1);
}

} // namespace
