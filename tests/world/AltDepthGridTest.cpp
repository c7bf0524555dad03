// AltDepthGridTest.cpp: the altitude and depth grid: sizes from the scenario
// corners, refused sizes, the cells' saved form whole and cut short, the
// interpolated altitude on and beyond every edge of grids of both signs, off
// the half-degree lines and across the 180-degree meridian, the land and ice
// reference cells, and the shading as the map pen records it.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/Projection.h"
#include "support/RecordingPen.h"
#include "support/ReportCapture.h"
#include "world/AltDepthGrid.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"

namespace {

constexpr int32_t HALF = AltDepthGrid::STEP;

int32_t Deg(double degrees)
{
    return static_cast<int32_t>(std::lround(degrees * ANGLE_PER_DEGREE));
}

LatLonPoint At(double lat, double lon)
{
    return {Deg(lat), Deg(lon)};
}

// A grid over (north, west) .. (south, east) in degrees, east given already
// aligned; cell(lat, lon) gives each grid point's value (degrees of the point).
struct GridPlan {
    double north, west, south, east;
    uint16_t icepack = 0;

    int32_t Rows() const { return (Deg(north) - Deg(south)) / HALF + 1; }
    int32_t Columns() const { return (Deg(east) - Deg(west)) / HALF + 1; }
    // The grid point of row r, column c, in degrees (first row and column
    // truncated toward zero to half degrees).
    double RowLat(int32_t r) const { return (Deg(north) / HALF - r) * 0.5; }
    double ColumnLon(int32_t c) const { return (Deg(west) / HALF + c) * 0.5; }
};

std::string CellBytes(const GridPlan& plan, const std::function<int16_t(double, double)>& cell)
{
    std::string bytes;
    for (int32_t r = 0; r < plan.Rows(); ++r) {
        for (int32_t c = 0; c < plan.Columns(); ++c) {
            const uint16_t v = static_cast<uint16_t>(cell(plan.RowLat(r), plan.ColumnLon(c)));
            bytes.push_back(static_cast<char>(v & 0xFF));
            bytes.push_back(static_cast<char>(v >> 8));
        }
    }
    return bytes;
}

std::unique_ptr<AltDepthGrid> MakeGrid(const GridPlan& plan, const std::string& bytes)
{
    std::istringstream in(bytes, std::ios::binary);
    return std::make_unique<AltDepthGrid>(in, At(plan.north, plan.west), At(plan.south, plan.east),
                                          plan.icepack);
}

// A value that names its grid point: 8 x (100 x lat + lon), so the altitude
// query (cell / 8) gives 100 x lat + lon for whole and half degrees.
int16_t Named(double lat, double lon)
{
    return static_cast<int16_t>(8 * std::lround(100 * lat + lon));
}
int32_t NamedAltitude(double lat, double lon)
{
    return static_cast<int32_t>(std::lround(100 * lat + lon));
}

}  // namespace

TEST(AltDepthGridSize, FollowsTheCornersInHalfDegrees)
{
    struct Row { GridPlan plan; int32_t rows, columns; int16_t northIndex, westIndex; };
    const Row rows[] = {
        {{10, 20, 9, 21}, 3, 3, 20, 40},
        {{10, -10, -10, 10}, 41, 41, 20, -20},
        {{10.3, -10.3, -20.3, 10.3}, 62, 42, 20, -20},   // off the half-degree lines
        {{10.2, 20.1, 9.9, 20.4}, 1, 1, 20, 40},
        {{10, 179.5, 9, 181}, 3, 4, 20, 359},             // across 180, east aligned
        {{90, -180, -90, 180}, 361, 721, 180, -360},      // the whole world
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.plan.north << " " << r.plan.west << " " << r.plan.south
                                        << " " << r.plan.east);
        // One byte more than the grid needs: the grid must leave it.
        std::istringstream in(std::string(2 * r.rows * r.columns, '\0') + "X", std::ios::binary);
        AltDepthGrid grid(in, At(r.plan.north, r.plan.west), At(r.plan.south, r.plan.east), 0);
        EXPECT_TRUE(grid.Is_Valid());
        EXPECT_EQ(grid.Get_Row_Count(), r.rows);
        EXPECT_EQ(grid.Get_Column_Count(), r.columns);
        EXPECT_EQ(grid.Get_North_Index(), r.northIndex);
        EXPECT_EQ(grid.Get_West_Index(), r.westIndex);
        EXPECT_EQ(in.get(), 'X');
    }
}

