// Facility.cpp: a facility's fields, its record figures, air facility
// queries, capability word and map symbol, height, label, status lines and
// saved record. Hits, repair and the step are in FacilityDamage.cpp.
#include "units/Facility.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "annex/AnnexTables.h"
#include "annex/DBEnum.h"
#include "annex/FacilityAnnex.h"
#include "core/ErrorReport.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/PlaneBridge.h"
#include "units/SideRecords.h"
#include "units/Status.h"
#include "units/StatusWeather.h"
#include "units/UnitEvents.h"
#include "units/UnitFactory.h"
#include "world/Nav2Game.h"
#include "world/gam2anim.h"

namespace {

// Air facility type codes.
constexpr uint32_t RUNWAY = 1;
constexpr uint32_t RUNWAY_2 = 2;
constexpr uint32_t LAST_PAD = 4;          // types 1 to 4: runways and pads
constexpr uint32_t HANGAR = 5;
constexpr uint32_t CATAPULT = 6;
constexpr uint32_t ELEVATOR = 7;
constexpr uint32_t OPEN_PARKING = 8;

// The map symbol kinds, in the state-flag bits 9 to 15.
constexpr uint16_t SYMBOL_BITS = 0xFE00;
constexpr uint16_t SYMBOL_AIRFIELD = 0x0800;
constexpr uint16_t SYMBOL_HANGAR = 0x0E00;
constexpr uint16_t SYMBOL_PARKING = 0x1600;
constexpr uint16_t SYMBOL_DEPOT = 0x1200;
constexpr uint16_t SYMBOL_ARMED = 0x0A00;
constexpr uint16_t SYMBOL_SENSOR = 0x0C00;
constexpr uint16_t SYMBOL_OTHER = 0x0E00;

// The files without damageState: 2.0.1.0 and before, and 2.0.2.0.
bool HasDamageState(const VersionNumber& version)
{
    const VersionNumber lastWithout(2, 0, 1, 0);
    return lastWithout < version && !(version == VersionNumber(2, 0, 2, 0));
}

// Reports a damaged facility record and fails the stream.
bool RefuseRecord(std::istream& in)
{
    ErrorBox("Facility::LoadFields: the facility record is cut short or damaged");
    in.setstate(std::ios::failbit);
    return false;
}

bool IsPad(uint32_t type) { return type >= RUNWAY && type <= LAST_PAD; }

bool HoldsLaunchGear(const AnnexEntry& e)
{
    return (e.typeCode == CATAPULT || e.typeCode == ELEVATOR) && e.state > AIR_STATE_OFF;
}
bool HoldsAirFacility(const AnnexEntry& e) { return e.state > AIR_STATE_OFF || e.long3 != 0; }
bool HoldsHangar(const AnnexEntry& e)
{
    return (e.typeCode == HANGAR || e.typeCode == OPEN_PARKING) && e.state >= AIR_STATE_DAMAGED;
}

}  // namespace

Facility::Facility() = default;

const FacilityAnnex* Facility::FindRecord() const
{
    const AnnexTable<FacilityAnnex>* const table = Annex::Tables().Facilities();
    return table != nullptr ? table->Find(GetAnnexID()) : nullptr;
}

uint16_t Facility::GetMaxDamagePoints() const
{
    const FacilityAnnex* const record = FindRecord();
    return record != nullptr ? record->damagePoints : static_cast<uint16_t>(damageTaken);
}

uint8_t Facility::GetByteForLetter(char letter) const
{
    const FacilityAnnex* const record = FindRecord();
    if (record == nullptr)
        return 0;
    switch (letter) {
    case 'A': case 'P': return record->bytes[0];
    case 'G': case 'S': return record->bytes[1];
    case 'U': case 'g': return record->bytes[2];
    case 'B': case 'F': return record->bytes[3];
    default: return 0;
    }
}

uint8_t Facility::GetFifthRecordByte() const
{
    const FacilityAnnex* const record = FindRecord();
    return record != nullptr ? record->bytes[4] : 0;
}

// The three aspect triples: visual, infrared, radar.
int16_t Facility::GetRadarSignature(int aspect) const { return static_cast<int16_t>(aspectValues[2].Get(aspect)); }
int16_t Facility::GetVisualSignature(int aspect) const { return static_cast<int16_t>(aspectValues[0].Get(aspect)); }
int16_t Facility::GetInfraredSignature(int aspect) const { return static_cast<int16_t>(aspectValues[1].Get(aspect)); }

int32_t Facility::GetDamagePercent() const
{
    if ((damageState & DESTROYED) != 0)
        return 100;
    return (damageState & DAMAGED) != 0 ? 50 : 0;
}

