// MissionEdit.cpp: a mission's side of the mission edit: the edit copies of
// its units, aircraft references and settings, the lists the editor reads
// and writes, deletion in the editor, and the commit or cancel steps the ops
// staff runs in order (OpsStaffEdit.cpp).
#include <cstring>
#include <string>
#include <vector>

#include "core/Chain.h"
#include "core/CommandMessage.h"
#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StringNode.h"
#include "core/gam2arena.h"
#include "missions/MissionAircraftCalls.h"
#include "missions/MissionRecord.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"
#include "world/Game2UI2.h"

namespace {

// Message class of the editor's notice to the player.
constexpr uint16_t EDIT_MESSAGE_CLASS = 0x20;
// Put before the name of a mission whose start is delayed in the mission list.
constexpr const char* DELAYED_MARK = "[D]";

// Units the editor shows by their own name alone.
bool IsNamedAlone(char letter) { return letter == 'G' || letter == 'g' || letter == 'A' || letter == 'B' || letter == 'F'; }

// Whether the unit exists and is of the player's current side.
bool IsOfCurrentSide(uint16_t unitID)
{
    const Unit* const unit = gam2arena::FindUnit(unitID);
    return unit && unit->GetSideID() == Game2UI2::GetCurrentSideID();
}

// A reference the player may move: not released, held by a unit of the
// current side.
bool IsOwnReference(const PlaneRecRef& reference)
{
    return !reference.released && IsOfCurrentSide(reference.holderID);
}

// Copies every reference of `from` into `to`, keys kept.
void CopyReferences(const PlaneRecRefList& from, PlaneRecRefList& to)
{
    for (const PlaneRecRef* reference = from.First(); reference; reference = reference->GetNext())
        to.Insert(new PlaneRecRef(*reference));
}

// The editor's line of one unit.
std::string UnitLine(const Unit& unit)
{
    if (IsNamedAlone(unit.GetTypeLetter()))
        return unit.GetName().Text();
    return std::string(unit.GetClassName().Text()) + " " + unit.GetName().Text();
}

} // namespace

void MissionRecord::BeginEdit()
{
    deletedMark = 0;
    editUnits.DeleteAll();

    auto* const settings = new MissionNameRecord;
    settings->settingCode = settingCode;
    settings->flagBits = missionFlags & MissionFlag::SETTING_BITS;
    for (int i = 0; i < 4; ++i) {
        settings->settingValues[i] = settingGroup1[i];
        settings->settingValues[4 + i] = settingGroup2[i];
        settings->settingValues[8 + i] = settingGroup3[i];
    }
    delete editSettings;
    editSettings = settings;

    // Units that follow a leader go with it and are not offered.
    for (const MissionUnitRec* record = units.First(); record; record = record->GetNext()) {
        if (record->leaderID == 0)
            editUnits.Insert(new MissionUnitRec(record->GetUnitID()));
    }
    if (!editPlaneRefs.First())
        CopyReferences(planeRefs, editPlaneRefs);
}

StringNode* MissionRecord::ListEntry() const
{
    std::string text = (missionFlags & MissionFlag::DELAYED_START) ? DELAYED_MARK : "";
    text += name ? name : "";
    return new StringNode(text.c_str(), GetID());
}

CommandMessage* MissionRecord::ListEditUnits()
{
    if (deletedMark)
        return nullptr;
    auto* const entries = new Chain<StringNode>;
    for (MissionUnitRec* record = editUnits.First(); record; record = record->GetNext()) {
        const Unit* const unit = gam2arena::FindUnit(record->GetUnitID());
        if (!unit || unit->GetSideID() != Game2UI2::GetCurrentSideID() || record->state == EDIT_OFFERED)
            continue;
        record->state = EDIT_OFFERED;
        entries->Append(new StringNode(UnitLine(*unit).c_str(), record->GetUnitID()));
    }
    for (const PlaneRecRef* reference = editPlaneRefs.First(); reference; reference = reference->GetNext()) {
        if (IsOwnReference(*reference)) {
            const std::string line = ResourceString(AIRCRAFT_LINE_TEXT) + std::to_string(CountAircraft()) +
                                     ResourceString(AIRCRAFT_LINE_END_TEXT);
            entries->Append(new StringNode(line.c_str(), 0));
            break;
        }
    }
    auto* const message = new CommandMessage(0, 0, 0, 0, nullptr, nullptr);
    message->AddTextList(entries);
    return message;
}

