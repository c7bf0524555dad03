// PlatformRecordsTest.cpp: the ship, submarine, aircraft, facility and weapon
// records of the annex against their file layouts, in both annex versions,
// damaged records and files, the weapon range floor, and the small value
// fields they share (type code text, value triples).
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "annex/DBEnum.h"
#include "annex/FacilityAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/PlatformTypeCode.h"
#include "annex/ShipAnnex.h"
#include "annex/ShortTriple.h"
#include "annex/SubAnnex.h"
#include "annex/WeaponAnnex.h"
#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "core/ResourceWriter.h"
#include "support/AnnexImage.h"
#include "support/TempTree.h"

namespace {

// ---------------------------------------------------------------------------
// Samples: every field set, each to a value of its own, so that a field read
// into the wrong place or at the wrong width shows.

void AddIDs(IDList& list, std::initializer_list<uint16_t> ids)
{
    for (uint16_t id : ids)
        list.Insert(new IDNode(id));
}

void AddRecords(IDRecordList& list, std::initializer_list<std::pair<uint16_t, uint32_t>> entries)
{
    for (const auto& [id, value] : entries)
        list.Insert(new IDRecord(id, value));
}

std::unique_ptr<ShipAnnex> MakeShip(uint16_t id)
{
    auto ship = std::make_unique<ShipAnnex>(id);
    ship->shipCode = 3;
    ship->typeCode.Set("CVL");
    ship->vesselCode1 = 1;
    ship->vesselCode2 = 2;
    ship->vesselCode3 = 4;
    ship->fourthCode = 0x11223344;
    ship->damagePoints = 612;
    AddIDs(ship->airFacilityIDs, {3, 5, 8});
    ship->vesselTriple1 = ShortTriple(101, 102, 103);
    ship->vesselTriple2 = ShortTriple(201, 202, 203);
    ship->triple1 = ShortTriple(301, 302, 303);
    ship->triple2 = ShortTriple(401, 402, 403);
    ship->triple3 = ShortTriple(501, 502, 503);
    AddIDs(ship->propulsionIDs, {12});
    AddRecords(ship->sensors, {{7, 0xFFFFFFFF}, {9, 0x0000F00F}});
    AddRecords(ship->mounts, {{21, 0x000000FF}});
    AddIDs(ship->commIDs, {2, 4});
    AddIDs(ship->fuelIDs, {1});
    AddIDs(ship->magazineIDs, {30, 31});
    AddIDs(ship->eighthIDs, {44});
    ship->length = 1830;
    ship->displacement = 21000;
    ship->crew = 1150;
    ship->value1 = 0xA1A2A3A4;
    ship->value2 = 0xB1B2B3B4;
    ship->value3 = 0xC1;
    ship->value4 = 0xC2;
    ship->value5 = 0xD1D2;
    ship->value6 = 0xE1E2E3E4;
    ship->textNumber = 17;
    ship->value7 = 0xF1F2;
    ship->className.Set("Harrowgate");
    ship->secondName.Set("Light Carrier");
    const uint8_t bytes[] = {11, 12, 13, 14, 15};
    std::copy(std::begin(bytes), std::end(bytes), ship->bytes);
    ship->lastValue = 0x5A5A0001;
    return ship;
}

std::unique_ptr<SubAnnex> MakeSub(uint16_t id)
{
    auto sub = std::make_unique<SubAnnex>(id);
    sub->typeCode.Set("SSK");
    sub->maxDepth = -45;
    sub->vesselTriple1 = ShortTriple(11, 12, 13);
    sub->vesselTriple2 = ShortTriple(21, 22, 23);
    sub->damagePoints = 140;
    sub->triple1 = ShortTriple(31, 32, 33);
    sub->triple2 = ShortTriple(41, 42, 43);
    sub->triple3 = ShortTriple(51, 52, 53);
    AddIDs(sub->propulsionIDs, {14, 15});
    AddRecords(sub->sensors, {{40, 0x12345678}});
    AddRecords(sub->mounts, {{60, 7}, {61, 8}});
    AddIDs(sub->magazineIDs, {33});
    AddIDs(sub->commIDs, {6});
    AddIDs(sub->fuelIDs, {3, 4});
    sub->length = 672;
    sub->displacement = 2350;
    sub->crew = 53;
    sub->textNumber = 4;
    sub->value1 = 0x7788;
    sub->subFlags = 0x100;
    sub->className.Set("Oreford");
    sub->secondName.Set("Patrol Submarine");
    const uint8_t bytes[] = {1, 2, 3, 4};
    std::copy(std::begin(bytes), std::end(bytes), sub->bytes);
    sub->lastValue = 0x0BADF00D;
    return sub;
}

std::unique_ptr<PlaneAnnex> MakePlane(uint16_t id)
{
    auto plane = std::make_unique<PlaneAnnex>(id);
    plane->typeCode.Set("F-9K");
    plane->triple1 = ShortTriple(5, 6, 7);
    plane->triple2 = ShortTriple(8, 9, 10);
    plane->triple3 = ShortTriple(11, 12, 13);
    AddIDs(plane->propulsionIDs, {20});
    AddRecords(plane->sensorIDs, {{50, 0x00000F0F}});
    AddRecords(plane->mountIDs, {{70, 1}, {71, 2}});
    plane->loadouts.Insert(new NavIDNode(100, 0));
    plane->loadouts.Insert(new NavIDNode(101, 0));
    AddIDs(plane->commIDs, {8});
    AddIDs(plane->fuelIDs, {9, 10});
    plane->length = 171;
    plane->span = 98;
    plane->weight = 15800;
    plane->crew = 2;
    plane->airValueUnloaded = 60;
    plane->airValueLoaded = 35;
    plane->aircraftFlags = 0x03004000;
    plane->climbRate = 254;
    plane->textID = 9;
    plane->value = 0x4321;
    plane->className.Set("Skarn");
    plane->secondName.Set("Strike Fighter");
    const uint8_t bytes[] = {0x81, 0x82, 0x83, 0x84};
    std::copy(std::begin(bytes), std::end(bytes), plane->bytes);
    plane->lastWord = 0xCAFEBABE;
    return plane;
}

std::unique_ptr<FacilityAnnex> MakeFacility(uint16_t id)
{
    auto facility = std::make_unique<FacilityAnnex>(id);
    facility->typeCode = 2;
    facility->secondCode = 0x00010002;
    AddIDs(facility->airFacilityIDs, {1, 5, 8});
    AddRecords(facility->sensors, {{7, 0xFFFFFFFF}});
    AddRecords(facility->mounts, {{22, 0xF0}, {23, 0x0F}});
    AddIDs(facility->commIDs, {2});
    AddIDs(facility->magazineIDs, {34, 35});
    AddIDs(facility->fuelIDs, {5});
    facility->triple1 = ShortTriple(1, 2, 3);
    facility->triple2 = ShortTriple(4, 5, 6);
    facility->triple3 = ShortTriple(7, 8, 9);
    facility->value = 0x01020304;
    facility->textNumber = 23;
    facility->name.Set("Coastal Airfield");
    facility->damagePoints = 900;
    facility->height = -12;
    const uint8_t bytes[] = {21, 22, 23, 24, 25};
    std::copy(std::begin(bytes), std::end(bytes), facility->bytes);
    facility->lastValue = 0x600DF00D;
    return facility;
}

std::unique_ptr<WeaponAnnex> MakeWeapon(uint16_t id, uint32_t kind = 1, uint32_t maxRange = 650)
{
    auto weapon = std::make_unique<WeaponAnnex>(id);
    weapon->targetMask = 0x41;
    weapon->weaponKind = kind;
    AddIDs(weapon->warheadIDs, {3, 4});
    weapon->triple1 = ShortTriple(1, 1, 1);
    weapon->triple2 = ShortTriple(2, 2, 2);
    weapon->triple3 = ShortTriple(3, 3, 3);
    weapon->triple4 = ShortTriple(4, 4, 4);
    weapon->triple5 = ShortTriple(5, 5, 5);
    AddIDs(weapon->propulsionIDs, {25});
    AddRecords(weapon->sensors, {{80, 0x9}});
    AddIDs(weapon->commIDs, {7});
    AddIDs(weapon->fuelIDs, {11});
    weapon->length = 47;
    weapon->span = 9;
    weapon->weight = 520;
    weapon->textNumber = 31;
    weapon->value1 = 0x91;
    weapon->launchAltitude = -300;
    weapon->value2 = 0x92;
    weapon->surfaceChance = 85;
    weapon->surfaceChanceFar = 60;
    weapon->airChance = -20;
    weapon->airChanceLong = 45;
    weapon->maxLaunchSpeed = 600;
    weapon->minLaunchSpeed = 120;
    weapon->maxRange = maxRange;
    weapon->minRange = 15;
    weapon->maxLaunchAltitude = 12000;
    weapon->minLaunchAltitude = -50;
    weapon->value3 = 0x93;
    weapon->className.Set("Talvane");
    weapon->secondName.Set("Anti-Ship Missile");
    const uint8_t bytes[] = {0xA1, 0xA2, 0xA3, 0xA4};
    std::copy(std::begin(bytes), std::end(bytes), weapon->bytes);
    AddIDs(weapon->fifthIDs, {40, 41});
    weapon->weaponFlags = 0x4010;
    weapon->climbRate = 250;
    weapon->value4 = 0xB1B2;
    weapon->value5 = 0xC1C2;
    weapon->value6 = 0xD1;
    weapon->extra1 = -7;
    weapon->extra2 = 300;
    weapon->alternateID = 0xE1E2;
    weapon->lastValue = 0xF00DFACE;
    return weapon;
}

// ---------------------------------------------------------------------------
// The same samples spelled byte by byte from the layout tables, version 1.

AnnexImage& Triple(AnnexImage& image, uint16_t a, uint16_t b, uint16_t c)
{
    return image.U16(a).U16(b).U16(c);
}

std::string ShipImage(uint16_t id)
{
    AnnexImage image;
    image.U16(id).U32(3).Raw(std::string("CVL\0\0", 5));
    image.U32(1).U32(2).U32(4).U32(0x11223344).U16(612);
    image.IDs({3, 5, 8});
    Triple(image, 101, 102, 103);
    Triple(image, 201, 202, 203);
    Triple(image, 301, 302, 303);
    Triple(image, 401, 402, 403);
    Triple(image, 501, 502, 503);
    image.IDs({12});
    image.U16(2).U16(7).U32(0xFFFFFFFF).U16(9).U32(0x0000F00F);
    image.U16(1).U16(21).U32(0xFF);
    image.IDs({2, 4}).IDs({1}).IDs({30, 31}).IDs({44});
    image.U16(1830).U32(21000).U16(1150).U32(0xA1A2A3A4).U32(0xB1B2B3B4);
    image.U8(0xC1).U8(0xC2).U16(0xD1D2).U32(0xE1E2E3E4).U16(17).U16(0xF1F2);
    image.Name("Harrowgate").Name("Light Carrier");
    image.U8(11).U8(12).U8(13).U8(14).U8(15);
    image.U32(0x5A5A0001);
    return image.Str();
}

std::string SubImage(uint16_t id)
{
    AnnexImage image;
    image.U16(id).Raw(std::string("SSK\0\0", 5)).I16(-45);
    Triple(image, 11, 12, 13);
    Triple(image, 21, 22, 23);
    image.U16(140);
    Triple(image, 31, 32, 33);
    Triple(image, 41, 42, 43);
    Triple(image, 51, 52, 53);
    image.IDs({14, 15});
    image.U16(1).U16(40).U32(0x12345678);
    image.U16(2).U16(60).U32(7).U16(61).U32(8);
    image.IDs({33}).IDs({6}).IDs({3, 4});
    image.U16(672).U32(2350).U16(53).U16(4).U16(0x7788).U32(0x100);
    image.Name("Oreford").Name("Patrol Submarine");
    image.U8(1).U8(2).U8(3).U8(4);
    image.U32(0x0BADF00D);
    return image.Str();
}

std::string PlaneImage(uint16_t id)
{
    AnnexImage image;
    image.U16(id).Raw(std::string("F-9K\0", 5));
    Triple(image, 5, 6, 7);
    Triple(image, 8, 9, 10);
    Triple(image, 11, 12, 13);
    image.IDs({20});
    image.U16(1).U16(50).U32(0x0F0F);
    image.U16(2).U16(70).U32(1).U16(71).U32(2);
    image.IDs({100, 101}).IDs({8}).IDs({9, 10});
    image.U16(171).U16(98).U32(15800).U8(2).U8(60).U8(35).U32(0x03004000).U8(254);
    image.U16(9).U16(0x4321);
    image.Name("Skarn").Name("Strike Fighter");
    image.U8(0x81).U8(0x82).U8(0x83).U8(0x84);
    image.U32(0xCAFEBABE);
    return image.Str();
}

std::string FacilityImage(uint16_t id)
{
    AnnexImage image;
    image.U16(id).U32(2).U32(0x00010002);
    image.IDs({1, 5, 8});
    image.U16(1).U16(7).U32(0xFFFFFFFF);
    image.U16(2).U16(22).U32(0xF0).U16(23).U32(0x0F);
    image.IDs({2}).IDs({34, 35}).IDs({5});
    Triple(image, 1, 2, 3);
    Triple(image, 4, 5, 6);
    Triple(image, 7, 8, 9);
    image.U32(0x01020304).U16(23).Name("Coastal Airfield").U16(900).I16(-12);
    image.U8(21).U8(22).U8(23).U8(24).U8(25);
    image.U32(0x600DF00D);
    return image.Str();
}

// Version 1 when withVersion1, else the layout of a version-0 file.
std::string WeaponImage(uint16_t id, uint32_t kind = 1, uint32_t maxRange = 650, bool withVersion1 = true)
{
    AnnexImage image;
    image.U16(id).U32(0x41).U32(kind).IDs({3, 4});
    for (uint16_t t = 1; t <= 5; ++t)
        Triple(image, t, t, t);
    image.IDs({25});
    image.U16(1).U16(80).U32(0x9);
    image.IDs({7}).IDs({11});
    image.U16(47).U16(9).U16(520).U16(31);
    image.U8(0x91).I16(-300).U8(0x92).U8(85).U8(60).U8(0xEC).U8(45);
    image.U16(600).U16(120).U32(maxRange).U16(15).I16(12000).I16(-50).U8(0x93);
    image.Name("Talvane").Name("Anti-Ship Missile");
    image.U8(0xA1).U8(0xA2).U8(0xA3).U8(0xA4);
    image.IDs({40, 41});
    image.U32(0x4010).U16(250).U16(0xB1B2).U16(0xC1C2).U8(0xD1);
    if (withVersion1)
        image.I16(-7).I16(300).U16(0xE1E2).U32(0xF00DFACE);
    return image.Str();
}

// The five record kinds for the checks that every annex record passes.
template <class T>
void ExpectRecordChecks(std::unique_ptr<T> (*make)(uint16_t), size_t version1Bytes = 4)
{
    const std::unique_ptr<T> a = make(0x0102);
    const std::unique_ptr<T> b = make(0x0203);
    ExpectAnnexRoundTrip(*a, version1Bytes);
    ExpectAnnexCutsRefused<T>({a.get(), b.get()});
    ExpectAnnexCountPastEndRefused(*a);
}

std::unique_ptr<WeaponAnnex> MakeDefaultWeapon(uint16_t id) { return MakeWeapon(id); }

} // namespace

