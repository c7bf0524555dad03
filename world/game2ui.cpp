// game2ui.cpp: what the player may see, read from the stand-in until the
// units and sides exist.
#include "world/game2ui.h"

#include <set>

namespace {

struct Visibility {
    bool showAll = false;
    std::set<uint16_t> known;   // unit ids the player's side knows
};

Visibility& State()
{
    static Visibility state;
    return state;
}

} // namespace

namespace game2ui {

bool IsVisibleToPlayer(uint16_t unitID)
{
    if (unitID == 0)
        return false;
    return State().showAll || State().known.count(unitID) != 0;
}

void SetShowAll(bool showAll)
{
    State().showAll = showAll;
}

bool GetShowAll()
{
    return State().showAll;
}

void SetVisibleToPlayer(uint16_t unitID, bool visible)
{
    if (visible)
        State().known.insert(unitID);
    else
        State().known.erase(unitID);
}

void ClearVisibility()
{
    State().showAll = false;
    State().known.clear();
}

} // namespace game2ui

namespace {

std::set<uint16_t>& OwnUnits()
{
    static std::set<uint16_t> own;   // unit ids of the player's view
    return own;
}

}  // namespace

namespace game2ui {

bool IsContactOfPlayer(uint16_t unitID)
{
    return unitID != 0 && OwnUnits().count(unitID) != 0;
}

void SetContactOfPlayer(uint16_t unitID, bool own)
{
    if (own)
        OwnUnits().insert(unitID);
    else
        OwnUnits().erase(unitID);
}

void ClearContactsOfPlayer()
{
    OwnUnits().clear();
}

}  // namespace game2ui
