// AnnexTablesTest.cpp: the scenario's annex tables: the keep rule of the
// reference lists (warhead whole), the lists' saved form, the sensor indexes
// filled from every platform record read, a missing or later-version file,
// damaged files, the derived-figure pass and the teardown.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "annex/AnnexTables.h"
#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "support/AnnexImage.h"
#include "support/ReportCapture.h"
#include "support/TempTree.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"
#include "world/ui2map.h"

namespace {

using R = Annex::ReferenceList;
using IDs = std::vector<uint16_t>;

IDs KeysOf(const TreeList& list)
{
    IDs keys;
    for (const TreeListBase* node = list.First(); node; node = node->GetNext())
        keys.push_back(node->GetKey());
    return keys;
}

// The bytes of an annex file holding the records in the order given.
template <class T>
std::string FileOf(const std::vector<const T*>& records, uint32_t version = ANNEX_VERSION)
{
    std::ostringstream out;
    SaveField(out, version);
    SaveField(out, static_cast<uint16_t>(records.size()));
    for (const T* r : records)
        r->Save(out, version);
    return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// An annex file of plain records with these IDs.
template <class T>
void WriteIDs(const std::string& path, const IDs& ids)
{
    std::vector<std::unique_ptr<T>> records;
    std::vector<const T*> view;
    for (uint16_t id : ids) {
        records.push_back(std::make_unique<T>(id));
        view.push_back(records.back().get());
    }
    WriteFile(path, FileOf(view));
}

// The keys of one of the scenario's tables; {0xDEAD} when it does not exist.
template <class T, AnnexTable<T>* (AnnexTables::*Get)() const>
IDs KeptIn()
{
    const AnnexTable<T>* table = (Annex::Tables().*Get)();
    return table ? KeysOf(*table) : IDs{0xDEAD};
}

void NameIDs(R list, const IDs& ids)
{
    for (uint16_t id : ids)
        Annex::GetReferenceList(list).Insert(new IDNode(id));
}

// One annex file: its reference list, a writer of plain records and the keys
// its table holds after the load. In the order the files are loaded.
struct FileRow {
    const char* file;
    R list;
    void (*write)(const std::string& path, const IDs& ids);
    IDs (*kept)();
};

const FileRow FILES[ANNEX_FILE_COUNT] = {
    {ANNEX_AIRFACIL, R::AirFacility, &WriteIDs<AirFacilityAnnex>, &KeptIn<AirFacilityAnnex, &AnnexTables::AirFacilities>},
    {ANNEX_COMM, R::Comm, &WriteIDs<CommAnnex>, &KeptIn<CommAnnex, &AnnexTables::Comms>},
    {ANNEX_FACILITY, R::Facility, &WriteIDs<FacilityAnnex>, &KeptIn<FacilityAnnex, &AnnexTables::Facilities>},
    {ANNEX_FUEL, R::Fuel, &WriteIDs<FuelAnnex>, &KeptIn<FuelAnnex, &AnnexTables::Fuels>},
    {ANNEX_INSTALLA, R::Installation, &WriteIDs<InstallationAnnex>, &KeptIn<InstallationAnnex, &AnnexTables::Installations>},
    {ANNEX_LOADOUT, R::Loadout, &WriteIDs<LoadoutAnnex>, &KeptIn<LoadoutAnnex, &AnnexTables::Loadouts>},
    {ANNEX_MOUNT, R::Mount, &WriteIDs<MountAnnex>, &KeptIn<MountAnnex, &AnnexTables::Mounts>},
    {ANNEX_MAGAZINE, R::Magazine, &WriteIDs<MountAnnex>, &KeptIn<MountAnnex, &AnnexTables::Magazines>},
    {ANNEX_PLANE, R::Plane, &WriteIDs<PlaneAnnex>, &KeptIn<PlaneAnnex, &AnnexTables::Planes>},
    {ANNEX_PROPULS, R::Propulsion, &WriteIDs<PropulsionAnnex>, &KeptIn<PropulsionAnnex, &AnnexTables::Propulsions>},
    {ANNEX_SENSOR, R::Sensor, &WriteIDs<SensorAnnex>, &KeptIn<SensorAnnex, &AnnexTables::Sensors>},
    {ANNEX_SHIP, R::Ship, &WriteIDs<ShipAnnex>, &KeptIn<ShipAnnex, &AnnexTables::Ships>},
    {ANNEX_SUB, R::Sub, &WriteIDs<SubAnnex>, &KeptIn<SubAnnex, &AnnexTables::Subs>},
    {ANNEX_WEAPON, R::Weapon, &WriteIDs<WeaponAnnex>, &KeptIn<WeaponAnnex, &AnnexTables::Weapons>},
    {ANNEX_WEAPREC, R::WeaponRec, &WriteIDs<WeaponRec>, &KeptIn<WeaponRec, &AnnexTables::WeaponRecs>},
    {ANNEX_WARHEAD, R::Warhead, &WriteIDs<WarheadAnnex>, &KeptIn<WarheadAnnex, &AnnexTables::Warheads>},
};

// The IDs file i of the standard set holds: three per file, distinct across
// files, so that a table filled from the wrong list or file keeps nothing.
IDs StandardIDs(int i)
{
    const uint16_t base = static_cast<uint16_t>(10 * (i + 1));
    return {static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 3)};
}

// A platform record of kind T with these sensors (in this order, repeats kept).
template <class T, IDRecordList T::*Sensors>
void WritePlatforms(const std::string& path, const std::vector<std::pair<uint16_t, IDs>>& platforms)
{
    std::vector<std::unique_ptr<T>> records;
    std::vector<const T*> view;
    for (const auto& [id, sensors] : platforms) {
        records.push_back(std::make_unique<T>(id));
        for (uint16_t s : sensors)
            (records.back().get()->*Sensors).Insert(new IDRecord(s, 0xFF));
        view.push_back(records.back().get());
    }
    WriteFile(path, FileOf(view));
}

// The contents of a sensor index: sensor -> platform IDs.
std::map<uint16_t, IDs> IndexContents(const RecordList* index)
{
    std::map<uint16_t, IDs> contents;
    if (index)
        for (const IDListNode* entry = index->First(); entry; entry = entry->GetNext())
            contents[entry->GetKey()] = KeysOf(entry->GetIDList());
    return contents;
}

// The sample resource texts installed as TheResourceLoader while it lives.
class SampleTexts {
public:
    SampleTexts()
    {
        tree.File("tessarn3.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + std::string(TESSARN_DATA_DIR)
                                      + "/RESOURCE\n");
        ConfigurationFileIO ini((tree.root + "/tessarn3.ini").c_str());
        loader = std::make_unique<ResourceLoader>(ini);
        previous = TheResourceLoader;
        TheResourceLoader = loader.get();
    }
    ~SampleTexts() { TheResourceLoader = previous; }

private:
    TempTree tree;
    std::unique_ptr<ResourceLoader> loader;
    ResourceLoader* previous = nullptr;
};

// A small map with a bounding rectangle, installed as gMap while it lives.
class MapWithBounds {
public:
    MapWithBounds()
    {
        maptest::SectionPlan plan;
        plan.area = LatLonRect(maptest::Deg(11), maptest::Deg(20), maptest::Deg(9), maptest::Deg(22));
        plan.tiles = {{11, 20}};
        plan.FillCells(-800);
        EXPECT_TRUE(files.Write(plan, {{{11, 20}, maptest::Square(10.25, 20.25, 10.75, 20.75)}}));
        map = maptest::LoadMap(maptest::SectionBytes(plan), files.Directory());
        previous = gMap;
        gMap = map.get();
    }
    ~MapWithBounds() { gMap = previous; }

private:
    maptest::MapFiles files;
    std::unique_ptr<Map> map;
    Map* previous = nullptr;
};

class AnnexTablesTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tree.root.empty());
        dir = tree.root + "/";
        Annex::FreeScenarioAnnex();
        for (int i = 0; i < ANNEX_FILE_COUNT; ++i)
            FILES[i].write(Path(FILES[i].file), {});
    }
    void TearDown() override
    {
        Annex::FreeScenarioAnnex();
        Annex::SetDerivedFigureHooks({});
        Annex::SetSensorIndexLookup(nullptr);
        Annex::SetViewerTablesRelease(nullptr);
        SetAnnexVersion(ANNEX_VERSION);
        SetAnnexLoading(false);
        WeaponRec::SetOlderSavedLayout(false);
    }

    std::string Path(const char* file) const { return dir + file; }

    void WriteStandardSet()
    {
        for (int i = 0; i < ANNEX_FILE_COUNT; ++i)
            FILES[i].write(Path(FILES[i].file), StandardIDs(i));
    }

    TempTree tree;
    std::string dir;
    ReportCapture reports;
};

}  // namespace

