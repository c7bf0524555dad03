// Tests of MapFileWriter and the map description reader: the file layout byte
// for byte, spreading outlines over cells (checked against MapTile's crossing
// count), the JSON description with its errors, and the three files written.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

#include "core/StreamFields.h"
#include "support/Bytes.h"
#include "support/MapFiles.h"
#include "support/ReportCapture.h"
#include "world/MapFileWriter.h"
#include "world/MapPoly.h"
#include "world/MapTile.h"

namespace {

MapOutline Outline(std::initializer_list<std::pair<double, double>> degrees, uint8_t level = 5)
{
    MapOutline outline;
    for (const auto& [lat, lon] : degrees)
        outline.push_back({level, Degrees(lat), Degrees(lon)});
    return outline;
}

bool SamePoints(const MapOutline& a, const MapOutline& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].level != b[i].level || a[i].first != b[i].first || a[i].second != b[i].second)
            return false;
    }
    return true;
}

// A scratch folder, removed with its contents at the end.
class Scratch {
public:
    Scratch()
    {
        char name[] = "/tmp/tessarn_mapfiles_XXXXXX";
        if (mkdtemp(name) != nullptr)
            root = name;
    }
    ~Scratch()
    {
        std::error_code ignored;
        if (!root.empty())
            std::filesystem::remove_all(root, ignored);
    }
    std::string root;
};

}  // namespace

