// FacilityTest.cpp: a facility's capability word and map symbol, its hits,
// effects and repair, the air facility queries and status bits, its height,
// label and size class, and its record through the unit list, whole, cut
// short and from an old file.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/ScenarioAdmin.h"
#include "units/Facility.h"
#include "annex/WeaponRec.h"
#include "units/Mount.h"
#include "units/UnitEvents.h"
#include "units/UnitFactory.h"
#include "units/UnitList.h"
#include "units/UnitTestSupport.h"

namespace {

using namespace unittest;

// The damage effects posted, as (action, value).
std::vector<std::pair<uint32_t, uint16_t>>& Effects()
{
    static std::vector<std::pair<uint32_t, uint16_t>> effects;
    return effects;
}

Event* RecordEffect(uint16_t unitID, uint32_t action, uint16_t value)
{
    Effects().emplace_back(action, value);
    return new TestEvent(EventCode::MULTI_ACTION, unitID, static_cast<uint16_t>(action));
}

AnnexEntry* Entry(uint16_t key, uint32_t type, uint32_t size = 0, uint32_t state = AIR_STATE_ACTIVE)
{
    auto* e = new AnnexEntry(key);
    e->typeCode = type;
    e->long2 = size;
    e->state = state;
    return e;
}

class FacilityTest : public testing::Test {
protected:
    FacilityTest()
    {
        UnitEventCalls calls = SetUnitEventCalls({});
        previousCalls = calls;
        calls.makeMultiActionEvent = &RecordEffect;
        SetUnitEventCalls(calls);
        previousMaker = UnitFactory::Register('F', nullptr);
        RegisterFacilityClass();
        previousList = UnitList::SetArenaList(&units);
        Effects().clear();
        facility = new Facility;
        facility->SetKey(7);
        facility->SetName("Runway Alpha");
        units.Insert(facility);
    }
    ~FacilityTest() override
    {
        units.DeleteAll();
        UnitList::SetArenaList(previousList);
        UnitFactory::Register('F', previousMaker);
        SetUnitEventCalls(previousCalls);
    }

    UnitWorld world;
    UnitList units;
    Facility* facility = nullptr;

private:
    UnitEventCalls previousCalls;
    UnitFactory::Maker previousMaker = nullptr;
    UnitList* previousList = nullptr;
};

TEST_F(FacilityTest, CapabilityComesFromAirFacilitiesAndStores)
{
    struct Row { std::vector<uint32_t> types; bool tanks, mounts, aircraft; uint32_t code2, expected; };
    const Row rows[] = {
        {{1}, true, false, false, 1, 0x60},            // an airfield with fuel
        {{2, 1}, true, false, false, 3, 0xA0},         // both runways set 0x20 once; code above 2
        {{5}, false, false, false, 0, 0x40},           // hangar of third code 0 and nothing else
        {{8}, false, true, false, 1, 0x100},           // parking without aircraft; mounts, code below 2
        {{8}, false, true, true, 2, 0x300},            // parking with aircraft; mounts, code 2
        {{}, false, false, false, 3, 0x80},
        {{6, 7}, true, true, false, 2, 0x40},          // tanks win over mounts
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "expected " << r.expected);
        Facility f;
        uint16_t key = 1;
        for (uint32_t type : r.types)
            f.airFacilityList.Insert(Entry(key++, type));
        if (r.tanks)
            f.fuelTanks.Append(MakeTank(1, 100, 1));
        if (r.mounts)
            f.mounts.Insert(new Mount());
        if (r.aircraft)
            f.planeRecs.Insert(new PlaneRec(1));
        f.facilityCode2 = r.code2;
        f.DeriveCapability();
        EXPECT_EQ(f.capabilityFlags, r.expected);
    }
}

