// SideTest.cpp: a side's names, relations, per-step pass, reference points,
// start-position draws, clear orders, the offer of a new unit to the side's
// units, and its saved record with the name fault, cut and damaged forms.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "engagement/SideContactsList.h"
#include "missions/Doctrine.h"
#include "missions/OpsStaff.h"
#include "missions/Side.h"
#include "missions/SideUnitCalls.h"
#include "SideWorld.h"
#include "units/UnitList.h"

namespace {

// A unit whose letter, group test, sight answer and link answer the test
// sets; it records every offer of a new unit.
class OfferedUnit : public Unit {
public:
    OfferedUnit(uint16_t id, char letter, uint16_t side, uint16_t picture) : letter_(letter)
    {
        SetKey(id);
        SetSideID(side);
        sideEntryID = picture;
    }
    char GetTypeLetter() const override { return letter_; }
    bool IsGroup() const override { return group; }
    uint8_t HasTerrainLineOfSight(Unit&) override { return sight; }
    int32_t UpdateDataLink(Unit& other, int32_t range, uint8_t seen, uint8_t inRange, uint16_t options) override
    {
        offers.push_back({other.GetID(), range, seen, inRange, options});
        return accepts ? 1 : 0;
    }
    void SaveFields(std::ostream&) const override {}
    bool LoadFields(std::istream&) override { return true; }

    struct Offer {
        uint16_t unitID;
        int32_t range;
        uint8_t sight;
        uint8_t inRange;
        uint16_t options;
        bool operator==(const Offer&) const = default;
    };
    bool group = false;
    uint8_t sight = 0;
    bool accepts = false;
    std::vector<Offer> offers;

private:
    char letter_;
};

struct Installed {
    static inline uint16_t flags = 0;
    static inline uint16_t mode = 0;
    static inline std::vector<uint16_t> reset;
};

class SideTest : public ::testing::Test, public SideWorld {
protected:
    SideTest()
    {
        Installed::flags = 0;
        Installed::mode = 0;
        Installed::reset.clear();
        SideUnitCalls calls;
        calls.getScenarioFlags = [] { return Installed::flags; };
        calls.getScenarioMode = [] { return Installed::mode; };
        calls.cancelAircraftLaunches = [](uint16_t unitID) { Installed::reset.push_back(unitID); };
        previousCalls = SetSideUnitCalls(calls);
    }
    ~SideTest() override
    {
        SetSideUnitCalls(previousCalls);
    }

    OfferedUnit& AddUnit(uint16_t id, char letter, uint16_t side, uint16_t picture, LatLonPoint at = {})
    {
        auto* unit = new OfferedUnit(id, letter, side, picture);
        unit->SetPosition(at);
        units.Insert(unit);
        return *unit;
    }