// ---------------------------------------------------------------------------
// Shared value fields

TEST(ShortTriple, IndexesThreeAspects)
{
    ShortTriple triple(7, 8, 9);
    EXPECT_EQ(triple.Get(0), 7);
    EXPECT_EQ(triple.Get(2), 9);
    EXPECT_EQ(triple.Get(3), 0);    // outside the three aspects
    EXPECT_EQ(triple.Get(-1), 0);
    triple.Set(1, 0xFFFF);
    triple.Set(3, 5);               // ignored
    EXPECT_EQ(triple, ShortTriple(7, 0xFFFF, 9));
    triple.Clear();
    EXPECT_EQ(triple, ShortTriple());

    std::ostringstream out;
    ShortTriple(0x0102, 0x0304, 0x0506).Save(out);
    EXPECT_EQ(out.str(), AnnexImage().U16(0x0102).U16(0x0304).U16(0x0506).Str());
}

TEST(PlatformTypeCode, FiveBytesWithoutTerminator)
{
    struct Row { std::string bytes; const char* text; };
    const Row rows[] = {
        {std::string("ABCDE", 5), "ABCDE"},          // all five used: no zero in the file
        {std::string("DD\0\0\0", 5), "DD"},
        {std::string("\0\0\0\0\0", 5), ""},
        {std::string("AB\0XY", 5), "AB"},            // bytes after the zero are carried
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        PlatformTypeCode code;
        std::istringstream in(r.bytes);
        code.Load(in);
        ASSERT_TRUE(in);
        EXPECT_STREQ(code.Text(), r.text);
        char out[PlatformTypeCode::LENGTH + 1];
        code.Get(out);
        EXPECT_STREQ(out, r.text);
        std::ostringstream saved;
        code.Save(saved);
        EXPECT_EQ(saved.str(), r.bytes);
    }

    PlatformTypeCode code;
    code.Set("LONGER");                               // five characters kept
    EXPECT_STREQ(code.Text(), "LONGE");
    std::istringstream shortRead(std::string("XY", 2));
    code.Load(shortRead);
    EXPECT_FALSE(shortRead);
    EXPECT_STREQ(code.Text(), "LONGE");               // unchanged by a short read
}

