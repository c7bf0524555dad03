// Tests of the sample map files the build makes from data/map/sample.json
// (MAPS/SAMPLE.cst, .cty, .ice): every tile of the sea area reads cleanly
// through the Miller projection, and the island, the mainland coast, the
// border and the ice edge lie where the description puts them.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/Projection.h"
#include "support/MapFiles.h"
#include "support/ReportCapture.h"
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
