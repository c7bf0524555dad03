// missions.cpp: fuzz target of a mission's saved base record
// (MissionRecord::LoadBase): the settings, the unit records, the aircraft
// references, the side queue and the texts, in a current file and in the
// two older layouts. A record that loads is saved again.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/ScenarioAdmin.h"
#include "core/gam2arena.h"
#include "fuzz/FuzzTarget.h"
#include "missions/MissionRecord.h"

namespace {

// A record with one unit, one aircraft reference, a queued side key and
// its texts, saved after its type code as the mission list reads it.
std::string SavedSample()
{
    MissionRecord mission(0, "Strike north", nullptr);
    mission.missionType = 3;
    mission.SetKey(5);
    mission.missionFlags = 0x2402;
    mission.DefaultSettingGroup1();
    mission.DefaultSettingGroup2();
    mission.DefaultSettingGroup3();
    mission.delayTime = 3600;
    auto* unit = new MissionUnitRec(12);
    unit->savedLeaderID = 4;
    mission.units.Insert(unit);
    auto* ref = new PlaneRecRef(1);
    ref->holderID = 30;
    ref->recordID = 2;
    ref->count = 4;
    mission.planeRefs.Insert(ref);
    mission.sideQueue.Insert(new IDNode(6));
    mission.SaveName();
    std::ostringstream out(std::ios::binary);
    mission.SaveBase(out);
    return out.str().substr(2);
}

// The first input byte picks the file version: the current layout, the one
// with 8-bit text lengths, or the one with 16-bit flags.
VersionNumber VersionFor(uint8_t choice)
{
    switch (choice % 3) {
    case 0: return VersionNumber(3, 6, 3, 0);
    case 1: return VersionNumber(2, 1, 7, 0);
    default: return VersionNumber(2, 0, 9, 0);
    }
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    seeds.Add("current-record", std::string(1, '\0') + SavedSample());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::istringstream in(fuzz::Bytes(data + 1, size - 1), std::ios::binary);
    fuzz::Guarded([&] {
        fuzz::GameState game(VersionFor(data[0]));
        MissionRecord mission;
        if (mission.LoadBase(in)) {
            std::ostringstream out(std::ios::binary);
            mission.SaveBase(out);
        }
    });
    return 0;
}
