// WidgetWorld.h: what window objects need around them in a test: a recording
// display, an input manager with a scripted mouse, the desktop that publishes
// both, and a time of day the test sets to the hundredth (through a
// FakeClock under the framework's clock).
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>

#include "platform/Clock.h"
#include "support/RecordingDisplay.h"
#include "support/ScriptedInput.h"
#include "widgets/TimeOfDay.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_WINDOW.h"

// The time of day, set and moved on by hand.
class ScriptedTimeOfDay {
public:
    ScriptedTimeOfDay() : clock_(1000000, 0)
    {
        // Local midnight of a day in 2026, whatever the time zone.
        const int64_t someDay = 1780000000;
        std::tm parts{};
        platform::LocalCalendar(someDay, parts);
        midnight_ = someDay - ((parts.tm_hour * 60 + parts.tm_min) * 60 + parts.tm_sec);
        Set(12 * 360000);
    }

    // Makes the time of day hundredths (0 to a day less one).
    void Set(int32_t hundredths)
    {
        // Far from the current reading, so the framework takes the calendar
        // clock again; then to the whole second, then on to the hundredth.
        clock_.SetCalendarSeconds(midnight_ + (hundredths / 100 + 43200) % 86400);
        clock_.AdvanceMilliseconds(5000);
        TimeOfDayHundredths();
        clock_.SetCalendarSeconds(midnight_ + hundredths / 100);
        clock_.AdvanceMilliseconds(5000);
        TimeOfDayHundredths();
        now_ = hundredths - hundredths % 100;
        Advance(hundredths % 100);
    }

    // Moves the time on by hundredths, across midnight into the next day.
    void Advance(int32_t hundredths)
    {
        clock_.AdvanceMilliseconds(static_cast<uint32_t>(hundredths) * 10);
        now_ += hundredths;
        clock_.SetCalendarSeconds(midnight_ + now_ / 100);
    }

    int32_t Now() const { return now_ % UI_HUNDREDTHS_PER_DAY; }

private:
    platform::FakeClock clock_;
    int64_t midnight_;
    int64_t now_ = 0;   // hundredths since midnight of the first day
};

// Display, input manager with a scripted mouse, and desktop. The mouse
// journal and script belong to the test.
struct WidgetWorld {
    WidgetWorld()
    {
        mouse = new ScriptedDevice(UI_MOUSE_EVENT);
        manager.AddDevice(mouse);
        UI_BUTTON::lastChosenSet = false;
    }

    // A mouse event at (column, line) with the raw button code (0x1100 left
    // pressed, 0x0100 held, 0x1000 released).
    static UI_MESSAGE Mouse(int32_t rawCode, int32_t column, int32_t line)
    {
        UI_MESSAGE m(UI_MOUSE_EVENT);
        m.code = rawCode;
        m.point = UI_POINT{column, line};
        return m;
    }
    static UI_MESSAGE Key(int32_t rawCode)
    {
        UI_MESSAGE m(UI_KEY_EVENT);
        m.code = rawCode;
        return m;
    }

    ScriptedTimeOfDay time;
    RecordingDisplay display;
    UI_INPUT_MANAGER manager{&display, 100};
    UI_DESKTOP desktop{&display, &manager};
    ScriptedDevice* mouse;   // owned by the manager
};

constexpr int32_t RAW_LEFT_PRESS = 0x1100;
constexpr int32_t RAW_LEFT_HELD = 0x0100;
constexpr int32_t RAW_LEFT_RELEASE = 0x1000;
constexpr int32_t RAW_ENTER = 0x1C0D;