TEST(AltDepthGridSize, RefusesImpossibleSizesWithoutReading)
{
    const GridPlan rows[] = {
        {9, 20, 10, 21},          // south of north: no rows
        {10, 170, 9, -170},       // east not aligned across 180: no columns
        {90, 20, -90.5, 21},      // 362 rows
        {10, -180, 9, 180.5},     // 722 columns
        {89, -179, -89, 1000},    // far more than once round the world
    };
    for (const GridPlan& plan : rows) {
        SCOPED_TRACE(testing::Message() << plan.north << " " << plan.west << " " << plan.south
                                        << " " << plan.east);
        ReportCapture reports;
        RecordingPenScope pen;
        std::istringstream in(std::string(64, '\x10'), std::ios::binary);
        AltDepthGrid grid(in, At(plan.north, plan.west), At(plan.south, plan.east), 0xFFFF);
        EXPECT_FALSE(grid.Is_Valid());
        ASSERT_EQ(reports.errors.size(), 1u);
        EXPECT_EQ(reports.errors[0].rfind("AltDepthGrid::AltDepthGrid: ", 0), 0u) << reports.errors[0];
        EXPECT_EQ(in.tellg(), 0);
        // Every query stays neutral, nothing is drawn or written.
        EXPECT_EQ(grid.Get_Altitude(At(10, 20)), 0);
        EXPECT_EQ(grid.Get_Cell(At(10, 20)), 0);
        EXPECT_EQ(grid.Is_Ice(At(10, 20)), -1);
        grid.Draw_Altitudes(LatLonRect(Deg(10), Deg(20), Deg(9), Deg(21)));
        grid.Draw_Ice(LatLonRect(Deg(10), Deg(20), Deg(9), Deg(21)));
        EXPECT_TRUE(pen.calls.empty());
        std::ostringstream out;
        EXPECT_TRUE(grid.Save(out));
        EXPECT_TRUE(out.str().empty());
    }
}

TEST(AltDepthGridFile, SavesTheBytesItRead)
{
    const GridPlan plan{10, 20, 9, 21};
    const std::string bytes = CellBytes(plan, [](double lat, double lon) {
        return static_cast<int16_t>(lat == 9.5 ? -8 : Named(lat, lon) + 0x4000 * (lon == 20.5));
    });
    ASSERT_EQ(bytes.size(), 18u);   // 3 rows of 3 cells
    auto grid = MakeGrid(plan, bytes);
    ASSERT_TRUE(grid->Is_Valid());
    std::ostringstream out(std::ios::binary);
    EXPECT_TRUE(grid->Save(out));
    EXPECT_EQ(out.str(), bytes);
}

TEST(AltDepthGridFile, CutShortKeepsWholeRowsAndFailsTheStream)
{
    const GridPlan plan{10, 20, 9, 21};
    const std::string bytes = CellBytes(plan, Named);
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(testing::Message() << length << " bytes");
        std::istringstream in(bytes.substr(0, length), std::ios::binary);
        AltDepthGrid grid(in, At(10, 20), At(9, 21), 0);
        EXPECT_TRUE(in.fail());   // the caller judges the stream
        EXPECT_TRUE(grid.Is_Valid());
        const size_t wholeRows = length / 6;
        for (int32_t r = 0; r < 3; ++r) {
            const double lat = plan.RowLat(r);
            const int32_t expected = static_cast<size_t>(r) < wholeRows ? NamedAltitude(lat, 20.5) : 0;
            EXPECT_EQ(grid.Get_Altitude(At(lat, 20.5)), expected) << "row " << r;
        }
        // Saved again it keeps its full size, the unread cells 0.
        std::ostringstream out(std::ios::binary);
        grid.Save(out);
        EXPECT_EQ(out.str().size(), bytes.size());
        EXPECT_EQ(out.str().substr(0, wholeRows * 6), bytes.substr(0, wholeRows * 6));
    }
}

