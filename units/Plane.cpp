// Plane.cpp: the plane's fields, the unit operations it replaces, its status
// lines and its saved record.
#include "units/Plane.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "annex/AnnexTables.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "units/PlaneBridge.h"
#include "units/Status.h"
#include "units/StatusWeather.h"
#include "units/UnitComponents.h"
#include "units/UnitFromAnnex.h"
#include "world/Nav2Game.h"

namespace {

// Resource texts of the plane's messages and status lines.
constexpr int32_t TEXT_SHOT_DOWN = 0x7B020D;
constexpr int32_t TEXT_ENDURANCE_UNLIMITED = 0x7B020E;
constexpr int32_t TEXT_SETTING_OFF = 0x7B0199;        // setting -1; 0 to 3 follow

// The file version from which the climb rate is saved.
const VersionNumber CLIMB_RATE_SAVED(2, 1, 3, 0);
constexpr uint8_t LEAST_CLIMB_RATE = 100;

}  // namespace

Plane::Plane()
{
    ComputeCruise();
}

Plane::Plane(uint16_t planeAnnexID, uint16_t loadout) : Plane()
{
    SetAnnexID(planeAnnexID);
    const PlaneAnnex* const record = FindRecord();
    if (record == nullptr)
        return;
    UnitFromAnnex::TakeNames(*this, record->className, record->typeCode.Text());
    aircraftFlags = record->aircraftFlags;
    BuildPropulsionList(plants, record->propulsionIDs);
    UnitFromAnnex::BuildSensorsAndMounts(*this, record->sensorIDs, record->mountIDs);
    if (record->HasLoadout(loadout)) {
        aircraftFlags |= BuildLoadoutMount(mounts, loadout, *this);
        loadoutID = loadout;
    }
    UnitFromAnnex::BuildCommLinks(*this, record->commIDs);
    bool allFlagged = true;
    for (const DatalinkRecord* link = datalinks.First(); link != nullptr; link = link->GetNext())
        allFlagged = allFlagged && (link->channelFlags & DatalinkRecord::FLAG_NEEDS_LINK_FLAG) != 0;
    if (allFlagged)
        EnableDataLink();
    UnitFromAnnex::BuildStores(*this, record->fuelIDs, nullptr);
    ComputeCruise();
    ComputeReserves();
    reserved32 = 0;
    UnitFromAnnex::CopyTriples(*this, record->triple1, record->triple2, record->triple3);
    climbRate = record->climbRate;
    ComputeTaskFlags();
}

const PlaneAnnex* Plane::FindRecord() const
{
    const AnnexTable<PlaneAnnex>* const table = Annex::Tables().Planes();
    return table != nullptr ? table->Find(GetAnnexID()) : nullptr;
}

void Plane::PostMessage(uint16_t messageClass, const char* before, int32_t resource) const
{
    char words[UnitStatus::LINE_SIZE * 4] = {};
    if (resource != 0)
        CopyResourceText(resource, words, static_cast<int32_t>(sizeof words));
    const char* const label = GetLabel();
    char message[sizeof words + 4 * NameString::SIZE];
    std::snprintf(message, sizeof message, "%s%s%s%s%s", label, label[0] != '\0' ? " " : "", GetName().Text(), before,
                  words);
    ui2game::PostGameMessage(GetSideID(), sideEntryID, message, messageClass, 'P');
}

int32_t Plane::TakeDamage(int32_t /*amount*/, uint32_t kind)
{
    if (TestFlags(DESTROYED))
        return 0;
    SetFlags(DESTROYED);
    unit2gam::CheckVictoryConditions(GetID());
    if (kind != KIND_SILENT_LOSS)
        PostMessage(CLASS_LOSS, "", TEXT_SHOT_DOWN);
    return 1;
}

void Plane::ResolveFireOrders()
{
    Unit::ResolveFireOrders();
    taskFlags |= TASK_RECHECK;
}