// ---------------------------------------------------------------------------
// Layouts: the bytes each class writes are the layout table's, and reading
// them gives the fields back.

TEST(PlatformRecords, WriteTheirFileLayouts)
{
    EXPECT_EQ(SaveAnnexRecord(*MakeShip(0x0102), 1), ShipImage(0x0102));
    EXPECT_EQ(SaveAnnexRecord(*MakeSub(0x0102), 1), SubImage(0x0102));
    EXPECT_EQ(SaveAnnexRecord(*MakePlane(0x0102), 1), PlaneImage(0x0102));
    EXPECT_EQ(SaveAnnexRecord(*MakeFacility(0x0102), 1), FacilityImage(0x0102));
    EXPECT_EQ(SaveAnnexRecord(*MakeWeapon(0x0102), 1), WeaponImage(0x0102));
    // Version 0: the trailing word left out (weapons: ten bytes, below).
    const std::string ship = ShipImage(0x0102);
    EXPECT_EQ(SaveAnnexRecord(*MakeShip(0x0102), 0), ship.substr(0, ship.size() - 4));
    EXPECT_EQ(SaveAnnexRecord(*MakeWeapon(0x0102), 0), WeaponImage(0x0102, 1, 650, false));
}

TEST(PlatformRecords, SmallestRecordsMatchTheirCountCheck)
{
    // An empty record written at version 0 is the smallest a file can hold,
    // but for the names: an empty name is written as count 1 and a zero, one
    // byte more than the count 0 the check allows for.
    EXPECT_EQ(SaveAnnexRecord(ShipAnnex(), 0).size(), ShipAnnex::MIN_FILE_BYTES + 2);
    EXPECT_EQ(SaveAnnexRecord(SubAnnex(), 0).size(), SubAnnex::MIN_FILE_BYTES + 2);
    EXPECT_EQ(SaveAnnexRecord(PlaneAnnex(), 0).size(), PlaneAnnex::MIN_FILE_BYTES + 2);
    EXPECT_EQ(SaveAnnexRecord(FacilityAnnex(), 0).size(), FacilityAnnex::MIN_FILE_BYTES + 1);
    EXPECT_EQ(SaveAnnexRecord(WeaponAnnex(), 0).size(), WeaponAnnex::MIN_FILE_BYTES + 2);
    EXPECT_EQ(SaveAnnexRecord(WeaponAnnex(), 1).size(),
              WeaponAnnex::MIN_FILE_BYTES + WeaponAnnex::VERSION1_BYTES + 2);
}

