// UI_DATE.cpp: day numbers from and to calendar dates, and dates read from
// and written as text.
#include "widgets/UI_DATE.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/TextUtil.h"
#include "widgets/CountryTable.h"

namespace {

// Short and full names, short first, in calendar order.
const char* const MONTH_NAMES[24] = {
    "Jan.", "January", "Feb.", "February", "Mar.", "March",     "Apr.", "April",   "May",  "May",      "June", "June",
    "July", "July",    "Aug.", "August",   "Sept.", "September", "Oct.", "October", "Nov.", "November", "Dec.", "December",
};
const char* const WEEKDAY_NAMES[14] = {
    "Sun.", "Sunday", "Mon.", "Monday", "Tues.", "Tuesday", "Wed.", "Wednesday", "Thurs.", "Thursday",
    "Fri.", "Friday", "Sat.", "Saturday",
};
constexpr int32_t DAYS_IN_MONTH[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int32_t DAY_NUMBER_OFFSET = 1721119;
constexpr int32_t DIGIT_RUN_LIMIT = 1000000000;   // a digit run saturates here

enum Order { MONTH_DAY_YEAR = 0, DAY_MONTH_YEAR = 1, YEAR_MONTH_DAY = 2 };

bool LeapYear(int64_t year)
{
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

int64_t FloorDivide(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The day number of a valid calendar date, in 64 bits.
int64_t DayNumber(int64_t year, int64_t month, int64_t day)
{
    if (month < 3) {
        month += 9;
        year -= 1;
    } else {
        month -= 3;
    }
    const int64_t century = FloorDivide(year, 100);
    const int64_t inCentury = year - century * 100;
    return FloorDivide(1461 * inCentury, 4) + FloorDivide(146097 * century, 4) + (153 * month + 2) / 5 + day +
           DAY_NUMBER_OFFSET;
}

Order ChooseOrder(uint16_t flags)
{
    LoadCountryTable();
    if (flags & UI_DATE_YMD)
        return YEAR_MONTH_DAY;
    if (flags & (UI_DATE_DMY | UI_DATE_MILITARY))
        return DAY_MONTH_YEAR;
    if (flags & UI_DATE_MDY)
        return MONTH_DAY_YEAR;
    const uint8_t country = FrameworkCountryTable().dateOrder;
    return country <= YEAR_MONTH_DAY ? static_cast<Order>(country) : MONTH_DAY_YEAR;
}

// The month (1 to 12) whose short or full name starts with the count letters
// at run, compared without regard to case; 0 when none does.
int32_t MatchMonth(const char* run, int32_t count)
{
    for (int32_t n = 0; n < 24; ++n)
        if (CompareNoCaseN(run, MONTH_NAMES[n], count) == 0 &&
            static_cast<int32_t>(std::strlen(MONTH_NAMES[n])) >= count)
            return n / 2 + 1;
    return 0;
}

void AppendNumber(std::string& out, int32_t number, bool zeroFill)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, zeroFill && number < 10 ? "%02d" : "%d", number);
    out += digits;
}

} // namespace

int32_t UI_DATE::Import(const UI_DATE& other)
{
    value = other.value;
    return 0;
}

void UI_DATE::Export(int32_t* year, int32_t* month, int32_t* day, int32_t* weekday) const
{
    int32_t y = 0;
    int32_t m = 0;
    int32_t d = 0;
    int32_t w = 0;
    if (value >= 0) {
        int64_t j = int64_t{value} - DAY_NUMBER_OFFSET;
        int64_t yy = (4 * j - 1) / 146097;
        j = 4 * j - 1 - 146097 * yy;
        int64_t dd = j / 4;
        j = (4 * dd + 3) / 1461;
        dd = 4 * dd + 3 - 1461 * j;
        dd = (dd + 4) / 4;
        int64_t mm = (5 * dd - 3) / 153;
        dd = 5 * dd - 3 - 153 * mm;
        dd = (dd + 5) / 5;
        yy = 100 * yy + j;
        if (mm < 10) {
            mm += 3;
        } else {
            mm -= 9;
            yy += 1;
        }
        y = static_cast<int32_t>(yy);
        m = static_cast<int32_t>(mm);
        d = static_cast<int32_t>(dd);
        w = static_cast<int32_t>((int64_t{value} + 1) % 7 + 1);
    }
    if (year != nullptr)
        *year = y;
    if (month != nullptr)
        *month = m;
    if (day != nullptr)
        *day = d;
    if (weekday != nullptr)
        *weekday = w;
}

int32_t UI_DATE::Import(int32_t year, int32_t month, int32_t day)
{
    if (year == 0 || month == 0 || day == 0) {
        int32_t y;
        int32_t m;
        int32_t d;
        Export(&y, &m, &d, nullptr);
        if (year == 0)
            year = y;
        if (month == 0)
            month = m;
        if (day == 0)
            day = d;
    }
    if (year < 1000)
        year += 1900;
    if (year < 0 || month < 1 || month > 12 || day < 1)
        return 1;
    const int32_t length = DAYS_IN_MONTH[month - 1] + (month == 2 && LeapYear(year) ? 1 : 0);
    if (day > length)
        return 1;
    const int64_t dayNumber = DayNumber(year, month, day);
    if (dayNumber > INT32_MAX)
        return 1;
    value = static_cast<int32_t>(dayNumber);
    return 0;
}

int32_t UI_DATE::Import(const char* text, uint16_t dateFlags)
{
    if (text == nullptr || text[0] == '\0') {
        if (!(dateFlags & UI_DATE_EMPTY_KEEPS))
            value = UI_NO_DATE;
        return 0;
    }
    // Positions of the three parts among the fields read.
    int32_t yearAt = 2;
    int32_t monthAt = 0;
    int32_t dayAt = 1;
    switch (ChooseOrder(dateFlags)) {
    case DAY_MONTH_YEAR: dayAt = 0; monthAt = 1; yearAt = 2; break;
    case YEAR_MONTH_DAY: yearAt = 0; monthAt = 1; dayAt = 2; break;
    case MONTH_DAY_YEAR: break;
    }
    int32_t fields[3] = {0, 0, 0};
    int32_t count = 0;
    for (const char* at = text; *at != '\0' && count < 3;) {
        const auto c = static_cast<unsigned char>(*at);
        if (std::isdigit(c)) {
            int64_t number = 0;
            for (; std::isdigit(static_cast<unsigned char>(*at)); ++at)
                number = std::min<int64_t>(number * 10 + (*at - '0'), DIGIT_RUN_LIMIT);
            fields[count++] = static_cast<int32_t>(number);
        } else if (std::isalpha(c)) {
            const char* run = at;
            while (std::isalpha(static_cast<unsigned char>(*at)))
                ++at;
            const int32_t month = MatchMonth(run, static_cast<int32_t>(at - run));
            if (month == 0)
                continue;   // not a month: no field
            // The name's place becomes the month's; the part there moves to
            // where the order had put the month.
            if (yearAt == count)
                yearAt = monthAt;
            else if (dayAt == count)
                dayAt = monthAt;
            monthAt = count;
            fields[count++] = month;
        } else {
            ++at;
        }
    }
    if (count < 3)
        return 1;
    return Import(fields[yearAt], fields[monthAt], fields[dayAt]);
}

void UI_DATE::Export(char* buffer, int32_t size, uint16_t dateFlags) const
{
    if (buffer == nullptr || size <= 0)
        return;
    std::string out;
    if (value >= 0) {
        uint16_t flags = dateFlags;
        if (flags & UI_DATE_MILITARY) {
            const bool shortForm = flags & (UI_DATE_SHORT_YEAR | UI_DATE_SHORT_MONTH);
            flags = static_cast<uint16_t>((flags & 0x5708) | UI_DATE_MONTH_NAME);
            if (shortForm)
                flags |= UI_DATE_SHORT_YEAR | UI_DATE_SHORT_MONTH;
        }
        const std::string plain = (flags & UI_DATE_MILITARY) ? " "
                                  : (flags & UI_DATE_DASH)    ? "-"
                                  : (flags & UI_DATE_SLASH)   ? "/"
                                                              : FrameworkCountryTable().dateSeparator;
        std::string first = plain;
        std::string second = plain;
        const bool monthName = flags & (UI_DATE_MONTH_NAME | UI_DATE_SHORT_MONTH);
        if (monthName) {
            first = (flags & UI_DATE_MILITARY) ? " " : ", ";
            second = " ";
        }
        int32_t year;
        int32_t month;
        int32_t day;
        int32_t weekday;
        Export(&year, &month, &day, &weekday);
        const bool zeroFill = flags & UI_DATE_ZERO_FILL;
        std::string yearText;
        if (flags & UI_DATE_SHORT_YEAR) {
            char digits[8];
            std::snprintf(digits, sizeof digits, "%02d", year % 100);
            yearText = digits;
        } else {
            AppendNumber(yearText, year, zeroFill);
        }
        std::string monthText;
        if (monthName) {
            const bool shortName = flags & UI_DATE_SHORT_MONTH;
            monthText = MONTH_NAMES[(month - 1) * 2 + (shortName ? 0 : 1)];
            if (shortName && (flags & UI_DATE_MILITARY))
                monthText.resize(std::min<size_t>(monthText.size(), 3));
        } else {
            AppendNumber(monthText, month, zeroFill);
        }
        std::string dayText;
        AppendNumber(dayText, day, zeroFill);
        if (flags & (UI_DATE_WEEKDAY | UI_DATE_SHORT_WEEKDAY)) {
            out += WEEKDAY_NAMES[(weekday - 1) * 2 + ((flags & UI_DATE_SHORT_WEEKDAY) ? 0 : 1)];
            out += ' ';
        }
        switch (ChooseOrder(flags)) {
        case DAY_MONTH_YEAR: out += dayText + first + monthText + second + yearText; break;
        case YEAR_MONTH_DAY: out += yearText + plain + monthText + second + dayText; break;
        case MONTH_DAY_YEAR: out += monthText + second + dayText + first + yearText; break;
        }
    }
    const size_t n = out.copy(buffer, static_cast<size_t>(size) - 1);
    buffer[n] = '\0';
    if (dateFlags & UI_DATE_UPPER_CASE)
        StringToUpper(buffer);
}
