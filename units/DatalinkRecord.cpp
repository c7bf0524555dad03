// DatalinkRecord.cpp: a communications channel: building it from its comm.dat
// record, its links and their tests, and its saved form.
#include "units/DatalinkRecord.h"

#include <istream>
#include <ostream>
#include <vector>

#include "annex/AnnexTables.h"
#include "core/StreamFields.h"
#include "units/Unit.h"

namespace {

constexpr uint8_t MOST_LINKS = 0xFF;   // the count is one byte

// Whether a unit is at the surface or above (weapons aside, a unit below it
// links to nothing).
bool AtOrAboveSurface(const Unit& unit)
{
    return unit.PositionObject::GetAltitude() >= 0;
}

bool IsWeapon(const Unit& unit)
{
    return unit.GetTypeLetter() == 'W';
}

bool OpenOrFull(const DatalinkRecord& record)
{
    return record.GetState() == DatalinkRecord::STATE_OPEN || record.GetState() == DatalinkRecord::STATE_FULL;
}

// Sets a record that a forced link filled back to open.
void ReopenWhenFull(DatalinkRecord& record)
{
    if (record.GetState() == DatalinkRecord::STATE_FULL)
        record.linkState = DatalinkRecord::STATE_OPEN;
}

}  // namespace

DatalinkRecord* DatalinkRecord::FromCommRecord(uint16_t commID)
{
    auto* record = new DatalinkRecord();
    const AnnexTable<CommAnnex>* table = Annex::Tables().Comms();
    const CommAnnex* comm = table != nullptr ? table->Find(commID) : nullptr;
    if (comm == nullptr)
        return record;
    record->channelKind = comm->commType;
    record->channelFlags = comm->flags;
    record->auxWord = commID;
    record->linkRange = comm->range;
    record->maxLinks = comm->byteValue;
    return record;
}

void DatalinkRecord::SetState(uint32_t state)
{
    linkState = state;
    if (state != STATE_FULL && state != STATE_OPEN) {
        links.DeleteAll();
        linkCount = 0;
    }
}

void DatalinkRecord::AddLink(uint16_t unitID)
{
    if (HoldsLink(unitID))
        return;
    links.Insert(new IDNode(unitID));
    if (linkCount < MOST_LINKS)
        ++linkCount;
    if (linkCount == maxLinks)
        linkState = STATE_FULL;
    if ((channelFlags & FLAG_NEEDS_LINK_FLAG) != 0)
        channelFlags |= FLAG_IN_USE;
}

void DatalinkRecord::DropLink(uint16_t unitID)
{
    IDNode* const node = links.Find(unitID);
    if (node == nullptr)
        return;
    links.Remove(node);
    delete node;
    if (linkCount > 0)
        --linkCount;
    linkState = STATE_OPEN;
    if ((channelFlags & FLAG_NEEDS_LINK_FLAG) != 0 && links.First() == nullptr)
        channelFlags &= ~FLAG_IN_USE;
}

bool DatalinkRecord::AdmitsUnit(const Unit& unit) const
{
    return (channelFlags & FLAG_NEEDS_LINK_FLAG) == 0 || unit.TestFlags(UnitFlag::DATA_LINK);
}

bool DatalinkRecord::AcceptsLinkFrom(const DatalinkRecord& from, const Unit& b, int32_t distance) const
{
    return channelKind == from.channelKind && (channelFlags & from.channelFlags & FLAG_EXCLUSIVE) == 0
           && (from.channelKind != KIND_GROUPED || (channelFlags & from.channelFlags & FLAG_GROUPS) != 0)
           && linkState == STATE_OPEN && distance <= int32_t{linkRange} && AdmitsUnit(b);
}

bool DatalinkRecord::Connect(Unit& a, Unit& b, int32_t distance, int32_t /*sight*/, int32_t /*spare*/,
                             bool force)
{
    if (force) {
        DatalinkRecord* const other = b.datalinks.First();
        if (other == nullptr)
            return false;
        AddLink(b.GetID());
        other->AddLink(a.GetID());
        ReopenWhenFull(*this);
        ReopenWhenFull(*other);
        return true;
    }
    const bool depthAllows = IsWeapon(b) || (AtOrAboveSurface(a) && AtOrAboveSurface(b));
    for (DatalinkRecord* own = this; own != nullptr; own = own->GetNext()) {
        if (own->linkState != STATE_OPEN || !own->AdmitsUnit(a) || distance > int32_t{own->linkRange}
            || !depthAllows)
            continue;
        for (DatalinkRecord* other = b.datalinks.First(); other != nullptr; other = other->GetNext()) {
            if (other->AcceptsLinkFrom(*own, b, distance)) {
                other->AddLink(a.GetID());
                own->AddLink(b.GetID());
                return true;
            }
        }
    }
    return false;
}

bool DatalinkRecord::CheckLink(Unit& a, Unit& b, int32_t distance, int32_t /*sight*/, int32_t /*spare*/,
                               bool keep)
{
    if (b.GetID() != a.attachedID)
        return false;
    DatalinkRecord* own = this;
    while (own != nullptr && !own->HoldsLink(b.GetID()))
        own = own->GetNext();
    if (own == nullptr)
        return false;
    DatalinkRecord* other = b.datalinks.First();
    while (other != nullptr && !other->HoldsLink(a.GetID()))
        other = other->GetNext();
    if (other == nullptr) {
        own->DropLink(b.GetID());
        return false;
    }
    const bool holds = keep
                       || (OpenOrFull(*own) && OpenOrFull(*other) && own->AdmitsUnit(a) && other->AdmitsUnit(b)
                           && distance <= int32_t{own->linkRange}
                           && (IsWeapon(a) || (AtOrAboveSurface(a) && AtOrAboveSurface(b))));
    if (holds)
        return true;
    other->DropLink(a.GetID());
    own->DropLink(b.GetID());
    return false;
}

void DatalinkRecord::Save(std::ostream& out) const
{
    SaveKey(out);
    SaveField(out, linkState);
    SaveField(out, channelKind);
    SaveField(out, auxWord);
    SaveField(out, linkRange);
    SaveField(out, maxLinks);
    SaveField(out, linkCount);
    links.Save(out);
    SaveField(out, channelFlags);
}

bool DatalinkRecord::Load(std::istream& in)
{
    LoadKey(in);
    LoadField(in, linkState);
    LoadField(in, channelKind);
    LoadField(in, auxWord);
    LoadField(in, linkRange);
    LoadField(in, maxLinks);
    LoadField(in, linkCount);
    if (!in || !links.Load(in))
        return false;
    LoadField(in, channelFlags);
    return static_cast<bool>(in);
}

void BuildCommList(DatalinkList& list, const IDList& ids)
{
    std::vector<DatalinkRecord*> built;
    for (const IDNode* id = ids.First(); id != nullptr; id = id->GetNext())
        built.push_back(DatalinkRecord::FromCommRecord(id->GetKey()));
    // Records without flag 0x1 first: they are the ones every unit can use.
    for (const bool flagged : {false, true}) {
        for (DatalinkRecord* record : built) {
            if (((record->channelFlags & DatalinkRecord::FLAG_NEEDS_LINK_FLAG) != 0) != flagged)
                continue;
            record->SetKey(list.NewKey());
            list.Insert(record);
        }
    }
}

void AddLandLine(DatalinkList& list)
{
    auto* line = new DatalinkRecord(DatalinkRecord::KIND_NO_REACH);
    line->SetKey(1);
    line->linkRange = DatalinkRecord::LAND_LINE_RANGE;
    line->maxLinks = 0;
    list.Insert(line);
}