TEST(ShipAnnex, ReadsEveryField)
{
    bool consumedAll = false;
    const auto ship = ReadAnnexRecord<ShipAnnex>(ShipImage(0x0102), 1, &consumedAll);
    ASSERT_TRUE(ship);
    EXPECT_TRUE(consumedAll);
    EXPECT_EQ(ship->GetKey(), 0x0102);
    EXPECT_EQ(ship->GetShipCode(), 3u);
    char code[PlatformTypeCode::LENGTH + 1];
    ship->GetTypeCode(code);
    EXPECT_STREQ(code, "CVL");
    EXPECT_EQ(ship->vesselCode1, 1u);
    EXPECT_EQ(ship->vesselCode3, 4u);
    EXPECT_EQ(ship->fourthCode, 0x11223344u);
    EXPECT_EQ(ship->damagePoints, 612);
    EXPECT_NE(ship->airFacilityIDs.Find(8), nullptr);
    EXPECT_EQ(ship->vesselTriple2, ShortTriple(201, 202, 203));
    EXPECT_EQ(ship->triple3, ShortTriple(501, 502, 503));
    ASSERT_NE(ship->sensors.Find(9), nullptr);
    EXPECT_EQ(ship->sensors.Find(9)->GetValue(), 0x0000F00Fu);
    EXPECT_NE(ship->eighthIDs.Find(44), nullptr);
    EXPECT_EQ(ship->displacement, 21000u);
    EXPECT_EQ(ship->value6, 0xE1E2E3E4u);
    EXPECT_EQ(ship->value7, 0xF1F2);
    EXPECT_STREQ(ship->className.Text(), "Harrowgate");
    EXPECT_STREQ(ship->secondName.Text(), "Light Carrier");
    EXPECT_EQ(ship->bytes[4], 15);
    EXPECT_EQ(ship->lastValue, 0x5A5A0001u);
    EXPECT_EQ(ship->GetTextResource(), 0x400000 + 17);
}

