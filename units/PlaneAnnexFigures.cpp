// PlaneAnnexFigures.cpp: an aircraft type's figures worked out on temporary
// aircraft of the type: its usable range with each loadout, and its
// performance table by speed setting and altitude band (the speed, the
// band's upper bound, and nine tenths of the distance flown on full tanks).
#include "units/PlaneAnnexFigures.h"

#include <algorithm>
#include <cstdint>

#include "annex/AnnexTables.h"
#include "annex/PlaneAnnex.h"
#include "core/LatLonRect.h"
#include "units/Plane.h"
#include "world/Nav2Game.h"

namespace {

// speed x seconds / 4000 is nine tenths of the nautical miles flown.
constexpr uint64_t SECONDS_PER_NINE_TENTHS_NM = 4000;

uint16_t UsableRange(PlaneAnnex& plane, uint16_t loadoutID)
{
    return plane.GetUsableRange(loadoutID);
}

void PerformanceTable(PlaneAnnex& plane)
{
    plane.BuildPerformanceTable();
}

}  // namespace

uint16_t PlaneAnnex::GetUsableRange(uint16_t loadoutID) const
{
    const Plane test(GetKey(), loadoutID);
    uint16_t low = 0;
    uint16_t high = 0;
    uint16_t range = 0;
    test.GetFuelRange(low, high, range);
    return range;
}

void PlaneAnnex::BuildPerformanceTable()
{
    std::fill(std::begin(perfSpeed), std::end(perfSpeed), uint16_t{0});
    std::fill(std::begin(perfRange), std::end(perfRange), uint16_t{0});
    std::fill(std::begin(perfCeiling), std::end(perfCeiling), int16_t{0});
    Plane test(GetKey(), 0);
    LatLonRect bounds;
    Nav2Game::GetMapBounds(bounds);
    // The middle of the map, each sum halved toward zero (no map: 0, 0).
    test.SetPosition(LatLonPoint((bounds.north + bounds.south) / 2, (bounds.west + bounds.east) / 2));
    const PropulsionPlant* const plant = test.plants.First();
    if (plant == nullptr)
        return;
    for (int setting = 0; setting < PERF_SETTINGS; ++setting) {
        for (int band = 0; band < PERF_BANDS; ++band) {
            const int i = PERF_BANDS * setting + band;
            const PropulsionPlant::SpeedEntry& row = plant->speedTable[setting][band];
            perfCeiling[i] = row.ceiling;
            perfSpeed[i] = row.speed;
            if (row.speed == 0)
                continue;
            test.SetAltitudeAboveGround(static_cast<int16_t>((row.ceiling + row.floor) / 2));
            test.SetSpeed(row.speed, test.PositionObject::GetAltitude());
            const uint64_t seconds = static_cast<uint64_t>(std::max(test.GetEndurance(), 0));
            perfRange[i] = static_cast<uint16_t>(
                std::min<uint64_t>(row.speed * seconds / SECONDS_PER_NINE_TENTHS_NM, UINT16_MAX));
        }
    }
}

void InstallAircraftFigures()
{
    Annex::DerivedFigureHooks hooks = Annex::SetDerivedFigureHooks({});
    hooks.usableRange = &UsableRange;
    hooks.buildPerformanceTable = &PerformanceTable;
    Annex::SetDerivedFigureHooks(hooks);
}

void UninstallAircraftFigures()
{
    Annex::DerivedFigureHooks hooks = Annex::SetDerivedFigureHooks({});
    hooks.usableRange = nullptr;
    hooks.buildPerformanceTable = nullptr;
    Annex::SetDerivedFigureHooks(hooks);
}