TEST_F(FacilityTest, HangarOfHighThirdCodeSetsTheOtherBit)
{
    AnnexEntry* hangar = Entry(1, 5);
    hangar->thirdCode = 3;
    facility->airFacilityList.Insert(hangar);
    facility->facilityCode2 = 0;
    facility->DeriveCapability();
    EXPECT_EQ(facility->capabilityFlags, 0xC0u);
}

TEST_F(FacilityTest, SymbolKindByWhatTheFacilityHolds)
{
    struct Row { std::vector<uint32_t> types; bool tanks, mounts; uint16_t kind; };
    const Row rows[] = {
        {{5, 8}, false, false, 0x0E00},   // hangar and parking
        {{3, 5}, false, false, 0x0800},   // a pad wins
        {{8}, true, false, 0x1600},
        {{}, true, true, 0x1200},
        {{}, false, true, 0x0A00},
        {{}, false, false, 0x0E00},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.kind);
        Facility f;
        f.SetStateFlags(0xFFFF);
        uint16_t key = 1;
        for (uint32_t type : r.types)
            f.airFacilityList.Insert(Entry(key++, type));
        if (r.tanks)
            f.fuelTanks.Append(MakeTank(1, 100, 1));
        if (r.mounts)
            f.mounts.Insert(new Mount());
        f.SetSymbolKind();
        EXPECT_EQ(f.GetStateFlags(), 0x01FF | r.kind);
    }
}

TEST_F(FacilityTest, LargestAircraftSizeByRunwayAndCatapult)
{
    facility->airFacilityList.Insert(Entry(1, 1, 8));
    facility->airFacilityList.Insert(Entry(2, 6, 16));
    facility->airFacilityList.Insert(Entry(3, 5, 64));   // hangars are passed over
    EXPECT_EQ(facility->GetMaxAircraftSize(true, true), 8u);
    EXPECT_EQ(facility->GetMaxAircraftSize(false, true), 16u);
    EXPECT_EQ(facility->GetMaxAircraftSize(true, false), 8u);
    EXPECT_EQ(facility->GetMaxAircraftSize(false, false), 0u);
}

TEST_F(FacilityTest, AircraftRoomByLaunchGroup)
{
    AnnexEntry* big = Entry(1, 5, 0x80);
    big->byte1 = 20;
    AnnexEntry* small = Entry(2, 8, 0x10);
    small->byte1 = 7;
    facility->airFacilityList.Insert(big);
    facility->airFacilityList.Insert(small);
    facility->aircraftSpace[0] = 100;
    auto* rec = new PlaneRec(1);
    rec->count = 2;
    rec->sizeFactor = 3;
    facility->planeRecs.Insert(rec);
    // group 1: threshold 0x10, factor 2: 20 + 6 space, the factor-3 record
    // uses 6: 20 / 2 = 10 places.
    EXPECT_EQ(facility->GetAircraftRoom(0x01000000), 10);
    // group 3 (0x08000000 or none): threshold 0x80, factor 8: 16 space, the
    // record is too small to count.
    EXPECT_EQ(facility->GetAircraftRoom(0), 2);
    facility->aircraftSpace[0] = 4;   // the first space caps the room
    EXPECT_EQ(facility->GetAircraftRoom(0x01000000), 2);
    rec->count = 20;                  // more used than there is: none
    EXPECT_EQ(facility->GetAircraftRoom(0x02000000), 0);
}

TEST_F(FacilityTest, AirfieldHitsGiveEffect15AndAHundredthOfTheDamage)
{
    facility->airFacilityList.Insert(Entry(1, 1, 16));
    facility->capabilityFlags = Facility::AIRFIELD;
    facility->damagePoints = 1000;
    struct Row { uint32_t category; int16_t damage; };
    for (const Row& r : {Row{0x20, 2}, Row{0x2000, 62}}) {
        SCOPED_TRACE(r.category);
        facility->damageTaken = 0;
        facility->recentDamage = 0;
        Effects().clear();
        EXPECT_EQ(facility->TakeDamage(250, r.category), 0);
        EXPECT_EQ(facility->damageTaken, r.damage);
        EXPECT_EQ(facility->recentDamage, r.damage);
        ASSERT_EQ(Effects().size(), 25u);   // 250 / 10, nothing left over
        for (const auto& effect : Effects())
            EXPECT_EQ(effect.first, 15u);
    }
    EXPECT_EQ(facility->damageState & Facility::DESTROYED, 0u);
}