TEST(ShipAnnex, DamageLevelOutsideTheTableHasNoValue)
{
    // A damage class level read from the file is carried as it stands; one
    // outside the tables' levels (0 to 4) fails the chance test and scales
    // to 0, even when the draw would pass.
    struct AlwaysPass { static uint16_t Draw(uint16_t) { return 0; } };
    const DBEnum::DrawFunction previous = DBEnum::SetChanceDraw(&AlwaysPass::Draw);
    auto ship = MakeShip(5);
    ship->vesselCode1 = 9;
    ship->vesselCode2 = 1;
    const auto read = ReadAnnexRecord<ShipAnnex>(SaveAnnexRecord(*ship, 1), 1);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->vesselCode1, 9u);
    EXPECT_FALSE(DBEnum::Chance_Check(30, 0x20, read->vesselCode1));
    EXPECT_EQ(DBEnum::Scale_By_Class(30, 0x20, read->vesselCode1), 0);
    EXPECT_TRUE(DBEnum::Chance_Check(30, 0x20, read->vesselCode2));
    DBEnum::SetChanceDraw(previous);
}

TEST(SubAnnex, ReadsEveryFieldAndShowsDepthInMetres)
{
    bool consumedAll = false;
    const auto sub = ReadAnnexRecord<SubAnnex>(SubImage(7), 1, &consumedAll);
    ASSERT_TRUE(sub);
    EXPECT_TRUE(consumedAll);
    EXPECT_EQ(sub->maxDepth, -45);
    EXPECT_EQ(sub->GetMaxDepthMetres(), 450);
    EXPECT_EQ(sub->vesselTriple1, ShortTriple(11, 12, 13));
    EXPECT_EQ(sub->damagePoints, 140);
    EXPECT_EQ(sub->triple1, ShortTriple(31, 32, 33));
    ASSERT_NE(sub->mounts.Find(61), nullptr);
    EXPECT_EQ(sub->mounts.Find(61)->GetValue(), 8u);
    EXPECT_NE(sub->magazineIDs.Find(33), nullptr);
    EXPECT_NE(sub->fuelIDs.Find(4), nullptr);
    EXPECT_EQ(sub->subFlags, 0x100u);
    EXPECT_STREQ(sub->secondName.Text(), "Patrol Submarine");
    EXPECT_EQ(sub->lastValue, 0x0BADF00Du);
    EXPECT_EQ(sub->GetTextResource(), 0x410004);

    SubAnnex deep;
    deep.maxDepth = INT16_MIN;   // the widest the field holds
    EXPECT_EQ(deep.GetMaxDepthMetres(), 327680);
}

TEST(PlaneAnnex, ReadsEveryFieldAndItsLoadouts)
{
    bool consumedAll = false;
    const auto plane = ReadAnnexRecord<PlaneAnnex>(PlaneImage(7), 1, &consumedAll);
    ASSERT_TRUE(plane);
    EXPECT_TRUE(consumedAll);
    char code[PlatformTypeCode::LENGTH + 1];
    plane->GetTypeCode(code);
    EXPECT_STREQ(code, "F-9K");
    EXPECT_EQ(plane->triple2, ShortTriple(8, 9, 10));
    EXPECT_NE(plane->propulsionIDs.Find(20), nullptr);
    EXPECT_EQ(plane->mountIDs.Find(71)->GetValue(), 2u);
    EXPECT_TRUE(plane->HasLoadout(100));
    EXPECT_TRUE(plane->HasLoadout(101));
    EXPECT_FALSE(plane->HasLoadout(102));
    EXPECT_EQ(plane->loadouts.Find(100)->GetValue(), 0);   // worked out later
    EXPECT_EQ(plane->span, 98);
    EXPECT_EQ(plane->weight, 15800u);
    EXPECT_EQ(plane->crew, 2);
    EXPECT_EQ(plane->airValueLoaded, 35);
    EXPECT_EQ(plane->GetAircraftFlags(), 0x03004000u);
    EXPECT_EQ(plane->GetSizeCode(), 0x8);      // bit 0x4000
    EXPECT_EQ(plane->GetTypeGroup(), 3);
    EXPECT_EQ(plane->climbRate, 254);
    EXPECT_EQ(plane->GetTextResource(), 0x420009);
    EXPECT_STREQ(plane->className.Text(), "Skarn");
    EXPECT_EQ(plane->lastWord, 0xCAFEBABEu);
}