void Plane::RemoveFromPlay()
{
    gam2side::MissionReleaseUnit(GetID());
    Unit::RemoveFromPlay();
}

void Plane::SetPath(PositionNode* first)
{
    Unit::SetPath(first);
    const int16_t altitude = PositionObject::GetAltitude();
    SetSpeed(GetMaxSpeedAtAltitude(first != nullptr ? PlantSetting::CRUISE : PlantSetting::IDLE, altitude),
             altitude);
}

int16_t Plane::GetRadarSignature(int aspect) const
{
    return static_cast<int16_t>(aspectValues[2].Get(aspect));
}

int16_t Plane::GetVisualSignature(int aspect) const
{
    const int16_t altitude = PositionObject::GetAltitude();
    const int32_t extra = altitude == 9 || altitude == 10 ? 90 : 0;
    return static_cast<int16_t>(aspectValues[0].Get(aspect) + extra);
}

int16_t Plane::GetInfraredSignature(int aspect) const
{
    return static_cast<int16_t>(aspectValues[1].Get(aspect));
}

// The label's third part is the speed padded to four columns and a blank;
// the plane puts its altitude band's name in the fourth.
void Plane::UpdateLabel()
{
    Unit::UpdateLabel();
    PutBandNameInLabel();
}

bool Plane::CanAttackType(char letter) const
{
    return letter == 'P' && (aircraftFlags & 0x16) != 0;
}

bool Plane::CanSupportType(char letter) const
{
    if (letter == 'P')
        return (aircraftFlags & 0x9) != 0;
    if (letter == 'S')
        return (aircraftFlags & 0x200000) != 0;
    return false;
}

uint8_t Plane::GetSizeClass() const
{
    switch (aircraftFlags & SIZE_CLASS_BITS) {
    case 0x01000000:
        return 2;
    case 0x02000000:
        return 4;
    case 0x04000000:
        return 8;
    case 0x08000000:
        return 16;
    default:
        return 0;
    }
}

int32_t Plane::GetClimbRate(int32_t direction) const
{
    const int32_t rate = std::max<int32_t>(climbRate, LEAST_CLIMB_RATE);
    return direction < 0 ? rate * 2 : rate;
}

void Plane::GetAltitudeEnvelope(int16_t setting, int16_t& low, int16_t& high) const
{
    Unit::GetAltitudeEnvelope(setting, low, high);
    if ((aircraftFlags & FLOOR_2) != 0)
        low = std::max<int16_t>(low, 2);
    else if ((aircraftFlags & FLOOR_4) != 0)
        low = std::max<int16_t>(low, 4);
    else
        low = std::max<int16_t>(low, 10);
}

uint16_t Plane::TopSpeedAt(int16_t altitude) const
{
    uint16_t top = 0;
    for (int16_t setting = PlantSetting::IDLE; setting <= PlantSetting::FLANK; ++setting)
        top = std::max(top, GetMaxSpeedAtAltitude(setting, altitude));
    return top;
}

uint16_t Plane::SetSpeed(uint16_t wanted, int16_t altitude)
{
    const uint16_t least = static_cast<uint16_t>(TopSpeedAt(altitude) / 5);
    if (wanted < least)
        wanted = (aircraftFlags & SLOW_MEANS_STOPPED) != 0 ? 0 : least;
    return Unit::SetSpeed(wanted, altitude);
}

