// VictoryItemList.cpp: the owned list of victory items: adding with merge,
// lookups, removal, pruning against the arena's units, description and the
// saved form with its tag-driven loader.
#include "missions/VictoryItemList.h"

#include <istream>
#include <ostream>
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
// The key a loss record's class is indexed by: letter above, record id below.
uint64_t ClassIndexKey(const UnitClassLossRecord& record)
{
    return (uint64_t{record.GetTypeLetter()} << 16) | record.GetRecordID();
}

// Whether the list holds an item of the same kind as `item` (its class T)
// that `same` finds equal to it; the first equal one wins.
template <typename T>
bool HoldsEqual(const std::vector<VictoryItem*>& items, const VictoryItem& item, bool (T::*same)(const T&) const)
{
    const T& wanted = static_cast<const T&>(item);
    for (const VictoryItem* held : items) {
        if (held->GetTag() == item.GetTag() && (static_cast<const T*>(held)->*same)(wanted))
            return true;
    }
    return false;
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
    lossIndex.clear();
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
    bool merged = false;
    switch (item->GetTag()) {
    case VictoryTag::CLASS_LOSS: {
        auto* loss = static_cast<UnitClassLossRecord*>(item);
        const auto [held, isNew] = lossIndex.try_emplace(ClassIndexKey(*loss), loss);
        if (!isNew) {
            held->second->AddCount(loss);  // deletes loss
            return;
        }
        break;
    }
    case VictoryTag::UNIT: merged = HoldsEqual(items, *item, &UnitItem::IsEqual); break;
    case VictoryTag::VIOLATION: merged = HoldsEqual(items, *item, &ViolationRecord::IsEqual); break;
    case VictoryTag::UNIT_PAIR: merged = HoldsEqual(items, *item, &UnitPairRecord::IsSame); break;
    case VictoryTag::UNIT_VALUES: merged = HoldsEqual(items, *item, &UnitValuesItem::IsEqual); break;
    default: break;  // kinds 1, 2 and 4 are never merged
    }
    if (merged) {
        delete item;
        return;
    }
    items.push_back(item);
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
        if (item->GetTag() == VictoryTag::CLASS_LOSS)
            lossIndex.erase(ClassIndexKey(*static_cast<const UnitClassLossRecord*>(item)));
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
        if (item->GetTag() == VictoryTag::CLASS_LOSS)
            lossIndex.erase(ClassIndexKey(*static_cast<const UnitClassLossRecord*>(item)));
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
    std::swap(lossIndex, loaded.lossIndex);
    return true;
}
