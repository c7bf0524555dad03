// Tests of the time of day value and its field: texts read under the time
// flags (12-hour words, fields beyond their largest value, two-digit fields
// without separators), texts written, the current time, and the field's
// range list, empty text and leaving step.
#include <gtest/gtest.h>

#include <string>

#include "support/WidgetWorld.h"
#include "widgets/UI_TIME.h"
#include "widgets/UI_TIME_FIELD.h"
#include "widgets/WindowMessages.h"

namespace {

constexpr int32_t HOUR = 360000;
constexpr int32_t MINUTE = 6000;

TEST(UI_TIME, ImportReadsTheFieldsInOrder)
{
    struct Row {
        const char* text;
        uint16_t flags;
        int32_t result;
        int32_t value;   // with the value before 777
    };
    const Row rows[] = {
        {"12:30 a.m.", 0, 0, 30 * MINUTE},
        {"12:30 p.m.", 0, 0, 12 * HOUR + 30 * MINUTE},
        {"1:15pm", 0, 0, 13 * HOUR + 15 * MINUTE},
        {"1:15 AM", 0, 0, HOUR + 15 * MINUTE},
        {"13:15 pm", 0, 0, 13 * HOUR + 15 * MINUTE},   // past 11: no 12 added
        {"24:00", 0, 1, 777},                          // 24 exceeds 23 at the second digit
        {"930", 0, 1, 777},
        {"0930", UI_TIME_NO_SEPARATOR, 0, 9 * HOUR + 30 * MINUTE},
        {"1230", UI_TIME_NO_SEPARATOR, 0, 12 * HOUR + 30 * MINUTE},
        {"12:60", 0, 1, 777},
        {"8:05:09.25", UI_TIME_SECONDS | UI_TIME_HUNDREDTHS, 0, 8 * HOUR + 5 * MINUTE + 925},
        {"8", 0, 0, 8 * HOUR},
        {"99999999999999999999", 0, 1, 777},            // refused at the second digit
        {"", 0, 0, UI_NO_TIME},
        {nullptr, 0, 0, UI_NO_TIME},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text != nullptr ? r.text : "(null)");
        UI_TIME time(777);
        EXPECT_EQ(time.Import(r.text, r.flags), r.result);
        EXPECT_EQ(time.value, r.value);
    }
}

TEST(UI_TIME, ImportOfPartsChecksEveryPart)
{
    UI_TIME time(5);
    EXPECT_EQ(time.Import(23, 59, 59, 99), 0);
    EXPECT_EQ(time.value, 8639999);
    EXPECT_EQ(time.Import(24, 0, 0, 0), 1);
    EXPECT_EQ(time.Import(0, -1, 0, 0), 1);
    EXPECT_EQ(time.Import(0, 0, 0, 100), 1);
    EXPECT_EQ(time.value, 8639999);
}

TEST(UI_TIME, ExportWritesTheFlagsLayout)
{
    struct Row {
        int32_t value;
        uint16_t flags;
        const char* text;
    };
    const Row rows[] = {
        {UI_NO_TIME, 0, ""},
        {0, 0, "12:00 a.m."},
        {0, UI_TIME_12_HOUR, "12:00 a.m."},
        {12 * HOUR, UI_TIME_12_HOUR, "12:00 p.m."},
        {14 * HOUR + 5 * MINUTE, UI_TIME_12_HOUR, "2:05 p.m."},
        {14 * HOUR + 5 * MINUTE, UI_TIME_24_HOUR | UI_TIME_ZERO_FILL, "14:05"},
        {14 * HOUR + 5 * MINUTE, UI_TIME_SECONDS | UI_TIME_24_HOUR, "14:05:00"},
        {9 * HOUR + 30 * MINUTE, UI_TIME_24_HOUR | UI_TIME_ZERO_FILL, "09:30"},
        {9 * HOUR + 30 * MINUTE, UI_TIME_24_HOUR | UI_TIME_NO_SEPARATOR, "0930"},
        {9 * HOUR + 30 * MINUTE + 4512, UI_TIME_24_HOUR | UI_TIME_SECONDS | UI_TIME_HUNDREDTHS, "9:30:45.12"},
        {14 * HOUR, UI_TIME_12_HOUR | UI_TIME_UPPER_CASE, "2:00 P.M."},
        {14 * HOUR + 7 * MINUTE, UI_TIME_NO_HOURS, "7"},   // no hours: no a.m./p.m. either
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        char buffer[32];
        UI_TIME(r.value).Export(buffer, sizeof buffer, r.flags);
        EXPECT_STREQ(buffer, r.text);
    }
    char small[4];
    UI_TIME(14 * HOUR).Export(small, sizeof small, UI_TIME_24_HOUR);
    EXPECT_STREQ(small, "14:");   // cut to the buffer
}

