// FerryMissionTest.cpp: the ferry mission: its saved form and cut streams,
// the destination tests at creation, the one launch or hand-back of its
// aircraft by reach and room, the finish test, the unit step to the halfway
// point and the landing orders, and its emission orders.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "OpsWorld.h"
#include "annex/AnnexTables.h"
#include "annex/PlaneAnnex.h"
#include "core/ResourceText.h"
#include "missions/FerryMission.h"
#include "missions/MissionCalls.h"
#include "units/Plane.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRec.h"
#include "units/UnitEvents.h"

namespace {

using opstest::OpsWorld;

// A unit that takes aircraft: room and landing size as the test sets them.
class Carrier : public unittest::TestUnit {
public:
    Carrier() : TestUnit('S') {}
    PlaneRecList* GetPlaneRecList() override { return &records; }
    int32_t GetAircraftRoom(uint32_t) const override { return room; }
    uint32_t GetMaxAircraftSize(bool, bool) const override { return maxSize; }
    PlaneRecList records;
    int32_t room = 100;
    uint32_t maxSize = 16;
};

struct Calls {
    std::vector<std::string> messages;
    std::vector<uint16_t> launches;                   // holders
    std::vector<std::vector<uint32_t>> landings;      // unit, destination, intercept, land
    std::vector<std::vector<uint32_t>> sensors;       // unit, mode, type
};
Calls& Noted()
{
    static Calls calls;
    return calls;
}

class FerryMissionTest : public OpsWorld {
protected:
    static constexpr uint16_t DEST = 40;
    static constexpr uint16_t TYPE = 11;
    static constexpr int32_t NM = RANGE_PER_NM;

    FerryMissionTest()
    {
        MakePlayerSide();
        Noted() = Calls();
        PlaneBridgeCalls bridge;
        bridge.postGameMessage = [](uint16_t, uint16_t, const char* text, uint16_t, char) {
            Noted().messages.push_back(text);
        };
        previousBridge = SetPlaneBridgeCalls(bridge);
        UnitEventCalls events;
        events.makeLaunchAircraftEvent = [](uint16_t holder, uint16_t, uint32_t) -> Event* {
            Noted().launches.push_back(holder);
            return nullptr;
        };
        events.makeLandOrRefuelEvent = [](uint16_t unit, uint16_t dest, uint8_t intercept, uint8_t land) -> Event* {
            Noted().landings.push_back({unit, dest, intercept, land});
            return nullptr;
        };
        previousEvents = SetUnitEventCalls(events);
        MissionCalls calls;
        calls.makeSetSensorsEvent = [](uint16_t unit, uint32_t mode, uint32_t type, uint16_t, uint8_t, uint16_t,
                                       uint8_t) -> Event* {
            Noted().sensors.push_back({unit, mode, type});
            return nullptr;
        };
        previousCalls = SetMissionCalls(calls);
        Annex::Tables().Create();
        auto* type = new PlaneAnnex(TYPE);
        type->usableRange = 200;   // nautical miles
        type->aircraftFlags = 0x10000;   // size class 16
        Annex::Tables().Planes()->Insert(type);
        destination = new Carrier;
        Place(*destination, DEST, 0);
        game2ui::SetContactOfPlayer(DEST, true);
    }
    ~FerryMissionTest() override
    {
        Annex::Tables().Delete();
        SetMissionCalls(previousCalls);
        SetUnitEventCalls(previousEvents);
        SetPlaneBridgeCalls(previousBridge);
    }

    FerryMission* AddFerry(uint16_t dest = DEST)
    {
        auto* ferry = new FerryMission("Ferry", &side, MissionKind::FERRY, dest);
        ferry->SetKey(FIRST_CREATED_MISSION_ID);
        staff->Insert(ferry);
        return ferry;
    }
    // A holder `nm` miles north of the destination with a record of 2
    // aircraft of TYPE that the ferry holds.
    Carrier* AddHolderWithAircraft(FerryMission* ferry, uint16_t id, int32_t nm, uint16_t parent = 0,
                                   uint32_t flags = 0x10F)
    {
        auto* holder = new Carrier;
        Place(*holder, id, parent);
        holder->SetPosition(LatLonPoint(nm * NM, 0));
        auto* record = new PlaneRec(1);
        record->unitID = id;
        record->count = 2;
        record->planeAnnexID = TYPE;
        record->sizeFactor = 3;
        holder->records.Insert(record);
        auto* ref = new PlaneRecRef(ferry->planeRefs.NewKey());
        ref->holderID = id;
        ref->recordID = 1;
        ref->count = 2;
        ref->recordFlags = flags;
        ferry->planeRefs.Insert(ref);
        return holder;
    }

