// MapTest.cpp: the scenario map: its map section (round trip, damaged and
// refused sections), the land, ice and altitude queries at the map's edges,
// the highest point of a leg and the crossing queries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/ConfigurationFileIO.h"
#include "core/NavMath.h"
#include "core/Projection.h"
#include "support/ReportCapture.h"
#include "support/TempTree.h"
#include "world/AltDepthGrid.h"
#include "world/Map.h"
#include "world/MapDir.h"
#include "world/MapTestSupport.h"
#include "world/MapTile.h"

using namespace maptest;

namespace {

constexpr int16_t SEA = -800;        // 100 units deep
constexpr int16_t SEA_ICE = -799;    // the same, with the ice-pack bit 1

// The island map: 9 to 11 degrees north, 20 to 22 degrees east (Miller), sea
// everywhere in the grid, an island square in cell (11, 20) and an ice-edge
// square in cell (11, 21):
//   island   10.25 .. 10.75 N, 20.25 .. 20.75 E
//   ice      10.25 .. 10.75 N, 21.25 .. 21.75 E
class IslandMap : public testing::Test {
protected:
    void SetUp() override
    {
        plan = SectionPlan();
        plan.area = LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22));
        plan.xy = XYRect(0, Deg(20), Deg(30), 0);   // already wider than every tile
        plan.projectionID = PROJECTION_MILLER;
        plan.icepackID = 1;
        plan.tiles = {{11, 20}, {11, 21}};
        plan.FillCells(SEA);
        ASSERT_TRUE(WriteFiles());
    }

    bool WriteFiles()
    {
        return files.Write(plan, {{{11, 20}, Square(10.25, 20.25, 10.75, 20.75)}}, {},
                           {{{11, 21}, Square(10.25, 21.25, 10.75, 21.75)}});
    }

    std::unique_ptr<Map> Load(bool* ok = nullptr) { return LoadMap(SectionBytes(plan), files.Directory(), ok); }

    SectionPlan plan;
    MapFiles files;
};

TEST_F(IslandMap, SectionRoundTripsByteForByte)
{
    const std::string bytes = SectionBytes(plan);
    bool loaded = false;
    auto map = LoadMap(bytes, files.Directory(), &loaded);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(Map::IsMapValid());
    EXPECT_STREQ(map->GetCoastFileName(), "TCOAST");
    EXPECT_STREQ(map->GetCountryFileName(), "TBORDER");
    EXPECT_STREQ(map->GetIceFileName(), "TICE");
    EXPECT_EQ(map->GetProjectionID(), PROJECTION_MILLER);
    EXPECT_EQ(map->GetTileCount(), 2);
    EXPECT_EQ(map->Get_LatLonRect(), plan.area);
    EXPECT_EQ(map->Get_XYRect(), plan.xy);

    bool saved = false;
    EXPECT_EQ(SaveMap(*map, &saved), bytes);
    EXPECT_TRUE(saved);
}

TEST_F(IslandMap, XYAreaIsWidenedToTheTiles)
{
    plan.xy = XYRect(Deg(20.5), Deg(10.5), Deg(20.6), Deg(10.4));
    bool loaded = false;
    auto map = Load(&loaded);
    ASSERT_TRUE(loaded);
    const XYRect xy = map->Get_XYRect();
    for (uint16_t i = 0; i < map->GetTileCount(); ++i) {
        const XYRect& tile = map->GetTile(i).GetXYRect();
        EXPECT_LE(xy.left, tile.left);
        EXPECT_GE(xy.right, tile.right);
        EXPECT_GE(xy.top, tile.top);
        EXPECT_LE(xy.bottom, tile.bottom);
    }
    EXPECT_EQ(xy.left, Deg(20));
    EXPECT_EQ(xy.right, Deg(22));

    // The widened area is what is saved, and it loads back unchanged.
    plan.xy = xy;
    EXPECT_EQ(SaveMap(*map), SectionBytes(plan));
}

TEST_F(IslandMap, EveryTruncationIsRefused)
{
    const std::string bytes = SectionBytes(plan);
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        ReportCapture reports;
        bool loaded = true;
        auto map = LoadMap(bytes.substr(0, length), files.Directory(), &loaded);
        EXPECT_FALSE(loaded);
        EXPECT_FALSE(Map::IsMapValid());
        EXPECT_EQ(map->Get_LatLonRect(), LatLonRect());
        EXPECT_EQ(map->Get_XYRect(), XYRect());
        EXPECT_EQ(reports.errors.size() + reports.fatals.size(), 1u);
    }
}

