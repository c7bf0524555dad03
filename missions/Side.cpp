// Side.cpp: the side's construction, saved record, relations, per-step pass,
// clear orders, new units, reference points and start positions. The forwards
// to the ops staff are SideForwards.cpp.
#include "missions/Side.h"

#include <istream>
#include <ostream>
#include <vector>

#include "core/AllocationCheck.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "core/NavMath.h"
#include "missions/Doctrine.h"
#include "missions/OpsStaff.h"
#include "missions/SideUnitCalls.h"
#include "missions/VictoryManager.h"
#include "units/Group.h"
#include "units/Unit.h"
#include "units/UnitList.h"
#include "world/AreaPolygonList.h"

namespace {

// A name record: u16 n (length + 1), then the text and its zero.
void SaveName(std::ostream& out, const std::string& text)
{
    SaveField(out, static_cast<uint16_t>(text.size() + 1));
    out.write(text.c_str(), static_cast<std::streamsize>(text.size() + 1));
}

// Reads a name record into text: always terminated, cut at the first zero;
// n = 0 is the empty name. False (text unchanged) when the stream runs short.
bool LoadName(std::istream& in, std::string& text)
{
    uint16_t n = 0;
    if (!LoadField(in, n))
        return false;
    std::vector<char> bytes(n);
    if (n != 0 && !in.read(bytes.data(), n))
        return false;
    size_t length = 0;
    while (length < bytes.size() && bytes[length] != '\0')
        ++length;
    text.assign(bytes.data(), length);
    return true;
}

// The saved form of a victory manager with nothing in it, for a side that
// has none: no conditions, the side id, four empty item lists.
void SaveEmptyVictoryManager(std::ostream& out, uint16_t sideID)
{
    SaveField(out, uint8_t{0});
    SaveField(out, sideID);
    for (int list = 0; list < 4; ++list)
        SaveField(out, uint32_t{0});
}

// Moves every element of from into to (emptied first).
template <class T>
void TakeElements(TreeListOf<T>& to, TreeListOf<T>& from)
{
    to.DeleteAll();
    while (T* element = from.First()) {
        from.Remove(element);
        to.Insert(element);
    }
}

// Whether the unit's side contact picture becomes the Arena's current one:
// the picture named by the unit's picture id.
void ShowPictureOf(const Unit& unit)
{
    gam2arena::SetCurrentSide(gam2arena::FindSide(unit.sideEntryID));
}

}  // namespace

Side::Side(uint16_t id) : TreeListNode<Side>(id), doctrine(new Doctrine(0, 0))
{
    AllocationCheck(doctrine);
    opsStaff = new OpsStaff(this);
    AllocationCheck(opsStaff);
}

Side::Side(const char* text, uint16_t id)
    : TreeListNode<Side>(id),
      name(text ? text : ""),
      baseName(text ? text : ""),
      threatZones(std::make_unique<AreaPolygonList>()),
      relations(std::make_unique<SideRelationList>()),
      doctrine(new Doctrine(0, 0))
{
    vicMan = new VictoryManager(id);
    AllocationCheck(vicMan);
    if (!vicMan)
        ReportResourceText(TEXT_NO_VICTORY_MANAGER, "Side::Side", FatalError);
    AllocationCheck(doctrine);
    doctrine->SetFileName(DEFAULT_DOCTRINE_FILE);
    doctrine->LoadFile();
    opsStaff = new OpsStaff(this);
    AllocationCheck(opsStaff);
    if (!opsStaff)
        ReportResourceText(TEXT_NO_OPS_STAFF, "Side::Side", FatalError);
}

Side::~Side()
{
    delete opsStaff;
    delete vicMan;
    if (relations)
        relations->DeleteAll();
    delete doctrine;
    points.DeleteAll();
    startPositions.DeleteAll();
}

void Side::Save(std::ostream& out) const
{
    SaveKey(out);
    if (threatZones)
        threatZones->Save(out);
    else
        AreaPolygonList().Save(out);
    if (vicMan)
        vicMan->Save(out);
    else
        SaveEmptyVictoryManager(out, GetID());
    SaveName(out, baseName);
    SaveName(out, name);
    SaveField(out, spareWord);
    if (relations)
        relations->Save(out);
    else
        SaveField(out, uint16_t{0});
    opsStaff->Save(out);
    SaveField(out, stepState);
    points.Save(out);
    doctrine->Save(out);
    SaveField(out, clearOrders);
    SaveField(out, humanPlayable);
    SaveField(out, kept);
    startPositions.Save(out);
}