    static std::string Saved(const Side& side)
    {
        std::ostringstream out;
        side.Save(out);
        return out.str();
    }

private:
    SideUnitCalls previousCalls;
};

TEST_F(SideTest, NamesRelationsAndConstruction)
{
    Side side("Blue", 4);
    EXPECT_EQ(side.GetID(), 4);
    EXPECT_STREQ(side.GetName(), "Blue");
    EXPECT_STREQ(side.GetBaseName(), "Blue");
    EXPECT_TRUE(side.SetName("Blue fleet"));
    EXPECT_STREQ(side.GetName(), "Blue fleet");
    EXPECT_STREQ(side.GetBaseName(), "Blue");
    EXPECT_EQ(side.GetClearOrders(), 0);
    EXPECT_EQ(side.GetKept(), 1);
    EXPECT_EQ(side.GetHumanPlayable(), 1);
    ASSERT_NE(side.GetOpsStaff(), nullptr);
    EXPECT_NE(side.GetOpsStaff()->Find(1), nullptr);
    EXPECT_NE(side.GetOpsStaff()->Find(2), nullptr);
    EXPECT_STREQ(side.GetSideDoctrine()->GetFileName(), "default.dtr");

    EXPECT_EQ(side.GetRelation(4), 2);   // own id, with no record at all
    EXPECT_EQ(side.GetRelation(5), 0);
    EXPECT_FALSE(side.RemoveRelation(5));
    EXPECT_TRUE(side.AddRelation(new SideEntry(5, 3)));
    EXPECT_TRUE(side.SetRelation(5, 1));
    EXPECT_EQ(side.GetRelation(5), 1);
    EXPECT_TRUE(side.RemoveRelation(5));
    EXPECT_EQ(side.GetRelation(5), 0);

    Side bare;
    EXPECT_STREQ(bare.GetName(), "");
    EXPECT_EQ(bare.GetVictoryManager(), nullptr);
    EXPECT_EQ(bare.GetRelation(3), 0);
}

TEST_F(SideTest, StepZeroIsDoneAtOnceAndASideWithoutUnitsTakesTwoCalls)
{
    Side side("Blue", 1);
    EXPECT_TRUE(side.Step(0));
    EXPECT_EQ(side.GetStepState(), Side::STEP_FIRST_PASS);
    EXPECT_FALSE(side.Step(1));
    EXPECT_EQ(side.GetStepState(), Side::STEP_DONE);
    EXPECT_TRUE(side.Step(0));
    EXPECT_EQ(side.GetStepState(), Side::STEP_DONE);
    EXPECT_TRUE(side.Step(1));
    EXPECT_EQ(side.GetStepState(), Side::STEP_FIRST_PASS);
}

TEST_F(SideTest, PointsTakeTheFirstFreeNumberAndFixedOnesStay)
{
    Side side("Blue", 2);
    EXPECT_EQ(side.AddPoint({10, 20}), 1);
    EXPECT_EQ(side.AddPoint({30, 40}), 2);
    EXPECT_EQ(side.AddPoint({50, 60}), 3);
    EXPECT_TRUE(side.DeletePoint(2));
    EXPECT_EQ(side.AddPoint({70, 80}), 2);
    ReferencePoint* const point = side.FindReferencePoint(2);
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->GetSideID(), 2);
    EXPECT_EQ(point->GetPosition(), LatLonPoint(70, 80));
    EXPECT_FALSE(point->IsXYStale());   // placed with its map position

    EXPECT_TRUE(side.MovePoint(1, {1, 1}));
    EXPECT_EQ(side.FindReferencePoint(1)->GetPosition(), LatLonPoint(1, 1));
    EXPECT_FALSE(side.FindReferencePoint(1)->IsXYStale());
    side.FindReferencePoint(1)->flag = 1;   // fixed
    EXPECT_FALSE(side.MovePoint(1, {2, 2}));
    EXPECT_FALSE(side.DeletePoint(1));
    EXPECT_FALSE(side.MovePoint(9, {2, 2}));
    EXPECT_FALSE(side.DeletePoint(9));
    EXPECT_EQ(side.FindReferencePoint(1)->GetPosition(), LatLonPoint(1, 1));
}

TEST_F(SideTest, StartPositionDrawsKeepOrMoveEachUnit)
{
    // Each row: the seed; the unit keeps its place on a draw of 0, otherwise
    // it goes to that alternative in id order.
    const LatLonPoint home(100, 100);
    const LatLonPoint alternatives[] = {{1, 1}, {2, 2}, {3, 3}};
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        Side side("Blue", 1);
        OfferedUnit& unit = AddUnit(7, 'S', 1, 0, home);
        StartPositionRecord* record = side.GetStartPositions(7);
        for (uint16_t i = 0; i < 3; ++i)
            record->positions.Insert(new IDPoint(static_cast<uint16_t>(i + 1), alternatives[i]));
        side.GetStartPositions(99)->positions.Insert(new IDPoint(1, {5, 5}));   // no such unit

        RandomGen expected;
        expected.SetSeed(seed);
        const uint16_t draw = expected.MPRandom(4);
        state.Generator().SetSeed(seed);
        side.RandomizeStartPositions();
        EXPECT_EQ(unit.GetPosition(), draw == 0 ? home : alternatives[draw - 1]) << seed;
        EXPECT_EQ(state.Generator().QuerySeed(), expected.QuerySeed()) << seed;   // one draw only
        units.Remove(&unit);
        delete &unit;
    }
}

