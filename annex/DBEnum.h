// DBEnum.h: the tables that name the platform database's codes (sensor types,
// sensor capabilities, aircraft sizes, target classes, warhead types) and the
// two class tables that turn a warhead's type and size and a damage level
// into a chance in percent or a divisor.
#pragma once

#include <cstdint>

// One row of a name table: the display name and the code or bit it names.
struct DBEnumRow {
    const char* name;
    uint32_t code;
};

// A name table as the database keeps it: its row count, then the rows.
struct DBEnumTable {
    uint16_t count;
    const DBEnumRow* rows;
};

namespace DBEnum {

// Bytes of the caller's buffer for a name, terminator included.
constexpr int NAME_SIZE = 32;

// Rows and levels of the class tables. Level 0 means "no reduction"; levels
// 1 to 4 pick a column; any other level has no value.
constexpr int CLASS_ROWS = 12;
constexpr int CLASS_LEVELS = 4;
// A class-table entry without a value.
constexpr uint8_t NO_VALUE = 255;

// The name tables, in their fixed order. Lookups scan from the first row and
// the first row with the code wins, so sensor type 12 is "Ranging Sonar".
const DBEnumTable& SensorTypes();         // 19 rows
const DBEnumTable& SensorCapabilities();  // 10 rows, one capability bit each
const DBEnumTable& AircraftSizes();       // 9 rows
const DBEnumTable& TargetClasses();       // 11 rows
const DBEnumTable& WarheadTypes();        // 23 rows

// Copy the name of the first row carrying code into out (NAME_SIZE bytes),
// at most 31 characters and a terminator; a code no row carries gives the
// empty text. A null out is ignored.
void GetSensorTypeName(uint32_t code, char* out);
void GetAircraftSizeName(uint32_t code, char* out);
void GetTargetClassName(uint32_t code, char* out);
void GetWarheadKindName(uint32_t code, char* out);

// The class-table row for a warhead of one type bit (category) and size
// (value), 0 to 11:
//   0x4 depth charge, 0x10 torpedo:       value < 51: 10, else 11
//   0x8 fragmentation:                    0
//   0x40 armor-piercing:                  < 10: 5, 10-20: 6, 21-50: 7, else 8
//   0x800 cluster:                        9
//   0x100, 0x200 fire, 0x1000-0x4000 nuclear: 4
//   0x20 HE, 0x80 HEAT, 0x8000 enhanced:  < 10: 1, 10-20: 2, 21-50: 3, else 4
//   anything else (also several bits):    4
uint16_t SizeClassRow(uint16_t value, uint16_t category);

// The chance entry (percent) and the divisor at a row and level 1 to 4;
// NO_VALUE for an entry without a value, a level outside 1 to 4 or a row
// outside 0 to 11.
uint8_t ChanceEntry(uint16_t row, uint32_t level);
uint8_t DivisorEntry(uint16_t row, uint32_t level);

// Whether a damage effect of this warhead stands at the given level. Level 0
// passes without a draw. Otherwise an entry without a value (a level above 4
// included) fails without a draw; else one draw of 0 to 99 passes when it is
// below the entry, so 100 always passes.
bool Chance_Check(uint16_t value, uint16_t category, uint32_t level);

// value reduced by the class divisor d at the level: level 0 gives value
// unchanged; an entry without a value (a level above 4 included) gives 0;
// else (value + d / 2) / d, truncated (7 by 2 gives 4).
uint16_t Scale_By_Class(uint16_t value, uint16_t category, uint32_t level);

// The draw Chance_Check makes: a function answering 0 to n - 1. Without one
// installed it is gam2arena::Random, the Arena's generator, so the damage
// draws keep the game's one random sequence (0 while no Arena exists); tests
// may install a scripted one. Answers the one it replaces.
using DrawFunction = uint16_t (*)(uint16_t n);
DrawFunction SetChanceDraw(DrawFunction draw);

}  // namespace DBEnum
