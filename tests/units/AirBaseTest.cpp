// AirBaseTest.cpp: the air base unit: a new base, its capability, the
// facility a hit falls on, the facility status bits, what it refuses (speed,
// placing, planning), the largest aircraft size asked back by a facility,
// its status lines and its record through the unit list, whole and damaged.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "annex/DBEnum.h"
#include "annex/StockEntry.h"
#include "core/RandomGen.h"
#include "core/ResourceText.h"
#include "units/AirBase.h"
#include "units/Facility.h"
#include "units/PlaneRec.h"
#include "units/PositionNode.h"
#include "units/StatusWeather.h"
#include "units/UnitBridge.h"
#include "units/UnitList.h"
#include "units/UnitStatus.h"
#include "UnitTestSupport.h"

namespace {

using unittest::TestEvent;
using unittest::TestUnit;

constexpr uint16_t BASE_ID = 100;

// The saved unit list holding one record.
std::string ListOfOne(const std::string& record)
{
    std::ostringstream out;
    SaveField(out, uint16_t{1});
    out << record;
    return out.str();
}

// A stand-in facility ('F' unless told) with a capability word, which counts
// the hits it takes and answers a set value, and notes the stock questions.
class HitUnit : public TestUnit {
public:
    explicit HitUnit(uint32_t mask, char letter = 'F') : TestUnit(letter), mask_(mask) {}

    uint32_t GetTargetMask() const override { return mask_; }
    int32_t TakeDamage(int32_t amount, uint32_t kind) override
    {
        ++hits;
        lastAmount = amount;
        lastKind = kind;
        return answer;
    }
    uint32_t GetMaxAircraftSize(bool, bool) const override { return size; }
    void CollectWeaponEntries(StockChain&, bool own) override { stockAsks.push_back(own); }

    int hits = 0;
    int32_t lastAmount = 0;
    uint32_t lastKind = 0;
    int32_t answer = 0;
    uint32_t size = 0;
    std::vector<bool> stockAsks;

private:
    uint32_t mask_;
};

class AirBaseTest : public testing::Test {
protected:
    AirBaseTest()
    {
        previousList = UnitList::SetArenaList(&units);
        previousMaker = UnitFactory::Register('B', nullptr);
        RegisterAirBaseClass();
        base = new AirBase;
        base->SetKey(BASE_ID);
        units.Insert(base);
    }
    ~AirBaseTest() override
    {
        units.DeleteAll();
        UnitFactory::Register('B', previousMaker);
        UnitList::SetArenaList(previousList);
    }

    // Puts a unit into the list and into the base's members.
    template <class U>
    U* Join(uint16_t id, U* unit)
    {
        unit->SetKey(id);
        unit->SetParentID(BASE_ID);
        units.Insert(unit);
        base->members.Insert(new GroupEntry(id));
        return unit;
    }

    HitUnit* Stand(uint16_t id, uint32_t mask, char letter = 'F') { return Join(id, new HitUnit(mask, letter)); }

    // A real facility holding status bits, with runways of the sizes given.
    Facility* RealFacility(uint16_t id, uint32_t flags, const std::vector<uint32_t>& runwaySizes = {})
    {
        auto* f = new Facility;
        f->SetFlags(flags);
        uint16_t key = 1;
        for (uint32_t size : runwaySizes) {
            auto* e = new AnnexEntry(key++);
            e->typeCode = 1;   // a runway
            e->long2 = size;
            e->state = AIR_STATE_ACTIVE;
            f->airFacilityList.Insert(e);
        }
        return Join(id, f);
    }

