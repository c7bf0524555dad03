// UnitFactory.h: UnitFactory, the choice of a unit class by the type letter
// a unit record begins with. The nine letters and their classes: 'A'
// AirGroup, 'B' AirBase, 'F' Facility, 'G' Group, 'L' SonobuoyLine, 'P'
// Plane, 'S' Ship, 'U' Submarine, 'W' Weapon; each class registers its
// maker when it is built into the program. Every other byte names no class.
#pragma once

#include <cstdint>

class Unit;

class UnitFactory {
public:
    // Makes a new unit of one class with its default constructor.
    using Maker = Unit* (*)();

    // The table runs from 'A' to 'W', one entry per letter.
    static constexpr char FIRST_LETTER = 'A';
    static constexpr char LAST_LETTER = 'W';

    // Whether a byte is one of the nine type letters.
    static bool IsTypeLetter(uint8_t letter);

    // Sets the maker of a type letter (nullptr takes it away); returns the
    // one it replaces. A byte that is not a type letter is refused: nothing
    // changes and the answer is nullptr.
    static Maker Register(uint8_t letter, Maker maker);

    // A new unit of the class of a type letter, or nullptr when the byte is
    // not a type letter or its class is not registered. The caller owns it.
    static Unit* Create(uint8_t letter);
};
