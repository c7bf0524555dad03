// InterceptMission.cpp: the intercept mission's construction, saved form,
// validity notice, description, release of its units, end test and the
// assignment of its free aircraft to the kept targets. Classification and
// allocation are InterceptTasks.cpp, the unit step InterceptStep.cpp.
#include "missions/InterceptMission.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "core/ResourceText.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "missions/Side.h"
#include "units/AirGroup.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"
#include "units/UnitEvents.h"

namespace {

// Message classes of the notices to the player.
constexpr uint16_t MISSION_MESSAGE_CLASS = 0x100;
constexpr uint16_t SPARE_AIRCRAFT_CLASS = 0x20;
// Mission mark of a contact: an interceptor is on its way.
constexpr uint8_t INTERCEPTOR_ASSIGNED = 0x4;
// The formation size no candidate reaches: the first candidate always fits.
constexpr uint16_t LARGEST_FORMATION = 1000;
// The latest intercept time a candidate may offer (unsigned comparison).
constexpr uint32_t NO_INTERCEPT_BOUND = 0x7FFFFFFF;

bool IsAircraftLetter(char letter) { return letter == 'P' || letter == 'A'; }

// The base a plane or air group lands at; 0 for none and for other units.
uint16_t HomeBaseOf(const Unit& unit)
{
    if (const auto* const plane = dynamic_cast<const Plane*>(&unit))
        return plane->homeBaseID;
    if (const auto* const group = dynamic_cast<const AirGroup*>(&unit))
        return group->GetLeadHomeBase();
    return 0;
}

// The contact's name and number as the description lists them.
std::string ContactLabel(const Contact& contact)
{
    return std::string(contact.name.Text()) + "-" + std::to_string(contact.contactNumber);
}

} // namespace

InterceptMission::InterceptMission(uint16_t kind, const char* nameText, const IDList* targetList, Side* owner)
    : MissionRecord(kind, nameText, owner)
{
    missionType = TYPE;
    missionFlags = NEW_FLAGS;
    CopyIDList(targetList, &targets);
    SaveName();
    targetClasses = 0;
    const SideContacts* const current = gam2arena::GetCurrentSide();
    for (const IDNode* n = targetList ? targetList->First() : nullptr; n && current; n = n->GetNext()) {
        if (const Contact* const contact = current->GetContact(n->GetKey()))
            targetClasses |= contact->GetTypeFlags();
    }
}

InterceptMission::InterceptMission(uint16_t type, Side* owner)
{
    missionType = type;
    side = owner;
}

MissionRecord* InterceptMission::MakeForKind(uint16_t kind, const char* name, const IDList* list, uint16_t,
                                             Side* side)
{
    return new InterceptMission(kind, name, list, side);
}

bool InterceptMission::Save(std::ostream& out)
{
    SaveBase(out);
    targets.Save(out);
    return static_cast<bool>(out);
}

bool InterceptMission::Load(std::istream& in)
{
    targets.DeleteAll();
    if (!LoadBase(in) || !targets.Load(in)) {
        targets.DeleteAll();   // a list cut short keeps nothing
        in.setstate(std::ios::failbit);
        return false;
    }
    return true;
}

bool InterceptMission::IsValid()
{
    if (units.First() != nullptr)
        return true;
    std::string text = ResourceString(INVALID_HEAD_TEXT);
    text += name ? name : "";
    text += ResourceString(INVALID_MIDDLE_TEXT);
    text += ResourceString(INVALID_TAIL_TEXT);
    ui2game::PostGameMessage(side ? side->GetID() : 0, auxValue, text.c_str(), MISSION_MESSAGE_CLASS, ' ');
    return false;
}

uint16_t InterceptMission::QueryUnit(uint16_t unitID, uint16_t targetID)
{
    const MissionUnitRec* const record = units.Find(unitID);
    if (record == nullptr || record->targetID != targetID)
        return 0;
    switch (record->state) {
    case InterceptState::PROCEEDING:
    case InterceptState::CLOSING:
    case InterceptState::ENGAGING:
    case InterceptState::CLOSING_PLAIN:
        return 4;
    default:
        return 0;
    }
}

void InterceptMission::ReleaseUnit(Unit* unit)
{
    if (unit == nullptr)
        return;
    MissionUnitRec* const record = units.Find(unit->GetKey());
    if (record == nullptr || record->state == MissionUnitState::DONE)
        return;
    record->state = MissionUnitState::DONE;
    if (side)
        side->MoveUnitToMission(unit->GetKey(), record->homeMission);
}