bool Side::Load(std::istream& in)
{
    uint16_t id = 0;
    if (!LoadField(in, id))
        return false;
    auto zones = std::make_unique<AreaPolygonList>();
    if (!zones->Load(in))
        return false;
    std::unique_ptr<VictoryManager> manager(new VictoryManager(in));
    if (!in)
        return false;
    std::string readBaseName;
    std::string readName;
    uint16_t spare = 0;
    if (!LoadName(in, readBaseName) || !LoadName(in, readName) || !LoadField(in, spare))
        return false;
    auto readRelations = std::make_unique<SideRelationList>();
    if (!readRelations->Load(in)) {
        readRelations->DeleteAll();
        return false;
    }
    std::unique_ptr<OpsStaff> staff(new OpsStaff(this));
    uint16_t state = 0;
    SavedTreeListOf<ReferencePoint> readPoints;
    std::unique_ptr<Doctrine> readDoctrine(new Doctrine(0, 0));
    uint8_t clear = 0;
    uint8_t playable = 0;
    uint8_t keep = 0;
    StartPositionList readStarts;
    const bool good = staff->Load(in) && LoadField(in, state) && state <= STEP_DONE && readPoints.Load(in)
                      && readDoctrine->Load(in) && LoadField(in, clear) && LoadField(in, playable)
                      && LoadField(in, keep) && readStarts.Load(in);
    if (!good) {
        in.setstate(std::ios::failbit);
        // Missions read so far delete their threat zones as they go: let
        // them do it on the list just read, never on the live one.
        threatZones.swap(zones);
        staff.reset();
        threatZones.swap(zones);
        readRelations->DeleteAll();
        readPoints.DeleteAll();
        readStarts.DeleteAll();
        return false;
    }
    SetKey(id);
    delete vicMan;
    vicMan = manager.release();
    baseName = std::move(readBaseName);
    name = std::move(readName);
    spareWord = spare;
    if (relations)
        relations->DeleteAll();
    relations = std::move(readRelations);
    // The old missions delete their threat zones from the old list, so the
    // new list comes in only once they are gone.
    delete opsStaff;
    opsStaff = staff.release();
    threatZones = std::move(zones);
    stepState = state;
    TakeElements(points, readPoints);
    delete doctrine;
    doctrine = readDoctrine.release();
    clearOrders = clear;
    humanPlayable = playable;
    kept = keep;
    TakeElements(startPositions, readStarts);
    return true;
}

bool Side::SetName(const char* text)
{
    name = text ? text : "";
    return true;
}

uint8_t Side::GetRelation(uint16_t other) const
{
    if (other == GetID())
        return 2;
    const SideEntry* const entry = relations ? relations->Find(other) : nullptr;
    return entry ? entry->GetRelation() : 0;
}

bool Side::AddRelation(SideEntry* entry)
{
    if (!relations)
        relations = std::make_unique<SideRelationList>();
    relations->Insert(entry);
    return true;
}

bool Side::SetRelation(uint16_t other, uint8_t relation)
{
    SideEntry* const entry = relations ? relations->Find(other) : nullptr;
    return entry ? entry->SetRelation(relation) : false;
}

bool Side::RemoveRelation(uint16_t other)
{
    SideEntry* const entry = relations ? relations->Find(other) : nullptr;
    if (!entry)
        return false;
    relations->Remove(entry);
    delete entry;
    return true;
}

bool Side::Step(uint16_t step)
{
    if (step == 0)
        return true;
    switch (stepState) {
    case STEP_FIRST_PASS:
        if (!opsStaff->HasAnyUnits())
            stepState = STEP_DONE;
        else if (!opsStaff->StepMissionPlanning())
            stepState = STEP_SECOND_PASS;
        return false;
    case STEP_SECOND_PASS:
        if (!opsStaff->StepMissionChecks())
            stepState = STEP_DONE;
        return false;
    default:
        stepState = STEP_FIRST_PASS;
        return true;
    }
}

void Side::RandomizeStartPositions()
{
    for (StartPositionRecord* record = startPositions.First(); record; record = record->GetNext()) {
        Unit* const unit = gam2arena::FindUnit(record->GetUnitID());
        if (!unit)
            continue;
        const uint32_t count = record->CountPositions();
        const uint16_t draw = gam2arena::Random(static_cast<uint16_t>(count + 1));
        const IDPoint* const position = record->GetPosition(draw);
        if (!position)
            continue;   // 0: the unit keeps its place
        if (Group* const group = dynamic_cast<Group*>(unit))
            group->PlaceAt(position->GetPosition());
        else
            unit->SetPosition(position->GetPosition());
    }
}

