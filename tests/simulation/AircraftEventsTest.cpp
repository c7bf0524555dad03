// AircraftEventsTest.cpp: the set-speed and landing events: handling, their
// saved form and a record cut short, and the makers the unit model gets.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "simulation/AircraftEvents.h"
#include "units/AirGroupBridge.h"
#include "units/Plane.h"
#include "units/PlaneRec.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"

namespace {

// A holder of aircraft records.
class Carrier : public Unit {
public:
    char GetTypeLetter() const override { return 'S'; }
    PlaneRecList* GetPlaneRecList() override { return &records; }
    void SaveFields(std::ostream& out) const override { SaveUnitRecord(out); }
    bool LoadFields(std::istream& in) override { return LoadUnitRecord(in); }
    PlaneRecList records;
};

class AircraftEvents : public testing::Test {
protected:
    AircraftEvents()
    {
        previousState = gam2arena::SetArenaState(&arena);
        UnitList::SetArenaList(&units);
        previousEvents = SetUnitEventCalls(UnitEventCalls());
        previousAir = SetAirGroupBridgeCalls(AirGroupBridgeCalls());
        InstallAircraftEventMakers();
        plane = new Plane();
        plane->SetKey(30);
        plane->SetAnnexID(7);
        plane->loadoutID = 3;
        units.Insert(plane);
        carrier = new Carrier();
        carrier->SetKey(40);
        units.Insert(carrier);
    }
    ~AircraftEvents() override
    {
        SetAirGroupBridgeCalls(previousAir);
        SetUnitEventCalls(previousEvents);
        units.DeleteAll();
        UnitList::SetArenaList(nullptr);
        gam2arena::SetArenaState(previousState);
    }

    ArenaState arena;
    ArenaState* previousState = nullptr;
    UnitEventCalls previousEvents;
    AirGroupBridgeCalls previousAir;
    UnitList units;
    Plane* plane = nullptr;
    Carrier* carrier = nullptr;
};

}  // namespace

TEST_F(AircraftEvents, ALandingHandsTheAircraftToItsBaseAndTakesItOutOfPlay)
{
    Event* event = MakeLandEvent(30, 40, GameTime(5));
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->TypeCode(), EventCode::LAND);
    EXPECT_FALSE(event->HandleEvent());
    delete event;
    const PlaneRec* record = carrier->records.First();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->planeAnnexID, 7);
    EXPECT_EQ(record->loadoutID, 3);
    EXPECT_EQ(record->count, 1);
    EXPECT_EQ(record->unitID, 40);
    EXPECT_EQ(arena.Queue().FindNextOfType(nullptr, EventCode::DELETE_UNIT), nullptr)
        << "no delete-unit maker installed here";
}

TEST_F(AircraftEvents, ALandingWithoutAPlaneOrABaseDoesNothing)
{
    for (auto [planeID, baseID] : {std::pair<uint16_t, uint16_t>{30, 99}, {99, 40}, {40, 40}}) {
        LandEvent event(planeID, baseID, GameTime());
        EXPECT_FALSE(event.HandleEvent());
    }
    EXPECT_EQ(carrier->records.First(), nullptr);
}

TEST_F(AircraftEvents, AnAirGroupReadsTheDestinationOfALandingOrder)
{
    EXPECT_EQ(GetLandDestination(LandEvent(30, 40, GameTime(0))), 40);
    EXPECT_EQ(GetLandDestination(SetSpeedEvent(30, 10, GameTime(0))), 0);   // not a landing
}

TEST_F(AircraftEvents, ASetSpeedEventSetsTheSpeed)
{
    auto* plant = new PropulsionPlant();
    plant->SetKey(1);
    plant->engineType = EngineType::JET;
    plant->hasFuel = 1;
    for (int row = 0; row < PropulsionPlant::SETTINGS; ++row)
        for (auto& band : plant->speedTable[row])
            band = {5000, 0, static_cast<uint16_t>(100 * (row + 1))};
    plane->plants.Insert(plant);
    Event* event = MakeSetSpeedEvent(30, 300, GameTime());
    ASSERT_NE(event, nullptr);
    EXPECT_FALSE(event->HandleEvent());
    delete event;
    EXPECT_EQ(plane->speed, 300);
    SetSpeedEvent gone(99, 300, GameTime());
    EXPECT_FALSE(gone.HandleEvent());
}

TEST_F(AircraftEvents, BothRoundTripAndRefuseARecordCutShort)
{
    const LandEvent land(30, 40, GameTime(77));
    const SetSpeedEvent speed(30, 250, GameTime(78));
    for (const Event* original : {static_cast<const Event*>(&land), static_cast<const Event*>(&speed)}) {
        std::ostringstream out;
        original->Save(out);
        const std::string bytes = out.str();
        ASSERT_EQ(bytes.size(), 9u);
        EXPECT_EQ(static_cast<uint8_t>(bytes[0]), original->TypeCode());
        std::unique_ptr<Event> copy(original->Clone());
        std::unique_ptr<Event> read(original->TypeCode() == EventCode::LAND ? static_cast<Event*>(new LandEvent)
                                                                           : new SetSpeedEvent);
        std::istringstream in(bytes.substr(1));
        ASSERT_TRUE(read->Load(in));
        std::ostringstream again;
        read->Save(again);
        EXPECT_EQ(again.str(), bytes);
        std::ostringstream cloned;
        copy->Save(cloned);
        EXPECT_EQ(cloned.str(), bytes);
        for (size_t cut = 1; cut < bytes.size(); ++cut) {
            std::unique_ptr<Event> partial(original->Clone());
            partial->SetSubject(5);
            std::istringstream shortIn(bytes.substr(1, cut - 1));
            EXPECT_FALSE(partial->Load(shortIn)) << cut;
            EXPECT_EQ(partial->GetSubject(), 5) << "nothing half-read is kept";
        }
    }
}
