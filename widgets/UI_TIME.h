// UI_TIME.h: UI_TIME, the framework's time of day in hundredths of a second
// since midnight (-1: no time), read from and written as text under the time
// flags, and set from the clock. The entry field of a time is
// UI_TIME_FIELD.h; the clock itself is TimeOfDay.h.
#pragma once

#include <cstdint>

// Time flags, shared by Import, Export and the time field.
constexpr uint16_t UI_TIME_SECONDS = 0x0001;
constexpr uint16_t UI_TIME_HUNDREDTHS = 0x0002;
constexpr uint16_t UI_TIME_NO_HOURS = 0x0004;
constexpr uint16_t UI_TIME_NO_MINUTES = 0x0008;
constexpr uint16_t UI_TIME_12_HOUR = 0x0010;
constexpr uint16_t UI_TIME_24_HOUR = 0x0020;
constexpr uint16_t UI_TIME_ZERO_FILL = 0x0040;
constexpr uint16_t UI_TIME_COLON = 0x0080;
constexpr uint16_t UI_TIME_NO_SEPARATOR = 0x0100;
constexpr uint16_t UI_TIME_UPPER_CASE = 0x0200;
constexpr uint16_t UI_TIME_LOWER_CASE = 0x0400;
constexpr uint16_t UI_TIME_EMPTY_IS_NOW = 0x0800;

constexpr int32_t UI_NO_TIME = -1;

class UI_TIME {
public:
    UI_TIME() = default;
    explicit UI_TIME(int32_t hundredths) : value(hundredths) {}
    virtual ~UI_TIME() = default;
    UI_TIME(const UI_TIME&) = default;
    UI_TIME& operator=(const UI_TIME&) = default;

    // Reads text under flags: 0 accepted (value set), 1 a field beyond its
    // largest value (value unchanged). An empty or null text gives the
    // current time with UI_TIME_EMPTY_IS_NOW, else no time.
    int32_t Import(const char* text, uint16_t flags);
    // 0 and the value set when every part lies in 0-23, 0-59, 0-59, 0-99;
    // otherwise 1 and the value kept.
    int32_t Import(int32_t hours, int32_t minutes, int32_t seconds, int32_t hundredths);
    void Assign(const UI_TIME& other) { value = other.value; }
    // The current local time of day.
    void SetCurrent();
    // Writes the value under flags into buffer, which holds size bytes (the
    // text is cut to fit). No time writes the empty text.
    void Export(char* buffer, int32_t size, uint16_t flags) const;

    int32_t value = UI_NO_TIME;

    // The words after a time on the 12-hour clock; the program may set them
    // once at start.
    static const char* amText;
    static const char* pmText;
};