    unittest::UnitWorld world;
    UnitList units;
    AirBase* base = nullptr;

private:
    UnitList* previousList = nullptr;
    UnitFactory::Maker previousMaker = nullptr;
};

TEST_F(AirBaseTest, NewBaseIsNamedBaseStandsStillAndCarriesTheBaseBit)
{
    const uint8_t before = Group::GetNameCounter();
    AirBase fresh;
    EXPECT_EQ(Group::GetNameCounter(), static_cast<uint8_t>(before + 1));   // the group's counter
    EXPECT_STREQ(fresh.GetName().Text(), "BASE");
    EXPECT_EQ(fresh.speed, 0);
    EXPECT_TRUE(fresh.TestFlags(UnitFlag::BASE));
    EXPECT_EQ(fresh.GetTypeLetter(), 'B');
    EXPECT_EQ(fresh.GetGroupLetter(), 'B');
    EXPECT_TRUE(fresh.IsGroup());
    EXPECT_EQ(fresh.installationID, 0);
    fresh.UpdateLabel();
    const char* label = fresh.GetLabel();
    EXPECT_STREQ(label, "BASE ");
    for (int part = 1; part < 4; ++part)
        EXPECT_STREQ(label + 6 * part, "     ") << part;
}

TEST_F(AirBaseTest, CapabilityIsBaseBitWithTheFacilityWords)
{
    base->UpdateAircraftCapability();
    EXPECT_EQ(base->GetTargetMask(), 0x400u);   // no facilities

    Stand(1, 0x60);
    Stand(2, 0x80);
    Stand(3, 0x1000, 'S');                     // not a facility
    base->members.Insert(new GroupEntry(9));   // no such unit
    base->UpdateAircraftCapability();
    EXPECT_EQ(base->GetTargetMask(), 0x4E0u);
}

TEST_F(AirBaseTest, JoiningFacilityRaisesTheCapability)
{
    auto* f = new HitUnit(0x100);
    f->SetKey(4);
    units.Insert(f);
    base->AddMember(4, nullptr);
    EXPECT_NE(base->members.Find(4), nullptr);
    EXPECT_EQ(f->GetParentID(), BASE_ID);
    EXPECT_EQ(base->GetTargetMask(), 0x500u);
    EXPECT_EQ(base->speed, 0);   // the join's speed order changes nothing
}

TEST_F(AirBaseTest, HitWithMaskNoFacilityMeetsDoesNothing)
{
    HitUnit* runway = Stand(1, 0x20);
    HitUnit* ship = Stand(2, 0x40, 'S');   // meets the mask but is no facility
    world.arena.Generator().SetSeed(77);
    EXPECT_EQ(base->ApplyDamage(50, 3, 0x40), 0);
    EXPECT_EQ(runway->hits + ship->hits, 0);
    EXPECT_EQ(world.arena.Generator().QuerySeed(), 77u);   // nothing drawn
    EXPECT_TRUE(world.Queued(EventCode::DELETE_UNIT).empty());

    AirBase empty;
    EXPECT_EQ(empty.ApplyDamage(50, 3, 0xFFFFFFFF), 0);
}

TEST_F(AirBaseTest, HitFallsOnTheDrawnMatchingFacility)
{
    HitUnit* matching[] = {Stand(2, 0x60), Stand(5, 0x20), Stand(9, 0x120)};
    HitUnit* other = Stand(7, 0x80);   // between them in key order, no shared bit
    bool seen[3] = {};
    for (uint32_t i = 0; i < 40; ++i) {
        const uint32_t seed = 1 + i * 50000017u;   // spread over the seed range
        SCOPED_TRACE(seed);
        RandomGen script;
        script.SetSeed(seed);
        const uint16_t k = script.MPRandom(3);
        seen[k] = true;
        int before[3];
        for (int i = 0; i < 3; ++i)
            before[i] = matching[i]->hits;
        world.arena.Generator().SetSeed(seed);
        EXPECT_EQ(base->ApplyDamage(40, 6, 0x20), 0);
        EXPECT_EQ(world.arena.Generator().QuerySeed(), script.QuerySeed());   // one draw
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(matching[i]->hits - before[i], i == k ? 1 : 0) << i;
        EXPECT_EQ(matching[k]->lastAmount, 40);
        EXPECT_EQ(matching[k]->lastKind, 6u);
    }
    EXPECT_EQ(other->hits, 0);
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);   // the seeds reach every facility
}

TEST_F(AirBaseTest, ThreeMatchingFacilitiesShareTheHitsEvenly)
{
    HitUnit* matching[] = {Stand(1, 0x40), Stand(2, 0x40), Stand(3, 0xC0)};
    world.arena.Generator().SetSeed(4242);
    constexpr int HITS = 3000;
    for (int i = 0; i < HITS; ++i)
        base->ApplyDamage(1, 0, 0x40);
    for (HitUnit* f : matching) {
        EXPECT_GT(f->hits, HITS / 3 - 150) << f->GetID();
        EXPECT_LT(f->hits, HITS / 3 + 150) << f->GetID();
    }
}

TEST_F(AirBaseTest, FacilityLostToTheHitIsRemovedItsAnswerInSecondsLater)
{
    HitUnit* f = Stand(3, 0x20);
    world.arena.SetGameTime(GameTime(500));
    // Each removal takes the unit's queued events first, so one delete event
    // stands at a time.
    struct Row { const char* what; int32_t answer; bool removed; uint32_t due; };
    const Row rows[] = {
        {"survives", 0, false, 0},
        {"lost", 1, true, 501},
        {"already lost, answering again: its removal is scheduled again", 2, true, 502},
        {"an answer beyond a byte is held at 255", 1000, true, 755},
    };
    int hits = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        f->answer = r.answer;
        EXPECT_EQ(base->ApplyDamage(10, 1, 0x20), 0);
        EXPECT_EQ(f->hits, ++hits);
        const std::vector<TestEvent*> deletes = world.Queued(EventCode::DELETE_UNIT);
        ASSERT_EQ(deletes.size(), r.removed ? 1u : 0u);
        if (r.removed) {
            EXPECT_EQ(deletes[0]->GetSubject(), 3);
            EXPECT_EQ(deletes[0]->GetTime().Get(), r.due);
        }
    }
}