TEST(UI_TIME, SetCurrentReadsTheClock)
{
    ScriptedTimeOfDay clock;
    clock.Set(15 * HOUR + 42 * MINUTE + 1234);
    UI_TIME time;
    time.SetCurrent();
    EXPECT_EQ(time.value, 15 * HOUR + 42 * MINUTE + 1234);
}

TEST(UI_TIME_FIELD, RangeListAcceptsTheSecondItemAndCodesTheGap)
{
    UI_TIME start(10 * HOUR);
    UI_TIME_FIELD field(0, 0, 10, &start, "08:00..12:00/13:00..17:00", UI_TIME_24_HOUR, 0, nullptr);
    EXPECT_STREQ(field.GetText(), "10:00");
    EXPECT_EQ(field.classChain[0], UI_ID_TIME_FIELD);
    field.SetText("14:00");
    EXPECT_EQ(field.Validate(1), 0);
    field.SetText("12:30");
    EXPECT_EQ(field.Validate(1), 2);
    EXPECT_STREQ(field.GetText(), "12:30");   // its own value in the field's format
    field.SetText("25:00");
    EXPECT_EQ(field.Validate(1), 1);

    // Leaving with a refused time brings the previous one back.
    field.SetText("12:30");
    EXPECT_EQ(SendMessage(&field, UI_CODE_DEACTIVATE), -1);
    EXPECT_EQ(field.time->value, 10 * HOUR);
    EXPECT_STREQ(field.GetText(), "10:00");
    field.SetText("3:15 pm");
    EXPECT_EQ(SendMessage(&field, UI_CODE_SELECT), 0);
    EXPECT_EQ(field.time->value, 15 * HOUR + 15 * MINUTE);
    EXPECT_STREQ(field.GetText(), "15:15");
}

TEST(UI_TIME_FIELD, EmptyTextGivesNowOrNoTime)
{
    ScriptedTimeOfDay clock;
    clock.Set(7 * HOUR + 45 * MINUTE);
    UI_TIME start(9 * HOUR);
    UI_TIME_FIELD now(0, 0, 10, &start, nullptr, UI_TIME_24_HOUR | UI_TIME_EMPTY_IS_NOW, 0, nullptr);
    now.SetText("");
    SendMessage(&now, UI_CODE_DEACTIVATE);
    EXPECT_EQ(now.time->value, 7 * HOUR + 45 * MINUTE);
    EXPECT_STREQ(now.GetText(), "7:45");

    UI_TIME_FIELD none(0, 0, 10, &start, nullptr, UI_TIME_24_HOUR, 0, nullptr);
    none.SetText("");
    SendMessage(&none, UI_CODE_DEACTIVATE);
    EXPECT_EQ(none.time->value, UI_NO_TIME);
    EXPECT_STREQ(none.GetText(), "");

    UI_TIME_FIELD current(0, 0, 10, nullptr, nullptr, UI_TIME_24_HOUR, 0, nullptr);
    EXPECT_EQ(current.time->value, 7 * HOUR + 45 * MINUTE);
}

TEST(UI_TIME_FIELD, CallersTimeIsUsedInPlace)
{
    UI_TIME callers(6 * HOUR);
    {
        UI_TIME_FIELD field(0, 0, 10, &callers, nullptr, UI_TIME_24_HOUR, UI_FLAG_TEXT_NOT_COPIED, nullptr);
        EXPECT_EQ(field.time, &callers);
        EXPECT_STREQ(field.GetText(), "6:00");
        field.SetText("6:30");
        SendMessage(&field, UI_CODE_DEACTIVATE);
        EXPECT_EQ(callers.value, 6 * HOUR + 30 * MINUTE);
        uint16_t bits = UI_TIME_SECONDS;
        field.Query(UI_QUERY_SET_FLAGS, &bits, 0);
        EXPECT_EQ(field.timeFlags, UI_TIME_24_HOUR | UI_TIME_SECONDS);
    }
    EXPECT_EQ(callers.value, 6 * HOUR + 30 * MINUTE);
}

} // namespace