TEST_F(IslandMap, NameLengthsOutsideTheFieldAreRefused)
{
    struct Row {
        int which;                 // 0 coast, 1 country, 2 ice
        std::string name;
        bool loads;
        const char* message;       // the error box text when refused
    };
    const Row rows[] = {
        {0, "ABCDEFGH", true, ""},   // eight characters and the zero byte: L = 9
        {0, "ABCDEFGHI", false, "Map:Create_Map: Invalid Scenfile after coastfile. \nnamelength = 10\n"},
        {1, "ABCDEFGHIJKLMNOP", false, "Map:Create_Map: Invalid Scenfile after countryfile. \nnamelength = 17\n"},
        {2, "ABCDEFGHI", false, "Map:Create_Map: Invalid Scenfile after icefile. \nnamelength = 10\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SetUp();
        std::string* name = r.which == 0 ? &plan.coast : r.which == 1 ? &plan.country : &plan.ice;
        *name = r.name;
        ASSERT_TRUE(WriteFiles());
        ReportCapture reports;
        bool loaded = false;
        auto map = Load(&loaded);
        EXPECT_EQ(loaded, r.loads);
        if (r.loads) {
            EXPECT_STREQ(map->GetCoastFileName(), "ABCDEFGH");
            EXPECT_EQ(SaveMap(*map), SectionBytes(plan));
        } else {
            ASSERT_EQ(reports.errors.size(), 1u);
            EXPECT_EQ(reports.errors[0], r.message);
            EXPECT_EQ(map->Get_XYRect(), XYRect());
        }
    }
}

TEST_F(IslandMap, ZeroNameLengthIsRefused)
{
    std::string bytes = SectionBytes(plan);
    bytes[0] = '\0';
    ReportCapture reports;
    bool loaded = true;
    LoadMap(bytes, files.Directory(), &loaded);
    EXPECT_FALSE(loaded);
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "Map:Create_Map: Invalid Scenfile after coastfile. \nnamelength = 0\n");
}

TEST_F(IslandMap, UnknownProjectionFailsWithZeroAreas)
{
    for (uint8_t id : {0, 3}) {
        SCOPED_TRACE(int{id});
        plan.projectionID = id;
        ReportCapture reports;
        bool loaded = true;
        auto map = Load(&loaded);
        EXPECT_FALSE(loaded);
        EXPECT_EQ(map->Get_LatLonRect(), LatLonRect());
        EXPECT_EQ(map->Get_XYRect(), XYRect());
        ASSERT_EQ(reports.errors.size(), 1u);
        EXPECT_EQ(reports.errors[0], "Map: resource text 0x7B00B5");
    }
}