TEST(PlaneAnnex, LoadoutListEdges)
{
    const std::vector<uint16_t> rows[] = {
        {},
        {100},
        {100, 100},               // listed twice: two entries
        {100, 100, 105},
    };
    for (const std::vector<uint16_t>& onDisk : rows) {
        SCOPED_TRACE(testing::Message() << onDisk.size() << " loadout IDs");
        AnnexImage image;
        image.U16(3).Raw(std::string(5, '\0'));
        for (int i = 0; i < 9; ++i)
            image.U16(0);                                       // three triples
        image.IDs({}).U16(0).U16(0).U16(static_cast<uint32_t>(onDisk.size()));
        for (uint16_t id : onDisk)
            image.U16(id);
        image.IDs({}).IDs({});
        image.U16(0).U16(0).U32(0).U8(0).U8(0).U8(0).U32(0).U8(0).U16(0).U16(0);
        image.Name("").Name("").U32(0).U32(0);
        const auto plane = ReadAnnexRecord<PlaneAnnex>(image.Str(), 1);
        ASSERT_TRUE(plane);
        int count = 0;
        for (const NavIDNode* e = plane->loadouts.First(); e; e = e->GetNext())
            ++count;
        EXPECT_EQ(count, static_cast<int>(onDisk.size()));
        EXPECT_EQ(SaveAnnexRecord(*plane, 1), image.Str());  // written back as plain IDs
    }
}

TEST(PlaneAnnex, CombatRangeByLoadout)
{
    auto plane = MakePlane(4);
    plane->usableRange = 380;
    plane->loadouts.Find(101)->SetValue(290);
    EXPECT_EQ(plane->GetCombatRange(0), 380);     // no loadout: the default
    EXPECT_EQ(plane->GetCombatRange(101), 290);
    EXPECT_EQ(plane->GetCombatRange(100), 0);     // listed, range worked out as 0
    EXPECT_EQ(plane->GetCombatRange(555), 380);   // not listed: the default

    // Reading a record again forgets figures worked out before.
    plane->perfSpeed[5] = 420;
    std::istringstream in(PlaneImage(4));
    ASSERT_TRUE(plane->Read(in));
    EXPECT_EQ(plane->usableRange, 0);
    EXPECT_EQ(plane->perfSpeed[5], 0);
    EXPECT_EQ(plane->GetCombatRange(101), 0);
}

TEST(FacilityAnnex, ReadsEveryField)
{
    bool consumedAll = false;
    const auto facility = ReadAnnexRecord<FacilityAnnex>(FacilityImage(0x0405), 1, &consumedAll);
    ASSERT_TRUE(facility);
    EXPECT_TRUE(consumedAll);
    EXPECT_EQ(facility->GetTypeCode(), 2u);
    EXPECT_EQ(facility->GetSecondCode(), 0x00010002u);
    EXPECT_NE(facility->airFacilityIDs.Find(5), nullptr);
    EXPECT_EQ(facility->mounts.Find(23)->GetValue(), 0x0Fu);
    EXPECT_NE(facility->commIDs.Find(2), nullptr);
    // Magazines come before fuel in the file.
    EXPECT_NE(facility->magazineIDs.Find(35), nullptr);
    EXPECT_NE(facility->fuelIDs.Find(5), nullptr);
    EXPECT_EQ(facility->triple3, ShortTriple(7, 8, 9));
    EXPECT_EQ(facility->value, 0x01020304u);
    EXPECT_EQ(facility->GetTextResource(), 0x460000 + 23);
    EXPECT_STREQ(facility->name.Text(), "Coastal Airfield");
    EXPECT_EQ(facility->damagePoints, 900);
    EXPECT_EQ(facility->height, -12);
    EXPECT_EQ(facility->bytes[4], 25);
    EXPECT_EQ(facility->lastValue, 0x600DF00Du);
}

// With a resource loader, a new facility record is named by its resource
// text; a record whose file gives a name count of 0 keeps that name.
class FacilityDefaultName : public InTempTree {
protected:
    void SetUp() override
    {
        InTempTree::SetUp();
        tree.Folder("RES");
        ResourceWriter writer(FACILITY_DEFAULT_NAME_TEXT >> 16);
        writer.AddText(FACILITY_DEFAULT_NAME_TEXT & 0xFFFF, "Unknown Facility");
        ASSERT_TRUE(writer.WriteFile(tree.root + "/RES/TEXT.RES"));
        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 RES\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader_ = std::make_unique<ResourceLoader>(ini);
        TheResourceLoader = loader_.get();
    }
    void TearDown() override
    {
        TheResourceLoader = nullptr;
        loader_.reset();
        InTempTree::TearDown();
    }

private:
    std::unique_ptr<ResourceLoader> loader_;
};

TEST_F(FacilityDefaultName, ComesFromTheResourceText)
{
    const FacilityAnnex fresh;
    EXPECT_STREQ(fresh.name.Text(), "Unknown Facility");

    std::string bytes = FacilityImage(9);
    const std::string stored = AnnexImage().Name("Coastal Airfield").Str();
    const size_t at = bytes.find(stored);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, stored.size(), std::string("\0\0", 2));   // name count 0
    const auto read = ReadAnnexRecord<FacilityAnnex>(bytes, 1);
    ASSERT_TRUE(read);
    EXPECT_STREQ(read->name.Text(), "Unknown Facility");
    EXPECT_EQ(read->damagePoints, 900);                   // the fields after it in step
}

