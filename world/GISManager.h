// GISManager.h: GISManager, the shapefile overlays of a scenario. Every time
// a scenario or saved game is opened, Load pairs the .shp, .shx and .dbf files
// of each shapefile in that file's directory, reads the points, lines and
// polygons with their GIS_COLOR, checks them against the scenario area, and
// writes GIS_ERR.LOG and two text dumps per shapefile beside them. The map
// windows draw the overlays through DrawGISOverlays. The drawing objects are
// in GISShape.h; shapefiles are read through shapelib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/LatLonPoint.h"
#include "core/LatLonRect.h"
#include "core/PointerList.h"
#include "core/XYRect.h"
#include "world/GISShape.h"

// Codes of the lines of GIS_ERR.LOG.
enum GISErrorCode : int32_t {
    GIS_ERR_OUTSIDE_AREA   = 9,    // no point of a shape inside the scenario area
    GIS_ERR_PARTLY_OUTSIDE = 10,   // some points inside, some outside
    GIS_ERR_NO_DBF         = 11,   // incomplete set: .dbf missing
    GIS_ERR_NO_SHX         = 12,
    GIS_ERR_NO_SHP         = 13,
    GIS_ERR_SHAPE_TYPE     = 20,   // a file type other than Point, Arc, Polygon; or an unreadable shape
    GIS_ERR_MIXED_SHAPES   = 21,   // a shape of another type than its file
    GIS_ERR_NOT_DEGREES    = 22,   // a coordinate that is no latitude or longitude in degrees
    GIS_ERR_TOO_MANY_VERTICES = 23,   // a polygon beyond the 16-bit point count
    GIS_ERR_NO_VERTICES    = 24,   // a polygon without vertices
    GIS_ERR_NO_FIELDS      = 50,
    GIS_ERR_RECORD_COUNT   = 51,   // .shp and .dbf disagree on the number of records
    GIS_ERR_SHP_OPEN       = 52,
    GIS_ERR_DBF_OPEN       = 53,
    GIS_ERR_DBF_SHORT      = 54,   // .dbf holding fewer records than its header announces, or one unreadable
    GIS_ERR_NO_COLOUR      = 150,  // no GIS_COLOR field: colour 1 throughout
    GIS_ERR_COLOUR_TYPE    = 151,  // GIS_COLOR not an integer field: colour 1 throughout
};

class GISManager {
public:
    // Kinds of WriteGISLog lines.
    static constexpr int32_t LOG_START = 1;   // empties the log first
    static constexpr int32_t LOG_ERROR = 2;
    static constexpr int32_t LOG_END = 3;
    // Kinds of CheckLinePoly.
    static constexpr int32_t CHECK_LINE = 1;
    static constexpr int32_t CHECK_POLYGON = 2;

    // Most directory entries looked at, and most shapefiles a Load reads.
    static constexpr size_t MAX_DIRECTORY_ENTRIES = 1000;
    static constexpr size_t MAX_SHAPEFILES = 1000;
    // Longest base name held; entries with longer ones are passed over.
    static constexpr size_t MAX_BASE_NAME = 80;
    // Colour of every shape of a file without a usable GIS_COLOR field.
    static constexpr int32_t DEFAULT_COLOUR = 1;
    // Coordinates beyond these (degrees) are not positions: a shapefile in
    // metres, say. One turn either way lets 0..360 longitudes through.
    static constexpr double MAX_LATITUDE = 90.0;
    static constexpr double MAX_LONGITUDE = 360.0;

    GISManager() = default;
    // Deletes the shapes it holds.
    virtual ~GISManager();

    GISManager(const GISManager&) = delete;
    GISManager& operator=(const GISManager&) = delete;

    // Reads the overlays of the directory of the file being opened
    // (GetOpenedFilePath, cut at its last '\' or '/'; the working directory
    // when it has neither). The overlays of the previous Load are dropped
    // first: they were projected for the previous map. Writes GIS_ERR.LOG
    // from its start, and both dumps of every complete shapefile.
    void Load();

