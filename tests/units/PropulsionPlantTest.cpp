// PropulsionPlantTest.cpp: propulsion plants and the moving object's speed,
// tanks and endurance: engine and fuel tables, which engines run at which
// depth, the setting and loads for a wanted speed, load brackets, fuel use,
// the plant chosen among several, tank choice, fuel flags, endurance, the
// construction from the database and the saved form.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "annex/AnnexTables.h"
#include "units/MovingObject.h"
#include "units/UnitTestSupport.h"

namespace {

using namespace unittest;

PropulsionPlant* FuelledPlant(uint16_t key, uint32_t engine, uint32_t second = 0)
{
    PropulsionPlant* plant = MakeDieselPlant(key, engine);
    plant->secondEngineType = second;
    plant->hasFuel = 1;
    plant->secondHasFuel = second != 0 ? 1 : 0;
    return plant;
}

}  // namespace

TEST(PropulsionPlant, EnginesAndTheirFuels)
{
    struct Row { uint32_t engine; uint32_t own; uint32_t accepted; uint32_t refused; };
    const Row rows[] = {
        {EngineType::ELECTRIC, 4, 4, 1},
        {EngineType::AIR_INDEPENDENT, 5, 1, 5},
        {EngineType::DIESEL, 1, 1, 2},
        {EngineType::GAS_TURBINE, 2, 1, 3},
        {EngineType::STEAM, 3, 3, 2},
        {EngineType::NUCLEAR, 0, 99, 1},
        {EngineType::ROCKET, 6, 6, 7},
        {EngineType::JET, 7, 7, 1},
        {EngineType::UNNAMED, 0, 99, 7},
        {EngineType::MISSILE_COAST, 8, 8, 9},
        {EngineType::TORPEDO_ENGINE, 9, 4, 1},
        {3, 0, 99, 1},   // not an engine code
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.engine);
        EXPECT_EQ(PropulsionPlant::OwnFuel(r.engine), r.own);
        if (r.accepted != 99) {
            EXPECT_TRUE(PropulsionPlant::Accepts(r.engine, r.accepted));
        }
        EXPECT_FALSE(PropulsionPlant::Accepts(r.engine, r.refused));
    }
    EXPECT_TRUE(PropulsionPlant::Accepts(EngineType::TORPEDO_ENGINE, 9));
}

TEST(PropulsionPlant, DieselRunsDownToTwentyMetresOnly)
{
    PropulsionPlant* plant = FuelledPlant(1, EngineType::DIESEL);
    EXPECT_EQ(plant->Select(10, -3), 0);
    EXPECT_EQ(plant->setting, -1);
    EXPECT_EQ(plant->load, 0);
    EXPECT_EQ(plant->Select(10, -2), 10);
    EXPECT_EQ(plant->setting, 1);
    delete plant;
}

TEST(PropulsionPlant, SelectsTheLowestRowThatReaches)
{
    PropulsionPlant* plant = FuelledPlant(1, EngineType::DIESEL);
    struct Row { uint16_t wanted; int32_t delivered; int16_t setting; int16_t load; };
    const Row rows[] = {
        {0, 0, 0, 100},     // idle, load 100
        {5, 5, 0, 100},     // 8 x 5 + 60
        {6, 6, 1, 100},     // bracket 1: 100
        {12, 12, 1, 116},   // 8 x (12 - 10) + 100
        {13, 13, 2, 124},   // exact, not raised to 20
        {40, 28, 3, 560},   // none reaches: the best row's speed, 20 x 28
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.wanted);
        EXPECT_EQ(plant->Select(r.wanted, 0), r.delivered);
        EXPECT_EQ(plant->setting, r.setting);
        EXPECT_EQ(plant->load, r.load);
        EXPECT_EQ(plant->secondLoad, 0);
    }
    delete plant;
}

