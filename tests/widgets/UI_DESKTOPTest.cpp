// Scripted sessions through the desktop window manager: closing the last
// window and the pass that follows, the exit question, modal windows closed
// by a plain one and pulled onto the screen or above their owner, a locking
// window, the cascade, routing of presses, the next window, help, the child
// commands of a window of windows, a new display; the maximize button and
// the arrow keys of buttons on real windows; and a full redraw into a memory
// page that leaves the front window's pixels alone.
#include <gtest/gtest.h>

#include <allegro.h>

#include <vector>

#include "support/MemoryScreen.h"
#include "support/WindowSession.h"
#include "widgets/FrameworkHooks.h"
#include "widgets/GraphicsSetup.h"
#include "widgets/PasteBuffer.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_MAXIMIZE_BUTTON.h"
#include "widgets/UI_WINDOW.h"

namespace {

class Desktop : public testing::Test {
protected:
    WindowSession session_;
    int32_t deletions_ = 0;
};

TEST_F(Desktop, ClosingTheLastWindowEndsTheNextPass)
{
    auto* window = new CountedWindow(2, 2, 20, 10, &deletions_);
    session_.desktop.Add(window);
    EXPECT_EQ(session_.Dispatch(WindowSession::KeyWith(RAW_ALT_F4, UI_SHIFT_ALT)), UI_CODE_CLOSE);
    EXPECT_EQ(deletions_, 1);
    EXPECT_EQ(session_.desktop.head, nullptr);
    // The no-window message waits at the head, ahead of what was queued.
    UI_MESSAGE queued(UI_CODE_POINTER_MOVE);
    session_.manager.Put(&queued, UI_PUT_AT_TAIL);
    const std::vector<int32_t> answers = session_.Pump();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[0], UI_CODE_NO_WINDOW);
    // With no window, the quit code still ends the program with 1000.
    EXPECT_EQ(session_.Dispatch(UI_MESSAGE(UI_CODE_QUIT)), UI_CODE_QUIT);
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_CTRL_C)), UI_CODE_QUIT);
}

int32_t exitAsked = 0;
int32_t exitAnswer = 0;
int32_t AskExit(UI_SCREEN*, UI_INPUT_MANAGER*, UI_DESKTOP*)
{
    ++exitAsked;
    return exitAnswer;
}

TEST_F(Desktop, ExitFunctionMayVetoTheExitRequest)
{
    session_.desktop.Add(new UI_WINDOW(2, 2, 20, 10));
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_CTRL_C)), UI_CODE_QUIT);   // no exit function
    session_.desktop.exitFunction = AskExit;
    exitAsked = 0;
    exitAnswer = 0;
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_CTRL_C)), UI_CODE_EXIT_REQUEST);   // vetoed
    exitAnswer = UI_CODE_QUIT;
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_CTRL_C)), UI_CODE_QUIT);
    EXPECT_EQ(exitAsked, 2);
    // The quit code itself is never asked about.
    EXPECT_EQ(session_.Dispatch(UI_MESSAGE(UI_CODE_QUIT)), UI_CODE_QUIT);
    EXPECT_EQ(exitAsked, 2);
}

TEST_F(Desktop, PlainAddClosesTheModalWindowInFront)
{
    auto* plain = new CountedWindow(2, 2, 20, 10, &deletions_);
    auto* modal = new CountedWindow(5, 5, 20, 10, &deletions_, UI_WINDOW_MODAL);
    session_.desktop.Add(plain);
    session_.desktop.Add(modal);
    ASSERT_EQ(session_.desktop.First(), modal);
    EXPECT_EQ(session_.desktop.Add(plain), plain);
    EXPECT_EQ(deletions_, 1);
    EXPECT_EQ(session_.desktop.First(), plain);
    EXPECT_EQ(session_.desktop.Size(), 1);
    EXPECT_TRUE(plain->status & UI_STATUS_CURRENT);
    EXPECT_EQ(session_.desktop.Add(nullptr), nullptr);
    EXPECT_EQ(session_.desktop.Remove(nullptr), nullptr);
}

