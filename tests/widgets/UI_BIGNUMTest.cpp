// Tests of the decimal numbers and their field: texts read (signs,
// parentheses, separators, too many digits), compared and converted, texts
// written with decimals, grouping, currency and signs, and the field's
// formatting, ranges and reports through an error system.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "widgets/CountryTable.h"
#include "widgets/FrameworkHooks.h"
#include "widgets/UI_BIGNUM.h"
#include "widgets/UI_BIGNUM_FIELD.h"
#include "widgets/WindowMessages.h"

namespace {

UI_BIGNUM Number(const char* text)
{
    UI_BIGNUM n;
    EXPECT_FALSE(n.Import(text)) << text;
    return n;
}

std::string Written(const UI_BIGNUM& n, uint16_t flags)
{
    char buffer[128];
    n.Export(buffer, flags, sizeof buffer);
    return buffer;
}

TEST(UI_BIGNUM, ImportPlacesTheDigits)
{
    struct Row {
        const char* text;
        int32_t sign;
        uint32_t words[5];
    };
    const Row rows[] = {
        {"-0.00", 0, {0, 0, 0, 0, 0}},
        {"(12.5)", 1, {0, 0, 0, 12, 50000000}},
        {"1,234.5", 0, {0, 0, 0, 1234, 50000000}},
        {"$-7", 1, {0, 0, 0, 7, 0}},
        {"0.123456789", 0, {0, 0, 0, 0, 12345678}},   // beyond eight decimals cut off
        {"123456789", 0, {0, 0, 1, 23456789, 0}},
        {"123456789012345678901234567890", 0, {123456, 78901234, 56789012, 34567890, 0}},
        {"", 0, {0, 0, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        const UI_BIGNUM n = Number(r.text);
        EXPECT_EQ(n.sign, r.sign);
        for (int32_t w = 0; w < 5; ++w)
            EXPECT_EQ(n.digits[w], r.words[w]) << "word " << w;
    }
    UI_BIGNUM n;
    EXPECT_TRUE(n.Import("-1234567890123456789012345678901"));   // 31 integer digits
    EXPECT_EQ(n.Compare(UI_BIGNUM(), 1, -1, 0), 0);
    EXPECT_EQ(n.sign, 0);
    EXPECT_FALSE(n.Import("12,5", ",", "~"));
    EXPECT_EQ(n.digits[3], 12u);
    EXPECT_EQ(n.digits[4], 50000000u);
}

TEST(UI_BIGNUM, CompareAndIntegers)
{
    EXPECT_EQ(Number("2").Compare(Number("1"), 1, -1, 0), 1);
    EXPECT_EQ(Number("-2").Compare(Number("-1"), 1, -1, 0), -1);
    EXPECT_EQ(Number("-2").Compare(Number("1"), 1, -1, 0), -1);
    EXPECT_EQ(Number("1.5").Compare(Number("1.50"), 1, -1, 0), 0);
    EXPECT_EQ(Number("0.00000001").Compare(Number("0"), 1, -1, 0), 1);

    for (int32_t value : {0, 1, -1, 99999999, 100000000, -123456789, INT32_MAX, INT32_MIN}) {
        UI_BIGNUM n;
        n.FromInteger(value);
        EXPECT_EQ(n.ToInteger(), value);
    }
    EXPECT_EQ(Number("12.99").ToInteger(), 12);
    EXPECT_EQ(Number("99999999999").ToInteger(), INT32_MAX);
    EXPECT_EQ(Number("-99999999999").ToInteger(), INT32_MIN);
    UI_BIGNUM copy;
    copy.Copy(Number("-3.25"));
    EXPECT_EQ(Written(copy, 0x0300), "-3.25");
    copy.Clear();
    EXPECT_EQ(Written(copy, 0x0100), "0");
}

TEST(UI_BIGNUM, ExportFormatsByTheFlags)
{
    struct Row {
        const char* number;
        uint16_t flags;
        const char* text;
    };
    const Row rows[] = {
        {"1234567.891", 0x0308, "1,234,567.89"},   // the third decimal dropped, not rounded
        {"-5", UI_BIGNUM_CURRENCY | UI_BIGNUM_PARENTHESES, "($5.00)"},
        {"-5", UI_BIGNUM_CURRENCY, "-$5.00"},
        {"0", 0x0100, "0"},
        {"0", 0, "0.00000000"},
        {"12.5", 0x0B00, "12.5000000000"},   // ten decimals: zeros after the eighth
        {"999", 0x0108, "999"},
        {"1000", 0x0108, "1,000"},
        {"-1234", 0x0108, "-1,234"},
        {"45", 0x0110, "45%"},
        {"1234.5", 0x0308 | UI_BIGNUM_CURRENCY, "$1,234.50"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(Written(Number(r.number), r.flags), r.text);
    }
    char small[5];
    Number("123456").Export(small, 0x0100, sizeof small);
    EXPECT_STREQ(small, "1234");   // cut to the buffer
}

TEST(UI_BIGNUM, CountryGroupingAndSignPlacement)
{
    UI_COUNTRY_TABLE& country = FrameworkCountryTable();
    const UI_COUNTRY_TABLE saved = country;
    std::strcpy(country.grouping, "\3\2");   // 12,34,56,789
    EXPECT_EQ(Written(Number("123456789"), 0x0108), "12,34,56,789");
    country.negativeSignPosition = 2;
    EXPECT_EQ(Written(Number("-7"), 0x0100), "7-");
    country.currencyBeforeNegative = 0;
    country.spaceSeparatedNegative = 1;
    country.negativeSignPosition = 4;
    EXPECT_EQ(Written(Number("-7"), UI_BIGNUM_CURRENCY), "7.00- $");
    country = saved;
}

TEST(UI_BIGNUMDeathTest, SignPositionOutsideTheTableEndsTheProgram)
{
    UI_COUNTRY_TABLE& country = FrameworkCountryTable();
    const UI_COUNTRY_TABLE saved = country;
    country.negativeSignPosition = 9;
    EXPECT_DEATH(Written(Number("-1"), 0), "UI_BIGNUM::Export");
    country = saved;
}

// An error system that answers as told and writes down each report.
class ScriptedErrors : public UI_ERROR_SYSTEM {
public:
    ScriptedErrors() { errorSystem = this; }
    ~ScriptedErrors() override { errorSystem = nullptr; }

    int32_t ReportError(UI_WIDGET*, int32_t options, const char* format, const char* first,
                        const char* second) override
    {
        reports.push_back({options, format, first, second});
        return answer;
    }

    struct Report {
        int32_t options;
        std::string format, first, second;
    };
    std::vector<Report> reports;
    int32_t answer = 0;
};

TEST(UI_BIGNUM_FIELD, ShowsTheValueFormattedAndReadsItBack)
{
    UI_BIGNUM_FIELD field(0, 0, 12, nullptr, nullptr, 0x0308, 0, nullptr);
    EXPECT_STREQ(field.GetText(), "0.00");
    EXPECT_EQ(field.classChain[0], UI_ID_BIGNUM_FIELD);
    EXPECT_EQ(field.classChain[1], UI_ID_NUMBER_FIELD);
    field.SetText("1234.5");
    EXPECT_EQ(SendMessage(&field, UI_CODE_DEACTIVATE), 0);
    EXPECT_STREQ(field.GetText(), "1,234.50");
    EXPECT_EQ(field.value->digits[3], 1234u);
    field.SetText("77");
    EXPECT_EQ(field.GetValue()->digits[3], 77u);
}

TEST(UI_BIGNUM_FIELD, WithoutAnErrorSystemARefusalAnswersItsCode)
{
    UI_BIGNUM start = Number("5");
    UI_BIGNUM_FIELD field(0, 0, 12, &start, "1..10", 0x0100, 0, nullptr);
    field.SetText("11");
    EXPECT_EQ(field.Validate(1), 1);
    EXPECT_EQ(SendMessage(&field, UI_CODE_DEACTIVATE), -1);
    EXPECT_STREQ(field.GetText(), "5");
    // Too many digits stay refused although the range holds the zero the
    // failed reading leaves (it used to be accepted as 0).
    UI_BIGNUM_FIELD zeroAllowed(0, 0, 12, &start, "0..10", 0x0100, 0, nullptr);
    zeroAllowed.SetText(std::string(31, '9').c_str());
    EXPECT_EQ(zeroAllowed.Validate(1), 1);
    zeroAllowed.SetText(std::string(31, '9').c_str());
    EXPECT_EQ(SendMessage(&zeroAllowed, UI_CODE_SELECT), -1);
    EXPECT_STREQ(zeroAllowed.GetText(), "5");
}

TEST(UI_BIGNUM_FIELD, ReportsBothMessagesThroughTheErrorSystem)
{
    ScriptedErrors errors;
    UI_BIGNUM start = Number("5");
    UI_BIGNUM_FIELD ranged(0, 0, 12, &start, "1..10", 0x0100, 0, nullptr);
    ranged.SetText("11");
    EXPECT_EQ(SendMessage(&ranged, UI_CODE_DEACTIVATE), -1);
    ASSERT_EQ(errors.reports.size(), 1u);
    EXPECT_EQ(errors.reports[0].options, UI_ERROR_LET_STAND);
    EXPECT_EQ(errors.reports[0].format, "The number %s must be in the range %s.");
    EXPECT_EQ(errors.reports[0].first, "11");
    EXPECT_EQ(errors.reports[0].second, "1..10");
    EXPECT_STREQ(ranged.GetText(), "5");
    EXPECT_FALSE(ranged.status & UI_STATUS_IN_CALLBACK);

    UI_BIGNUM_FIELD open(0, 0, 12, &start, nullptr, 0x0100, 0, nullptr);
    const std::string tooLong(31, '1');
    open.SetText(tooLong.c_str());
    EXPECT_EQ(SendMessage(&open, UI_CODE_DEACTIVATE), -1);
    ASSERT_EQ(errors.reports.size(), 2u);
    EXPECT_EQ(errors.reports[1].format, "The number %s is invalid.");
    EXPECT_EQ(errors.reports[1].first, tooLong);

    // Let stand: the out-of-range number is kept and marked invalid.
    errors.answer = UI_ERROR_LET_STAND;
    ranged.SetText("11");
    EXPECT_EQ(SendMessage(&ranged, UI_CODE_DEACTIVATE), 0);
    EXPECT_EQ(ranged.value->digits[3], 11u);
    EXPECT_TRUE(ranged.status & UI_STATUS_INVALID);
    EXPECT_EQ(ranged.Validate(0), 1);   // processError 0: no report
    EXPECT_EQ(errors.reports.size(), 3u);
}

TEST(UI_BIGNUM_FIELD, CallersValueIsUsedInPlace)
{
    UI_BIGNUM callers = Number("2.5");
    UI_BIGNUM_FIELD field(0, 0, 12, &callers, nullptr, 0x0200, UI_FLAG_TEXT_NOT_COPIED, nullptr);
    EXPECT_EQ(field.value, &callers);
    EXPECT_STREQ(field.GetText(), "2.5");
    field.SetText("-4.25");
    SendMessage(&field, UI_CODE_SELECT);
    EXPECT_EQ(callers.sign, 1);
    EXPECT_STREQ(field.GetText(), "-4.2");
}

} // namespace