TEST(FacilityAnnex, WithoutResourcesTheNameIsEmpty)
{
    ASSERT_EQ(TheResourceLoader, nullptr);
    EXPECT_STREQ(FacilityAnnex().name.Text(), "");
}

// ---------------------------------------------------------------------------
// Weapons

TEST(WeaponAnnex, ReadsEveryField)
{
    bool consumedAll = false;
    const auto weapon = ReadAnnexRecord<WeaponAnnex>(WeaponImage(0x0506), 1, &consumedAll);
    ASSERT_TRUE(weapon);
    EXPECT_TRUE(consumedAll);
    EXPECT_EQ(weapon->GetKey(), 0x0506);
    EXPECT_EQ(weapon->GetTargetMask(), 0x41u);
    EXPECT_EQ(weapon->GetWeaponKind(), 1u);
    EXPECT_NE(weapon->warheadIDs.Find(4), nullptr);
    EXPECT_EQ(weapon->triple5, ShortTriple(5, 5, 5));
    EXPECT_EQ(weapon->sensors.Find(80)->GetValue(), 0x9u);
    EXPECT_EQ(weapon->weight, 520);
    EXPECT_EQ(weapon->GetTextResource(), 0x430000 + 31);
    EXPECT_EQ(weapon->launchAltitude, -300);
    EXPECT_EQ(weapon->surfaceChance, 85);
    EXPECT_EQ(weapon->surfaceChanceFar, 60);
    EXPECT_EQ(weapon->airChance, -20);          // a signed byte
    EXPECT_EQ(weapon->airChanceLong, 45);
    EXPECT_EQ(weapon->maxLaunchSpeed, 600);
    EXPECT_EQ(weapon->minLaunchSpeed, 120);
    EXPECT_EQ(weapon->maxRange, 650u);
    EXPECT_EQ(weapon->minRange, 15);
    EXPECT_EQ(weapon->maxLaunchAltitude, 12000);
    EXPECT_EQ(weapon->minLaunchAltitude, -50);
    EXPECT_STREQ(weapon->className.Text(), "Talvane");
    EXPECT_NE(weapon->fifthIDs.Find(41), nullptr);
    EXPECT_EQ(weapon->weaponFlags, 0x4010u);
    EXPECT_EQ(weapon->climbRate, 250);
    EXPECT_EQ(weapon->value6, 0xD1);
    EXPECT_EQ(weapon->extra1, -7);
    EXPECT_EQ(weapon->extra2, 300);
    EXPECT_EQ(weapon->alternateID, 0xE1E2);
    EXPECT_EQ(weapon->lastValue, 0xF00DFACEu);
    EXPECT_FALSE(weapon->prepared);
}

TEST(WeaponAnnex, VersionZeroRecordEndsAfterTheLastByte)
{
    // A version-0 record stops after the byte that follows the climb rate and
    // the two u16 values; the ten bytes of version-1 fields stay 0.
    const std::string v0 = WeaponImage(8, 1, 650, false);
    EXPECT_EQ(WeaponImage(8).size(), v0.size() + WeaponAnnex::VERSION1_BYTES);
    bool consumedAll = false;
    const auto weapon = ReadAnnexRecord<WeaponAnnex>(v0, 0, &consumedAll);
    ASSERT_TRUE(weapon);
    EXPECT_TRUE(consumedAll);
    EXPECT_EQ(weapon->value6, 0xD1);
    EXPECT_EQ(weapon->extra1, 0);
    EXPECT_EQ(weapon->extra2, 0);
    EXPECT_EQ(weapon->alternateID, 0);
    EXPECT_EQ(weapon->lastValue, 0u);
}

TEST(WeaponAnnex, MaximumRangeFloorForKindTwo)
{
    struct Row { uint32_t kind, stored, read; };
    const Row rows[] = {
        {2, 5, 20},
        {2, 0, 20},
        {2, 19, 20},
        {2, 20, 20},
        {2, 25, 25},
        {1, 5, 5},           // other kinds keep what is stored
        {16, 0, 0},
        {0x102, 5, 5},       // kind must be 2 exactly, not a bit of it
    };
    for (const Row& r : rows)
        for (bool version1 : {false, true}) {
            SCOPED_TRACE(testing::Message() << "kind " << r.kind << ", range " << r.stored
                                            << ", version " << version1);
            const auto weapon = ReadAnnexRecord<WeaponAnnex>(
                WeaponImage(3, r.kind, r.stored, version1), version1 ? 1 : 0);
            ASSERT_TRUE(weapon);
            EXPECT_EQ(weapon->maxRange, r.read);
            EXPECT_EQ(weapon->extra1, version1 ? -7 : 0);   // read in step after the floor
        }
}

TEST(WeaponAnnex, DecoyAttacksOnlyTargetClassSixteen)
{
    WeaponAnnex weapon;
    weapon.targetMask = 0x3;
    weapon.weaponKind = WEAPON_KIND_DECOY;
    EXPECT_EQ(weapon.GetTargetMask(), 16u);
    weapon.weaponKind = 1;
    EXPECT_EQ(weapon.GetTargetMask(), 0x3u);
}

