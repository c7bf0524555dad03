// DBEnum.cpp: the database's name tables and class tables, and the lookups
// and damage-class tests built on them.
#include "annex/DBEnum.h"

#include <cstring>

#include "core/gam2arena.h"

namespace DBEnum {

namespace {

constexpr DBEnumRow SENSOR_TYPE_ROWS[] = {
    {"None", 0},
    {"Radar", 1},
    {"Visual", 2},
    {"Infrared", 3},
    {"Passive Sonar", 4},
    {"Active/Passive Sonar", 5},
    {"Active-Only Sonar", 17},
    {"Ranging Sonar", 12},
    {"ESM", 6},
    {"ECM", 7},
    {"Semi-Active", 8},
    {"MAD", 9},
    {"Radar Suite", 10},
    {"Sonar Suite", 11},
    {"Ranging Array Sonar", 12},   // shadowed by "Ranging Sonar" in lookups
    {"Active VDS", 13},
    {"Passive VDS", 14},
    {"Towed Array Sonar", 15},
    {"Laser Designator", 16},
};

constexpr DBEnumRow SENSOR_CAPABILITY_ROWS[] = {
    {"Surface Search", 0x001},
    {"Air Search", 0x002},
    {"Air Intercept", 0x004},
    {"Sub Search", 0x008},
    {"Range Information", 0x010},
    {"Bearing Information", 0x020},
    {"Altitude Information", 0x040},
    {"IFF Information", 0x080},
    {"Classification", 0x100},
    {"Backscatter", 0x200},
};

constexpr DBEnumRow AIRCRAFT_SIZE_ROWS[] = {
    {"None", 0},
    {"Small Helo", 1},
    {"Medium Helo", 2},
    {"Large Helo & VTOL Aircraft", 4},
    {"STOL Aircraft", 8},
    {"Small Aircraft", 16},
    {"Medium Aircraft", 32},
    {"Large Aircraft", 64},
    {"Very Large Aircraft", 128},
};

constexpr DBEnumRow TARGET_CLASS_ROWS[] = {
    {"Not a Target", 0},
    {"Surface Vessel", 1},
    {"Submarine", 2},
    {"Aircraft", 4},
    {"Missile", 8},
    {"Radar", 16},
    {"Runway", 32},
    {"Land Structure", 64},
    {"Hardened Structure", 128},
    {"Soft Target", 256},
    {"Hardened Target", 512},
};

// The texts are shown as they stand, "tp" included: saved reports and the
// viewer pages carry them.
constexpr DBEnumRow WARHEAD_TYPE_ROWS[] = {
    {"None", 0},
    {"Sensor", 1},
    {"Weapon", 2},
    {"Torpedo", 16},
    {"Depth Charge", 4},
    {"High Explosive", 32},
    {"Armor-Piercing", 64},
    {"HEAT", 128},
    {"Fragmentation", 8},
    {"Fire (NAPALM, WP)", 512},
    {"Nuclear Airburst", 4096},
    {"Nuclear Surface Burst", 8192},
    {"Nuclear Sub Burst", 16384},
    {"Enhanced Conventional", 32768},
    {"Cluster", 2048},
    {"Gun up to 15mm", 65536},
    {"Gun up to 24mm", 131072},
    {"Gun up to 60mm", 262144},
    {"Gun up to 80mm", 524288},
    {"Gun up to 150mm", 1048576},
    {"Gun up tp 200mm", 2097152},
    {"Gun up to 350mm", 4194304},
    {"Gun over 350mm", 8388608},
};

template <size_t N>
constexpr DBEnumTable MakeTable(const DBEnumRow (&rows)[N])
{
    static_assert(N <= 0xFFFF);
    return DBEnumTable{static_cast<uint16_t>(N), rows};
}

constexpr DBEnumTable SENSOR_TYPES = MakeTable(SENSOR_TYPE_ROWS);
constexpr DBEnumTable SENSOR_CAPABILITIES = MakeTable(SENSOR_CAPABILITY_ROWS);
constexpr DBEnumTable AIRCRAFT_SIZES = MakeTable(AIRCRAFT_SIZE_ROWS);
constexpr DBEnumTable TARGET_CLASSES = MakeTable(TARGET_CLASS_ROWS);
constexpr DBEnumTable WARHEAD_TYPES = MakeTable(WARHEAD_TYPE_ROWS);

// Chance in percent that an effect stands, by class row and level 1 to 4.
constexpr uint8_t CHANCE[CLASS_ROWS][CLASS_LEVELS] = {
    {25, 10, 255, 255},
    {35, 20, 10, 255},
    {50, 50, 20, 255},
    {50, 50, 25, 5},
    {50, 50, 25, 10},
    {35, 20, 20, 255},
    {50, 50, 25, 255},
    {50, 50, 35, 25},
    {50, 50, 50, 35},
    {25, 10, 255, 255},
    {75, 50, 25, 20},
    {100, 75, 50, 25},
};

// Divisor of a damage amount, by class row and level 1 to 4.
constexpr uint8_t DIVISOR[CLASS_ROWS][CLASS_LEVELS] = {
    {255, 255, 255, 255},
    {1, 4, 10, 255},
    {1, 2, 5, 255},
    {1, 2, 4, 20},
    {1, 2, 4, 10},
    {2, 4, 5, 255},
    {2, 2, 3, 255},
    {2, 2, 2, 5},
    {2, 2, 2, 2},
    {3, 10, 255, 255},
    {1, 2, 4, 10},
    {1, 1, 2, 4},
};

// The lookups scan the fixed row counts the database has always had.
constexpr uint16_t SENSOR_TYPE_SCAN = 19;
constexpr uint16_t AIRCRAFT_SIZE_SCAN = 9;
constexpr uint16_t TARGET_CLASS_SCAN = 11;
constexpr uint16_t WARHEAD_TYPE_SCAN = 23;
static_assert(SENSOR_TYPES.count == SENSOR_TYPE_SCAN && AIRCRAFT_SIZES.count == AIRCRAFT_SIZE_SCAN
              && TARGET_CLASSES.count == TARGET_CLASS_SCAN && WARHEAD_TYPES.count == WARHEAD_TYPE_SCAN);

void CopyName(const DBEnumTable& table, uint16_t rows, uint32_t code, char* out)
{
    if (out == nullptr)
        return;
    out[0] = '\0';
    for (uint16_t i = 0; i < rows && i < table.count; ++i) {
        if (table.rows[i].code == code) {
            std::strncpy(out, table.rows[i].name, NAME_SIZE - 1);
            out[NAME_SIZE - 1] = '\0';
            return;
        }
    }
}

// Needs: 0 <= row < CLASS_ROWS. NO_VALUE for a level outside 1 to 4.
uint8_t ClassEntry(const uint8_t (&table)[CLASS_ROWS][CLASS_LEVELS], uint16_t row, uint32_t level)
{
    if (row >= CLASS_ROWS || level < 1 || level > CLASS_LEVELS)
        return NO_VALUE;
    return table[row][level - 1];
}

// Rows 1 to 4 by size for the blast warheads, 5 to 8 for armor-piercing.
uint16_t RowBySize(uint16_t value, uint16_t firstRow)
{
    if (value < 10)
        return firstRow;
    if (value <= 20)
        return firstRow + 1;
    if (value <= 50)
        return firstRow + 2;
    return firstRow + 3;
}

DrawFunction chanceDraw = nullptr;

}  // namespace

const DBEnumTable& SensorTypes() { return SENSOR_TYPES; }
const DBEnumTable& SensorCapabilities() { return SENSOR_CAPABILITIES; }
const DBEnumTable& AircraftSizes() { return AIRCRAFT_SIZES; }
const DBEnumTable& TargetClasses() { return TARGET_CLASSES; }
const DBEnumTable& WarheadTypes() { return WARHEAD_TYPES; }

void GetSensorTypeName(uint32_t code, char* out)
{
    CopyName(SENSOR_TYPES, SENSOR_TYPE_SCAN, code, out);
}

void GetAircraftSizeName(uint32_t code, char* out)
{
    CopyName(AIRCRAFT_SIZES, AIRCRAFT_SIZE_SCAN, code, out);
}

void GetTargetClassName(uint32_t code, char* out)
{
    CopyName(TARGET_CLASSES, TARGET_CLASS_SCAN, code, out);
}

void GetWarheadKindName(uint32_t code, char* out)
{
    CopyName(WARHEAD_TYPES, WARHEAD_TYPE_SCAN, code, out);
}

uint16_t SizeClassRow(uint16_t value, uint16_t category)
{
    switch (category) {
    case 0x4:
    case 0x10:
        return value < 51 ? 10 : 11;
    case 0x8:
        return 0;
    case 0x40:
        return RowBySize(value, 5);
    case 0x800:
        return 9;
    case 0x20:
    case 0x80:
    case 0x8000:
        return RowBySize(value, 1);
    default:   // fire, the nuclear bursts and everything else
        return 4;
    }
}

uint8_t ChanceEntry(uint16_t row, uint32_t level)
{
    return ClassEntry(CHANCE, row, level);
}

uint8_t DivisorEntry(uint16_t row, uint32_t level)
{
    return ClassEntry(DIVISOR, row, level);
}

bool Chance_Check(uint16_t value, uint16_t category, uint32_t level)
{
    if (level == 0)
        return true;
    const uint8_t chance = ChanceEntry(SizeClassRow(value, category), level);
    if (chance == NO_VALUE)
        return false;
    const uint16_t draw = chanceDraw != nullptr ? chanceDraw(100) : gam2arena::Random(100);
    return draw < chance;
}

uint16_t Scale_By_Class(uint16_t value, uint16_t category, uint32_t level)
{
    if (level == 0)
        return value;
    const uint8_t divisor = DivisorEntry(SizeClassRow(value, category), level);
    if (divisor == NO_VALUE)
        return 0;
    // The sum may pass 16 bits; the quotient never does (d = 1 adds nothing).
    return static_cast<uint16_t>((uint32_t{value} + divisor / 2u) / divisor);
}

DrawFunction SetChanceDraw(DrawFunction draw)
{
    const DrawFunction previous = chanceDraw;
    chanceDraw = draw;
    return previous;
}

}  // namespace DBEnum