TEST_F(SideTest, ClearOrdersDropsLoosePointsAndResetsTheSidesGroups)
{
    for (const uint16_t flags : {uint16_t{0}, SCENARIO_KEEP_ORDERS}) {
        Installed::flags = flags;
        Installed::reset.clear();
        Side side("Blue", 1);
        side.AddPoint({1, 1});
        side.AddPoint({2, 2});
        side.FindReferencePoint(2)->flag = 1;
        AddUnit(10, 'G', 1, 0).group = true;
        AddUnit(11, 'S', 1, 0);
        AddUnit(12, 'G', 2, 0).group = true;   // another side's
        auto* const created = new MissionRecord(3, "Patrol", &side);
        created->missionType = 3;
        created->SetKey(3);
        side.GetOpsStaff()->Insert(created);

        side.SetClearOrders(0);
        EXPECT_NE(side.FindReferencePoint(1), nullptr);
        EXPECT_NE(side.GetOpsStaff()->Find(3), nullptr);
        EXPECT_TRUE(Installed::reset.empty());

        side.SetClearOrders(1);
        EXPECT_EQ(side.GetClearOrders(), 1);
        EXPECT_EQ(side.FindReferencePoint(1), nullptr);
        EXPECT_NE(side.FindReferencePoint(2), nullptr);
        // Only the two standing missions are left.
        EXPECT_EQ(side.GetOpsStaff()->Find(3), nullptr);
        EXPECT_NE(side.GetOpsStaff()->Find(1), nullptr);
        EXPECT_NE(side.GetOpsStaff()->Find(2), nullptr);
        EXPECT_EQ(Installed::reset, flags == 0 ? std::vector<uint16_t>{10} : std::vector<uint16_t>{}) << flags;
        units.DeleteAll();
    }
}

TEST_F(SideTest, ANewUnitIsOfferedToTheSidesUnitsInTwoPasses)
{
    Installed::mode = 0x7;
    Side side("Blue", 1);
    OfferedUnit& fresh = AddUnit(5, 'P', 1, 30);
    OfferedUnit& near = AddUnit(1, 'S', 1, 10);
    OfferedUnit& samePicture = AddUnit(2, 'S', 1, 30);
    OfferedUnit& weapon = AddUnit(3, 'W', 1, 11);
    OfferedUnit& enemy = AddUnit(4, 'S', 2, 12);
    OfferedUnit& far = AddUnit(6, 'S', 1, 13, {0, 20 * 4096});   // 20 nm east on the equator
    near.sight = 1;
    far.sight = 0;

    side.AddUnit(5);
    using Offer = OfferedUnit::Offer;
    EXPECT_EQ(near.offers, (std::vector<Offer>{{5, 0, 1, 1, 0x6}, {5, 0, 1, 1, 0x7}}));
    ASSERT_EQ(far.offers.size(), 2u);
    EXPECT_EQ(far.offers[0].range, 20);
    EXPECT_EQ(far.offers[0].sight, 0);
    EXPECT_EQ(far.offers[0].inRange, 0);   // no horizons
    EXPECT_EQ(far.offers[1], (Offer{5, 20, 1, 1, 0x7}));
    EXPECT_TRUE(samePicture.offers.empty());
    EXPECT_TRUE(weapon.offers.empty());
    EXPECT_TRUE(enemy.offers.empty());
    EXPECT_TRUE(fresh.offers.empty());

    // The first acceptance ends the search.
    near.offers.clear();
    far.offers.clear();
    near.accepts = true;
    side.AddUnit(5);
    EXPECT_EQ(near.offers.size(), 1u);
    EXPECT_TRUE(far.offers.empty());
}

TEST_F(SideTest, SideRecordRoundTripsByteForByte)
{
    Side side("Blue", 3);
    side.SetName("Blue fleet");
    side.AddRelation(new SideEntry(1, 1));
    side.AddRelation(new SideEntry(2, 3));
    side.AddPoint({10, 20});
    side.FindReferencePoint(1)->flag = 1;   // fixed: clearing orders keeps it
    side.GetStartPositions(8)->positions.Insert(new IDPoint(1, {5, 6}));
    side.SetHumanPlayable(0);
    side.SetClearOrders(1);
    const std::string saved = Saved(side);

    Side loaded;
    std::istringstream in(saved);
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_EQ(in.peek(), EOF);
    EXPECT_EQ(Saved(loaded), saved);
    EXPECT_EQ(loaded.GetID(), 3);
    EXPECT_STREQ(loaded.GetName(), "Blue fleet");
    EXPECT_STREQ(loaded.GetBaseName(), "Blue");
    EXPECT_EQ(loaded.GetRelation(1), 1);
    EXPECT_EQ(loaded.GetRelation(2), 3);
    EXPECT_NE(loaded.FindReferencePoint(1), nullptr);
    ASSERT_NE(loaded.FindStartPositions(8), nullptr);
    EXPECT_EQ(loaded.FindStartPositions(8)->CountPositions(), 1u);

    // The record ends: doctrine name, clear-orders, human playable, kept,
    // then the start positions (one record of unit 8, one position).
    const std::string tail = saved.substr(saved.size() - 33);
    EXPECT_EQ(tail.substr(0, 2), std::string("\x0c\x00", 2));
    EXPECT_EQ(tail.substr(2, 12), std::string("default.dtr\0", 12));
    EXPECT_EQ(tail.substr(14, 3), std::string("\x01\x00\x01", 3));
}