TEST_F(IslandMap, DamagedValuesAreRefused)
{
    struct Row {
        const char* what;
        void (*spoil)(SectionPlan&);
        const char* error;
    };
    const Row rows[] = {
        {"north beyond the pole", [](SectionPlan& s) { s.area.north = ANGLE_RIGHT + 1; },
         "Map:Create_Map: Invalid Scenfile after latlonscenarioboundary. \n"},
        {"south above north", [](SectionPlan& s) { std::swap(s.area.north, s.area.south); },
         "Map:Create_Map: Invalid Scenfile after latlonscenarioboundary. \n"},
        {"east beyond 180 degrees", [](SectionPlan& s) { s.area.east = ANGLE_HALF + 1; },
         "Map:Create_Map: Invalid Scenfile after latlonscenarioboundary. \n"},
        {"west at the largest value", [](SectionPlan& s) { s.area.west = INT32_MAX; },
         "Map:Create_Map: Invalid Scenfile after latlonscenarioboundary. \n"},
        {"tile id off the globe", [](SectionPlan& s) { s.tiles.push_back({91, 20}); },
         "Map: resource text 0x7B00B4"},
        {"tile id west of -180", [](SectionPlan& s) { s.tiles.push_back({11, -181}); },
         "Map: resource text 0x7B00B4"},
        // Miller centred on 0 degrees cannot show an area across 180 degrees.
        {"east below west without the meridian", [](SectionPlan& s) { s.area.east = Deg(19); },
         "Map: resource text 0x7B00BA"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        SetUp();
        r.spoil(plan);
        ReportCapture reports;
        bool loaded = true;
        auto map = Load(&loaded);
        EXPECT_FALSE(loaded);
        EXPECT_FALSE(Map::IsMapValid());
        EXPECT_EQ(map->Get_XYRect(), XYRect());
        ASSERT_EQ(reports.errors.size(), 1u);
        EXPECT_EQ(reports.errors[0], r.error);
    }
}

// The scenario loader judges the map section by the stream alone: a section
// the map refuses must leave the stream failed, and one it loads must leave
// the stream on the first byte after the grid.
TEST_F(IslandMap, RefusedSectionsLeaveTheStreamFailed)
{
    struct Row {
        const char* what;
        void (*spoil)(SectionPlan&);
        bool loads;
    };
    const Row rows[] = {
        {"a sound section", [](SectionPlan&) {}, true},
        // These used to answer false with the stream still good, so the
        // loader went on to read the unread grid as the weather section.
        {"unknown projection", [](SectionPlan& s) { s.projectionID = 3; }, false},
        {"name longer than its field", [](SectionPlan& s) { s.coast = "ABCDEFGHI"; }, false},
        {"area off the globe", [](SectionPlan& s) { s.area.north = ANGLE_RIGHT + 1; }, false},
        {"tile id off the globe", [](SectionPlan& s) { s.tiles.insert(s.tiles.begin(), {91, 20}); }, false},
        {"grid the projection cannot size", [](SectionPlan& s) { s.area.east = Deg(19); }, false},
        {"data file missing", [](SectionPlan& s) { s.ice = "NOSUCH"; }, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        SetUp();
        r.spoil(plan);
        ReportCapture reports;
        std::istringstream in(SectionBytes(plan) + "W", std::ios::binary);
        Map map;
        EXPECT_EQ(map.Create_Map(in, files.Directory().c_str()), r.loads);
        if (r.loads) {
            EXPECT_EQ(in.get(), 'W');
        } else {
            EXPECT_TRUE(in.fail());
            EXPECT_EQ(reports.errors.size() + reports.fatals.size(), 1u);
        }
    }

    // A tile the data files cannot give.
    SetUp();
    const std::string coast = files.Path("TCOAST.cst");
    std::filesystem::resize_file(coast, std::filesystem::file_size(coast) - 4);
    ReportCapture reports;
    std::istringstream in(SectionBytes(plan) + "W", std::ios::binary);
    Map map;
    EXPECT_FALSE(map.Create_Map(in, files.Directory().c_str()));
    EXPECT_TRUE(in.fail());
}

TEST_F(IslandMap, MissingDataFileRefusesTheSection)
{
    const char* extensions[] = {".cst", ".cty", ".ice"};
    const char* texts[] = {"Map: resource text 0x7B00B6", "Map: resource text 0x7B00B7",
                           "Map: resource text 0x7B00B8"};
    const std::string* names[] = {&plan.coast, &plan.country, &plan.ice};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(extensions[i]);
        ASSERT_TRUE(WriteFiles());
        std::filesystem::remove(files.Path(*names[i] + extensions[i]));
        ReportCapture reports;
        bool loaded = true;
        Load(&loaded);
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(reports.fatals.empty());
        ASSERT_EQ(reports.errors.size(), 1u);
        EXPECT_EQ(reports.errors[0], texts[i]);
    }
}

TEST_F(IslandMap, DataFileNamesAreFoundWithoutRegardToCase)
{
    std::filesystem::rename(files.Path("TCOAST.cst"), files.Path("tcoast.CST"));
    bool loaded = false;
    Load(&loaded);
    EXPECT_TRUE(loaded);
}

TEST_F(IslandMap, UnreadableTileIsRefused)
{
    // A coast file cut short inside the island's record.
    const std::string path = files.Path("TCOAST.cst");
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 4);
    ReportCapture reports;
    bool loaded = true;
    auto map = Load(&loaded);
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(Map::IsMapValid());
    EXPECT_EQ(map->Get_XYRect(), XYRect());
    ASSERT_FALSE(reports.errors.empty());
    EXPECT_EQ(reports.errors.back(), "Map:Create_Map: tile (11, 20) could not be read from the map files.\n");
}

TEST_F(IslandMap, EmptyTilesAreLeftOutOfTheSave)
{
    plan.tiles = {{11, 20}, {10, 20}, {11, 21}};   // (10, 20) has no outlines
    auto map = Load();
    ASSERT_EQ(map->GetTileCount(), 3);
    EXPECT_TRUE(map->GetTile(1).IsEmpty());

    const std::string saved = SaveMap(*map);
    SectionPlan kept = plan;
    kept.tiles = {{11, 20}, {11, 21}};
    EXPECT_EQ(saved, SectionBytes(kept));
    bool loaded = false;
    auto again = LoadMap(saved, files.Directory(), &loaded);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(again->GetTileCount(), 2);
}

