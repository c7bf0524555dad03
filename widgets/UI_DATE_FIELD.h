// UI_DATE_FIELD.h: UI_DATE_FIELD, the entry field of a calendar date: its
// text is the bound date in the field's layout; leaving or confirming the
// field reads the text back, refusing a date that is not valid or lies
// outside the field's ranges.
#pragma once

#include <cstdint>

#include "widgets/UI_DATE.h"
#include "widgets/UI_STRING_FIELD.h"

constexpr uint16_t UI_ID_DATE_FIELD = 3;

class UI_DATE_FIELD : public UI_STRING_FIELD {
public:
    // newDate is copied into the field's own date (null: no date, since this
    // system has no current date), or with flags 0x08 is the caller's date
    // itself. newRange is copied; null admits all. '/' parts its items, so
    // its dates use another separator: "1-1-1990..12-31-1999".
    UI_DATE_FIELD(int32_t left, int32_t top, int32_t width, UI_DATE* newDate, const char* newRange,
                  uint16_t newDateFlags, uint16_t objectFlags, UI_CALLBACK userFunction);
    ~UI_DATE_FIELD() override;

    // Requests (objectID 0 means 3): 0 sets the class chain; 3, 4, 5 on
    // dateFlags (own id only); 6 lays the field out again on the screen;
    // others go to the string field.
    void* Query(int32_t request, void* data, uint16_t objectID) override;
    // Leaving (-13) or confirming (1002) reads the text into the date, which
    // comes back when Validate refuses it; -10 writes the date into the text.
    int32_t Event(UI_MESSAGE* event) override;
    // 0 accepted (the text normalised), 1 not a valid date, 5 outside every
    // range (the text shows the bound date again).
    int32_t Validate(int32_t processError) override;

    void SetDate(UI_DATE* newDate);

    uint16_t dateFlags;
    UI_DATE* date;
    char* range = nullptr;

    // The date flags the bounds of every range list are read with.
    static uint16_t rangeDateFlags;

private:
    void ShowDate(const UI_DATE& shown);

    UI_DATE ownDate;
};