TEST_F(FacilityTest, AirfieldThatTakesNoLargeAircraftCountsDestroyed)
{
    facility->airFacilityList.Insert(Entry(1, 1, 8));
    facility->capabilityFlags = Facility::AIRFIELD;
    facility->damagePoints = 1000;
    EXPECT_EQ(facility->TakeDamage(10, 0x20), 0);
    EXPECT_NE(facility->damageState & Facility::DESTROYED, 0u);
    // A runway of size 16 repaired in the list lets it take aircraft again.
    facility->airFacilityList.Insert(Entry(2, 1, 16));
    facility->OnAction16();
    EXPECT_EQ(facility->damageState & Facility::DESTROYED, 0u);
}

TEST_F(FacilityTest, HeavyHitDestroysAndLaterHitsAnswerTrue)
{
    facility->damagePoints = 10;
    facility->SetFlags(UnitFlag::SEEKER_ON | UnitFlag::LINKS_RECORDS);
    EXPECT_EQ(facility->TakeDamage(500, 0x20), 1);
    EXPECT_EQ(facility->damagePoints, 0);
    EXPECT_EQ(facility->damageTaken, 10);   // the damage is capped at the points left
    EXPECT_NE(facility->damageState & Facility::DESTROYED, 0u);
    EXPECT_FALSE(facility->TestFlags(UnitFlag::SEEKER_ON | UnitFlag::LINKS_RECORDS));
    Effects().clear();
    EXPECT_EQ(facility->TakeDamage(500, 0x20), 1);
    EXPECT_EQ(facility->damageTaken, 10);
    EXPECT_TRUE(Effects().empty());
}

TEST_F(FacilityTest, CategoryEightGivesEffectsOnly)
{
    facility->damagePoints = 100;
    facility->capabilityFlags = 0x40;
    EXPECT_EQ(facility->TakeDamage(5, 8), 0);
    EXPECT_EQ(facility->damageTaken, 0);
    EXPECT_EQ(facility->recentDamage, 0);
    EXPECT_FALSE(world.Queued(EventCode::MULTI_ACTION).empty() && Effects().empty());
}

TEST_F(FacilityTest, RepairLeavesATenthOrHalf)
{
    for (bool damaged : {false, true}) {
        SCOPED_TRACE(damaged);
        facility->damageState = damaged ? Facility::DAMAGED : 0;
        facility->damageTaken = 100;
        facility->recentDamage = 100;
        facility->Move(1);
        EXPECT_EQ(facility->damageTaken, damaged ? 50 : 10);
        EXPECT_EQ(facility->recentDamage, 0);
        EXPECT_TRUE(facility->TestFlags(UnitFlag::BASE));
    }
}

TEST_F(FacilityTest, StatusBitsClearOnlyWhenNoEntryHoldsThem)
{
    const uint32_t all = UnitFlag::HANGAR_HIT | UnitFlag::AIRFIELD_HIT | UnitFlag::AIR_OPS_DAMAGE;
    facility->SetFlags(all);
    AnnexEntry* hangar = Entry(1, 5, 0, AIR_STATE_DAMAGED);
    facility->airFacilityList.Insert(hangar);
    facility->OnAction3();    // no catapult or elevator damaged
    facility->OnAction16();
    facility->OnAction17();
    EXPECT_EQ(facility->GetFlags() & all, UnitFlag::HANGAR_HIT | UnitFlag::AIRFIELD_HIT);
    hangar->state = AIR_STATE_ACTIVE;
    hangar->long3 = 1;        // counts as damaged for the air facility bit only
    facility->OnAction16();
    facility->OnAction17();
    EXPECT_EQ(facility->GetFlags() & all, UnitFlag::AIRFIELD_HIT);
}

