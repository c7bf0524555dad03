// OpsStaffTest.cpp: the ops staff: a new side's missions, creation and the
// refused kinds, the ids it issues, intercepts, unit and group moves, the
// focus unit, the side's mission pass, the forwarders and the saved form.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/CommandMessage.h"
#include "core/StreamFields.h"
#include "missions/HoldingMission.h"
#include "missions/StandingMission.h"
#include "OpsWorld.h"
#include "support/ReportCapture.h"
#include "units/PlaneRec.h"

namespace {

using opstest::NotingMission;

// A ship that holds aircraft records.
class Holder : public unittest::TestUnit {
public:
    Holder() : TestUnit('S') {}
    PlaneRecList* GetPlaneRecList() override { return &records; }
    PlaneRecList records;
};

class OpsStaffTest : public opstest::OpsWorld {
protected:
    std::vector<uint16_t> MissionIDs() const
    {
        std::vector<uint16_t> ids;
        for (const MissionRecord* m = staff->First(); m; m = m->GetNext())
            ids.push_back(m->GetID());
        return ids;
    }
    std::string Saved() const
    {
        std::ostringstream out;
        EXPECT_TRUE(staff->Save(out));
        return out.str();
    }
    ReportCapture reports;
};

TEST_F(OpsStaffTest, NewSideHasTheTwoStandingMissionsAndCounterThree)
{
    EXPECT_EQ(MissionIDs(), (std::vector<uint16_t>{1, 2}));
    EXPECT_NE(dynamic_cast<StandingMission*>(staff->Find(1)), nullptr);
    EXPECT_NE(dynamic_cast<HoldingMission*>(staff->Find(2)), nullptr);
    EXPECT_EQ(staff->Find(1)->GetType(), MissionType::STANDING);
    EXPECT_EQ(staff->Find(2)->GetType(), MissionType::HOLDING);
    EXPECT_EQ(staff->GetNextMissionID(), 3);
    EXPECT_EQ(staff->GetFocusUnitID(), 0);
    EXPECT_EQ(staff->GetCursorMissionID(), 0);

    EXPECT_EQ(Create(), 3);
    EXPECT_EQ(staff->GetNextMissionID(), 4);
    EXPECT_EQ(Create(), 4);
}

TEST_F(OpsStaffTest, RefusedKindsShowTheirErrorAndMakeNothing)
{
    IDList ids;
    for (const uint16_t kind : {0, 8, 9, 13, 14}) {
        SCOPED_TRACE(kind);
        reports.Clear();
        EXPECT_EQ(staff->CreateMission("M", kind, nullptr, &ids), 0);
        EXPECT_EQ(reports.errors.size(), 1u);
    }
    for (const uint16_t kind : {0, 1, 7, 8, 14}) {
        SCOPED_TRACE(kind);
        reports.Clear();
        EXPECT_EQ(staff->CreateTargetedMissions("M", kind, nullptr, 5, nullptr), 0);
        EXPECT_EQ(reports.errors.size(), 1u);
    }
    // A kind whose class the program does not have yet counts as unknown.
    SetMissionKindMaker(4, nullptr);
    reports.Clear();
    EXPECT_EQ(staff->CreateMission("M", 4, nullptr, &ids), 0);
    EXPECT_EQ(reports.errors.size(), 1u);
    // No list: nothing, not even a message.
    reports.Clear();
    EXPECT_EQ(staff->CreateMission("M", 1, nullptr, nullptr), 0);
    EXPECT_TRUE(reports.errors.empty());
    EXPECT_EQ(MissionIDs(), (std::vector<uint16_t>{1, 2}));
    EXPECT_EQ(staff->GetNextMissionID(), 3);
}

TEST_F(OpsStaffTest, CreatedMissionTakesSettingsAndAnInvalidOneLeavesTheCounter)
{
    MissionNameRecord settings;
    settings.settingCode = 77;
    settings.flagBits = MissionFlag::RADAR_ON;
    IDList points;
    points.Insert(new IDNode(40));
    const uint16_t id = staff->CreateMission("Patrol", 2, &settings, &points);
    ASSERT_EQ(id, 3);
    NotingMission* const made = Noting(id);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetType(), MissionType::PATROL);
    EXPECT_EQ(made->creationKind, 2);
    EXPECT_STREQ(made->GetName(), "Patrol");
    EXPECT_EQ(made->settingCode, 77);
    EXPECT_NE(made->madeWith.Find(40), nullptr);

