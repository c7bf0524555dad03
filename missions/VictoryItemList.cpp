// VictoryItemList.cpp: the owned list of victory items: adding with merge,
// lookups, removal, pruning against the arena's units, description and the
// saved form with its tag-driven loader.
#include "missions/VictoryItemList.h"

#include <functional>
#include <istream>
#include <ostream>
#include <string_view>
#include <utility>

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "missions/UnitClassLossRecord.h"
#include "missions/UnitPairRecord.h"
#include "missions/VictoryItem.h"
#include "missions/ViolationRecord.h"
#include "units/Unit.h"
#include "units/UnitList.h"

namespace {
// Whether items of the tag merge with equal ones when added.
bool Merges(uint8_t tag)
{
    return tag == VictoryTag::UNIT || tag == VictoryTag::CLASS_LOSS || tag == VictoryTag::VIOLATION ||
           tag == VictoryTag::UNIT_PAIR || tag == VictoryTag::UNIT_VALUES;
}

// Folds a value into a running hash.
uint64_t Mix(uint64_t hash, uint64_t value)
{
    return (hash ^ value) * 0x100000001B3ull;
}

uint64_t Mix(uint64_t hash, const NameString& name)
{
    return Mix(hash, std::hash<std::string_view>{}(name.Text()));
}

// A hash of what the equality of a merging item compares: equal items have
// equal keys.
uint64_t MergeKey(const VictoryItem& item)
{
    const uint64_t hash = Mix(0xCBF29CE484222325ull, item.GetTag());
    switch (item.GetTag()) {
    case VictoryTag::UNIT: {
        const auto& unit = static_cast<const UnitItem&>(item);
        return Mix(Mix(hash, unit.GetUnitID()), unit.GetName());
    }
    case VictoryTag::CLASS_LOSS: {
        const auto& loss = static_cast<const UnitClassLossRecord&>(item);
        return Mix(Mix(hash, loss.GetTypeLetter()), loss.GetRecordID());
    }
    case VictoryTag::VIOLATION: {
        const auto& violation = static_cast<const ViolationRecord&>(item);
        return Mix(Mix(Mix(hash, violation.GetSideID()), violation.GetViolatorName()), violation.GetVictimName());
    }
    case VictoryTag::UNIT_PAIR: {
        const auto& pair = static_cast<const UnitPairRecord&>(item);
        return Mix(Mix(Mix(hash, pair.GetEventCode()), pair.GetActorName()), pair.GetOtherName());
    }
    case VictoryTag::UNIT_VALUES: {
        const auto& values = static_cast<const UnitValuesItem&>(item);
        return Mix(Mix(hash, values.GetUnitID()), values.GetName());
    }
    default: return hash;
    }
}

// Whether two items of one merging tag are equal as that kind defines it.
bool AreEqual(const VictoryItem& held, const VictoryItem& item)
{
    if (held.GetTag() != item.GetTag())
        return false;
    switch (item.GetTag()) {
    case VictoryTag::UNIT:
        return static_cast<const UnitItem&>(held).IsEqual(static_cast<const UnitItem&>(item));
    case VictoryTag::CLASS_LOSS:
        return static_cast<const UnitClassLossRecord&>(held).IsSameClass(
            static_cast<const UnitClassLossRecord&>(item));
    case VictoryTag::VIOLATION:
        return static_cast<const ViolationRecord&>(held).IsEqual(static_cast<const ViolationRecord&>(item));
    case VictoryTag::UNIT_PAIR:
        return static_cast<const UnitPairRecord&>(held).IsSame(static_cast<const UnitPairRecord&>(item));
    case VictoryTag::UNIT_VALUES:
        return static_cast<const UnitValuesItem&>(held).IsEqual(static_cast<const UnitValuesItem&>(item));
    default: return false;
    }
}

// A new item of the tag, read from the stream after its tag byte; null for
// a tag no class has.
VictoryItem* ReadItem(uint8_t tag, std::istream& in)
{
    switch (tag) {
    case VictoryTag::PLATFORM_KIND: return new PlatformKindItem(in);
    case VictoryTag::UNIT_NAME: return new UnitNameItem(in);
    case VictoryTag::UNIT: return new UnitItem(in);
    case VictoryTag::UNIT_TYPE: return new UnitTypeItem(in);
    case VictoryTag::CLASS_LOSS: return new UnitClassLossRecord(in);
    case VictoryTag::VIOLATION: return new ViolationRecord(in);
    case VictoryTag::UNIT_PAIR: return new UnitPairRecord(in);
    case VictoryTag::UNIT_VALUES: return new UnitValuesItem(in);
    default: return nullptr;
    }
}
}  // namespace

VictoryItemList::VictoryItemList(std::istream& in)
{
    Load(in);
}

VictoryItemList::~VictoryItemList()
{
    Clear();
}