TEST_F(FacilityTest, SizeClassByDamagePoints)
{
    struct Row { uint16_t points; uint8_t size; };
    const Row rows[] = {{0, 1}, {5, 1}, {6, 2}, {25, 2}, {26, 4}, {125, 4}, {126, 8}, {625, 8}, {626, 16}};
    for (const Row& r : rows) {
        facility->damagePoints = r.points;
        EXPECT_EQ(facility->GetSizeClass(), r.size) << r.points;
    }
}

TEST_F(FacilityTest, DamagePercentAndLabel)
{
    EXPECT_EQ(facility->GetDamagePercent(), 0);
    facility->damageState = Facility::DAMAGED;
    EXPECT_EQ(facility->GetSeenDamagePercent(), 50);
    facility->damageState = Facility::DESTROYED | Facility::DAMAGED;
    EXPECT_EQ(facility->GetDamagePercent(), 100);
    EXPECT_EQ(facility->GetActionDamagePercent(), 50);
    facility->UpdateLabel();
    EXPECT_STREQ(facility->GetLabel(), "Runw ");
    EXPECT_STREQ(facility->GetLabel() + 6, "     ");
    facility->SetName("AB");
    facility->UpdateLabel();
    EXPECT_STREQ(facility->GetLabel(), "AB   ");
}

TEST_F(FacilityTest, HeightFollowsTheGroundItStandsOn)
{
    // No map: the ground is 0 everywhere, so the height stays and a move
    // keeps it; a point at sea is refused.
    facility->height = 12;
    facility->SetPositionRebased({1000, 2000});
    EXPECT_EQ(facility->height, 12);
    EXPECT_EQ(facility->GetPosition().lat, 1000);
    facility->TryMoveTo({5000, 6000});
    EXPECT_EQ(facility->GetPosition().lat, 1000);
    facility->AddGroundHeight();
    EXPECT_EQ(facility->height, 12);
}

TEST_F(FacilityTest, WeaponStocksComeFromTheParentWhenThereIsOne)
{
    auto* magazine = new Mount();
    magazine->SetKey(4);
    auto* rec = new WeaponRec();
    rec->SetKey(1);
    rec->weaponID = 33;
    rec->shotsLeft = 6;
    magazine->weapons.Insert(rec);
    facility->magazines.Insert(magazine);
    auto* parent = new TestUnit('B');
    parent->SetKey(2);
    units.Insert(parent);

    struct Row { uint16_t parentID; bool own; size_t entries; };
    const Row rows[] = {
        {0, false, 1},   // no parent: its own stocks
        {2, false, 0},   // the parent answers (a unit without magazines)
        {9, false, 1},   // a parent that cannot be found counts as none
        {2, true, 1},    // asked for its own
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.parentID << " " << r.own);
        facility->SetParentID(r.parentID);
        StockChain chain;
        facility->CollectWeaponEntries(chain, r.own);
        size_t count = 0;
        for (const StockEntry* e = chain.First(); e != nullptr; e = e->GetNext()) {
            ++count;
            EXPECT_EQ(e->unitID, 7);
            EXPECT_EQ(e->magazineKey, 4);
            EXPECT_EQ(e->weaponID, 33);
            EXPECT_EQ(e->count, 6);
        }
        EXPECT_EQ(count, r.entries);
    }
}

