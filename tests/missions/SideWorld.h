// SideWorld.h: what the side and side manager tests run in: a game clock and
// event queue, an arena unit list and the arena's contact pictures, each
// installed for the test's life, and the reports captured.
#pragma once

#include "core/gam2arena.h"
#include "engagement/SideContactsList.h"
#include "support/ReportCapture.h"
#include "units/UnitList.h"

class SideWorld {
public:
    SideWorld()
    {
        previousState = gam2arena::SetArenaState(&state);
        previousUnits = UnitList::SetArenaList(&units);
        previousPictures = SideContactsList::SetArenaList(&pictures);
    }
    ~SideWorld()
    {
        gam2arena::SetCurrentSide(nullptr);
        SideContactsList::SetArenaList(previousPictures);
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
    }
    SideWorld(const SideWorld&) = delete;
    SideWorld& operator=(const SideWorld&) = delete;

    ReportCapture reports;
    ArenaState state;
    UnitList units;
    SideContactsList pictures;

private:
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    SideContactsList* previousPictures = nullptr;
};