TEST_F(AnnexTablesTest, KeepsTheNamedRecordsAndTheWholeWarheadFile)
{
    WriteStandardSet();
    for (int i = 0; i < ANNEX_FILE_COUNT; ++i) {
        const uint16_t named = StandardIDs(i)[1];
        NameIDs(FILES[i].list, {named, static_cast<uint16_t>(named + 7)});   // the second is in no file
    }
    EXPECT_TRUE(Annex::LoadDatabase(dir));
    EXPECT_TRUE(reports.fatals.empty());
    EXPECT_TRUE(reports.errors.empty());
    EXPECT_FALSE(IsAnnexLoading());

    for (int i = 0; i < ANNEX_FILE_COUNT; ++i) {
        SCOPED_TRACE(FILES[i].file);
        if (FILES[i].list == R::Warhead)
            EXPECT_EQ(FILES[i].kept(), StandardIDs(i));   // whatever its list says
        else
            EXPECT_EQ(FILES[i].kept(), IDs{StandardIDs(i)[1]});
    }
    // After the whole load the warhead table's last key issued is its highest.
    EXPECT_EQ(Annex::Tables().Warheads()->GetLastKey(), StandardIDs(15)[2]);
}

TEST_F(AnnexTablesTest, EmptyReferenceListsKeepNothingButWarheads)
{
    WriteStandardSet();
    EXPECT_TRUE(Annex::LoadDatabase(dir));
    for (int i = 0; i < ANNEX_FILE_COUNT; ++i) {
        SCOPED_TRACE(FILES[i].file);
        EXPECT_EQ(FILES[i].kept(), FILES[i].list == R::Warhead ? StandardIDs(i) : IDs{});
    }
}

