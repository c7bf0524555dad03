// LaunchWindowOrdersTest.cpp: what the air operations windows ask of the
// engagement model: the loadout description, the launch list of a unit or
// group, and a launch onto a drawn sector.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "annex/LoadoutAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/ConfigurationFileIO.h"
#include "core/IDList.h"
#include "core/ResourceLoader.h"
#include "engagement/LaunchListBuild.h"
#include "engagement/LaunchWindowCalls.h"
#include "engagement/LoadoutDescription.h"
#include "engagement/SectorLaunch.h"
#include "support/ReportCapture.h"
#include "support/TempTree.h"
#include "units/StationTestSupport.h"
#include "world/game2ui.h"

namespace {

// A ship or facility holding aircraft, with air facilities that take sizes
// up to maxSize.
class Holder : public unittest::TestUnit {
public:
    explicit Holder(char letter) : TestUnit(letter) {}
    PlaneRecList* GetPlaneRecList() override { return &records; }
    AnnexEntryList* GetAirFacilityList() override { return &facilities; }
    uint32_t GetMaxAircraftSize(bool, bool) const override { return maxSize; }
    PlaneRecList records;
    AnnexEntryList facilities;
    uint32_t maxSize = 4;
};

struct Opened {
    std::vector<uint16_t> records;
    uint16_t mode;
};

struct WindowAnswers {
    static WindowAnswers*& Active() { static WindowAnswers* active = nullptr; return active; }
    std::vector<Opened> opened;
    bool hasPick = false;
    uint16_t pickAxis = 0;
    int32_t bearings[2] = {};
    int32_t ranges[2] = {};
    uint16_t shownUnit = 0;
    std::vector<uint16_t> pickEvents;   // values of the events the station is to carry
};

class LaunchWindowOrdersTest : public stationtest::StationWorld {
protected:
    static constexpr uint16_t TYPE_ID = 11;

    LaunchWindowOrdersTest()
    {
        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR) +
                                      "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader.get();
        Annex::Tables().Create();
        type = new PlaneAnnex(TYPE_ID);
        Annex::Tables().Planes()->Insert(type);
        LaunchWindowCalls calls;
        calls.openAirOperations = [](LaunchList* list, uint16_t mode) {
            Opened o{{}, mode};
            for (const LaunchEntry* e = list->First(); e != nullptr; e = e->GetNext())
                o.records.push_back(e->planeRecId);
            WindowAnswers::Active()->opened.push_back(o);
            delete list;
        };
        calls.getFormationPick = [](uint16_t, SectorPick& out) {
            const WindowAnswers& a = *WindowAnswers::Active();
            out.axis = a.pickAxis;
            out.firstBearing = a.bearings[0];
            out.secondBearing = a.bearings[1];
            out.firstRange = a.ranges[0];
            out.secondRange = a.ranges[1];
            for (uint16_t value : a.pickEvents)
                out.events.Append(new unittest::TestEvent(EventCode::SET_SPEED, 0, value));
            return a.hasPick;
        };
        calls.getFormationUnit = [](uint16_t) { return WindowAnswers::Active()->shownUnit; };
        previousCalls = SetLaunchWindowCalls(calls);
        WindowAnswers::Active() = &window;
        game2ui::SetShowAll(true);
    }
    ~LaunchWindowOrdersTest() override
    {
        game2ui::ClearVisibility();
        gShowSubstitutions = 0;
        gSectorLaunchGroup = 0;
        WindowAnswers::Active() = nullptr;
        SetLaunchWindowCalls(previousCalls);
        units.DeleteAll();
        Annex::Tables().Delete();
        TheResourceLoader = nullptr;
    }

    static std::string Words(int32_t number)
    {
        std::string words = TheResourceLoader->Get(number);
        TheResourceLoader->Free(number);
        return words;
    }

    Holder* AddHolder(uint16_t id, char letter, const char* name = "")
    {
        auto* h = new Holder(letter);
        h->SetKey(id);
        h->SetName(name);
        h->SetPosition(Home());
        units.Insert(h);
        return h;
    }
    static PlaneRec* AddRecord(Holder& holder, uint16_t key, uint8_t count, uint16_t loadout = 0,
                               uint16_t planeType = TYPE_ID)
    {
        auto* r = new PlaneRec(key);
        r->planeAnnexID = planeType;
        r->unitID = holder.GetKey();
        r->count = count;
        r->loadoutID = loadout;
        holder.records.Insert(r);
        return r;
    }
    void AddWeapon(uint16_t weaponID, const char* first, const char* second, uint16_t recID, uint16_t rounds)
    {
        auto* w = new WeaponAnnex(weaponID);
        w->className.Set(first);
        w->secondName.Set(second);
        Annex::Tables().Weapons()->Insert(w);
        auto* r = new WeaponRec(recID);
        r->weaponID = weaponID;
        r->shotsLeft = rounds;
        Annex::Tables().WeaponRecs()->Insert(r);
    }
    static LoadoutAnnex* AddLoadout(uint16_t id, std::initializer_list<uint16_t> recs)
    {
        auto* l = new LoadoutAnnex(id);
        for (uint16_t r : recs)
            l->weaponRecIDs.Insert(new IDNode(r));
        Annex::Tables().Loadouts()->Insert(l);
        return l;
    }
    std::string Describe(uint16_t unit, uint16_t record, uint16_t loadout, const NavIDList* subs = nullptr,
                         int16_t size = 512)
    {
        std::vector<char> text(static_cast<size_t>(size) + 8, 'x');
        DescribeLoadout(unit, record, loadout, subs, text.data(), size);
        EXPECT_EQ(text[static_cast<size_t>(size)], 'x');   // nothing past the buffer
        return text.data();
    }

