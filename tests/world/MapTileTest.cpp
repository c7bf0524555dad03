// Tests of MapTile against files made by MapFileWriter: reading and
// projecting the three layers, the wildcard record, damaged and truncated
// files, drawing by view and layer, and the crossing queries.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/MapFiles.h"
#include "support/RecordingPen.h"
#include "support/ReportCapture.h"
#include "world/MapTile.h"

namespace {

MapOutline Outline(std::initializer_list<std::pair<double, double>> degrees, uint8_t level = 5)
{
    MapOutline outline;
    for (const auto& [lat, lon] : degrees)
        outline.push_back({level, Degrees(lat), Degrees(lon)});
    return outline;
}

// A closed square of side `size` degrees with its south-west corner at (lat, lon).
MapOutline Square(double lat, double lon, double size)
{
    return Outline({{lat, lon}, {lat, lon + size}, {lat + size, lon + size}, {lat + size, lon}, {lat, lon}});
}

std::string FileWith(const Point16& id, const std::vector<MapOutline>& polygons)
{
    MapFileWriter writer;
    std::string error;
    for (const MapOutline& polygon : polygons)
        EXPECT_TRUE(writer.AddCellPolygon(id, polygon, error)) << error;
    return MapFileBytes(writer);
}

// Reads a tile from three file images through the flat projection.
struct TileFromFiles {
    TileFromFiles(const Point16& id, std::string coastBytes, std::string countryBytes = EmptyMapFileBytes(),
                  std::string iceBytes = EmptyMapFileBytes())
        : coast(std::move(coastBytes)), country(std::move(countryBytes)), ice(std::move(iceBytes))
    {
        initResult = tile.Init(id, coast, country, ice, &projection);
    }

    FlatProjection projection;
    std::istringstream coast, country, ice;
    MapTile tile;
    bool initResult = false;
};

constexpr Point16 TILE{11, 20};   // latitudes 10 to 11, longitudes 20 to 21

}  // namespace

TEST(MapFileIndex, EntriesRunFromTheNorthPoleAndTheWestEdge)
{
    struct Row { int16_t north, west; uint32_t offset; };
    const Row rows[] = {
        {90, -180, 0},
        {90, 179, 359 * 4},
        {89, -180, 360 * 4},
        {11, 20, ((90 - 11) * 360 + 200) * 4},
        {-89, 179, MAP_FILE_INDEX_BYTES - 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.north << ", " << r.west);
        EXPECT_EQ(MapFileIndexOffset(Point16{r.north, r.west}), r.offset);
    }
}

TEST(MapTileId, ValidIdsCoverTheGlobeAndNoMore)
{
    struct Row { int16_t north, west; bool valid; };
    const Row rows[] = {
        {90, -180, true}, {-89, 179, true}, {0, 0, true},
        {91, 0, false}, {-90, 0, false}, {0, -181, false}, {0, 180, false},
        {200, 200, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.north << ", " << r.west);
        EXPECT_EQ(IsValidTileID(Point16{r.north, r.west}), r.valid);
    }
}

TEST(MapTileInit, ReadsAndProjectsEveryLayer)
{
    const MapOutline island = Square(10.25, 20.25, 0.5);
    const MapOutline border = Outline({{10.5, 19.5}, {10.5, 20.5}}, 2);
    const MapOutline iceEdge = Outline({{10.9, 20.1}, {11.2, 20.6}});
    TileFromFiles t(TILE, FileWith(TILE, {island, Square(10.1, 20.1, 0.1)}), FileWith(TILE, {border}),
                    FileWith(TILE, {iceEdge}));
    ASSERT_TRUE(t.initResult);
    const MapTile& tile = t.tile;

    EXPECT_EQ(tile.GetID(), TILE);
    EXPECT_EQ(tile.GetCell(), LatLonRect(Degrees(11), Degrees(20), Degrees(10), Degrees(21)));
    EXPECT_FALSE(tile.IsEmpty());
    EXPECT_EQ(tile.GetPolyCount(MAP_LAYER_COAST), 2);
    EXPECT_EQ(tile.GetPolyCount(MAP_LAYER_COUNTRY), 1);
    EXPECT_EQ(tile.GetPolyCount(MAP_LAYER_ICE), 1);
    EXPECT_EQ(tile.GetPolyCount(3), 0);
    EXPECT_EQ(tile.GetPolys(8), nullptr);

    const MapPoly& first = tile.GetPolys(MAP_LAYER_COAST)[0];
    ASSERT_EQ(first.GetCount(), 5);
    EXPECT_TRUE(first.IsClosed());
    EXPECT_EQ(first.GetPoints()[1], LatLonPoint(Degrees(10.25), Degrees(20.75)));
    EXPECT_EQ(first.GetMapPoints()[1].first, Degrees(20.75));   // x = longitude
    EXPECT_EQ(first.GetMapPoints()[1].second, Degrees(10.25));  // y = latitude
    EXPECT_EQ(first.GetLatLonRect(), LatLonRect(Degrees(10.75), Degrees(20.25), Degrees(10.25), Degrees(20.75)));
    EXPECT_EQ(first.GetXYRect(), XYRect(Degrees(20.25), Degrees(10.75), Degrees(20.75), Degrees(10.25)));
    EXPECT_EQ(tile.GetPolys(MAP_LAYER_COUNTRY)[0].GetMapPoints()[0].level, 2);

    // The cell corners, widened west by the border and north by the ice edge.
    EXPECT_EQ(tile.GetXYRect(), XYRect(Degrees(19.5), Degrees(11.2), Degrees(21), Degrees(10)));
}