TEST(MapFileWriterLayout, IndexSharedEmptyRecordAndCellRecordsByteForByte)
{
    MapFileWriter writer;
    std::string error;
    ASSERT_TRUE(writer.AddCellPolygon(Point16{90, -180}, {{7, 100, -200}}, error));
    ASSERT_TRUE(writer.AddCellPolygon(Point16{-89, 179}, {{1, -1, 2}, {2, 3, 4}}, error));
    const std::string bytes = MapFileBytes(writer);

    const uint32_t empty = MAP_FILE_INDEX_BYTES;
    const uint32_t first = empty + 6;
    const uint32_t second = first + 6 + 2 + 9;
    ASSERT_EQ(bytes.size(), second + 6u + 2 + 18);
    EXPECT_EQ(ReadU32At(bytes, 0), first);
    EXPECT_EQ(ReadU32At(bytes, 4), empty);
    EXPECT_EQ(ReadU32At(bytes, MAP_FILE_INDEX_BYTES - 8), empty);
    EXPECT_EQ(ReadU32At(bytes, MAP_FILE_INDEX_BYTES - 4), second);
    EXPECT_EQ(bytes.substr(empty, 6), Bytes({0xC8, 0, 0xC8, 0, 0, 0}));
    EXPECT_EQ(bytes.substr(first, 17),
              Bytes({90, 0, 0x4C, 0xFF, 1, 0, 1, 0, 7, 100, 0, 0, 0, 0x38, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(bytes.substr(second, 6), Bytes({0xA7, 0xFF, 179, 0, 1, 0}));
    EXPECT_EQ(bytes.substr(second + 6, 20),
              Bytes({2, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 2, 3, 0, 0, 0, 4, 0, 0, 0}));

    // Every other entry points at the shared empty record.
    size_t shared = 0;
    for (uint32_t at = 0; at < MAP_FILE_INDEX_BYTES; at += 4)
        shared += ReadU32At(bytes, at) == empty;
    EXPECT_EQ(shared, MAP_FILE_CELLS - 2);
}

TEST(MapFileWriterCells, RefusesIdsOffTheGlobeAndBadPointCounts)
{
    struct Row { const char* name; Point16 id; size_t points; bool added; };
    const Row rows[] = {
        {"ordinary", Point16{10, 10}, 3, true},
        {"north-west corner of the globe", Point16{90, -180}, 1, true},
        {"north of the pole", Point16{91, 0}, 1, false},
        {"south edge at the pole", Point16{-90, 0}, 1, false},
        {"west edge 180", Point16{0, 180}, 1, false},
        {"no points", Point16{10, 10}, 0, false},
        {"32767 points", Point16{10, 10}, 32767, true},
        {"32768 points", Point16{10, 10}, 32768, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        MapFileWriter writer;
        std::string error;
        EXPECT_EQ(writer.AddCellPolygon(r.id, MapOutline(r.points), error), r.added);
        EXPECT_EQ(error.empty(), r.added);
        EXPECT_EQ(writer.CellCount(), r.added ? 1u : 0u);
    }
}

TEST(MapFileWriterOutlines, AClosedOutlineInsideOneCellStaysWhole)
{
    MapFileWriter writer;
    std::string error;
    const MapOutline ring = Outline({{10.2, 20.2}, {10.2, 20.8}, {10.8, 20.5}, {10.2, 20.2}});
    ASSERT_TRUE(writer.AddOutline(ring, error)) << error;
    EXPECT_EQ(writer.CellCount(), 1u);
    ASSERT_EQ(writer.GetCellPolygons(Point16{11, 20}).size(), 1u);
    EXPECT_TRUE(SamePoints(writer.GetCellPolygons(Point16{11, 20})[0], ring));
}

TEST(MapFileWriterOutlines, EachCellGetsTheRunsOfEdgesThatTouchIt)
{
    // A closed ring starting inside cell (11, 20), running east into (11, 21)
    // and back: the run that leaves cell (11, 20) and the one that returns
    // join across the ring's start into one piece.
    MapFileWriter writer;
    std::string error;
    const MapOutline ring = Outline({{10.5, 20.5}, {10.4, 20.8}, {10.4, 21.5}, {10.6, 21.5}, {10.6, 20.8}, {10.5, 20.5}});
    ASSERT_TRUE(writer.AddOutline(ring, error)) << error;
    EXPECT_EQ(writer.CellCount(), 2u);

    const std::vector<MapOutline>& west = writer.GetCellPolygons(Point16{11, 20});
    ASSERT_EQ(west.size(), 1u);
    // Edges 0, 1 (leaving) and 3, 4 (returning), joined: points 3, 4, 5(=0), 1, 2.
    EXPECT_TRUE(SamePoints(west[0], MapOutline{ring[3], ring[4], ring[5], ring[1], ring[2]}));

    const std::vector<MapOutline>& east = writer.GetCellPolygons(Point16{11, 21});
    ASSERT_EQ(east.size(), 1u);
    EXPECT_TRUE(SamePoints(east[0], MapOutline{ring[1], ring[2], ring[3], ring[4]}));
}

TEST(MapFileWriterOutlines, EdgesOnACellBorderAndPointsOnACornerGoToEveryCellTheyTouch)
{
    MapFileWriter writer;
    std::string error;
    ASSERT_TRUE(writer.AddOutline(Outline({{10.0, 20.2}, {10.0, 20.6}}), error)) << error;   // on latitude 10
    EXPECT_EQ(writer.GetCellPolygons(Point16{11, 20}).size(), 1u);
    EXPECT_EQ(writer.GetCellPolygons(Point16{10, 20}).size(), 1u);
    EXPECT_EQ(writer.CellCount(), 2u);

    MapFileWriter corner;
    ASSERT_TRUE(corner.AddOutline(Outline({{-10.0, -20.0}}), error)) << error;
    EXPECT_EQ(corner.CellCount(), 4u);
    for (const Point16 id : {Point16{-9, -21}, Point16{-9, -20}, Point16{-10, -21}, Point16{-10, -20}})
        EXPECT_EQ(corner.GetCellPolygons(id).size(), 1u) << id.x << ", " << id.y;

    // Cells at the edges of the globe stay within it.
    MapFileWriter pole;
    ASSERT_TRUE(pole.AddOutline(Outline({{90.0, 180.0}, {89.5, 179.5}}), error)) << error;
    EXPECT_EQ(pole.CellCount(), 1u);
    EXPECT_EQ(pole.GetCellPolygons(Point16{90, 179}).size(), 1u);
}

TEST(MapFileWriterOutlines, RefusesOutlinesItCannotPlace)
{
    struct Row { const char* name; MapOutline outline; };
    const Row rows[] = {
        {"no points", {}},
        {"latitude past the pole", {{5, Degrees(90) + 1, 0}}},
        {"longitude past 180", {{5, 0, Degrees(180) + 1}}},
        {"edge across the 180-degree meridian", Outline({{10, 179.5}, {10, -179.5}})},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        MapFileWriter writer;
        std::string error;
        EXPECT_FALSE(writer.AddOutline(r.outline, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(writer.CellCount(), 0u);
    }
}

// The point of spreading by edge runs: a segment lying within one cell
// crosses the cell's pieces exactly as often as it crosses the whole outline,
// so the land test's parity reads the same from the file.
TEST(MapFileWriterOutlines, CellPiecesCrossLikeTheWholeOutline)
{
    // A star of 14 points around (10.5, 20.5) reaching over nine cells.
    MapOutline star;
    for (int i = 0; i < 14; ++i) {
        const double angle = i * 3.14159265358979 / 7;
        const double radius = (i % 2 == 0) ? 1.3 : 0.45;
        star.push_back({5, Degrees(10.5 + radius * std::sin(angle)), Degrees(20.5 + radius * std::cos(angle))});
    }
    star.push_back(star.front());

    MapFileWriter writer;
    std::string error;
    ASSERT_TRUE(writer.AddOutline(star, error)) << error;
    const std::string bytes = MapFileBytes(writer);

    std::ostringstream whole;
    for (const MapPolyPoint& p : star) {
        SaveField(whole, p.level);
        SaveField(whole, p.first);
        SaveField(whole, p.second);
    }
    std::istringstream wholeIn(whole.str());
    MapPoly outline;
    ASSERT_TRUE(outline.Load(wholeIn, static_cast<int16_t>(star.size())));

    std::mt19937 random(20240611);
    FlatProjection projection;
    int odd = 0;
    for (int16_t north = 9; north <= 12; ++north) {
        for (int16_t west = 19; west <= 21; ++west) {
            const Point16 id{north, west};
            std::istringstream coast(bytes), country(EmptyMapFileBytes()), ice(EmptyMapFileBytes());
            MapTile tile;
            ASSERT_TRUE(tile.Init(id, coast, country, ice, &projection));
            std::uniform_int_distribution<int32_t> lat((north - 1) * ANGLE_PER_DEGREE + 1, north * ANGLE_PER_DEGREE - 1);
            std::uniform_int_distribution<int32_t> lon(west * ANGLE_PER_DEGREE + 1, (west + 1) * ANGLE_PER_DEGREE - 1);
            for (int k = 0; k < 200; ++k) {
                const LatLonPoint a(lat(random), lon(random));
                const LatLonPoint b(lat(random), lon(random));
                const int32_t expected = outline.CountCrossings(a, b);
                ASSERT_EQ(tile.CountCrossings(a, b, MAP_LAYER_COAST), expected)
                    << "cell " << north << ", " << west << ": " << a.lat << "," << a.lon << " - " << b.lat << "," << b.lon;
                odd += expected % 2;
            }
        }
    }
    EXPECT_GT(odd, 100);   // the segments did cross the outline
}

TEST(MapSourceRead, ReadsLayersDegreesLevelsAndClosing)
{
    std::istringstream in(R"({
        "comment": "ignored",
        "coast": [
            {"name": "Isle", "closed": true, "points": [[10.5, -20.25], [11, -20, 2], [10.5, -19.5]]},
            {"level": 3, "points": [[-89.5, 179.75], [-89.5, 180]]}
        ],
        "ice": [ {"points": [[75, 0]]} ]
    })");
    MapSource source;
    std::string error;
    ASSERT_TRUE(ReadMapSource(in, source, error)) << error;
    ASSERT_EQ(source.layers[0].size(), 2u);
    EXPECT_TRUE(source.layers[1].empty());
    ASSERT_EQ(source.layers[2].size(), 1u);

    const MapOutline& isle = source.layers[0][0];
    ASSERT_EQ(isle.size(), 4u);   // closed: the first point repeated
    EXPECT_TRUE(SamePoints(isle, MapOutline{{5, Degrees(10.5), Degrees(-20.25)}, {2, Degrees(11), Degrees(-20)},
                                            {5, Degrees(10.5), Degrees(-19.5)}, {5, Degrees(10.5), Degrees(-20.25)}}));
    EXPECT_EQ(isle[0].second, -4976640);   // -20.25 degrees in angle units
    EXPECT_EQ(source.layers[0][1][1].level, 3);
    EXPECT_EQ(source.layers[0][1][1].second, ANGLE_HALF);
}

TEST(MapSourceRead, MalformedDescriptionsAreRefusedWithTheirPlace)
{
    struct Row { const char* text; const char* error; };
    const Row rows[] = {
        {"{", "not valid JSON"},
        {"[]", "must be a JSON object"},
        {R"({"coast": {}})", "coast must be an array"},
        {R"({"coast": [5]})", "coast[0]: is not an object"},
        {R"({"ice": [{"points": []}]})", "ice[0]: needs a non-empty \"points\" array"},
        {R"({"coast": [{"name": "Rock", "points": [[1, 2], [91, 0]]}]})", "coast[0] (Rock): point 1: latitude 91 lies off the globe"},
        {R"({"country": [{"points": [[1, 2], [1, -180.5]]}]})", "country[0]: point 1: longitude -180.5 lies off the globe"},
        {R"({"coast": [{"points": [[1, "2"]]}]})", "point 0: longitude is not a number"},
        {R"({"coast": [{"points": [[1, 2, 256]]}]})", "point 0: level must be a whole number from 0 to 255"},
        {R"({"coast": [{"points": [[1, 2, 1.5]]}]})", "level must be a whole number"},
        {R"({"coast": [{"points": [[1]]}]})", "point 0: must be [lat, lon] or [lat, lon, level]"},
        {R"({"coast": [{"level": -1, "points": [[1, 2]]}]})", "coast[0]: level must be"},
        {R"({"coast": [{"closed": 1, "points": [[1, 2]]}]})", "\"closed\" must be true or false"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        std::istringstream in(r.text);
        MapSource source;
        source.layers[0].push_back({{1, 2, 3}});
        std::string error;
        EXPECT_FALSE(ReadMapSource(in, source, error));
        EXPECT_NE(error.find(r.error), std::string::npos) << error;
        EXPECT_EQ(source.layers[0].size(), 1u);   // left as it was
    }
}

TEST(MapSourceWrite, WritesThreeFilesThatTilesRead)
{
    Scratch scratch;
    ASSERT_FALSE(scratch.root.empty());
    std::istringstream in(R"({
        "coast":   [{"closed": true, "points": [[10.2, 20.2], [10.2, 20.8], [10.8, 20.5]]}],
        "country": [{"points": [[10.5, 19.5], [10.5, 20.5]]}, {"points": [[50, 50], [50.5, 50.5]]}],
        "ice":     []
    })");
    MapSource source;
    std::string error;
    ASSERT_TRUE(ReadMapSource(in, source, error)) << error;
    const std::string base = scratch.root + "/TEST";
    ASSERT_TRUE(WriteMapFiles(source, base, error)) << error;

    std::ifstream coast(base + ".cst", std::ios::binary), country(base + ".cty", std::ios::binary),
        ice(base + ".ice", std::ios::binary);
    ASSERT_TRUE(coast && country && ice);
    FlatProjection projection;
    ReportCapture reports;
    MapTile tile, other, empty;
    ASSERT_TRUE(tile.Init(Point16{11, 20}, coast, country, ice, &projection));
    EXPECT_EQ(tile.GetPolyCount(MAP_LAYER_COAST), 1);
    EXPECT_EQ(tile.GetPolys(MAP_LAYER_COAST)[0].GetCount(), 4);
    EXPECT_EQ(tile.GetPolyCount(MAP_LAYER_COUNTRY), 1);
    EXPECT_EQ(tile.GetPolyCount(MAP_LAYER_ICE), 0);
    ASSERT_TRUE(other.Init(Point16{51, 50}, coast, country, ice, &projection));
    EXPECT_EQ(other.GetPolyCount(MAP_LAYER_COUNTRY), 1);
    ASSERT_TRUE(empty.Init(Point16{-30, -30}, coast, country, ice, &projection));
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_TRUE(reports.errors.empty());

    EXPECT_FALSE(WriteMapFiles(source, scratch.root + "/missing/folder/TEST", error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
}

// Outlines in angle units, for distances of a few units.
MapOutline Units(std::initializer_list<std::pair<int32_t, int32_t>> points)
{
    MapOutline outline;
    for (const auto& [lat, lon] : points)
        outline.push_back({5, lat, lon});
    return outline;
}

TEST(MapReferenceClearance, OutlinesKeepClearOfTheHalfDegreeGrid)
{
    constexpr int32_t H = MAP_REFERENCE_SPACING;   // half a degree
    struct Row { const char* name; MapOutline outline; const char* error; };
    const Row rows[] = {
        {"edge through 73 N 0 E", Outline({{72.8, -0.6}, {73.1, 0.3}}), "edge from point 0 to point 1 passes within 16 angle units of the grid point [73, 0]"},
        {"vertex on a grid point", Outline({{75.2, 4.8}, {76, 5}, {75.8, 7.2}}), "edge from point 0 to point 1 passes within 16 angle units of the grid point [76, 5]"},
        {"lone point on a grid point", Outline({{-10.5, -20.5}}), "point 0 passes within 16 angle units of the grid point [-10.5, -20.5]"},
        {"along a whole meridian", Outline({{70.8, -5.2}, {72.6, -5.2}, {72.6, -5}, {71.1, -5}}), "edge from point 2 to point 3 passes within 16 angle units of the grid point [71.5, -5]"},
        {"15 units beside a grid point", Units({{20 * H - 15, 2 * H - 1000}, {20 * H - 15, 2 * H + 1000}}), "grid point [10, 1]"},
        {"vertex 15 units off, diagonally", Units({{-H + 10, -H - 11}, {-H + 5000, -H - 7000}}), "grid point [-0.5, -0.5]"},
        {"16 units beside a grid point", Units({{20 * H - 16, 2 * H - 1000}, {20 * H - 16, 2 * H + 1000}}), nullptr},
        {"between grid points", Outline({{72.8, -0.6}, {73.1, 0.35}, {72.9, 1.1}}), nullptr},
        {"across the 180-degree meridian's grid", Outline({{10.2, 179.9}, {10.3, 180}}), nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::string error;
        EXPECT_EQ(CheckReferenceClearance(r.outline, error), r.error == nullptr) << error;
        if (r.error != nullptr) {
            EXPECT_NE(error.find(r.error), std::string::npos) << error;
        }
    }
}

TEST(MapReferenceClearance, WritingRefusesCoastAndIceThroughTheGridBeforeWritingAnything)
{
    Scratch scratch;
    ASSERT_FALSE(scratch.root.empty());
    const MapOutline through = Outline({{72.8, -0.6}, {73.1, 0.3}});
    const MapOutline clear = Outline({{10.2, 20.2}, {10.2, 20.8}, {10.8, 20.4}, {10.2, 20.2}});
    struct Row { const char* name; int layer; const char* error; };
    const Row rows[] = {
        {"coast", 0, "coast[1]: edge from point 0 to point 1"},
        {"ice", 2, "ice[0]: edge from point 0 to point 1"},
        {"country borders take no part", 1, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        MapSource source;
        source.layers[0].push_back(clear);
        source.layers[r.layer].push_back(through);
        const std::string base = scratch.root + "/" + r.name;
        std::string error;
        EXPECT_EQ(WriteMapFiles(source, base, error), r.error == nullptr) << error;
        if (r.error != nullptr) {
            EXPECT_NE(error.find(r.error), std::string::npos) << error;
            for (const char* extension : {".cst", ".cty", ".ice"})
                EXPECT_FALSE(std::filesystem::exists(base + extension)) << extension;
        }
    }
}
