// Vessel.cpp: the vessel's damage percentage, speed cap, noise figures and
// saved part.
#include "units/Vessel.h"

#include <algorithm>
#include <cstdio>
#include <istream>
#include <ostream>

#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/PlaneBridge.h"
#include "units/PropulsionPlant.h"
#include "units/Status.h"
#include "units/StatusWeather.h"
#include "units/SideRecords.h"
#include "units/UnitCreation.h"
#include "units/UnitEvents.h"

namespace {

// By speed in knots, 0 to 45 (0 to 5 share the first entry): the moving
// object's speed-table value, and the noise step added to the rear noise.
constexpr uint8_t SPEED_TABLE[Vessel::NOISE_TABLE_TOP_KNOTS + 1] = {
    0,  0,  0,  0,  0,  0,  1,  3,  4,  5,  6,  8,  9,  10, 13, 14, 15, 16, 18, 19, 20, 21, 22,
    23, 24, 24, 25, 26, 27, 28, 29, 29, 30, 30, 31, 32, 32, 33, 34, 34, 35, 35, 36, 37, 37, 38};
constexpr uint8_t NOISE_STEP[Vessel::NOISE_TABLE_TOP_KNOTS + 1] = {
    0,  0,  0,  0,  0,  0,  0,  1,  3,  5,  8,  10, 13, 15, 18, 20, 21, 23, 24, 25, 26, 28, 29,
    30, 31, 32, 33, 34, 34, 35, 36, 37, 38, 38, 39, 39, 40, 41, 42, 42, 43, 43, 44, 44, 45, 45};

constexpr int32_t NOISE_FREE_KNOTS = 6;

// Resource texts of the status lines: the setting after the speed (-1, then
// 0 to 3), the percent sign and endurance without limit.
constexpr int32_t TEXT_SETTING[] = {0x7B01EE, 0x7B01EF, 0x7B019B, 0x7B019C, 0x7B01F0};
constexpr int32_t TEXT_PERCENT = 0x7B0224;
constexpr int32_t TEXT_ENDURANCE_UNLIMITED = 0x7B020E;

constexpr int REAR = 2;

}  // namespace

int32_t Vessel::GetDamagePercent() const
{
    if (damagePoints < 1)
        return 100;
    if (maxDamagePoints < 1)
        return 99;   // more points left than a whole hull has: shown as nearly gone
    const int32_t percent = 100 - int32_t{damagePoints} * 100 / maxDamagePoints;
    return std::clamp<int32_t>(percent, 0, 99);
}

int Vessel::TargetClassIndex(char letter)
{
    switch (letter) {
    case 'A':
    case 'P':
        return 0;
    case 'G':
    case 'S':
        return 1;
    case 'U':
    case 'g':
        return 2;
    case 'B':
    case 'F':
        return 3;
    default:
        return -1;
    }
}

uint16_t Vessel::CapSpeed(uint16_t top, uint16_t level)
{
    const uint32_t t = top;
    switch (level) {
    case 0:
        return top;
    case 1:
        return static_cast<uint16_t>((t + 3) / 4 * 3);
    case 2:
        return static_cast<uint16_t>((t + 1) / 2);
    case 3:
        return static_cast<uint16_t>((t + 3) / 4);
    case 4:
        return static_cast<uint16_t>((t + 9) / 10);
    default:
        return 0;
    }
}

uint16_t Vessel::SetSpeed(uint16_t wanted, int16_t altitude)
{
    uint16_t top = 0;
    for (int16_t setting = PlantSetting::IDLE; setting <= PlantSetting::FLANK; ++setting)
        top = std::max(top, GetMaxSpeedAtAltitude(setting, altitude));
    return Unit::SetSpeed(std::min(wanted, CapSpeed(top, speedLossLevel)), altitude);
}

void Vessel::UpdateSpecialReach()
{
    const uint16_t s = std::min(speed, NOISE_TABLE_TOP_KNOTS);
    speedTableValue = SPEED_TABLE[s];
    noiseValue = static_cast<uint16_t>((int32_t{speed} - NOISE_FREE_KNOTS) >> 1);
    rearNoiseValue = static_cast<uint16_t>(GetFirstSonarSignature(REAR) / 3 + NOISE_STEP[s]);
}

