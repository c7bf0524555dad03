// GISManagerTest.cpp: the shapefile overlays: pairing the files of a
// directory, reading points, lines and polygons with their GIS_COLOR, the
// refused and damaged files, the checks against the scenario area, the error
// log and the dumps, a reopened scenario, and drawing. Shapefiles are written
// here with shapelib's own writer.
#include <gtest/gtest.h>

#include <shapefil.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/Projection.h"
#include "core/ScreenRefresh.h"
#include "platform/Clock.h"
#include "support/RecordingPen.h"
#include "support/TempTree.h"
#include "world/GISManager.h"
#include "world/GISShape.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"
#include "world/OpenedFilePath.h"

namespace fs = std::filesystem;
using maptest::At;
using maptest::Deg;

namespace {

// A vertex as a shapefile holds it: x longitude, y latitude, in degrees.
struct XY {
    double x, y;
};
using Vertices = std::vector<XY>;

// Writes <base>.shp and <base>.shx with one shape per vertex list.
void WriteShapes(const std::string& base, int type, const std::vector<Vertices>& shapes)
{
    SHPHandle shp = SHPCreate(base.c_str(), type);
    ASSERT_NE(shp, nullptr) << base;
    for (const Vertices& vertices : shapes) {
        std::vector<double> xs, ys;
        for (const XY& v : vertices) {
            xs.push_back(v.x);
            ys.push_back(v.y);
        }
        SHPObject* shape = SHPCreateSimpleObject(type, static_cast<int>(vertices.size()), xs.data(), ys.data(),
                                                 nullptr);
        SHPWriteObject(shp, -1, shape);
        SHPDestroyObject(shape);
    }
    SHPClose(shp);
}

enum class Colour { Integer, Double, Text, Missing, NoFields };

// Writes <base>.dbf with `records` records: a NAME text field and, unless
// missing, a colour field of the kind given holding colours[i] (or 0).
void WriteTable(const std::string& base, int records, Colour kind, const std::vector<int>& colours = {},
                const char* fieldName = "GIS_COLOR")
{
    DBFHandle dbf = DBFCreate((base + ".dbf").c_str());
    ASSERT_NE(dbf, nullptr) << base;
    if (kind == Colour::NoFields) {
        DBFClose(dbf);
        return;
    }
    DBFAddField(dbf, "NAME", FTString, 8, 0);
    int field = -1;
    if (kind == Colour::Integer)
        field = DBFAddField(dbf, fieldName, FTInteger, 6, 0);
    else if (kind == Colour::Double)
        field = DBFAddField(dbf, fieldName, FTDouble, 10, 3);
    else if (kind == Colour::Text)
        field = DBFAddField(dbf, fieldName, FTString, 6, 0);
    for (int i = 0; i < records; ++i) {
        DBFWriteStringAttribute(dbf, i, 0, ("s" + std::to_string(i)).c_str());
        const int colour = i < static_cast<int>(colours.size()) ? colours[i] : 0;
        if (kind == Colour::Integer)
            DBFWriteIntegerAttribute(dbf, i, field, colour);
        else if (kind == Colour::Double)
            DBFWriteDoubleAttribute(dbf, i, field, colour + 0.5);
        else if (kind == Colour::Text)
            DBFWriteStringAttribute(dbf, i, field, std::to_string(colour).c_str());
    }
    DBFClose(dbf);
}

// A complete shapefile set with an integer GIS_COLOR per shape.
void WriteSet(const std::string& base, int type, const std::vector<Vertices>& shapes,
              const std::vector<int>& colours = {})
{
    WriteShapes(base, type, shapes);
    WriteTable(base, static_cast<int>(shapes.size()), Colour::Integer, colours);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A square ring of whole degrees, open (no closing vertex).
Vertices Square(double south, double west, double north, double east)
{
    return {{west, south}, {east, south}, {east, north}, {west, north}};
}

const XYRect EVERYWHERE(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN);

// A scenario directory with a Miller map of 10 N to 20 N, 30 E to 40 E
// installed as gMap, a fixed calendar clock, and the opened file inside it.
class GISTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tree.root.empty());
        scenarioDir = tree.root + "/scen";
        tree.Folder("scen");
        SetOpenedFilePath((scenarioDir + "/TEST.SCN").c_str());

