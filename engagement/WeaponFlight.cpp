// WeaponFlight.cpp: a weapon record's flight figures, worked out on a
// temporary weapon unit placed at the middle of the map: cruise and sprint
// speeds at the middle of its cruise altitude band, its fuel as the cruise
// limit, its endurance at sprint speed as the sprint limit.
#include "engagement/WeaponFlight.h"

#include "annex/AnnexTables.h"
#include "annex/WeaponAnnex.h"
#include "core/LatLonRect.h"
#include "units/Weapon.h"
#include "world/Nav2Game.h"

namespace {
constexpr int16_t CRUISE_SETTING = 1;
constexpr int16_t SPRINT_SETTING = 2;

void ComputeWeaponPerformance(WeaponAnnex& weapon)
{
    weapon.PrepareFlight();
}
}  // namespace

void WeaponAnnex::PrepareFlight()
{
    Weapon test(GetKey());
    LatLonRect bounds;
    Nav2Game::GetMapBounds(bounds);
    test.SetPosition(LatLonPoint((bounds.north + bounds.south) / 2, (bounds.west + bounds.east) / 2));
    if (weaponKind == WEAPON_KIND_MISSILE || weaponKind == WEAPON_KIND_TORPEDO) {
        int16_t low = 0;
        int16_t high = 0;
        test.GetAltitudeEnvelope(CRUISE_SETTING, low, high);
        const auto altitude = static_cast<int16_t>((low + high) / 2);
        cruiseSpeed = test.GetMaxSpeedAtAltitude(CRUISE_SETTING, altitude);
        cruiseLimit = 0;
        for (const FuelTank* tank = test.fuelTanks.First(); tank != nullptr; tank = tank->GetNext())
            cruiseLimit += tank->GetCount();
        const uint16_t sprint = test.GetMaxSpeedAtAltitude(SPRINT_SETTING, altitude);
        if (sprint > cruiseSpeed) {
            test.SetSpeed(sprint, altitude);
            sprintSpeed = sprint;
            sprintLimit = static_cast<uint32_t>(test.GetEndurance());
            hasSprint = true;
        } else {
            hasSprint = false;
            sprintSpeed = 0;
            sprintLimit = 0;
        }
        guided = true;
    } else {
        guided = false;
    }
    prepared = true;
}

void InstallWeaponFlight()
{
    Annex::DerivedFigureHooks hooks = Annex::SetDerivedFigureHooks({});
    hooks.computeWeaponPerformance = &ComputeWeaponPerformance;
    Annex::SetDerivedFigureHooks(hooks);
}

void UninstallWeaponFlight()
{
    Annex::DerivedFigureHooks hooks = Annex::SetDerivedFigureHooks({});
    hooks.computeWeaponPerformance = nullptr;
    Annex::SetDerivedFigureHooks(hooks);
}