void InterceptMission::ReleaseAllUnits()
{
    // The side takes units and references out of this mission as it goes,
    // so the walks go over copies of the ids.
    std::vector<uint16_t> unitIDs;
    for (const MissionUnitRec* record = units.First(); record; record = record->GetNext())
        unitIDs.push_back(record->GetUnitID());
    for (const uint16_t unitID : unitIDs) {
        MissionUnitRec* const record = units.Find(unitID);
        if (record == nullptr)
            continue;
        if (record->homeMission < FIRST_CREATED_MISSION_ID) {
            if (side)
                side->ReturnUnitToStanding(unitID, GetID());
            continue;
        }
        Unit* const unit = gam2arena::FindUnit(unitID);
        if (unit == nullptr) {
            units.Remove(record);
            delete record;
        } else if (IsAircraftLetter(unit->GetTypeLetter())) {
            PostOrDrop(MakeLandEvent(unitID, HomeBaseOf(*unit), GameTime(0)));
            ReleaseUnit(unit);
        } else if (side) {
            side->MoveUnitToMission(unitID, record->homeMission);
        }
    }

    struct Held {
        uint16_t holderID, recordID;
    };
    std::vector<Held> held;
    for (const PlaneRecRef* ref = planeRefs.First(); ref; ref = ref->GetNext())
        held.push_back({ref->holderID, ref->recordID});
    for (const Held& h : held) {
        PlaneRec* const planes = FindAircraftRecord(h.holderID, h.recordID);
        if (planes == nullptr)
            continue;
        planes->SetMissionID(STANDING_MISSION_ID, false);
        if (side)
            side->MoveReference(h.holderID, h.recordID, GetID(), STANDING_MISSION_ID);
    }
}

void InterceptMission::SaveName()
{
    std::string text = ResourceString(TARGETS_TEXT);
    const SideContacts* const current = gam2arena::GetCurrentSide();
    bool first = true;
    for (const IDNode* n = targets.First(); n && current; n = n->GetNext()) {
        const Contact* const contact = current->GetContact(n->GetKey());
        if (contact == nullptr)
            continue;
        if (!first)
            text += ResourceString(TARGET_SEPARATOR_TEXT);
        text += ContactLabel(*contact);
        first = false;
    }
    delete[] savedName;
    savedName = new char[text.size() + 1];
    text.copy(savedName, text.size());
    savedName[text.size()] = '\0';
}

void InterceptMission::DefaultSettingGroup1()
{
    settingGroup1[0] = 1800;
    settingGroup1[1] = 40;
    settingGroup1[2] = 120;
    settingGroup1[3] = 50;
}

void InterceptMission::DefaultSettingGroup2()
{
    settingGroup2[0] = 300;
    settingGroup2[1] = 50;
    settingGroup2[2] = 60;
    settingGroup2[3] = 50;
}

void InterceptMission::DefaultSettingGroup3()
{
    settingGroup3[0] = 90;
    settingGroup3[1] = 50;
    settingGroup3[2] = 60;
    settingGroup3[3] = 50;
}

void InterceptMission::OnUnitRemoved(MissionUnitRec*) { RunEndTest(nullptr); }

void InterceptMission::RunEndTest(SideContacts* scanned)
{
    if (editUnits.First() != nullptr || editPlaneRefs.First() != nullptr)
        return;
    if (units.First() == nullptr) {
        missionFlags |= MissionFlag::FINISHED;
        return;
    }
    if (scanned == nullptr)
        return;
    // An emptied list finishes the mission at the next test, not this one.
    if (targets.First() == nullptr)
        missionFlags |= MissionFlag::FINISHED;
    IDNode* next = nullptr;
    for (IDNode* n = targets.First(); n; n = next) {
        next = n->GetNext();
        if (scanned->GetContact(n->GetKey()) == nullptr && gam2arena::FindUnit(n->GetKey()) == nullptr) {
            targets.Remove(n);
            delete n;
        }
    }
}

// ---- assignment of free aircraft ----

void InterceptMission::OnSideScanned(SideContacts* scanned)
{
    if (scanned == nullptr)
        return;
    if (keptTasks.First() == nullptr) {
        RunEndTest(scanned);
        return;
    }
    for (const MissionUnitRec* r = units.First(); r; r = r->GetNext()) {
        const uint16_t unitID = r->GetUnitID();
        const bool free = r->state == MissionUnitState::ADDED || r->state == MissionUnitState::IDLE;
        if (free && r->leaderID == 0 && scanned->ownUnits.Find(unitID) && !extraIDs.Find(unitID))
            extraIDs.Insert(new IDNode(unitID));
    }
    if (extraIDs.First() == nullptr)
        return;
    for (MissionTask* task = keptTasks.First(); task; task = task->GetNext()) {
        Contact* const contact = scanned->GetContact(task->targetID);
        if (contact == nullptr)
            continue;
        const uint32_t wanted = AverageOfThree(&contact->threat[2]);
        uint32_t brought = 0;
        uint16_t sent = 0;
        do {
            sent = SendInterceptor(contact);
            brought += sent;
        } while (sent != 0 && brought < wanted);
    }
    MissionTask* cursor = keptTasks.First();
    while (IDNode* const n = extraIDs.First()) {
        const uint16_t unitID = n->GetKey();
        extraIDs.Remove(n);
        delete n;
        if (MissionTask* const taken = AssignSpareUnit(unitID, cursor, scanned))
            cursor = taken;
    }
}