void Vessel::ChangeSpeedLoss(bool worse)
{
    if (!worse) {
        if (speedLossLevel > 0)
            --speedLossLevel;
        return;
    }
    ++speedLossLevel;
    PostOrDrop(MakeSetSpeedEvent(GetID(), speed, GameTime(gam2arena::GetGameTime())));
}

void Vessel::RaiseSpeedLossSince(int32_t levelBefore)
{
    for (int32_t level = GetDamageLevel(); level > levelBefore; --level)
        ChangeSpeedLoss(true);
}

void Vessel::SaveVesselFields(std::ostream& out) const
{
    for (uint32_t value : damageClass)
        SaveField(out, value);
    SaveField(out, damagePoints);
    SaveField(out, maxDamagePoints);
    sonarTriples[0].Save(out);
    sonarTriples[1].Save(out);
    SaveUnitRecord(out);
}

bool Vessel::LoadVesselFields(std::istream& in)
{
    for (uint32_t& value : damageClass)
        LoadField(in, value);
    LoadField(in, damagePoints);
    LoadField(in, maxDamagePoints);
    sonarTriples[0].Load(in);
    sonarTriples[1].Load(in);
    if (!in || !LoadUnitRecord(in))
        return false;
    speedLossLevel = static_cast<uint16_t>(GetDamageLevel());
    return true;
}

void Vessel::FillVesselStatus(UnitStatus& status, const char* depth, const char* secondTime,
                              const char* const* extra, int extraCount) const
{
    ClearUnitStatus(status);
    int line = 0;
    constexpr size_t SIZE = UnitStatus::LINE_SIZE;
    auto next = [&status, &line]() { return line < UnitStatus::LINE_COUNT ? status.lines[line++] : nullptr; };
    auto put = [&next](const char* text) {
        if (char* out = next())
            std::snprintf(out, SIZE, "%.32s", text);
    };
    char text[SIZE * 2] = {};
    char words[SIZE] = {};
    put(gam2side::GetBaseName(GetSideID()));
    put(GetName().Text());
    put(GetClassName().Text());
    const int16_t setting = std::clamp<int16_t>(GetPlantSetting(), -1, PlantSetting::FLANK);
    CopyResourceText(TEXT_SETTING[setting + 1], words, static_cast<int32_t>(SIZE));
    std::snprintf(text, sizeof text, "%u %s", unsigned{speed}, words);
    put(text);
    if (depth != nullptr)
        put(depth);
    std::snprintf(text, sizeof text, "%d", static_cast<int>(GetCourse() / ANGLE_PER_DEGREE));
    put(text);
    CopyResourceText(TEXT_PERCENT, words, static_cast<int32_t>(SIZE));
    std::snprintf(text, sizeof text, "%d%s", static_cast<int>(GetDamagePercent()), words);
    put(text);
    const int32_t endurance = GetEndurance();
    if (endurance == -1)
        CopyResourceText(TEXT_ENDURANCE_UNLIMITED, text, static_cast<int32_t>(SIZE));
    else
        FormatStatusTime(endurance, text);
    put(text);
    if (secondTime != nullptr)
        put(secondTime);
    CopyResourceText(HasActiveEmitter() ? STATUS_EMITTING_TEXT : STATUS_SILENT_TEXT, text, static_cast<int32_t>(SIZE));
    put(text);
    if (const char* info = gam2side::GetUnitMissionInfo(GetID()))
        put(info);
    line = PutWeatherLines(status, line, GetPosition());
    for (int i = 0; i < extraCount; ++i)
        put(extra[i]);
    std::snprintf(text, sizeof text, "%u", unsigned{GetLinkReach1()});
    put(text);
    std::snprintf(text, sizeof text, "%u", unsigned{GetLinkReach0()});
    put(text);
    if (char* out = next())
        GetConditionText(out, static_cast<int32_t>(SIZE));
    status.lineCount = static_cast<uint16_t>(line);
}

void Vessel::RebuildFromAnnex()
{
    const uint16_t side = GetSideID();
    const bool sideExists = gam2arena::SideExists(side);
    const NameString keptName = GetName();
    LeaveDataLink();
    UnitFromAnnex::ClearComponents(*this);
    BuildFromAnnex(GetAnnexID());
    SetName(keptName.Text());
    SetSpeed(speed, PositionObject::GetAltitude());
    if (sideExists)
        gam2side::AddUnit(side, GetID());
}
