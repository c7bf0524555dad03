// UI_DATE.h: UI_DATE, the framework's calendar date held as a Julian day
// number (-1: no date), with conversions from and to year, month and day
// and from and to text in the layouts of the date flags. The entry field of
// a date is UI_DATE_FIELD.h.
#pragma once

#include <cstdint>

// Date flags, shared by the conversions and the date field.
constexpr uint16_t UI_DATE_MDY = 0x0001;
constexpr uint16_t UI_DATE_DMY = 0x0002;
constexpr uint16_t UI_DATE_YMD = 0x0004;
constexpr uint16_t UI_DATE_MILITARY = 0x0008;        // blanks between, the month as a name, day first
constexpr uint16_t UI_DATE_DASH = 0x0010;
constexpr uint16_t UI_DATE_SLASH = 0x0020;
constexpr uint16_t UI_DATE_MONTH_NAME = 0x0040;
constexpr uint16_t UI_DATE_WEEKDAY = 0x0080;
constexpr uint16_t UI_DATE_UPPER_CASE = 0x0100;
constexpr uint16_t UI_DATE_SHORT_YEAR = 0x0200;
constexpr uint16_t UI_DATE_SHORT_MONTH = 0x0400;
constexpr uint16_t UI_DATE_SHORT_WEEKDAY = 0x0800;
constexpr uint16_t UI_DATE_ZERO_FILL = 0x1000;
constexpr uint16_t UI_DATE_EMPTY_KEEPS = 0x4000;

constexpr int32_t UI_NO_DATE = -1;
constexpr int32_t UI_DAY_OF_1_JANUARY_2000 = 2451545;

class UI_DATE {
public:
    UI_DATE() = default;
    explicit UI_DATE(int32_t dayNumber) : value(dayNumber) {}
    virtual ~UI_DATE() = default;
    UI_DATE(const UI_DATE&) = default;
    UI_DATE& operator=(const UI_DATE&) = default;

    // Copies other's value; 0.
    int32_t Import(const UI_DATE& other);
    // 0 and the value set for a valid date, 1 and the value kept otherwise.
    // A zero part is first taken from the current value; a year below 1000
    // has 1900 added. Valid: a year not negative, month 1 to 12, day 1 to
    // the month's length, and a day number that fits 32 bits.
    int32_t Import(int32_t year, int32_t month, int32_t day);
    // Reads three fields (numbers, or a month name anywhere) in the order of
    // dateFlags; 1 with fewer than three or an invalid date. An empty text
    // leaves the date (UI_DATE_EMPTY_KEEPS) or makes it no date; 0.
    int32_t Import(const char* text, uint16_t dateFlags);
    // The parts of the date (any pointer may be null); all 0 for no date.
    // weekday: 1 Sunday to 7 Saturday.
    void Export(int32_t* year, int32_t* month, int32_t* day, int32_t* weekday) const;
    // Writes the date under dateFlags into buffer of size bytes (cut to
    // fit). No date writes the empty text.
    void Export(char* buffer, int32_t size, uint16_t dateFlags) const;
    // The current date: this system sets none, so the value stays.
    void SetCurrent() {}

    int32_t value = UI_NO_DATE;
};