TEST(MapTileInit, WildcardRecordsGiveEmptyLayers)
{
    // Every cell of an empty file shares the (200, 200, 0) record.
    for (const Point16 id : {Point16{90, -180}, TILE, Point16{-89, 179}}) {
        SCOPED_TRACE(testing::Message() << id.x << ", " << id.y);
        ReportCapture reports;
        TileFromFiles t(id, EmptyMapFileBytes());
        EXPECT_TRUE(t.initResult);
        EXPECT_TRUE(t.tile.IsEmpty());
        EXPECT_EQ(t.tile.GetPolyCount(MAP_LAYER_COAST), 0);
        EXPECT_EQ(t.tile.GetCell().south, (id.x - 1) * ANGLE_PER_DEGREE);
        EXPECT_TRUE(reports.errors.empty());
        EXPECT_TRUE(reports.fatals.empty());
    }
}

TEST(MapTileInit, RecordIdsMustMatchOrBeTheWildcard)
{
    const std::string good = FileWith(TILE, {Square(10.2, 20.2, 0.3)});
    const uint32_t record = ReadU32At(good, MapFileIndexOffset(TILE));
    struct Row { int16_t north, west; bool accepted; };
    const Row rows[] = {
        {11, 20, true},
        {200, 20, true},
        {11, 200, true},
        {200, 200, true},
        {11, 21, false},
        {12, 20, false},
        {-11, 20, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.north << ", " << r.west);
        std::string bytes = good;
        PatchI16At(bytes, record, r.north);
        PatchI16At(bytes, record + 2, r.west);
        ReportCapture reports;
        TileFromFiles t(TILE, bytes);
        EXPECT_EQ(t.initResult, r.accepted);
        if (r.accepted) {
            EXPECT_EQ(t.tile.GetPolyCount(MAP_LAYER_COAST), 1);
            EXPECT_TRUE(reports.fatals.empty());
        } else {
            EXPECT_EQ(t.tile.GetPolyCount(MAP_LAYER_COAST), -1);
            EXPECT_EQ(t.tile.GetPolys(MAP_LAYER_COAST), nullptr);
            EXPECT_TRUE(reports.fatals.empty());
            ASSERT_EQ(reports.errors.size(), 1u);
            const std::string expected = "MapTile::BuildMapPolyList:  Bad Tile ID.  Read (" +
                std::to_string(r.north) + ", " + std::to_string(r.west) + ").  should be (11, 20).\n";
            EXPECT_EQ(reports.errors[0], expected);
        }
    }
}

TEST(MapTileInit, AFailedLayerStopsTheTileAndLeavesLaterLayersUntouched)
{
    std::string coast = FileWith(TILE, {Square(10.2, 20.2, 0.3)});
    std::string country = FileWith(TILE, {Square(10.2, 20.2, 0.3)});
    PatchI16At(country, ReadU32At(country, MapFileIndexOffset(TILE)) + 4, -3);   // polygon count
    ReportCapture reports;
    TileFromFiles t(TILE, coast, country, FileWith(TILE, {Square(10.2, 20.2, 0.3)}));
    EXPECT_FALSE(t.initResult);
    EXPECT_EQ(t.tile.GetPolyCount(MAP_LAYER_COAST), 1);
    EXPECT_EQ(t.tile.GetPolyCount(MAP_LAYER_COUNTRY), -3);
    EXPECT_EQ(t.tile.GetPolys(MAP_LAYER_COUNTRY), nullptr);
    EXPECT_EQ(t.tile.GetPolyCount(MAP_LAYER_ICE), 0);       // never read
    EXPECT_EQ(t.tile.GetXYRect(), XYRect());                 // never projected
    EXPECT_EQ(reports.errors.size(), 1u);
}

