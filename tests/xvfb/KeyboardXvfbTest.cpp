// Keys typed into a real Allegro window on an X display (Xvfb in CI), sent by
// xdotool, read by the keyboard device through the input manager: their
// framework codes and shift bits, Alt alone, and Ctrl-C as the quit event at
// the head of the queue. Without DISPLAY, or without xdotool, the test skips.
//
// No window manager runs, so focus follows the pointer: the pointer is moved
// into the window first. Modifiers are held with keydown/keyup around each
// key, since the shift flags are read when the device takes the key, and the
// queue is polled to a deadline rather than after fixed sleeps.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include <allegro.h>

#include "platform/Clock.h"
#include "support/ShellCommands.h"
#include "widgets/KeyInput.h"
#include "widgets/UI_KEYBOARD_INPUT.h"

namespace {

constexpr uint32_t STEP_DEADLINE_MS = 5000;

// Polls until done() holds or the deadline passes; answers done().
template <typename Done>
bool PollUntil(UI_INPUT_MANAGER& manager, Done done)
{
    const uint32_t start = platform::MilliClock();
    UI_MESSAGE peeked;
    while (!done()) {
        if (platform::MilliClock() - start > STEP_DEADLINE_MS)
            return false;
        manager.Get(&peeked, UI_GET_NO_WAIT | UI_GET_PEEK);   // polls, takes nothing
        rest(1);
    }
    return true;
}

class KeyboardWindow : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr)
            GTEST_SKIP() << "no DISPLAY: keyboard tests need an X display (scripts/xvfb.sh starts Xvfb)";
        if (!Shell("command -v xdotool >/dev/null 2>&1"))
            GTEST_SKIP() << "xdotool is not installed: keyboard tests cannot send keys";
        ASSERT_EQ(allegro_init(), 0) << allegro_error;
        set_color_depth(8);
        ASSERT_EQ(set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640, 480, 0, 0), 0) << allegro_error;
        title_ = "Tessarn3 keyboard test " + std::to_string(getpid());
        set_window_title(title_.c_str());

        manager_ = new UI_INPUT_MANAGER(nullptr, 100);
        keyboard_ = new UI_KEYBOARD_INPUT(UI_DEVICE_ON);
        manager_->AddDevice(keyboard_);
        ASSERT_EQ(keyboard_->ready, 1);

        const uint32_t start = platform::MilliClock();
        while (window_.empty() && platform::MilliClock() - start < STEP_DEADLINE_MS) {
            window_ = FirstLine("xdotool search --name '" + title_ + "' 2>/dev/null");
            rest(10);
        }
        ASSERT_FALSE(window_.empty()) << "window not found";
        ASSERT_TRUE(Shell("xdotool mousemove --window " + window_ + " 320 240"));
    }

    void TearDown() override
    {
        delete manager_;   // deletes the keyboard device, which removes the keyboard
        if (system_driver != nullptr)
            allegro_exit();
    }

    // Sends keys with xdotool, with modifiers (xdotool names) held down until
    // the device has queued `events` more events.
    void Type(const std::string& keys, const std::vector<std::string>& modifiers = {}, int32_t events = 1)
    {
        std::string down = "xdotool";
        std::string up = "xdotool";
        for (const std::string& m : modifiers) {
            down += " keydown " + m;
            up += " keyup " + m;
        }
        if (!keys.empty())
            down += " key " + keys;
        const int32_t wanted = manager_->queue.Size() + events;
        ASSERT_TRUE(Shell(down));
        const bool queued = PollUntil(*manager_, [&] { return manager_->queue.Size() >= wanted; });
        if (!modifiers.empty()) {
            ASSERT_TRUE(Shell(up));
        }
        ASSERT_TRUE(queued) << "no event for " << keys;
    }

    std::string title_;
    std::string window_;
    UI_INPUT_MANAGER* manager_ = nullptr;
    UI_KEYBOARD_INPUT* keyboard_ = nullptr;
};

struct Queued {
    int32_t type;
    int32_t code;
    int32_t shifts;
    bool operator==(const Queued&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Queued& q)
{
    return out << "{" << q.type << ", 0x" << std::hex << q.code << ", " << std::dec << q.shifts << "}";
}

TEST_F(KeyboardWindow, TypedKeysReachTheQueueWithTheirCodes)
{
    Type("k");
    Type("Return");
    Type("Tab", {"shift"});
    Type("F4", {"alt"});
    Type("f", {"alt"});
    Type("Delete");

    // Alt alone: once the device has seen Alt up after Alt-F, held until the
    // device has seen it, then released.
    ASSERT_TRUE(PollUntil(*manager_, [&] { return keyboard_->altState == UI_KEYBOARD_INPUT::ALT_IDLE; }))
        << "Alt never seen up";
    ASSERT_TRUE(Shell("xdotool keydown alt"));
    const bool altSeen = PollUntil(*manager_, [&] { return keyboard_->altState == UI_KEYBOARD_INPUT::ALT_ALONE; });
    ASSERT_TRUE(Shell("xdotool keyup alt"));
    ASSERT_TRUE(altSeen) << "Alt never seen held";
    const int32_t wanted = manager_->queue.Size() + 1;
    ASSERT_TRUE(PollUntil(*manager_, [&] { return manager_->queue.Size() >= wanted; })) << "no menu key";

    Type("c", {"ctrl"});

    std::vector<Queued> queued;
    UI_MESSAGE e;
    while (manager_->Get(&e, UI_GET_NO_WAIT | UI_GET_NO_POLL) == 0)
        queued.push_back({e.type, e.code, e.type == UI_KEY_EVENT ? e.keyData.shifts : 0});
    const std::vector<Queued> expected = {
        {UI_CODE_QUIT, 0x2E03, 0},          // Ctrl-C, put at the head
        {UI_KEY_EVENT, 0x1A5B, 0},          // k
        {UI_KEY_EVENT, 0x1C0D, 0},          // Enter
        {UI_KEY_EVENT, 0x0F00, 3},          // Shift-Tab
        {UI_KEY_EVENT, 0x6B00, 8},          // Alt-F4
        {UI_KEY_EVENT, 0x2100, 8},          // Alt-F
        {UI_KEY_EVENT, 0x53E0, 0},          // Del
        {UI_CODE_MENU_KEY, 0, 0},           // Alt alone
    };
    EXPECT_EQ(queued, expected);
}

} // namespace