    NotingMission::invalidNext = true;
    EXPECT_EQ(staff->CreateMission("Bad", 1, &settings, &points), 0);
    EXPECT_EQ(staff->GetNextMissionID(), 4);
    EXPECT_EQ(MissionIDs(), (std::vector<uint16_t>{1, 2, 3}));
}

// The counter may lie below held ids (a loaded game), sit on a live id or
// wrap past 65535; the id issued is the first free one from it, never 0, 1
// or 2, and the counter then stands just past it.
TEST_F(OpsStaffTest, IssuedIdsSkipZeroTheStandingIdsAndIdsInUse)
{
    struct Case {
        uint16_t counter;
        std::vector<uint16_t> held;   // created missions already listed
        uint16_t issued;
        uint16_t counterAfter;
    };
    const Case cases[] = {
        {3, {}, 3, 4},
        {2, {3, 4}, 5, 6},              // counter loaded below held ids
        {1, {}, 3, 4},
        {0, {}, 3, 4},
        {7, {7, 8}, 9, 10},             // a live id
        {65535, {}, 65535, 0},          // the last id; the counter wraps
        {65535, {65535}, 3, 4},         // wraps past 0, 1 and 2
        {65535, {65535, 3}, 4, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.counter);
        // Set the counter through the saved form.
        std::ostringstream out;
        SaveField(out, uint16_t{0});
        SaveField(out, uint16_t{0});
        SaveField(out, c.counter);
        OpsStaff fresh(&side);
        for (const uint16_t id : c.held) {
            auto* m = new NotingMission(MissionType::PATROL, 1, "held", 0, &side);
            m->SetKey(id);
            fresh.Insert(m);
        }
        fresh.MissionList::Save(out);
        std::istringstream in(out.str());
        ASSERT_TRUE(staff->Load(in));
        EXPECT_EQ(Create(), c.issued);
        EXPECT_EQ(staff->GetNextMissionID(), c.counterAfter);
        EXPECT_EQ(staff->Find(c.issued)->GetName(), std::string("M"));
    }
}

TEST_F(OpsStaffTest, FerryTakesTheFirstValidDestinationOnly)
{
    IDList selection;
    for (const uint16_t id : {20, 21, 22})
        selection.Insert(new IDNode(id));
    NotingMission::InvalidIDs() = {20};
    const uint16_t id = staff->CreateTargetedMissions("Ferry", 13, nullptr, 0, &selection);
    ASSERT_EQ(id, 3);
    EXPECT_EQ(Noting(3)->auxValue, 21);
    EXPECT_EQ(Noting(3)->GetType(), MissionType::FERRY);
    EXPECT_EQ(MissionIDs(), (std::vector<uint16_t>{1, 2, 3}));
    EXPECT_EQ(staff->GetNextMissionID(), 4);

    // Without a selection the single id is the destination.
    EXPECT_EQ(staff->CreateTargetedMissions("Ferry", 13, nullptr, 30, nullptr), 4);
    EXPECT_EQ(Noting(4)->auxValue, 30);
    // Every destination invalid: none made.
    NotingMission::InvalidIDs() = {20, 21, 22};
    EXPECT_EQ(staff->CreateTargetedMissions("Ferry", 13, nullptr, 0, &selection), 0);
    EXPECT_EQ(staff->GetNextMissionID(), 5);
}