// Every number the file gives is checked before it moves the read position or
// sizes anything; each damage is refused with a report that says what is wrong.
TEST(MapTileInit, RefusesDamagedFilesWithAClearReport)
{
    const std::string good = FileWith(TILE, {Square(10.2, 20.2, 0.3), Square(10.6, 20.6, 0.2)});
    const size_t entry = MapFileIndexOffset(TILE);
    const uint32_t record = ReadU32At(good, entry);
    const size_t firstPointCount = record + 6;
    const size_t firstLatitude = firstPointCount + 2 + 1;

    struct Row { const char* name; std::string bytes; const char* report; };
    auto patched32 = [&](size_t at, uint32_t v) { std::string b = good; PatchU32At(b, at, v); return b; };
    auto patched16 = [&](size_t at, int16_t v) { std::string b = good; PatchI16At(b, at, v); return b; };
    const Row rows[] = {
        {"record offset inside the index", patched32(entry, 12), "record offset 12 lies outside the file"},
        {"record offset past the end", patched32(entry, 0xFFFFFFF0u), "record offset 4294967280 lies outside the file"},
        {"record head cut by the end", patched32(entry, static_cast<uint32_t>(good.size() - 5)), "lies outside the file"},
        {"negative polygon count", patched16(record + 4, -1), "negative polygon count -1"},
        {"polygon count beyond the file", patched16(record + 4, 32767), "the file ends before its 32767 polygons"},
        {"negative point count", patched16(firstPointCount, -2), "bad point count -2"},
        {"point count beyond the file", patched16(firstPointCount, 30000), "the file ends before a polygon's 30000 points"},
        {"latitude past the pole", patched32(firstLatitude, static_cast<uint32_t>(ANGLE_RIGHT + 1)), "polygon 0 holds a point off the globe"},
        {"no room for the index", good.substr(0, 1000), "too short for a tile index (1000 bytes)"},
        {"empty file", "", "too short for a tile index (0 bytes)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ReportCapture reports;
        TileFromFiles t(TILE, r.bytes);
        EXPECT_FALSE(t.initResult);
        EXPECT_LT(t.tile.GetPolyCount(MAP_LAYER_COAST), 0);
        EXPECT_EQ(t.tile.GetPolys(MAP_LAYER_COAST), nullptr);
        ASSERT_EQ(reports.errors.size(), 1u);
        EXPECT_NE(reports.errors[0].find("MapTile::BuildMapPolyList: tile (11, 20): "), std::string::npos)
            << reports.errors[0];
        EXPECT_NE(reports.errors[0].find(r.report), std::string::npos) << reports.errors[0];
    }
}

TEST(MapTileInit, RefusesIdsOffTheGlobeBeforeSeeking)
{
    for (const Point16 id : {Point16{91, 0}, Point16{-90, 0}, Point16{0, 180}, Point16{0, -181},
                             Point16{-32768, -32768}}) {
        SCOPED_TRACE(testing::Message() << id.x << ", " << id.y);
        ReportCapture reports;
        TileFromFiles t(id, EmptyMapFileBytes());
        EXPECT_FALSE(t.initResult);
        EXPECT_EQ(t.tile.GetPolyCount(MAP_LAYER_COAST), -1);
        ASSERT_EQ(reports.errors.size(), 1u);
        EXPECT_NE(reports.errors[0].find("no such cell on the globe"), std::string::npos);
    }
}

TEST(MapTileInit, TruncatedFilesAreRefusedAtEveryCut)
{
    const std::string whole = FileWith(TILE, {Square(10.2, 20.2, 0.3), Outline({{10.1, 20.1}})});
    std::vector<size_t> cuts = {0, 4, MAP_FILE_INDEX_BYTES - 1};
    for (size_t n = MAP_FILE_INDEX_BYTES; n < whole.size(); ++n)
        cuts.push_back(n);
    for (size_t cut : cuts) {
        SCOPED_TRACE(cut);
        ReportCapture reports;
        TileFromFiles t(TILE, whole.substr(0, cut));
        EXPECT_FALSE(t.initResult);
        EXPECT_EQ(reports.errors.size() + reports.fatals.size(), 1u);
    }
    TileFromFiles t(TILE, whole);
    EXPECT_TRUE(t.initResult);
    EXPECT_EQ(t.tile.GetPolyCount(MAP_LAYER_COAST), 2);
}

TEST(MapTileInit, OneDamagedRecordDoesNotFailLaterTilesOfTheSameFile)
{
    MapFileWriter writer;
    std::string error;
    const Point16 other{11, 21};
    ASSERT_TRUE(writer.AddCellPolygon(TILE, Square(10.2, 20.2, 0.3), error));
    ASSERT_TRUE(writer.AddCellPolygon(other, Square(10.2, 21.2, 0.3), error));
    std::string bytes = MapFileBytes(writer);
    PatchU32At(bytes, MapFileIndexOffset(TILE), 0xFFFFFF00u);

    ReportCapture reports;
    FlatProjection projection;
    std::istringstream coast(bytes), country(EmptyMapFileBytes()), ice(EmptyMapFileBytes());
    MapTile bad, good;
    EXPECT_FALSE(bad.Init(TILE, coast, country, ice, &projection));
    EXPECT_TRUE(good.Init(other, coast, country, ice, &projection));
    EXPECT_EQ(good.GetPolyCount(MAP_LAYER_COAST), 1);
}

TEST(MapTileInit, WithoutAProjectionIsFatalAndReadsNothing)
{
    ReportCapture reports;
    std::istringstream coast(FileWith(TILE, {Square(10.2, 20.2, 0.3)}));
    std::istringstream country(EmptyMapFileBytes()), ice(EmptyMapFileBytes());
    MapTile tile;
    EXPECT_FALSE(tile.Init(TILE, coast, country, ice, nullptr));
    EXPECT_EQ(reports.fatals.size(), 1u);
    EXPECT_TRUE(tile.IsEmpty());
}

TEST(MapTileDraw, WholeTileInViewDrawsEverySelectedOutline)
{
    // Tile rectangle: x 20..21 degrees, y 10..11 degrees.
    TileFromFiles t(TILE, FileWith(TILE, {Square(10.1, 20.1, 0.1), Square(10.8, 20.8, 0.1)}),
                    FileWith(TILE, {Outline({{10.5, 20.1}, {10.5, 20.9}})}),
                    FileWith(TILE, {Outline({{10.9, 20.1}, {10.9, 20.9}})}));
    ASSERT_TRUE(t.initResult);
    const XYRect everything(Degrees(19), Degrees(12), Degrees(22), Degrees(9));
    const XYRect exact(Degrees(20), Degrees(11), Degrees(21), Degrees(10));   // edges count as inside

    for (const XYRect& view : {everything, exact}) {
        RecordingPenScope pen;
        t.tile.Draw(1, MAP_LAYER_COAST | MAP_LAYER_COUNTRY | MAP_LAYER_ICE | 0x40, view);
        EXPECT_EQ(pen.Count(PenCall::Move), 4u);
        EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_COAST), 8u);
        EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_COUNTRY), 1u);
        EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_ICE), 1u);
        // Coast, then country, then ice.
        EXPECT_EQ(pen.calls.back().colour, MAP_LAYER_ICE);
        EXPECT_EQ(pen.calls[1].colour, MAP_LAYER_COAST);
    }

    RecordingPenScope pen;
    t.tile.Draw(1, MAP_LAYER_COUNTRY, everything);
    EXPECT_EQ(pen.calls.size(), 2u);
    EXPECT_EQ(pen.Count(PenCall::Line, MAP_LAYER_COUNTRY), 1u);
}

