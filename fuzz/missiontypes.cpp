// missiontypes.cpp: fuzz target of a side's mission section
// (MissionList::Load) holding missions of every type the program has a class
// for, each reading its own fields after the base record, in the current
// file layout and the older ones (byte 0 picks the file version). A section
// that loads is saved again. The seeds are made from the type table itself,
// so a mission type that gains its class is fuzzed from then on.
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/FuzzTarget.h"
#include "missions/MissionList.h"
#include "missions/MissionRecord.h"
#include "missions/Side.h"

namespace {

constexpr uint16_t SIDE_ID = 1;

// Byte 0 of an input picks the open file's version: the current layout, the
// one with 8-bit text lengths, the one before the strike's present layout,
// and the one with 16-bit flags.
VersionNumber VersionFor(uint8_t choice)
{
    switch (choice % 4) {
    case 0: return VersionNumber(3, 6, 3, 0);
    case 1: return VersionNumber(2, 1, 7, 0);
    case 2: return VersionNumber(2, 1, 5, 0);
    default: return VersionNumber(2, 0, 9, 0);
    }
}

// The section of one mission of the type as its loader makes it, or of one
// of every type when type is 0; empty when there is no such class.
std::string SavedSection(Side& side, uint16_t type)
{
    MissionList list(&side);
    for (uint16_t t = 1; t <= MissionType::LAST; ++t) {
        const MissionLoadMaker make = GetMissionLoadMaker(t);
        if ((type != 0 && t != type) || make == nullptr)
            continue;
        MissionRecord* const mission = make(t, &side);
        mission->SetKey(static_cast<uint16_t>(FIRST_CREATED_MISSION_ID + t));
        mission->SetName("Seed mission");
        list.Insert(mission);
    }
    if (list.First() == nullptr)
        return {};
    std::ostringstream out(std::ios::binary);
    list.Save(out);
    return out.str();
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    fuzz::GameState game(VersionFor(0));
    Side side("Blue", SIDE_ID);
    for (uint16_t type = 0; type <= MissionType::LAST; ++type) {
        const std::string section = SavedSection(side, type);
        if (!section.empty())
            seeds.Add("type-" + std::to_string(type), std::string(1, '\0') + section);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::istringstream in(fuzz::Bytes(data + 1, size - 1), std::ios::binary);
    fuzz::Guarded([&] {
        fuzz::GameState game(VersionFor(data[0]));
        Side side("Blue", SIDE_ID);
        MissionList list(&side);
        if (list.Load(in)) {
            std::ostringstream out(std::ios::binary);
            list.Save(out);
        }
    });
    return 0;
}
