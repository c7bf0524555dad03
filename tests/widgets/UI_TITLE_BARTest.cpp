// Tests of the title bar: its settings and text, its place at the window's
// top, the press that moves the window (not for a maximized one, nor as the
// second click of a double click), and the double click's message.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/WindowSession.h"
#include "widgets/UI_TITLE_BAR.h"
#include "widgets/UI_WINDOW.h"

namespace {

TEST(UI_TITLE_BAR, CarriesItsSettings)
{
    UI_TITLE_BAR title("Orders");
    EXPECT_EQ(title.classChain[0], UI_ID_TITLE_BAR);
    EXPECT_EQ(title.classChain[1], UI_ID_BUTTON);
    EXPECT_EQ(title.number, 0xFFFB);
    EXPECT_STREQ(title.searchName, "NUMID_TITLE");
    EXPECT_TRUE(title.windowFlags & UI_WINDOW_NEVER_CURRENT);
    EXPECT_EQ(title.flags & 0x224, 0x224);
    EXPECT_EQ(title.font, 0x1002);
    EXPECT_EQ(title.depth, 0);
    EXPECT_EQ(title.buttonFlags, UI_BUTTON_NO_TOGGLE | UI_BUTTON_ON_PRESS);
    EXPECT_STREQ(static_cast<const char*>(title.Query(UI_QUERY_GET_TEXT, nullptr, 0)), "Orders");
}

TEST(UI_TITLE_BAR, BorrowedTextIsKeptAndNeverFreed)
{
    char caller[] = "Mine";
    {
        UI_TITLE_BAR title(caller, UI_FLAG_TEXT_NOT_COPIED);
        EXPECT_EQ(title.GetText(), caller);
        char other[] = "Other";
        title.SetText(other);
        EXPECT_EQ(title.GetText(), other);
    }
    EXPECT_STREQ(caller, "Mine");   // still the caller's (a free would be reported by the sanitizer)

    UI_TITLE_BAR copied(caller);
    EXPECT_NE(copied.GetText(), caller);
    copied.SetText("Next");
    EXPECT_STREQ(copied.GetText(), "Next");
    copied.SetText(copied.GetText());   // the same pointer: kept, not freed
    EXPECT_STREQ(copied.GetText(), "Next");
}

class TitleBars : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = new UI_WINDOW(2, 2, 30, 10, UI_FLAG_BORDER);
        title_ = new UI_TITLE_BAR("Window");
        title_->value = 10042;
        window_->Add(title_);
        session_.time.Set(12 * 360000);
        session_.desktop.Add(window_);   // the first messages set the last click
        column_ = title_->screenRect.left + 20;
        line_ = title_->screenRect.top + 3;
    }

    WindowSession session_;
    UI_WINDOW* window_ = nullptr;
    UI_TITLE_BAR* title_ = nullptr;
    int32_t column_ = 0;
    int32_t line_ = 0;
};

TEST_F(TitleBars, SitsOneLineHighAtTheTopAndTakesItsRoom)
{
    const UI_RECT& w = window_->screenRect;
    const UI_RECT& t = title_->screenRect;
    EXPECT_EQ(t.left, w.left);          // one pixel out over the border
    EXPECT_EQ(t.right, w.right);
    EXPECT_EQ(t.top, w.top);
    EXPECT_EQ(t.bottom, t.top + 14 - 4);
    EXPECT_GT(window_->clipList.First()->region.top, t.bottom);   // the client area starts below it
}

TEST_F(TitleBars, PressMovesTheWindowAndADoubleClickPostsTheValue)
{
    session_.time.Advance(100);
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_HELD, column_ + 40, line_ + 30));
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_RELEASE, column_ + 40, line_ + 30));
    const UI_RECT before = window_->screenRect;
    EXPECT_EQ(session_.Press(column_, line_), UI_CODE_PRESS);
    EXPECT_EQ(window_->screenRect.left, before.left + 40);
    EXPECT_EQ(window_->screenRect.top, before.top + 30);
    UI_MESSAGE queued;
    while (session_.manager.Get(&queued, UI_GET_NO_WAIT | UI_GET_NO_POLL) == 0) {
    }

    // The second click within half a second: no move, and its release posts
    // the bar's value addressed to the window at the head of the queue.
    session_.time.Advance(20);
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_RELEASE, column_ + 40, line_ + 30));
    const UI_RECT moved = window_->screenRect;
    EXPECT_EQ(session_.Press(column_ + 40, line_ + 30), UI_CODE_PRESS);
    EXPECT_EQ(session_.mouse->script.size(), 1u);   // no move loop took the release
    EXPECT_EQ(window_->screenRect.left, moved.left);
    session_.time.Advance(20);
    UI_MESSAGE tail(UI_CODE_POINTER_MOVE);
    session_.manager.Put(&tail, UI_PUT_AT_TAIL);
    EXPECT_EQ(session_.Release(column_ + 40, line_ + 30), UI_CODE_RELEASE);
    ASSERT_EQ(session_.manager.Get(&queued, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(queued.type, 10042);
    EXPECT_EQ(queued.pointer, window_);
}

TEST_F(TitleBars, MaximizedWindowsTitleStartsNoMove)
{
    UI_MESSAGE maximize(UI_CODE_MAXIMIZE);
    maximize.pointer = window_;
    session_.Dispatch(maximize);
    ASSERT_TRUE(window_->status & UI_STATUS_MAXIMIZED);
    session_.time.Advance(100);
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_RELEASE, 100, 100));
    const UI_RECT t = title_->screenRect;
    EXPECT_EQ(session_.Press(t.left + 20, t.top + 3), UI_CODE_PRESS);
    EXPECT_EQ(session_.mouse->script.size(), 1u);   // no move loop
    EXPECT_EQ(window_->screenRect.top, 14 - 2);
}

TEST_F(TitleBars, SlowSecondClickIsAPlainClick)
{
    session_.time.Advance(100);
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_RELEASE, column_, line_));
    session_.Press(column_, line_);   // a move that changes nothing
    session_.time.Advance(60);
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_RELEASE, column_, line_));
    session_.Press(column_, line_);
    EXPECT_TRUE(session_.mouse->script.empty());   // a second move loop ran
    session_.time.Advance(60);
    session_.Release(column_, line_);
    UI_MESSAGE queued;
    while (session_.manager.Get(&queued, UI_GET_NO_WAIT | UI_GET_NO_POLL) == 0)
        EXPECT_NE(queued.type, 10042);
}

} // namespace
