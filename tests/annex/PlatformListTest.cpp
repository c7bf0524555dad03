// PlatformListTest.cpp: the viewer's platform lists: entry texts and order,
// copies handed out, the sensor filters, missing and damaged files.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "annex/AnnexFile.h"
#include "annex/AnnexTables.h"
#include "annex/FacilityAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/PlatformList.h"
#include "annex/ShipAnnex.h"
#include "annex/SubAnnex.h"
#include "annex/WeaponAnnex.h"
#include "core/RecordList.h"
#include "support/ReportCapture.h"
#include "support/TempTree.h"

namespace {

using Entries = std::vector<std::pair<std::string, intptr_t>>;

Entries Read(const Chain<StringNode>& chain)
{
    Entries entries;
    for (const StringNode* e = chain.First(); e != nullptr; e = e->GetNext())
        entries.emplace_back(e->GetText(), e->GetValue());
    return entries;
}

Entries Copy(void (*getter)(Chain<StringNode>&))
{
    Chain<StringNode> out;
    getter(out);
    return Read(out);
}

// The bytes of an annex file holding records in the order given.
template <class Record>
std::string FileOf(const std::vector<const Record*>& records, uint32_t version = ANNEX_VERSION,
                   bool withVersionWord = true)
{
    std::ostringstream out;
    if (withVersionWord)
        SaveField(out, version);
    SaveField(out, static_cast<uint16_t>(records.size()));
    for (const Record* r : records)
        r->Save(out, version);
    return out.str();
}

template <class Record>
void SetNames(Record& r, const char* first, const char* second)
{
    r.className.Set(first);
    r.secondName.Set(second);
}

ShipAnnex* Ship(uint16_t id, const char* first, const char* second, std::vector<uint16_t> sensors = {})
{
    auto* ship = new ShipAnnex(id);
    SetNames(*ship, first, second);
    for (uint16_t s : sensors)
        ship->sensors.Insert(new IDRecord(s, 0xFF));
    return ship;
}

// Sensor index of the ship file, as the scenario's annex tables build it.
RecordList* shipIndex = nullptr;
const RecordList* LookUpIndex(Annex::PlatformKind kind)
{
    return kind == Annex::PlatformKind::Ship ? shipIndex : nullptr;
}

int viewerReleases = 0;
void CountViewerRelease() { ++viewerReleases; }

class PlatformLists : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tree.root.empty());
        dir = tree.root + "/";
    }
    void TearDown() override
    {
        Annex::FreePlatformLists();
        Annex::SetSensorIndexLookup(nullptr);
        delete shipIndex;
        shipIndex = nullptr;
        for (ShipAnnex* s : ships)
            delete s;
    }

    // Writes ship.dat from the ships made so far, in their order, and
    // indexes their sensors.
    void WriteShips()
    {
        std::vector<const ShipAnnex*> records(ships.begin(), ships.end());
        tree.File("ship.dat", FileOf(records));
        for (const ShipAnnex* s : ships)
            IndexRecordKeys(shipIndex, s->sensors, s->GetKey());
        Annex::SetSensorIndexLookup(&LookUpIndex);
    }

    Entries Filter(std::vector<uint16_t> sensorIDs)
    {
        IDList sensors;
        for (uint16_t s : sensorIDs)
            sensors.Insert(new IDNode(s));
        Chain<StringNode>* out = nullptr;
        EXPECT_FALSE(Annex::ShipsWithSensors(sensors, out));
        if (out == nullptr)
            return {{"<no chain>", -1}};
        Entries entries = Read(*out);
        delete out;
        return entries;
    }

    TempTree tree;
    std::string dir;
    std::vector<ShipAnnex*> ships;
    ReportCapture reports;
};

}  // namespace

TEST_F(PlatformLists, EntryTextsFollowFileOrder)
{
    ships = {Ship(7, "Kestrel", "DDG"), Ship(0, "Nameless", "XX"), Ship(3, "Tern", ""),
             Ship(5, "", "FFG")};
    WriteShips();

    SubAnnex sub(4);
    SetNames(sub, "Grayling", "SSK");
    tree.File("sub.dat", FileOf<SubAnnex>({&sub}));
    PlaneAnnex plane(9);
    SetNames(plane, "Skua", "MPA");
    tree.File("plane.dat", FileOf<PlaneAnnex>({&plane}));
    FacilityAnnex facility(2);
    facility.name.Set("North Airfield");
    tree.File("facility.dat", FileOf<FacilityAnnex>({&facility}));
    WeaponAnnex weapon(11);
    SetNames(weapon, "Harrow", "SAM");
    tree.File("weapon.dat", FileOf<WeaponAnnex>({&weapon}));

    Annex::LoadPlatformLists(dir);

    // File order, not key order; ID 0 gets no entry; an empty second name
    // gives the first name alone, without a leading blank.
    EXPECT_EQ(Copy(Annex::GetShipButtonList),
              (Entries{{"DDG Kestrel", 7}, {"Tern", 3}, {"FFG ", 5}}));
    EXPECT_EQ(Copy(Annex::GetSubButtonList), (Entries{{"SSK Grayling", 4}}));
    EXPECT_EQ(Copy(Annex::GetPlaneButtonList), (Entries{{"MPA Skua", 9}}));
    EXPECT_EQ(Copy(Annex::GetFacilityButtonList), (Entries{{"North Airfield", 2}}));
    EXPECT_EQ(Copy(Annex::GetWeaponButtonList), (Entries{{"SAM Harrow", 11}}));
    EXPECT_TRUE(reports.fatals.empty());
}