void MissionRecord::SetEditUnits(CommandMessage* message)
{
    if (!message)
        return;
    message->FirstArgument();
    if (const Chain<StringNode>* const entries = message->GetNextTextList()) {
        for (const StringNode* entry = entries->First(); entry; entry = entry->GetNext()) {
            // Unit ids are 16 bits; the aircraft line (0) and anything else
            // name no unit.
            const intptr_t id = entry->GetValue();
            if (id <= 0 || id > 0xFFFF)
                continue;
            const auto unitID = static_cast<uint16_t>(id);
            if (MissionUnitRec* const record = editUnits.Find(unitID))
                record->state = EDIT_ASSIGNED;
            else
                editUnits.Insert(new MissionUnitRec(unitID));
        }
    }
    delete message;
}

PlaneRecRefList* MissionRecord::CopyOwnAircraft()
{
    if (!editPlaneRefs.First())
        CopyReferences(planeRefs, editPlaneRefs);
    if (!editPlaneRefs.First())
        return nullptr;
    CompressReferences(editPlaneRefs);
    auto* const copies = new PlaneRecRefList;
    for (const PlaneRecRef* reference = editPlaneRefs.First(); reference; reference = reference->GetNext()) {
        if (IsOwnReference(*reference))
            copies->Insert(new PlaneRecRef(*reference));
    }
    return copies;
}

void MissionRecord::ApplyAircraftList(PlaneRecRefList* list, PlaneRecRefList* standingCopy)
{
    MergeAircraftList(list, standingCopy, false);
}

void MissionRecord::ApplyAircraftListChecked(PlaneRecRefList* list, PlaneRecRefList* standingCopy)
{
    if (!MergeAircraftList(list, standingCopy, true)) {
        const std::string text =
            ResourceString(NOTHING_GIVEN_TEXT) + (name ? name : "") + ResourceString(NOTHING_GIVEN_END_TEXT);
        ui2game::PostGameMessage(0, 0, text.c_str(), EDIT_MESSAGE_CLASS, ' ');
    }
}

bool MissionRecord::MergeAircraftList(PlaneRecRefList* list, PlaneRecRefList* standingCopy, bool checked)
{
    if (!list || !standingCopy) {
        delete list;
        return true;   // nothing asked of the player
    }
    if (!editPlaneRefs.First())
        CopyReferences(planeRefs, editPlaneRefs);
    bool changed = false;
    while (PlaneRecRef* const reference = list->First()) {
        list->Remove(reference);
        PlaneRecRef* const own = editPlaneRefs.Find(reference->GetKey());
        if (!own) {
            auto* const copy = new PlaneRecRef(*reference);
            copy->SetKey(editPlaneRefs.NewKey());
            editPlaneRefs.Insert(copy);
            changed = true;
        } else {
            own->count = reference->count;
            own->loadoutID = reference->loadoutID;
            if (reference->released) {
                own->released = 1;
                changed = true;
            }
        }
        if (!reference->released) {
            delete reference;
            continue;
        }
        // The released aircraft go to the standing mission's copy.
        reference->SetKey(standingCopy->NewKey());
        reference->released = 0;
        if (!checked) {
            reference->refState = PlaneRecRef::HELD;
            unit2gam::RemoveMissionEvents(reference->holderID, reference->recordID);
        }
        standingCopy->Insert(reference);
    }
    delete list;
    CompressReferences(editPlaneRefs);
    return changed;
}

void MissionRecord::DeleteInEdit(MissionRecord* standing)
{
    if (!standing || standing == this)
        return;
    deletedMark = 1;
    for (MissionUnitRec* record = editUnits.First(); record; record = record->GetNext()) {
        if (record->state != EDIT_ASSIGNED)
            continue;
        record->state = EDIT_OFFERED;
        if (MissionUnitRec* const held = standing->editUnits.Find(record->GetUnitID())) {
            held->state = EDIT_ASSIGNED;
        } else {
            auto* const copy = new MissionUnitRec(*record);
            copy->state = EDIT_ASSIGNED;
            standing->editUnits.Insert(copy);
        }
    }
    if (PlaneRecRefList* const own = CopyOwnAircraft()) {
        for (PlaneRecRef* reference = own->First(); reference; reference = reference->GetNext())
            reference->released = 1;
        ApplyAircraftList(own, standing->GetEditReferences());
    }
}

char* MissionRecord::CopySavedName() const
{
    const char* const source = savedName ? savedName : "";
    const size_t length = std::strlen(source);
    char* const copy = new char[length + 1];
    std::memcpy(copy, source, length + 1);
    return copy;
}

void MissionRecord::ClearEditReferences() { editPlaneRefs.DeleteAll(); }