uint8_t Facility::GetSizeClass() const
{
    if (damagePoints < 6)
        return 1;
    if (damagePoints < 26)
        return 2;
    if (damagePoints < 126)
        return 4;
    return damagePoints < 626 ? 8 : 16;
}

Unit* Facility::FindAirBase() const
{
    if (GetParentID() == 0)
        return nullptr;
    Unit* const parent = gam2arena::FindUnit(GetParentID());
    return parent != nullptr && parent->GetTypeLetter() == 'B' ? parent : nullptr;
}

uint32_t Facility::GetMaxAircraftSize(bool first, bool second) const
{
    uint32_t pads = 0;
    uint32_t withCatapults = 0;
    for (const AnnexEntry* e = airFacilityList.First(); e != nullptr; e = e->GetNext()) {
        if (IsPad(e->typeCode)) {
            pads = std::max(pads, e->long2);
            withCatapults = std::max(withCatapults, e->long2);
        } else if (e->typeCode == CATAPULT) {
            withCatapults = std::max(withCatapults, e->long2);
        }
    }
    uint32_t answer = 0;
    if (first && second)
        answer = static_cast<uint32_t>(std::min(static_cast<int32_t>(pads), static_cast<int32_t>(withCatapults)));
    else if (first)
        answer = pads;
    else if (second)
        answer = withCatapults;
    if (answer == 0) {
        if (const Unit* const base = FindAirBase())
            answer = base->GetMaxAircraftSize(first, second);
    }
    return answer;
}

int32_t Facility::GetAircraftRoom(uint32_t flags) const
{
    uint32_t threshold = 0x80;
    uint32_t factor = 8;
    switch (flags & 0x0F000000) {
    case 0x01000000: threshold = 0x10; factor = 2; break;
    case 0x02000000: threshold = 0x20; factor = 3; break;
    case 0x04000000: threshold = 0x40; factor = 4; break;
    default: break;
    }
    uint32_t total = 0;
    for (const AnnexEntry* e = airFacilityList.First(); e != nullptr; e = e->GetNext()) {
        if (e->long2 >= threshold)
            total += e->byte1 / factor * factor;
    }
    uint32_t used = 0;
    for (const PlaneRec* r = planeRecs.First(); r != nullptr; r = r->GetNext()) {
        if (r->sizeFactor >= factor)
            used += uint32_t{r->count} * r->sizeFactor;
    }
    int32_t room = static_cast<int16_t>(static_cast<uint16_t>(total - used));
    room = std::clamp<int32_t>(room, 0, aircraftSpace[0]);
    return room / static_cast<int32_t>(factor);
}

void Facility::RecheckBit(uint32_t bit, bool (*holds)(const AnnexEntry&), void (Unit::*baseCheck)())
{
    for (const AnnexEntry* e = airFacilityList.First(); e != nullptr; e = e->GetNext()) {
        if (holds(*e))
            return;
    }
    ClearFlags(bit);
    if (Unit* const base = FindAirBase())
        (base->*baseCheck)();
}

void Facility::OnAction3()
{
    RecheckBit(UnitFlag::AIR_OPS_DAMAGE, &HoldsLaunchGear, &Unit::OnAction3);
}

void Facility::OnAction17()
{
    RecheckBit(UnitFlag::HANGAR_HIT, &HoldsHangar, &Unit::OnAction17);
}

void Facility::OnAction15()
{
    if (capabilityFlags == AIRFIELD && GetMaxAircraftSize(true, true) > 8)
        damageState &= ~DESTROYED;   // the airfield takes aircraft again
    RecheckBit(UnitFlag::AIRFIELD_HIT, &HoldsAirFacility, &Unit::OnAction15);
}

void Facility::UpdateBaseCapability() const
{
    if (auto* const base = dynamic_cast<Group*>(FindAirBase()))
        base->UpdateAircraftCapability();
}

void Facility::UpdateSensorReach()
{
    Unit::UpdateSensorReach();
    UpdateBaseCapability();
}

int32_t Facility::UpdateDataLink(Unit& other, int32_t range, uint8_t sight, uint8_t withinHorizon, uint16_t options)
{
    DatalinkRecord* const mine = datalinks.First();
    DatalinkRecord* const theirs = other.datalinks.First();
    if (other.GetTypeLetter() != TYPE_LETTER || other.GetSideID() != GetSideID() || mine == nullptr
        || theirs == nullptr)
        return Unit::UpdateDataLink(other, range, sight, withinHorizon, options);
    if (other.sideEntryID == sideEntryID)
        return 1;
    SideContacts* const into = gam2arena::FindSide(sideEntryID);
    SideContacts* const from = gam2arena::FindSide(other.sideEntryID);
    if (into == nullptr || from == nullptr)
        return 0;
    mine->AddLink(other.GetID());
    theirs->AddLink(GetID());
    PostOrDrop(MakeMergeUnitEntriesEvent(other.sideEntryID, sideEntryID));
    if (gam2arena::GetCurrentSide() == from)
        gam2arena::SetCurrentSide(into);
    SideRecord::AddUnit(*into, *this);
    return 1;
}

