// WindowSession.h: a scripted session with real windows on the desktop of a
// WidgetWorld: keys and mouse messages handed to UI_DESKTOP::Event as the
// main loop hands them, the queue pumped as its passes do, and a window
// class that writes down its deletion.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/WidgetWorld.h"
#include "widgets/UI_LIST_BOX.h"
#include "widgets/UI_TITLE_BAR.h"
#include "widgets/UI_WINDOW.h"

// A window that counts its deletions into a counter the test keeps.
class CountedWindow : public UI_WINDOW {
public:
    CountedWindow(int32_t left, int32_t top, int32_t width, int32_t height, int32_t* deletions,
                  uint16_t objectWindowFlags = 0)
        : UI_WINDOW(left, top, width, height, 0, objectWindowFlags), deletions_(deletions)
    {
    }
    ~CountedWindow() override { ++*deletions_; }

private:
    int32_t* deletions_;
};

struct WindowSession : WidgetWorld {
    WindowSession()
    {
        UI_TITLE_BAR::lastClickSet = false;
        UI_LIST_BOX::lastReleaseSet = false;
    }

    // A key with shift bits, as the keyboard device puts it.
    static UI_MESSAGE KeyWith(int32_t rawCode, int32_t shifts, int32_t character = 0)
    {
        UI_MESSAGE m = Key(rawCode);
        m.keyData.shifts = shifts;
        m.keyData.keyValue = character;
        return m;
    }

    int32_t Dispatch(UI_MESSAGE message) { return desktop.Event(&message); }
    // Each character of characters typed in turn (its key event carries the
    // character in keyValue); the answer to the last.
    int32_t Type(const std::string& characters)
    {
        int32_t answer = 0;
        for (char c : characters) {
            const auto typed = static_cast<unsigned char>(c);
            answer = Dispatch(KeyWith(0x1E00 | typed, 0, typed));
        }
        return answer;
    }
    int32_t Press(int32_t column, int32_t line) { return Dispatch(Mouse(RAW_LEFT_PRESS, column, line)); }
    int32_t Release(int32_t column, int32_t line) { return Dispatch(Mouse(RAW_LEFT_RELEASE, column, line)); }

    // Passes of the main loop while the queue holds something (the devices
    // are not polled); the answer of each pass.
    std::vector<int32_t> Pump()
    {
        std::vector<int32_t> answers;
        UI_MESSAGE next;
        while (manager.Get(&next, UI_GET_NO_WAIT | UI_GET_NO_POLL) == 0)
            answers.push_back(desktop.Event(&next));
        return answers;
    }
};

constexpr int32_t RAW_TAB = 0x0F09;
constexpr int32_t RAW_SHIFT_TAB = 0x0F00;
constexpr int32_t RAW_HOME = 0x47E0;
constexpr int32_t RAW_END = 0x4FE0;
constexpr int32_t RAW_PAGE_DOWN = 0x51E0;
constexpr int32_t RAW_DOWN = 0x5000;
constexpr int32_t RAW_RIGHT = 0x4D00;
constexpr int32_t RAW_LEFT = 0x4B00;
constexpr int32_t RAW_UP = 0x4800;
constexpr int32_t RAW_ESC = 0x011B;
constexpr int32_t RAW_ALT_F4 = 0x6B00;
constexpr int32_t RAW_ALT_F6 = 0x6D00;
constexpr int32_t RAW_ALT_F7 = 0x6E00;
constexpr int32_t RAW_CTRL_C = 0x2E03;
