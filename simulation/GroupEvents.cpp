// GroupEvents.cpp: the periodic review of a group.
#include "simulation/GroupEvents.h"

#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/Group.h"

GroupReviewEvent::GroupReviewEvent(uint16_t groupID, GameTime due) : groupID(groupID)
{
    SetDueTime(due);
}

bool GroupReviewEvent::HandleEvent()
{
    // This event is out of the queue while it runs, so only the others go.
    gam2arena::RemoveUnitEvents(groupID, EventCode::GROUP_REVIEW);
    auto* const group = dynamic_cast<Group*>(gam2arena::FindUnit(groupID));
    if (group == nullptr || !group->IsGroup())
        return false;
    group->UpdateThreatAxes();
    SetTime(GameTime(gam2arena::GetGameTime() + INTERVAL));
    return true;
}

void GroupReviewEvent::Save(std::ostream& out) const
{
    SaveField(out, TypeCode());
    SaveField(out, groupID);
    SaveBase(out);
}

bool GroupReviewEvent::Load(std::istream& in)
{
    uint16_t id = 0;
    if (!LoadField(in, id) || !LoadBase(in))
        return false;
    groupID = id;
    return true;
}