TEST_F(OpsStaffTest, StrikeTargetListFollowsTheKindsClassMask)
{
    struct Case {
        uint16_t kind;
        uint32_t contactMask;
        bool accepted;
    };
    const Case contactCases[] = {
        {9, 0x4, true}, {9, 0x1, false}, {10, 0x10000, true}, {10, 0x4, false}, {10, 0x800, false},
        {11, 0x1, true}, {12, 0x2, true}, {12, 0x1, false}, {13, 0x4, false},
    };
    // Contacts of the current side on units that do not exist.
    MakePlayerSide();
    uint16_t contactID = 200;
    for (const Case& c : contactCases) {
        SCOPED_TRACE(c.kind);
        auto* contact = new Contact();
        contact->SetKey(contactID);
        contact->SetTypeFlags(c.contactMask);
        record->contacts.Insert(contact);
        EXPECT_EQ(OpsStaff::IsStrikeTarget(contactID, c.kind), c.accepted);
        ++contactID;
    }
    // No contact and no unit; a unit that exists answers for itself (its
    // mask here is 0) whatever the contact on it says; a unit of the
    // player's view.
    EXPECT_FALSE(OpsStaff::IsStrikeTarget(999, 9));
    AddUnit(200, 'S');
    EXPECT_FALSE(OpsStaff::IsStrikeTarget(200, 9));
    game2ui::SetContactOfPlayer(202, true);
    EXPECT_FALSE(OpsStaff::IsStrikeTarget(202, 10));
    gam2arena::SetCurrentSide(nullptr);
    EXPECT_FALSE(OpsStaff::IsStrikeTarget(201, 9));
}

TEST_F(OpsStaffTest, StrikeOrders)
{
    MakePlayerSide();
    auto* air = new Contact();
    air->SetKey(50);
    air->SetTypeFlags(0x4);
    record->contacts.Insert(air);
    auto* ship = new Contact();
    ship->SetKey(51);
    ship->SetTypeFlags(0x1);
    record->contacts.Insert(ship);

    // Empty selection and no single id: a strike with no target.
    ASSERT_EQ(staff->CreateTargetedMissions("S", 9, nullptr, 0, nullptr), 3);
    EXPECT_EQ(Noting(3)->GetType(), MissionType::STRIKE);
    EXPECT_EQ(Noting(3)->madeWith.First(), nullptr);
    // A single id is kept only when it is a target; the mission is made.
    ASSERT_EQ(staff->CreateTargetedMissions("S", 9, nullptr, 51, nullptr), 4);
    EXPECT_EQ(Noting(4)->madeWith.First(), nullptr);
    ASSERT_EQ(staff->CreateTargetedMissions("S", 11, nullptr, 51, nullptr), 5);
    EXPECT_NE(Noting(5)->madeWith.Find(51), nullptr);
    // A selection: only the accepted ids.
    IDList selection;
    selection.Insert(new IDNode(50));
    selection.Insert(new IDNode(51));
    ASSERT_EQ(staff->CreateTargetedMissions("S", 9, nullptr, 0, &selection), 6);
    EXPECT_NE(Noting(6)->madeWith.Find(50), nullptr);
    EXPECT_EQ(Noting(6)->madeWith.Find(51), nullptr);
    // A selection with no target: the player is told, nothing is made.
    IDList none;
    none.Insert(new IDNode(51));
    EXPECT_EQ(staff->CreateTargetedMissions("S", 12, nullptr, 0, &none), 0);
    EXPECT_EQ(staff->GetNextMissionID(), 7);
}

