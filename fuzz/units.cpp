// units.cpp: fuzz target of the unit list of the arena section
// (UnitList::Load) and so of every part of a unit record: jamming entries,
// targeting records, weapon tallies, propulsion plants, sensors (the real
// sensor classes), mounts, data-link records, magazines, fuel tanks and the
// path; and the records of the weapon ('W', with its warheads) and the
// sonobuoy line ('L', with its buoys), the ship ('S', with its air
// facilities and aircraft) and the submarine ('U'). Sample texts, annex
// tables and map are loaded once; the arena state is fresh for every input.
#include <cstdint>
#include <sstream>
#include <string>

#include "annex/AnnexTables.h"
#include "annex/SignatureRecord.h"
#include "annex/TimedRecord.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/SensorClasses.h"
#include "fuzz/FuzzTarget.h"
#include "tests/support/SampleMap.h"
#include "units/AirBase.h"
#include "units/AirGroup.h"
#include "units/DatalinkRecord.h"
#include "units/Facility.h"
#include "units/FuelTank.h"
#include "units/Mount.h"
#include "units/TargetTally.h"
#include "units/Unit.h"
#include "units/UnitFactory.h"
#include "units/UnitList.h"
#include "units/PlaneRec.h"
#include "units/Ship.h"
#include "units/SonobuoyLine.h"
#include "units/Submarine.h"
#include "units/Weapon.h"

namespace {

void SetUp()
{
    static const bool done = [] {
        fuzz::UseSampleResources();
        fuzz::UseSampleMap();
        InstallSensorClasses();
        RegisterShipClass();
        RegisterSubmarineClass();
        RegisterWeaponClass();
        RegisterSonobuoyLineClass();
        RegisterFacilityClass();
        RegisterAirGroupClass();
        RegisterAirBaseClass();
        Annex::LoadDatabase(fuzz::DataDir() + "/ANNEX/");
        return true;
    }();
    (void)done;
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    SetUp();
    ArenaState arena;
    gam2arena::SetArenaState(&arena);
    UnitList list;
    auto* u = new Ship;
    u->SetKey(42);
    u->classCode = 3;
    u->SetDamagePoints(300);
    u->damagePoints = 120;
    auto* facility = new AnnexEntry(1);
    facility->typeCode = 5;
    u->airFacilities.Insert(facility);
    auto* aircraft = new PlaneRec(1);
    aircraft->count = 4;
    u->aircraft.Insert(aircraft);
    auto* jam = new SignatureRecord(77);
    jam->SetBandLevel(0x5, -20);
    u->JammingEntries().Insert(jam);
    u->SetClassName("Tarsk");
    u->SetName("Tarsk Voyager");
    auto* option = new TimedRecord;
    option->idD = 300;
    option->mountKey = 2;
    option->quantity = 3;
    u->AddTargetingRecord(option);
    Submarine weapon;
    weapon.SetKey(900);
    auto* tally = new TargetTally(301);
    tally->AddWeapon(weapon);
    u->WeaponTallies().Insert(tally);
    auto* link = new DatalinkRecord(3);
    link->SetKey(5);
    link->linkRange = 80;
    u->datalinks.Insert(link);
    u->sensors.Insert(MakeSensorForClassCode(1));
    u->sensors.Insert(MakeSensorForClassCode(4));
    u->mounts.Insert(new Mount(2));
    u->fuelTanks.Append(new FuelTank(1));
    u->SetPosition(samplemap::At(74, 1));
    list.Insert(u);
    auto* sub = new Submarine;
    sub->SetKey(44);
    sub->maxDepth = -45;
    sub->SetDamagePoints(90);
    sub->SetAltitude(-3);
    list.Insert(sub);
    std::ostringstream out(std::ios::binary);
    list.Save(out);
    seeds.Add("one-ship", out.str());

    // A missile with three warheads on its way to the ship, and a line of
    // two buoys.
    auto* missile = new Weapon;
    missile->SetKey(43);
    missile->weaponKind = WeaponKind::ECM_COUNTERED;
    missile->attackMask = 0x5;
    for (uint16_t value : {120, 7, 120}) {
        auto* warhead = new WarheadLink;
        warhead->warheadType = value == 7 ? 2 : 0x400;
        warhead->warheadValue = value;
        warhead->warheadCount = 2;
        missile->warheads.Append(warhead);
    }
    missile->targetID = 42;
    missile->targetLocked = 1;
    missile->timeToGo = 3725;
    missile->SetPosition(samplemap::At(74, 2));
    list.Insert(missile);
    auto* line = new SonobuoyLine;
    line->SetKey(50);
    list.Insert(line);
    for (uint16_t id : {51, 52}) {
        auto* buoy = new Weapon;
        buoy->SetKey(id);
        buoy->weaponKind = WeaponKind::SONOBUOY;
        buoy->SetPosition(samplemap::At(73, 1 + (id - 51) * 0.3));
        list.Insert(buoy);
        line->AddBuoy(*buoy);
    }
    std::ostringstream more(std::ios::binary);
    list.Save(more);
    seeds.Add("ship-weapons-and-line", more.str());
    for (Unit* unit = list.First(); unit != nullptr; unit = unit->GetNext())
        unit->ForgetMemberships();
    gam2arena::SetArenaState(nullptr);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetUp();
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        ArenaState arena;
        gam2arena::SetArenaState(&arena);
        {
            UnitList list;
            if (list.Load(in)) {
                std::ostringstream out(std::ios::binary);
                list.Save(out);
            }
        }
        gam2arena::SetArenaState(nullptr);
    });
    return 0;
}