TEST(MapSave, MapWithoutGridWritesItsFieldsAndAnswersFalse)
{
    Map map;
    bool saved = true;
    const std::string bytes = SaveMap(map, &saved);
    EXPECT_FALSE(saved);
    // Three empty names (1, 0), the two areas, projection, origin, icepack 0, 0 tiles.
    EXPECT_EQ(bytes.size(), 3u * 2 + 16 + 16 + 1 + 8 + 2 + 2);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\x01\0\x01\0\x01\0", 6));
}

TEST(MapEmpty, QueriesBeforeLoadingAnswerNeutrally)
{
    Map map;
    EXPECT_FALSE(Map::IsMapValid());
    EXPECT_EQ(map.LatLon_to_XY(At(10, 20)), XYPoint(0, 0));
    EXPECT_EQ(map.XY_to_LatLon(XYPoint(5, 5)), LatLonPoint(0, 0));
    EXPECT_FALSE(map.Is_On_Map(LatLonPoint(0, 0)));
    EXPECT_FALSE(map.Is_Land(LatLonPoint(0, 0)));
    EXPECT_EQ(map.Get_Altitude(LatLonPoint(0, 0)), 0);
    EXPECT_TRUE(map.Get_First_Crossing(At(0, 0), At(1, 1), 5).IsNone());
    EXPECT_EQ(map.Count_Crossings(At(0, 0), At(1, 1), 1), 0);
    EXPECT_EQ(map.Get_Map_Edge_Crossing(At(0, 0), At(1, 1)), At(0, 0));
}

TEST_F(IslandMap, LandAndIceTests)
{
    plan.Cell(11, 21) = SEA;       // the ice tile's reference: open sea
    plan.Cell(10.5, 21.5) = SEA_ICE;
    auto map = Load();
    struct Row {
        double lat, lon;
        bool land, ice;
    };
    const Row rows[] = {
        {10.5, 20.5, true, false},     // the island's middle
        {10.26, 20.74, true, false},   // just inside its corner
        {10.24, 20.5, false, false},   // just south of it
        {10.1, 20.1, false, false},    // open sea in the island's tile
        {10.5, 21.5, false, true},     // inside the ice edge
        {10.5, 21.8, false, false},    // east of it
        {9.5, 21.5, false, false},     // a tile the map lacks: the reference decides
        {11.5, 20.5, false, false},    // off the map
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lat << ", " << r.lon);
        EXPECT_EQ(map->Is_Land(At(r.lat, r.lon)), r.land);
        EXPECT_EQ(map->Is_Ice(At(r.lat, r.lon)), r.ice);
    }
}

// A point on a positive whole-degree latitude lies in the tile whose north
// edge is a degree further north, one on a negative whole-degree longitude in
// the tile a degree further west. An island across 10 N and 21 W is held in
// tile (11, -22) only, so a point given to any other tile finds no coast.
TEST(MapTiles, PointsOnWholeDegreesBelongToTheTileNorthAndWest)
{
    SectionPlan plan;
    plan.area = LatLonRect(Deg(11), Deg(-22), Deg(9), Deg(-20));
    plan.tiles = {{11, -22}, {11, -21}, {10, -22}, {10, -21}};
    plan.FillCells(SEA);
    MapFiles files;
    ASSERT_TRUE(files.Write(plan, {{{11, -22}, Square(9.8, -21.3, 10.4, -20.7)}}));
    bool loaded = false;
    auto map = LoadMap(SectionBytes(plan), files.Directory(), &loaded);
    ASSERT_TRUE(loaded);
    struct Row {
        double lat, lon;
    };
    const Row rows[] = {
        {10, -21.1},   // latitude on 10: tile 11, not 10
        {10.1, -21},   // longitude on -21: tile -22, not -21
        {10, -21},     // both
        {10.1, -21.1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lat << ", " << r.lon);
        EXPECT_TRUE(map->Is_Land(At(r.lat, r.lon)));
    }
}

