// UnitList.h: UnitList, the keyed list of every unit of a scenario (keyed by
// unit id), which owns its units, with its saved form in the arena section;
// and the unit lookup that gam2arena::FindUnit answers from the arena's list.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/TreeListOf.h"
#include "units/Unit.h"

class UnitList : public TreeListOf<Unit> {
public:
    // Resource text of the fatal error for a record whose type letter names
    // no unit class.
    static constexpr int32_t UNKNOWN_LETTER_TEXT = 0x7B025C;

    UnitList() = default;
    // Deletes every unit; a list installed as the arena's is uninstalled.
    ~UnitList() override;

    // Saved form, little-endian:
    //   count     u16
    //   records   count x the unit record (type letter first, SaveFields)
    // in ascending key order. The count is that of the records written.
    virtual bool Save(std::ostream& out) const;

    // Reads the saved form and adds its units to those the list holds; each
    // keeps the id of its record. A record whose letter names no class (or no
    // class built in yet) is the fatal error of UNKNOWN_LETTER_TEXT, and
    // nothing further is read. That, or a record cut short, refuses the whole
    // load: none of its units joins the list, the stream is left failed and
    // the answer is false.
    virtual bool Load(std::istream& in);

    // Makes `list` the arena's unit list, which gam2arena::FindUnit searches
    // (nullptr: none); returns the one it replaces.
    static UnitList* SetArenaList(UnitList* list);
    static UnitList* GetArenaList();
};