TEST(AltDepthGridAltitude, GridPointsGiveTheirOwnValue)
{
    // Both signs in both directions: 11 N to 9 N over -11 to -9, and the
    // mirror. On +10 the interpolation runs from the 10.5 row down with the
    // full weight; on -10 from the -10.5 column with the full weight.
    const GridPlan plans[] = {{11, -11, 9, -9}, {-9, 9, -11, 11}, {1, -1, -1, 1}};
    for (const GridPlan& plan : plans) {
        auto grid = MakeGrid(plan, CellBytes(plan, Named));
        for (int32_t r = 0; r < plan.Rows(); ++r) {
            for (int32_t c = 0; c < plan.Columns(); ++c) {
                const double lat = plan.RowLat(r);
                const double lon = plan.ColumnLon(c);
                SCOPED_TRACE(testing::Message() << lat << ", " << lon);
                EXPECT_EQ(grid->Get_Altitude(At(lat, lon)), NamedAltitude(lat, lon));
            }
        }
    }
}

TEST(AltDepthGridAltitude, InterpolatesBetweenTheFourNeighbours)
{
    // Columns -1, -0.5, 0, 0.5, 1 hold 0, 10, 20, 100, 100 (cell / 8), the
    // same in every row, so the answer depends on the longitude only.
    const GridPlan plan{1, -1, -1, 1};
    auto grid = MakeGrid(plan, CellBytes(plan, [](double, double lon) {
        const int16_t byColumn[5] = {0, 80, 160, 800, 800};
        return byColumn[static_cast<int>(std::lround((lon + 1) * 2))];
    }));
    struct Row { double lat, lon; int32_t expected; };
    const Row rows[] = {
        {0.3, -0.75, 5},
        {-0.4, -0.25, 15},
        // Just west of 0: between the -0.5 and 0 columns. Used to extrapolate
        // westward from the 0 and 0.5 columns: 20 - 80 x 0.4 = -12.
        {0, -0.2, 16},
        {0, 0.25, 60},
        {0.1, 0.75, 100},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lat << ", " << r.lon);
        EXPECT_EQ(grid->Get_Altitude(At(r.lat, r.lon)), r.expected);
    }

    // Rows: 8 at 10.5, 16 at 10, bilinear with truncation toward zero, and a
    // raw -8 shifting to -1.
    const GridPlan rowsPlan{10.5, 20, 10, 20.5};
    auto byRow = MakeGrid(rowsPlan, CellBytes(rowsPlan, [](double lat, double lon) {
        if (lon == 20.5)
            return static_cast<int16_t>(-8);
        return static_cast<int16_t>(lat == 10.5 ? 64 : 128);
    }));
    EXPECT_EQ(byRow->Get_Altitude(At(10.25, 20)), 12);
    EXPECT_EQ(byRow->Get_Altitude(At(10.25, 20.5)), -1);
    // Each step truncates toward zero: upper 8 - 4.5 -> 4, lower 16 - 8.5 -> 8.
    EXPECT_EQ(byRow->Get_Altitude(At(10.25, 20.25)), 6);
}

