// MissionEventsTest.cpp: the mission and mission-unit events: their hand-over
// through the side to one mission, the unit's other queued steps dropped,
// copies, due times, saved forms with cut records, and the makers.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/gam2arena.h"
#include "missions/MissionCalls.h"
#include "missions/MissionRecord.h"
#include "missions/OpsStaff.h"
#include "missions/Side.h"
#include "simulation/MissionEvents.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"

namespace {

// A mission that records the steps and codes it is handed.
class RecordingMission : public MissionRecord {
public:
    RecordingMission(uint16_t id, Side* owner) : MissionRecord(3, "R", owner) { SetKey(id); }
    void StepUnit(uint16_t unitID, uint8_t code) override { steps.push_back({unitID, code}); }
    void HandleMissionEvent(uint16_t code) override { codes.push_back(code); }

    std::vector<std::pair<uint16_t, uint8_t>> steps;
    std::vector<uint16_t> codes;
};

class PlainUnit : public Unit {
public:
    PlainUnit(uint16_t id, uint16_t side)
    {
        SetKey(id);
        SetSideID(side);
    }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }
};

Side* theSide = nullptr;

class MissionEvents : public testing::Test {
protected:
    MissionEvents() : side(4)
    {
        previousState = gam2arena::SetArenaState(&arena);
        previousUnits = UnitList::SetArenaList(&units);
        previousUnitEvents = SetUnitEventCalls(UnitEventCalls());
        previousMissionCalls = SetMissionCalls(MissionCalls());
        InstallMissionEventMakers();
        MissionCalls calls = SetMissionCalls(MissionCalls());
        theSide = &side;
        calls.getSide = [](uint16_t id) { return id == 4 ? theSide : nullptr; };
        SetMissionCalls(calls);
        mission = new RecordingMission(5, &side);
        mission->units.Insert(new MissionUnitRec(30));
        side.GetOpsStaff()->Insert(mission);
        units.Insert(new PlainUnit(30, 4));
        units.Insert(new PlainUnit(31, 4));
        arena.SetGameTime(GameTime(1000));
    }
    ~MissionEvents() override
    {
        SetMissionCalls(previousMissionCalls);
        SetUnitEventCalls(previousUnitEvents);
        units.DeleteAll();
        UnitList::SetArenaList(previousUnits);
        gam2arena::SetArenaState(previousState);
        theSide = nullptr;
    }

    ArenaState arena;
    UnitList units;
    Side side;
    RecordingMission* mission = nullptr;   // owned by the side's ops staff

private:
    ArenaState* previousState = nullptr;
    UnitList* previousUnits = nullptr;
    UnitEventCalls previousUnitEvents;
    MissionCalls previousMissionCalls;
};

TEST_F(MissionEvents, AMissionEventReachesItsMissionThroughTheSide)
{
    MissionEvent event(4, 5, 3, 60);
    EXPECT_EQ(event.GetTime().Get(), 1060u);
    EXPECT_FALSE(event.HandleEvent());
    EXPECT_EQ(mission->codes, std::vector<uint16_t>{3});

    // An unknown side or mission does nothing.
    MissionEvent noSide(9, 5, 1, 0);
    MissionEvent noMission(4, 77, 1, 0);
    EXPECT_FALSE(noSide.HandleEvent());
    EXPECT_FALSE(noMission.HandleEvent());
    EXPECT_EQ(mission->codes.size(), 1u);
}

TEST_F(MissionEvents, AMissionUnitEventStepsTheUnitAndDropsItsOtherSteps)
{
    auto* later = new MissionUnitEvent(30);
    later->SetDueTime(GameTime(2000));
    auto* other = new MissionUnitEvent(31);
    other->SetDueTime(GameTime(2000));
    gam2arena::PostEvent(later);
    gam2arena::PostEvent(other);

    MissionUnitEvent event(30);
    event.SetCode(2);
    EXPECT_FALSE(event.HandleEvent());
    EXPECT_EQ(mission->steps, (std::vector<std::pair<uint16_t, uint8_t>>{{30, 2}}));
    EXPECT_EQ(gam2arena::FindUnitEvent(30, nullptr, EventCode::MISSION_UNIT), nullptr);
    EXPECT_EQ(gam2arena::FindUnitEvent(31, nullptr, EventCode::MISSION_UNIT), other);

    // A unit no mission holds, or no unit at all, does nothing.
    MissionUnitEvent unheld(31);
    MissionUnitEvent gone(99);
    EXPECT_FALSE(unheld.HandleEvent());
    EXPECT_FALSE(gone.HandleEvent());
    EXPECT_EQ(mission->steps.size(), 1u);
}