TEST_F(OpsStaffTest, MoveUnitRestartsExceptIntoMissionTwo)
{
    AddUnit(30, 'S');
    const uint16_t a = Create();
    const uint16_t b = Create();
    // Mission 2 replaced by a noting mission of type 2 to see any restart.
    MissionRecord* const standing2 = staff->Find(2);
    staff->Remove(standing2);
    delete standing2;
    auto* holding = new NotingMission(MissionType::HOLDING, 0, "hold", 0, &side);
    holding->SetKey(2);
    staff->Insert(holding);

    Hold(a, 30);
    staff->MoveUnit(30, a, a);   // equal ids: nothing
    EXPECT_TRUE(staff->Find(a)->HasUnit(30));
    EXPECT_EQ(Noting(a)->notes, "");

    staff->MoveUnit(30, a, b);
    EXPECT_FALSE(staff->Find(a)->HasUnit(30));
    EXPECT_TRUE(staff->Find(b)->HasUnit(30));
    EXPECT_EQ(Noting(b)->notes, "step30 ");

    staff->MoveUnit(30, b, 2);
    EXPECT_TRUE(holding->HasUnit(30));
    EXPECT_EQ(holding->notes, "");   // not restarted

    // A missing destination means mission 1; a missing record moves nothing.
    staff->MoveUnit(30, 2, 99);
    EXPECT_TRUE(staff->Find(1)->HasUnit(30));
    staff->MoveUnit(30, a, b);
    EXPECT_TRUE(staff->Find(1)->HasUnit(30));
    EXPECT_EQ(staff->FindMissionOfUnit(30), 1);
    staff->MoveUnitToMission(30, b);
    EXPECT_EQ(staff->FindMissionOfUnit(30), b);
    staff->ReturnUnitToStanding(30, 0);
    EXPECT_EQ(staff->FindMissionOfUnit(30), b);
    staff->ReturnUnitToStanding(30, b);
    EXPECT_EQ(staff->FindMissionOfUnit(30), 1);
}

TEST_F(OpsStaffTest, GroupMoveTakesTheMembersAlong)
{
    AddUnit(31, 'S');
    AddUnit(32, 'S');
    AddGroup(30, {31, 32});
    const uint16_t a = Create();
    ASSERT_TRUE(staff->ProcessUnitMission(30, a));
    // New members join the group's mission.
    EXPECT_EQ(staff->FindMissionOfUnit(31), a);
    EXPECT_EQ(staff->FindMissionOfUnit(32), a);

    staff->ReturnGroupToStanding(30, a);
    for (const uint16_t id : {30, 31, 32})
        EXPECT_EQ(staff->FindMissionOfUnit(id), 1) << id;

    // From mission 1 a group goes to mission 2 whole.
    staff->ReturnToStandingMission(30);
    for (const uint16_t id : {30, 31, 32})
        EXPECT_EQ(staff->FindMissionOfUnit(id), 2) << id;
    // A member of a group is left alone; a lone unit goes on its own.
    AddUnit(40, 'S');
    staff->ProcessUnitMission(40, 1);
    staff->MoveUnit(31, 2, 1);
    staff->ReturnToStandingMission(31);
    EXPECT_EQ(staff->FindMissionOfUnit(31), 1);
    staff->ReturnToStandingMission(40);
    EXPECT_EQ(staff->FindMissionOfUnit(40), 2);
}

TEST_F(OpsStaffTest, ProcessUnitMissionRefusesAndMovesHeldMembers)
{
    AddUnit(30, 'W');
    AddUnit(31, 'S');
    AddUnit(32, 'S');
    EXPECT_FALSE(staff->ProcessUnitMission(30, 1));   // a weapon
    EXPECT_FALSE(staff->ProcessUnitMission(99, 1));   // no unit
    EXPECT_FALSE(staff->ProcessUnitMission(31, 99));  // no mission
    EXPECT_EQ(staff->GetFocusUnitID(), 0);

    const uint16_t a = Create();
    ASSERT_TRUE(staff->ProcessUnitMission(32, 1));
    EXPECT_EQ(staff->GetFocusUnitID(), 32);   // the first unit takes the focus
    AddGroup(33, {31, 32});
    ASSERT_TRUE(staff->ProcessUnitMission(33, a));
    EXPECT_EQ(staff->FindMissionOfUnit(31), a);
    EXPECT_EQ(staff->FindMissionOfUnit(32), a);   // moved from mission 1
    EXPECT_EQ(staff->GetFocusUnitID(), 32);
}