TEST_F(IslandMap, ReferenceOnLandTurnsTheParity)
{
    // With the island tile's first probe (11 N, 20 E) on land, a point with
    // no crossing on its way there is land, and one behind a coast is sea.
    plan.Cell(11, 20) = 80;
    auto map = Load();
    EXPECT_TRUE(map->Is_Land(At(10.1, 20.1)));
    EXPECT_FALSE(map->Is_Land(At(10.5, 20.5)));
}

// Every land and ice test needs a non-zero cell among the nine near its tile's
// corner; a grid that leaves a tile of the area without one is refused at load
// rather than ending the program at the first test.
TEST_F(IslandMap, AGridLeavingATileWithoutReferenceIsRefused)
{
    struct Row {
        const char* name;
        std::vector<std::pair<double, double>> zeroCells;   // empty: the whole grid
        const char* error;
    };
    const Row rows[] = {
        {"all zero", {}, "Map:Create_Map: tile (10, 20) has no altitude or depth among its reference cells.\n"},
        {"one tile's nine",
         {{10, 21}, {10, 21.5}, {10, 22}, {10.5, 21}, {10.5, 21.5}, {10.5, 22}, {11, 21}, {11, 21.5}, {11, 22}},
         "Map:Create_Map: tile (10, 21) has no altitude or depth among its reference cells.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        plan.FillCells(SEA);
        if (row.zeroCells.empty())
            plan.FillCells(0);
        for (const auto& [lat, lon] : row.zeroCells)
            plan.Cell(lat, lon) = 0;
        ReportCapture reports;
        bool loaded = true;
        auto map = Load(&loaded);
        EXPECT_FALSE(loaded);
        EXPECT_FALSE(Map::IsMapValid());
        EXPECT_EQ(reports.errors, std::vector<std::string>{row.error});
        EXPECT_FALSE(map->Is_Land(At(10.1, 20.1)));
        EXPECT_TRUE(reports.fatals.empty());
    }
    plan.FillCells(SEA);
    plan.Cell(10, 21) = 0;   // one zero among the nine still leaves a reference
    bool loaded = false;
    Load(&loaded);
    EXPECT_TRUE(loaded);
}

// Cassini gives no longitude for |x| beyond about 89.78 degrees: an xy area
// reaching there is refused at load; Miller converts any.
TEST_F(IslandMap, AnXYAreaTheProjectionCannotConvertIsRefused)
{
    struct Row {
        uint8_t projectionID;
        XYRect xy;
        bool loads;
    };
    const Row rows[] = {
        {PROJECTION_CASSINI, XYRect(0, Deg(20), Deg(30), 0), true},
        {PROJECTION_CASSINI, XYRect(-CASSINI_X_LIMIT, Deg(20), CASSINI_X_LIMIT, 0), true},
        {PROJECTION_CASSINI, XYRect(-CASSINI_X_LIMIT - 1, Deg(20), Deg(30), 0), false},
        {PROJECTION_CASSINI, XYRect(0, Deg(20), Deg(90), 0), false},
        {PROJECTION_MILLER, XYRect(-Deg(170), Deg(20), Deg(170), 0), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << int{row.projectionID} << " " << row.xy.left << " " << row.xy.right);
        plan.projectionID = row.projectionID;
        plan.xy = row.xy;
        ReportCapture reports;
        bool loaded = !row.loads;
        auto map = Load(&loaded);
        EXPECT_EQ(loaded, row.loads);
        if (!row.loads) {
            EXPECT_EQ(reports.errors, std::vector<std::string>{
                                          "Map:Create_Map: the xy area reaches beyond what the projection can convert.\n"});
        }
        EXPECT_TRUE(reports.fatals.empty());
    }
}

TEST_F(IslandMap, AltitudeKeepsLandAboveAndSeaBelowSeaLevel)
{
    plan.Cell(10.5, 20.5) = -24;   // island middle, interpolated -3
    plan.Cell(9.5, 21.5) = 40;     // sea, interpolated +5
    plan.Cell(10, 21) = -80;       // sea, -10
    auto map = Load();
    struct Row {
        double lat, lon;
        int16_t altitude;
    };
    const Row rows[] = {
        {10.5, 20.5, 0},     // land is never below sea level
        {9.5, 21.5, -1},     // the sea never above it
        {10, 21, -10},
        {9, 20, -100},       // south-west corner of the map
        {11, 22, -100},      // north-east corner
        {11.01, 21, 0},      // off the map
        {10, 22.01, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lat << ", " << r.lon);
        EXPECT_EQ(map->Get_Altitude(At(r.lat, r.lon)), r.altitude);
    }
}

// Maps of open sea whose edges lie on both sides of the equator and the
// prime meridian, on and off the half-degree grid lines, and across the
// 180-degree meridian: every query at and just beyond the edges stays inside
// the grid and answers the grid's depth on the map and 0 off it.
TEST(MapEdges, QueriesAtTheEdgesStayInsideTheGrid)
{
    struct Row {
        const char* what;
        double north, west, south, east;
        LatLonPoint origin;
    };
    const Row rows[] = {
        {"north-east quadrant", 11, 20, 9, 22, {}},
        {"south-west quadrant", -9, -22, -11, -20, {}},
        {"across the equator and 0 degrees, off the grid lines", 1.3, -1.3, -1.2, 1.4, {}},
        {"west edge negative off the grid", 0.7, -7.3, -0.7, -6.1, {}},
        {"across 180 degrees", 11, 179, 9, -179, {0, ANGLE_HALF}},
        {"across 180 degrees off the grid lines", -8.8, 178.7, -10.3, -178.2, {0, ANGLE_HALF}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        SectionPlan plan;
        plan.area = LatLonRect(Deg(r.north), Deg(r.west), Deg(r.south), Deg(r.east));
        plan.origin = r.origin;
        plan.FillCells(-80);   // 10 units deep everywhere
        MapFiles files;
        ASSERT_TRUE(files.Write(plan, {}));
        bool loaded = false;
        auto map = LoadMap(SectionBytes(plan), files.Directory(), &loaded);
        ASSERT_TRUE(loaded);

        const double eastEdge = r.east < r.west ? r.east + 360 : r.east;
        const double midLat = (r.north + r.south) / 2;
        double midLon = (r.west + eastEdge) / 2;
        if (midLon > 180)
            midLon -= 360;
        const double nudge = 0.01;
        auto wrap = [](double lon) { return lon > 180 ? lon - 360 : lon; };
        const struct {
            double lat, lon;
            bool on;
        } points[] = {
            {r.north, midLon, true},          {r.south, midLon, true},
            {midLat, r.west, true},           {midLat, r.east, true},
            {r.north, r.west, true},          {r.south, r.east, true},
            {r.north, r.east, true},          {r.south, r.west, true},
            {r.north + nudge, midLon, false}, {r.south - nudge, midLon, false},
            {midLat, r.west - nudge, false},  {midLat, wrap(eastEdge + nudge), false},
        };
        for (const auto& p : points) {
            SCOPED_TRACE(testing::Message() << p.lat << ", " << p.lon);
            const LatLonPoint at = At(p.lat, p.lon);
            EXPECT_EQ(map->Is_On_Map(at), p.on);
            EXPECT_EQ(map->Get_Altitude(at), p.on ? -10 : 0);
            EXPECT_FALSE(map->Is_Land(at));
            EXPECT_FALSE(map->Is_Ice(at));
        }
    }
}

// A map of land: cells at 80 (10 units high) and tiles without outlines,
// whose grid reference makes every point land.
class LandMap : public testing::Test {
protected:
    void Build(const LatLonRect& area, const LatLonPoint& origin, const std::vector<Point16>& tiles)
    {
        plan.area = area;
        plan.origin = origin;
        plan.tiles = tiles;
        plan.FillCells(80);
    }

    std::unique_ptr<Map> Load()
    {
        EXPECT_TRUE(files.Write(plan, {}));
        bool loaded = false;
        auto map = LoadMap(SectionBytes(plan), files.Directory(), &loaded);
        EXPECT_TRUE(loaded);
        return map;
    }

    SectionPlan plan;
    MapFiles files;
};

TEST_F(LandMap, HighestPointOfShortLegsLooksAtTheMidpointOnly)
{
    Build(LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22)), {}, {{11, 20}, {11, 21}, {10, 20}, {10, 21}});
    plan.Cell(10, 21) = 800;   // 100 units high
    auto map = Load();

    // 10 nm due north of a point 5 nm south of the high grid point.
    const LatLonPoint a(Deg(10) - 5 * RANGE_PER_NM, Deg(21));
    const LatLonPoint b(Deg(10) + 5 * RANGE_PER_NM, Deg(21));
    const NavVector v = NavMath::Get_Vector(a, b);
    ASSERT_LT(v.range, 61440);
    const ElevationPoint best = map->Get_Highest_Point_Between(a, b);
    const LatLonPoint middle = NavMath::Get_LatLonPoint_From_Vector(a, v.range >> 1, v.bearing);
    EXPECT_EQ(best.position, middle);
    EXPECT_EQ(best.value, map->Get_Altitude(middle));
    EXPECT_GT(best.value, 90);
}