TEST(MapTileDraw, PartlyVisibleTileDrawsOnlyOutlinesTheViewOverlaps)
{
    TileFromFiles t(TILE, FileWith(TILE, {Square(10.1, 20.1, 0.1), Square(10.8, 20.8, 0.1)}));
    ASSERT_TRUE(t.initResult);
    struct Row { const char* name; XYRect view; size_t moves; };
    const Row rows[] = {
        {"south-west corner", XYRect(Degrees(19), Degrees(10.5), Degrees(20.5), Degrees(9)), 1},
        {"touching the first square's corner", XYRect(Degrees(19), Degrees(10.1), Degrees(20.1), Degrees(9)), 1},
        {"between the squares", XYRect(Degrees(20.4), Degrees(10.6), Degrees(20.6), Degrees(10.4)), 0},
        {"beside the tile", XYRect(Degrees(22), Degrees(11), Degrees(23), Degrees(10)), 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        RecordingPenScope pen;
        t.tile.Draw(1, MAP_LAYER_COAST, r.view);
        EXPECT_EQ(pen.Count(PenCall::Move), r.moves);
    }
}

TEST(MapTileCrossings, CoastAndIceCountAndBordersAreIgnored)
{
    // Each layer holds one square around the tile's middle; a segment from the
    // middle outwards crosses each once.
    const MapOutline square = Square(10.25, 20.25, 0.5);
    TileFromFiles t(TILE, FileWith(TILE, {square}), FileWith(TILE, {square}), FileWith(TILE, {square}));
    ASSERT_TRUE(t.initResult);
    const LatLonPoint middle(Degrees(10.5), Degrees(20.5));
    const LatLonPoint outside(Degrees(10.5), Degrees(20.9));
    struct Row { int16_t mask; int32_t crossings; };
    const Row rows[] = {{0, 0}, {1, 1}, {2, 0}, {4, 1}, {5, 2}, {7, 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mask);
        EXPECT_EQ(t.tile.CountCrossings(middle, outside, r.mask), r.crossings);
    }
    // An outline whose box the segment misses is not examined.
    EXPECT_EQ(t.tile.CountCrossings({Degrees(10.1), Degrees(20.1)}, {Degrees(10.2), Degrees(20.1)}, 5), 0);
}

TEST(MapTileFirstCrossing, CoastBeforeIceAndOnlyLayersOneAndFour)
{
    // The ice square lies nearer to a than the coast square.
    TileFromFiles t(TILE, FileWith(TILE, {Square(10.4, 20.7, 0.2)}), FileWith(TILE, {Square(10.4, 20.1, 0.8)}),
                    FileWith(TILE, {Square(10.4, 20.3, 0.2)}));
    ASSERT_TRUE(t.initResult);
    const LatLonPoint a0(Degrees(10.5), Degrees(20.2));
    const LatLonPoint b0(Degrees(10.5), Degrees(20.95));
    struct Row { int16_t mask; LatLonPoint expected; };
    const Row rows[] = {
        {2, LatLonPoint::None()},
        // Each square's second edge (its east side) comes first in edge
        // order, though the segment meets the west side nearer to a.
        {1, {Degrees(10.5), Degrees(20.9)}},
        {4, {Degrees(10.5), Degrees(20.5)}},
        {5, {Degrees(10.5), Degrees(20.9)}},   // coast wins although the ice is nearer
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mask);
        LatLonPoint a = a0, b = b0;
        const LatLonPoint found = t.tile.FirstCrossing(&a, &b, r.mask, 0);
        if (r.expected.IsNone()) {
            EXPECT_TRUE(found.IsNone());
        } else {
            EXPECT_EQ(found, r.expected);
        }
        EXPECT_EQ(a, a0);
    }
    // A segment that misses the cell finds nothing.
    LatLonPoint a(Degrees(12.5), Degrees(20.2)), b(Degrees(12.5), Degrees(20.9));
    EXPECT_TRUE(t.tile.FirstCrossing(&a, &b, 5, 0).IsNone());
}

