// PropulsionPlant.h: PropulsionPlant, one propulsion plant of a moving unit
// (an element of its keyed plant list): up to two engines, a speed table by
// setting and altitude band, fuel-use rates and the flags that say whether
// its fuel is on board; how a wanted speed becomes a setting and engine
// loads, and the fuel it then uses. Choosing among a unit's plants, its tanks
// and its endurance are MovingObject's (MovingObject.h).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/GameTime.h"
#include "core/TreeListOf.h"

// Engine types: a bit code (0: no engine). The same codes, with the table of
// which fuels each engine burns, are annex/EngineFuel.h's; these short names
// read better in the plant's own code.
namespace EngineType {
constexpr uint32_t ELECTRIC = 1;
constexpr uint32_t AIR_INDEPENDENT = 2;
constexpr uint32_t DIESEL = 4;
constexpr uint32_t GAS_TURBINE = 8;
constexpr uint32_t STEAM = 16;
constexpr uint32_t NUCLEAR = 32;
constexpr uint32_t ROCKET = 64;
constexpr uint32_t TURBOPROP = 128;
constexpr uint32_t JET = 256;
constexpr uint32_t UNNAMED = 512;          // accepted, burns nothing
constexpr uint32_t HELO_TURBOSHAFT = 1024;
constexpr uint32_t MISSILE_COAST = 2048;
constexpr uint32_t TORPEDO_ENGINE = 4096;
}  // namespace EngineType

// Fuel types of the tanks.
namespace FuelType {
constexpr uint32_t NONE = 0;
constexpr uint32_t DIESEL = 1;
constexpr uint32_t GAS = 2;
constexpr uint32_t OIL = 3;
constexpr uint32_t BATTERY = 4;
constexpr uint32_t AIR_INDEPENDENT = 5;
constexpr uint32_t ROCKET = 6;
constexpr uint32_t AVIATION = 7;
constexpr uint32_t WEAPON_COAST = 8;
constexpr uint32_t TORPEDO = 9;
}  // namespace FuelType

// Settings: the rows of the speed table, and -1 for a plant that does not run.
namespace PlantSetting {
constexpr int16_t OFF = -1;
constexpr int16_t IDLE = 0;
constexpr int16_t CRUISE = 1;
constexpr int16_t FULL = 2;
constexpr int16_t FLANK = 3;   // flank, or reheat for a jet
}  // namespace PlantSetting

class PropulsionPlant : public TreeListNode<PropulsionPlant> {
public:
    static constexpr int SETTINGS = 4;   // rows: settings 0 to 3
    static constexpr int BANDS = 4;      // entries of a row: altitude bands
    // Bytes of the saved form.
    static constexpr int64_t SAVED_BYTES = 2 + 4 + 4 + 4 + 2 + 2 + 3 + SETTINGS * BANDS * 6 + 2 * BANDS * 2 + 2 + 2;

    // One band of a row: the altitudes it covers (tens of metres) and the
    // speed the setting gives there (knots).
    struct SpeedEntry {
        int16_t ceiling = 0;
        int16_t floor = 0;
        uint16_t speed = 0;
    };

    // Every field 0, setting 0; as a saved list load constructs it.
    PropulsionPlant() = default;
    // The plant of propuls.dat record `propulsionID` in the scenario's
    // propulsion table: its engines, speed table and rates; the first
    // engine's fuel counts as on board for a nuclear plant only; the key
    // stays 0 for the list builder to give. A missing record (or table)
    // leaves the default plant, which keeps the id.
    explicit PropulsionPlant(uint16_t propulsionID);
    ~PropulsionPlant() override = default;

    PropulsionPlant(const PropulsionPlant&) = delete;
    PropulsionPlant& operator=(const PropulsionPlant&) = delete;

    // Which fuels an engine burns and which is its own (the fuel a main tank
    // should hold); 0 and unknown engines burn none and own fuel 0.
    static bool Accepts(uint32_t engine, uint32_t fuel);
    static uint32_t OwnFuel(uint32_t engine);