    Carrier* destination = nullptr;   // owned by units

private:
    PlaneBridgeCalls previousBridge;
    UnitEventCalls previousEvents;
    MissionCalls previousCalls;
};

TEST_F(FerryMissionTest, SavedFormIsTheBaseAndTheDestination)
{
    FerryMission* ferry = AddFerry();
    Hold(ferry->GetID(), 20);
    AddHolderWithAircraft(ferry, 50, 10);
    std::ostringstream out;
    ASSERT_TRUE(ferry->Save(out));
    const std::string saved = out.str();
    ASSERT_GE(saved.size(), 4u);
    EXPECT_EQ(saved.substr(saved.size() - 2), std::string("\x28\x00", 2));   // 40, little-endian
    EXPECT_EQ(saved.substr(0, 2), std::string("\x08\x00", 2));

    FerryMission loaded(FerryMission::TYPE, &side);
    std::istringstream in(saved.substr(2));   // the list reads the type
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_EQ(loaded.GetDestination(), DEST);
    std::ostringstream again;
    loaded.Save(again);
    EXPECT_EQ(again.str(), saved);

    for (size_t cut = 2; cut < saved.size(); ++cut) {
        SCOPED_TRACE(cut);
        FerryMission part(FerryMission::TYPE, &side);
        std::istringstream shortIn(saved.substr(2, cut - 2));
        EXPECT_FALSE(part.Load(shortIn));
        EXPECT_TRUE(shortIn.fail());
        EXPECT_EQ(part.units.First(), nullptr);
        EXPECT_EQ(part.planeRefs.First(), nullptr);
    }
}

TEST_F(FerryMissionTest, DestinationMustBeAPlayerUnitOfTheSide)
{
    auto& foreign = AddUnit(41, 'S');
    foreign.SetSideID(2);
    game2ui::SetContactOfPlayer(41, true);
    AddUnit(42, 'S');   // not a unit of the player's list
    struct Row { uint16_t dest; bool valid; };
    const Row rows[] = {{0, false}, {99, false}, {41, false}, {42, false}, {DEST, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.dest);
        Noted().messages.clear();
        FerryMission ferry("F", &side, MissionKind::FERRY, r.dest);
        EXPECT_EQ(ferry.IsValid(), r.valid);
        EXPECT_EQ(Noted().messages.size(), r.valid ? 0u : 1u);
        EXPECT_EQ(ferry.missionFlags, FerryMission::CREATION_FLAGS);
        EXPECT_EQ(ferry.targetClasses, 0u);
    }
    FerryMission none("F", &side, MissionKind::FERRY, 0);
    EXPECT_EQ(std::string(none.GetSavedName()), ResourceString(FerryMission::NO_DESTINATION_TEXT));
    FerryMission named("F", &side, MissionKind::FERRY, DEST);
    destination->SetName("Base");
    named.SaveName();
    EXPECT_EQ(std::string(named.GetSavedName()), ResourceString(FerryMission::DESCRIPTION_TEXT) + "Base");
}

TEST_F(FerryMissionTest, AircraftLaunchOnceWhenTheyReachAndFitElseGoBack)
{
    struct Row {
        const char* what;
        int32_t nm;
        uint16_t parent;
        uint32_t flags;
        int32_t room;
        uint32_t maxSize;
        bool launched, handedBack, finished;
    };
    const Row rows[] = {
        {"in reach", 100, 0, 0x10F, 100, 16, true, false, false},
        {"too far", 300, 0, 0x10F, 100, 16, false, true, true},
        {"sits on the destination", 0, DEST, 0x10F, 100, 16, false, true, true},
        {"not ready", 100, 0, 0x10E, 100, 16, false, true, true},
        {"no room", 100, 0, 0x10F, 5, 16, false, true, true},   // 2 aircraft of 3 units each
        {"just room", 100, 0, 0x10F, 6, 16, true, false, false},
        {"too big to land", 100, 0, 0x10F, 100, 8, false, true, true},
        {"kept back", 100, 0, 0x210F, 100, 16, false, false, false},
    };
    uint16_t holderID = 50;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Noted().launches.clear();
        destination->room = r.room;
        destination->maxSize = r.maxSize;
        FerryMission* ferry = AddFerry();
        AddHolderWithAircraft(ferry, ++holderID, r.nm, r.parent, r.flags);
        ferry->SetAircraftWait();
        ferry->SetAircraftWait();   // once only
        EXPECT_EQ(Noted().launches.size(), r.launched ? 1u : 0u);
        EXPECT_EQ(ferry->planeRefs.First() == nullptr, r.handedBack);
        EXPECT_EQ(staff->Find(STANDING_MISSION_ID)->planeRefs.First() != nullptr, r.handedBack);
        ferry->OnUnitRemoved(nullptr);
        EXPECT_EQ(ferry->IsFinished(), r.finished ? 1 : 0);
        staff->Remove(ferry);
        delete ferry;
        staff->Find(STANDING_MISSION_ID)->planeRefs.DeleteAll();
    }
}

TEST_F(FerryMissionTest, FinishTestWaitsForUnitsEditsAndADestination)
{
    FerryMission* ferry = AddFerry();
    Hold(ferry->GetID(), 20);
    ferry->OnUnitRemoved(nullptr);
    EXPECT_EQ(ferry->IsFinished(), 0);   // a unit is left
    ferry->units.DeleteAll();
    ferry->editUnits.Insert(new MissionUnitRec(20));
    ferry->OnUnitRemoved(nullptr);
    EXPECT_EQ(ferry->IsFinished(), 0);   // an edit is open
    ferry->editUnits.DeleteAll();
    Hold(ferry->GetID(), 20);
    units.Remove(destination);
    delete destination;
    ferry->OnUnitRemoved(nullptr);
    EXPECT_EQ(ferry->IsFinished(), 1);   // no destination any more
}