TEST_F(MissionEvents, CopiesAndDueTimes)
{
    MissionEvent event(4, 5, 3, 60);
    std::unique_ptr<Event> copy(event.Clone());
    auto* const mission = dynamic_cast<MissionEvent*>(copy.get());
    ASSERT_NE(mission, nullptr);
    EXPECT_EQ(mission->GetSideID(), 4);
    EXPECT_EQ(mission->GetMissionID(), 5);
    EXPECT_EQ(mission->GetValue(), 3);
    EXPECT_EQ(mission->GetTime().Get(), 1060u);

    // A unit step's stored time is a delay until a path point posts it.
    MissionUnitEvent step(30);
    step.SetCode(7);
    step.SetDueTime(GameTime(25));
    std::unique_ptr<Event> stepCopy(step.Clone());
    auto* const unitCopy = dynamic_cast<MissionUnitEvent*>(stepCopy.get());
    ASSERT_NE(unitCopy, nullptr);
    EXPECT_EQ(unitCopy->GetSubject(), 30);
    EXPECT_EQ(unitCopy->GetCode(), 7);
    EXPECT_EQ(unitCopy->GetTime().Get(), 0u);
    step.ResolveDueTime();
    EXPECT_EQ(step.GetTime().Get(), 1025u);
}

TEST_F(MissionEvents, SavedFormsRoundTripAndACutRecordChangesNothing)
{
    MissionEvent mission(4, 5, 3, 60);
    MissionUnitEvent step(30);
    step.SetCode(2);
    step.SetDueTime(GameTime(77));
    struct Row {
        const Event* original;
        std::string bytes;
    };
    const Row rows[] = {
        {&mission, std::string("\x54\x05\x00\x04\x00\x03\x00\x24\x04\x00\x00", 11)},
        {&step, std::string("\x47\x1e\x00\x02\x4d\x00\x00\x00", 8)},
    };
    for (const Row& row : rows) {
        std::ostringstream out;
        row.original->Save(out);
        EXPECT_EQ(out.str(), row.bytes);
        for (size_t length = 1; length <= row.bytes.size(); ++length) {
            std::unique_ptr<Event> read(row.original->TypeCode() == EventCode::MISSION
                                            ? static_cast<Event*>(new MissionEvent)
                                            : static_cast<Event*>(new MissionUnitEvent));
            std::istringstream in(row.bytes.substr(1, length - 1));
            const bool whole = length == row.bytes.size();
            EXPECT_EQ(read->Load(in), whole) << length;
            std::ostringstream again;
            read->Save(again);
            if (whole)
                EXPECT_EQ(again.str(), row.bytes);
            else
                EXPECT_EQ(again.str().substr(1).find_first_not_of('\0'), std::string::npos) << length;
        }
    }
}

TEST_F(MissionEvents, TheMakersMakeTheseClasses)
{
    std::unique_ptr<Event> step(MakeMissionUnitEvent(30, GameTime(5)));
    ASSERT_NE(dynamic_cast<MissionUnitEvent*>(step.get()), nullptr);
    EXPECT_EQ(step->GetSubject(), 30);
    EXPECT_EQ(step->GetTime().Get(), 5u);
    std::unique_ptr<Event> event(MakeMissionEvent(4, 5, 1, 10));
    ASSERT_NE(dynamic_cast<MissionEvent*>(event.get()), nullptr);
    EXPECT_EQ(event->GetTime().Get(), 1010u);
}

}  // namespace