TEST(PropulsionPlant, FullRowsNeedTheSecondEngine)
{
    PropulsionPlant* plant = FuelledPlant(1, EngineType::DIESEL, EngineType::GAS_TURBINE);
    plant->secondHasFuel = 0;
    EXPECT_EQ(plant->Select(20, 0), 12);      // rows 2 and 3 closed
    EXPECT_EQ(plant->setting, 1);
    plant->secondHasFuel = 1;
    EXPECT_EQ(plant->Select(20, 0), 20);
    EXPECT_EQ(plant->setting, 2);
    EXPECT_EQ(plant->secondLoad, 68);          // the diesel at 1 knot: 8 + 60
    EXPECT_EQ(plant->load, 100);               // the gas turbine at 20 knots, bracket 3
    delete plant;
}

TEST(PropulsionPlant, LoadBracketsByEngine)
{
    PropulsionPlant plant;
    plant.setting = 1;
    plant.speedTable[1][0] = {100, -10, 40};
    plant.secondUseRate[0] = 150;
    struct Row { uint32_t engine; uint16_t speed; uint32_t load; };
    const Row rows[] = {
        {EngineType::ELECTRIC, 5, 100},       // 20 s
        {EngineType::ELECTRIC, 6, 900},       // 150 s: 5 and 6 knots lie in different brackets
        {EngineType::ELECTRIC, 11, 3150},     // 150 s + 1500
        {EngineType::ELECTRIC, 40, 400000},   // beyond: 10000 s
        {EngineType::DIESEL, 0, 68},          // 0 counts as 1
        {EngineType::DIESEL, 16, 177},        // 100 s / 9
        {EngineType::GAS_TURBINE, 5, 80},
        {EngineType::GAS_TURBINE, 21, 120},   // 20 (s - 20) + 100
        {EngineType::STEAM, 16, 113},         // 1000 (s - 15) / 75 + 100
        {EngineType::STEAM, 36, 1200},        // beyond: 100 s / 3
        {EngineType::NUCLEAR, 10, 0},
        {EngineType::ROCKET, 10, 100},
        {EngineType::TORPEDO_ENGINE, 10, 100},
        {EngineType::TURBOPROP, 20, 87},      // cruise: 25 x 20 / 40 + 75
        {EngineType::JET, 20, 87},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.engine << " at " << r.speed);
        plant.engineType = r.engine;
        EXPECT_EQ(plant.LoadPercent(r.speed, 0, false), r.load);
    }
    plant.setting = 2;
    plant.engineType = EngineType::JET;
    plant.speedTable[2][0] = {100, -10, 40};
    EXPECT_EQ(plant.LoadPercent(20, 0, false), 75u);   // (50 x 20 / 40) x 2 x 150 / 100
    plant.engineType = EngineType::TORPEDO_ENGINE;
    EXPECT_EQ(plant.LoadPercent(20, 0, false), 150u);
}

TEST(PropulsionPlant, FuelUseFollowsTheSettingAndBand)
{
    PropulsionPlant* plant = FuelledPlant(1, EngineType::DIESEL, EngineType::GAS_TURBINE);
    plant->useRate[0] = 30;
    plant->secondUseRate[0] = 50;
    plant->Select(12, 0);                              // row 1, load 116
    EXPECT_EQ(plant->MainFuelUse(60, 0), 30u * 116 * 60 / 100);
    EXPECT_EQ(plant->SecondFuelUse(60, 0), 0u);
    plant->Select(20, 0);                              // row 2: the turbine drives
    EXPECT_EQ(plant->MainFuelUse(60, 0), 30u * 68 * 60 / 100);
    EXPECT_EQ(plant->SecondFuelUse(60, 0), 50u * uint32_t(plant->load) * 60 / 100);
    plant->Select(12, -3);                             // too deep: off
    EXPECT_EQ(plant->MainFuelUse(60, -3), 0u);
    delete plant;
}