TEST_F(Desktop, ModalAlreadyShownClosesTheWindowsInFrontOfIt)
{
    auto* modal = new CountedWindow(5, 5, 20, 10, &deletions_, UI_WINDOW_MODAL);
    session_.desktop.Add(modal);
    auto* front = new CountedWindow(2, 2, 20, 10, &deletions_, UI_WINDOW_MODAL);
    session_.desktop.Add(front);
    session_.desktop.Add(modal);
    EXPECT_EQ(deletions_, 1);
    EXPECT_EQ(session_.desktop.First(), modal);
}

TEST_F(Desktop, ModalWindowIsPulledOntoTheScreenAndOpensAboveItsOwner)
{
    auto* owner = new UI_WINDOW(0, 20, 40, 10);
    auto* opener = new UI_BUTTON(1, 7, 10, "Open");
    owner->Add(opener);
    session_.desktop.Add(owner);
    const UI_RECT at = opener->screenRect;

    // Off the right edge and past the bottom: 10 by 5 cells from cell (75, 33);
    // opened by a button, it is placed with the spacing of a cell row.
    auto* popUp = new UI_WINDOW(75, 33, 10, 5, 0, UI_WINDOW_MODAL);
    popUp->parent = opener;
    session_.desktop.Add(popUp);
    EXPECT_EQ(popUp->screenRect.right, 639);
    EXPECT_EQ(popUp->screenRect.left, 639 - 79);
    EXPECT_EQ(popUp->screenRect.bottom, at.top - 1);
    EXPECT_EQ(popUp->screenRect.bottom - popUp->screenRect.top, 5 * 14 - 1 - 4);   // its height kept

    // Shown again three cells off the left edge.
    auto* left = new UI_WINDOW(0, 1, 10, 5, 0, UI_WINDOW_MODAL);
    session_.desktop.Add(left);
    session_.desktop.Remove(left);
    left->givenRect.left -= 24;
    left->givenRect.right -= 24;
    session_.desktop.Add(left);
    EXPECT_EQ(left->screenRect.left, 0);
    EXPECT_EQ(left->screenRect.right, 79);
}

TEST_F(Desktop, LockingWindowKeepsTheMouseAndKeysFromTheWindowsBehind)
{
    auto* behind = new UI_WINDOW(0, 0, 30, 20);
    auto* other = new UI_WINDOW(40, 0, 30, 20);
    auto* lock = new UI_WINDOW(10, 5, 12, 5, 0, UI_WINDOW_LOCK);
    session_.desktop.Add(behind);
    session_.desktop.Add(other);
    session_.desktop.Add(lock);
    // A press on the window behind, outside the locking window.
    EXPECT_EQ(session_.Press(5, 250), UI_CODE_PRESS);
    EXPECT_EQ(session_.desktop.First(), lock);
    EXPECT_EQ(session_.Dispatch(WindowSession::KeyWith(RAW_ALT_F6, UI_SHIFT_ALT)), UI_CODE_NEXT_WINDOW);
    EXPECT_EQ(session_.desktop.First(), lock);
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_CTRL_C)), UI_CODE_EXIT_REQUEST);   // refused

    // Without the lock the press brings the window to the front, and the
    // next-window key brings the backmost one.
    lock->windowFlags = 0;
    EXPECT_EQ(session_.Press(5, 250), UI_CODE_PRESS);
    EXPECT_EQ(session_.desktop.First(), behind);
    EXPECT_EQ(session_.Dispatch(WindowSession::KeyWith(RAW_ALT_F6, UI_SHIFT_ALT)), UI_CODE_NEXT_WINDOW);
    EXPECT_EQ(session_.desktop.Last(), lock == session_.desktop.First() ? other : session_.desktop.Last());
    EXPECT_NE(session_.desktop.First(), behind);
}