        maptest::SectionPlan section;
        section.area = LatLonRect(Deg(20), Deg(30), Deg(10), Deg(40));
        section.projectionID = PROJECTION_MILLER;
        section.FillCells(-100);
        ASSERT_TRUE(files.Write(section, {}));
        bool ok = false;
        map = maptest::LoadMap(maptest::SectionBytes(section), files.Directory(), &ok);
        ASSERT_TRUE(ok);
        previousMap = gMap;
        gMap = map.get();
    }
    void TearDown() override
    {
        gMap = previousMap;
        SetOpenedFilePath("");
    }

    std::string In(const std::string& name) const { return scenarioDir + "/" + name; }

    std::string Log() const { return ReadFile(In("GIS_ERR.LOG")); }

    // The error lines of the log without their time: "ERR<code>     <function>     <message> ".
    std::vector<std::string> LogErrors() const
    {
        std::vector<std::string> errors;
        std::istringstream lines(Log());
        const std::string prefix = time + "   ERR";
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind(prefix, 0) == 0)
                errors.push_back(line.substr(time.size() + 3));
        }
        return errors;
    }
    std::vector<int> LogCodes() const
    {
        std::vector<int> codes;
        for (const std::string& error : LogErrors())
            codes.push_back(std::stoi(error.substr(3)));
        return codes;
    }

    std::vector<GISShape*> Shapes(const GISManager& manager) const
    {
        std::vector<GISShape*> shapes;
        for (GISShape* shape : manager.GetShapes())
            shapes.push_back(shape);
        return shapes;
    }

    static constexpr int64_t NOW = 1000000000;
    platform::FakeClock clock{0, NOW};
    const std::string time = platform::CalendarText(NOW);
    TempTree tree;
    std::string scenarioDir;
    maptest::MapFiles files;
    std::unique_ptr<Map> map;
    Map* previousMap = nullptr;
};

}  // namespace