TEST_F(OpsStaffTest, FocusUnit)
{
    AddUnit(30, 'P');
    AddUnit(31, 'S');
    AddUnit(32, 'S');
    AddUnit(33, 'S').SetFlags(0x40);
    AddUnit(35, 'P');
    AddGroup(34, {32});
    Hold(1, 30);
    Hold(1, 31);
    Hold(2, 33);
    Hold(2, 34);
    const uint16_t a = Create();
    Hold(a, 32);

    EXPECT_EQ(staff->SetFocusUnit(35), 0);    // held by no mission
    EXPECT_EQ(staff->GetFocusUnitID(), 0);
    EXPECT_EQ(staff->SetFocusUnit(34), 32);   // a group: its lead
    EXPECT_EQ(staff->GetFocusUnitID(), 32);
    // Mission 2's ship 33 does not qualify (flag 0x40); mission 1's 31 does.
    EXPECT_EQ(staff->SetFocusUnit(0), 31);
    EXPECT_EQ(staff->PickFocusUnit(), 32);   // other than the focus: mission 3's
    // Removing the focus unit picks a new one.
    EXPECT_TRUE(staff->RemoveUnit(31));
    EXPECT_EQ(staff->GetFocusUnitID(), 32);
    EXPECT_FALSE(staff->RemoveUnit(35));   // held by no mission
    EXPECT_FALSE(staff->RemoveUnit(99));

    // A unit of the player's side makes its contact record current.
    gam2arena::SetCurrentSide(nullptr);
    Game2UI2::SetCurrentSideID(side.GetID());
    staff->SetFocusUnit(30);
    EXPECT_EQ(gam2arena::GetCurrentSide(), record);

    staff->DeleteAllUnits();
    EXPECT_EQ(staff->GetFocusUnitID(), 0);
}

TEST_F(OpsStaffTest, ReleasedUnitsLeaveEveryMissionAndTheFocus)
{
    AddUnit(30, 'S');
    AddUnit(31, 'S');
    AddUnit(32, 'P');
    const uint16_t a = Create();
    Hold(1, 30);
    Hold(2, 31);
    Hold(a, 32);
    ASSERT_EQ(staff->SetFocusUnit(30), 30);
    staff->ReleaseMissionUnits();
    EXPECT_EQ(MissionIDs(), (std::vector<uint16_t>{1, 2, a}));   // the missions stay
    for (const uint16_t unit : {30, 31, 32})
        EXPECT_FALSE(staff->IsUnitAssigned(unit)) << unit;
    EXPECT_FALSE(staff->HasAnyUnits());
    EXPECT_EQ(staff->GetFocusUnitID(), 0);
    EXPECT_NE(units.Find(30), nullptr);   // the units stay in play
}

TEST_F(OpsStaffTest, SidePassPlansEveryMissionAndDeletesFinishedOnes)
{
    const uint16_t a = Create();
    const uint16_t b = Create();
    EXPECT_FALSE(staff->HasAnyUnits());
    // Planning: one mission per call, the cursor on the next.
    EXPECT_TRUE(staff->StepMissionPlanning());
    EXPECT_EQ(staff->GetCursorMissionID(), 2);
    EXPECT_TRUE(staff->StepMissionPlanning());
    EXPECT_TRUE(staff->StepMissionPlanning());
    EXPECT_FALSE(staff->StepMissionPlanning());
    EXPECT_EQ(staff->GetCursorMissionID(), 0);

    AddUnit(30, 'S');
    Hold(a, 30);
    EXPECT_TRUE(staff->HasAnyUnits());
    staff->Find(a)->missionFlags |= MissionFlag::FINISHED;
    int calls = 0;
    while (staff->StepMissionChecks())
        ++calls;
    EXPECT_EQ(calls + 1, 4);
    EXPECT_EQ(MissionIDs(), (std::vector<uint16_t>{1, 2, b}));
    EXPECT_EQ(staff->FindMissionOfUnit(30), 1);   // given back first

    // A cursor on a mission no longer listed ends the phase.
    std::ostringstream out;
    SaveField(out, uint16_t{0});
    SaveField(out, uint16_t{a});
    SaveField(out, uint16_t{5});
    staff->MissionList::Save(out);
    std::istringstream in(out.str());
    ASSERT_TRUE(staff->Load(in));
    EXPECT_FALSE(staff->StepMissionPlanning());
    EXPECT_EQ(staff->GetCursorMissionID(), 0);
}

