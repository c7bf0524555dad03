// EngineFuelTest.cpp: the engine and fuel table, row by row, against the
// fuels each engine burns and its own fuel.
#include <gtest/gtest.h>

#include <string>

#include "annex/EngineFuel.h"

TEST(EngineFuel, EachEngineBurnsItsFuels)
{
    struct Row { uint32_t engine; const char* name; const char* fuels; uint32_t own; };
    // fuels: the fuel types 0 to 9 that the engine burns, one letter each.
    const Row rows[] = {
        {ENGINE_ELECTRIC, "Electric", "....x.....", FUEL_BATTERY},
        {ENGINE_AIR_INDEPENDENT, "Air-Independent", ".x........", FUEL_AIR_INDEPENDENT},
        {ENGINE_DIESEL, "Diesel", ".x........", FUEL_DIESEL},
        {ENGINE_GAS_TURBINE, "Gas Turbine", ".xx.......", FUEL_GAS},
        {ENGINE_STEAM, "Steam", ".x.x......", FUEL_OIL},
        {ENGINE_NUCLEAR, "Nuclear", "..........", FUEL_NONE},
        {ENGINE_ROCKET, "Rocket", "......x...", FUEL_ROCKET},
        {ENGINE_TURBOPROP, "Turboprop", ".......x..", FUEL_AVIATION},
        {ENGINE_JET, "Jet", ".......x..", FUEL_AVIATION},
        {ENGINE_UNNAMED, "", "..........", FUEL_NONE},
        {ENGINE_HELO_TURBOSHAFT, "Helo Turboshaft", ".......x..", FUEL_AVIATION},
        {ENGINE_MISSILE_COAST, "Missile Coast", "........x.", FUEL_COAST_TIME},
        {ENGINE_TORPEDO, "Torpedo Engine", "....x....x", FUEL_TORPEDO},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "engine " << r.engine);
        EXPECT_TRUE(IsEngineType(r.engine));
        EXPECT_STREQ(EngineName(r.engine), r.name);
        EXPECT_EQ(EngineOwnFuel(r.engine), r.own);
        EXPECT_EQ(EngineNeedsNoFuel(r.engine), r.engine == ENGINE_NUCLEAR);
        for (uint32_t fuel = 0; fuel <= FUEL_TYPE_LAST; ++fuel)
            EXPECT_EQ(EngineAcceptsFuel(r.engine, fuel), r.fuels[fuel] == 'x') << "fuel " << fuel;
        EXPECT_FALSE(EngineAcceptsFuel(r.engine, FUEL_TYPE_LAST + 1));
    }
}

TEST(EngineFuel, CodesThatAreNoEngineBurnNothing)
{
    // Not one of the engine bits: among them the steam, air-independent, jet,
    // turboprop and rocket engines of a numbering 1, 2, 3 ... 9.
    for (uint32_t code : {0u, 3u, 5u, 6u, 7u, 9u, 0x2000u, 0x6000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(testing::Message() << "code " << code);
        EXPECT_FALSE(IsEngineType(code));
        EXPECT_STREQ(EngineName(code), "");
        EXPECT_EQ(EngineOwnFuel(code), FUEL_NONE);
        for (uint32_t fuel = 0; fuel <= FUEL_TYPE_LAST; ++fuel)
            EXPECT_FALSE(EngineAcceptsFuel(code, fuel));
    }
    EXPECT_STREQ(FuelName(FUEL_AVIATION), "Aviation Fuel");
    EXPECT_STREQ(FuelName(FUEL_NONE), "No Fuel");
    EXPECT_STREQ(FuelName(FUEL_TYPE_LAST + 1), "");
}