TEST_F(AirBaseTest, BaseClearsFacilityBitOnlyWithTheLastFacilityHoldingIt)
{
    struct Row { const char* what; uint32_t bit; void (Unit::*check)(); };
    const Row rows[] = {
        {"hangars", UnitFlag::HANGAR_HIT, &Unit::OnAction17},
        {"air facilities", UnitFlag::AIRFIELD_HIT, &Unit::OnAction15},
        {"launch gear", UnitFlag::AIR_OPS_DAMAGE, &Unit::OnAction3},
    };
    uint16_t id = 10;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        base->members.DeleteAll();
        Facility* first = RealFacility(id++, r.bit);
        Facility* second = RealFacility(id++, r.bit);
        Stand(id++, 0, 'S')->SetFlags(r.bit);   // a ship holding it does not count
        base->SetFlags(r.bit);
        (first->*r.check)();   // the facility has no entry left that holds it
        EXPECT_FALSE(first->TestFlags(r.bit));
        EXPECT_TRUE(base->TestFlags(r.bit));   // the second still holds it
        (second->*r.check)();
        EXPECT_FALSE(base->TestFlags(r.bit));
        // the base's check never sets the bit
        second->SetFlags(r.bit);
        (base->*r.check)();
        EXPECT_FALSE(base->TestFlags(r.bit));
    }
}

TEST_F(AirBaseTest, SpeedPlacingAndPathAreRefused)
{
    const LatLonPoint home{30 * 60 * 4096, -20 * 60 * 4096};
    base->SetPosition(home);
    EXPECT_EQ(base->SetSpeed(20, 0), 0);
    EXPECT_EQ(base->speed, 0);
    UnitBridgeCalls bridge;   // every leg suits: only the base itself refuses
    bridge.legValidForUnit = [](uint16_t, const LatLonPoint&, const LatLonPoint&) { return true; };
    const UnitBridgeCalls previousBridge = SetUnitBridgeCalls(bridge);
    base->PlaceAt({home.lat + 4096, home.lon + 4096});
    EXPECT_EQ(base->GetPosition().lat, home.lat);
    EXPECT_EQ(base->GetPosition().lon, home.lon);
    static_cast<Unit&>(*base).TryMoveTo({home.lat + 4096, home.lon + 4096});   // the unit's placement
    EXPECT_EQ(base->GetPosition().lat, home.lat);
    EXPECT_EQ(base->GetPosition().lon, home.lon);
    SetUnitBridgeCalls(previousBridge);
    base->SetPath(new PositionNode(LatLonPoint{home.lat + 8192, home.lon}));
    ASSERT_NE(base->GetPath(), nullptr);
    base->Move(60);
    EXPECT_EQ(base->GetPath(), nullptr);
    EXPECT_EQ(base->GetPosition().lat, home.lat);
    EXPECT_EQ(base->GetPosition().lon, home.lon);
}

TEST_F(AirBaseTest, FacilityWithoutSizeAsksItsBaseWithoutEndlessRecursion)
{
    Facility* bare = RealFacility(1, 0);
    RealFacility(2, 0, {4});
    RealFacility(3, 0, {8, 2});
    EXPECT_EQ(bare->GetMaxAircraftSize(true, false), 8u);   // the others' largest
    EXPECT_EQ(base->GetMaxAircraftSize(true, false), 8u);

    // no facility with a size: every question ends at 0
    AirBase other;
    other.SetKey(BASE_ID + 1);
    base->members.DeleteAll();
    base->members.Insert(new GroupEntry(1));
    EXPECT_EQ(bare->GetMaxAircraftSize(true, false), 0u);
    EXPECT_EQ(base->GetMaxAircraftSize(true, true), 0u);
}

TEST_F(AirBaseTest, LargestSizeComparesSigned)
{
    Stand(1, 0)->size = 0x80000000u;   // reads as negative
    EXPECT_EQ(base->GetMaxAircraftSize(true, false), 0u);
    Stand(2, 0)->size = 5;
    Stand(3, 0, 'S')->size = 9;   // not a facility
    EXPECT_EQ(base->GetMaxAircraftSize(true, false), 5u);
}