TEST_F(OpsStaffTest, FinishedFlagOnAStandingMissionIsNotActedOn)
{
    AddUnit(30, 'S');
    Hold(1, 30);
    staff->Find(1)->missionFlags |= MissionFlag::FINISHED;
    while (staff->StepMissionChecks()) {
    }
    EXPECT_EQ(MissionIDs(), (std::vector<uint16_t>{1, 2}));
    EXPECT_EQ(staff->FindMissionOfUnit(30), 1);
}

TEST_F(OpsStaffTest, DeleteAllMissionsKeepsTheStandingOnes)
{
    AddUnit(30, 'S');
    AddUnit(31, 'S');
    const uint16_t a = Create();
    Create();
    Hold(a, 30);
    Hold(2, 31);
    staff->DeleteAllMissions();
    EXPECT_EQ(MissionIDs(), (std::vector<uint16_t>{1, 2}));
    EXPECT_EQ(staff->FindMissionOfUnit(30), 1);
    EXPECT_EQ(staff->FindMissionOfUnit(31), 1);
    EXPECT_EQ(Create(), 5);   // ids are not issued again
}

TEST_F(OpsStaffTest, InterceptTakesPartOnlyOwnUnitsOfTheCurrentRecord)
{
    MakePlayerSide();
    AddUnit(31, 'P', 40);
    AddUnit(32, 'P');
    AddUnit(33, 'P').SetSideID(2);   // another side's
    AddUnit(34, 'S');
    AddGroup(40, {31});
    for (const uint16_t id : {32, 33, 34, 40})
        Hold(1, id);
    Hold(1, 31);
    IDList selected;
    for (const uint16_t id : {31, 32, 33})
        selected.Insert(new IDNode(id));
    IDList targets;
    targets.Insert(new IDNode(90));

    const uint16_t id = staff->CreateInterceptMission(&selected, &targets);
    ASSERT_EQ(id, 3);
    NotingMission* const m = Noting(id);
    EXPECT_EQ(m->GetType(), MissionType::INTERCEPT);
    EXPECT_EQ(m->creationKind, MissionKind::INTERCEPT);
    EXPECT_NE(m->madeWith.Find(90), nullptr);
    EXPECT_TRUE(m->HasUnit(31));
    EXPECT_TRUE(m->HasUnit(32));
    EXPECT_FALSE(m->HasUnit(33));
    // Every unit taking part was a plane: the intercept settings.
    EXPECT_EQ(m->missionFlags & MissionFlag::SETTING_BITS, OpsStaff::INTERCEPT_FLAGS);

    // A ship takes part in a created intercept (no settings), but not in
    // an assigned one; an invalid mission is deleted and its id stays used.
    IDList ship;
    ship.Insert(new IDNode(34));
    const NotingMission fresh(MissionType::INTERCEPT, 8, "I", 0, &side);
    ASSERT_EQ(staff->CreateInterceptMission(&ship, &targets), 4);
    EXPECT_TRUE(Noting(4)->HasUnit(34));
    EXPECT_EQ(Noting(4)->missionFlags, fresh.missionFlags);
    ASSERT_EQ(staff->AssignInterceptMission(&ship, &targets), 5);
    EXPECT_FALSE(Noting(5)->HasUnit(34));
    EXPECT_EQ(Noting(5)->missionFlags & MissionFlag::SETTING_BITS, OpsStaff::INTERCEPT_FLAGS);
    NotingMission::invalidNext = true;
    EXPECT_EQ(staff->AssignInterceptMission(&ship, &targets), 0);
    NotingMission::invalidNext = false;
    EXPECT_EQ(staff->GetNextMissionID(), 7);
    EXPECT_EQ(staff->Find(6), nullptr);
}

