// MissionRecord.cpp: the mission base: construction, the base bodies of the
// operations the mission types override, settings and texts, and the saved
// base record. Unit moves are MissionUnits.cpp, orders and the shared
// routines MissionOrders.cpp.
#include "missions/MissionRecord.h"

#include <cstring>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "core/ResourceText.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "missions/MissionCalls.h"
#include "missions/Side.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRec.h"
#include "units/UnitEvents.h"
#include "units/Unit.h"

namespace {

// Message class of the mission notices to the player.
constexpr uint16_t MISSION_MESSAGE_CLASS = 0x100;

// First versions of the two later layouts of the base record.
const VersionNumber WIDE_FLAGS_VERSION(2, 1, 0, 0);    // 32-bit flags, sonar and ECM timings, delay
const VersionNumber WIDE_TEXTS_VERSION(2, 1, 8, 0);    // texts with 16-bit lengths

// Range units per tenth of a nautical mile, as the weapon reach figures count.
constexpr uint32_t RANGE_PER_TENTH = 409;

// An owned copy of text, or null for null.
char* CopyText(const char* text)
{
    if (!text)
        return nullptr;
    const size_t length = std::strlen(text);
    char* const copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

// Writes a text as u16 length (terminator counted), the bytes and the zero.
// A missing text goes as the empty text; a text longer than a u16 can count
// is cut so that length and bytes agree.
void SaveText(std::ostream& out, const char* text)
{
    const char* const written = text ? text : "";
    size_t length = std::strlen(written);
    if (length > 0xFFFE)
        length = 0xFFFE;
    SaveField(out, static_cast<uint16_t>(length + 1));
    out.write(written, static_cast<std::streamsize>(length));
    out.put('\0');
}

// Reads `length` bytes into a new text that is always terminated: a length of
// 0 or less reads nothing and gives the empty text. Null when the stream
// runs short (the stream is then failed).
char* ReadText(std::istream& in, int32_t length)
{
    const size_t size = length > 0 ? static_cast<size_t>(length) : 0;
    char* const text = new char[size + 1];
    if (size > 0 && !in.read(text, static_cast<std::streamsize>(size))) {
        delete[] text;
        return nullptr;
    }
    text[size] = '\0';
    return text;
}

// A text saved with a signed 8-bit length (older layout) or a u16 length.
char* LoadText(std::istream& in, bool wideLength)
{
    int32_t length = 0;
    if (wideLength) {
        uint16_t wide = 0;
        if (!LoadField(in, wide))
            return nullptr;
        length = wide;
    } else {
        int8_t narrow = 0;
        if (!LoadField(in, narrow))
            return nullptr;
        length = narrow;
    }
    return ReadText(in, length);
}

// The version of the scenario file being read; the program's own layout when
// no scenario header is open.
VersionNumber FileVersion()
{
    return gAdmin ? gAdmin->GetFileVersion() : WIDE_TEXTS_VERSION;
}

// The whole range figure (range units) of a reach in tenths of a nautical
// mile, counted in whole nautical miles: floor(v / 10) x 8 x 409.
uint32_t RangeOfReach(uint16_t tenths)
{
    return static_cast<uint32_t>(tenths / 10) * 8 * RANGE_PER_TENTH;
}

bool IsAircraftLetter(char letter) { return letter == 'P' || letter == 'A'; }

} // namespace

MissionRecord::MissionRecord(uint16_t kind, const char* nameText, Side* owner)
    : creationKind(kind), name(CopyText(nameText)), side(owner)
{
}

MissionRecord::MissionRecord() = default;

MissionRecord::~MissionRecord()
{
    delete[] name;
    delete[] savedName;
    delete editSettings;
}

// ---- base bodies of the mission types' operations ----

bool MissionRecord::IsValid() { return true; }

bool MissionRecord::Load(std::istream& in) { return static_cast<bool>(in); }

bool MissionRecord::Save(std::ostream& out) { return static_cast<bool>(out); }

void MissionRecord::AddPoints(IDList*)
{
    std::string text = name ? name : "";
    text += ResourceString(NO_POINTS_TEXT);
    ui2game::PostGameMessage(side ? side->GetID() : 0, 0, text.c_str(), MISSION_MESSAGE_CLASS, ' ');
}

void MissionRecord::RemovePoints(IDList* ids) { AddPoints(ids); }

void MissionRecord::OnUnitsChanged() {}

uint16_t MissionRecord::QueryUnit(uint16_t, uint16_t) { return 0; }

void MissionRecord::StepUnit(uint16_t, uint8_t) {}

void MissionRecord::HandleMissionEvent(uint16_t) {}

void MissionRecord::ReleaseAllUnits()
{
    // The side takes each unit and reference out of this mission, so the
    // walks go over copies of the ids.
    std::vector<uint16_t> unitIDs;
    for (const MissionUnitRec* record = units.First(); record; record = record->GetNext())
        unitIDs.push_back(record->GetUnitID());
    for (const uint16_t unitID : unitIDs) {
        const MissionUnitRec* const record = units.Find(unitID);
        if (!record || !side)
            continue;
        if (record->homeMission < FIRST_CREATED_MISSION_ID || record->homeMission == GetID())
            side->ReturnUnitToStanding(unitID, GetID());
        else
            side->MoveUnitToMission(unitID, record->homeMission);
    }

    struct Held { uint16_t holderID, recordID; };
    std::vector<Held> held;
    for (const PlaneRecRef* ref = planeRefs.First(); ref; ref = ref->GetNext())
        held.push_back({ref->holderID, ref->recordID});
    for (const Held& h : held) {
        PlaneRec* const planes = FindAircraftRecord(h.holderID, h.recordID);
        if (!planes)
            continue;
        planes->SetMissionID(STANDING_MISSION_ID, false);
        if (side)
            side->MoveReference(h.holderID, h.recordID, GetID(), STANDING_MISSION_ID);
    }
}

bool MissionRecord::IsNotFriendlyClass(Contact* contact)
{
    return contact && (contact->GetTypeFlags() & ~uint32_t{0x8}) != 0;
}

bool MissionRecord::CanUnitEngageA(MissionUnitRec*, Unit* unit, Contact* contact)
{
    if (!unit || !contact)
        return false;
    const uint32_t c = contact->GetTypeFlags();
    if ((c & 0x4) && !IsAircraftLetter(unit->GetTypeLetter()))
        return false;
    return unit->GetWeaponReach(c) != 0;
}

bool MissionRecord::CanUnitEngageB(MissionUnitRec*, Unit* unit, Contact* contact)
{
    if (!unit || !contact)
        return false;
    const uint32_t c = contact->GetTypeFlags();
    if ((c & 0x4) && !IsAircraftLetter(unit->GetTypeLetter()))
        return false;
    return unit->SumWeaponRatings(c) != 0;
}

void MissionRecord::OnSideScanned(SideContacts*) {}

namespace {
// The altitude envelope of the unit at its current propulsion setting
// (setting 1 when it has no plant chosen).
void GetCurrentEnvelope(const Unit& unit, int16_t& low, int16_t& high)
{
    int16_t setting = unit.GetPlantSetting();
    if (setting < 0)
        setting = 1;
    low = 0;
    high = 0;
    unit.GetAltitudeEnvelope(setting, low, high);
}
} // namespace

int16_t MissionRecord::GetPatrolAltitude(Unit* unit, uint16_t)
{
    if (!unit)
        return 0;
    int16_t low = 0, high = 0;
    GetCurrentEnvelope(*unit, low, high);
    return high;
}

int16_t MissionRecord::GetTaskAltitude(Unit* unit, uint16_t, uint32_t)
{
    if (!unit)
        return 0;
    int16_t low = 0, high = 0;
    GetCurrentEnvelope(*unit, low, high);
    return low;
}

int16_t MissionRecord::GetPlaneFigure(PlaneRec* record)
{
    if (!record)
        return 0;
    int16_t low = 0, high = 0;
    record->GetAltitudeLimits(1, low, high);
    return low;
}

uint16_t MissionRecord::RateUnitForClass(char letter, uint32_t targetClass, uint8_t flag)
{
    if (IsAircraftLetter(letter))
        return ((targetClass & 0x4) && flag) ? 2 : 1;
    return ((targetClass & 0x2) || letter == 'U') ? 0 : 1;
}

void MissionRecord::DefaultSettingGroup1()
{
    settingGroup1[0] = 600;
    settingGroup1[1] = 50;
    settingGroup1[2] = 120;
    settingGroup1[3] = 50;
}

void MissionRecord::DefaultSettingGroup2()
{
    settingGroup2[0] = 300;
    settingGroup2[1] = 50;
    settingGroup2[2] = 60;
    settingGroup2[3] = 50;
}

void MissionRecord::DefaultSettingGroup3()
{
    settingGroup3[0] = 300;
    settingGroup3[1] = 50;
    settingGroup3[2] = 120;
    settingGroup3[3] = 50;
}

void MissionRecord::SaveName()
{
    delete[] savedName;
    savedName = CopyText(name);
}

void MissionRecord::OnUnitRemoved(MissionUnitRec*) {}

void MissionRecord::OnUnitAdded(MissionUnitRec*) {}

uint16_t MissionRecord::GetDefaultState(uint16_t) { return 4; }

void MissionRecord::CheckIdleState(MissionUnitRec* record)
{
    if (!record || record->state != MissionUnitState::ENGAGING)
        return;
    const Unit* const unit = gam2arena::FindUnit(record->GetUnitID());
    if (!unit || unit->HasContacts())
        return;
    record->ChangeState(MissionUnitState::IDLE, 0, 0);
    record->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
}

uint32_t MissionRecord::GetUnitRange(Unit* unit, uint32_t targetClass)
{
    return unit ? RangeOfReach(unit->GetWeaponReach(targetClass)) : 0;
}

uint32_t MissionRecord::GetPlaneRange(PlaneRec* record, uint32_t targetClass)
{
    return record ? RangeOfReach(static_cast<uint16_t>(record->GetAttackRange(targetClass))) : 0;
}

// ---- settings and texts ----

void MissionRecord::ApplySettings(MissionNameRecord& record)
{
    settingCode = record.settingCode;
    missionFlags = (missionFlags & ~MissionFlag::SETTING_BITS) | record.flagBits;
    for (int i = 0; i < 4; ++i) {
        settingGroup1[i] = record.settingValues[i];
        settingGroup2[i] = record.settingValues[4 + i];
        settingGroup3[i] = record.settingValues[8 + i];
    }
    if (settingGroup1[0] == 0)
        DefaultSettingGroup1();
    if (settingGroup2[0] == 0)
        DefaultSettingGroup2();
    if (settingGroup3[0] == 0)
        DefaultSettingGroup3();

    // A delay time alone still asks for a delayed start.
    if (record.delayTime != 0 && record.delay == 0)
        record.delay = 1;
    if (record.delay != 0 && !(missionFlags & MissionFlag::NO_DELAY)) {
        delayTime = record.delayTime;
        missionFlags |= MissionFlag::DELAYED_START;
        PostOrDrop(MakeMissionEvent(side ? side->GetID() : 0, GetID(), MissionEventCode::DELAYED_START, record.delay));
        return;
    }
    for (MissionUnitRec* unit = units.First(); unit; unit = unit->GetNext()) {
        if (unit->leaderID != 0)
            continue;
        unit->markBits &= static_cast<uint8_t>(~UNIT_POSTURE_APPLIED);
        if (!(missionFlags & MissionFlag::DELAYED_START))
            SetUnitPosture(unit->GetUnitID(), unit);
    }
}

void MissionRecord::SetName(const char* text)
{
    if (!text)
        return;
    char* const copy = CopyText(text);
    delete[] name;
    name = copy;
}

std::string MissionRecord::GetUnitMissionText(uint16_t unitID) const
{
    const MissionUnitRec* const record = units.Find(unitID);
    if (record && (record->state == MissionUnitState::DONE || record->state == MissionUnitState::WAITING))
        return ResourceString(WAITING_TEXT);
    return name ? name : "";
}

void MissionRecord::DropEditSettings()
{
    delete editSettings;
    editSettings = nullptr;
}

void MissionRecord::SyncEditReferences()
{
    while (PlaneRecRef* const edit = editPlaneRefs.First()) {
        editPlaneRefs.Remove(edit);
        if (!edit->released) {
            for (PlaneRecRef* ref = planeRefs.First(); ref; ref = ref->GetNext()) {
                if (ref->holderID == edit->holderID && ref->recordID == edit->recordID) {
                    ref->refState = 1;
                    ref->count = edit->count;
                    break;
                }
            }
        }
        delete edit;
    }
    editPlaneRefs.DeleteAll();
}

// ---- saved base record ----

bool MissionRecord::SaveBase(std::ostream& out) const
{
    SaveField(out, missionType);
    SaveField<uint16_t>(out, GetID());
    SaveField(out, creationKind);
    SaveField(out, missionFlags);
    SaveField(out, settingCode);
    SaveField(out, weaponsFree);
    for (const uint16_t value : settingGroup1)
        SaveField(out, value);
    for (const uint16_t value : settingGroup2)
        SaveField(out, value);
    for (const uint16_t value : settingGroup3)
        SaveField(out, value);
    SaveField(out, delayTime);
    SaveField(out, auxValue);
    units.Save(out);
    planeRefs.Save(out);
    sideQueue.Save(out);
    SaveField(out, targetClasses);
    SaveText(out, name);
    SaveText(out, savedName);
    return static_cast<bool>(out);
}

bool MissionRecord::LoadBase(std::istream& in)
{
    const VersionNumber version = FileVersion();
    const bool wideFlags = version >= WIDE_FLAGS_VERSION;
    const bool wideTexts = version >= WIDE_TEXTS_VERSION;

    uint16_t id = 0;
    LoadField(in, id);
    LoadField(in, creationKind);
    if (wideFlags) {
        LoadField(in, missionFlags);
    } else {
        uint16_t narrowFlags = 0;
        LoadField(in, narrowFlags);
        missionFlags = narrowFlags | MissionFlag::THIRD_AT_A_TIME;
    }
    LoadField(in, settingCode);
    LoadField(in, weaponsFree);
    for (uint16_t& value : settingGroup1)
        LoadField(in, value);
    if (wideFlags) {
        for (uint16_t& value : settingGroup2)
            LoadField(in, value);
        for (uint16_t& value : settingGroup3)
            LoadField(in, value);
        LoadField(in, delayTime);
    }
    LoadField(in, auxValue);
    if (!in)
        return false;
    SetKey(id);

    // A list or text cut short takes everything read into the lists with it.
    auto refuse = [&] {
        units.DeleteAll();
        planeRefs.DeleteAll();
        sideQueue.DeleteAll();
        in.setstate(std::ios::failbit);
        return false;
    };
    if (!units.Load(in) || !planeRefs.Load(in) || !sideQueue.Load(in) || !LoadField(in, targetClasses))
        return refuse();
    char* const loadedName = LoadText(in, wideTexts);
    char* const loadedSavedName = loadedName ? LoadText(in, wideTexts) : nullptr;
    if (!loadedName || !loadedSavedName) {
        delete[] loadedName;
        return refuse();
    }
    delete[] name;
    delete[] savedName;
    name = loadedName;
    savedName = loadedSavedName;
    return true;
}