TEST_F(LandMap, HighestPointSamplesWhileBelowTheRange)
{
    Build(LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22)), {}, {{11, 20}, {11, 21}, {10, 20}, {10, 21}});
    auto map = Load();
    const LatLonPoint a = At(9.5, 21);
    // Ends due north of a at a range of exactly 61440 and at the least range
    // above it (the great-circle range moves in coarse steps here).
    LatLonPoint exact = LatLonPoint::None(), above = LatLonPoint::None();
    int32_t aboveRange = INT32_MAX;
    for (int32_t d = -3000; d <= 3000; ++d) {
        const LatLonPoint b(a.lat + 61440 + d, a.lon);
        const int32_t range = NavMath::Get_Vector(a, b).range;
        if (range == 61440 && exact.IsNone())
            exact = b;
        if (range > 61440 && range < aboveRange) {
            above = b;
            aboveRange = range;
        }
    }
    ASSERT_FALSE(exact.IsNone());
    ASSERT_FALSE(above.IsNone());

    const ElevationPoint none = map->Get_Highest_Point_Between(a, exact);
    EXPECT_EQ(none.value, 0);
    EXPECT_EQ(none.position, LatLonPoint(0, 0));

    const ElevationPoint one = map->Get_Highest_Point_Between(a, above);
    const NavVector v = NavMath::Get_Vector(a, above);
    EXPECT_EQ(one.position, NavMath::Get_LatLonPoint_From_Vector(a, 61440, v.bearing));
    EXPECT_EQ(one.value, 10);
}