void Facility::CollectWeaponEntries(StockChain& chain, bool own)
{
    if (own) {
        Unit::CollectWeaponEntries(chain, false);
        return;
    }
    Unit* const parent = GetParentID() != 0 ? gam2arena::FindUnit(GetParentID()) : nullptr;
    if (parent != nullptr)
        parent->CollectWeaponEntries(chain, false);
    else
        CollectWeaponEntries(chain, true);
}

void Facility::DeriveCapability()
{
    uint32_t word = 0;
    for (const AnnexEntry* e = airFacilityList.First(); e != nullptr; e = e->GetNext()) {
        if (e->typeCode == RUNWAY || e->typeCode == RUNWAY_2)
            word |= 0x20;
        else if (e->typeCode == HANGAR)
            word |= e->thirdCode <= 2 ? 0x40 : 0x80;
        else if (e->typeCode == OPEN_PARKING && planeRecs.First() != nullptr)
            word |= 0x100;
    }
    const int32_t code = static_cast<int32_t>(facilityCode2);
    if (fuelTanks.First() == nullptr && mounts.First() != nullptr)
        word |= code < 2 ? 0x100 : 0x200;
    else
        word |= code > 2 ? 0x80 : 0x40;
    capabilityFlags = word;
}

void Facility::SetSymbolKind()
{
    bool pad = false, hangar = false, parking = false;
    for (const AnnexEntry* e = airFacilityList.First(); e != nullptr; e = e->GetNext()) {
        pad = pad || IsPad(e->typeCode);
        hangar = hangar || e->typeCode == HANGAR;
        parking = parking || e->typeCode == OPEN_PARKING;
    }
    uint16_t kind = SYMBOL_OTHER;
    if (pad)
        kind = SYMBOL_AIRFIELD;
    else if (hangar)
        kind = SYMBOL_HANGAR;
    else if (parking)
        kind = SYMBOL_PARKING;
    else if (fuelTanks.First() != nullptr)
        kind = SYMBOL_DEPOT;
    else if (mounts.First() != nullptr)
        kind = SYMBOL_ARMED;
    else if (sensors.First() != nullptr || datalinks.Find(2) != nullptr)
        kind = SYMBOL_SENSOR;
    SetStateFlags(static_cast<uint16_t>((GetStateFlags() & ~SYMBOL_BITS) | kind));
}

void Facility::AddGroundHeight()
{
    const int16_t ground = Nav2Game::GetAltitudeAt(GetPosition());
    if (ground >= 0)
        height = static_cast<int16_t>(height + ground);
}

void Facility::SetPositionRebased(const LatLonPoint& point)
{
    int32_t h = height - std::max<int16_t>(PositionObject::GetAltitude(), 0);
    Unit::SetPosition(point);
    const int16_t ground = Nav2Game::GetAltitudeAt(point);
    if (ground > 0)
        h += ground;
    height = static_cast<int16_t>(h);
}

void Facility::TryMoveTo(const LatLonPoint& point)
{
    ClearPath();
    if (!Nav2Game::IsLandAt(point))
        return;
    SetPositionRebased(point);
    UpdateXY();
}

void Facility::SetPath(PositionNode* first)
{
    delete first;   // taken over and dropped: a facility has no path
}

void Facility::UpdateLabel()
{
    SetNameLabel();
}

