// VictoryCheckEvent.cpp: the periodic victory check and its saved form.
#include "missions/VictoryCheckEvent.h"

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "units/PlaneBridge.h"

VictoryCheckEvent::VictoryCheckEvent()
{
    SetDueTime(PERIOD);
}

VictoryCheckEvent::VictoryCheckEvent(std::istream& in)
{
    Load(in);
}

bool VictoryCheckEvent::HandleEvent()
{
    unit2gam::CheckVictoryConditions(0);
    // The u32 clock wraps, and so does the due time.
    SetDueTime(GetTime().Get() + PERIOD);
    return true;
}

void VictoryCheckEvent::Save(std::ostream& out) const
{
    SaveField(out, TypeCode());
    SaveBase(out);
    if (!out)
        ReportResourceText(NOT_SAVED_TEXT, "VictoryCheckEvent::Save", &FatalError);
}

bool VictoryCheckEvent::Load(std::istream& in)
{
    if (!LoadBase(in)) {
        ReportResourceText(NOT_LOADED_TEXT, "VictoryCheckEvent::Load", &FatalError);
        return false;
    }
    return true;
}