TEST_F(Desktop, CascadeWithEightBySixteenCells)
{
    session_.display.rowHeight = 16;
    UI_WINDOW* windows[3];
    for (UI_WINDOW*& w : windows) {
        w = new UI_WINDOW(10, 10, 20, 5);
        session_.desktop.Add(w);
    }
    const int32_t width = windows[0]->screenRect.right - windows[0]->screenRect.left;
    EXPECT_EQ(session_.Dispatch(UI_MESSAGE(UI_CODE_CASCADE)), UI_CODE_CASCADE);
    // The backmost first.
    const UI_POINT expected[] = {{0, 0}, {24, 24}, {48, 48}};
    for (int32_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(windows[i]->screenRect.left, expected[i].column);
        EXPECT_EQ(windows[i]->screenRect.top, expected[i].line);
        EXPECT_EQ(windows[i]->screenRect.right - windows[i]->screenRect.left, width);
    }
    EXPECT_TRUE(windows[2]->status & UI_STATUS_CURRENT);   // the front one
}

TEST_F(Desktop, RemoveRepaintsWhatTheWindowCoveredAndMakesTheNextCurrent)
{
    auto* back = new UI_WINDOW(0, 0, 30, 20);
    auto* front = new UI_WINDOW(5, 5, 20, 10);
    session_.desktop.Add(back);
    session_.desktop.Add(front);
    EXPECT_FALSE(back->status & UI_STATUS_CURRENT);
    EXPECT_EQ(session_.desktop.Remove(front), back);
    EXPECT_TRUE(back->status & UI_STATUS_CURRENT);
    EXPECT_EQ(front->screenNumber, 0);
    EXPECT_EQ(session_.desktop.Remove(front), front);   // not on the desktop: unchanged
    delete front;

    // A new front window that the removed one did not overlap becomes
    // current too, so that it is drawn as the window the keys reach.
    auto* apart = new UI_WINDOW(50, 20, 20, 5);
    session_.desktop.Add(apart);
    session_.desktop.Add(back);
    session_.desktop.Remove(back);
    EXPECT_TRUE(apart->status & UI_STATUS_CURRENT);
    delete back;
}

TEST_F(Desktop, RemovedChildLeavesNoPointerOfTheWindowNamingIt)
{
    auto* window = new UI_WINDOW(2, 2, 30, 10);
    auto* support = new UI_BUTTON(0, 0, 5, "S", 0, UI_FLAG_SUPPORT);
    auto* client = new UI_BUTTON(1, 1, 5, "C");
    window->Add(support);
    window->Add(client);
    session_.desktop.Add(window);
    window->mouseHolder = support;
    window->defaultButton = client;
    window->Remove(support);
    window->Remove(client);
    EXPECT_EQ(window->mouseHolder, nullptr);
    EXPECT_EQ(window->defaultButton, nullptr);
    EXPECT_EQ(support->screenNumber, 0);
    delete support;
    delete client;
    EXPECT_EQ(session_.Press(100, 100), UI_CODE_PRESS);   // nothing dangles
}

TEST_F(Desktop, DeletingTheDesktopFreesThePasteBuffer)
{
    auto session = std::make_unique<WindowSession>();
    pasteBuffer = new char[6]{'h', 'e', 'l', 'l', 'o', '\0'};
    pasteLength = 5;
    session.reset();
    EXPECT_EQ(pasteBuffer, nullptr);
    EXPECT_EQ(pasteLength, 0);
}

// The buttons of the widget base on real windows: the maximize button's
// command reaches its window through the queue, and the arrow keys move the
// focus among a window's buttons.
TEST_F(Desktop, MaximizeButtonMaximizesItsWindowOnTheNextPass)
{
    auto* window = new UI_WINDOW(2, 2, 30, 10, UI_FLAG_BORDER);
    auto* maximize = new UI_MAXIMIZE_BUTTON;
    window->Add(maximize);
    session_.desktop.Add(window);
    const UI_RECT r = maximize->screenRect;
    ASSERT_EQ(r.right, window->screenRect.right);   // at the end of the client area's top, one pixel out
    const int32_t column = (r.left + r.right) / 2;
    const int32_t line = (r.top + r.bottom) / 2;
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_RELEASE, column, line));
    EXPECT_EQ(session_.Press(column, line), UI_CODE_PRESS);
    EXPECT_FALSE(window->status & UI_STATUS_MAXIMIZED);
    const std::vector<int32_t> answers = session_.Pump();
    EXPECT_EQ(answers, (std::vector<int32_t>{UI_CODE_MAXIMIZE}));
    EXPECT_TRUE(window->status & UI_STATUS_MAXIMIZED);
    EXPECT_EQ(maximize->value, UI_CODE_RESTORE);   // laid out again in its restore form
}