TEST_F(LandMap, HighestPointFavoursNearGround)
{
    Build(LatLonRect(Deg(11), Deg(20), Deg(9), Deg(22)), {}, {{11, 20}, {11, 21}, {10, 20}, {10, 21}});
    // A ridge along 9.5 N: the second sample north of 9 N stands on it, the
    // first and third half way up its flanks.
    for (double lon : {20.0, 20.5, 21.0, 21.5, 22.0})
        plan.Cell(9.5, lon) = 800;   // 100
    auto map = Load();
    const ElevationPoint best = map->Get_Highest_Point_Between(At(9, 21), At(10, 21));
    // Samples at 15, 30, 45 nm: about 55, 100 and 55 units, weighted 55, 50, 18.
    EXPECT_NEAR(best.position.lat, Deg(9.25), 200);
    EXPECT_NEAR(best.value, 55, 1);
}

TEST_F(LandMap, HighestPointAcrossTheMeridianKeepsLongitudesOnTheGlobe)
{
    // 9 to 11 N, 179 E to 179 W on a map centred on 180 degrees. Ground rises
    // east of the meridian, to 300 at 179 W.
    Build(LatLonRect(Deg(11), Deg(179), Deg(9), Deg(-179)), {0, ANGLE_HALF},
          {{11, 179}, {11, -180}, {10, 179}, {10, -180}});
    for (double lat : {9.0, 9.5, 10.0, 10.5, 11.0})
        plan.Cell(lat, -179) = 2400;   // 300
    auto map = Load();
    // The first 15 nm step from 179.9 E already lands west of 180 degrees
    // (179.85 W); the later samples go on east: 179.6 W, 179.35 W.
    const LatLonPoint a = At(10.2, 179.9);
    const LatLonPoint b = At(10.2, -179.3);
    const ElevationPoint best = map->Get_Highest_Point_Between(a, b);
    EXPECT_TRUE(map->Is_On_Map(best.position));
    EXPECT_LT(best.position.lon, Deg(-179.2));
    EXPECT_GT(best.position.lon, Deg(-179.5));
    EXPECT_GT(best.value, 60);
}