TEST_F(PlatformLists, LongestNamesFitTheEntry)
{
    const std::string first(31, 'f');
    const std::string second(31, 's');
    ships = {Ship(1, first.c_str(), second.c_str())};
    WriteShips();
    Annex::LoadPlatformLists(dir);

    Chain<StringNode> out;
    Annex::GetShipButtonList(out);
    ASSERT_NE(out.First(), nullptr);
    EXPECT_EQ(std::string(out.First()->GetText()), second + " " + first);
    EXPECT_EQ(out.First()->GetBufferSize(), Annex::PLATFORM_TEXT_SIZE);
}

TEST_F(PlatformLists, GettersAppendCopies)
{
    ships = {Ship(1, "Kestrel", "DDG")};
    WriteShips();
    Annex::LoadPlatformLists(dir);

    Chain<StringNode> out;
    out.Append(new StringNode("already here", 99));
    Annex::GetShipButtonList(out);
    Annex::GetShipButtonList(out);
    EXPECT_EQ(Read(out), (Entries{{"already here", 99}, {"DDG Kestrel", 1}, {"DDG Kestrel", 1}}));

    // The copies are the caller's: freeing the lists leaves them intact.
    Annex::FreePlatformLists();
    EXPECT_EQ(Read(out).back(), (Entries::value_type{"DDG Kestrel", 1}));
}

TEST_F(PlatformLists, BuiltFromTheAnnexDirSetting)
{
    ships = {Ship(7, "Kestrel", "DDG")};
    WriteShips();
    const std::string before = Annex::GetAnnexDir();
    Annex::SetAnnexDir(dir);
    Annex::LoadPlatformLists();
    Annex::SetAnnexDir(before);
    EXPECT_EQ(Copy(Annex::GetShipButtonList), (Entries{{"DDG Kestrel", 7}}));
}

TEST_F(PlatformLists, MissingFilesGiveEmptyListsSilently)
{
    Annex::LoadPlatformLists(dir + "nowhere/");
    for (auto kind : {Annex::PlatformKind::Ship, Annex::PlatformKind::Sub, Annex::PlatformKind::Plane,
                      Annex::PlatformKind::Facility, Annex::PlatformKind::Weapon})
        EXPECT_TRUE(Annex::HasPlatformList(kind));
    EXPECT_TRUE(Copy(Annex::GetShipButtonList).empty());
    EXPECT_TRUE(Copy(Annex::GetWeaponButtonList).empty());
    EXPECT_TRUE(reports.errors.empty());
    EXPECT_TRUE(reports.fatals.empty());
}

