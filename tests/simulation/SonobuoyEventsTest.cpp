// SonobuoyEventsTest.cpp: the sonobuoy drop: which buoy of the unit or of a
// group's members fits the wanted class, the drop type and line handed to
// the mount, a position that takes no buoy; the saved form, copy,
// description and the maker the unit model gets.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "annex/SensorAnnex.h"
#include "annex/WeaponAnnex.h"
#include "core/gam2arena.h"
#include "engagement/WeaponFireCalls.h"
#include "simulation/AircraftEvents.h"
#include "simulation/SonobuoyEvents.h"
#include "units/AirGroupBridge.h"
#include "units/Group.h"
#include "units/Mount.h"
#include "units/Plane.h"
#include "units/UnitEvents.h"
#include "units/UnitList.h"

namespace {

// Weapon records: buoys of class 1, 3 and 3 directional, and a torpedo.
constexpr uint16_t CLASS1_BUOY = 101;
constexpr uint16_t CLASS3_BUOY = 103;
constexpr uint16_t DIRECTIONAL_BUOY = 104;
constexpr uint16_t TORPEDO = 105;

// One drop the mount was asked for.
struct Drop {
    uint16_t ownerID;
    uint16_t weaponID;
    uint8_t rounds;
    int32_t dropType;
    int32_t lineID;
    LatLonPoint at;
    bool operator==(const Drop&) const = default;
};
std::vector<Drop>& Drops()
{
    static std::vector<Drop> drops;
    return drops;
}
bool& OpenWater()
{
    static bool open = true;
    return open;
}

class Vessel : public Unit {
public:
    char GetTypeLetter() const override { return 'S'; }
    void SaveFields(std::ostream& out) const override { SaveUnitRecord(out); }
    bool LoadFields(std::istream& in) override { return LoadUnitRecord(in); }
};

class SonobuoyEvents : public testing::Test {
protected:
    SonobuoyEvents()
    {
        Drops().clear();
        OpenWater() = true;
        previousState = gam2arena::SetArenaState(&arena);
        UnitList::SetArenaList(&units);
        previousEvents = SetUnitEventCalls(UnitEventCalls());
        previousAir = SetAirGroupBridgeCalls(AirGroupBridgeCalls());
        InstallAircraftEventMakers();
        Mount::Operations operations;
        operations.launchAtPosition = [](Mount& mount, const LatLonPoint& at, WeaponRec& weapon, uint8_t wanted,
                                         int32_t sensorMode, int32_t setting) -> uint8_t {
            Drops().push_back({mount.GetKey(), weapon.weaponID, wanted, sensorMode, setting, at});
            return wanted;
        };
        previousMounts = Mount::SetOperations(operations);
        WeaponFireCalls fire;
        fire.pointValidForType = [](const LatLonPoint&, int16_t type) { return type == 2 && OpenWater(); };
        previousFire = SetWeaponFireCalls(fire);

        Annex::Tables().Create();
        AnnexTables& t = Annex::Tables();
        auto sensor = [&t](uint16_t id, uint32_t type, uint32_t flags) {
            auto* s = new SensorAnnex(id);
            s->sensorType = type;
            s->recordFlags = flags;
            t.Sensors()->Insert(s);
        };
        sensor(1, 5, 0);        // active/passive sonar: class 3
        sensor(2, 4, 0x20);     // a flagged passive sonar: class 0 + 1
        sensor(3, 0x11, 0);     // directional sonar: class 3, directional
        auto weapon = [&t](uint16_t id, uint32_t kind, uint16_t sensorID) {
            auto* w = new WeaponAnnex(id);
            w->weaponKind = kind;
            w->sensors.Insert(new IDRecord(sensorID, 0));
            t.Weapons()->Insert(w);
        };
        weapon(CLASS1_BUOY, 0x100, 2);
        weapon(CLASS3_BUOY, 0x100, 1);
        weapon(DIRECTIONAL_BUOY, 0x100, 3);
        weapon(TORPEDO, 16, 1);
    }
    ~SonobuoyEvents() override
    {
        Annex::Tables().Delete();
        SetWeaponFireCalls(previousFire);
        Mount::SetOperations(previousMounts);
        SetAirGroupBridgeCalls(previousAir);
        SetUnitEventCalls(previousEvents);
        units.DeleteAll();
        UnitList::SetArenaList(nullptr);
        gam2arena::SetArenaState(previousState);
    }

    // The unit in the arena at `at` with one mount (key = the unit id)
    // holding the weapon records, each with `shots` rounds.
    template <typename T = Vessel>
    T& Add(uint16_t id, const std::vector<uint16_t>& weapons, const LatLonPoint& at = {}, uint16_t shots = 4)
    {
        auto* unit = new T();
        unit->SetKey(id);
        unit->SetPosition(at);
        auto* mount = new Mount(id);
        for (uint16_t weaponID : weapons) {
            auto* record = new WeaponRec(mount->weapons.NewKey());
            record->weaponID = weaponID;
            record->shotsLeft = shots;
            mount->weapons.Insert(record);
        }
        unit->mounts.Insert(mount);
        units.Insert(unit);
        return *unit;
    }

    ArenaState arena;
    ArenaState* previousState = nullptr;
    UnitEventCalls previousEvents;
    AirGroupBridgeCalls previousAir;
    Mount::Operations previousMounts;
    WeaponFireCalls previousFire;
    UnitList units;
};

}  // namespace

