// Tests of the calendar date and its field: day numbers, validity (leap
// years, month and day limits, dates too far out), texts read in each order
// with month names anywhere, texts written in each layout, and the field's
// range list and leaving step.
#include <gtest/gtest.h>

#include "widgets/UI_DATE.h"
#include "widgets/UI_DATE_FIELD.h"
#include "widgets/WindowMessages.h"

namespace {

int32_t DayOf(int32_t year, int32_t month, int32_t day)
{
    UI_DATE date;
    EXPECT_EQ(date.Import(year, month, day), 0);
    return date.value;
}

TEST(UI_DATE, DayNumbersAndWeekdays)
{
    EXPECT_EQ(DayOf(2000, 1, 1), UI_DAY_OF_1_JANUARY_2000);
    EXPECT_EQ(DayOf(1999, 12, 31), UI_DAY_OF_1_JANUARY_2000 - 1);
    EXPECT_EQ(DayOf(2000, 3, 1) - DayOf(2000, 2, 28), 2);
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t weekday;
    UI_DATE(UI_DAY_OF_1_JANUARY_2000).Export(&year, &month, &day, &weekday);
    EXPECT_EQ(year, 2000);
    EXPECT_EQ(month, 1);
    EXPECT_EQ(day, 1);
    EXPECT_EQ(weekday, 7);   // Saturday
    UI_DATE none;
    EXPECT_EQ(none.value, UI_NO_DATE);
    none.Export(&year, &month, &day, &weekday);
    EXPECT_EQ(year + month + day + weekday, 0);
    // Every day of four centuries comes back as it went in.
    for (int32_t n = DayOf(1900, 1, 1); n <= DayOf(2300, 12, 31); n += 37) {
        UI_DATE(n).Export(&year, &month, &day, nullptr);
        ASSERT_EQ(DayOf(year, month, day), n) << year << "-" << month << "-" << day;
    }
}

TEST(UI_DATE, ImportOfPartsRefusesWhatIsNotADate)
{
    struct Row {
        int32_t start;   // the value before
        int32_t year, month, day;
        int32_t result;
    };
    const int32_t jan2000 = UI_DAY_OF_1_JANUARY_2000;
    const Row rows[] = {
        {UI_NO_DATE, 1900, 2, 29, 1},
        {UI_NO_DATE, 2000, 2, 29, 0},
        {UI_NO_DATE, 2004, 2, 29, 0},
        {UI_NO_DATE, 2001, 4, 31, 1},
        {UI_NO_DATE, 2001, 13, 1, 1},
        {UI_NO_DATE, 2001, -1, 1, 1},
        {UI_NO_DATE, -5, 1, 1, 0},      // below 1000: 1900 added, 1895
        {UI_NO_DATE, -1901, 1, 1, 1},   // still negative after that
        {UI_NO_DATE, INT32_MIN, 1, 1, 1},
        // With no date to fill them from, zero parts stay zero and are
        // refused: month 0 used to read the days table before its start, and
        // day 0 of January used to give 31 December of the year before.
        {UI_NO_DATE, 2000, 0, 5, 1},
        {UI_NO_DATE, 2000, 1, 0, 1},
        {jan2000, 2000, 0, 5, 0},   // month from the current value
        {jan2000, 0, 3, 0, 0},      // year and day from it
        // A day number beyond 32 bits: the formula used to overflow.
        {UI_NO_DATE, 1400000, 1, 1, 0},
        {UI_NO_DATE, 6000000, 1, 1, 1},
        {UI_NO_DATE, 2147483647, 12, 31, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.year << "-" << r.month << "-" << r.day);
        UI_DATE date(r.start);
        EXPECT_EQ(date.Import(r.year, r.month, r.day), r.result);
        if (r.result != 0)
            EXPECT_EQ(date.value, r.start);
        else
            EXPECT_GT(date.value, 0);
    }
    UI_DATE date(UI_DAY_OF_1_JANUARY_2000);
    ASSERT_EQ(date.Import(0, 3, 0), 0);
    EXPECT_EQ(date.value, DayOf(2000, 3, 1));
    ASSERT_EQ(date.Import(99, 7, 4), 0);   // a year below 1000 gains 1900
    EXPECT_EQ(date.value, DayOf(1999, 7, 4));
    ASSERT_EQ(date.Import(-5, 7, 4), 0);
    EXPECT_EQ(date.value, DayOf(1895, 7, 4));
}

TEST(UI_DATE, ImportOfTextInEachOrder)
{
    struct Row {
        const char* text;
        uint16_t flags;
        int32_t result;
        int32_t year, month, day;   // 0: unchanged (the start is 2000-01-01)
    };
    const Row rows[] = {
        {"2/29/1900", UI_DATE_MDY, 1, 0, 0, 0},
        {"2/29/2000", UI_DATE_MDY, 0, 2000, 2, 29},
        {"5/3/2001", UI_DATE_DMY, 0, 2001, 3, 5},
        {"2001-03-05", UI_DATE_YMD, 0, 2001, 3, 5},
        {"March 5 99", UI_DATE_DMY, 0, 1999, 3, 5},
        {"5 mar 99", UI_DATE_MDY, 0, 1999, 3, 5},
        {"Sept. 30, 2010", 0, 0, 2010, 9, 30},
        {"Friday, 30 september 2010", UI_DATE_DMY, 0, 2010, 9, 30},   // unknown words skipped
        {"12/5", UI_DATE_MDY, 1, 0, 0, 0},
        {"0/5/2000", UI_DATE_MDY, 0, 2000, 1, 5},    // month 0 taken from the date
        {"99999999999999/1/1", UI_DATE_MDY, 1, 0, 0, 0},   // the run saturates: no such month
        {"1/1/99999999999999", UI_DATE_MDY, 1, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        UI_DATE date(UI_DAY_OF_1_JANUARY_2000);
        EXPECT_EQ(date.Import(r.text, r.flags), r.result);
        if (r.result != 0) {
            EXPECT_EQ(date.value, UI_DAY_OF_1_JANUARY_2000);
            continue;
        }
        int32_t year;
        int32_t month;
        int32_t day;
        date.Export(&year, &month, &day, nullptr);
        EXPECT_EQ(year, r.year);
        EXPECT_EQ(month, r.month);
        EXPECT_EQ(day, r.day);
    }
    UI_DATE date(UI_DAY_OF_1_JANUARY_2000);
    EXPECT_EQ(date.Import("", UI_DATE_EMPTY_KEEPS), 0);
    EXPECT_EQ(date.value, UI_DAY_OF_1_JANUARY_2000);
    EXPECT_EQ(date.Import("", 0), 0);
    EXPECT_EQ(date.value, UI_NO_DATE);
}

TEST(UI_DATE, ExportWritesEachLayout)
{
    struct Row {
        uint16_t flags;
        const char* text;
    };
    const Row rows[] = {
        {UI_DATE_MILITARY, "1 January 2000"},
        {UI_DATE_MILITARY | UI_DATE_SHORT_MONTH, "1 Jan 00"},
        {UI_DATE_MDY | UI_DATE_MONTH_NAME, "January 1, 2000"},
        {UI_DATE_YMD | UI_DATE_DASH | UI_DATE_ZERO_FILL, "2000-01-01"},
        {0, "1/1/2000"},
        {UI_DATE_DMY | UI_DATE_DASH | UI_DATE_SHORT_YEAR, "1-1-00"},
        {UI_DATE_MDY | UI_DATE_SHORT_MONTH | UI_DATE_WEEKDAY, "Saturday Jan. 1, 2000"},
        {UI_DATE_MDY | UI_DATE_MONTH_NAME | UI_DATE_SHORT_WEEKDAY | UI_DATE_UPPER_CASE, "SAT. JANUARY 1, 2000"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        char buffer[64];
        UI_DATE(UI_DAY_OF_1_JANUARY_2000).Export(buffer, sizeof buffer, r.flags);
        EXPECT_STREQ(buffer, r.text);
    }
    char buffer[8] = "x";
    UI_DATE().Export(buffer, sizeof buffer, 0);
    EXPECT_STREQ(buffer, "");
}

TEST(UI_DATE_FIELD, RangesAndTheLeavingStep)
{
    UI_DATE start;
    start.Import(1995, 6, 15);
    UI_DATE_FIELD field(0, 0, 12, &start, "1-1-1990..12-31-1999", UI_DATE_MDY, 0, nullptr);
    EXPECT_STREQ(field.GetText(), "6/15/1995");
    EXPECT_EQ(field.classChain[0], UI_ID_DATE_FIELD);
    // '/' parts the items of a range list, so its dates are written with
    // another separator.
    field.SetText("3/4/1998");
    EXPECT_EQ(field.Validate(1), 0);
    field.SetText("3/4/2005");
    EXPECT_EQ(field.Validate(1), 5);
    EXPECT_STREQ(field.GetText(), "6/15/1995");   // the bound date again
    field.SetText("2/30/1998");
    EXPECT_EQ(field.Validate(1), 1);

    field.SetText("2/29/1996");
    EXPECT_EQ(SendMessage(&field, UI_CODE_DEACTIVATE), 0);
    int32_t year;
    int32_t month;
    int32_t day;
    field.date->Export(&year, &month, &day, nullptr);
    EXPECT_EQ(year * 10000 + month * 100 + day, 19960229);
    field.SetText("2/29/1997");
    EXPECT_EQ(SendMessage(&field, UI_CODE_SELECT), -1);
    EXPECT_STREQ(field.GetText(), "2/29/1996");
    // A typed month 0 is refused: the scratch date has none to fill it from.
    field.SetText("0/5/1996");
    EXPECT_EQ(SendMessage(&field, UI_CODE_DEACTIVATE), -1);
    EXPECT_STREQ(field.GetText(), "2/29/1996");
}

TEST(UI_DATE_FIELD, CallersDateAndNoDate)
{
    UI_DATE_FIELD empty(0, 0, 12, nullptr, nullptr, UI_DATE_MDY, 0, nullptr);
    EXPECT_EQ(empty.date->value, UI_NO_DATE);
    EXPECT_STREQ(empty.GetText(), "");

    UI_DATE callers(UI_DAY_OF_1_JANUARY_2000);
    UI_DATE_FIELD field(0, 0, 12, &callers, nullptr, UI_DATE_YMD | UI_DATE_DASH, UI_FLAG_TEXT_NOT_COPIED, nullptr);
    EXPECT_EQ(field.date, &callers);
    EXPECT_STREQ(field.GetText(), "2000-1-1");
    field.SetText("2001-2-3");
    SendMessage(&field, UI_CODE_DEACTIVATE);
    EXPECT_EQ(callers.value, UI_DAY_OF_1_JANUARY_2000 + 366 + 31 + 2);
    uint16_t bits = UI_DATE_ZERO_FILL;
    field.Query(UI_QUERY_SET_FLAGS, &bits, 0);
    SendMessage(&field, UI_CODE_LAYOUT);
    EXPECT_STREQ(field.GetText(), "2001-02-03");
}

} // namespace
