// SonobuoyEvents.cpp: the sonobuoy drop: which unit and which of its loaded
// buoys fits the wanted class, the drop itself through the mount, and the
// event's saved form and description.
#include "simulation/SonobuoyEvents.h"

#include <cstdio>

#include "annex/AnnexTables.h"
#include "annex/SensorAnnex.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/AllocationCheck.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/WeaponFireCalls.h"
#include "units/Group.h"
#include "units/Mount.h"
#include "units/Plane.h"
#include "units/Unit.h"

namespace {

// Weapon kind of a sonobuoy.
constexpr uint32_t KIND_SONOBUOY = 0x100;
// Navigation type of the point test: a point on open water.
constexpr int16_t BUOY_POINT_TYPE = 2;
// Sensor types that make a buoy of class 3: an active/passive sonar, and a
// directional one.
constexpr uint32_t SONAR_SENSOR = 5;
constexpr uint32_t DIRECTIONAL_SENSOR = 0x11;
constexpr uint8_t SONAR_BUOY_CLASS = 3;
// A sensor record flag that raises the buoy's class by one.
constexpr uint32_t CLASS_STEP_FLAG = 0x20;
// The class bound before any buoy was taken: above every class.
constexpr uint8_t NO_BUOY_TAKEN = 4;
// Drop types handed to the mount: plain, and directional (sensors on).
constexpr int32_t PLAIN_DROP = 1;
constexpr int32_t DIRECTIONAL_DROP_TYPE = 2;

// A sonobuoy's class from its weapon record's sensors, in list order: a
// sonar makes it 3, a flagged sensor adds one; `directional` tells whether
// a directional sonar is among them.
uint8_t BuoyClassOf(const WeaponAnnex& weapon, bool& directional)
{
    directional = false;
    uint8_t buoyClass = 0;
    const AnnexTable<SensorAnnex>* const sensors = Annex::Tables().Sensors();
    for (const IDRecord* id = weapon.sensors.First(); id != nullptr; id = id->GetNext()) {
        const SensorAnnex* const sensor = sensors != nullptr ? sensors->Find(id->GetKey()) : nullptr;
        if (sensor == nullptr)
            continue;
        const uint32_t type = sensor->GetSensorType();
        if (type == SONAR_SENSOR || type == DIRECTIONAL_SENSOR)
            buoyClass = SONAR_BUOY_CLASS;
        if (type == DIRECTIONAL_SENSOR)
            directional = true;
        if ((sensor->recordFlags & CLASS_STEP_FLAG) != 0)
            ++buoyClass;
    }
    return buoyClass;
}

// The buoy chosen so far: a class between the wanted one and the best so
// far replaces it, so among equal classes the later one wins.
struct BuoyChoice {
    Unit* unit = nullptr;
    Mount* mount = nullptr;
    WeaponRec* weapon = nullptr;
    bool directional = false;
    uint8_t best = NO_BUOY_TAKEN;
};

// Offers every loaded sonobuoy of the unit's mounts; true once a buoy of
// exactly the wanted class was taken, which ends the search.
bool OfferBuoys(Unit& unit, uint8_t wanted, BuoyChoice& choice)
{
    for (Mount* mount = unit.mounts.First(); mount != nullptr; mount = mount->GetNext()) {
        for (WeaponRec* record = mount->weapons.First(); record != nullptr; record = record->GetNext()) {
            const WeaponAnnex* const weapon = Annex::FindWeapon(record->weaponID);
            if (record->shotsLeft == 0 || weapon == nullptr || weapon->GetWeaponKind() != KIND_SONOBUOY)
                continue;
            bool directional = false;
            const uint8_t buoyClass = BuoyClassOf(*weapon, directional);
            if (buoyClass < wanted || buoyClass > choice.best)
                continue;
            choice = BuoyChoice{&unit, mount, record, directional, buoyClass};
            if (buoyClass == wanted)
                return true;
        }
    }
    return false;
}

// Searches a group's members in key order from the first; a member that no
// longer exists ends the search there.
void OfferMemberBuoys(const Group& group, uint8_t wanted, BuoyChoice& choice)
{
    for (const GroupEntry* member = group.members.First(); member != nullptr; member = member->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(member->GetKey());
        if (unit == nullptr || OfferBuoys(*unit, wanted, choice))
            return;
    }
}

}  // namespace

DropSonobuoyEvent::DropSonobuoyEvent(uint16_t unitID, uint16_t lineID, uint8_t buoyKind)
    : buoyKind(buoyKind), unitID(unitID), lineID(lineID)
{
}

bool DropSonobuoyEvent::HandleEvent()
{
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit == nullptr || !WeaponFire::PointValidForType(unit->GetPosition(), BUOY_POINT_TYPE))
        return false;
    const uint8_t wanted = buoyKind & BUOY_CLASS_BITS;
    BuoyChoice choice;
    if (const auto* const group = dynamic_cast<const Group*>(unit))
        OfferMemberBuoys(*group, wanted, choice);
    else
        OfferBuoys(*unit, wanted, choice);
    if (choice.mount == nullptr)
        return false;
    const bool directional = (buoyKind & DIRECTIONAL_DROP) != 0 || choice.directional;
    choice.mount->LaunchAtPosition(choice.unit->GetPosition(), *choice.weapon, 1,
                                   directional ? DIRECTIONAL_DROP_TYPE : PLAIN_DROP, lineID);
    // An aircraft looks at what it has left at its next move (and turns for
    // home when its task's weapons are gone).
    if (auto* const plane = dynamic_cast<Plane*>(choice.unit))
        plane->taskFlags |= Plane::TASK_RECHECK;
    return false;
}

Event* DropSonobuoyEvent::Clone() const
{
    auto* const copy = new DropSonobuoyEvent(unitID, lineID, buoyKind);
    AllocationCheck(copy);
    return copy;
}

bool DropSonobuoyEvent::Describe(char* text, uint16_t size) const
{
    if (text == nullptr || size == 0)
        return false;
    const char* kind = "";
    if (buoyKind == 1)
        kind = "directional ";
    else if (buoyKind == 3)
        kind = "active ";
    std::snprintf(text, size, "Drop %ssonobuoy", kind);
    return true;
}

void DropSonobuoyEvent::Save(std::ostream& out) const
{
    SaveField(out, TypeCode());
    SaveField(out, unitID);
    SaveField(out, lineID);
    SaveField(out, buoyKind);
    SaveBase(out);
}

bool DropSonobuoyEvent::Load(std::istream& in)
{
    uint16_t readUnit = 0;
    uint16_t readLine = 0;
    uint8_t readKind = 0;
    LoadField(in, readUnit);
    LoadField(in, readLine);
    LoadField(in, readKind);
    if (!in || !LoadBase(in))
        return false;
    unitID = readUnit;
    lineID = readLine;
    buoyKind = readKind;
    return true;
}