TEST(WeaponAnnex, FileWithoutVersionWordReadsAsVersionZero)
{
    // The count followed by a non-zero first ID reads as a u32 with a
    // non-zero high half: no version word, version 0, a warning.
    const std::string body = AnnexImage().U16(2).Raw(WeaponImage(0x0100, 2, 5, false))
                                 .Raw(WeaponImage(0x0101, 1, 5, false)).Str();
    std::istringstream in(body);
    ReportCapture reports;
    ASSERT_TRUE(CheckAnnexVersion(in));
    EXPECT_EQ(GetAnnexVersion(), 0u);
    AnnexTable<WeaponAnnex> table("weapon.dat");
    EXPECT_TRUE(table.Load(in));
    SetAnnexVersion(ANNEX_VERSION);
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], ANNEX_TEXT_OLDER);
    ASSERT_NE(table.Find(0x0100), nullptr);
    EXPECT_EQ(table.Find(0x0100)->maxRange, 20u);
    EXPECT_EQ(table.Find(0x0101)->maxRange, 5u);
    EXPECT_EQ(table.Find(0x0101)->lastValue, 0u);
}

// ---------------------------------------------------------------------------
// Every kind: round trip in both versions, every cut refused, counts past the
// end refused.

TEST(PlatformRecords, RoundTripAndDamagedFiles)
{
    {
        SCOPED_TRACE("ship");
        ExpectRecordChecks<ShipAnnex>(&MakeShip);
    }
    {
        SCOPED_TRACE("sub");
        ExpectRecordChecks<SubAnnex>(&MakeSub);
    }
    {
        SCOPED_TRACE("plane");
        ExpectRecordChecks<PlaneAnnex>(&MakePlane);
    }
    {
        SCOPED_TRACE("facility");
        ExpectRecordChecks<FacilityAnnex>(&MakeFacility);
    }
    {
        SCOPED_TRACE("weapon");
        ExpectRecordChecks<WeaponAnnex>(&MakeDefaultWeapon, WeaponAnnex::VERSION1_BYTES);
    }
}

// A record whose embedded count at countAt is raised to 65535, in a file of
// one record: refused before anything is allocated for the list, the record
// dropped and reported.
template <class T>
void ExpectHugeListCountDropsRecord(std::string record, size_t countAt)
{
    ASSERT_NE(countAt, std::string::npos);
    record[countAt] = '\xFF';
    record[countAt + 1] = '\xFF';
    const std::string file = AnnexImage().U16(1).Raw(record).Str();
    ReportCapture reports;
    std::istringstream in(file);
    AnnexTable<T> table("test.dat");
    EXPECT_FALSE(table.Load(in));
    EXPECT_EQ(table.First(), nullptr);
    EXPECT_EQ(reports.errors.size(), 1u);
}

TEST(PlatformRecords, EmbeddedCountPastTheEndDropsTheRecord)
{
    const std::string ship = ShipImage(1);
    const std::string plane = PlaneImage(1);
    {
        SCOPED_TRACE("ship sensors");
        ExpectHugeListCountDropsRecord<ShipAnnex>(ship, ship.find(AnnexImage().U16(2).U16(7).Str()));
    }
    {
        SCOPED_TRACE("sub propulsion");
        ExpectHugeListCountDropsRecord<SubAnnex>(SubImage(1), 41);
    }
    {
        SCOPED_TRACE("plane loadouts");
        ExpectHugeListCountDropsRecord<PlaneAnnex>(plane, plane.find(AnnexImage().IDs({100, 101}).Str()));
    }
    {
        SCOPED_TRACE("facility air facilities");
        ExpectHugeListCountDropsRecord<FacilityAnnex>(FacilityImage(1), 10);
    }
    {
        SCOPED_TRACE("weapon warheads");
        ExpectHugeListCountDropsRecord<WeaponAnnex>(WeaponImage(1), 10);
    }
}

TEST(PlatformRecords, LongNameKeepsThirtyOneCharactersAndStaysInStep)
{
    // A name count above 32 keeps 31 characters and reads past the rest, so
    // the fields after it are still read from their places.
    const std::string longName(40, 'N');
    AnnexImage image;
    image.U16(6).Raw(std::string("SSN\0\0", 5)).I16(-60);
    for (int i = 0; i < 16; ++i)
        image.U16(i);       // 2 triples, damage points, 3 triples: 16 u16
    image.IDs({}).U16(0).U16(0).IDs({}).IDs({}).IDs({});
    image.U16(900).U32(7000).U16(120).U16(3).U16(4).U32(5);
    image.Name(longName.c_str()).Name("Attack Submarine").U8(9).U8(8).U8(7).U8(6).U32(77);
    bool consumedAll = false;
    const auto sub = ReadAnnexRecord<SubAnnex>(image.Str(), 1, &consumedAll);
    ASSERT_TRUE(sub);
    EXPECT_TRUE(consumedAll);
    EXPECT_EQ(std::string(sub->className.Text()), longName.substr(0, 31));
    EXPECT_STREQ(sub->secondName.Text(), "Attack Submarine");
    EXPECT_EQ(sub->bytes[3], 6);
    EXPECT_EQ(sub->lastValue, 77u);
}
