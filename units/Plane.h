// Plane.h: Plane, the unit of an aircraft in flight (type letter 'P'): its
// aircraft type, loadout and task word. Flight, fuel and the home base come
// with the rest of the class.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "units/Unit.h"

class Plane : public Unit {
public:
    // Bit of the task word an aircraft laying sonobuoys carries.
    static constexpr uint32_t TASK_SONOBUOYS = 0x20;

    Plane() = default;
    ~Plane() override = default;

    char GetTypeLetter() const override { return 'P'; }

    // Saved record, little-endian:
    //   letter 'P' u8, aircraftType u16, loadout u16, taskWord u32, the
    //   unit's part
    // LoadFields reads after the letter; a record cut short answers false.
    void SaveFields(std::ostream& out) const override;
    bool LoadFields(std::istream& in) override;

    uint16_t aircraftType = 0;   // plane.dat record
    uint16_t loadout = 0;        // loadout.dat record
    uint32_t taskWord = 0;       // what the aircraft is doing (TASK_ bits)
};
