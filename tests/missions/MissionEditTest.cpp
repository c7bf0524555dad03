// MissionEditTest.cpp: the mission edit through the ops staff: the mission
// list, units listed once until confirmed, moves of units and aircraft at
// commit, deletion in the editor, cancel, the give-back message and the
// requests that name no mission.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "OpsWorld.h"
#include "core/CommandMessage.h"
#include "core/ResourceText.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRec.h"

namespace {

using opstest::OpsWorld;
using Entries = std::vector<std::pair<std::string, intptr_t>>;

class Holder : public unittest::TestUnit {
public:
    Holder() : TestUnit('S') {}
    PlaneRecList* GetPlaneRecList() override { return &records; }
    PlaneRecList records;
};

std::vector<std::string>& Messages()
{
    static std::vector<std::string> messages;
    return messages;
}

class MissionEditTest : public OpsWorld {
protected:
    static constexpr uint16_t HOLDER = 30;

    MissionEditTest()
    {
        MakePlayerSide();
        PlaneBridgeCalls bridge;
        bridge.postGameMessage = [](uint16_t, uint16_t, const char* text, uint16_t, char) {
            Messages().push_back(text);
        };
        previousBridge = SetPlaneBridgeCalls(bridge);
        Messages().clear();
        holder = new Holder;
        Place(*holder, HOLDER, 0);
    }
    ~MissionEditTest() override { SetPlaneBridgeCalls(previousBridge); }

    // The entries of a message's text list; the message is deleted.
    static Entries Read(CommandMessage* message)
    {
        Entries entries;
        if (!message)
            return entries;
        message->FirstArgument();
        if (const Chain<StringNode>* list = message->GetNextTextList())
            for (const StringNode* e = list->First(); e; e = e->GetNext())
                entries.emplace_back(e->GetText(), e->GetValue());
        delete message;
        return entries;
    }
    static std::vector<intptr_t> Ids(CommandMessage* message)
    {
        std::vector<intptr_t> ids;
        for (const auto& e : Read(message))
            ids.push_back(e.second);
        return ids;
    }
    static CommandMessage* Confirm(std::initializer_list<uint16_t> ids)
    {
        auto* list = new Chain<StringNode>;
        for (const uint16_t id : ids)
            list->Append(new StringNode("", id));
        auto* message = new CommandMessage(0, 0, 0, 0, nullptr, nullptr);
        message->AddTextList(list);
        return message;
    }
    std::vector<uint16_t> UnitsOf(uint16_t missionID)
    {
        std::vector<uint16_t> ids;
        for (const MissionUnitRec* r = staff->Find(missionID)->units.First(); r; r = r->GetNext())
            ids.push_back(r->GetUnitID());
        return ids;
    }
    // A record of `count` aircraft at the holder, referred to by the mission.
    void GiveAircraft(uint16_t missionID, uint16_t recordID, uint8_t count)
    {
        auto* record = new PlaneRec(recordID);
        record->unitID = HOLDER;
        record->count = count;
        record->missionID = missionID;
        holder->records.Insert(record);
        MissionRecord* mission = staff->Find(missionID);
        auto* ref = new PlaneRecRef(mission->planeRefs.NewKey());
        ref->holderID = HOLDER;
        ref->recordID = recordID;
        ref->count = count;
        ref->refState = PlaneRecRef::COMMITTED;
        mission->planeRefs.Insert(ref);
    }
    uint32_t AircraftOf(uint16_t missionID)
    {
        uint32_t total = 0;
        for (const PlaneRecRef* r = staff->Find(missionID)->planeRefs.First(); r; r = r->GetNext())
            total += r->count;
        return total;
    }
    bool EditCopiesEmpty()
    {
        for (const MissionRecord* m = staff->First(); m; m = m->GetNext())
            if (m->editUnits.First() || m->editPlaneRefs.First() || m->editSettings || m->IsMarkedDeleted())
                return false;
        return true;
    }

    Holder* holder = nullptr;   // owned by units

private:
    PlaneBridgeCalls previousBridge;
};

TEST_F(MissionEditTest, MissionListMarksDelayedMissionsAndLeavesOutTheStandingOne)
{
    const uint16_t a = Create("Alpha");
    const uint16_t b = Create("Bravo");
    staff->Find(b)->missionFlags |= MissionFlag::DELAYED_START;
    const Entries entries = Read(staff->GetMissionList());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].second, STANDING_MISSION2_ID);
    EXPECT_EQ(entries[1], (std::pair<std::string, intptr_t>{"Alpha", a}));
    EXPECT_EQ(entries[2], (std::pair<std::string, intptr_t>{"[D]Bravo", b}));
    // Every mission, the standing one too, has begun its edit.
    for (const MissionRecord* m = staff->First(); m; m = m->GetNext())
        EXPECT_NE(m->editSettings, nullptr);
}

