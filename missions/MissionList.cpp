// MissionList.cpp: the mission list's saved section and the mission type
// table of the loader.
#include "missions/MissionList.h"

#include <istream>
#include <ostream>

namespace {

MissionLoadMaker loadMakers[MissionType::LAST + 1] = {};

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

bool MissionList::Load(std::istream& in) { return static_cast<bool>(in); }
