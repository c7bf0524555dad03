// UnitCreation.h: the calls a unit built from its platform record makes into
// the sides and the side contact records above this layer: a facility of an
// air base opens its own side contact record and is handed to its side's
// missions, and a rebuilt unit joins its side again. The simulation installs
// them at start-up (SetUnitCreationCalls); without them nothing happens.
#pragma once

#include <cstdint>

class Unit;

struct UnitCreationCalls {
    // A new side contact record for the unit, under the next free key of the
    // Arena's record list, listing the unit; it becomes the current record
    // when there is none. Answers the record's key (0: none made).
    uint16_t (*openSideRecord)(Unit& unit) = nullptr;
    // Side::AddUnit on the side of that number.
    void (*addUnit)(uint16_t sideID, uint16_t unitID) = nullptr;
    // Side::ProcessUnitMission on the side of that number.
    void (*processUnitMission)(uint16_t sideID, uint16_t unitID, int32_t kind) = nullptr;
};

// Installs the calls; returns the ones they replace.
UnitCreationCalls SetUnitCreationCalls(const UnitCreationCalls& calls);

namespace UnitCreation {
// The unit's own new side contact record (openSideRecord): its key is stored
// in the unit. Nothing without the call.
void OpenSideRecord(Unit& unit);
}  // namespace UnitCreation

namespace gam2side {
// Side::AddUnit and Side::ProcessUnitMission on the side of that number.
void AddUnit(uint16_t sideID, uint16_t unitID);
void ProcessUnitMission(uint16_t sideID, uint16_t unitID, int32_t kind);
}  // namespace gam2side