TEST_F(MissionEditTest, AUnitIsListedOnceUntilConfirmed)
{
    const uint16_t m = Create();
    AddUnit(20, 'S').SetName("Ajax");
    staff->Find(m)->units.Insert(new MissionUnitRec(20));
    AddUnit(21, 'P');
    auto* follower = new MissionUnitRec(21);
    follower->leaderID = 20;   // follows a leader: not offered
    staff->Find(m)->units.Insert(follower);
    AddUnit(22, 'S').SetSideID(2);   // another side's unit: not listed
    Hold(m, 22);
    AddGroup(23, {});
    staff->Find(m)->units.Insert(new MissionUnitRec(23));
    Read(staff->GetMissionList());

    const Entries first = Read(staff->GetAssigned(m));
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].second, 20);
    EXPECT_EQ(first[0].first, std::string(units.Find(20)->GetClassName().Text()) + " Ajax");
    EXPECT_EQ(first[1].second, 23);   // a group by its own name
    EXPECT_TRUE(Ids(staff->GetAssigned(m)).empty());   // offered, not confirmed
    staff->SetAssigned(m, Confirm({20}));
    EXPECT_EQ(Ids(staff->GetAssigned(m)), std::vector<intptr_t>{20});
}

TEST_F(MissionEditTest, CommitMovesConfirmedUnitsAndCancelChangesNothing)
{
    const uint16_t m = Create();
    AddUnit(20, 'S');
    Hold(STANDING_MISSION_ID, 20);
    AddUnit(21, 'S');
    Hold(m, 21);
    GiveAircraft(m, 1, 4);
    struct Row { uint8_t commit; std::vector<uint16_t> standing, mission; };
    const Row rows[] = {
        {1, {21}, {20}},
        {0, {20}, {21}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(int{r.commit});
        Read(staff->GetMissionList());
        EXPECT_EQ(Ids(staff->GetUnAssigned(m)), std::vector<intptr_t>{20});
        EXPECT_EQ(Ids(staff->GetAssigned(m)), (std::vector<intptr_t>{21, 0}));   // and the aircraft line
        staff->SetAssigned(m, Confirm({20}));
        staff->SetUnAssigned(m, Confirm({21}));
        staff->StopEditingMissions(r.commit);
        EXPECT_EQ(UnitsOf(STANDING_MISSION_ID), r.standing);
        EXPECT_EQ(UnitsOf(m), r.mission);
        EXPECT_EQ(AircraftOf(m), 4u);   // its aircraft untouched
        EXPECT_EQ(AircraftOf(STANDING_MISSION_ID), 0u);
        EXPECT_TRUE(EditCopiesEmpty());
        if (r.commit) {   // put things back for the cancel row
            staff->MoveUnit(20, m, STANDING_MISSION_ID);
            staff->MoveUnit(21, STANDING_MISSION_ID, m);
        }
    }
}

TEST_F(MissionEditTest, ADeletedMissionHandsEverythingToTheStandingMissionUnlessCancelled)
{
    const uint16_t m = Create();
    AddUnit(21, 'S');
    Hold(m, 21);
    GiveAircraft(m, 1, 4);
    // A cancelled deletion leaves the mission, its unit and its aircraft.
    Read(staff->GetMissionList());
    staff->DeleteMission(m);
    staff->StopEditingMissions(0);
    ASSERT_NE(staff->Find(m), nullptr);
    EXPECT_EQ(UnitsOf(m), std::vector<uint16_t>{21});
    EXPECT_TRUE(UnitsOf(STANDING_MISSION_ID).empty());
    EXPECT_EQ(AircraftOf(m), 4u);
    EXPECT_EQ(AircraftOf(STANDING_MISSION_ID), 0u);
    EXPECT_EQ(holder->records.Find(1)->missionID, m);
    EXPECT_TRUE(EditCopiesEmpty());

    Read(staff->GetMissionList());
    staff->DeleteMission(m);
    EXPECT_EQ(staff->GetAssigned(m), nullptr);
    staff->StopEditingMissions(1);
    EXPECT_EQ(staff->Find(m), nullptr);
    EXPECT_EQ(UnitsOf(STANDING_MISSION_ID), std::vector<uint16_t>{21});
    EXPECT_EQ(AircraftOf(STANDING_MISSION_ID), 4u);
    EXPECT_EQ(holder->records.Find(1)->missionID, STANDING_MISSION_ID);
    EXPECT_TRUE(EditCopiesEmpty());
}

TEST_F(MissionEditTest, CommitGivesEachMissionItsAircraftAsFarAsTheStandingMissionCan)
{
    // The editor's list: the mission keeps `kept` of its 4 aircraft and
    // releases `released` to the standing mission.
    struct Row { uint8_t kept, released; uint32_t mission, standing; };
    const Row rows[] = {
        {4, 0, 4, 0},
        {2, 2, 2, 2},
        {0, 4, 0, 4},   // a reference left with 0 aircraft disappears
        {6, 0, 0, 4},   // more than the standing mission holds: none taken
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << int{r.kept} << " kept");
        const uint16_t m = Create();
        GiveAircraft(m, static_cast<uint16_t>(m * 10), 4);   // room for the keys of splits
        Read(staff->GetMissionList());
        PlaneRecRefList* list = staff->CopyOwnAircraft(m);
        ASSERT_NE(list, nullptr);
        list->First()->count = r.kept;
        if (r.released) {
            auto* given = new PlaneRecRef(*list->First());
            given->SetKey(list->NewKey());
            given->count = r.released;
            given->released = 1;
            list->Insert(given);
        }
        staff->ApplyAircraftList(list, m);
        staff->StopEditingMissions(1);
        EXPECT_EQ(AircraftOf(m), r.mission);
        EXPECT_EQ(AircraftOf(STANDING_MISSION_ID), r.standing);
        for (const PlaneRecRef* ref = staff->Find(m)->planeRefs.First(); ref; ref = ref->GetNext())
            EXPECT_EQ(holder->records.Find(ref->recordID)->missionID, m);
        EXPECT_TRUE(EditCopiesEmpty());
        staff->Find(STANDING_MISSION_ID)->planeRefs.DeleteAll();
    }
}