int32_t Plane::SumWeaponRatings(uint32_t target) const
{
    int64_t sum = 0;
    const uint8_t flag = (target & 0x4) != 0 ? 1 : 0;
    for (const Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext())
        sum += mount->SumWeaponRatings(target, flag);
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

void Plane::SetAltitudeAboveGround(int16_t altitude)
{
    const int16_t ground = std::max<int16_t>(Nav2Game::GetAltitudeAt(GetPosition()), 0);
    PositionObject::SetAltitude(std::max(altitude, ground));
}

// The status lines, in order: the side's name, the name, speed and setting,
// altitude band, course, endurance, emitting or silent, the mission text
// (when there is one), the loadout, the weather (state, cloud cover,
// precipitation), the two link reaches, then the conditions.
void Plane::GetStatus(UnitStatus& status) const
{
    ClearUnitStatus(status);
    int line = 0;
    auto next = [&status, &line]() { return line < UnitStatus::LINE_COUNT ? status.lines[line++] : nullptr; };
    constexpr size_t SIZE = UnitStatus::LINE_SIZE;
    auto put = [&next](const char* text) {
        if (char* out = next())
            std::snprintf(out, SIZE, "%.32s", text);
    };
    put(gam2side::GetBaseName(GetSideID()));
    put(GetName().Text());
    char text[SIZE * 2] = {};
    char setting[SIZE] = {};
    const int16_t plantSetting = std::clamp<int16_t>(GetPlantSetting(), PlantSetting::OFF, PlantSetting::FLANK);
    CopyResourceText(TEXT_SETTING_OFF + 1 + plantSetting, setting, static_cast<int32_t>(SIZE));
    std::snprintf(text, sizeof text, "%u %s", unsigned{speed}, setting);
    put(text);
    GetAltitudeBandName(text);
    put(text);
    std::snprintf(text, sizeof text, "%d", static_cast<int>(GetCourse() / ANGLE_PER_DEGREE));
    put(text);
    const int32_t endurance = GetEndurance();
    if (endurance == -1)
        CopyResourceText(TEXT_ENDURANCE_UNLIMITED, text, static_cast<int32_t>(SIZE));
    else
        FormatStatusTime(endurance, text);
    put(text);
    CopyResourceText(HasActiveEmitter() ? STATUS_EMITTING_TEXT : STATUS_SILENT_TEXT, text, static_cast<int32_t>(SIZE));
    put(text);
    if (const char* info = gam2side::GetUnitMissionInfo(GetID()))
        put(info);
    const AnnexTable<LoadoutAnnex>* const loadouts = Annex::Tables().Loadouts();
    const LoadoutAnnex* const loadout = loadouts != nullptr ? loadouts->Find(loadoutID) : nullptr;
    put(loadout != nullptr ? loadout->name.Text() : "Minimal");
    line = PutWeatherLines(status, line, GetPosition());
    std::snprintf(text, sizeof text, "%u", unsigned{GetBestLinkRange(true)});
    put(text);
    std::snprintf(text, sizeof text, "%u", unsigned{GetBestLinkRange(false)});
    put(text);
    if (char* out = next())
        GetConditionText(out, static_cast<int32_t>(SIZE));
    status.lineCount = static_cast<uint16_t>(line);
}

void Plane::SaveFields(std::ostream& out) const
{
    SaveField(out, uint8_t{'P'});
    SaveField(out, GetAnnexID());
    SaveField(out, loadoutID);
    SaveField(out, aircraftFlags);
    SaveField(out, homeBaseID);
    SaveField(out, taskFlags);
    SaveField(out, climbRate);
    SaveUnitRecord(out);
}

bool Plane::LoadFields(std::istream& in)
{
    uint16_t annex = 0;
    LoadField(in, annex);
    LoadField(in, loadoutID);
    LoadField(in, aircraftFlags);
    LoadField(in, homeBaseID);
    LoadField(in, taskFlags);
    if (!in)
        return false;
    SetAnnexID(annex);
    if (gAdmin != nullptr && gAdmin->GetFileVersion() < CLIMB_RATE_SAVED) {
        if (const PlaneAnnex* record = FindRecord())
            climbRate = record->climbRate;
        if (climbRate == 0)
            climbRate = LEAST_CLIMB_RATE;
    } else if (!LoadField(in, climbRate)) {
        return false;
    }
    if (!LoadUnitRecord(in))
        return false;
    ComputeCruise();
    ComputeReserves();
    return true;
}
