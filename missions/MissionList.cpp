// MissionList.cpp: the mission list's saved section and the mission type
// table of the loader.
#include "missions/MissionList.h"

#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "missions/FerryMission.h"
#include "missions/HoldingMission.h"
#include "missions/InterceptMission.h"
#include "missions/PatrolMission.h"
#include "missions/ReconMission.h"
#include "missions/StandingMission.h"
#include "missions/StrikeMission.h"

namespace {

template <class Mission>
MissionRecord* MakeForLoad(uint16_t type, Side* side)
{
    return new Mission(type, side);
}

// By type code; a null row is a type the program has no class for yet.
MissionLoadMaker loadMakers[MissionType::LAST + 1] = {
    nullptr,                             // 0: never a type
    MakeForLoad<StandingMission>,        // 1
    MakeForLoad<HoldingMission>,         // 2
    MakeForLoad<PatrolMission>,          // 3 patrol
    nullptr,                             // 4 transit
    nullptr,                             // 5 support
    MakeForLoad<StrikeMission>,          // 6 strike
    MakeForLoad<InterceptMission>,       // 7
    MakeForLoad<FerryMission>,           // 8 ferry
    MakeForLoad<ReconMission>,           // 9 recon
};

} // namespace

MissionLoadMaker GetMissionLoadMaker(uint16_t type)
{
    return type <= MissionType::LAST ? loadMakers[type] : nullptr;
}

MissionLoadMaker SetMissionLoadMaker(uint16_t type, MissionLoadMaker maker)
{
    if (type == 0 || type > MissionType::LAST)
        return nullptr;
    const MissionLoadMaker previous = loadMakers[type];
    loadMakers[type] = maker;
    return previous;
}

MissionList::~MissionList() { DeleteAll(); }

bool MissionList::Save(std::ostream& out) const { return SavedTreeListOf<MissionRecord>::Save(out); }

bool MissionList::Load(std::istream& in)
{
    uint16_t count = 0;
    if (!LoadField(in, count))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint16_t type = 0;
        if (!LoadField(in, type))
            return false;
        const MissionLoadMaker make = GetMissionLoadMaker(type);
        MissionRecord* const mission = make ? make(type, side) : nullptr;
        if (!mission) {
            ReportResourceText(UNKNOWN_TYPE_TEXT, "MissionList::Load", FatalError);
            in.setstate(std::ios::failbit);   // FatalError may return
            return false;
        }
        mission->Load(in);
        const uint16_t id = mission->GetID();
        if (!in || id == 0 || Find(id)) {
            // Cut short, or an id no mission may have: never listed.
            delete mission;
            in.setstate(std::ios::failbit);
            return false;
        }
        Insert(mission);
    }
    return static_cast<bool>(in);
}
