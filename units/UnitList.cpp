// UnitList.cpp: saving and loading the units of the arena section, and the
// arena's unit lookup.
#include "units/UnitList.h"

#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/UnitFactory.h"

namespace {

UnitList* gArenaList = nullptr;

Unit* FindArenaUnit(uint16_t unitID)
{
    return gArenaList != nullptr ? gArenaList->Find(unitID) : nullptr;
}

}  // namespace

UnitList::~UnitList()
{
    if (gArenaList == this)
        SetArenaList(nullptr);
    DeleteAll();
}

bool UnitList::Save(std::ostream& out) const
{
    uint32_t count = 0;
    for (const Unit* unit = First(); unit != nullptr; unit = unit->GetNext())
        ++count;
    if (count > 0xFFFF) {
        ErrorBox("UnitList::Save: more than 65535 units");
        out.setstate(std::ios::failbit);
        return false;
    }
    SaveField(out, static_cast<uint16_t>(count));
    for (const Unit* unit = First(); unit != nullptr; unit = unit->GetNext())
        unit->SaveFields(out);
    return static_cast<bool>(out);
}

namespace {

// Deletes the units of a refused load. They never joined a side record or
// the data link, so they must not leave one either: the running game's
// records stay as they were.
void DiscardRefused(TreeListOf<Unit>& loaded)
{
    while (Unit* const unit = loaded.First()) {
        loaded.Remove(unit);
        unit->ForgetMemberships();
        delete unit;
    }
}

} // namespace

bool UnitList::Load(std::istream& in)
{
    uint16_t count = 0;
    if (!LoadField(in, count))
        return false;
    // Units read so far wait here until the whole list has been read.
    TreeListOf<Unit> loaded;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t letter = 0;
        if (!LoadField(in, letter)) {
            DiscardRefused(loaded);
            return false;
        }
        Unit* const unit = UnitFactory::Create(letter);
        if (unit == nullptr) {
            ReportResourceText(UNKNOWN_LETTER_TEXT, "UnitList::Load", FatalError);
            DiscardRefused(loaded);
            in.setstate(std::ios::failbit);
            return false;
        }
        if (!unit->LoadFields(in) || !in) {
            unit->ForgetMemberships();
            delete unit;
            DiscardRefused(loaded);
            in.setstate(std::ios::failbit);
            return false;
        }
        loaded.Insert(unit);
    }
    while (Unit* const unit = loaded.First()) {
        loaded.Remove(unit);
        Insert(unit);
    }
    return true;
}

UnitList* UnitList::SetArenaList(UnitList* list)
{
    UnitList* const previous = gArenaList;
    gArenaList = list;
    gam2arena::SetUnitLookup(list != nullptr ? &FindArenaUnit : nullptr);
    return previous;
}

UnitList* UnitList::GetArenaList()
{
    return gArenaList;
}
