// A real window of the framework on an X display (Xvfb in CI): a window with
// a button on the desktop, pressed and released with xdotool through a mouse
// poller that stands in for the program's mouse device, runs the button's
// user function; Alt-F4 then closes the window and the next pass of the loop
// answers that no window is left. Without DISPLAY, or without xdotool, the
// test skips.
//
// A bare xdotool click can fall between two polls, so the button is pressed,
// held a moment and released. Focus follows the pointer (no window manager):
// the pointer is in the window before the keys are sent.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include <allegro.h>

#include "platform/Clock.h"
#include "support/ShellCommands.h"
#include "widgets/GraphicsSetup.h"
#include "widgets/KeyInput.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_KEYBOARD_INPUT.h"
#include "widgets/UI_WINDOW.h"

namespace {

constexpr uint32_t STEP_DEADLINE_MS = 5000;

// The library's mouse read on every poll: a type-30 event whenever the
// pointer moved, the left button is down or it changed.
class MousePoller : public UI_INPUT_DEVICE {
public:
    MousePoller() : UI_INPUT_DEVICE(UI_MOUSE_EVENT, UI_DEVICE_ON) { ready = 1; }
    int32_t Event(UI_MESSAGE* event) override { return event->type; }
    void Poll() override
    {
        if (mouse_needs_poll())
            poll_mouse();
        const int32_t down = (mouse_b & 1) ? 0x100 : 0;
        const int32_t changed = down != lastDown_ ? 0x1000 : 0;
        if (mouse_x == lastX_ && mouse_y == lastY_ && down == 0 && changed == 0)
            return;
        lastX_ = mouse_x;
        lastY_ = mouse_y;
        lastDown_ = down;
        UI_MESSAGE m(UI_MOUSE_EVENT);
        m.code = down | changed;
        m.point = UI_POINT{mouse_x, mouse_y};
        if (inputManager != nullptr)
            inputManager->Put(&m, UI_PUT_AT_TAIL);
    }

private:
    int32_t lastX_ = -1;
    int32_t lastY_ = -1;
    int32_t lastDown_ = 0;
};

int32_t pressed = 0;
int32_t CountPress(UI_WIDGET*, UI_MESSAGE*, int32_t code)
{
    if (code == UI_CODE_SELECT)
        ++pressed;
    return code;
}

class DesktopWindow : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no DISPLAY: window tests need an X display (scripts/xvfb.sh starts Xvfb)";
        if (!Shell("command -v xdotool >/dev/null 2>&1"))
            GTEST_SKIP() << "xdotool is not installed: the desktop test cannot press buttons";
        ASSERT_EQ(allegro_init(), 0) << allegro_error;
        fg_set_run_in_window(1);
        testing::internal::CaptureStdout();
        display_ = new UI_FG_DISPLAY(0);
        testing::internal::GetCapturedStdout();
        ASSERT_EQ(display_->ready, 1);
        title_ = "Tessarn3 desktop test " + std::to_string(getpid());
        set_window_title(title_.c_str());
        ASSERT_EQ(InstallMouse(), 1);
        manager_ = new UI_INPUT_MANAGER(display_, 100);
        manager_->AddDevice(new UI_KEYBOARD_INPUT(UI_DEVICE_ON));
        manager_->AddDevice(new MousePoller);
        desktop_ = new UI_DESKTOP(display_, manager_);

        const uint32_t start = platform::MilliClock();
        while (window_.empty() && platform::MilliClock() - start < STEP_DEADLINE_MS) {
            window_ = FirstLine("xdotool search --name '" + title_ + "' 2>/dev/null");
            rest(10);
        }
        ASSERT_FALSE(window_.empty()) << "window not found";
    }

    void TearDown() override
    {
        delete desktop_;
        delete manager_;   // its devices with it
        delete display_;
        fg_set_run_in_window(0);
        if (system_driver != nullptr)
            allegro_exit();
    }

    // Main-loop passes until done() holds or the deadline passes; each
    // answer is kept.
    template <typename Done>
    bool RunUntil(Done done)
    {
        const uint32_t start = platform::MilliClock();
        while (!done()) {
            if (platform::MilliClock() - start > STEP_DEADLINE_MS)
                return false;
            UI_MESSAGE next;
            if (manager_->Get(&next, UI_GET_NO_WAIT) == 0)
                answers_.push_back(desktop_->Event(&next));
            else
                rest(1);
            fg_refresh_screen();
        }
        return true;
    }

    bool Answered(int32_t code) const
    {
        for (int32_t a : answers_)
            if (a == code)
                return true;
        return false;
    }

    std::string title_;
    std::string window_;
    UI_FG_DISPLAY* display_ = nullptr;
    UI_INPUT_MANAGER* manager_ = nullptr;
    UI_DESKTOP* desktop_ = nullptr;
    std::vector<int32_t> answers_;
};

TEST_F(DesktopWindow, ButtonPressRunsItsFunctionAndAltF4ClosesTheLastWindow)
{
    pressed = 0;
    auto* window = new UI_WINDOW(10, 5, 30, 10, UI_FLAG_BORDER);
    auto* button = new UI_BUTTON(2, 2, 12, "Press", 0, 0, CountPress);
    window->Add(button);
    desktop_->Add(window);
    fg_refresh_screen();
    const UI_RECT r = button->screenRect;
    const std::string at = std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2);

    // Two steps: the pointer enters the window first, then goes to the button.
    ASSERT_TRUE(Shell("xdotool mousemove --window " + window_ + " 5 5"));
    const uint32_t entered = platform::MilliClock();
    RunUntil([&] { return platform::MilliClock() - entered > 300; });   // the first move may go unseen
    ASSERT_TRUE(Shell("xdotool mousemove --window " + window_ + " " + at));
    ASSERT_TRUE(RunUntil([&] { return manager_->queue.Size() == 0 && mouse_x == (r.left + r.right) / 2; }))
        << "the pointer is at " << mouse_x << ", " << mouse_y << ", not " << at;
    ASSERT_TRUE(Shell("xdotool mousedown 1"));
    ASSERT_TRUE(RunUntil([&] { return (button->buttonState & UI_BUTTON_PRESSED) != 0; })) << "press not seen";
    ASSERT_TRUE(Shell("xdotool mouseup 1"));
    ASSERT_TRUE(RunUntil([&] { return pressed > 0; })) << "the user function never ran";
    EXPECT_EQ(pressed, 1);

    // Alt is held until the keyboard device has taken the key with it.
    ASSERT_TRUE(Shell("xdotool keydown alt key F4"));
    const bool closed = RunUntil([&] { return Answered(UI_CODE_CLOSE); });
    ASSERT_TRUE(Shell("xdotool keyup alt"));
    ASSERT_TRUE(closed) << "the window was not closed";
    ASSERT_TRUE(RunUntil([&] { return Answered(UI_CODE_NO_WINDOW); })) << "no pass answered that no window is left";
    EXPECT_EQ(desktop_->head, nullptr);
    // The pass right after the close answered that no window is left.
    size_t close = 0;
    while (answers_[close] != UI_CODE_CLOSE)
        ++close;
    ASSERT_LT(close + 1, answers_.size());
    EXPECT_EQ(answers_[close + 1], UI_CODE_NO_WINDOW);
}

} // namespace