TEST_F(MissionEditTest, AGiveBackThatChangesNothingTellsThePlayer)
{
    const uint16_t m = Create("Alpha");
    GiveAircraft(m, 1, 4);
    struct Row { bool release; size_t messages; };
    const Row rows[] = {{false, 1}, {true, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.release);
        Messages().clear();
        Read(staff->GetMissionList());
        PlaneRecRefList* list = staff->CopyOwnAircraft(m);
        ASSERT_NE(list, nullptr);
        list->First()->released = r.release ? 1 : 0;
        staff->ApplyAircraftListChecked(list, m);
        ASSERT_EQ(Messages().size(), r.messages);
        if (r.messages) {
            EXPECT_EQ(Messages()[0], ResourceString(MissionRecord::NOTHING_GIVEN_TEXT) + "Alpha" +
                                         ResourceString(MissionRecord::NOTHING_GIVEN_END_TEXT));
        }
        staff->StopEditingMissions(0);
    }
}

TEST_F(MissionEditTest, RequestsForNoMissionDoNothing)
{
    Read(staff->GetMissionList());
    EXPECT_EQ(staff->GetUnAssigned(0), nullptr);
    staff->SetUnAssigned(0, Confirm({20}));   // deleted, not applied
    staff->SetAssigned(99, Confirm({20}));
    EXPECT_EQ(staff->GetAssigned(99), nullptr);
    EXPECT_EQ(staff->CopyOwnAircraft(0), nullptr);
    EXPECT_EQ(staff->CopyOwnAircraft(STANDING_MISSION_ID), nullptr);   // no aircraft at all
    staff->ApplyAircraftList(new PlaneRecRefList, 99);
    staff->DeleteMission(0);
    staff->DeleteMission(STANDING_MISSION_ID);
    EXPECT_EQ(staff->Find(STANDING_MISSION_ID)->IsMarkedDeleted(), 0);
    EXPECT_EQ(staff->Find(STANDING_MISSION_ID)->editUnits.First(), nullptr);
    staff->StopEditingMissions(1);
    EXPECT_TRUE(EditCopiesEmpty());
}

} // namespace