TEST(GISDirectoryOf, CutsAtTheLastSeparatorOfEitherKind)
{
    struct Row {
        const char* path;
        const char* directory;
    };
    const Row rows[] = {
        {"C:\\scen\\north.scn", "C:\\scen"},
        {"scen/north.scn", "scen"},
        {"a/b\\c.scn", "a/b"},
        {"a\\b/c.scn", "a\\b"},
        {"north.scn", "."},   // no separator: the working directory
        {"", "."},
        {"/north.scn", "/"},   // directly under the root
        {"\\north.scn", "\\"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(GISManager::DirectoryOf(r.path), r.directory);
    }
}

TEST_F(GISTest, PairsTheThreeFilesOfEachSetWithoutRegardToCase)
{
    WriteSet(In("roads"), SHPT_ARC, {{{31, 11}, {32, 12}}});
    fs::rename(In("roads.shp"), In("ROADS.SHP"));
    fs::rename(In("roads.shx"), In("Roads.shx"));
    WriteSet(In("lakes"), SHPT_POLYGON, {Square(11, 31, 12, 32)});
    fs::remove(In("lakes.dbf"));
    WriteSet(In("towns"), SHPT_POINT, {{{33, 13}}});
    fs::remove(In("towns.shx"));
    fs::remove(In("towns.shp"));
    tree.File("scen/NOTES.TXT");
    tree.File("scen/README");
    tree.File("scen/" + std::string(81, 'L') + ".shp");   // base too long to hold: passed over
    tree.File("scen/" + std::string(81, 'L') + ".shx");

    GISManager manager;
    manager.Load();

    EXPECT_EQ(manager.GetShapefileTable(), std::vector<std::string>{"ROADS"});
    EXPECT_EQ(manager.GetShapes().Count(), 1u);
    EXPECT_EQ(LogErrors(), (std::vector<std::string>{
                               "ERR11     ReadInputDirectory()     LAKES.DBF file not found. ",
                               "ERR13     ReadInputDirectory()     TOWNS.SHP file not found. ",
                               "ERR12     ReadInputDirectory()     TOWNS.SHX file not found. ",
                           }));
    int32_t count = -1;
    EXPECT_EQ(manager.ReadInputDirectory(scenarioDir.c_str(), count), 1);
    EXPECT_EQ(count, 1);
}

TEST_F(GISTest, WritesTheLogFromItsStartAtEveryLoad)
{
    tree.File("scen/GIS_ERR.LOG", "an older log\n");
    WriteSet(In("LAKES"), SHPT_POLYGON, {Square(11, 31, 12, 32)});
    fs::remove(In("LAKES.dbf"));

    GISManager manager;
    manager.Load();

    EXPECT_EQ(Log(), time + "   Start Load Shapefile   Load()   GIS Load Starts\n" + "\n" + time +
                         "   ERR11     ReadInputDirectory()     LAKES.DBF file not found. \n" + "\n" + time +
                         "   End Load Shapefile   Load()   GIS Load End\n\n");
    EXPECT_EQ(manager.GetShapes().Count(), 0u);
}

TEST_F(GISTest, AnUnreadableDirectoryGivesNoOverlaysAndNoErrors)
{
    SetOpenedFilePath((tree.root + "/missing/TEST.SCN").c_str());
    GISManager manager;
    manager.Load();
    int32_t count = -1;
    manager.ReadInputDirectory((tree.root + "/missing").c_str(), count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(manager.GetShapes().Count(), 0u);
    EXPECT_FALSE(fs::exists(tree.root + "/missing"));
}

TEST_F(GISTest, ReadsTheDirectoryOfAPathWrittenWithBackslashes)
{
    SetOpenedFilePath((tree.root + "\\scen\\TEST.SCN").c_str());
    WriteSet(In("roads"), SHPT_ARC, {{{31, 11}, {32, 12}}});
    GISManager manager;
    manager.Load();
    EXPECT_EQ(manager.GetDirectory(), tree.root + "\\scen");
    EXPECT_EQ(manager.GetShapes().Count(), 1u);
    EXPECT_TRUE(fs::exists(In("GIS_ERR.LOG")));
    EXPECT_TRUE(fs::exists(In("ROADSDB.txt")));
    EXPECT_TRUE(fs::exists(In("ROADSSHP.txt")));
}

TEST_F(GISTest, APathWithoutSeparatorMeansTheWorkingDirectory)
{
    const fs::path saved = fs::current_path();
    fs::current_path(scenarioDir);
    SetOpenedFilePath("TEST.SCN");
    WriteSet(In("roads"), SHPT_ARC, {{{31, 11}, {32, 12}}});
    GISManager manager;
    manager.Load();
    fs::current_path(saved);

    EXPECT_EQ(manager.GetDirectory(), ".");
    EXPECT_EQ(manager.GetShapes().Count(), 1u);
    EXPECT_TRUE(fs::exists(In("GIS_ERR.LOG")));
}

TEST_F(GISTest, MakesOneObjectPerPointAndSegmentAndOnePerPolygon)
{
    WriteSet(In("towns"), SHPT_POINT, {{{31, 11}}, {{32, 12}}, {{33, 13}}}, {5, 6, 7});
    WriteSet(In("road"), SHPT_ARC, {{{31, 11}, {32, 11}, {33, 12}, {34, 12}, {35, 13}}}, {8});
    WriteSet(In("lake"), SHPT_POLYGON, {Square(11, 31, 12, 32)}, {9});

    GISManager manager;
    manager.Load();

    // Listing order: LAKE, ROAD, TOWNS.
    EXPECT_EQ(manager.GetShapefileTable(), (std::vector<std::string>{"LAKE", "ROAD", "TOWNS"}));
    const std::vector<GISShape*> shapes = Shapes(manager);
    ASSERT_EQ(shapes.size(), 1u + 4u + 3u);

    ASSERT_NE(dynamic_cast<GISPolygon*>(shapes[0]), nullptr);
    EXPECT_EQ(shapes[0]->GetPointCount(), 5);   // the ring closed
    EXPECT_EQ(shapes[0]->GetColour(), 9);

    const LatLonPoint road[] = {At(11, 31), At(11, 32), At(12, 33), At(12, 34), At(13, 35)};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        GISShape* line = shapes[1 + i];
        ASSERT_NE(dynamic_cast<GISLine*>(line), nullptr);
        EXPECT_EQ(line->GetPointCount(), 3);   // a, b and back to a
        EXPECT_EQ(line->GetLatLonPoint(0), road[i]);
        EXPECT_EQ(line->GetLatLonPoint(1), road[i + 1]);
        EXPECT_EQ(line->GetColour(), 8);
    }
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        GISShape* point = shapes[5 + i];
        ASSERT_NE(dynamic_cast<GISPoint*>(point), nullptr);
        EXPECT_EQ(point->GetPointCount(), LatLon_Poly::CIRCLE_EDGES + 1);
        EXPECT_EQ(point->GetColour(), 5 + i);
        const LatLonRect& bounds = point->GetBounds();
        EXPECT_LT(bounds.south, Deg(11 + i));
        EXPECT_GT(bounds.north, Deg(11 + i));
    }
    EXPECT_TRUE(LogErrors().empty());
}

TEST_F(GISTest, TruncatesDegreesTowardZero)
{
    WriteSet(In("shoal"), SHPT_POLYGON, {{{0.333333, -0.333333}, {1, 0}, {1, 1}}});
    GISManager manager;
    manager.Load();
    const std::vector<GISShape*> shapes = Shapes(manager);
    ASSERT_EQ(shapes.size(), 1u);
    // 0.333333 x 245760 = 81919.918
    EXPECT_EQ(shapes[0]->GetLatLonPoint(0), LatLonPoint(-81919, 81919));
}