TEST(AltDepthGridAltitude, EveryEdgeHoldsItsValueOnAndBeyondIt)
{
    struct Row { double lat, lon; double gridLat, gridLon; };   // the query, the cell it gives
    struct Case { GridPlan plan; std::vector<Row> rows; };
    const Case cases[] = {
        // All edges positive: 10 N to 5 N, 20 E to 25 E.
        {{10, 20, 5, 25}, {
            {10, 22, 10, 22},       // on the north edge: used to give the 9.5 row
            {10.3, 22, 10, 22},     // north of it
            {5, 22, 5, 22},
            {4.6, 22, 5, 22},       // south of it
            {7, 20, 7, 20},
            {7, 19.7, 7, 20},       // west of it
            {7, 25, 7, 25},         // on the east edge: used to read past the row
            {7.5, 25.4, 7.5, 25},   // east of it
            {5, 25, 5, 25},         // south-east corner
            {11, 26, 10, 25},
        }},
        // All edges negative: 5 S to 10 S, 25 W to 20 W.
        {{-5, -25, -10, -20}, {
            {-5, -22, -5, -22},
            {-4.7, -22, -5, -22},
            {-10, -22, -10, -22},   // on the south edge: used to read past the end
            {-10.4, -22, -10, -22},
            {-7, -25, -7, -25},     // on the west edge: used to read column 719
            {-7, -25.3, -7, -25},
            {-7, -20, -7, -20},
            {-7, -19.6, -7, -20},
            {-10, -25, -10, -25},
            {-11, -26, -10, -25},
        }},
        // Edges off the half-degree lines: the grid runs 10 to 4.5 N and
        // -10 to -5, the scenario corners lie a little beyond.
        {{10.3, -10.2, 4.8, -4.9}, {
            {10.3, -10.2, 10, -10},
            {10, -10, 10, -10},
            {4.5, -5, 4.5, -5},
            {4.8, -4.9, 5, -5},     // between the 5 and 4.5 rows, nearer 5
            {4.2, -4.9, 4.5, -5},
        }},
    };
    for (const Case& c : cases) {
        // Row values that differ by 1 per half degree of latitude and of
        // longitude would hide a wrong neighbour in the interpolation, so
        // every grid point gets its own name.
        auto grid = MakeGrid(c.plan, CellBytes(c.plan, Named));
        for (const Row& r : c.rows) {
            SCOPED_TRACE(testing::Message() << "grid " << c.plan.north << " " << c.plan.west
                                            << ": " << r.lat << ", " << r.lon);
            const int32_t altitude = grid->Get_Altitude(At(r.lat, r.lon));
            if (r.lat == 4.8) {
                // 0.2 degrees south of the 5 row, towards the 4.5 row.
                const int32_t upper = NamedAltitude(5, -5), lower = NamedAltitude(4.5, -5);
                EXPECT_EQ(altitude, (lower - upper) * Deg(0.2) / HALF + upper);
            } else {
                EXPECT_EQ(altitude, NamedAltitude(r.gridLat, r.gridLon));
            }
            // The probes of the land and ice tests stay inside as well.
            EXPECT_EQ(grid->Get_Cell(At(r.lat, r.lon)) & 0x6000, 0);
        }
    }
}

TEST(AltDepthGridAltitude, ColumnsWrapAcrossTheDateLine)
{
    // First column 179.5 (west index 359), then 180, 180.5 (-179.5) and 181
    // (-179); every column is named by its own longitude.
    const GridPlan plan{10, 179.5, 9, 181};
    auto grid = MakeGrid(plan, CellBytes(plan, [](double, double lon) {
        return static_cast<int16_t>(8 * std::lround(lon * 2));
    }));
    struct Row { double lon; int32_t expected; };
    const Row rows[] = {
        {179.5, 359},
        {180, 360},
        {-179.5, 361},   // j = -360: between 180 and 180.5, the latter in full
        {-179, 362},
        {-179.25, 361},  // halfway to -179, truncated
        {-178, 362},     // east of the grid: the east column
        {170, 359},      // west of the grid: the west column
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "lon " << r.lon);
        EXPECT_EQ(grid->Get_Altitude(At(9.5, r.lon)), r.expected);
    }

    // Round the world: -180 and 180 are the two end columns.
    const GridPlan world{1, -180, -1, 180};
    auto round = MakeGrid(world, CellBytes(world, [](double, double lon) {
        return static_cast<int16_t>(8 * std::lround(lon * 2));
    }));
    EXPECT_EQ(round->Get_Altitude(At(0, -180)), -360);
    EXPECT_EQ(round->Get_Altitude(At(0, 180)), 360);
    EXPECT_EQ(round->Get_Altitude(At(0, 179.75)), 359);
    EXPECT_EQ(round->Get_Cell(At(0, -180)), static_cast<int16_t>((-360 * 8) & ~0x6000));
}