// A facility with something in every saved field.
void Fill(Facility& f)
{
    f.SetAnnexID(0);
    f.airFacilityList.Insert(Entry(1, 1, 8));
    f.airFacilityList.Insert(Entry(2, 6, 16, AIR_STATE_DAMAGED));
    auto* rec = new PlaneRec(3);
    rec->count = 4;
    rec->planeAnnexID = 9;
    f.planeRecs.Insert(rec);
    f.aircraftSpace[0] = 30;
    f.aircraftSpace[1] = 31;
    f.capabilityFlags = 0x60;
    f.facilityCode2 = 2;
    f.facilityCode1 = 3;
    f.damageTaken = 44;
    f.damagePoints = 500;
    f.damageState = Facility::DAMAGED;
}

std::string SavedList(const UnitList& list)
{
    std::ostringstream out;
    list.Save(out);
    return out.str();
}

TEST_F(FacilityTest, RoundTripsThroughTheUnitList)
{
    Fill(*facility);
    const std::string bytes = SavedList(units);
    UnitList back;
    std::istringstream in(bytes);
    ASSERT_TRUE(back.Load(in));
    auto* f = dynamic_cast<Facility*>(back.Find(7));
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(f->GetName().Text(), "Runway Alpha");
    ASSERT_NE(f->airFacilityList.Find(2), nullptr);
    EXPECT_EQ(f->airFacilityList.Find(2)->long2, 16u);
    ASSERT_NE(f->planeRecs.Find(3), nullptr);
    EXPECT_EQ(f->planeRecs.CountAircraft(), 4u);
    EXPECT_EQ(f->aircraftSpace[1], 31);
    EXPECT_EQ(f->capabilityFlags, 0x60u);
    EXPECT_EQ(f->facilityCode2, 2u);
    EXPECT_EQ(f->facilityCode1, 3u);
    EXPECT_EQ(f->damageTaken, 44);
    EXPECT_EQ(f->damagePoints, 500);
    EXPECT_EQ(f->damageState, Facility::DAMAGED);
    EXPECT_EQ(f->height, 1);   // no record: the ground and one
    // Saved again and read again, the record is unchanged (the aircraft
    // record works out its size factor and ready time on its first load).
    const std::string again = SavedList(back);
    UnitList third;
    std::istringstream in2(again);
    ASSERT_TRUE(third.Load(in2));
    EXPECT_EQ(SavedList(third), again);
}

TEST_F(FacilityTest, DamagedRecordIsRefusedAtEveryCut)
{
    Fill(*facility);
    const std::string bytes = SavedList(units);
    for (size_t cut = 2; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        UnitList back;
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(back.Load(in));
        EXPECT_EQ(back.First(), nullptr);
    }
    // A count of air facilities far beyond the stream.
    std::string bad = bytes;
    bad[5] = '\xFF';
    bad[6] = '\xFF';
    UnitList back;
    std::istringstream in(bad);
    EXPECT_FALSE(back.Load(in));
    EXPECT_EQ(back.First(), nullptr);
    EXPECT_FALSE(world.reports.errors.empty());
}

TEST_F(FacilityTest, OldFilesHaveNoDamageState)
{
    Fill(*facility);
    std::string bytes = SavedList(units);
    // Take the damageState word out: it follows damagePoints (500).
    const std::string marker("\xF4\x01", 2);
    const size_t at = bytes.find(marker, 3 + 2 + 2);
    ASSERT_NE(at, std::string::npos);
    bytes.erase(at + 2, 4);
    ScenarioAdmin admin;
    ScenarioAdmin* const previous = gAdmin;
    gAdmin = &admin;
    for (const VersionNumber& v : {VersionNumber(2, 0, 2, 0), VersionNumber(2, 0, 1, 0), VersionNumber(1, 9, 0, 0)}) {
        admin.SetFileVersion(v);
        UnitList back;
        std::istringstream in(bytes);
        ASSERT_TRUE(back.Load(in));
        auto* f = dynamic_cast<Facility*>(back.Find(7));
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->damageState, 0u);
        EXPECT_EQ(f->damagePoints, 500);
    }
    gAdmin = previous;
}

}  // namespace