TEST_F(GISTest, TakesTheColourFromAnIntegerGISColorField)
{
    struct Row {
        const char* name;
        Colour kind;
        const char* fieldName;
        int32_t colour;
        std::vector<std::string> errors;
    };
    const Row rows[] = {
        {"integer", Colour::Integer, "GIS_COLOR", 42, {}},
        {"lower-case name", Colour::Integer, "gis_color", 42, {}},
        {"double", Colour::Double, "GIS_COLOR", 1, {"ERR151     ReadSHPDBF()     GIS_COLOR in ROADS.DBF is not numeric. "}},
        {"text", Colour::Text, "GIS_COLOR", 1, {"ERR151     ReadSHPDBF()     GIS_COLOR in ROADS.DBF is not numeric. "}},
        {"missing", Colour::Missing, "GIS_COLOR", 1, {"ERR150     ReadSHPDBF()     GIS_COLOR is missing from ROADS.DBF. "}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        WriteShapes(In("roads"), SHPT_ARC, {{{31, 11}, {32, 12}, {33, 11}}});
        WriteTable(In("roads"), 1, r.kind, {42}, r.fieldName);

        GISManager manager;
        manager.Load();
        EXPECT_EQ(LogErrors(), r.errors);
        const std::vector<GISShape*> shapes = Shapes(manager);
        ASSERT_EQ(shapes.size(), 2u);   // the reading goes on with colour 1
        for (GISShape* shape : shapes)
            EXPECT_EQ(shape->GetColour(), r.colour);

        RecordingPenScope pen;
        manager.DrawShapes(EVERYWHERE);
        EXPECT_EQ(pen.Count(PenCall::Line), 4u);
        EXPECT_EQ(pen.Count(PenCall::Line, r.colour), 4u);
    }
}

TEST_F(GISTest, RefusesEveryFileTypeButPointArcAndPolygon)
{
    const int types[] = {SHPT_POINTZ, SHPT_POINTM, SHPT_MULTIPOINT, SHPT_ARCZ, SHPT_ARCM, SHPT_POLYGONZ,
                         SHPT_POLYGONM, SHPT_MULTIPATCH};
    for (int type : types) {
        SCOPED_TRACE(SHPTypeName(type));
        WriteSet(In("depths"), type, {{{31, 11}, {32, 12}, {33, 11}}});
        GISManager manager;
        manager.Load();
        EXPECT_EQ(LogErrors(), std::vector<std::string>{
                                   "ERR20     ReadSHPDBF()     DEPTHS.shp contain shape other than Line, Point or Poly. "});
        EXPECT_EQ(manager.GetShapes().Count(), 0u);
    }
}

TEST_F(GISTest, EndsAFileAtItsFirstFault)
{
    struct Row {
        const char* name;
        void (*write)(const std::string& base);
        int32_t result;
        std::string error;
        uint32_t shapes;   // made before the fault
    };
    const Row rows[] = {
        {"more shapes than records",
         [](const std::string& base) {
             WriteShapes(base, SHPT_POINT, {{{31, 11}}, {{32, 12}}, {{33, 13}}});
             WriteTable(base, 2, Colour::Integer);
         },
         GIS_ERR_RECORD_COUNT, "ERR51     ReadSHPDBF()     SET.SHP and SET.DBF have different number of records ", 0},
        {"fewer shapes than records",
         [](const std::string& base) {
             WriteShapes(base, SHPT_POINT, {{{31, 11}}});
             WriteTable(base, 3, Colour::Integer);
         },
         GIS_ERR_RECORD_COUNT, "ERR51     ReadSHPDBF()     SET.SHP and SET.DBF have different number of records ", 0},
        {"a table without fields",
         [](const std::string& base) {
             WriteShapes(base, SHPT_POINT, {{{31, 11}}});
             WriteTable(base, 0, Colour::NoFields);
         },
         GIS_ERR_NO_FIELDS, "ERR50     ReadSHPDBF()     No DBF Record in SET.dbf ", 0},
        {"a null shape among lines",
         [](const std::string& base) {
             WriteShapes(base, SHPT_ARC, {{{31, 11}, {32, 12}}});
             SHPHandle shp = SHPOpen(base.c_str(), "rb+");
             SHPObject* nothing = SHPCreateSimpleObject(SHPT_NULL, 0, nullptr, nullptr, nullptr);
             SHPWriteObject(shp, -1, nothing);
             SHPDestroyObject(nothing);
             SHPClose(shp);
             WriteTable(base, 2, Colour::Integer);
         },
         GIS_ERR_MIXED_SHAPES, "ERR21     ReadSHPDBF()     SET.SHP has different shapes  ", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        fs::remove_all(scenarioDir);
        tree.Folder("scen");
        r.write(In("set"));

        GISManager manager;
        manager.Load();
        EXPECT_EQ(LogErrors(), std::vector<std::string>{r.error});
        EXPECT_EQ(manager.GetShapes().Count(), r.shapes);
        EXPECT_EQ(manager.ReadSHPDBF(scenarioDir.c_str(), "SET"), r.result);
    }
}

TEST_F(GISTest, ReportsFilesThatDoNotOpen)
{
    GISManager manager;
    manager.Load();   // the log lies in the opened file's directory
    WriteShapes(In("nodbf"), SHPT_POINT, {{{31, 11}}});
    EXPECT_EQ(manager.ReadSHPDBF(scenarioDir.c_str(), "NODBF"), GIS_ERR_DBF_OPEN);
    EXPECT_EQ(manager.ReadSHPDBF(scenarioDir.c_str(), "ABSENT"), GIS_ERR_SHP_OPEN);
    EXPECT_EQ(LogErrors(), (std::vector<std::string>{
                               "ERR53     ReadSHPDBF()     NODBF.DBF failed to open. ",
                               "ERR52     ReadSHPDBF()     ABSENT.shp failed to open. ",
                           }));
    EXPECT_EQ(manager.GetShapes().Count(), 0u);
}

TEST_F(GISTest, SkipsShapesWhoseCoordinatesAreNotDegrees)
{
    // A file in metres, with a shape in degrees among them; 1e10 would
    // overflow a 32-bit angle.
    WriteSet(In("grid"), SHPT_POLYGON,
             {Square(6000000, 500000, 6001000, 501000), Square(11, 31, 12, 32), {{1e10, 11}, {31, 1e10}, {31, 11}},
              {{31, 91}, {32, 11}, {31, 11}}});
    WriteSet(In("wells"), SHPT_POINT, {{{500000, 6000000}}, {{-400, 11}}, {{359, 11}}});

    GISManager manager;
    manager.Load();

    EXPECT_EQ(LogErrors(),
              (std::vector<std::string>{
                  "ERR22     ReadSHPDBF()     GRID.SHP shape 0 has coordinates that are not degrees of latitude and "
                  "longitude; skipped. ",
                  "ERR22     ReadSHPDBF()     GRID.SHP shape 2 has coordinates that are not degrees of latitude and "
                  "longitude; skipped. ",
                  "ERR22     ReadSHPDBF()     GRID.SHP shape 3 has coordinates that are not degrees of latitude and "
                  "longitude; skipped. ",
                  "ERR22     ReadSHPDBF()     WELLS.SHP shape 0 has coordinates that are not degrees of latitude and "
                  "longitude; skipped. ",
                  "ERR22     ReadSHPDBF()     WELLS.SHP shape 1 has coordinates that are not degrees of latitude and "
                  "longitude; skipped. ",
                  // 359 degrees east is a longitude, though not in this area.
                  "ERR9     CheckPoint-GISManager     Point ( 359.00, 11.00) does not overlay with a given scenario "
                  "toplef( 30.00, 20.00) bottomright ( 40.00, 10.00)  ",
              }));
    EXPECT_EQ(manager.GetShapes().Count(), 2u);
}

TEST_F(GISTest, SkipsPolygonsWithoutVerticesOrWithTooMany)
{
    Vertices huge;
    for (int i = 0; i < 40000; ++i)
        huge.push_back({31 + i * 1e-5, 11 + (i % 2) * 0.5});
    WriteSet(In("coast"), SHPT_POLYGON, {{}, Square(11, 31, 12, 32), huge});

    GISManager manager;
    manager.Load();

    EXPECT_EQ(LogErrors(), (std::vector<std::string>{
                               "ERR24     ReadSHPDBF()     COAST.SHP shape 0 is a polygon without vertices; skipped. ",
                               "ERR23     ReadSHPDBF()     COAST.SHP shape 2 has 40000 vertices, more than a polygon "
                               "can hold; skipped. ",
                           }));
    EXPECT_EQ(manager.GetShapes().Count(), 1u);
}

TEST_F(GISTest, ChecksShapesAgainstTheScenarioAreaAndStillMakesThem)
{
    WriteSet(In("a_out"), SHPT_ARC, {{{50, 5}, {51, 6}}});
    WriteSet(In("b_half"), SHPT_ARC, {{{35, 15}, {45, 15}}});
    WriteSet(In("c_in"), SHPT_ARC, {{{35, 15}, {36, 16}}});
    WriteSet(In("d_out"), SHPT_POLYGON, {Square(0, 0, 1, 1)});
    WriteSet(In("e_half"), SHPT_POLYGON, {Square(15, 35, 25, 36)});
    WriteSet(In("f_edge"), SHPT_POINT, {{{30, 15}}});   // on the west edge: outside (strict test)

    GISManager manager;
    manager.Load();

    EXPECT_EQ(LogErrors(),
              (std::vector<std::string>{
                  "ERR9     CheckLinePoly-GISManager     Line ( 50.00, 5.00) to ( 51.00,6.00) does not overlay with a "
                  "given scenario topleft( 30.00, 20.00) bottomright (40.00, 10.00)  ",
                  "ERR10     CheckLinePoly-GISManager     Line ( 35.00, 15.00) to ( 45.00, 15.00) has intersection with "
                  "a given scenario topleft( 30.00, 20.00) bottomright (40.00, 10.00)  ",
                  "ERR9     CheckLinePoly-GISManager     A poly does not overlay with a given scenario topleft( 30.00, "
                  "20.00) bottomright (40.00, 10.00)  ",
                  "ERR10     CheckLinePoly-GISManager     A poly has an intersection with a given scenario topleft( "
                  "30.00, 20.00) bottomright ( 40.00,10.00)  ",
                  "ERR9     CheckPoint-GISManager     Point ( 30.00, 15.00) does not overlay with a given scenario "
                  "toplef( 30.00, 20.00) bottomright ( 40.00, 10.00)  ",
              }));
    EXPECT_EQ(manager.GetShapes().Count(), 6u);
}

TEST_F(GISTest, AnAreaAcrossTheDateLineHoldsBothSidesOfIt)
{
    GISManager manager;
    manager.Load();
    manager.SetScenarioArea(LatLonRect(Deg(20), Deg(170), Deg(10), Deg(-170)));
    manager.CheckPoint(At(15, 175));
    manager.CheckPoint(At(15, -175));
    manager.CheckPoint(At(15, 0));
    EXPECT_EQ(LogCodes(), std::vector<int>{GIS_ERR_OUTSIDE_AREA});
}

TEST_F(GISTest, ReopeningDropsTheOverlaysOfTheFileBefore)
{
    tree.Folder("other");
    WriteSet(In("roads"), SHPT_ARC, {{{31, 11}, {32, 12}, {33, 13}}});
    WriteSet(tree.root + "/other/lake", SHPT_POLYGON, {Square(11, 31, 12, 32)});

    GISManager manager;
    manager.Load();
    EXPECT_EQ(manager.GetShapes().Count(), 2u);
    manager.Load();   // the same scenario again: not drawn twice
    EXPECT_EQ(manager.GetShapes().Count(), 2u);

    SetOpenedFilePath((tree.root + "/other/OTHER.SCN").c_str());
    manager.Load();
    const std::vector<GISShape*> shapes = Shapes(manager);
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_NE(dynamic_cast<GISPolygon*>(shapes[0]), nullptr);
    EXPECT_EQ(manager.GetShapefileTable(), std::vector<std::string>{"LAKE"});
}

TEST_F(GISTest, DoesNotFollowBaseNamesOutOfTheDirectory)
{
    // A set beside the scenario directory, reached only through "..".
    WriteSet(tree.root + "/OUTSIDE", SHPT_POINT, {{{31, 11}}});
    // A set whose names hold a backslash, which the program takes as a separator.
    WriteSet(In("sub\\way"), SHPT_POINT, {{{31, 11}}});

    GISManager manager;
    manager.Load();
    EXPECT_EQ(manager.GetShapefileTable(), std::vector<std::string>{"SUB\\WAY"});
    EXPECT_EQ(manager.ReadSHPDBF(scenarioDir.c_str(), "..\\OUTSIDE"), GIS_ERR_SHP_OPEN);
    EXPECT_EQ(manager.DumpDBF(scenarioDir.c_str(), "..\\OUTSIDE.dbf"), 2);
    EXPECT_EQ(manager.DumpSHP(scenarioDir.c_str(), "..\\OUTSIDE.shp"), 2);
    EXPECT_EQ(manager.DumpDBF(scenarioDir.c_str(), "../OUTSIDE.dbf"), 2);

    EXPECT_EQ(manager.GetShapes().Count(), 0u);
    EXPECT_EQ(LogCodes(), (std::vector<int>{GIS_ERR_SHP_OPEN, GIS_ERR_SHP_OPEN}));
    // Every dump stayed in the directory, under a name of its own.
    // (a file name's base ends at its first '.', so "..\OUTSIDE.dbf" dumps to "DB.txt")
    EXPECT_TRUE(fs::exists(In("SUB_WAYDB.txt")));
    EXPECT_TRUE(fs::exists(In("SUB_WAYSHP.txt")));
    EXPECT_TRUE(fs::exists(In("DB.txt")));
    EXPECT_TRUE(fs::exists(In("SHP.txt")));
    EXPECT_FALSE(fs::exists(In("SUB")));
    EXPECT_FALSE(fs::exists(tree.root + "/OUTSIDEDB.txt"));
    EXPECT_FALSE(fs::exists(tree.root + "/OUTSIDESHP.txt"));
}

TEST_F(GISTest, SurvivesDamagedFiles)
{
    WriteSet(In("good"), SHPT_ARC, {{{31, 11}, {32, 12}, {33, 13}}, {{34, 14}, {35, 15}}});
    const std::string shp = ReadFile(In("good.shp"));
    const std::string shx = ReadFile(In("good.shx"));
    const std::string dbf = ReadFile(In("good.dbf"));
    struct Cut {
        const char* file;
        const std::string* bytes;
    };
    const Cut cuts[] = {{"good.shp", &shp}, {"good.shx", &shx}, {"good.dbf", &dbf}};
    for (const Cut& cut : cuts) {
        for (size_t length = 0; length < cut.bytes->size(); length += 7) {
            SCOPED_TRACE(testing::Message() << cut.file << " cut at " << length);
            std::ofstream(In(cut.file), std::ios::binary) << cut.bytes->substr(0, length);
            GISManager manager;
            manager.Load();
            EXPECT_LE(manager.GetShapes().Count(), 3u);
            EXPECT_NE(Log().find("End Load Shapefile"), std::string::npos);
        }
        std::ofstream(In(cut.file), std::ios::binary) << *cut.bytes;
    }
    // Garbage in the record of the second shape: its part and point counts
    // claim far more than the record holds. The file header is 100 bytes; the
    // first record an 8-byte record header, type, box, part and point
    // counts (44 bytes), one part start and three points.
    std::string bad = shp;
    const size_t secondRecord = 100 + 8 + 44 + 4 * 1 + 16 * 3;
    const size_t counts = secondRecord + 8 + 4 + 32;
    for (size_t i = counts; i < counts + 8; ++i)
        bad[i] = '\x7F';
    std::ofstream(In("good.shp"), std::ios::binary) << bad;
    GISManager manager;
    manager.Load();
    EXPECT_EQ(manager.GetShapes().Count(), 2u);
    EXPECT_EQ(LogCodes(), std::vector<int>{GIS_ERR_SHAPE_TYPE});
}

TEST_F(GISTest, DumpsTheTable)
{
    WriteShapes(In("buoys"), SHPT_POINT, {{{31, 11}}, {{32, 12}}});
    WriteTable(In("buoys"), 2, Colour::Integer, {3, 14});
    const std::string table = scenarioDir + "\\BUOYS.dbf";

    GISManager manager;
    EXPECT_EQ(manager.DumpDBF(scenarioDir.c_str(), "BUOYS.dbf"), 1);
    EXPECT_EQ(ReadFile(In("BUOYSDB.txt")),
              " Output from reading: " + table + " \n" +
                  "        h=1 Write header info (field descriptions)\n"
                  "        r=1 Write raw field info, numeric values not reformatted\n"
                  "        m=1 Multiline, one line per field.\n"
                  "The dbf file name to check : " + table + " \n" +
                  "dbfFile " + table + " is opened !\n" +
                  "We find some fields in " + table + " !\n" +
                  "Field 0: Type=String, Title=`NAME', Width=8, Decimals=0\n"
                  "Field 1: Type=Integer, Title=`GIS_COLOR', Width=6, Decimals=0\n"
                  "Compute the offsets to use when printing each of the field\n"
                  "The field count 2 \n"
                  "\n"
                  "Record: 0\n"
                  "NAME: s0      \n"
                  "GIS_COLOR: 3     \n"
                  "\n"
                  "Record: 1\n"
                  "NAME: s1      \n"
                  "GIS_COLOR: 14    \n"
                  "\n");

    EXPECT_EQ(manager.DumpDBF(scenarioDir.c_str(), "ABSENT.dbf"), 2);
    EXPECT_NE(ReadFile(In("ABSENTDB.txt")).find("DBFOpen(" + scenarioDir + "\\ABSENT.dbf,\"r\") failed.\n"),
              std::string::npos);
    WriteTable(In("empty"), 0, Colour::NoFields);
    const int32_t empty = manager.DumpDBF(scenarioDir.c_str(), "EMPTY.dbf");
    EXPECT_TRUE(empty == 2 || empty == 3) << empty;
}

// A damaged header announcing 20 million records in a file of one: the dump
// writes the one it holds and logs the rest as missing, at once; the read then
// refuses the set for its counts.
TEST_F(GISTest, DumpOfATableStopsAtWhatItsFileHolds)
{
    WriteSet(In("short"), SHPT_POINT, {{{31, 11}}}, {5});
    {
        std::fstream dbf(In("short.dbf"), std::ios::in | std::ios::out | std::ios::binary);
        dbf.seekp(4);
        const uint32_t announced = 20000000;
        const char bytes[4] = {static_cast<char>(announced), static_cast<char>(announced >> 8),
                               static_cast<char>(announced >> 16), static_cast<char>(announced >> 24)};
        dbf.write(bytes, 4);
    }
    GISManager manager;
    manager.Load();
    const std::string dump = ReadFile(In("SHORTDB.txt"));
    EXPECT_NE(dump.find("Record: 0\nNAME: s0      \nGIS_COLOR: 5     \n\n"), std::string::npos);
    EXPECT_EQ(dump.find("Record: 1"), std::string::npos);
    ASSERT_EQ(LogCodes(), (std::vector<int>{GIS_ERR_DBF_SHORT, GIS_ERR_RECORD_COUNT}));
    EXPECT_EQ(LogErrors()[0], "ERR54     DumpDBF()     SHORT.DBF announces 20000000 records but holds 1. ");
}

TEST_F(GISTest, DumpsTheShapes)
{
    // One line of two parts: 3 vertices, then 2.
    SHPHandle shp = SHPCreate(In("route").c_str(), SHPT_ARC);
    const int starts[] = {0, 3};
    const double xs[] = {31, 32, 33, 34.5, 35};
    const double ys[] = {11, 12.25, 11, 14, 15};
    SHPObject* line = SHPCreateObject(SHPT_ARC, -1, 2, starts, nullptr, 5, xs, ys, nullptr, nullptr);
    SHPWriteObject(shp, -1, line);
    SHPDestroyObject(line);
    SHPClose(shp);
    const std::string path = scenarioDir + "\\ROUTE.shp";

    GISManager manager;
    EXPECT_EQ(manager.DumpSHP(scenarioDir.c_str(), "ROUTE.shp"), 1);
    EXPECT_EQ(ReadFile(In("ROUTESHP.txt")),
              "The result of reading " + path + " \n" + "opening !\n" + "Shapefile " + path + " is opened !\n" +
                  "            Print the file bounds \n "
                  "Shapefile Type: Arc   # of Shapes: 1\n\n"
                  "File Bounds: (      31.000,      11.000,0,0)\n"
                  "         to  (      35.000,      15.000,0,0)\n"
                  "            Skim over the list of shapes and printing all the vertices\n\n "
                  "  The number of nEntities from the shapefile are 1"
                  "\nShape:0 (Arc)  nVertices=5, nParts=2\n"
                  "  Bounds:(      31.000,      11.000, 0, 0)\n"
                  "      to (      35.000,      15.000, 0, 0)\n"
                  "     (      31.000,      11.000, 0, 0) Ring \n"
                  "     (      32.000,      12.250, 0, 0)  \n"
                  "     (      33.000,      11.000, 0, 0)  \n"
                  "   + (      34.500,      14.000, 0, 0) Ring \n"
                  "     (      35.000,      15.000, 0, 0)  \n");

    EXPECT_EQ(manager.DumpSHP(scenarioDir.c_str(), "ABSENT.shp"), 2);
    EXPECT_EQ(ReadFile(In("ABSENTSHP.txt")), "The result of reading " + scenarioDir + "\\ABSENT.shp \nopening !\n" +
                                                 "Unable to open:" + scenarioDir + "\\ABSENT.shp\n");
}

TEST_F(GISTest, LoadWritesBothDumpsOfEveryCompleteSet)
{
    WriteSet(In("roads"), SHPT_ARC, {{{31, 11}, {32, 12}}});
    WriteSet(In("lakes"), SHPT_POLYGON, {Square(11, 31, 12, 32)});
    fs::remove(In("lakes.shx"));
    GISManager manager;
    manager.Load();
    EXPECT_TRUE(fs::exists(In("ROADSDB.txt")));
    EXPECT_TRUE(fs::exists(In("ROADSSHP.txt")));
    EXPECT_FALSE(fs::exists(In("LAKESDB.txt")));
    EXPECT_FALSE(fs::exists(In("LAKESSHP.txt")));
}

TEST_F(GISTest, DrawsTheOverlaysWhileShown)
{
    WriteSet(In("roads"), SHPT_ARC, {{{31, 11}, {32, 12}}}, {17});
    GISManager* const previous = gGISManager;
    gGISManager = nullptr;
    const uint8_t shown = GetGISShowFlag();

    {
        RecordingPenScope pen;
        fg_clear_full_refresh();
        DrawGISOverlays(EVERYWHERE);   // makes an empty manager: draws nothing
        ASSERT_NE(gGISManager, nullptr);
        EXPECT_TRUE(pen.calls.empty());
        EXPECT_EQ(fg_full_refresh_pending(), 0);

        gGISManager->Load();
        DrawGISOverlays(EVERYWHERE);
        EXPECT_EQ(pen.Count(PenCall::Move), 1u);
        EXPECT_EQ(pen.Count(PenCall::Line, 17), 2u);
        EXPECT_EQ(fg_full_refresh_pending(), 1);

        // A view away from every shape draws nothing and asks no refresh.
        pen.Clear();
        fg_clear_full_refresh();
        DrawGISOverlays(XYRect(-10, -5, -5, -10));
        EXPECT_TRUE(pen.calls.empty());
        EXPECT_EQ(fg_full_refresh_pending(), 0);

        // Hidden: nothing at all.
        SetGISShowFlag(1);
        EXPECT_EQ(ToggleGISShowFlag(), 0);
        DrawGISOverlays(EVERYWHERE);
        EXPECT_TRUE(pen.calls.empty());
        EXPECT_EQ(fg_full_refresh_pending(), 0);
        EXPECT_EQ(ToggleGISShowFlag(), 1);
    }

    SetGISShowFlag(shown);
    delete gGISManager;
    gGISManager = previous;
}