TEST(AltDepthGridCell, ClearsTheLandBitsAndTruncatesToTheGrid)
{
    const GridPlan plan{10, -21, 9, -20};
    auto grid = MakeGrid(plan, CellBytes(plan, [](double lat, double lon) -> int16_t {
        if (lat == 10 && lon == -21)
            return 0x7FFF;
        if (lat == 10 && lon == -20.5)
            return 0x6000;
        if (lat == 9.5)
            return -8;
        return static_cast<int16_t>(lon == -20 ? 0x2123 : 0x0123);
    }));
    struct Row { double lat, lon; int16_t expected; };
    const Row rows[] = {
        {10, -21, 0x1FFF},
        {10, -20.5, 0},
        {9.5, -21, static_cast<int16_t>(0x9FF8)},    // -8 keeps its sign bit
        {9.7, -20.7, static_cast<int16_t>(0x9FF8)},  // toward zero: 9.5 row, -20.5 column
        {9, -20, 0x0123},
        {11, -22, 0x1FFF},                            // beyond a corner: the corner
        {8, -19, 0x0123},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.lat << ", " << r.lon);
        EXPECT_EQ(grid->Get_Cell(At(r.lat, r.lon)), r.expected);
    }
}

TEST(AltDepthGridCell, IceTestsTheRawCellAgainstTheMask)
{
    GridPlan plan{10, 20, 9.5, 20.5};
    const auto cells = [](double lat, double lon) -> int16_t {
        if (lat == 10 && lon == 20)
            return 0x4005;
        if (lat == 10)
            return 0x0005;
        return static_cast<int16_t>(lon == 20 ? -0x7FF8 : -1);
    };
    struct Row { uint16_t icepack; double lat, lon; int32_t expected; };
    const Row rows[] = {
        {0x4000, 10, 20, 1},     // a bit Get_Cell would clear still counts
        {0x4000, 10, 20.5, -1},
        {0x0004, 10, 20.5, 1},
        {0x8000, 9.5, 20, 1},
        {0x0000, 10, 20, -1},    // no mask: nowhere ice
        {0x0000, 9.5, 20.5, -1},
        {0x4000, 12, 18, 1},     // off the grid: the corner cell
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.icepack << " at " << r.lat << ", " << r.lon);
        plan.icepack = r.icepack;
        EXPECT_EQ(MakeGrid(plan, CellBytes(plan, cells))->Is_Ice(At(r.lat, r.lon)), r.expected);
    }
}

namespace {

// Shading draws through Nav2Game::LatLonToXY, which asks gMap: a small
// Miller (0,0) map is loaded and installed for the test's duration.
class GridShading : public testing::Test {
protected:
    void SetUp() override
    {
        maptest::SectionPlan section;
        section.area = LatLonRect(Deg(1), 0, 0, Deg(1));
        section.projectionID = PROJECTION_MILLER;
        section.FillCells(-100);
        ASSERT_TRUE(files.Write(section, {}));
        bool ok = false;
        map = maptest::LoadMap(maptest::SectionBytes(section), files.Directory(), &ok);
        ASSERT_TRUE(ok);
        previous = gMap;
        gMap = map.get();
    }
    void TearDown() override { gMap = previous; }

    // The plot the shading makes at a grid point.
    static PenCall PlotAt(double lat, double lon, int16_t colour)
    {
        return {PenCall::Plot, kMiller.LatLon_to_XY(At(lat, lon)), colour};
    }

    static inline const MillerCylindrical kMiller{LatLonPoint(0, 0)};
    maptest::MapFiles files;
    std::unique_ptr<Map> map;
    Map* previous = nullptr;
    RecordingPenScope pen;
};

}  // namespace

