// units.cpp: fuzz target of the unit list of the arena section
// (UnitList::Load) and so of every part of a unit record: jamming entries,
// targeting records, weapon tallies, propulsion plants, sensors (the real
// sensor classes), mounts, data-link records, magazines, fuel tanks and the
// path; and the records of the weapon ('W', with its warheads) and the
// sonobuoy line ('L', with its buoys). The other unit classes are not built
// yet; a unit class of this target, under the ship letter 'S', reads the
// record as they will (its own u16 field, then the unit's part). Sample texts, annex tables and map are
// loaded once; the arena state is fresh for every input.
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
#include "units/DatalinkRecord.h"
#include "units/FuelTank.h"
#include "units/Mount.h"
#include "units/TargetTally.h"
#include "units/Unit.h"
#include "units/UnitFactory.h"
#include "units/UnitList.h"
#include "units/SonobuoyLine.h"
#include "units/Weapon.h"

namespace {

class FuzzUnit : public Unit {
public:
    char GetTypeLetter() const override { return 'S'; }
    void SaveFields(std::ostream& out) const override
    {
        SaveField(out, uint8_t{'S'});
        SaveField(out, classWord);
        SaveUnitRecord(out);
    }
    bool LoadFields(std::istream& in) override
    {
        LoadField(in, classWord);
        return in && LoadUnitRecord(in);
    }

    uint16_t classWord = 0;
};

Unit* MakeFuzzUnit()
{
    return new FuzzUnit;
}

void SetUp()
{
    static const bool done = [] {
        fuzz::UseSampleResources();
        fuzz::UseSampleMap();
        InstallSensorClasses();
        UnitFactory::Register('S', &MakeFuzzUnit);
        RegisterWeaponClass();
        RegisterSonobuoyLineClass();
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
    auto* u = new FuzzUnit;
    u->SetKey(42);
    u->classWord = 0xA55A;
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
    FuzzUnit weapon;
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