TEST_F(AnnexTablesTest, LoadUsesTheAnnexDirSetting)
{
    WriteStandardSet();
    NameIDs(R::Sensor, {StandardIDs(10)[0]});
    const std::string previous = Annex::GetAnnexDir();
    EXPECT_EQ(previous, ".\\");
    Annex::SetAnnexDir(dir);
    EXPECT_TRUE(Annex::LoadDatabase());
    Annex::SetAnnexDir(previous);
    EXPECT_EQ(KeysOf(*Annex::Tables().Sensors()), IDs{StandardIDs(10)[0]});
}

TEST_F(AnnexTablesTest, ReferenceListsSaveInArenaOrder)
{
    // List i names i + 1 and 100 + i; magazine (6) stands before mount (7).
    for (int i = 0; i < Annex::REFERENCE_LIST_COUNT; ++i)
        NameIDs(static_cast<R>(i), {static_cast<uint16_t>(100 + i), static_cast<uint16_t>(i + 1)});
    std::ostringstream out;
    ASSERT_TRUE(Annex::SaveReferenceLists(out));
    AnnexImage expected;
    for (int i = 0; i < Annex::REFERENCE_LIST_COUNT; ++i)
        expected.IDs({static_cast<uint16_t>(i + 1), static_cast<uint16_t>(100 + i)});
    EXPECT_EQ(out.str(), expected.Str());
    EXPECT_EQ(out.str().substr(6 * 6, 6), AnnexImage().IDs({7, 106}).Str());   // magazine

    // Loading empties what the lists held first.
    NameIDs(R::Sub, {999});
    std::istringstream in(out.str());
    ASSERT_TRUE(Annex::LoadReferenceLists(in));
    for (int i = 0; i < Annex::REFERENCE_LIST_COUNT; ++i)
        EXPECT_EQ(KeysOf(Annex::GetReferenceList(static_cast<R>(i))),
                  (IDs{static_cast<uint16_t>(i + 1), static_cast<uint16_t>(100 + i)}));
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());

    Annex::ClearReferenceLists();
    for (int i = 0; i < Annex::REFERENCE_LIST_COUNT; ++i)
        EXPECT_EQ(Annex::GetReferenceList(static_cast<R>(i)).First(), nullptr);
}