uint16_t InterceptMission::SendInterceptor(Contact* contact)
{
    if (contact == nullptr)
        return 0;
    uint32_t bestTime = NO_INTERCEPT_BOUND;
    uint16_t bestMembers = LARGEST_FORMATION;
    uint16_t chosenID = 0;
    uint32_t chosenSetting = 0;
    int16_t chosenAltitude = 0;
    LatLonPoint chosenPoint;
    for (const IDNode* n = extraIDs.First(); n; n = n->GetNext()) {
        MissionUnitRec* const record = units.Find(n->GetKey());
        Unit* const unit = gam2arena::FindUnit(n->GetKey());
        if (record == nullptr || unit == nullptr || record->memberCount > bestMembers ||
            !CanUnitEngageB(record, unit, contact))
            continue;
        uint32_t setting = 0;
        int16_t altitude = 0;
        uint32_t time = 0;
        LatLonPoint point;
        PlanApproach(contact, unit, contact->GetKey(), setting, altitude, time, point);
        if (time == 0 || time >= bestTime)
            continue;
        bestTime = time;
        bestMembers = record->memberCount;
        chosenID = n->GetKey();
        chosenSetting = setting;
        chosenAltitude = altitude;
        chosenPoint = point;
    }
    if (chosenID == 0)
        return 0;
    if (IDNode* const node = extraIDs.Find(chosenID)) {
        extraIDs.Remove(node);
        delete node;
    }
    MissionUnitRec* const record = units.Find(chosenID);
    Unit* const unit = gam2arena::FindUnit(chosenID);
    if (record == nullptr || unit == nullptr)
        return 0;
    StartIntercept(chosenID, *unit, *record, *contact, chosenPoint, chosenSetting, chosenAltitude);
    const int32_t weapons = unit->SumWeaponRatings(contact->GetTypeFlags());
    return static_cast<uint16_t>(weapons < 0 ? 0 : weapons > 0xFFFF ? 0xFFFF : weapons);
}

void InterceptMission::StartIntercept(uint16_t unitID, Unit& unit, MissionUnitRec& record, Contact& contact,
                                      const LatLonPoint& point, uint32_t setting, int16_t altitude)
{
    const uint32_t classBits = contact.GetTypeFlags();
    record.ChangeState(InterceptState::PROCEEDING, contact.GetKey(), classBits);
    SetAircraftPosture(&unit, classBits);
    unit.ClearPath();
    ProceedToIntercept(unitID, &unit, &record, &point, static_cast<int16_t>(setting), altitude, 0);
    contact.stickyFlags |= INTERCEPTOR_ASSIGNED;
}

MissionTask* InterceptMission::AssignSpareUnit(uint16_t unitID, MissionTask* cursor, SideContacts* scanned)
{
    MissionUnitRec* const record = units.Find(unitID);
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (record == nullptr || unit == nullptr || cursor == nullptr || scanned == nullptr)
        return nullptr;
    // Once round the chain from the task after the cursor; the cursor itself
    // only when it is the chain's only task.
    const auto nextRound = [this](MissionTask* t) { return t->GetNext() ? t->GetNext() : keptTasks.First(); };
    MissionTask* task = nextRound(cursor);
    const bool onlyTask = task == cursor;
    do {
        Contact* const contact = scanned->GetContact(task->targetID);
        if (contact != nullptr && CanUnitEngageB(record, unit, contact)) {
            uint32_t setting = 0;
            int16_t altitude = 0;
            uint32_t time = 0;
            LatLonPoint point;
            PlanApproach(contact, unit, contact->GetKey(), setting, altitude, time, point);
            if (time != 0) {
                StartIntercept(unitID, *unit, *record, *contact, point, setting, altitude);
                return task;
            }
        }
        task = nextRound(task);
    } while (!onlyTask && task != cursor);
    SendBack(unitID, *unit, *record);
    return nullptr;
}

void InterceptMission::SendBack(uint16_t unitID, Unit& unit, const MissionUnitRec& record)
{
    std::string text = unit.GetName().Text();
    text += ' ';
    if (!unit.IsGroup())
        text += unit.GetClassName().Text();
    text += ResourceString(NO_TASK_TEXT);
    ui2game::PostGameMessage(unit.GetSideID(), unit.sideEntryID, text.c_str(), SPARE_AIRCRAFT_CLASS, ' ');
    if (record.homeMission < FIRST_CREATED_MISSION_ID) {
        if (side)
            side->ReturnUnitToStanding(unitID, GetID());
    } else if (IsAircraftLetter(unit.GetTypeLetter())) {
        PostOrDrop(MakeLandEvent(unitID, HomeBaseOf(unit), GameTime(0)));
    } else if (side) {
        side->MoveUnitToMission(unitID, record.homeMission);
    }
}