TEST(PropulsionPlant, BandAtIsNullWhenThePlantCannotRun)
{
    PropulsionPlant* plant = FuelledPlant(1, EngineType::DIESEL, EngineType::GAS_TURBINE);
    plant->Select(12, 0);
    ASSERT_NE(plant->BandAt(0), nullptr);
    EXPECT_EQ(plant->BandAt(0)->speed, 12);
    EXPECT_EQ(plant->BandAt(101), nullptr);   // above every ceiling
    plant->Select(20, 0);
    plant->secondHasFuel = 0;
    EXPECT_EQ(plant->BandAt(0), nullptr);
    plant->setting = -1;
    plant->secondHasFuel = 1;
    EXPECT_EQ(plant->BandAt(0), nullptr);
    delete plant;
}

TEST(PropulsionPlant, FuelFlags)
{
    PropulsionPlant plant;
    plant.engineType = EngineType::AIR_INDEPENDENT;
    plant.secondEngineType = EngineType::ELECTRIC;
    plant.NoteFuel(FuelType::AIR_INDEPENDENT);
    EXPECT_EQ(plant.hasAirIndependentFuel, 1);
    EXPECT_EQ(plant.hasFuel, 0);
    plant.NoteFuel(FuelType::DIESEL);
    plant.NoteFuel(FuelType::BATTERY);
    EXPECT_EQ(plant.hasFuel, 1);
    EXPECT_EQ(plant.secondHasFuel, 1);
    plant.ClearFuelFlags();
    EXPECT_EQ(plant.hasFuel + plant.secondHasFuel + plant.hasAirIndependentFuel, 0);
    plant.engineType = EngineType::NUCLEAR;
    plant.hasFuel = 1;
    plant.ClearFuelFlags();
    EXPECT_EQ(plant.hasFuel, 1);   // a reactor's fuel is never gone
}

TEST(PropulsionPlant, AirIndependentRunsSubmergedOnItsOwnFuel)
{
    PropulsionPlant* plant = FuelledPlant(1, EngineType::AIR_INDEPENDENT);
    plant->speedTable[1][0] = {100, -40, 6};
    EXPECT_EQ(plant->Select(6, -10), 0);
    plant->hasAirIndependentFuel = 1;
    EXPECT_EQ(plant->Select(6, -10), 6);
    EXPECT_GT(plant->SecondFuelUse(60, -10), 0u);   // burns fuel 5 below -2
    delete plant;
}

TEST(PropulsionPlant, BuiltFromTheDatabaseRecord)
{
    Annex::Tables().Create();
    auto* record = new PropulsionAnnex(31);
    record->primaryType = EngineType::NUCLEAR;
    record->secondaryType = EngineType::ELECTRIC;
    record->bandValuesA[2] = 7;
    record->bandValuesB[3] = 9;
    record->speedTable[3][1] = {40, -60, 33};
    Annex::Tables().Propulsions()->Insert(record);
    const PropulsionPlant plant(31);
    EXPECT_EQ(plant.engineType, EngineType::NUCLEAR);
    EXPECT_EQ(plant.hasFuel, 1);              // a reactor is fuelled from the start
    EXPECT_EQ(plant.secondHasFuel, 0);
    EXPECT_EQ(plant.useRate[2], 7);
    EXPECT_EQ(plant.secondUseRate[3], 9);
    EXPECT_EQ(plant.speedTable[3][1].ceiling, 40);
    EXPECT_EQ(plant.speedTable[3][1].floor, -60);
    EXPECT_EQ(plant.speedTable[3][1].speed, 33);
    EXPECT_EQ(plant.propulsionAnnexID, 31);
    EXPECT_EQ(plant.GetKey(), 0);
    const PropulsionPlant missing(32);
    EXPECT_EQ(missing.engineType, 0u);
    EXPECT_EQ(missing.propulsionAnnexID, 32);
    Annex::Tables().Delete();
}

