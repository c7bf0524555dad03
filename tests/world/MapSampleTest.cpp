// Tests of the sample map files the build makes from data/map/sample.json
// (MAPS/SAMPLE.cst, .cty, .ice): every tile of the sea area reads cleanly
// through the Miller projection, the island, the mainland coast, the border
// and the ice edge lie where the description puts them, and the map's land
// and ice tests answer as the description's outlines do all over the area.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/SampleMap.h"
#include "core/Projection.h"
#include "support/MapFiles.h"
#include "support/ReportCapture.h"
#include "world/Map.h"
#include "world/MapTile.h"

namespace {

class SampleMap : public testing::Test {
protected:
    SampleMap()
        : coast(Path(".cst"), std::ios::binary),
          country(Path(".cty"), std::ios::binary),
          ice(Path(".ice"), std::ios::binary),
          projection(LatLonPoint(0, 0))
    {
    }

    static std::string Path(const char* extension)
    {
        return std::string(TESSARN_DATA_DIR) + "/MAPS/SAMPLE" + extension;
    }

    // Reads tile (north, west), expecting no trouble.
    void Read(MapTile& tile, int16_t north, int16_t west)
    {
        ASSERT_TRUE(coast.is_open() && country.is_open() && ice.is_open());
        ReportCapture reports;
        ASSERT_TRUE(tile.Init(Point16{north, west}, coast, country, ice, &projection));
        EXPECT_TRUE(reports.errors.empty());
        EXPECT_TRUE(reports.fatals.empty());
    }

    static LatLonPoint At(double lat, double lon) { return {Degrees(lat), Degrees(lon)}; }

    std::ifstream coast, country, ice;
    MillerCylindrical projection;
};

}  // namespace

TEST_F(SampleMap, EveryTileOfTheSeaAreaReads)
{
    int withCoast = 0, withBorder = 0, withIce = 0;
    for (int16_t north = 73; north <= 76; ++north) {
        for (int16_t west = -4; west <= 5; ++west) {
            SCOPED_TRACE(testing::Message() << north << ", " << west);
            MapTile tile;
            Read(tile, north, west);
            withCoast += tile.GetPolyCount(MAP_LAYER_COAST) > 0;
            withBorder += tile.GetPolyCount(MAP_LAYER_COUNTRY) > 0;
            withIce += tile.GetPolyCount(MAP_LAYER_ICE) > 0;
            // The tile rectangle takes in the projected cell corners.
            const XYPoint corner = projection.LatLon_to_XY(LatLonPoint(tile.GetCell().north, tile.GetCell().west));
            EXPECT_LE(tile.GetXYRect().left, corner.x);
            EXPECT_GE(tile.GetXYRect().top, corner.y);
        }
    }
    EXPECT_GE(withCoast, 12);
    EXPECT_GE(withBorder, 1);
    EXPECT_GE(withIce, 10);

    MapTile faraway;
    Read(faraway, 10, 10);
    EXPECT_TRUE(faraway.IsEmpty());
}