TEST_F(Desktop, ArrowKeysMoveTheFocusAmongAWindowsButtons)
{
    auto* window = new UI_WINDOW(2, 2, 30, 10);
    UI_BUTTON* buttons[3];
    for (int32_t i = 0; i < 3; ++i)
        window->Add(buttons[i] = new UI_BUTTON(1, 1 + i, 10, "B"));
    session_.desktop.Add(window);
    ASSERT_EQ(window->Current(), buttons[0]);
    session_.Dispatch(WindowSession::Key(RAW_DOWN));
    EXPECT_EQ(window->Current(), buttons[1]);
    session_.Dispatch(WindowSession::Key(RAW_UP));
    session_.Dispatch(WindowSession::Key(RAW_UP));
    EXPECT_EQ(window->Current(), buttons[2]);   // wrapped
    EXPECT_TRUE(buttons[2]->status & UI_STATUS_CURRENT);
    EXPECT_FALSE(buttons[0]->status & UI_STATUS_CURRENT);
}

// The real display over a memory page: after a full redraw, redrawing the
// window behind changes no pixel of the one in front.
TEST(DesktopPixels, WindowBehindLeavesTheFrontOneAlone)
{
    MemoryScreen memory;
    UI_FG_DISPLAY display(0);
    ASSERT_EQ(display.ready, 1);
    UI_INPUT_MANAGER manager(&display, 10);
    UI_DESKTOP desktop(&display, &manager);
    auto* back = new UI_WINDOW(2, 2, 40, 15, UI_FLAG_BORDER);
    for (int32_t i = 0; i < 10; ++i)
        back->Add(new UI_BUTTON(1, i, 36, "Behind"));
    auto* front = new UI_WINDOW(10, 4, 30, 8, UI_FLAG_BORDER);
    desktop.Add(back);
    desktop.Add(front);
    UI_MESSAGE redisplay(UI_CODE_REDISPLAY);
    EXPECT_EQ(desktop.Event(&redisplay), UI_CODE_REDISPLAY);

    BITMAP* page = fg_get_page(FG_PAGE_BACK);
    const UI_RECT f = front->screenRect;
    std::vector<int32_t> before;
    for (int32_t y = f.top; y <= f.bottom; ++y)
        for (int32_t x = f.left; x <= f.right; ++x)
            before.push_back(getpixel(page, x, y));
    // The buttons' face colour lies only outside the front window's inside.
    const int32_t face = display.ColourIndex(back->First()->ChooseColours(UI_CODE_DRAW_NORMAL, 0), 0);
    const int32_t fill = display.ColourIndex(front->colours, 0);
    ASSERT_NE(face, fill);
    EXPECT_EQ(CountPageColour(page, face, f.left + 1, f.top + 1, f.right - 1, f.bottom - 1), 0);
    EXPECT_GT(CountPageColour(page, face, back->screenRect.left, back->screenRect.top, f.left - 1, f.top - 1), 0);

    UI_MESSAGE draw(UI_CODE_DRAW_INACTIVE);
    draw.rect = back->screenRect;
    back->status |= UI_STATUS_REDRAW;
    back->Event(&draw);
    std::vector<int32_t> after;
    for (int32_t y = f.top; y <= f.bottom; ++y)
        for (int32_t x = f.left; x <= f.right; ++x)
            after.push_back(getpixel(page, x, y));
    EXPECT_EQ(before, after);
    EXPECT_EQ(CountPageColour(page, fill, f.left + 1, f.top + 1, f.right - 1, f.bottom - 1),
              (f.right - f.left - 1) * (f.bottom - f.top - 1));
}