void Side::SetClearOrders(uint8_t flag)
{
    clearOrders = flag;
    if (flag == 0)
        return;
    opsStaff->DeleteAllMissions();
    for (ReferencePoint* point = points.First(); point;) {
        ReferencePoint* const next = point->GetNext();
        if (point->flag == 0) {
            points.Remove(point);
            delete point;
        }
        point = next;
    }
    if ((gam2arena::GetScenarioFlags() & SCENARIO_KEEP_ORDERS) != 0)
        return;
    UnitList* const units = UnitList::GetArenaList();
    if (!units)
        return;
    std::vector<uint16_t> groups;
    for (Unit* unit = units->First(); unit; unit = unit->GetNext())
        if (unit->GetSideID() == GetID() && unit->IsGroup())
            groups.push_back(unit->GetID());
    for (const uint16_t unitID : groups)
        unit2gam::CancelAircraftLaunches(unitID);
}

void Side::AddUnit(uint16_t unitID)
{
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (!unit)
        return;
    if (unitID == GetFocusUnitID()) {
        ShowPictureOf(*unit);
        return;
    }
    UnitList* const units = UnitList::GetArenaList();
    if (!units)
        return;
    const uint16_t mode = gam2arena::GetScenarioMode();
    const char letter = unit->GetTypeLetter();
    const bool seaUnit = letter == 'S' || letter == 'U';
    for (int pass = 0; pass < 2; ++pass) {
        for (Unit* candidate = units->First(); candidate; candidate = candidate->GetNext()) {
            if (candidate == unit || candidate->GetSideID() != GetID()
                || candidate->sideEntryID == unit->sideEntryID || candidate->GetTypeLetter() == 'W')
                continue;
            const int32_t range =
                NavMath::Get_Vector(candidate->GetPosition(), unit->GetPosition()).range / RANGE_PER_NM;
            int32_t accepted = 0;
            if (pass == 0) {
                uint8_t sight = candidate->HasTerrainLineOfSight(*unit);
                if (sight != 0 && seaUnit)
                    sight = candidate->LineOfSightTo(*unit);
                const uint8_t inRange = int32_t{candidate->GetHorizon()} + unit->GetHorizon() >= range ? 1 : 0;
                accepted = candidate->UpdateDataLink(*unit, range, sight, inRange, mode & ~uint16_t{1});
            } else {
                accepted = candidate->UpdateDataLink(*unit, range, 1, 1, mode | 1);
            }
            if (accepted != 0)
                return;
        }
    }
}

void Side::RemoveUnit(uint16_t unitID)
{
    if (StartPositionRecord* const record = startPositions.Find(unitID)) {
        startPositions.Remove(record);
        delete record;
    }
    opsStaff->RemoveUnit(unitID);
}

uint16_t Side::AddPoint(const LatLonPoint& position)
{
    const uint16_t number = FindFreePointNumber(points);
    ReferencePoint* const point = new ReferencePoint(number);
    AllocationCheck(point);
    if (!point)
        return 0;
    point->SetPosition(position);
    point->UpdateXY();
    point->SetSideID(GetID());
    point->MakeLabel();
    points.Insert(point);
    return number;
}

bool Side::MovePoint(uint16_t pointID, const LatLonPoint& position)
{
    ReferencePoint* const point = points.Find(pointID);
    if (!point || point->flag != 0)
        return false;
    point->SetPosition(position);
    point->UpdateXY();
    return true;
}

bool Side::DeletePoint(uint16_t pointID)
{
    ReferencePoint* const point = points.Find(pointID);
    if (!point || point->flag != 0)
        return false;
    points.Remove(point);
    delete point;
    return true;
}

StartPositionRecord* Side::GetStartPositions(uint16_t unitID)
{
    StartPositionRecord* record = startPositions.Find(unitID);
    if (!record) {
        record = new StartPositionRecord(unitID);
        AllocationCheck(record);
        if (!record)
            return nullptr;
        startPositions.Insert(record);
    }
    return record;
}

void Side::ReturnUnitToStanding(uint16_t unitID, uint16_t missionID)
{
    opsStaff->ReturnUnitToStanding(unitID, missionID);
}

void Side::MoveUnitToMission(uint16_t unitID, uint16_t missionID)
{
    opsStaff->MoveUnitToMission(unitID, missionID);
}

void Side::MoveReference(uint16_t holderID, uint16_t recordID, uint16_t fromMission, uint16_t toMission)
{
    opsStaff->MoveReference(holderID, recordID, fromMission, toMission);
}
