// PlaneRecRef.cpp: the aircraft reference record, its copies, split and saved
// form.
#include "missions/PlaneRecRef.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"

namespace {

constexpr uint32_t SECONDS_PER_MINUTE = 60;

void CopySubstitutions(const NavIDList& from, NavIDList& to)
{
    for (const NavIDNode* node = static_cast<const NavIDNode*>(from.First()); node; node = node->GetNext())
        to.Insert(new NavIDNode(node->GetKey(), node->GetValue()));
}

}  // namespace

PlaneRecRef::PlaneRecRef(const PlaneRec& record, uint16_t key)
    : TreeListNode<PlaneRecRef>(key),
      holderID(record.unitID),
      recordID(record.GetKey()),
      count(record.count),
      loadoutID(record.loadoutID),
      recordFlags(record.flags & RECORD_FLAG_MASK),
      recordWord(record.spare16)
{
    CopySubstitutions(record.substitutions, substitutions);
    const uint32_t now = gam2arena::GetGameTime();
    if (!record.HasFlags(PlaneRec::READY_FLAGS) && record.readyTime > now) {
        const uint32_t minutes = (record.readyTime - now) / SECONDS_PER_MINUTE;
        readyMinutes = static_cast<uint16_t>(minutes > 0xFFFF ? 0xFFFF : minutes);
    }
}

PlaneRecRef::PlaneRecRef(const PlaneRecRef& other)
    : TreeListNode<PlaneRecRef>(other),
      holderID(other.holderID),
      recordID(other.recordID),
      count(other.count),
      loadoutID(other.loadoutID),
      released(other.released),
      recordFlags(other.recordFlags),
      orderState(other.orderState),
      orderTarget(other.orderTarget),
      orderValue(other.orderValue),
      refState(other.refState),
      recordWord(other.recordWord),
      readyMinutes(other.readyMinutes)
{
    CopySubstitutions(other.substitutions, substitutions);
}

void PlaneRecRef::Save(std::ostream& out) const
{
    SaveField(out, GetKey());
    SaveField(out, holderID);
    SaveField(out, recordID);
    SaveField(out, count);
    SaveField(out, loadoutID);
    SaveField(out, released);
    SaveField(out, recordFlags);
    SaveField(out, orderState);
    SaveField(out, orderTarget);
    SaveField(out, orderValue);
    SaveField(out, refState);
}

void PlaneRecRef::Load(std::istream& in)
{
    uint16_t key = 0;
    LoadField(in, key);
    LoadField(in, holderID);
    LoadField(in, recordID);
    LoadField(in, count);
    LoadField(in, loadoutID);
    LoadField(in, released);
    LoadField(in, recordFlags);
    LoadField(in, orderState);
    LoadField(in, orderTarget);
    LoadField(in, orderValue);
    LoadField(in, refState);
    if (in)
        SetKey(key);
}

PlaneRecRef* PlaneRecRef::Split(const PlaneRecRef& other)
{
    if (other.count > count)
        return nullptr;
    count = static_cast<uint8_t>(count - other.count);
    return new PlaneRecRef(other);
}

PlaneRec* PlaneRecRef::GetPlaneRec() const
{
    Unit* const holder = gam2arena::FindUnit(holderID);
    PlaneRecList* const list = holder ? holder->GetPlaneRecList() : nullptr;
    return list ? list->Find(recordID) : nullptr;
}

void PlaneRecRef::SetOrder(uint16_t state, uint16_t target, uint32_t value)
{
    orderState = state;
    orderTarget = target;
    orderValue = value;
}