    bool AcceptsFuel(uint32_t fuel) const { return Accepts(engineType, fuel); }
    bool SecondAcceptsFuel(uint32_t fuel) const { return Accepts(secondEngineType, fuel); }
    uint32_t MainFuelType() const { return OwnFuel(engineType); }
    uint32_t SecondFuelType() const { return OwnFuel(secondEngineType); }

    // Chooses the setting and the engine loads for a wanted speed (knots) at
    // an altitude (tens of metres) and answers the speed delivered: the
    // wanted speed itself when a row reaches it (the lowest such row), else
    // the best speed the plant has there; 0 with setting -1 when the first
    // engine cannot run (no fuel, or a breathing engine too deep: diesel,
    // gas turbine and steam run only above -3; air-independent also below
    // with fuel 5 on board). A wanted speed of 0 gives the idle row, load 100.
    int32_t Select(uint16_t wanted, int16_t altitude);

    // Engine load in percent for a speed (knots; 0 counts as 1) with the
    // current setting, of the second engine or of the first, by the table of
    // the engine type and the speed's 5-knot bracket.
    uint32_t LoadPercent(uint16_t speed, int16_t altitude, bool secondEngine) const;

    // Fuel used in `seconds` at the current setting and loads:
    // rate of the band in force x load x seconds / 100 (see the .cpp); 0 when
    // the plant does not run.
    uint32_t MainFuelUse(int32_t seconds, int16_t altitude) const;
    uint32_t SecondFuelUse(int32_t seconds, int16_t altitude) const;

    // The speed-table entry in force for the current setting at an altitude,
    // or null when the setting is -1, the first engine's fuel is not on
    // board, the setting is 2 or 3 with a second engine whose fuel is not on
    // board, or no band of the row reaches up to the altitude.
    const SpeedEntry* BandAt(int16_t altitude) const;

    // The first band of a row whose ceiling is at or above the altitude, as
    // an index, or -1 (also for a row outside 0 to 3).
    int BandInForce(int row, int16_t altitude) const;

    // Clears the fuel-on-board flags, except those of a nuclear engine.
    void ClearFuelFlags();
    // Notes a fuel on board: fuel 5 for air-independent running, any other
    // for each engine that burns it.
    void NoteFuel(uint32_t fuel);

    // Saved form, little-endian, SAVED_BYTES bytes:
    //   key                     u16
    //   engineType              u32
    //   secondEngineType        u32
    //   lastChange              u32   game seconds, kept
    //   load, secondLoad        i16 each, percent
    //   hasFuel, secondHasFuel, hasAirIndependentFuel   u8 each
    //   speedTable              16 x (ceiling i16, floor i16, speed u16),
    //                           row by row
    //   useRate                 4 x u16
    //   secondUseRate           4 x u16
    //   setting                 i16
    //   propulsionAnnexID       u16
    // Load reads into a fresh plant; a record cut short leaves the stream
    // failed and answers false.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    uint32_t engineType = 0;
    uint32_t secondEngineType = 0;
    GameTime lastChange;
    int16_t load = 0;          // percent, of the engine driving the setting
    int16_t secondLoad = 0;    // first engine's load while the second drives
    uint8_t hasFuel = 0;
    uint8_t secondHasFuel = 0;
    uint8_t hasAirIndependentFuel = 0;
    SpeedEntry speedTable[SETTINGS][BANDS] = {};
    uint16_t useRate[BANDS] = {};          // first engine, per band
    uint16_t secondUseRate[BANDS] = {};    // second engine; a jet's reheat factor
    int16_t setting = PlantSetting::IDLE;
    uint16_t propulsionAnnexID = 0;

private:
    // Whether each engine runs at an altitude, and whether rows 2 and 3 are
    // open.
    bool FirstRuns(int16_t altitude) const;
    bool FullSettingsOpen(int16_t altitude, bool firstRuns) const;
};