TEST_F(IslandMap, FirstCrossingAndCrossingCounts)
{
    auto map = Load();
    const LatLonPoint sea = At(10.5, 20.1);
    const LatLonPoint island = At(10.5, 20.5);
    const LatLonPoint beyond = At(10.5, 20.9);

    const LatLonPoint coast = map->Get_First_Crossing(sea, island, MAP_LAYER_COAST);
    EXPECT_EQ(coast, At(10.5, 20.25));
    EXPECT_TRUE(map->Get_First_Crossing(sea, island, MAP_LAYER_COUNTRY).IsNone());
    EXPECT_TRUE(map->Get_First_Crossing(At(10.1, 20.1), At(10.1, 21.9), MAP_LAYER_COAST | MAP_LAYER_ICE).IsNone());
    // Along 10.5 N eastwards the island's tile comes first, and in it the
    // first edge in outline order (south, east, north, west): the east side,
    // not the nearer west side. The ice square likewise answers its east side.
    EXPECT_EQ(map->Get_First_Crossing(sea, At(10.5, 21.9), MAP_LAYER_COAST | MAP_LAYER_ICE), At(10.5, 20.75));
    EXPECT_EQ(map->Get_First_Crossing(At(10.5, 21.1), At(10.5, 21.9), MAP_LAYER_COAST | MAP_LAYER_ICE),
              At(10.5, 21.75));

    EXPECT_EQ(map->Count_Crossings(sea, island, MAP_LAYER_COAST), 1);
    EXPECT_EQ(map->Count_Crossings(sea, beyond, MAP_LAYER_COAST), 2);
    EXPECT_EQ(map->Count_Crossings(sea, At(10.5, 21.9), MAP_LAYER_COAST | MAP_LAYER_ICE), 2);   // stops at 2
    EXPECT_TRUE(map->Crosses_Coast_At_Most_Once(sea, island));
    EXPECT_FALSE(map->Crosses_Coast_At_Most_Once(sea, beyond));
    EXPECT_FALSE(map->Is_Path_Clear(sea, island));
    EXPECT_TRUE(map->Is_Path_Clear(At(10.1, 20.1), At(10.1, 21.9)));
    EXPECT_FALSE(map->Is_Path_Clear(At(10.1, 20.1), At(11.5, 20.1)));   // an end off the map
}

TEST_F(IslandMap, FirstCrossingOfALegLeavingTheMapIsTheMapEdge)
{
    auto map = Load();
    EXPECT_EQ(map->Get_First_Crossing(At(10.1, 20.1), At(12.1, 20.1), MAP_LAYER_COAST), At(11, 20.1));
}

TEST_F(IslandMap, NoTilesLoadsAndFindsNoLand)
{
    plan.tiles.clear();
    bool loaded = false;
    auto map = Load(&loaded);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(Map::IsMapValid());
    EXPECT_EQ(map->GetTileCount(), 0);
    EXPECT_FALSE(map->Is_Land(At(10.5, 20.5)));
    EXPECT_FALSE(map->Is_Ice(At(10.5, 21.5)));
    EXPECT_EQ(map->Get_Altitude(At(10.5, 20.5)), -100);
    EXPECT_TRUE(map->Get_First_Crossing(At(10.5, 20.1), At(12, 20.5), MAP_LAYER_COAST).IsNone());
    EXPECT_EQ(map->Count_Crossings(At(10.5, 20.1), At(10.5, 20.9), MAP_LAYER_COAST), 0);
    EXPECT_EQ(SaveMap(*map), SectionBytes(plan));
}

TEST(MapDir, DirectoryTextRules)
{
    struct Row {
        const char* value;
        std::string expected;
    };
    const Row rows[] = {
        {nullptr, ".\\"},
        {"", ".\\"},
        {"MAPS", "MAPS\\"},
        {"MAPS\\", "MAPS\\"},
        {"..\\data\\MAPS", "..\\data\\MAPS\\"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value != nullptr ? r.value : "(none)");
        EXPECT_EQ(MakeMapDir(r.value), r.expected);
    }
    const std::string longest(MAP_DIR_MAX_LENGTH + 20, 'a');
    const std::string dir = MakeMapDir(longest.c_str());
    EXPECT_EQ(dir.size(), static_cast<size_t>(MAP_DIR_MAX_LENGTH));
    EXPECT_EQ(dir.back(), '\\');
}

TEST(MapDir, ReadFromTheIniFile)
{
    TempTree tree;
    tree.File("a.ini", "[Tessarn3]\nMapDir MAPS\n");
    tree.File("b.ini", "[Tessarn3]\nOther 1\n");
    ConfigurationFileIO withKey((tree.root + "/a.ini").c_str());
    EXPECT_EQ(ReadMapDir(withKey), "MAPS\\");
    ConfigurationFileIO without((tree.root + "/b.ini").c_str());
    EXPECT_EQ(ReadMapDir(without), ".\\");
}

} // namespace