TEST_F(SampleMap, OutlinesLieWhereTheDescriptionPutsThem)
{
    struct Row { const char* name; int16_t north, west; LatLonPoint a, b; int16_t mask; int32_t crossings; };
    const Row rows[] = {
        {"island shore", 75, 0, At(74.9, 0.5), At(74.2, 0.5), MAP_LAYER_COAST, 1},
        {"open sea south of the island", 75, 0, At(74.2, 0.2), At(74.2, 0.8), MAP_LAYER_COAST, 0},
        {"island across its tiles", 75, -1, At(74.7, -0.3), At(74.7, -0.95), MAP_LAYER_COAST, 1},
        {"mainland shore", 73, 2, At(72.3, 2.5), At(72.95, 2.5), MAP_LAYER_COAST, 1},
        {"ice edge", 76, 0, At(75.95, 0.5), At(75.35, 0.5), MAP_LAYER_ICE, 1},
        {"ice edge, coast ignored", 76, 0, At(75.95, 0.5), At(75.35, 0.5), MAP_LAYER_COAST | MAP_LAYER_ICE, 1},
        {"the border is no coast", 73, -2, At(72.2, -1.8), At(72.2, -1.1), MAP_LAYER_COAST, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        MapTile tile;
        Read(tile, r.north, r.west);
        EXPECT_EQ(tile.CountCrossings(r.a, r.b, r.mask), r.crossings);
    }

    MapTile border;
    Read(border, 73, -2);
    EXPECT_GE(border.GetPolyCount(MAP_LAYER_COUNTRY), 1);
    LatLonPoint a = At(72.2, -1.8), b = At(72.2, -1.1);
    EXPECT_TRUE(border.FirstCrossing(&a, &b, MAP_LAYER_COUNTRY, 0).IsNone());   // borders never stop a leg
}

namespace {

// Land 800 units high, sea 800 deep; ice-pack cells odd.
int16_t FlatCell(bool land, bool ice, int32_t, int32_t)
{
    const int16_t cell = land ? int16_t{800} : int16_t{-800};
    return ice ? static_cast<int16_t>(cell | 1) : cell;
}

// Distance in angle units (latitude and longitude taken as a plane, as the
// crossing tests take them) from p to the nearest edge of the outlines.
double DistanceToOutlines(const std::vector<MapOutline>& outlines, const LatLonPoint& p)
{
    double best = INFINITY;
    for (const MapOutline& outline : outlines) {
        for (size_t i = 1; i < outline.size(); ++i) {
            const double ax = outline[i - 1].second, ay = outline[i - 1].first;
            const double dx = outline[i].second - ax, dy = outline[i].first - ay;
            const double px = p.lon - ax, py = p.lat - ay;
            const double length2 = dx * dx + dy * dy;
            const double t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
            best = std::min(best, std::hypot(px - t * dx, py - t * dy));
        }
    }
    return best;
}

}  // namespace

// Every point of a 0.02-degree lattice over the sea area reads as land (and
// as ice) exactly when a plain even-odd test of the description's outlines
// puts it inside, except points within a few angle units of an outline,
// where rounding may fall either way. An outline through a grid point the
// tests measure from once turned a whole tile the wrong way.
TEST(SampleMapAnswers, LandAndIceFollowTheOutlinesOverAFineLattice)
{
    constexpr double STEP = 0.02;             // degrees
    constexpr double NEAR_OUTLINE = 4;        // angle units
    std::string error;
    const std::unique_ptr<Map> map = samplemap::LoadSampleMap(error, &FlatCell);
    ASSERT_NE(map, nullptr) << error;
    std::ifstream description(std::string(TESSARN_SOURCE_DIR) + "/data/map/sample.json");
    MapSource source;
    ASSERT_TRUE(ReadMapSource(description, source, error)) << error;

    struct Layer { const char* name; const std::vector<MapOutline>& outlines; bool (Map::*test)(LatLonPoint) const; };
    const Layer layers[] = {{"land", source.layers[0], &Map::Is_Land}, {"ice", source.layers[2], &Map::Is_Ice}};
    ReportCapture reports;
    for (const Layer& layer : layers) {
        SCOPED_TRACE(layer.name);
        int checked = 0, wrong = 0;
        std::ostringstream listed;
        for (int y = 0; y <= 200; ++y) {
            for (int x = 0; x <= 500; ++x) {
                const double lat = 72 + y * STEP, lon = -4 + x * STEP;
                const LatLonPoint p = samplemap::At(lat, lon);
                ++checked;
                if ((map.get()->*layer.test)(p) == samplemap::InsideAny(layer.outlines, lat, lon))
                    continue;
                if (DistanceToOutlines(layer.outlines, p) <= NEAR_OUTLINE)
                    continue;
                if (++wrong <= 10)
                    listed << " (" << lat << ", " << lon << ")";
            }
        }
        EXPECT_EQ(wrong, 0) << "of " << checked << " points, for instance" << listed.str();
    }
    EXPECT_TRUE(reports.fatals.empty());
    EXPECT_TRUE(reports.errors.empty());
}