TEST_F(SonobuoyEvents, TheDropTakesTheBuoyThatFitsTheWantedClass)
{
    struct Row {
        const char* what;
        std::vector<uint16_t> carried;
        uint8_t kind;
        uint16_t dropped;     // 0: nothing
        int32_t dropType;
    };
    const Row rows[] = {
        {"class 1 wanted, both carried", {CLASS3_BUOY, CLASS1_BUOY}, 1, CLASS1_BUOY, 1},
        {"class 1 wanted, only class 3", {CLASS3_BUOY}, 1, CLASS3_BUOY, 1},
        {"class 3 wanted, only class 1", {CLASS1_BUOY}, 3, 0, 0},
        {"any class: the lowest found", {CLASS3_BUOY, CLASS1_BUOY}, 0, CLASS1_BUOY, 1},
        {"equal classes: the later wins", {CLASS3_BUOY, DIRECTIONAL_BUOY}, 2, DIRECTIONAL_BUOY, 2},
        {"a directional drop asked for", {CLASS1_BUOY}, 0x11, CLASS1_BUOY, 2},
        {"not a sonobuoy", {TORPEDO}, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Drops().clear();
        Add(7, r.carried, LatLonPoint(300, 400));
        DropSonobuoyEvent event(7, 60, r.kind);
        EXPECT_FALSE(event.HandleEvent());
        if (r.dropped == 0)
            EXPECT_TRUE(Drops().empty());
        else
            EXPECT_EQ(Drops(), (std::vector<Drop>{{7, r.dropped, 1, r.dropType, 60, LatLonPoint(300, 400)}}));
        units.DeleteAll();
    }
}

TEST_F(SonobuoyEvents, NothingIsDroppedFromAnEmptyRackLandOrAMissingUnit)
{
    Add(7, {CLASS1_BUOY}, {}, 0);
    EXPECT_FALSE(DropSonobuoyEvent(7, 0, 1).HandleEvent());
    Add(8, {CLASS1_BUOY});
    OpenWater() = false;
    EXPECT_FALSE(DropSonobuoyEvent(8, 0, 1).HandleEvent());
    EXPECT_FALSE(DropSonobuoyEvent(99, 0, 1).HandleEvent());
    EXPECT_TRUE(Drops().empty());
}

TEST_F(SonobuoyEvents, AGroupDropsFromItsMembersAndAnAircraftLooksAtItsWeaponsAgain)
{
    auto* group = new Group();
    group->SetKey(30);
    units.Insert(group);
    Add(31, {TORPEDO}, LatLonPoint(1, 1));
    Plane& plane = Add<Plane>(32, {CLASS1_BUOY}, LatLonPoint(2, 2));
    group->members.Insert(new GroupEntry(31));
    group->members.Insert(new GroupEntry(32));
    EXPECT_FALSE(DropSonobuoyEvent(30, 5, 1).HandleEvent());
    EXPECT_EQ(Drops(), (std::vector<Drop>{{32, CLASS1_BUOY, 1, 1, 5, LatLonPoint(2, 2)}}));
    EXPECT_NE(plane.taskFlags & Plane::TASK_RECHECK, 0u);

    // A member that is gone ends the search where it stands.
    Drops().clear();
    group->members.Insert(new GroupEntry(20));
    EXPECT_FALSE(DropSonobuoyEvent(30, 5, 1).HandleEvent());
    EXPECT_TRUE(Drops().empty());
    group->members.DeleteAll();
}

TEST_F(SonobuoyEvents, SavedFormCopyAndDescription)
{
    Event* made = MakeDropSonobuoyEvent(12, 34, 0x13);
    ASSERT_NE(made, nullptr);
    std::unique_ptr<Event> owned(made);
    ASSERT_EQ(made->TypeCode(), EventCode::DROP_SONOBUOY);
    EXPECT_EQ(made->GetSubject(), 12);
    made->SetTime(GameTime(77));
    std::ostringstream out;
    made->Save(out);
    const std::string bytes = out.str();
    EXPECT_EQ(bytes, std::string("\x45\x0C\x00\x22\x00\x13\x4D\x00\x00\x00", 10));

    DropSonobuoyEvent read;
    std::istringstream in(bytes.substr(1));
    ASSERT_TRUE(read.Load(in));
    std::ostringstream again;
    read.Save(again);
    EXPECT_EQ(again.str(), bytes);
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        DropSonobuoyEvent partial(1, 2, 3);
        std::istringstream shortIn(bytes.substr(1, cut - 1));
        EXPECT_FALSE(partial.Load(shortIn)) << cut;
        EXPECT_EQ(partial.GetSubject(), 1);
        EXPECT_EQ(partial.GetLineID(), 2);
        EXPECT_EQ(partial.GetBuoyKind(), 3);
    }

    std::unique_ptr<Event> copy(read.Clone());
    auto* const clone = dynamic_cast<DropSonobuoyEvent*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->GetSubject(), 12);
    EXPECT_EQ(clone->GetLineID(), 34);
    EXPECT_EQ(clone->GetBuoyKind(), 0x13);
    EXPECT_EQ(clone->GetTime().Get(), 0u) << "a copy is due at once";

    const std::pair<uint8_t, const char*> described[] = {
        {1, "Drop directional sonobuoy"}, {2, "Drop sonobuoy"}, {3, "Drop active sonobuoy"}, {0x11, "Drop sonobuoy"},
    };
    char text[40];
    for (const auto& [kind, expected] : described) {
        EXPECT_TRUE(DropSonobuoyEvent(1, 0, kind).Describe(text, sizeof text));
        EXPECT_STREQ(text, expected);
    }
    EXPECT_TRUE(DropSonobuoyEvent(1, 0, 1).Describe(text, 5));
    EXPECT_STREQ(text, "Drop");
    EXPECT_FALSE(DropSonobuoyEvent(1, 0, 1).Describe(text, 0));
}