void Facility::GetStatus(UnitStatus& status) const
{
    ClearUnitStatus(status);
    int line = 0;
    constexpr size_t SIZE = UnitStatus::LINE_SIZE;
    auto put = [&status, &line](const char* text) {
        if (line < UnitStatus::LINE_COUNT)
            std::snprintf(status.lines[line++], SIZE, "%.32s", text);
    };
    char text[SIZE * 2] = {};
    put(gam2side::GetBaseName(GetSideID()));
    put(GetName().Text());
    CopyResourceText(CAPTION_TEXT, text, static_cast<int32_t>(SIZE));
    put(text);
    std::snprintf(text, sizeof text, "%d%%", static_cast<int>(GetSeenDamagePercent()));
    put(text);
    CopyResourceText(HasActiveEmitter() ? STATUS_EMITTING_TEXT : STATUS_SILENT_TEXT, text, static_cast<int32_t>(SIZE));
    put(text);
    if (const char* info = gam2side::GetUnitMissionInfo(GetID()))
        put(info);
    char sizeName[SIZE] = {};
    DBEnum::GetAircraftSizeName(GetMaxAircraftSize(true, false), sizeName);
    put(sizeName);
    line = PutWeatherLines(status, line, GetPosition());
    std::snprintf(text, sizeof text, "%u/%u", unsigned{planeRecs.CountReadyAircraft()},
                  unsigned{planeRecs.CountAircraft()});
    put(text);
    std::snprintf(text, sizeof text, "%u", unsigned{GetBestLinkRange(true)});
    put(text);
    std::snprintf(text, sizeof text, "%u", unsigned{GetBestLinkRange(false)});
    put(text);
    if (line < UnitStatus::LINE_COUNT)
        GetConditionText(status.lines[line++], static_cast<int32_t>(SIZE));
    status.lineCount = static_cast<uint16_t>(line);
}

void Facility::SaveFields(std::ostream& out) const
{
    SaveField(out, static_cast<uint8_t>(TYPE_LETTER));
    SaveField(out, GetID());
    airFacilityList.Save(out);
    planeRecs.Save(out);
    SaveField(out, GetAnnexID());
    GetName().Save(out);
    SaveField(out, aircraftSpace[0]);
    SaveField(out, aircraftSpace[1]);
    SaveField(out, capabilityFlags);
    SaveField(out, facilityCode2);
    SaveField(out, facilityCode1);
    SaveField(out, damageTaken);
    SaveField(out, damagePoints);
    SaveField(out, damageState);
    SaveUnitRecord(out);
}

bool Facility::LoadFields(std::istream& in)
{
    // Read into a fresh facility first, so that a damaged record leaves this
    // one as it was.
    Facility read;
    uint16_t id = 0;
    uint16_t annex = 0;
    NameString name;
    LoadField(in, id);
    if (!in || !read.airFacilityList.Load(in) || !read.planeRecs.Load(in))
        return RefuseRecord(in);
    LoadField(in, annex);
    name.Load(in);
    LoadField(in, read.aircraftSpace[0]);
    LoadField(in, read.aircraftSpace[1]);
    LoadField(in, read.capabilityFlags);
    LoadField(in, read.facilityCode2);
    LoadField(in, read.facilityCode1);
    LoadField(in, read.damageTaken);
    LoadField(in, read.damagePoints);
    if (gAdmin == nullptr || HasDamageState(gAdmin->GetFileVersion()))
        LoadField(in, read.damageState);
    if (!in)
        return RefuseRecord(in);
    // The unit's part goes straight into this facility: LoadUnitRecord reads
    // into a unit outside every list, and the caller discards it on failure.
    datalinks.DeleteAll();
    if (!LoadUnitRecord(in))
        return RefuseRecord(in);
    airFacilityList.DeleteAll();
    while (AnnexEntry* e = read.airFacilityList.First()) {
        read.airFacilityList.Remove(e);
        airFacilityList.Insert(e);
    }
    planeRecs.DeleteAll();
    while (PlaneRec* r = read.planeRecs.First()) {
        read.planeRecs.Remove(r);
        planeRecs.Insert(r);
    }
    SetAnnexID(annex);
    SetName(name.Text());
    aircraftSpace[0] = read.aircraftSpace[0];
    aircraftSpace[1] = read.aircraftSpace[1];
    capabilityFlags = read.capabilityFlags;
    facilityCode2 = read.facilityCode2;
    facilityCode1 = read.facilityCode1;
    damageTaken = read.damageTaken;
    damagePoints = read.damagePoints;
    damageState = read.damageState;
    recentDamage = 0;

    const int16_t ground = std::max<int16_t>(Nav2Game::GetAltitudeAt(GetPosition()), 0);
    PositionObject::SetAltitude(ground);
    const FacilityAnnex* const record = FindRecord();
    height = static_cast<int16_t>(ground + (record != nullptr ? record->height : 0));
    if (record == nullptr || record->height == 0)
        ++height;
    // More links than the land line: the facility links side records.
    const DatalinkRecord* const first = datalinks.First();
    if (first != nullptr && first->GetNext() != nullptr)
        SetFlags(UnitFlag::LINKS_RECORDS);
    else
        ClearFlags(UnitFlag::LINKS_RECORDS);
    UpdateBaseCapability();
    return true;
}

namespace {

Unit* MakeFacility()
{
    return new Facility;
}

}  // namespace

void RegisterFacilityClass()
{
    UnitFactory::Register(Facility::TYPE_LETTER, &MakeFacility);
}
