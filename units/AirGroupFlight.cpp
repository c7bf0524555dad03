// AirGroupFlight.cpp: the air group's step (along its own path or in the
// wake of its lead), its stations, its label and its status lines.
#include <algorithm>
#include <cstdio>

#include "annex/AnnexTables.h"
#include "core/NavMath.h"
#include "core/ResourceText.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/AirGroup.h"
#include "units/GroupBridge.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/PositionNode.h"
#include "units/PropulsionPlant.h"
#include "units/Status.h"
#include "units/StatusWeather.h"
#include "units/UnitStatus.h"

namespace {

unsigned WholeDegrees(int32_t course)
{
    const int64_t folded = ((int64_t{course} % ANGLE_FULL) + ANGLE_FULL) % ANGLE_FULL;
    return static_cast<unsigned>(folded / ANGLE_PER_DEGREE);
}

}  // namespace

void AirGroup::Move(uint8_t elapsed)
{
    PositionNode* const next = GetPath();
    if (next != nullptr && !HasReturned() && (airGroupFlags & STATIONS_FAILED) == 0 && GetPlantSetting() != 0) {
        course = NavMath::Get_Vector(GetPosition(), next->GetPosition()).bearing;
        const PropulsionPlant* const plant = OwnPlant();
        if (plant == nullptr || plant->BandInForce(std::max<int16_t>(plant->setting, 0), GetAltitude()) < 0)
            return;
        const uint16_t knots = static_cast<uint16_t>(std::max<int16_t>(0, static_cast<int16_t>(speed)));
        if (MoveToward(next->GetPosition(), knots, elapsed)) {
            path.Remove(next);
            next->PostEvents();
            delete next;
            ui2game::PathChanged(GetID());
            UpdateStations(true);
        }
        return;
    }
    const Unit* const lead = leadID != 0 ? gam2arena::FindUnit(leadID) : nullptr;
    if (lead == nullptr)
        return;
    SetPosition(lead->GetPosition());
    course = lead->GetCourse();
    speed = lead->speed;
    if (GetPlantSetting() != 0 && GetPath() != nullptr && (airGroupFlags & STATIONS_FAILED) == 0)
        ClearPath();
    UpdateLabel();
}

void AirGroup::UpdateStations(bool changed)
{
    const PositionNode* const next = GetPath();
    if (changed)
        formation->Refresh(next != nullptr ? next->GetPosition() : GetPosition());
    CheckStations(changed);
    UpdateLabel();
    formation->PostStationSetEvents();
}

void AirGroup::UpdateLabel()
{
    int32_t shownCourse = course;
    uint16_t shownSpeed = speed;
    if (HasReturned()) {
        if (const Unit* const lead = leadID != 0 ? gam2arena::FindUnit(leadID) : nullptr) {
            shownCourse = lead->GetCourse();
            shownSpeed = lead->speed;
        }
    }
    char band[BAND_NAME_SIZE] = {};
    GetAltitudeBandName(band);
    char text[2 * LABEL_SIZE];   // cut to the label by SetLabelText
    std::snprintf(text, sizeof text, "%-4.4s %03u %-4u %.4s ", GetName().Text(), WholeDegrees(shownCourse),
                  unsigned{shownSpeed}, band);
    SetLabelText(text);
}

void AirGroup::GetStatus(UnitStatus& status) const
{
    ClearUnitStatus(status);
    constexpr int32_t SIZE = UnitStatus::LINE_SIZE;
    int line = 0;
    auto next = [&status, &line]() { return line < UnitStatus::LINE_COUNT ? status.lines[line++] : nullptr; };
    auto put = [&next](const char* text) {
        if (char* out = next())
            std::snprintf(out, SIZE, "%.32s", text);
    };
    const auto* const lead = dynamic_cast<const Plane*>(leadID != 0 ? gam2arena::FindUnit(leadID) : nullptr);
    char text[4 * SIZE];
    std::snprintf(text, sizeof text, "%s (%s)", GetName().Text(), lead != nullptr ? lead->GetName().Text() : "");
    put(text);
    put(gam2side::GetBaseName(GetSideID()));
    char band[BAND_NAME_SIZE] = {};
    GetAltitudeBandName(band);
    std::snprintf(text, sizeof text, "%d0m (%s)", static_cast<int>(GetAltitude()), band);
    put(text);
    const int16_t setting = std::clamp<int16_t>(GetPlantSetting(), -1, PropulsionPlant::SETTINGS - 1);
    char settingText[SIZE] = {};
    CopyResourceText(SETTING_TEXT + 1 + setting, settingText, SIZE);
    std::snprintf(text, sizeof text, "%u %s", unsigned{speed}, settingText);
    put(text);
    std::snprintf(text, sizeof text, "%u", WholeDegrees(course));
    put(text);
    unsigned count = 0;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext())
        ++count;
    std::snprintf(text, sizeof text, "%u", count);
    put(text);
    if (const char* info = gam2side::GetUnitMissionInfo(GetID()))
        put(info);
    if (lead != nullptr) {
        const AnnexTable<LoadoutAnnex>* const loadouts = Annex::Tables().Loadouts();
        const LoadoutAnnex* const loadout = loadouts != nullptr ? loadouts->Find(lead->loadoutID) : nullptr;
        put(loadout != nullptr ? loadout->name.Text() : "Minimal");
    }
    line = PutWeatherLines(status, line, GetPosition());
    if (char* out = next())
        GetConditionText(out, SIZE);
    status.lineCount = static_cast<uint16_t>(line);
}