    // Fills the shapefile table with the upper-case base names of the
    // complete shapefiles of the directory, in listing order, and logs codes
    // 11 to 13 for incomplete ones. count takes the number of complete ones.
    // An unreadable directory gives 0 and no log line. Answers 1.
    int32_t ReadInputDirectory(const char* directory, int32_t& count);

    // Reads <directory>\<baseName>.shp and .dbf into shapes appended to the
    // list. Answers 1, or the code of the error that ended the reading (the
    // shapes made before it stay). A base name holding a separator or ".."
    // is not opened (code 52).
    int32_t ReadSHPDBF(const char* directory, const char* baseName);

    // Logs code 9 when no point of the n lies inside the scenario area, 10
    // when some do and some do not; nothing when all do, or n < 1.
    void CheckLinePoly(const LatLonPoint* points, int32_t n, int32_t kind);
    // Logs code 9 when the point lies outside the scenario area.
    void CheckPoint(const LatLonPoint& point);

    // Writes one line of <GIS directory>\GIS_ERR.LOG; kind LOG_START empties
    // the file first, LOG_ERROR and LOG_END append, any other kind writes
    // nothing. A log that cannot be opened is passed over.
    void WriteGISLog(int32_t code, const char* function, const char* message, int32_t kind);

    // Writes <directory>\<B>DB.txt, the fields and records of the table
    // <directory>\<fileName>, B being fileName up to its first '.'. Answers
    // 1 when done, 2 when the table cannot be opened, 3 when it has no
    // fields, 0 when the dump itself cannot be written.
    int32_t DumpDBF(const char* directory, const char* fileName);
    // Writes <directory>\<B>SHP.txt, the bounds and vertices of every shape
    // of <directory>\<fileName>. Answers 1 when done, 2 when the shapefile
    // cannot be opened, 3 when a shape cannot be read (the dump ends
    // there), 0 when the dump itself cannot be written.
    int32_t DumpSHP(const char* directory, const char* fileName);

    // Draws every shape in its own colour; true when at least one of them
    // lay in the view.
    bool DrawShapes(const XYRect& view);

    // Deletes every shape.
    void ClearShapes();

    const PointerListOf<GISShape>& GetShapes() const { return shapes; }
    const std::vector<std::string>& GetShapefileTable() const { return shapefiles; }
    // The GIS directory of the last Load.
    const std::string& GetDirectory() const { return directory; }
    // The scenario area the checks use; Load takes it from the map.
    void SetScenarioArea(const LatLonRect& area);
    const LatLonRect& GetScenarioArea() const { return area; }

    // The directory part of a path: up to its last '\' or '/', that separator
    // left out; "." when there is none; the separator itself for a path
    // directly under the root ("\x.scn", "/x.scn").
    static std::string DirectoryOf(const std::string& path);

private:
    // Appends a new shape to the list; a null shape (allocation failed) or
    // an empty one is dropped.
    void AddShape(GISShape* shape);
    // Logs an error line with the message built from format.
    void LogError(int32_t code, const char* function, const char* format, ...)
        __attribute__((format(printf, 4, 5)));
    // Strictly inside the scenario area; across the 180-degree meridian
    // (east edge below the west edge) east and negative longitudes move by
    // one turn.
    bool IsInsideArea(const LatLonPoint& point) const;

    PointerListOf<GISShape> shapes;       // owned, in the order read
    std::string directory = ".";          // the GIS directory
    std::vector<std::string> shapefiles;  // base names, upper case
    LatLonRect area;                      // angle units
    float areaDegrees[4] = {};            // west, east, south, north in whole degrees (messages only)
};

// The overlay manager; created on first need and kept for the program's run.
extern GISManager* gGISManager;

// Draws the overlays on the main map window showing `view`, after the map:
// nothing while the show flag is 0; otherwise every shape in its own colour
// (creating gGISManager, empty, when there is none), and the screen is marked
// for a full refresh when at least one shape lay in the view.
void DrawGISOverlays(const XYRect& view);

// The overlay show flag of the map windows: 1 shown (the start), 0 hidden.
uint8_t GetGISShowFlag();
void SetGISShowFlag(uint8_t shown);
// Flips the flag between 1 and 0 and answers the new value.
uint8_t ToggleGISShowFlag();