TEST_F(PlatformLists, GetterWithoutAListIsFatal)
{
    struct Row { void (*getter)(Chain<StringNode>&); const char* text; };
    const Row rows[] = {
        {Annex::GetShipButtonList, "Ship Button list is NULL"},
        {Annex::GetSubButtonList, "Sub Button list is NULL"},
        {Annex::GetPlaneButtonList, "Plane Button list is NULL"},
        {Annex::GetFacilityButtonList, "Facility Button list is NULL"},
        {Annex::GetWeaponButtonList, "Weapon Button list is NULL"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        reports.Clear();
        Chain<StringNode> out;
        out.Append(new StringNode("kept", 1));
        r.getter(out);
        ASSERT_EQ(reports.fatals.size(), 1u);
        EXPECT_EQ(reports.fatals[0], r.text);
        EXPECT_EQ(Read(out), (Entries{{"kept", 1}}));
    }
}

TEST_F(PlatformLists, FreeReleasesListsAndViewerTables)
{
    viewerReleases = 0;
    const Annex::ViewerTablesRelease previous = Annex::SetViewerTablesRelease(&CountViewerRelease);
    Annex::LoadPlatformLists(dir);
    EXPECT_EQ(viewerReleases, 1);   // a rebuild frees what stood before
    Annex::FreePlatformLists();
    EXPECT_EQ(viewerReleases, 2);
    EXPECT_FALSE(Annex::HasPlatformList(Annex::PlatformKind::Facility));
    Annex::SetViewerTablesRelease(previous);
}

TEST_F(PlatformLists, SensorFilters)
{
    ships = {Ship(10, "Alpha", "DD", {1, 2}), Ship(20, "Bravo", "FF", {1}),
             Ship(30, "Charlie", "CG", {2, 3, 2}), Ship(40, "Delta", "DD", {1, 2, 3})};
    WriteShips();
    Annex::LoadPlatformLists(dir);

    struct Row { std::vector<uint16_t> sensors; Entries expected; };
    const Row rows[] = {
        {{1, 2}, {{"DD Alpha", 10}, {"DD Delta", 40}}},
        {{1}, {{"DD Alpha", 10}, {"FF Bravo", 20}, {"DD Delta", 40}}},
        {{2}, {{"DD Alpha", 10}, {"CG Charlie", 30}, {"DD Delta", 40}}},   // Charlie once
        {{1, 3}, {{"DD Delta", 40}}},
        {{1, 9}, {}},   // a sensor no ship carries
        {{9, 1}, {}},
        {{}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.sensors.size() << " sensors");
        EXPECT_EQ(Filter(r.sensors), r.expected);
    }
}

TEST_F(PlatformLists, FilterEmptiesAGivenChainAndCopesWithoutIndexOrList)
{
    ships = {Ship(10, "Alpha", "DD", {1})};
    WriteShips();
    Annex::LoadPlatformLists(dir);

    IDList sensors;
    sensors.Insert(new IDNode(1));
    Chain<StringNode> held;
    held.Append(new StringNode("old", 5));
    Chain<StringNode>* out = &held;
    Annex::ShipsWithSensors(sensors, out);
    EXPECT_EQ(out, &held);
    EXPECT_EQ(Read(held), (Entries{{"DD Alpha", 10}}));

    // Subs have no index installed, planes no list built below.
    Chain<StringNode>* none = nullptr;
    Annex::SubsWithSensors(sensors, none);
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->First(), nullptr);
    delete none;

    none = nullptr;
    EXPECT_FALSE(Annex::PlatformsWithSensors(nullptr, shipIndex, sensors, none));
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->First(), nullptr);
    delete none;
}

TEST_F(PlatformLists, VersionZeroFileReadsWithWarning)
{
    ShipAnnex ship(1);
    SetNames(ship, "Kestrel", "DDG");
    tree.File("ship.dat", FileOf<ShipAnnex>({&ship}, 0, false));
    Annex::LoadPlatformLists(dir);
    EXPECT_EQ(Copy(Annex::GetShipButtonList), (Entries{{"DDG Kestrel", 1}}));
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], ANNEX_TEXT_OLDER);
}

TEST_F(PlatformLists, LaterVersionStopsThatFile)
{
    ShipAnnex ship(1);
    SetNames(ship, "Kestrel", "DDG");
    tree.File("ship.dat", FileOf<ShipAnnex>({&ship}, 2));
    SubAnnex sub(4);
    SetNames(sub, "Grayling", "SSK");
    tree.File("sub.dat", FileOf<SubAnnex>({&sub}));
    Annex::LoadPlatformLists(dir);
    EXPECT_TRUE(Copy(Annex::GetShipButtonList).empty());
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], ANNEX_TEXT_LATER);
}

TEST_F(PlatformLists, DamagedFilesKeepOnlyWholeRecords)
{
    ShipAnnex first(1);
    SetNames(first, "Kestrel", "DDG");
    ShipAnnex second(2);
    SetNames(second, "Tern", "FFG");
    const std::string whole = FileOf<ShipAnnex>({&first, &second});

    // Cut inside the second record: the first stays while the bytes left
    // could still hold two records; shorter, the count itself is refused.
    // Either way one report.
    const size_t header = 6;
    const size_t firstEnd = FileOf<ShipAnnex>({&first}).size();
    ASSERT_LT(header + 2 * ShipAnnex::MIN_FILE_BYTES, whole.size());
    for (size_t cut = firstEnd; cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        reports.Clear();
        tree.File("ship.dat", whole.substr(0, cut));
        Annex::LoadPlatformLists(dir);
        const bool countFits = cut >= header + 2 * ShipAnnex::MIN_FILE_BYTES;
        const Entries expected = countFits ? Entries{{"DDG Kestrel", 1}} : Entries{};
        EXPECT_EQ(Copy(Annex::GetShipButtonList), expected);
        EXPECT_EQ(reports.errors.size(), 1u);
    }

    // A count the bytes cannot hold reads nothing.
    std::string inflated = whole;
    inflated[4] = static_cast<char>(0xFF);
    inflated[5] = static_cast<char>(0x7F);
    tree.File("ship.dat", inflated);
    reports.Clear();
    Annex::LoadPlatformLists(dir);
    EXPECT_TRUE(Copy(Annex::GetShipButtonList).empty());
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_NE(reports.errors[0].find("ship.dat"), std::string::npos);

    // Every cut of the whole file reads without harm.
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        tree.File("ship.dat", whole.substr(0, cut));
        Annex::LoadPlatformLists(dir);
    }
}