TEST_F(GridShading, ColourBandsFollowTheCells)
{
    // One row at 10 N: the cells below, from 0 E eastward every half degree.
    const int16_t values[] = {-1000, -801, -800, -81, -80, -1, 0, 399, 400, 799, 800,
                              1199, 1200, 1599, 1600, 1999, 2000, 32767};
    const int16_t altitudeColours[] = {13, 13, 14, 14, 15, 15, 16, 16, 17, 17, 18, 18};
    const int16_t depthColours[] = {12, 12, 11, 11, 10, 10};
    const GridPlan plan{10, 0, 10, 8.5};
    auto grid = MakeGrid(plan, CellBytes(plan, [&](double, double lon) {
        return values[std::lround(lon * 2)];
    }));
    const LatLonRect view(Deg(10), 0, Deg(10), Deg(8.5));

    grid->Draw_Altitudes(view);
    std::vector<PenCall> expected;
    for (int i = 0; i < 12; ++i)
        expected.push_back(PlotAt(10, (6 + i) * 0.5, altitudeColours[i]));
    EXPECT_EQ(pen.calls, expected);

    pen.Clear();
    expected.clear();
    grid->Draw_Depths(view);
    for (int i = 0; i < 6; ++i)
        expected.push_back(PlotAt(10, i * 0.5, depthColours[i]));
    EXPECT_EQ(pen.calls, expected);

    pen.Clear();
    grid->Draw_Ice(view);   // icepack 0: no ice anywhere
    EXPECT_TRUE(pen.calls.empty());
}

TEST_F(GridShading, IcePlotsCellsSharingTheMaskNorthToSouthWestToEast)
{
    const GridPlan plan{10, 20, 9.5, 20.5, 0x4000};
    auto grid = MakeGrid(plan, CellBytes(plan, [](double lat, double lon) -> int16_t {
        return (lat == 10) != (lon == 20) ? 0x4000 : 0x2000;
    }));
    grid->Draw_Ice(LatLonRect(Deg(10), Deg(20), Deg(9.5), Deg(20.5)));
    const std::vector<PenCall> expected = {PlotAt(10, 20.5, 4), PlotAt(9.5, 20, 4)};
    EXPECT_EQ(pen.calls, expected);
}

TEST_F(GridShading, ViewsOffTheGridPlotOnlyTheCellsItHolds)
{
    struct Row { GridPlan plan; LatLonRect view; size_t plots; };
    const Row rows[] = {
        // East edge off the half-degree lines: the grid holds 20 and 20.5 E,
        // the view reaches the 21 E line. Used to read a third column.
        {{10.2, 20.3, 9.1, 21.0}, {Deg(10.2), Deg(20.3), Deg(9.1), Deg(21.0)}, 3 * 2},
        // The same on the other side of both lines.
        {{-9.1, -21.0, -10.2, -20.3}, {Deg(-9.1), Deg(-21.0), Deg(-10.2), Deg(-20.3)}, 3 * 2},
        // South edge off the lines: rows 10 to 0.5 N, the view reaches 0.
        {{10.2, 0, 0.4, 1}, {Deg(10.2), 0, Deg(0.4), Deg(1)}, 20 * 3},
        // A view larger than the grid on every side.
        {{10, 20, 9, 21}, {Deg(12), Deg(18), Deg(7), Deg(23)}, 3 * 3},
        // A view wholly outside it.
        {{10, 20, 9, 21}, {Deg(5), Deg(30), Deg(4), Deg(31)}, 0},
        // Across 180 in the aligned form (east 181), on the aligned grid.
        {{10, 179, 9, 181}, {Deg(10), Deg(179), Deg(9), Deg(181)}, 3 * 5},
        // Round the world, a view across 180: columns 170 .. 180 and -179.5 .. -170.
        {{1, -180, 0, 180}, {Deg(1), Deg(170), Deg(0), Deg(190)}, 3 * 41},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "grid " << r.plan.north << " " << r.plan.west << " "
                                        << r.plan.south << " " << r.plan.east);
        auto grid = MakeGrid(r.plan, CellBytes(r.plan, [](double, double) { return int16_t{100}; }));
        pen.Clear();
        grid->Draw_Altitudes(r.view);
        EXPECT_EQ(pen.calls.size(), r.plots);
        EXPECT_EQ(pen.Count(PenCall::Plot, 13), r.plots);
    }

    // The aligned view plots its points at their aligned longitudes.
    const GridPlan across{10, 179, 10, 181};
    auto grid = MakeGrid(across, CellBytes(across, [](double, double lon) {
        return static_cast<int16_t>(lon == 180.5 ? 100 : -100);
    }));
    pen.Clear();
    grid->Draw_Altitudes(LatLonRect(Deg(10), Deg(179), Deg(10), Deg(181)));
    EXPECT_EQ(pen.calls, std::vector<PenCall>{PlotAt(10, 180.5, 13)});
}