TEST_F(OpsStaffTest, ForwardersReachTheMissionOrDoNothing)
{
    AddUnit(30, 'S');
    const uint16_t a = Create();
    Hold(a, 30);
    staff->HandleMissionEvent(a, 3);
    staff->StepUnit(30, 1);
    staff->ReleaseUnit(30);
    EXPECT_EQ(Noting(a)->notes, "event3 step30 release30 ");
    EXPECT_EQ(staff->QueryUnitMission(30, 2), 32);

    // Nothing found: nothing done, neutral answers.
    staff->HandleMissionEvent(99, 3);
    staff->StepUnit(31, 1);
    EXPECT_EQ(staff->QueryUnitMission(31, 2), 0);
    EXPECT_FALSE(staff->LaunchForUnit(31, 1, 1, 1, 0));
    EXPECT_EQ(staff->GetMissionName(99), "");
    EXPECT_EQ(staff->GetUnitMissionInfo(31), "");
    EXPECT_EQ(staff->AddReference(1, 1, 99, 0), 0);
    EXPECT_EQ(staff->RefreshReference(1, 1, 99), 0);
    EXPECT_FALSE(staff->RemoveReference(99, 1, 1));
    EXPECT_FALSE(staff->IsUnitLaunchPending(1, 1, 0));
    EXPECT_EQ(staff->CopySavedName(99), nullptr);

    staff->MissionNewName("Renamed", a);
    EXPECT_EQ(staff->GetMissionName(a), "Renamed");
    staff->Find(a)->units.Find(30)->state = MissionUnitState::IDLE;
    EXPECT_EQ(staff->GetUnitMissionInfo(30), "Renamed");

    // Setting: id 0 sets every mission; reading id 0 reads mission 2.
    staff->SetMissionSetting(0, 0);
    for (const MissionRecord* m = staff->First(); m; m = m->GetNext())
        EXPECT_EQ(m->GetSetting(), 0) << m->GetID();
    staff->SetMissionSetting(1, 2);
    EXPECT_EQ(staff->GetMissionSetting(0), 1);
    EXPECT_EQ(staff->GetMissionSetting(a), 0);
    EXPECT_EQ(staff->GetMissionSetting(99), 0);
}

TEST_F(OpsStaffTest, ReferenceMovesBetweenMissions)
{
    auto* holder = new Holder();
    Place(*holder, 60, 0);
    auto* planes = new PlaneRec(1);
    planes->unitID = 60;
    holder->records.Insert(planes);
    const uint16_t a = Create();
    auto* reference = new PlaneRecRef();
    reference->holderID = 60;
    reference->recordID = 1;
    staff->Find(a)->planeRefs.Insert(reference);

    staff->MoveReference(60, 1, a, a);   // equal ids: nothing
    EXPECT_NE(staff->Find(a)->FindReference(60, 1), nullptr);
    staff->MoveReference(60, 1, a, 99);  // no such mission: to mission 1
    EXPECT_EQ(staff->Find(a)->FindReference(60, 1), nullptr);
    EXPECT_NE(staff->Find(1)->FindReference(60, 1), nullptr);
    staff->MoveReference(60, 1, 1, 2);
    EXPECT_NE(staff->Find(2)->FindReference(60, 1), nullptr);
}