TEST_F(SideTest, ASideWithoutDoctrineNameWritesAZeroLength)
{
    Side side(1);   // as the list loader makes it: no doctrine file name
    const std::string saved = Saved(side);
    // ... doctrine u16 0, the three flag bytes (0, 1, 1), no start positions.
    EXPECT_EQ(saved.substr(saved.size() - 7), std::string("\x00\x00\x00\x01\x01\x00\x00", 7));
    Side loaded;
    std::istringstream in(saved);
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_EQ(loaded.GetSideDoctrine()->GetFileName(), nullptr);
    EXPECT_EQ(Saved(loaded), saved);
}

// The saved record of `side` with its base name record replaced by `baseName`
// (the u16 length and bytes as they stand).
std::string WithBaseName(const std::string& saved, const std::string& original, const std::string& baseName,
                         size_t at)
{
    const size_t length = 2 + original.size() + 1;
    return saved.substr(0, at) + baseName + saved.substr(at + length);
}

TEST_F(SideTest, SideNamesAreAlwaysTerminated)
{
    Side side("Blue", 3);
    const std::string saved = Saved(side);
    const size_t at = saved.find(std::string("\x05\x00" "Blue", 6));
    ASSERT_NE(at, std::string::npos);

    struct Row {
        const char* what;
        std::string record;
        const char* name;
    };
    const Row rows[] = {
        {"length 0 is empty", std::string("\x00\x00", 2), ""},
        {"bytes without a zero", std::string("\x03\x00" "Red", 5), "Red"},
        {"a zero inside", std::string("\x05\x00" "Re\0dX", 7), "Re"},
    };
    for (const Row& row : rows) {
        Side loaded;
        std::istringstream in(WithBaseName(saved, "Blue", row.record, at));
        ASSERT_TRUE(loaded.Load(in)) << row.what;
        EXPECT_STREQ(loaded.GetBaseName(), row.name) << row.what;
        EXPECT_STREQ(loaded.GetName(), "Blue") << row.what;
    }
}

TEST_F(SideTest, ACutOrDamagedRecordLeavesTheSideAsItWas)
{
    Side source("Blue", 3);
    source.AddRelation(new SideEntry(1, 1));
    source.AddPoint({1, 2});
    source.GetStartPositions(8)->positions.Insert(new IDPoint(1, {5, 6}));
    const std::string saved = Saved(source);

    Side held("Held", 9);
    const std::string before = Saved(held);
    for (size_t length = 0; length < saved.size(); ++length) {
        std::istringstream in(saved.substr(0, length));
        EXPECT_FALSE(held.Load(in)) << length;
        EXPECT_FALSE(in) << length;
        ASSERT_EQ(Saved(held), before) << length;
    }

    // A step state above 2 is damage. A bare side's record ends with the
    // step state, points (u16 0), doctrine (u16 0), three flags and start
    // positions (u16 0).
    Side bare(4);
    std::string damaged = Saved(bare);
    damaged[damaged.size() - 11] = 3;
    std::istringstream in(damaged);
    EXPECT_FALSE(held.Load(in));
    EXPECT_FALSE(in);
    EXPECT_EQ(Saved(held), before);
    damaged[damaged.size() - 11] = 2;
    std::istringstream good(damaged);
    EXPECT_TRUE(held.Load(good));
    EXPECT_EQ(held.GetStepState(), Side::STEP_DONE);
}

}  // namespace