TEST_F(AnnexTablesTest, ReferenceListsCutShortAreRefusedWhole)
{
    for (int i = 0; i < Annex::REFERENCE_LIST_COUNT; ++i)
        NameIDs(static_cast<R>(i), {static_cast<uint16_t>(i + 1)});
    std::ostringstream out;
    ASSERT_TRUE(Annex::SaveReferenceLists(out));
    const std::string bytes = out.str();
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at " << cut);
        NameIDs(R::Ship, {500});
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(Annex::LoadReferenceLists(in));
        EXPECT_TRUE(in.fail());
        for (int i = 0; i < Annex::REFERENCE_LIST_COUNT; ++i)
            EXPECT_EQ(Annex::GetReferenceList(static_cast<R>(i)).First(), nullptr);
    }
    // A count past the end reads what is there, then fails: nothing kept.
    std::istringstream in(AnnexImage().U16(0xFFFF).U16(3).Str());
    EXPECT_FALSE(Annex::LoadReferenceLists(in));
    EXPECT_EQ(Annex::GetReferenceList(R::AirFacility).First(), nullptr);
}

TEST_F(AnnexTablesTest, SensorIndexesSeeEveryPlatformRecord)
{
    // Platform 2 alone is named; 2 lists sensor 7 twice; 3 carries nothing
    // that 1 carries.
    const std::vector<std::pair<uint16_t, IDs>> platforms = {
        {1, {5, 7}}, {2, {7, 7}}, {3, {9}}, {4, {}}};
    const std::map<uint16_t, IDs> index = {{5, {1}}, {7, {1, 2}}, {9, {3}}};
    struct Row {
        const char* file;
        R list;
        Annex::PlatformKind kind;
        void (*write)(const std::string&, const std::vector<std::pair<uint16_t, IDs>>&);
        IDs (*kept)();
    };
    const Row rows[] = {
        {ANNEX_FACILITY, R::Facility, Annex::PlatformKind::Facility,
         &WritePlatforms<FacilityAnnex, &FacilityAnnex::sensors>, &KeptIn<FacilityAnnex, &AnnexTables::Facilities>},
        {ANNEX_PLANE, R::Plane, Annex::PlatformKind::Plane,
         &WritePlatforms<PlaneAnnex, &PlaneAnnex::sensorIDs>, &KeptIn<PlaneAnnex, &AnnexTables::Planes>},
        {ANNEX_SUB, R::Sub, Annex::PlatformKind::Sub,
         &WritePlatforms<SubAnnex, &SubAnnex::sensors>, &KeptIn<SubAnnex, &AnnexTables::Subs>},
        {ANNEX_SHIP, R::Ship, Annex::PlatformKind::Ship,
         &WritePlatforms<ShipAnnex, &ShipAnnex::sensors>, &KeptIn<ShipAnnex, &AnnexTables::Ships>},
    };
    for (const Row& r : rows) {
        r.write(Path(r.file), platforms);
        NameIDs(r.list, {2});
    }
    // Sensor records named by no list: the sensor file plays no part here.
    WriteIDs<SensorAnnex>(Path(ANNEX_SENSOR), {5, 7, 9});

    ASSERT_TRUE(Annex::LoadDatabase(dir));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        EXPECT_EQ(r.kept(), IDs{2});
        EXPECT_EQ(IndexContents(Annex::GetSensorIndex(r.kind)), index);
    }
    EXPECT_EQ(Annex::GetSensorIndex(Annex::PlatformKind::Weapon), nullptr);

    // The platform list filters find the indexes through the lookup the load
    // installed: sensors 5 and 7 together only on ship 1.
    Annex::LoadPlatformLists(dir);
    IDList sensors;
    sensors.Insert(new IDNode(5));
    sensors.Insert(new IDNode(7));
    Chain<StringNode>* out = nullptr;
    Annex::ShipsWithSensors(sensors, out);
    ASSERT_NE(out, nullptr);
    ASSERT_NE(out->First(), nullptr);
    EXPECT_EQ(out->First()->GetValue(), 1);
    EXPECT_EQ(out->First()->GetNext(), nullptr);
    delete out;
}