TEST_F(AirBaseTest, StocksComeFromEachMemberOwnMagazines)
{
    HitUnit* a = Stand(1, 0);
    HitUnit* b = Stand(2, 0, 'S');
    StockChain chain;
    base->CollectWeaponEntries(chain, false);
    EXPECT_EQ(a->stockAsks, std::vector<bool>{true});
    EXPECT_EQ(b->stockAsks, std::vector<bool>{true});
}

TEST_F(AirBaseTest, StatusLinesShowMembersSizeAndReadyAircraft)
{
    Facility* field = RealFacility(1, 0, {8});
    auto ready = new PlaneRec(1);
    ready->count = 4;
    ready->flags = PlaneRec::READY_FLAGS;
    field->planeRecs.Insert(ready);
    auto arming = new PlaneRec(2);
    arming->count = 2;
    arming->flags = PlaneRec::READY_FLAGS & ~0x100u;   // not all of them
    field->planeRecs.Insert(arming);
    field->damageState = Facility::DAMAGED;
    Stand(2, 0, 'S');
    Stand(3, 0, 'U');
    Stand(4, 0, 'U');
    base->members.Insert(new GroupEntry(9));   // no such unit
    UnitStatus status;
    base->GetStatus(status);
    char sizeName[64] = {};
    DBEnum::GetAircraftSizeName(8, sizeName);
    const std::vector<std::string> expected = {
        "BASE", "", "1", "2", ResourceString(STATUS_SILENT_TEXT), "1", sizeName,
        "4/6",   // counted 2/6 while records with none of the ready flags were taken as ready
        "0", "Clear", "Clear"};
    ASSERT_GE(status.lineCount, expected.size() + 1);   // and the conditions last
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(std::string(status.lines[i]), expected[i]) << i;
}

TEST_F(AirBaseTest, RecordRoundTripsThroughTheUnitList)
{
    Stand(1, 0x60);
    base->installationID = 0x1234;
    base->SetName("North Field");
    base->leadID = 1;
    base->ClearFlags(UnitFlag::BASE);   // loading sets it again
    base->SetFlags(UnitFlag::HANGAR_HIT);
    const std::string saved = unittest::SavedRecord(*base);
    ASSERT_EQ(saved[0], 'B');

    UnitList loaded;
    std::istringstream in(ListOfOne(saved));
    ASSERT_TRUE(loaded.Load(in));
    auto* copy = dynamic_cast<AirBase*>(loaded.Find(BASE_ID));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->installationID, 0x1234);
    EXPECT_STREQ(copy->GetName().Text(), "North Field");
    EXPECT_NE(copy->members.Find(1), nullptr);
    EXPECT_TRUE(copy->TestFlags(UnitFlag::BASE | UnitFlag::HANGAR_HIT));
    EXPECT_EQ(copy->GetTargetMask(), 0x460u);   // recomputed from the arena's facility
    copy->ClearFlags(UnitFlag::BASE);
    EXPECT_EQ(unittest::SavedRecord(*copy), saved);
}

TEST_F(AirBaseTest, DamagedRecordIsRefusedWholeAtEveryCut)
{
    Stand(1, 0x60);
    base->installationID = 7;
    const std::string saved = unittest::SavedRecord(*base);
    for (size_t cut = 0; cut < saved.size(); ++cut) {
        Group::SetNameCounter(40);
        UnitList loaded;
        std::istringstream in(ListOfOne(saved.substr(0, cut)));
        ASSERT_FALSE(loaded.Load(in)) << cut;
        EXPECT_TRUE(in.fail()) << cut;
        EXPECT_EQ(loaded.First(), nullptr) << cut;
        // only the made base's own step of the counter stays
        EXPECT_EQ(Group::GetNameCounter(), cut == 0 ? 40 : 41) << cut;
    }
}

TEST_F(AirBaseTest, MemberCountBeyondTheStreamIsRefused)
{
    // The member count is where the records with no member and one member
    // first differ.
    const std::string none = unittest::SavedRecord(*base);
    Stand(1, 0x60);
    std::string one = unittest::SavedRecord(*base);
    size_t at = 0;
    while (at < none.size() && none[at] == one[at])
        ++at;
    ASSERT_LT(at + 1, one.size());
    one[at] = '\xFF';
    one[at + 1] = '\xFF';
    UnitList loaded;
    std::istringstream in(ListOfOne(one));
    EXPECT_FALSE(loaded.Load(in));
    EXPECT_EQ(loaded.First(), nullptr);
}

}  // namespace
