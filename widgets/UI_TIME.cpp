// UI_TIME.cpp: reading and writing times of day as text, and the current
// time from the framework's clock.
#include "widgets/UI_TIME.h"

#include <cctype>
#include <cstdio>
#include <string>

#include "core/TextUtil.h"
#include "widgets/CountryTable.h"
#include "widgets/TimeOfDay.h"

const char* UI_TIME::amText = "a.m.";
const char* UI_TIME::pmText = "p.m.";

namespace {

constexpr int32_t FIELD_COUNT = 4;   // hours, minutes, seconds, hundredths
constexpr int32_t LARGEST[FIELD_COUNT] = {23, 59, 59, 99};
constexpr uint16_t INCLUDED[FIELD_COUNT] = {0, 0, UI_TIME_SECONDS, UI_TIME_HUNDREDTHS};
constexpr uint16_t LEFT_OUT[FIELD_COUNT] = {UI_TIME_NO_HOURS, UI_TIME_NO_MINUTES, 0, 0};

bool Included(int32_t field, uint16_t flags)
{
    if (field < 2)
        return !(flags & LEFT_OUT[field]);
    return flags & INCLUDED[field];
}

bool TwelveHour(uint16_t flags)
{
    return (flags & UI_TIME_12_HOUR) || !(flags & UI_TIME_24_HOUR);
}

int32_t FoldedFirstLetter(const char* text)
{
    return text != nullptr && text[0] != '\0' ? std::tolower(static_cast<unsigned char>(text[0])) : -1;
}

} // namespace

void UI_TIME::SetCurrent()
{
    const int32_t now = TimeOfDayHundredths();
    if (now >= 0 && now < UI_HUNDREDTHS_PER_DAY)
        value = now;
}

int32_t UI_TIME::Import(int32_t hours, int32_t minutes, int32_t seconds, int32_t hundredths)
{
    const int32_t parts[FIELD_COUNT] = {hours, minutes, seconds, hundredths};
    for (int32_t n = 0; n < FIELD_COUNT; ++n)
        if (parts[n] < 0 || parts[n] > LARGEST[n])
            return 1;
    value = ((hours * 60 + minutes) * 60 + seconds) * 100 + hundredths;
    return 0;
}

int32_t UI_TIME::Import(const char* text, uint16_t flags)
{
    if (text == nullptr || text[0] == '\0') {
        if (flags & UI_TIME_EMPTY_IS_NOW)
            SetCurrent();
        else
            value = UI_NO_TIME;
        return 0;
    }
    int32_t parts[FIELD_COUNT] = {0, 0, 0, 0};
    const char* at = text;
    for (int32_t field = 0; field < FIELD_COUNT && *at != '\0'; ++field) {
        if (!Included(field, flags))
            continue;
        while (*at != '\0' && !std::isdigit(static_cast<unsigned char>(*at)))
            ++at;
        for (int32_t digits = 0; std::isdigit(static_cast<unsigned char>(*at)); ++digits, ++at) {
            if ((flags & UI_TIME_NO_SEPARATOR) && digits == 2)
                break;
            parts[field] = parts[field] * 10 + (*at - '0');
            if (parts[field] > LARGEST[field])
                return 1;   // stops before the number can grow further
        }
    }
    const char* letter = text;
    while (*letter != '\0' && !std::isalpha(static_cast<unsigned char>(*letter)))
        ++letter;
    const int32_t first = FoldedFirstLetter(letter);
    if (first >= 0 && first == FoldedFirstLetter(pmText) && parts[0] <= 11)
        parts[0] += 12;
    else if (first >= 0 && first == FoldedFirstLetter(amText) && parts[0] == 12)
        parts[0] = 0;
    value = ((parts[0] * 60 + parts[1]) * 60 + parts[2]) * 100 + parts[3];
    return 0;
}

void UI_TIME::Export(char* buffer, int32_t size, uint16_t flags) const
{
    if (buffer == nullptr || size <= 0)
        return;
    std::string out;
    if (value >= 0) {
        LoadCountryTable();
        const UI_COUNTRY_TABLE& country = FrameworkCountryTable();
        const char* separator = (flags & UI_TIME_COLON)          ? ":"
                                : (flags & UI_TIME_NO_SEPARATOR) ? ""
                                                                 : country.timeSeparator;
        const char* decimal = (flags & UI_TIME_NO_SEPARATOR) ? "" : country.decimalPoint;
        const bool twelve = TwelveHour(flags);
        const int32_t hours = value / 360000;
        int32_t parts[FIELD_COUNT] = {hours, value / 6000 % 60, value / 100 % 60, value % 100};
        if (twelve)
            parts[0] = hours % 12 == 0 ? 12 : hours % 12;
        char number[16];
        for (int32_t field = 0; field < FIELD_COUNT; ++field) {
            if (!Included(field, flags))
                continue;
            if (!out.empty())
                out += field == 3 ? decimal : separator;
            const bool zeroFill = !out.empty() || (flags & (UI_TIME_ZERO_FILL | UI_TIME_NO_SEPARATOR));
            std::snprintf(number, sizeof number, zeroFill ? "%02d" : "%d", parts[field]);
            out += number;
        }
        if (twelve && Included(0, flags)) {
            out += ' ';
            out += hours < 12 ? amText : pmText;
        }
    }
    std::string::size_type n = out.copy(buffer, static_cast<size_t>(size) - 1);
    buffer[n] = '\0';
    if (flags & UI_TIME_UPPER_CASE)
        StringToUpper(buffer);
    else if (flags & UI_TIME_LOWER_CASE)
        StringToLower(buffer);
}