class NotingHelp : public UI_HELP_SYSTEM {
public:
    void DisplayHelp(UI_WIDGET*, int32_t topic) override { topics.push_back(topic); }
    std::vector<int32_t> topics;
};

TEST_F(Desktop, HelpShowsTheFrontWindowsTopic)
{
    NotingHelp help;
    helpSystem = &help;
    session_.desktop.Add(new UI_WINDOW(2, 2, 20, 10, 0, 0, 77));
    EXPECT_EQ(session_.Dispatch(UI_MESSAGE(UI_CODE_HELP)), UI_CODE_HELP);
    helpSystem = nullptr;
    EXPECT_EQ(help.topics, (std::vector<int32_t>{77}));
}

TEST_F(Desktop, WindowOfWindowsPassesTheChildCommandsToItsCurrentChild)
{
    auto* holder = new UI_WINDOW(0, 0, 60, 25, 0, UI_WINDOW_IN_WINDOW);
    auto* first = new CountedWindow(1, 1, 20, 8, &deletions_, UI_WINDOW_IN_WINDOW);
    auto* second = new CountedWindow(5, 3, 20, 8, &deletions_, UI_WINDOW_IN_WINDOW);
    holder->Add(first);
    holder->Add(second);
    session_.desktop.Add(holder);
    ASSERT_EQ(holder->Current(), second);   // a window inside a window is current when added
    EXPECT_EQ(session_.Dispatch(UI_MESSAGE(UI_CODE_CHILD_MAXIMIZE)), UI_CODE_CHILD_MAXIMIZE);
    EXPECT_TRUE(second->status & UI_STATUS_MAXIMIZED);
    EXPECT_FALSE(holder->status & UI_STATUS_MAXIMIZED);
    EXPECT_EQ(session_.Dispatch(UI_MESSAGE(UI_CODE_CHILD_CLOSE)), UI_CODE_CHILD_CLOSE);
    EXPECT_EQ(deletions_, 1);
    EXPECT_EQ(holder->Current(), first);
    // A plain window takes no child commands.
    auto* plain = new UI_WINDOW(0, 0, 20, 5);
    session_.desktop.Add(plain);
    EXPECT_EQ(session_.Dispatch(UI_MESSAGE(UI_CODE_CHILD_MAXIMIZE)), UI_CODE_NOT_HANDLED);
}

TEST_F(Desktop, NewDisplayShowsTheSameWindowsInTheSameOrder)
{
    auto* back = new UI_WINDOW(2, 2, 20, 10);
    auto* front = new UI_WINDOW(4, 4, 20, 10);
    session_.desktop.Add(back);
    session_.desktop.Add(front);
    UI_MESSAGE leaving(UI_CODE_SCREEN_CHANGED);
    EXPECT_EQ(session_.Dispatch(leaving), UI_CODE_SCREEN_CHANGED);
    EXPECT_FALSE(front->status & UI_STATUS_IN_PIXELS);   // back in cells
    EXPECT_EQ(front->givenRect.left, 4);

    RecordingDisplay larger;
    larger.width = 800;
    larger.height = 600;
    larger.columnWidth = 10;
    UI_MESSAGE arriving(UI_CODE_SCREEN_CHANGED);
    arriving.pointer = &larger;
    EXPECT_EQ(session_.Dispatch(arriving), UI_CODE_SCREEN_CHANGED);
    EXPECT_EQ(UI_WIDGET::screen, &larger);
    EXPECT_EQ(session_.desktop.First(), front);
    EXPECT_EQ(session_.desktop.Last(), back);
    EXPECT_EQ(front->screenRect.left, 40);   // four cells of the new display
    EXPECT_EQ(session_.desktop.screenRect.right, 799);
    UI_MESSAGE queued;
    ASSERT_EQ(session_.manager.Get(&queued, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(queued.type, UI_CODE_REDISPLAY);
    session_.desktop.Event(&queued);
    UI_WIDGET::screen = &session_.display;   // the session's display outlives the larger one
}

} // namespace