TEST_F(FerryMissionTest, OnlyAircraftHeldAwayFromTheDestinationKeepTheMissionGoing)
{
    AddUnit(51, 'S');         // elsewhere
    AddUnit(52, 'S', DEST);   // on the destination
    struct Row { uint16_t holder; bool finished; };
    const Row rows[] = {{51, false}, {52, true}, {DEST, true}, {99, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.holder);
        FerryMission* ferry = AddFerry();
        auto* ref = new PlaneRecRef(ferry->planeRefs.NewKey());
        ref->holderID = r.holder;
        ref->recordID = 1;
        ref->count = 2;
        ferry->planeRefs.Insert(ref);
        ferry->OnUnitRemoved(nullptr);
        EXPECT_EQ(ferry->IsFinished(), r.finished ? 1 : 0);
        staff->Remove(ferry);
        delete ferry;
    }
}

TEST_F(FerryMissionTest, UnitsFlyHalfwayThenGetTheDestinationAsHomeAndALandingOrder)
{
    FerryMission* ferry = AddFerry();
    auto* plane = new Plane;
    Place(*plane, 60, 0);
    AddUnit(63, 'S');
    for (uint16_t id : {60, 63})
        Hold(ferry->GetID(), id);

    ferry->StepUnit(63, 0);   // not an aircraft: back to the standing mission
    EXPECT_FALSE(ferry->HasUnit(63));
    EXPECT_TRUE(staff->Find(STANDING_MISSION_ID)->HasUnit(63));

    ferry->StepUnit(60, 0);
    EXPECT_EQ(ferry->units.Find(60)->state, FerryMission::ON_THE_WAY);
    EXPECT_TRUE(Noted().landings.empty());
    ferry->StepUnit(60, 0);
    EXPECT_EQ(plane->homeBaseID, DEST);
    ASSERT_EQ(Noted().landings.size(), 1u);
    EXPECT_EQ(Noted().landings[0], (std::vector<uint32_t>{60, DEST, 0, 1}));

    // The destination gone on the way: no landing order, the units go back.
    units.Remove(destination);
    delete destination;
    ferry->StepUnit(60, 0);
    EXPECT_EQ(Noted().landings.size(), 1u);
    EXPECT_FALSE(ferry->HasUnit(60));
}

TEST_F(FerryMissionTest, AnAirGroupGivesItsMembersTheDestinationBeforeItsLandingOrder)
{
    FerryMission* ferry = AddFerry();
    AddUnit(70, 'A');
    Hold(ferry->GetID(), 70);
    ferry->units.Find(70)->state = FerryMission::ON_THE_WAY;
    // Two members that follow the group and a plane of its own.
    std::vector<Plane*> planes;
    for (const uint16_t id : {71, 72, 73}) {
        auto* plane = new Plane;
        Place(*plane, id, id == 73 ? 0 : 70);
        plane->homeBaseID = 5;
        planes.push_back(plane);
        Hold(ferry->GetID(), id);
        if (id != 73)
            ferry->units.Find(id)->leaderID = 70;
    }
    ferry->StepUnit(70, 0);
    EXPECT_EQ(planes[0]->homeBaseID, DEST);
    EXPECT_EQ(planes[1]->homeBaseID, DEST);
    EXPECT_EQ(planes[2]->homeBaseID, 5);   // not a member: untouched
    ASSERT_EQ(Noted().landings.size(), 1u);
    EXPECT_EQ(Noted().landings[0], (std::vector<uint32_t>{70, DEST, 0, 1}));
}

TEST_F(FerryMissionTest, EmissionsFollowTheStateOnceManaged)
{
    FerryMission* ferry = AddFerry();
    AddUnit(20, 'P');
    Hold(ferry->GetID(), 20);
    MissionUnitRec* record = ferry->units.Find(20);
    struct Row { int16_t state; std::vector<std::vector<uint32_t>> sensors; };
    const Row rows[] = {
        {MissionUnitState::ENGAGING, {{20, 2, 1}, {20, 2, 7}}},   // radar on despite its off flag
        {MissionUnitState::ON_DUTY, {{20, 3, 1}, {20, 2, 7}}},    // only the ECM on
        {MissionUnitState::IDLE, {{20, 3, 1}, {20, 3, 7}}},
    };
    ferry->missionFlags |= MissionFlag::NO_DELAY;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.state);
        Noted().sensors.clear();
        record->state = r.state;
        record->markBits = 0;
        ferry->SetUnitPosture(20, record);
        ferry->SetUnitPosture(20, record);   // once per state change
        EXPECT_EQ(Noted().sensors, r.sensors);
        EXPECT_EQ(record->markBits, UNIT_POSTURE_APPLIED);
    }
}

} // namespace