void MissionRecord::CancelEdit()
{
    editUnits.DeleteAll();
    deletedMark = 0;
    DropEditSettings();
}

void MissionRecord::ReturnAircraftToStanding(MissionRecord* standing)
{
    if (!standing || standing == this || !editPlaneRefs.First())
        return;
    missionFlags &= ~MissionFlag::AIRCRAFT_WAIT;
    while (PlaneRecRef* const reference = planeRefs.First()) {
        planeRefs.Remove(reference);
        reference->SetKey(standing->planeRefs.NewKey());
        standing->planeRefs.Insert(reference);
    }
}

void MissionRecord::TakeEditedAircraft(MissionRecord* standing)
{
    if (!standing || standing == this)
        return;
    bool committed = false;
    while (PlaneRecRef* const edit = editPlaneRefs.First()) {
        editPlaneRefs.Remove(edit);
        PlaneRecRef* const held = edit->released || edit->count == 0
                                      ? nullptr
                                      : standing->FindReference(edit->holderID, edit->recordID);
        // Split gives none when the standing mission holds fewer aircraft.
        if (PlaneRecRef* const taken = held ? held->Split(*edit) : nullptr) {
            taken->SetKey(planeRefs.NewKey());
            planeRefs.Insert(taken);
            CommitReference(taken);
            committed = true;
        }
        delete edit;
    }
    if (committed)
        OnAircraftCommitted();
}

void MissionRecord::ReleaseEditUnits(MissionRecord* standing)
{
    if (!standing || standing == this)
        return;
    // Moving a group takes its members along: decide first, then move.
    std::vector<uint16_t> leaving;
    for (const MissionUnitRec* record = units.First(); record; record = record->GetNext()) {
        const MissionUnitRec* const edit = editUnits.Find(record->GetUnitID());
        if (edit && (deletedMark || edit->state == EDIT_OFFERED))
            leaving.push_back(record->GetUnitID());
    }
    for (const uint16_t unitID : leaving) {
        if (MissionUnitRec* const edit = editUnits.Find(unitID)) {
            editUnits.Remove(edit);
            delete edit;
        }
        MissionUnitRec* const record = ExtractUnit(unitID);
        if (!record)
            continue;
        const bool formation = record->isFormation != 0;
        standing->AdoptUnit(record);
        if (formation)
            MoveGroupMembers(unitID, standing);
    }
    MissionUnitRec* next = nullptr;
    for (MissionUnitRec* edit = editUnits.First(); edit; edit = next) {
        next = edit->GetNext();
        if (edit->state == EDIT_OFFERED) {
            editUnits.Remove(edit);
            delete edit;
        }
    }
}

void MissionRecord::CommitEditUnits(MissionRecord* standing)
{
    std::vector<uint16_t> joining;
    for (const MissionUnitRec* edit = editUnits.First(); edit; edit = edit->GetNext()) {
        if (edit->state == EDIT_OFFERED) {
            FatalError(ResourceString(EDIT_STATE_TEXT).c_str());
            continue;
        }
        if (!units.Find(edit->GetUnitID()))
            joining.push_back(edit->GetUnitID());
    }
    editUnits.DeleteAll();
    bool joined = false;
    for (const uint16_t unitID : joining) {
        MissionUnitRec* const record = standing && standing != this ? standing->ExtractUnit(unitID) : nullptr;
        if (!record)
            continue;
        const bool formation = record->isFormation != 0;
        if (GetID() == STANDING_MISSION2_ID)   // the holding mission does not restart its units
            AdoptUnitQuietly(record);
        else
            AdoptUnit(record);
        if (formation)
            standing->MoveGroupMembers(unitID, this);
        joined = true;
    }
    if (joined)
        OnUnitsChanged();
    if (!deletedMark && editSettings)
        ApplySettings(*editSettings);
    DropEditSettings();
}

void MissionRecord::FinishEditAircraft()
{
    editPlaneRefs.DeleteAll();
    CompressReferences(planeRefs);
    PlaneRecRef* next = nullptr;
    for (PlaneRecRef* reference = planeRefs.First(); reference; reference = next) {
        next = reference->GetNext();
        if (reference->count == 0) {
            planeRefs.Remove(reference);
            delete reference;
            continue;
        }
        if (PlaneRec* const record = FindAircraftRecord(reference->holderID, reference->recordID)) {
            if (record->missionID != GetID())
                record->SetMissionID(GetID(), false);
            record->SetReadyState(reference->loadoutID, false, PlaneRec::READY_VALUE);
        }
    }
}