void VictoryItemList::Clear()
{
    for (VictoryItem* item : items)
        delete item;
    items.clear();
    mergeIndex.clear();
}

void VictoryItemList::Unindex(const VictoryItem* item)
{
    if (!Merges(item->GetTag()))
        return;
    const auto [from, to] = mergeIndex.equal_range(MergeKey(*item));
    for (auto at = from; at != to; ++at) {
        if (at->second == item) {
            mergeIndex.erase(at);
            return;
        }
    }
}

VictoryItem* VictoryItemList::Get(int32_t index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return items[static_cast<size_t>(index)];
}

void VictoryItemList::Add(VictoryItem* item)
{
    if (item == nullptr)
        return;
    if (Merges(item->GetTag())) {
        const uint64_t key = MergeKey(*item);
        const auto [from, to] = mergeIndex.equal_range(key);
        for (auto at = from; at != to; ++at) {
            VictoryItem* const held = at->second;
            if (!AreEqual(*held, *item))
                continue;
            // Equal items can only be held once, so this is the first one.
            if (item->GetTag() == VictoryTag::CLASS_LOSS)
                static_cast<UnitClassLossRecord*>(held)->AddCount(static_cast<UnitClassLossRecord*>(item));
            else
                delete item;
            return;
        }
        mergeIndex.emplace(key, item);
    }
    items.push_back(item);  // kinds 1, 2 and 4 are never merged
}

VictoryItem* VictoryItemList::FindMatch(const Unit* unit) const
{
    if (unit == nullptr)
        return nullptr;
    for (VictoryItem* item : items) {
        if (item->MatchesUnit(unit))
            return item;
    }
    return nullptr;
}

bool VictoryItemList::ContainsKind(const PlatformKindItem& kind) const
{
    for (const VictoryItem* item : items) {
        if (item->GetTag() == VictoryTag::PLATFORM_KIND && static_cast<const PlatformKindItem*>(item)->IsSameKind(kind))
            return true;
    }
    return false;
}

bool VictoryItemList::RemoveMatch(const Unit* unit)
{
    VictoryItem* const item = FindMatch(unit);
    if (item == nullptr || !Remove(item))
        return false;
    delete item;
    return true;
}

bool VictoryItemList::Remove(VictoryItem* item)
{
    for (auto at = items.begin(); at != items.end(); ++at) {
        if (*at != item)
            continue;
        items.erase(at);
        Unindex(item);
        return true;
    }
    return false;
}

void VictoryItemList::PruneUnmatched()
{
    const UnitList* const units = UnitList::GetArenaList();
    if (units == nullptr) {
        ReportResourceText(NO_UNIT_TABLE_TEXT, "VictoryItemList::PruneUnmatched", ErrorBox);
        return;
    }
    std::vector<VictoryItem*> kept;
    kept.reserve(items.size());
    for (VictoryItem* item : items) {
        bool matched = false;
        for (const Unit* u = units->First(); u != nullptr && !matched; u = u->GetNext())
            matched = item->MatchesUnit(u);
        if (matched) {
            kept.push_back(item);
            continue;
        }
        Unindex(item);
        delete item;
    }
    items = std::move(kept);
}

std::string VictoryItemList::Describe() const
{
    std::string text = "\n";
    for (const VictoryItem* item : items) {
        text += item->Describe();
        text += '\n';
        if (text.size() >= VictoryItem::DESCRIPTION_SIZE)
            break;  // the rest would be cut off anyway
    }
    text += '\n';
    if (text.size() >= VictoryItem::DESCRIPTION_SIZE)
        text.resize(VictoryItem::DESCRIPTION_SIZE - 1);
    return text;
}

void VictoryItemList::Save(std::ostream& out) const
{
    SaveField(out, static_cast<uint32_t>(items.size()));
    for (const VictoryItem* item : items)
        item->Save(out);
}

bool VictoryItemList::Load(std::istream& in)
{
    VictoryItemList loaded;
    uint32_t count = 0;
    if (!LoadField(in, count))
        return false;
    // The count only bounds the loop: each record is read before it is kept,
    // so a damaged count runs out of bytes rather than memory.
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t tag = VictoryTag::NONE;
        if (!LoadField(in, tag))
            return false;
        if (tag == VictoryTag::NONE || tag > VictoryTag::LAST) {
            // The record's length is unknown, so nothing after it can be read.
            ReportResourceText(tag == VictoryTag::NONE ? TAG_ZERO_TEXT : TAG_UNKNOWN_TEXT, "VictoryItemList::Load",
                               FatalError);
            in.setstate(std::ios::failbit);
            return false;
        }
        VictoryItem* const item = ReadItem(tag, in);
        if (!in) {
            delete item;
            return false;
        }
        loaded.Add(item);
    }
    std::swap(items, loaded.items);
    std::swap(mergeIndex, loaded.mergeIndex);
    return true;
}
