// SonarConditions.cpp: the scenario's sonar conditions with their saved form,
// the ambient noise table, and the sonar range table, filled from its fixed
// rows.
#include "engagement/SonarConditions.h"

#include <array>
#include <cmath>
#include <istream>
#include <ostream>
#include <string>

#include "core/ErrorReport.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"

uint16_t SonarConditions::czInterval = 60;
uint16_t SonarConditions::czWidth = 10;
uint16_t SonarConditions::czFirst = 60;
uint16_t SonarConditions::czLast = 70;
int16_t SonarConditions::layerDepth = 1500;

void SonarConditions::Init()
{
    czInterval = static_cast<uint16_t>(50 + gam2arena::Random(21));
    czWidth = static_cast<uint16_t>(3 + gam2arena::Random(8));
    layerDepth = -250;
    czFirst = czInterval;
    czLast = static_cast<uint16_t>(czInterval + czWidth);
}

void SonarConditions::Save(std::ostream& out)
{
    SaveField(out, czInterval);
    SaveField(out, czWidth);
    SaveField(out, layerDepth);
    SaveField(out, czFirst);
    SaveField(out, czLast);
}

bool SonarConditions::Load(std::istream& in)
{
    uint16_t interval = 0, width = 0, first = 0, last = 0;
    int16_t depth = 0;
    LoadField(in, interval);
    LoadField(in, width);
    LoadField(in, depth);
    LoadField(in, first);
    LoadField(in, last);
    if (!in) {
        ErrorBox("SonarConditions::Load: the sonar conditions are cut short");
        return false;
    }
    if (interval == 0) {
        ErrorBox("SonarConditions::Load: convergence-zone spacing 0");
        in.setstate(std::ios::failbit);
        return false;
    }
    czInterval = interval;
    czWidth = width;
    layerDepth = depth;
    czFirst = first;
    czLast = last;
    return true;
}

namespace {

constexpr std::array<int32_t, SonarTable::LAST_SEA_STATE + 1> AMBIENT = {29, 31, 33, 35, 38, 40, 41, 43, 45};

// The rows of the range table that fix its shape (range units: low, middle,
// high band).
struct FixedRow {
    int row;
    uint32_t range[SonarTable::BANDS];
};
constexpr FixedRow FIXED_ROWS[] = {
    {0, {3, 3, 3}},
    {50, {725, 704, 662}},
    {60, {2268, 2088, 1788}},
    {70, {6808, 5588, 4048}},
    {80, {19148, 13888, 7648}},
    {90, {46568, 30068, 12788}},
    {100, {93788, 49228, 19328}},
    {120, {237508, 91448, 33388}},
    {150, {517428, 158748, 55528}},
    {200, {1046108, 274828, 93568}},
    {249, {1592448, 390588, 131428}},
};

using RangeTable = std::array<std::array<uint32_t, SonarTable::BANDS>, SonarTable::ROWS>;

// Every other row lies between its two fixed neighbours on a geometric
// curve (range grows by a steady factor per decibel between them), rounded
// to whole range units: each column rises from row to row and passes
// through every fixed row exactly.
RangeTable BuildRangeTable()
{
    RangeTable table{};
    for (size_t i = 0; i + 1 < std::size(FIXED_ROWS); ++i) {
        const FixedRow& low = FIXED_ROWS[i];
        const FixedRow& high = FIXED_ROWS[i + 1];
        for (int band = 0; band < SonarTable::BANDS; ++band) {
            const double a = low.range[band];
            const double b = high.range[band];
            for (int row = low.row; row <= high.row; ++row) {
                const double t = static_cast<double>(row - low.row) / (high.row - low.row);
                table[row][band] = static_cast<uint32_t>(std::lround(a * std::pow(b / a, t)));
            }
            table[low.row][band] = low.range[band];
            table[high.row][band] = high.range[band];
        }
    }
    return table;
}

const RangeTable RANGES = BuildRangeTable();

}  // namespace

uint32_t SonarTable::Range(int32_t excess, int band)
{
    return RANGES[Row(excess)][band];
}

int32_t SonarTable::Ambient(int seaState)
{
    return AMBIENT[ClampedSeaState(seaState)];
}
