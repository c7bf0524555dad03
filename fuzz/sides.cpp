// sides.cpp: fuzz target of the side section (SideManager::Load): the sides
// with their threat zones, victory managers, names, relations, ops staff and
// missions, reference points, doctrine names and start positions, then the
// player side, the sweep state and its cursor. A section that loads is saved
// again and swept once.
#include <cstdint>
#include <sstream>
#include <string>

#include "core/gam2arena.h"
#include "fuzz/FuzzTarget.h"
#include "missions/Side.h"
#include "missions/SideManager.h"

namespace {

// Two sides, one hostile toward the other, with a point and a unit's start
// positions, saved while the sweep stands at the first side.
std::string SavedSample()
{
    SideManager manager;
    auto* blue = new Side("Blue", 1);
    manager.AddSide(blue);
    manager.AddSide(new Side("Red", 2));
    blue->SetRelation(2, 1);
    blue->AddPoint({245760, 491520});
    StartPositionRecord* const starts = blue->GetStartPositions(12);
    starts->positions.Insert(new IDPoint(1, {100, 200}));
    starts->positions.Insert(new IDPoint(2, {300, 400}));
    manager.SetPlayerSide(blue);
    manager.Update(1);
    std::ostringstream out(std::ios::binary);
    manager.Save(out);
    return out.str();
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    ArenaState arena;
    ArenaState* const previous = gam2arena::SetArenaState(&arena);
    seeds.Add("two-sides", SavedSample());
    gam2arena::SetArenaState(previous);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        fuzz::GameState game;
        {
            SideManager manager;
            if (manager.Load(in)) {
                std::ostringstream out(std::ios::binary);
                manager.Save(out);
                manager.Update(0);
                manager.Update(0);
            }
        }
    });
    return 0;
}