TEST_F(OpsStaffTest, SavedFormRoundTripsByteForByte)
{
    AddUnit(30, 'S');
    const uint16_t a = Create("First");
    Create("Second");
    Hold(a, 30);
    staff->SetFocusUnit(30);
    staff->StepMissionPlanning();
    const std::string saved = Saved();
    // FocusUnitID, CursorMissionID, NextMissionID, then the mission count.
    ASSERT_GE(saved.size(), 8u);
    EXPECT_EQ(saved.substr(0, 8), std::string("\x1E\x00\x02\x00\x05\x00\x04\x00", 8));

    OpsStaff loaded(&side);
    std::istringstream in(saved);
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_EQ(in.peek(), EOF);
    EXPECT_EQ(loaded.GetFocusUnitID(), 30);
    EXPECT_EQ(loaded.GetCursorMissionID(), 2);
    EXPECT_EQ(loaded.GetNextMissionID(), 5);
    EXPECT_NE(dynamic_cast<StandingMission*>(loaded.Find(1)), nullptr);
    EXPECT_NE(dynamic_cast<HoldingMission*>(loaded.Find(2)), nullptr);
    EXPECT_TRUE(loaded.Find(a)->HasUnit(30));
    EXPECT_EQ(loaded.Find(a)->side, &side);
    std::ostringstream again;
    ASSERT_TRUE(loaded.Save(again));
    EXPECT_EQ(again.str(), saved);
}

TEST_F(OpsStaffTest, CutOrDamagedSectionLeavesTheStaffAsItWas)
{
    Create("First");
    const std::string saved = Saved();
    OpsStaff target(&side);
    target.StepMissionPlanning();
    std::ostringstream before;
    target.Save(before);
    for (size_t length = 0; length < saved.size(); ++length) {
        SCOPED_TRACE(length);
        std::istringstream in(saved.substr(0, length));
        EXPECT_FALSE(target.Load(in));
        EXPECT_TRUE(in.fail());
        std::ostringstream after;
        target.Save(after);
        ASSERT_EQ(after.str(), before.str());
    }
    // A mission id listed twice.
    std::ostringstream twice;
    SaveField(twice, uint16_t{0});
    SaveField(twice, uint16_t{0});
    SaveField(twice, uint16_t{3});
    SaveField(twice, uint16_t{2});
    staff->Find(1)->Save(twice);
    staff->Find(1)->Save(twice);
    std::istringstream in(twice.str());
    EXPECT_FALSE(target.Load(in));
    std::ostringstream after;
    target.Save(after);
    EXPECT_EQ(after.str(), before.str());
}

TEST_F(OpsStaffTest, UnknownMissionTypeIsFatal)
{
    for (const uint16_t type : {0, 10, 4}) {
        SCOPED_TRACE(type);
        if (type == 4)
            SetMissionLoadMaker(4, nullptr);   // a type without its class yet
        std::ostringstream out;
        SaveField(out, uint16_t{0});
        SaveField(out, uint16_t{0});
        SaveField(out, uint16_t{3});
        SaveField(out, uint16_t{1});
        SaveField(out, type);
        out << std::string(64, '\0');
        reports.Clear();
        std::istringstream in(out.str());
        EXPECT_FALSE(staff->Load(in));
        EXPECT_EQ(reports.fatals.size(), 1u);
        EXPECT_EQ(MissionIDs(), (std::vector<uint16_t>{1, 2}));
    }
}

TEST_F(OpsStaffTest, EndOfEditDeletesMarkedMissionsButNeverTheStandingOnes)
{
    // A commit deletes the missions deleted in the editor; a cancel takes
    // the deletion back.
    for (const uint8_t commit : {0, 1}) {
        SCOPED_TRACE(commit);
        const uint16_t a = Create();
        const uint16_t b = Create();
        delete staff->GetMissionList();
        staff->DeleteMission(a);
        staff->Find(1)->deletedMark = 1;
        staff->Find(2)->deletedMark = 1;
        staff->StopEditingMissions(commit);
        EXPECT_EQ(staff->Find(a) == nullptr, commit == 1);
        EXPECT_NE(staff->Find(b), nullptr);
        EXPECT_NE(staff->Find(1), nullptr);
        EXPECT_NE(staff->Find(2), nullptr);
        staff->DeleteAllMissions();
    }
}

} // namespace