TEST(PropulsionPlant, SavedFormRoundTripsAndRefusesCuts)
{
    PropulsionPlant* plant = FuelledPlant(9, EngineType::STEAM, EngineType::GAS_TURBINE);
    plant->lastChange.Set(777);
    plant->load = -5;
    plant->secondUseRate[1] = 0xABCD;
    plant->setting = 3;
    plant->propulsionAnnexID = 0x1234;
    std::ostringstream out;
    plant->Save(out);
    const std::string bytes = out.str();
    ASSERT_EQ(static_cast<int64_t>(bytes.size()), PropulsionPlant::SAVED_BYTES);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\x09\x00\x10\x00\x00\x00", 6));

    PropulsionPlant back;
    std::istringstream in(bytes);
    ASSERT_TRUE(back.Load(in));
    std::ostringstream again;
    back.Save(again);
    EXPECT_EQ(again.str(), bytes);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        PropulsionPlant cutBack;
        std::istringstream part(bytes.substr(0, cut));
        EXPECT_FALSE(cutBack.Load(part)) << cut;
    }
    delete plant;
}

TEST(SetSpeed, DieselIsPreferredToElectric)
{
    for (bool electricFirst : {true, false}) {
        SCOPED_TRACE(electricFirst);
        MovingObject o;
        PropulsionPlant* electric = FuelledPlant(electricFirst ? 1 : 2, EngineType::ELECTRIC);
        PropulsionPlant* diesel = FuelledPlant(electricFirst ? 2 : 1, EngineType::DIESEL);
        o.plants.Insert(electric);
        o.plants.Insert(diesel);
        o.fuelTanks.Append(MakeTank(FuelType::DIESEL, 100, 100));
        EXPECT_EQ(o.SetSpeed(10, 0), 10);
        EXPECT_EQ(o.plantKey, diesel->GetKey());
        EXPECT_EQ(o.speed, 10);
        EXPECT_EQ(electric->setting, 0);   // set to speed 0
        EXPECT_EQ(o.GetPlantSetting(), 1);
    }
}

TEST(SetSpeed, ElectricTakesOverBelowTheSurface)
{
    MovingObject o;
    o.plants.Insert(FuelledPlant(1, EngineType::DIESEL));
    o.plants.Insert(FuelledPlant(2, EngineType::ELECTRIC));
    o.fuelTanks.Append(MakeTank(FuelType::BATTERY, 100, 100));
    EXPECT_EQ(o.SetSpeed(8, -10), 8);
    EXPECT_EQ(o.plantKey, 2);
    EXPECT_EQ(o.plants.Find(1)->setting, -1);
}

TEST(SetSpeed, KeepsTheCurrentPlantAndTheBestShortOfTheSpeed)
{
    MovingObject o;
    PropulsionPlant* slow = FuelledPlant(1, EngineType::DIESEL);
    PropulsionPlant* fast = FuelledPlant(2, EngineType::DIESEL);
    fast->speedTable[3][0].speed = 35;
    o.plants.Insert(slow);
    o.plants.Insert(fast);
    o.fuelTanks.Append(MakeTank(FuelType::DIESEL, 100, 100));
    EXPECT_EQ(o.SetSpeed(50, 0), 35);   // neither reaches: the faster delivers most
    EXPECT_EQ(o.plantKey, 2);
    EXPECT_EQ(slow->setting, 0);
    EXPECT_EQ(o.SetSpeed(5, 0), 5);     // the current plant reaches: it stays
    EXPECT_EQ(o.plantKey, 2);

    MovingObject none;
    none.plantKey = 4;
    EXPECT_EQ(none.SetSpeed(10, 0), 0);
    EXPECT_EQ(none.plantKey, 0);
}