TEST_F(AnnexTablesTest, ASecondLoadRebuildsTheIndexes)
{
    WritePlatforms<ShipAnnex, &ShipAnnex::sensors>(Path(ANNEX_SHIP), {{1, {5}}});
    ASSERT_TRUE(Annex::LoadDatabase(dir));
    WritePlatforms<ShipAnnex, &ShipAnnex::sensors>(Path(ANNEX_SHIP), {{2, {6}}});
    NameIDs(R::Ship, {2});
    ASSERT_TRUE(Annex::LoadDatabase(dir));
    EXPECT_EQ(IndexContents(Annex::GetSensorIndex(Annex::PlatformKind::Ship)),
              (std::map<uint16_t, IDs>{{6, {2}}}));
    EXPECT_EQ(KeysOf(*Annex::Tables().Ships()), IDs{2});
}

TEST_F(AnnexTablesTest, MissingFileIsFatalAndStopsTheLoad)
{
    struct Row {
        const char* what;
        bool withTexts;
    };
    for (const Row& r : {Row{"without resource texts", false}, Row{"with the sample texts", true}}) {
        SCOPED_TRACE(r.what);
        std::unique_ptr<SampleTexts> texts;
        std::string expected = "Cannot open the annex file " + Path(ANNEX_PLANE);
        if (r.withTexts) {
            texts = std::make_unique<SampleTexts>();
            const char* text = TheResourceLoader->Get(ANNEX_OPEN_FAILED_TEXT);
            ASSERT_NE(text, nullptr);
            expected = text;
            TheResourceLoader->Free(ANNEX_OPEN_FAILED_TEXT);
            EXPECT_FALSE(expected.empty());
        }
        reports.Clear();
        WriteStandardSet();
        std::remove(Path(ANNEX_PLANE).c_str());
        for (int i = 0; i < ANNEX_FILE_COUNT; ++i)
            NameIDs(FILES[i].list, StandardIDs(i));
        int hookCalls = 0;
        static int* calls = nullptr;
        calls = &hookCalls;
        Annex::SetDerivedFigureHooks({[](WeaponAnnex&) { ++*calls; }, nullptr, nullptr});
        MapWithBounds map;

        EXPECT_FALSE(Annex::LoadDatabase(dir));
        ASSERT_EQ(reports.fatals.size(), 1u);
        EXPECT_EQ(reports.fatals[0], expected);
        EXPECT_FALSE(IsAnnexLoading());
        EXPECT_EQ(hookCalls, 0);   // no derived figures after a stopped load
        // The files before plane.dat stay loaded; the tables after it are empty.
        for (int i = 0; i < ANNEX_FILE_COUNT; ++i) {
            SCOPED_TRACE(FILES[i].file);
            EXPECT_EQ(FILES[i].kept(), i < 8 ? StandardIDs(i) : IDs{});
        }
        Annex::FreeScenarioAnnex();
    }
}

TEST_F(AnnexTablesTest, VersionRulePerFile)
{
    WriteStandardSet();
    for (int i = 0; i < ANNEX_FILE_COUNT; ++i)
        NameIDs(FILES[i].list, StandardIDs(i));

    // A version-0 comm.dat warns and loads; the files after it are read by
    // their own version.
    const CommAnnex comm(21);
    WriteFile(Path(ANNEX_COMM), FileOf<CommAnnex>({&comm}, 0));
    EXPECT_TRUE(Annex::LoadDatabase(dir));
    EXPECT_EQ(reports.errors, std::vector<std::string>{ANNEX_TEXT_OLDER});
    EXPECT_EQ(KeysOf(*Annex::Tables().Comms()), IDs{21});
    EXPECT_EQ(KeysOf(*Annex::Tables().Warheads()), StandardIDs(15));

    // A version-2 sensor.dat is fatal: the load stops there.
    reports.Clear();
    WriteFile(Path(ANNEX_SENSOR), AnnexImage().U32(2).U16(0).Str());
    EXPECT_FALSE(Annex::LoadDatabase(dir));
    EXPECT_EQ(reports.fatals, std::vector<std::string>{ANNEX_TEXT_LATER});
    EXPECT_EQ(KeysOf(*Annex::Tables().Propulsions()), IDs{StandardIDs(9)});
    EXPECT_EQ(KeysOf(*Annex::Tables().Sensors()), IDs{});
    EXPECT_EQ(KeysOf(*Annex::Tables().Warheads()), IDs{});
    EXPECT_FALSE(IsAnnexLoading());
}

