// CountryTable.h: the framework's country table, the number conventions its
// big-number fields format with (decimal points, separators, grouping,
// currency, signs) and the date order and separators of the date and time
// values, and LoadCountryTable, which fills it once from the
// runtime's locale. The C locale leaves the built-in values.
#pragma once

#include <cstdint>

struct lconv;

struct UI_COUNTRY_TABLE {
    static constexpr int32_t TEXT_SIZE = 16;   // bytes, with the terminator

    char decimalPoint[TEXT_SIZE] = ".";
    char monetaryDecimalPoint[TEXT_SIZE] = ".";
    char thousandsSeparator[TEXT_SIZE] = ",";
    char monetaryThousandsSeparator[TEXT_SIZE] = ",";
    char grouping[TEXT_SIZE] = "\3";           // group sizes, one a byte; the last repeats
    char monetaryGrouping[TEXT_SIZE] = "\3";
    char currencySymbol[TEXT_SIZE] = "$";
    uint8_t currencyBeforePositive = 1;
    uint8_t currencyBeforeNegative = 1;
    uint8_t fractionDigits = 2;
    char positiveSign[TEXT_SIZE] = "";
    uint8_t positiveSignPosition = 1;
    char negativeSign[TEXT_SIZE] = "-";
    uint8_t negativeSignPosition = 1;
    uint8_t spaceSeparatedPositive = 0;
    uint8_t spaceSeparatedNegative = 0;
    // Dates and times; the locale changes none of these.
    uint8_t dateOrder = 0;                     // 0 month, day, year; 1 day, month, year; 2 year, month, day
    char dateSeparator[TEXT_SIZE] = "/";
    char timeSeparator[TEXT_SIZE] = ":";
};

// The framework's table.
UI_COUNTRY_TABLE& FrameworkCountryTable();

// Fills the framework's table from the current locale the first time it is
// called; later calls do nothing.
void LoadCountryTable();

// Copies the conventions of locale into table. An empty text, a text too long
// for its field, or the value 127 (not available) keeps the table's value.
void FillCountryTable(UI_COUNTRY_TABLE& table, const lconv& locale);
