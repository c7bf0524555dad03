// Tests of the integer field: the range list, the text read back when the
// field is left or confirmed, the caller's integer, GetValue without the
// range test, and numbers beyond 32 bits.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "widgets/UI_INTEGER_FIELD.h"
#include "widgets/WindowMessages.h"

namespace {

// The field left after text was typed into it: the answer of its step.
int32_t Leave(UI_INTEGER_FIELD& field, const char* typed, int32_t how = UI_CODE_DEACTIVATE)
{
    field.SetText(typed);
    return SendMessage(&field, how);
}

TEST(UI_INTEGER_FIELD, RangesAcceptOrBringThePreviousValueBack)
{
    struct Row {
        const char* range;
        int32_t start;
        const char* typed;
        int32_t answer;
        int32_t value;
        const char* shown;
    };
    const Row rows[] = {
        {"5", 5, "5", 0, 5, "5"},
        {"5", 5, "6", -1, 5, "5"},
        {"1..10/20..30", 25, "15", -1, 25, "25"},
        {"1..10/20..30", 25, "20", 0, 20, "20"},
        {"1..10/20..30", 25, "10", 0, 10, "10"},
        {"-5..-1", -3, "-5", 0, -5, "-5"},
        {nullptr, 1, " 007", 0, 7, "7"},
        {nullptr, 1, "12abc", 0, 12, "12"},       // the leading number
        {nullptr, 1, "abc", 0, 0, "0"},           // none: 0
        {"0..100", 9, "4294967346", -1, 9, "9"},  // wrapped to 50 and was accepted
        {nullptr, 9, "4294967346", -1, 9, "9"},   // beyond 32 bits, with or without ranges
        {nullptr, 9, "2147483647", 0, INT32_MAX, "2147483647"},
        {nullptr, 9, "2147483648", -1, 9, "9"},
        {nullptr, 9, "-2147483648", 0, INT32_MIN, "-2147483648"},
        {nullptr, 9, "-2147483649", -1, 9, "9"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.range != nullptr ? r.range : "(none)") << " typed " << r.typed);
        int32_t start = r.start;
        UI_INTEGER_FIELD field(0, 0, 10, &start, r.range, 0, 0, nullptr);
        EXPECT_STREQ(field.GetText(), std::to_string(r.start).c_str());
        EXPECT_EQ(Leave(field, r.typed), r.answer);
        EXPECT_EQ(*field.value, r.value);
        EXPECT_STREQ(field.GetText(), r.shown);
        EXPECT_EQ(start, r.start);   // the caller's integer is only copied
    }
}

TEST(UI_INTEGER_FIELD, ConfirmingReadsTheTextToo)
{
    int32_t start = 3;
    UI_INTEGER_FIELD field(0, 0, 10, &start, "1..9", 0, 0, nullptr);
    EXPECT_EQ(Leave(field, "8", UI_CODE_SELECT), 0);
    EXPECT_EQ(*field.value, 8);
    EXPECT_EQ(Leave(field, "80", UI_CODE_SELECT), -1);
    EXPECT_EQ(*field.value, 8);
    EXPECT_STREQ(field.GetText(), "8");
}

TEST(UI_INTEGER_FIELD, CallersIntegerChangesWhenLeftWithAnAcceptedValue)
{
    int32_t callers = 4;
    UI_INTEGER_FIELD field(0, 0, 10, &callers, "1..10", 0, UI_FLAG_TEXT_NOT_COPIED, nullptr);
    EXPECT_EQ(field.value, &callers);
    EXPECT_STREQ(field.GetText(), "4");
    field.SetText("7");
    EXPECT_EQ(callers, 4);   // typing alone leaves it
    SendMessage(&field, UI_CODE_DEACTIVATE);
    EXPECT_EQ(callers, 7);
    EXPECT_EQ(Leave(field, "70"), -1);
    EXPECT_EQ(callers, 7);
    callers = 2;
    field.SetValue(&callers);
    EXPECT_STREQ(field.GetText(), "2");
}

TEST(UI_INTEGER_FIELD, GetValueSkipsTheRangeTestAndSaturates)
{
    int32_t start = 1;
    UI_INTEGER_FIELD field(0, 0, 10, &start, "1..10", 0, 0, nullptr);
    field.SetText("50");
    EXPECT_EQ(field.GetValue(), 50);
    EXPECT_EQ(*field.value, 50);
    field.SetText("99999999999999");
    EXPECT_EQ(field.GetValue(), INT32_MAX);
    field.SetText("-99999999999999");
    EXPECT_EQ(field.GetValue(), INT32_MIN);
}

TEST(UI_INTEGER_FIELD, HoldsAtMost63Characters)
{
    UI_INTEGER_FIELD field(0, 0, 10, nullptr, nullptr, 0, 0, nullptr);
    EXPECT_EQ(*field.value, 0);
    EXPECT_EQ(field.maxLength, 64);
    field.SetText(std::string(100, '1').c_str());
    EXPECT_EQ(field.length, 63);
    EXPECT_EQ(field.classChain[0], UI_ID_INTEGER_FIELD);
    EXPECT_EQ(field.classChain[1], UI_ID_NUMBER_FIELD);
    EXPECT_EQ(field.classChain[2], UI_ID_STRING_FIELD);
}

} // namespace
