// UI_TIME_FIELD.h: UI_TIME_FIELD, the entry field of a time of day: its text
// is read into its UI_TIME when the user leaves it, tested against an
// optional list of ranges and written back in the field's format.
#pragma once

#include <cstdint>

#include "widgets/UI_STRING_FIELD.h"
#include "widgets/UI_TIME.h"

constexpr uint16_t UI_ID_TIME_FIELD = 16;

class UI_TIME_FIELD : public UI_STRING_FIELD {
public:
    // newTime is copied into the field's own time (null: the current time),
    // or with flags 0x08 is the caller's time itself. newRange ("08:00..12:00/
    // 13:00..17:00") is copied; null admits every time.
    UI_TIME_FIELD(int32_t left, int32_t top, int32_t width, UI_TIME* newTime, const char* newRange,
                  uint16_t newTimeFlags, uint16_t objectFlags, UI_CALLBACK userFunction);
    ~UI_TIME_FIELD() override;

    // Requests (objectID 0 means 16): 0 sets the class chain; 3, 4, 5 on
    // timeFlags (own id only); 6 lays the field out again on the screen;
    // others go to the string field.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Leaving (-13) or confirming (1002) reads the text into the time, which
    // comes back when Validate refuses it; -10 writes the time into the text.
    int32_t Event(UI_MESSAGE* event) override;
    // 0 valid, 1 not a time, 2 outside every range. The text is written
    // again from the time read (the current time when it was not a time).
    int32_t Validate(int32_t processError) override;

    void SetTime(UI_TIME* newTime);

    uint16_t timeFlags;
    UI_TIME* time;
    char* range = nullptr;

private:
    void ShowTime(const UI_TIME& shown);

    UI_TIME ownTime;
};