    PlaneAnnex* type = nullptr;
    WindowAnswers window;
    ReportCapture reports;

private:
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
    LaunchWindowCalls previousCalls;
};

TEST_F(LaunchWindowOrdersTest, TheHeadingFollowsTheHolder)
{
    AddHolder(30, 'S', "Aldor");
    AddHolder(31, 'F', "North Field");
    Holder* attached = AddHolder(32, 'F', "Pier");
    attached->attachedID = 30;
    Holder* lost = AddHolder(33, 'F', "Strip");
    lost->attachedID = 99;   // no longer exists
    AddHolder(34, 'G', "Task group");
    const std::string none = Words(0x7B01F6) + "\n";
    EXPECT_EQ(Describe(30, 1, 0), Words(0x7B01F1) + "Aldor.\n" + none);
    EXPECT_EQ(Describe(31, 1, 0), Words(0x7B01F2) + "North Field.\n" + none);
    EXPECT_EQ(Describe(32, 1, 0), Words(0x7B01F2) + "Pier at Aldor.\n" + none);
    EXPECT_EQ(Describe(33, 1, 0), Words(0x7B01F2) + "Strip.\n" + none);
    EXPECT_EQ(Describe(34, 1, 0), none);
}

TEST_F(LaunchWindowOrdersTest, WeaponLinesUseWidths36And25AndTheRadiusFollows)
{
    Holder* ship = AddHolder(30, 'S', "Aldor");
    AddWeapon(1, "Dart", "", 101, 4);
    AddWeapon(2, "Pike", "Mk 7 heavy", 102, 12);   // a second name of 10 characters
    AddLoadout(50, {101, 102});
    type->loadouts.Insert(new NavIDNode(50, 300));
    type->usableRange = 500;
    AddRecord(*ship, 3, 2, 50);
    const std::string heading = Words(0x7B01F1) + "Aldor.\n";
    const std::string lines = Words(0x7B01F3) + "\n" + "Dart" + std::string(32, ' ') + "  4  " + "\n" +
                              "Mk 7 heavy Pike" + std::string(21, ' ') + "  12 ";
    const std::string radius = "\n" + Words(0x7B01F4) + "100 " + Words(0x7B01F5) + "\n";
    EXPECT_EQ(Describe(30, 3, 50), heading + lines + radius);

    // Without a loadout: the unloaded radius of the record's type.
    EXPECT_EQ(Describe(30, 3, 77),
              heading + Words(0x7B01F6) + "\n" + Words(0x7B01F7) + "250 " + Words(0x7B01F5) + "\n");
    // No such unit: the loadout alone, no record, no radius.
    EXPECT_EQ(Describe(99, 3, 50), lines);

    // Cut at the buffer, always ended.
    const std::string whole = heading + lines + radius;
    EXPECT_EQ(Describe(30, 3, 50, nullptr, 20), whole.substr(0, 19));
    EXPECT_EQ(Describe(30, 3, 50, nullptr, 1), "");
}