TEST_F(AnnexTablesTest, DamagedFileKeepsWholeRecordsAndTheLoadGoesOn)
{
    WriteStandardSet();
    for (int i = 0; i < ANNEX_FILE_COUNT; ++i)
        NameIDs(FILES[i].list, StandardIDs(i));
    // comm.dat cut inside its second record; fuel.dat counting more records
    // than its bytes can hold; installa.dat too short for a count.
    CommAnnex c1(21), c2(22);
    c1.name.Set("Long range radio of the fleet");
    c2.name.Set("Short range radio of the fleet");
    const std::string comm = FileOf<CommAnnex>({&c1, &c2});
    WriteFile(Path(ANNEX_COMM), comm.substr(0, comm.size() - 10));
    FuelAnnex f1(41), f2(42);
    const std::string fuel = FileOf<FuelAnnex>({&f1, &f2});
    WriteFile(Path(ANNEX_FUEL), fuel.substr(0, fuel.size() - 3));
    WriteFile(Path(ANNEX_INSTALLA), std::string(1, '\0'));

    EXPECT_FALSE(Annex::LoadDatabase(dir));
    EXPECT_TRUE(reports.fatals.empty());
    EXPECT_EQ(reports.errors.size(), 3u);
    EXPECT_EQ(KeysOf(*Annex::Tables().Comms()), IDs{21});
    EXPECT_EQ(KeysOf(*Annex::Tables().Fuels()), IDs{});
    EXPECT_EQ(KeysOf(*Annex::Tables().Installations()), IDs{});
    EXPECT_EQ(KeysOf(*Annex::Tables().Loadouts()), StandardIDs(5));
    EXPECT_EQ(KeysOf(*Annex::Tables().Warheads()), StandardIDs(15));
}

TEST_F(AnnexTablesTest, WeaponRecordsReadByTheAnnexVersionWhileLoading)
{
    // Saved games of the older layout hold no last value, but the annex file
    // decides while the tables load: version 1 has it, version 0 not.
    WeaponRec::SetOlderSavedLayout(true);
    WeaponRec rec(7);
    rec.weaponID = 3;
    rec.lastValue = 0x01020304;
    WeaponRec next(8);
    next.weaponID = 4;
    NameIDs(R::WeaponRec, {7, 8});
    for (uint32_t version : {1u, 0u}) {
        SCOPED_TRACE(testing::Message() << "version " << version);
        WriteFile(Path(ANNEX_WEAPREC), FileOf<WeaponRec>({&rec, &next}, version));
        ASSERT_TRUE(Annex::LoadDatabase(dir));
        const AnnexTable<WeaponRec>& table = *Annex::Tables().WeaponRecs();
        ASSERT_EQ(KeysOf(table), (IDs{7, 8}));
        EXPECT_EQ(table.Find(7)->lastValue, version ? 0x01020304u : 0u);
        EXPECT_EQ(table.Find(8)->weaponID, 4);
    }
}

