// EngineFuel.cpp: the engine and fuel table.
#include "annex/EngineFuel.h"

namespace {

constexpr uint16_t Fuels(uint32_t a, uint32_t b = FUEL_NONE)
{
    return static_cast<uint16_t>((1u << a) | (b == FUEL_NONE ? 0u : 1u << b));
}

// One row per engine code: its name, the fuels it burns (bit 1 << fuel type)
// and its own fuel.
struct EngineRow {
    uint32_t engine;
    const char* name;
    uint16_t fuels;
    uint32_t ownFuel;
};

constexpr EngineRow ENGINE_ROWS[] = {
    {ENGINE_ELECTRIC, "Electric", Fuels(FUEL_BATTERY), FUEL_BATTERY},
    {ENGINE_AIR_INDEPENDENT, "Air-Independent", Fuels(FUEL_DIESEL), FUEL_AIR_INDEPENDENT},
    {ENGINE_DIESEL, "Diesel", Fuels(FUEL_DIESEL), FUEL_DIESEL},
    {ENGINE_GAS_TURBINE, "Gas Turbine", Fuels(FUEL_DIESEL, FUEL_GAS), FUEL_GAS},
    {ENGINE_STEAM, "Steam", Fuels(FUEL_DIESEL, FUEL_OIL), FUEL_OIL},
    {ENGINE_NUCLEAR, "Nuclear", 0, FUEL_NONE},
    {ENGINE_ROCKET, "Rocket", Fuels(FUEL_ROCKET), FUEL_ROCKET},
    {ENGINE_TURBOPROP, "Turboprop", Fuels(FUEL_AVIATION), FUEL_AVIATION},
    {ENGINE_JET, "Jet", Fuels(FUEL_AVIATION), FUEL_AVIATION},
    {ENGINE_UNNAMED, "", 0, FUEL_NONE},
    {ENGINE_HELO_TURBOSHAFT, "Helo Turboshaft", Fuels(FUEL_AVIATION), FUEL_AVIATION},
    {ENGINE_MISSILE_COAST, "Missile Coast", Fuels(FUEL_COAST_TIME), FUEL_COAST_TIME},
    {ENGINE_TORPEDO, "Torpedo Engine", Fuels(FUEL_BATTERY, FUEL_TORPEDO), FUEL_TORPEDO},
};

constexpr const char* FUEL_NAMES[FUEL_TYPE_LAST + 1] = {
    "No Fuel", "Diesel Fuel", "Gas Fuel", "Oil Fuel", "Battery", "Air-Independent",
    "Rocket Fuel", "Aviation Fuel", "Weapon Coast Time", "Torpedo Fuel",
};

const EngineRow* FindEngine(uint32_t engine)
{
    for (const EngineRow& row : ENGINE_ROWS)
        if (row.engine == engine)
            return &row;
    return nullptr;
}

} // namespace

bool IsEngineType(uint32_t code)
{
    return FindEngine(code) != nullptr;
}

const char* EngineName(uint32_t engine)
{
    const EngineRow* row = FindEngine(engine);
    return row ? row->name : "";
}

const char* FuelName(uint32_t fuel)
{
    return fuel <= FUEL_TYPE_LAST ? FUEL_NAMES[fuel] : "";
}

bool EngineAcceptsFuel(uint32_t engine, uint32_t fuel)
{
    const EngineRow* row = FindEngine(engine);
    return row && fuel <= FUEL_TYPE_LAST && (row->fuels & (1u << fuel)) != 0;
}

uint32_t EngineOwnFuel(uint32_t engine)
{
    const EngineRow* row = FindEngine(engine);
    return row ? row->ownFuel : FUEL_NONE;
}

bool EngineNeedsNoFuel(uint32_t engine)
{
    return engine == ENGINE_NUCLEAR;
}