TEST(ChooseTanks, OwnFuelBeatsALargerTankOfAnotherFuel)
{
    MovingObject o;
    PropulsionPlant* plant = FuelledPlant(1, EngineType::GAS_TURBINE);   // own fuel 2, burns 1 too
    o.plants.Insert(plant);
    o.fuelTanks.Append(MakeTank(FuelType::DIESEL, 900, 900));   // 0
    o.fuelTanks.Append(MakeTank(FuelType::GAS, 100, 10));       // 1: own fuel, restarts the contest
    o.fuelTanks.Append(MakeTank(FuelType::DIESEL, 999, 999));   // 2: no longer competes
    o.fuelTanks.Append(MakeTank(FuelType::GAS, 100, 40));       // 3
    o.fuelTanks.Append(MakeTank(FuelType::GAS, 100, 0));        // 4: empty, left out
    o.mainTank = 9;
    ASSERT_TRUE(o.ChooseTanks(plant));
    EXPECT_EQ(o.mainTank, 3);

    MovingObject dry;
    dry.fuelTanks.Append(MakeTank(FuelType::OIL, 100, 100));
    dry.mainTank = 7;
    EXPECT_FALSE(dry.ChooseTanks(plant));
    EXPECT_EQ(dry.mainTank, 7);   // unchanged
}

TEST(ChooseTanks, SecondEngineAndAirIndependentTanks)
{
    MovingObject o;
    PropulsionPlant* plant = FuelledPlant(1, EngineType::DIESEL, EngineType::GAS_TURBINE);
    plant->setting = 2;
    o.fuelTanks.Append(MakeTank(FuelType::DIESEL, 100, 50));
    EXPECT_TRUE(o.ChooseTanks(plant));   // the turbine burns diesel too
    EXPECT_EQ(o.secondTank, 0);

    MovingObject sub;
    PropulsionPlant* aip = FuelledPlant(1, EngineType::AIR_INDEPENDENT);
    sub.SetAltitude(-10);
    sub.fuelTanks.Append(MakeTank(FuelType::DIESEL, 100, 50));
    EXPECT_FALSE(sub.ChooseTanks(aip));   // deep, and no fuel 5
    sub.fuelTanks.Append(MakeTank(FuelType::AIR_INDEPENDENT, 100, 20));
    sub.fuelTanks.Append(MakeTank(FuelType::AIR_INDEPENDENT, 100, 60));
    EXPECT_TRUE(sub.ChooseTanks(aip));
    EXPECT_EQ(sub.secondTank, 2);
    delete plant;
    delete aip;
}

TEST(UpdateFuelFlags, TanksWithCountsOrPartialAmountsCount)
{
    MovingObject o;
    PropulsionPlant* plant = FuelledPlant(1, EngineType::DIESEL, EngineType::ELECTRIC);
    o.plants.Insert(plant);
    o.fuelTanks.Append(MakeTank(FuelType::DIESEL, 100, 0));
    o.fuelTanks.Append(MakeTank(FuelType::BATTERY, 100, 0, 5));
    o.UpdateFuelFlags();
    EXPECT_EQ(plant->hasFuel, 0);
    EXPECT_EQ(plant->secondHasFuel, 1);
}

TEST(Endurance, NuclearNoPlantAndTheShorterEngine)
{
    MovingObject o;
    EXPECT_EQ(o.GetEndurance(), 0);
    PropulsionPlant* reactor = FuelledPlant(1, EngineType::NUCLEAR);
    o.plants.Insert(reactor);
    o.plantKey = 1;
    EXPECT_EQ(o.GetEndurance(), -1);   // whatever the fuel

    MovingObject ship;
    PropulsionPlant* plant = FuelledPlant(1, EngineType::DIESEL);
    plant->useRate[0] = 10;
    ship.plants.Insert(plant);
    ship.fuelTanks.Append(MakeTank(FuelType::DIESEL, 100, 2));
    ship.fuelTanks.Append(MakeTank(FuelType::OIL, 100, 50));   // not burnt: adds nothing
    ship.SetSpeed(5, 0);   // load 100: 10 x 100 x 60 / 100 = 600 a minute
    // 2 counts of 36000 at 600 a minute: 72000 x 60 / 600 seconds
    EXPECT_EQ(ship.GetEndurance(), 7200);
}