TEST_F(LaunchWindowOrdersTest, SubstitutionsShowOnlyWithTheSwitchAndAMissingWeaponEndsTheText)
{
    Holder* ship = AddHolder(30, 'S');
    AddWeapon(1, "Dart", "", 101, 4);
    AddWeapon(2, "Spear", "", 102, 4);
    AddWeapon(3, "Lance", "", 600, 4);
    AddLoadout(50, {101});
    AddRecord(*ship, 3, 2, 50);
    NavIDList subs;
    subs.Insert(new NavIDNode(1, 2));
    const std::string prefix = Words(0x7B01F1) + ".\n" + Words(0x7B01F3) + "\n";
    EXPECT_EQ(Describe(30, 3, 50, &subs), prefix + "Dart" + std::string(32, ' ') + "  4  ");
    gShowSubstitutions = 1;
    EXPECT_EQ(Describe(30, 3, 50, &subs), prefix + "Spear" + std::string(31, ' ') + "  4  ");
    NavIDList nothing;   // the magazines were short: nothing carried for weapon 1
    nothing.Insert(new NavIDNode(1, 0));
    AddLoadout(53, {101, 600});
    EXPECT_EQ(Describe(30, 3, 53, &nothing), prefix + "Lance" + std::string(31, ' ') + "  4  ");
    EXPECT_TRUE(reports.posts.empty());
    NavIDList unknown;   // a 0 for a weapon the database lacks ends the text
    unknown.Insert(new NavIDNode(77, 0));
    auto* lost = new WeaponRec(104);
    lost->weaponID = 77;
    Annex::Tables().WeaponRecs()->Insert(lost);
    AddLoadout(54, {104, 600});
    EXPECT_EQ(Describe(30, 3, 54, &unknown), Words(0x7B01F1) + ".\n" + Words(0x7B01F3));
    ASSERT_EQ(reports.posts.size(), 1u);
    EXPECT_EQ(reports.posts[0], Words(0x7B0258));
    reports.posts.clear();

    AddLoadout(51, {101, 555, 600});   // 555: no such weapon record; lines go in key order
    EXPECT_EQ(Describe(30, 3, 51), prefix + "Dart" + std::string(32, ' ') + "  4  ");
    ASSERT_EQ(reports.posts.size(), 1u);
    EXPECT_EQ(reports.posts[0], Words(0x7B0259));

    auto* orphan = new WeaponRec(103);   // its weapon is missing
    orphan->weaponID = 77;
    Annex::Tables().WeaponRecs()->Insert(orphan);
    AddLoadout(52, {101, 103, 600});
    EXPECT_EQ(Describe(30, 3, 52), prefix + "Dart" + std::string(32, ' ') + "  4  ");
    ASSERT_EQ(reports.posts.size(), 2u);
    EXPECT_EQ(reports.posts[1], Words(0x7B0258));
}

TEST_F(LaunchWindowOrdersTest, TheLaunchListTakesTheVisibleMembersRecordsThatFit)
{
    game2ui::SetShowAll(false);
    type->aircraftFlags = 6u << 11;   // size code 6 counts as 3
    auto* big = new PlaneAnnex(12);
    big->aircraftFlags = 10u << 11;   // counts as 5
    Annex::Tables().Planes()->Insert(big);
    auto* four = new PlaneAnnex(13);
    four->aircraftFlags = 4u << 11;   // stays 4
    Annex::Tables().Planes()->Insert(four);

    Holder* a = AddHolder(30, 'S');
    Holder* b = AddHolder(31, 'S');
    Holder* hidden = AddHolder(32, 'S');
    Holder* none = AddHolder(33, 'S');
    none->maxSize = 0;
    for (uint16_t id : {30, 31, 32, 33})
        group->AddMember(id, nullptr);
    for (uint16_t id : {stationtest::StationWorld::GROUP_ID, uint16_t{30}, uint16_t{31}, uint16_t{33}})
        game2ui::SetVisibleToPlayer(id, true);
    AddRecord(*a, 1, 2);
    AddRecord(*a, 2, 2, 0, 12);    // too big for the facilities (4)
    AddRecord(*a, 3, 2, 0, 13);
    PlaneRec* away = AddRecord(*a, 4, 2);
    away->onStation = 1;           // taken, not arming
    PlaneRec* arming = AddRecord(*a, 5, 2);
    arming->onStation = 1;
    arming->flags = PlaneRec::ARMING;
    AddRecord(*a, 6, 2, 0, 99);    // type unknown
    AddRecord(*b, 7, 1);
    AddRecord(*hidden, 8, 1);
    AddRecord(*none, 9, 1);

    BuildLaunchList(stationtest::StationWorld::GROUP_ID, nullptr, 2);
    ASSERT_EQ(window.opened.size(), 1u);
    EXPECT_EQ(window.opened[0].records, (std::vector<uint16_t>{1, 3, 5, 7}));
    EXPECT_EQ(window.opened[0].mode, 2);

    // Nothing qualifies: no window.
    BuildLaunchList(33, nullptr, 2);
    BuildLaunchList(32, nullptr, 2);   // not visible
    EXPECT_EQ(window.opened.size(), 1u);

    // The further ids are collected once each.
    IDList further;
    further.Insert(new IDNode(31));
    BuildLaunchList(31, &further, 2);
    ASSERT_EQ(window.opened.size(), 2u);
    EXPECT_EQ(window.opened[1].records, (std::vector<uint16_t>{7}));
}

