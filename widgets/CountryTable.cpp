// CountryTable.cpp: the framework's country table and its one filling from
// the locale.
#include "widgets/CountryTable.h"

#include <clocale>
#include <cstring>

namespace {

constexpr char NOT_AVAILABLE = 127;   // the locale's mark for a missing value

void TakeText(char (&field)[UI_COUNTRY_TABLE::TEXT_SIZE], const char* text)
{
    if (text == nullptr || text[0] == '\0' || std::strlen(text) >= sizeof field)
        return;
    std::strcpy(field, text);
}

// A grouping text ends at its first 0 or 127; 127 means no further grouping.
void TakeGrouping(char (&field)[UI_COUNTRY_TABLE::TEXT_SIZE], const char* text)
{
    if (text == nullptr || text[0] == '\0' || text[0] == NOT_AVAILABLE)
        return;
    TakeText(field, text);
}

void TakeValue(uint8_t& field, char value)
{
    if (value != NOT_AVAILABLE && value >= 0)
        field = static_cast<uint8_t>(value);
}

} // namespace

UI_COUNTRY_TABLE& FrameworkCountryTable()
{
    static UI_COUNTRY_TABLE table;
    return table;
}

void LoadCountryTable()
{
    static bool loaded = false;
    if (loaded)
        return;
    loaded = true;
    FillCountryTable(FrameworkCountryTable(), *std::localeconv());
}

void FillCountryTable(UI_COUNTRY_TABLE& table, const lconv& locale)
{
    TakeText(table.decimalPoint, locale.decimal_point);
    TakeText(table.monetaryDecimalPoint, locale.mon_decimal_point);
    TakeText(table.thousandsSeparator, locale.thousands_sep);
    TakeText(table.monetaryThousandsSeparator, locale.mon_thousands_sep);
    TakeGrouping(table.grouping, locale.grouping);
    TakeGrouping(table.monetaryGrouping, locale.mon_grouping);
    TakeText(table.currencySymbol, locale.currency_symbol);
    TakeValue(table.currencyBeforePositive, locale.p_cs_precedes);
    TakeValue(table.currencyBeforeNegative, locale.n_cs_precedes);
    TakeValue(table.fractionDigits, locale.frac_digits);
    TakeText(table.positiveSign, locale.positive_sign);
    TakeValue(table.positiveSignPosition, locale.p_sign_posn);
    TakeText(table.negativeSign, locale.negative_sign);
    TakeValue(table.negativeSignPosition, locale.n_sign_posn);
    TakeValue(table.spaceSeparatedPositive, locale.p_sep_by_space);
    TakeValue(table.spaceSeparatedNegative, locale.n_sep_by_space);
}