TEST(MapTileFirstCrossing, DatelineFlagMovesBothPointsToTheTilesSide)
{
    const Point16 west{11, -180};
    const Point16 east{11, 179};
    TileFromFiles westTile(west, FileWith(west, {Outline({{10.2, -179.8}, {10.8, -179.8}})}));
    TileFromFiles eastTile(east, FileWith(east, {Outline({{10.2, 179.8}, {10.8, 179.8}})}));
    ASSERT_TRUE(westTile.initResult);
    ASSERT_TRUE(eastTile.initResult);

    LatLonPoint a(Degrees(10.5), Degrees(179.5)), b(Degrees(10.5), Degrees(-179.5));
    EXPECT_EQ(westTile.tile.FirstCrossing(&a, &b, 1, 1), LatLonPoint(Degrees(10.5), Degrees(-179.8)));
    EXPECT_EQ(a.lon, Degrees(179.5) - ANGLE_FULL);   // moved, and the caller sees it
    EXPECT_EQ(b.lon, Degrees(-179.5));

    a = LatLonPoint(Degrees(10.5), Degrees(179.5));
    b = LatLonPoint(Degrees(10.5), Degrees(-179.5));
    EXPECT_EQ(eastTile.tile.FirstCrossing(&a, &b, 1, 1), LatLonPoint(Degrees(10.5), Degrees(179.8)));
    EXPECT_EQ(a.lon, Degrees(179.5));
    EXPECT_EQ(b.lon, Degrees(-179.5) + ANGLE_FULL);

    // Without the flag the points stay, and the long way round misses nothing here.
    a = LatLonPoint(Degrees(10.5), Degrees(179.5));
    b = LatLonPoint(Degrees(10.5), Degrees(-179.5));
    westTile.tile.FirstCrossing(&a, &b, 1, 0);
    EXPECT_EQ(a.lon, Degrees(179.5));
}