TEST_F(LaunchWindowOrdersTest, TheSizeCodeIsHalvedAboveFourBeforeTheFacilitiesCompareIt)
{
    struct Case {
        uint32_t sizeCode;
        uint32_t largest;
        bool listed;
    };
    const Case cases[] = {
        {6, 3, true}, {6, 2, false}, {4, 4, true}, {4, 3, false}, {5, 2, true}, {0x1FF, 255, true},
    };
    Holder* ship = AddHolder(30, 'S');
    AddRecord(*ship, 1, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sizeCode);
        type->aircraftFlags = (c.sizeCode << 11) | 0x80000000u | 0x7FFu;   // bits around the code do not count
        ship->maxSize = c.largest;
        window.opened.clear();
        BuildLaunchList(30, nullptr, 2);
        EXPECT_EQ(window.opened.size(), c.listed ? 1u : 0u);
    }
}

TEST_F(LaunchWindowOrdersTest, AGroupAmongItsOwnMembersIsWalkedOnce)
{
    Holder* ship = AddHolder(30, 'S');
    AddRecord(*ship, 1, 2);
    group->AddMember(30, nullptr);
    group->members.Insert(new GroupEntry(stationtest::StationWorld::GROUP_ID));   // a damaged saved game
    IDList collected;
    CollectVisibleUnits(stationtest::StationWorld::GROUP_ID, collected);
    ASSERT_NE(collected.First(), nullptr);
    EXPECT_EQ(collected.First()->GetKey(), 30);
    EXPECT_EQ(collected.First()->GetNext(), nullptr);
}

TEST_F(LaunchWindowOrdersTest, AFormationWindowOpensTheListOfItsUnit)
{
    Holder* a = AddHolder(30, 'S');
    AddRecord(*a, 1, 2);
    OpenLaunchListForWindow(30001, -1);   // no unit shown: nothing
    EXPECT_TRUE(window.opened.empty());
    window.shownUnit = 30;
    OpenLaunchListForWindow(30001, -1);
    ASSERT_EQ(window.opened.size(), 1u);
    EXPECT_EQ(window.opened[0].mode, 3);
    EXPECT_EQ(gLaunchWindowUnit, 30);
    EXPECT_EQ(gLaunchWindowFlag, -1);
}

TEST_F(LaunchWindowOrdersTest, ASectorLaunchGivesTheRecordAStationInTheDrawnSector)
{
    Holder* ship = AddHolder(30, 'S');
    ship->attachedID = stationtest::StationWorld::GROUP_ID;
    PlaneRec* record = AddRecord(*ship, 3, 2);
    record->flags = PlaneRec::READY_FLAGS;
    ASSERT_NE(group->axes[0], nullptr);   // a new group has its main axis
    group->axes[0]->bearing = 3000;
    const int32_t axisBearing = group->GetAxisBearing(0);
    ASSERT_EQ(axisBearing, 3000);
    auto list = [] {
        auto* l = new LaunchList;
        auto* e = new LaunchEntry(1);
        e->unitId = 30;
        e->planeRecId = 3;
        e->aircraftWanted = 2;
        e->launchFlag = 1;
        l->Insert(e);
        return l;
    };

    // No sector drawn: prepared only.
    gSectorLaunchGroup = stationtest::StationWorld::GROUP_ID;
    LaunchToSector(list());
    EXPECT_TRUE(world.Queued(EventCode::LAUNCH_AIRCRAFT).empty());

    window.hasPick = true;
    window.bearings[0] = axisBearing - 1000;   // comes out a full circle up
    window.bearings[1] = axisBearing + 2000;
    window.ranges[0] = 40 * 4096;
    window.ranges[1] = 10 * 4096;
    window.pickEvents = {7, 8};
    LaunchToSector(list());
    EXPECT_EQ(gSectorLaunchGroup, 0);
    ASSERT_EQ(world.Queued(EventCode::LAUNCH_AIRCRAFT).size(), 1u);
    const StationRecord* station = record->GetStation();
    ASSERT_NE(station, nullptr);
    EXPECT_EQ(station->kind, gSectorLaunchKind);
    EXPECT_EQ(station->leftBearing, ANGLE_FULL - 1000);
    EXPECT_EQ(station->rightBearing, 2000);
    EXPECT_EQ(station->maxRange, 40 * 4096);
    EXPECT_EQ(station->minRange, 10 * 4096);
    std::vector<uint16_t> carried;   // the drawn sector's events go with the station
    for (const Event* e = station->eventList.First(); e != nullptr; e = e->GetNext())
        carried.push_back(static_cast<const unittest::TestEvent*>(e)->Value());
    EXPECT_EQ(carried, window.pickEvents);
}

TEST_F(LaunchWindowOrdersTest, ASectorAroundAUnitThatIsNoGroupIsFatal)
{
    AddHolder(30, 'S');
    window.hasPick = true;
    gSectorLaunchGroup = 30;
    LaunchToSector(new LaunchList);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], Words(0x7B025A));
}

}  // namespace