TEST_F(AnnexTablesTest, DerivedFiguresOnlyWithMapBounds)
{
    static std::vector<std::string>* log = nullptr;
    std::vector<std::string> calls;
    log = &calls;
    Annex::SetDerivedFigureHooks({
        [](WeaponAnnex& w) { log->push_back("weapon " + std::to_string(w.GetKey())); w.cruiseSpeed = 400; },
        [](PlaneAnnex& p, uint16_t loadout) -> uint16_t {
            log->push_back("range " + std::to_string(p.GetKey()) + "/" + std::to_string(loadout));
            return static_cast<uint16_t>(100 * p.GetKey() + loadout);
        },
        [](PlaneAnnex& p) { log->push_back("table " + std::to_string(p.GetKey())); p.perfSpeed[0] = 300; },
    });
    WriteIDs<WeaponAnnex>(Path(ANNEX_WEAPON), {4, 2});
    PlaneAnnex p1(1), p3(3);
    p3.loadouts.Insert(new NavIDNode(9, 0));
    p3.loadouts.Insert(new NavIDNode(5, 0));
    WriteFile(Path(ANNEX_PLANE), FileOf<PlaneAnnex>({&p3, &p1}));
    NameIDs(R::Weapon, {2, 4});
    NameIDs(R::Plane, {1, 3});

    // No map: nothing is worked out.
    ASSERT_FALSE(ui2map::HasMapBounds());
    ASSERT_TRUE(Annex::LoadDatabase(dir));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(Annex::Tables().Weapons()->Find(2)->cruiseSpeed, 0);
    EXPECT_EQ(Annex::Tables().Planes()->Find(3)->usableRange, 0);
    EXPECT_EQ(Annex::Tables().Planes()->Find(3)->loadouts.Find(9)->GetValue(), 0);

    // With a map: weapons, then planes, each in key order, while loading.
    MapWithBounds map;
    ASSERT_TRUE(ui2map::HasMapBounds());
    ASSERT_TRUE(Annex::LoadDatabase(dir));
    EXPECT_EQ(calls, (std::vector<std::string>{"weapon 2", "weapon 4", "range 1/0", "table 1", "range 3/0",
                                               "range 3/5", "range 3/9", "table 3"}));
    const PlaneAnnex& plane = *Annex::Tables().Planes()->Find(3);
    EXPECT_EQ(plane.usableRange, 300);
    EXPECT_EQ(plane.loadouts.Find(5)->GetValue(), 305);
    EXPECT_EQ(plane.loadouts.Find(9)->GetValue(), 309);
    EXPECT_EQ(plane.perfSpeed[0], 300);
    EXPECT_EQ(Annex::Tables().Weapons()->Find(4)->cruiseSpeed, 400);
}

TEST_F(AnnexTablesTest, TeardownLeavesNothing)
{
    static int releases = 0;
    WriteStandardSet();
    WritePlatforms<ShipAnnex, &ShipAnnex::sensors>(Path(ANNEX_SHIP), {{1, {5}}});
    WritePlatforms<SubAnnex, &SubAnnex::sensors>(Path(ANNEX_SUB), {{1, {5}}});
    WritePlatforms<PlaneAnnex, &PlaneAnnex::sensorIDs>(Path(ANNEX_PLANE), {{1, {5}}});
    WritePlatforms<FacilityAnnex, &FacilityAnnex::sensors>(Path(ANNEX_FACILITY), {{1, {5}}});
    for (int i = 0; i < ANNEX_FILE_COUNT; ++i)
        NameIDs(FILES[i].list, {1});
    ASSERT_TRUE(Annex::LoadDatabase(dir));
    Annex::LoadPlatformLists(dir);
    releases = 0;
    Annex::SetViewerTablesRelease([] { ++releases; });
    ASSERT_TRUE(Annex::Tables().Exist());
    ASSERT_NE(Annex::GetSensorIndex(Annex::PlatformKind::Ship), nullptr);

    Annex::FreeScenarioAnnex();
    EXPECT_FALSE(Annex::Tables().Exist());
    for (int i = 0; i < ANNEX_FILE_COUNT; ++i) {
        SCOPED_TRACE(FILES[i].file);
        EXPECT_EQ(FILES[i].kept(), IDs{0xDEAD});   // no table
        EXPECT_EQ(Annex::GetReferenceList(FILES[i].list).First(), nullptr);
    }
    for (Annex::PlatformKind kind : {Annex::PlatformKind::Ship, Annex::PlatformKind::Sub,
                                     Annex::PlatformKind::Plane, Annex::PlatformKind::Facility,
                                     Annex::PlatformKind::Weapon}) {
        EXPECT_EQ(Annex::GetSensorIndex(kind), nullptr);
        EXPECT_FALSE(Annex::HasPlatformList(kind));
    }
    EXPECT_EQ(releases, 1);

    // A new Arena's ClearTablePointers leaves no table either, even over a load.
    ASSERT_TRUE(Annex::LoadDatabase(dir));
    Annex::ClearTablePointers();
    EXPECT_FALSE(Annex::Tables().Exist());
    EXPECT_TRUE(reports.fatals.empty());
}
