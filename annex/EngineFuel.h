// EngineFuel.h: the engine type codes of propuls.dat, the fuel type codes of
// fuel.dat, and which fuels each engine burns. The running propulsion plant
// of a unit decides by this table whether its fuel is on board; the sample
// database's builder refuses a platform none of whose fuels its engines burn.
#pragma once

#include <cstdint>

// Engine types: a bit code, one bit per engine; 0 is no engine (a plant's
// second engine only).
constexpr uint32_t ENGINE_NONE = 0;
constexpr uint32_t ENGINE_ELECTRIC = 1;
constexpr uint32_t ENGINE_AIR_INDEPENDENT = 2;
constexpr uint32_t ENGINE_DIESEL = 4;
constexpr uint32_t ENGINE_GAS_TURBINE = 8;
constexpr uint32_t ENGINE_STEAM = 16;
constexpr uint32_t ENGINE_NUCLEAR = 32;
constexpr uint32_t ENGINE_ROCKET = 64;
constexpr uint32_t ENGINE_TURBOPROP = 128;
constexpr uint32_t ENGINE_JET = 256;
constexpr uint32_t ENGINE_UNNAMED = 512;      // accepted as a code; burns no fuel
constexpr uint32_t ENGINE_HELO_TURBOSHAFT = 1024;
constexpr uint32_t ENGINE_MISSILE_COAST = 2048;
constexpr uint32_t ENGINE_TORPEDO = 4096;

// Fuel types of fuel.dat records and fuel tanks.
constexpr uint32_t FUEL_NONE = 0;
constexpr uint32_t FUEL_DIESEL = 1;
constexpr uint32_t FUEL_GAS = 2;
constexpr uint32_t FUEL_OIL = 3;
constexpr uint32_t FUEL_BATTERY = 4;
constexpr uint32_t FUEL_AIR_INDEPENDENT = 5;
constexpr uint32_t FUEL_ROCKET = 6;
constexpr uint32_t FUEL_AVIATION = 7;
constexpr uint32_t FUEL_COAST_TIME = 8;
constexpr uint32_t FUEL_TORPEDO = 9;
constexpr uint32_t FUEL_TYPE_LAST = FUEL_TORPEDO;

// Whether code is one of the thirteen engine codes (512 included); 0 is not.
bool IsEngineType(uint32_t code);

// The engine's name as the database names it ("Gas Turbine"); "" for the
// code 512 and for any code that is no engine.
const char* EngineName(uint32_t engine);

// The fuel type's name ("Aviation Fuel"); "" above FUEL_TYPE_LAST.
const char* FuelName(uint32_t fuel);

// Whether the engine burns the fuel:
//   1 Electric                                   4
//   2 Air-Independent                            1 (its own fuel 5 is taken
//                                                  only submerged, apart)
//   4 Diesel                                     1
//   8 Gas Turbine                                1, 2
//   16 Steam                                     1, 3
//   64 Rocket                                    6
//   128 Turboprop, 256 Jet, 1024 Helo Turboshaft 7
//   2048 Missile Coast                           8
//   4096 Torpedo Engine                          4, 9
// 32 Nuclear, 512, 0 and any other code burn nothing.
bool EngineAcceptsFuel(uint32_t engine, uint32_t fuel);

// The engine's own fuel, which it prefers among the fuels it burns: 4, 5, 1,
// 2, 3, 6, 7, 7, 7, 8, 9 in the order of the table above; 0 for the rest.
uint32_t EngineOwnFuel(uint32_t engine);

// Whether the engine runs without any fuel on board: only the nuclear plant.
bool EngineNeedsNoFuel(uint32_t engine);
