// GISManager.cpp: pairing the shapefiles of a directory, reading them through
// shapelib into overlay shapes, the checks against the scenario area, the
// error log and the two dumps, and drawing the overlays.
#include "world/GISManager.h"

#include <shapefil.h>

#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <new>

#include "core/ScreenRefresh.h"
#include "core/Units.h"
#include "platform/Clock.h"
#include "platform/DirSearch.h"
#include "platform/FileName.h"
#include "platform/Path.h"
#include "world/Nav2Game.h"
#include "world/OpenedFilePath.h"

GISManager* gGISManager = nullptr;

namespace {

uint8_t showFlag = 1;

constexpr char SEPARATOR = '\\';
constexpr double ANGLE_PER_DEGREE_D = 245760.0;   // 60 x 4096

const char* const READ_FUNCTION = "ReadSHPDBF()";
const char* const DIRECTORY_FUNCTION = "ReadInputDirectory()";
const char* const CHECK_FUNCTION = "CheckLinePoly-GISManager";
const char* const POINT_FUNCTION = "CheckPoint-GISManager";
const char* const DUMP_FUNCTION = "DumpDBF()";

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string FormatList(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatList(format, args);
    va_end(args);
    return text;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

const char* OrEmpty(const char* text)
{
    return text != nullptr ? text : "";
}

// directory, the program's separator, name; no second separator after a
// directory that already ends in one (the root).
std::string JoinPath(const std::string& directory, const std::string& name)
{
    if (!directory.empty() && platform::IsSeparator(directory.back()))
        return directory + name;
    return directory + SEPARATOR + name;
}

// True when name stays one name inside its folder: no separator, no "..",
// no wildcard or control character.
bool IsPlainName(const std::string& name)
{
    return !name.empty() && platform::SafeFileName(name) == name;
}

// Degrees to angle units, truncated toward zero; false (out untouched) when
// the value is no angle within limit degrees, NaN included.
bool ToAngle(double degrees, double limit, int32_t& out)
{
    if (!(std::fabs(degrees) <= limit))
        return false;
    out = static_cast<int32_t>(degrees * ANGLE_PER_DEGREE_D);   // |result| < 2^27
    return true;
}

float WholeDegrees(int32_t angle)
{
    return static_cast<float>(angle / ANGLE_PER_DEGREE);
}

// Opening goes through the platform's path rules: '\' separators and names
// matched without regard to case, so ROADS.SHP, roads.dbf and Roads.shx pair.
SAFile OpenThroughPlatform(const char* filename, const char* access)
{
    const std::string native = platform::NativePath(OrEmpty(filename));
    return reinterpret_cast<SAFile>(std::fopen(native.c_str(), access));
}

// shapelib's own complaints would go to stderr; the log says what matters.
void IgnoreShapelibError(const char*) {}

SAHooks& ShapelibHooks()
{
    static SAHooks hooks = [] {
        SAHooks h;
        SASetupDefaultHooks(&h);
        h.FOpen = OpenThroughPlatform;
        h.Error = IgnoreShapelibError;
        return h;
    }();
    return hooks;
}

struct ShapeFileCloser {
    void operator()(SHPInfo* handle) const { SHPClose(handle); }
};
struct TableCloser {
    void operator()(DBFInfo* handle) const { DBFClose(handle); }
};
struct ShapeDestroyer {
    void operator()(SHPObject* shape) const { SHPDestroyObject(shape); }
};
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using ShapeFile = std::unique_ptr<SHPInfo, ShapeFileCloser>;
using Table = std::unique_ptr<DBFInfo, TableCloser>;
using Shape = std::unique_ptr<SHPObject, ShapeDestroyer>;
using TextFile = std::unique_ptr<std::FILE, FileCloser>;

ShapeFile OpenShapeFile(const std::string& path)
{
    return ShapeFile(SHPOpenLL(path.c_str(), "rb", &ShapelibHooks()));
}

Table OpenTable(const std::string& path)
{
    return Table(DBFOpenLL(path.c_str(), "rb", &ShapelibHooks()));
}

// The records a table's file can hold after its header: its announced count,
// cut to what the file's size leaves room for (a damaged header may announce
// millions of records in a file of a few bytes).
int RecordsHeld(DBFInfo& table)
{
    if (table.nRecords <= 0 || table.nRecordLength <= 0)
        return 0;
    if (table.sHooks.FSeek(table.fp, 0, SEEK_END) != 0)
        return 0;
    const SAOffset size = table.sHooks.FTell(table.fp);
    const SAOffset header = static_cast<SAOffset>(table.nHeaderLength);
    if (size <= header)
        return 0;
    const SAOffset fit = (size - header) / static_cast<SAOffset>(table.nRecordLength);
    return fit < static_cast<SAOffset>(table.nRecords) ? static_cast<int>(fit) : table.nRecords;
}

TextFile CreateTextFile(const std::string& path)
{
    return TextFile(std::fopen(platform::NativePathForCreate(path).c_str(), "wb"));
}

void Write(std::FILE* file, const std::string& text)
{
    std::fputs(text.c_str(), file);
}

const char* FieldTypeWord(DBFFieldType type)
{
    switch (type) {
    case FTString:
        return "String";
    case FTInteger:
        return "Integer";
    case FTDouble:
        return "Double";
    default:
        return "Invalid";
    }
}

// The vertex's coordinate of an array shapelib may leave out (Z, M).
double At(const double* values, int i)
{
    return values != nullptr ? values[i] : 0.0;
}

// The shape's vertices as positions (Y latitude, X longitude); false when
// any coordinate is no angle in degrees.
bool ReadVertices(const SHPObject& shape, std::vector<LatLonPoint>& points)
{
    points.resize(static_cast<size_t>(shape.nVertices));
    for (int i = 0; i < shape.nVertices; ++i) {
        if (!ToAngle(shape.padfY[i], GISManager::MAX_LATITUDE, points[i].lat) ||
            !ToAngle(shape.padfX[i], GISManager::MAX_LONGITUDE, points[i].lon))
            return false;
    }
    return true;
}

}  // namespace

GISManager::~GISManager()
{
    ClearShapes();
}

void GISManager::ClearShapes()
{
    for (GISShape* shape : shapes)
        delete shape;
    shapes.Clear();
}

void GISManager::AddShape(GISShape* shape)
{
    if (shape == nullptr)
        return;
    if (shape->GetPointCount() < 1 || !shapes.Append(shape))
        delete shape;
}

std::string GISManager::DirectoryOf(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos)
        return ".";
    if (cut == 0)
        return path.substr(0, 1);
    return path.substr(0, cut);
}

void GISManager::SetScenarioArea(const LatLonRect& bounds)
{
    area = bounds;
    areaDegrees[0] = WholeDegrees(bounds.west);
    areaDegrees[1] = WholeDegrees(bounds.east);
    areaDegrees[2] = WholeDegrees(bounds.south);
    areaDegrees[3] = WholeDegrees(bounds.north);
}

void GISManager::Load()
{
    // Shapes of the previous file were projected for its map; keeping them
    // would also draw them twice when the same scenario is opened again.
    ClearShapes();
    shapefiles.clear();
    directory = DirectoryOf(GetOpenedFilePath());

    LatLonRect bounds;
    SetScenarioArea(Nav2Game::GetMapBounds(bounds));

    WriteGISLog(0, "Load()", "GIS Load Starts", LOG_START);
    int32_t count = 0;
    ReadInputDirectory(directory.c_str(), count);
    const std::vector<std::string> names = shapefiles;
    for (const std::string& name : names) {
        DumpDBF(directory.c_str(), (name + ".dbf").c_str());
        DumpSHP(directory.c_str(), (name + ".shp").c_str());
        ReadSHPDBF(directory.c_str(), name.c_str());
    }
    WriteGISLog(0, "Load()", "GIS Load End", LOG_END);
}

int32_t GISManager::ReadInputDirectory(const char* folder, int32_t& count)
{
    shapefiles.clear();
    count = 0;
    std::vector<std::string> entries;
    if (!platform::ListDirectory(OrEmpty(folder), entries))
        return 1;
    if (entries.size() > MAX_DIRECTORY_ENTRIES)
        entries.resize(MAX_DIRECTORY_ENTRIES);

    enum Slot { SLOT_DBF, SLOT_SHP, SLOT_SHX, SLOT_COUNT };
    struct Group {
        std::string base;
        bool present[SLOT_COUNT] = {};
    };
    std::vector<Group> groups;
    for (const std::string& entry : entries) {
        const size_t dot = entry.find('.');
        if (dot == std::string::npos)
            continue;   // extension "none"
        const std::string base = Upper(entry.substr(0, dot));
        const std::string extension = Upper(entry.substr(dot + 1));
        Slot slot;
        if (extension == "DBF")
            slot = SLOT_DBF;
        else if (extension == "SHP")
            slot = SLOT_SHP;
        else if (extension == "SHX")
            slot = SLOT_SHX;
        else
            continue;
        if (base.size() > MAX_BASE_NAME)
            continue;
        Group* group = nullptr;
        for (Group& each : groups) {
            if (each.base == base) {
                group = &each;
                break;
            }
        }
        if (group == nullptr) {
            groups.push_back({base, {}});
            group = &groups.back();
        }
        group->present[slot] = true;
    }

    for (const Group& group : groups) {
        if (group.present[SLOT_DBF] && group.present[SLOT_SHP] && group.present[SLOT_SHX]) {
            if (shapefiles.size() < MAX_SHAPEFILES)
                shapefiles.push_back(group.base);
            continue;
        }
        const char* base = group.base.c_str();
        if (!group.present[SLOT_DBF])
            LogError(GIS_ERR_NO_DBF, DIRECTORY_FUNCTION, "%s.DBF file not found.", base);
        if (!group.present[SLOT_SHP])
            LogError(GIS_ERR_NO_SHP, DIRECTORY_FUNCTION, "%s.SHP file not found.", base);
        if (!group.present[SLOT_SHX])
            LogError(GIS_ERR_NO_SHX, DIRECTORY_FUNCTION, "%s.SHX file not found.", base);
    }
    count = static_cast<int32_t>(shapefiles.size());
    return 1;
}

int32_t GISManager::ReadSHPDBF(const char* folder, const char* baseName)
{
    const std::string dir = OrEmpty(folder);
    const std::string base = OrEmpty(baseName);
    const char* name = base.c_str();

    // A name that would lead out of the directory is not followed.
    ShapeFile shp = IsPlainName(base) ? OpenShapeFile(JoinPath(dir, base + ".shp")) : nullptr;
    if (!shp) {
        LogError(GIS_ERR_SHP_OPEN, READ_FUNCTION, "%s.shp failed to open.", name);
        return GIS_ERR_SHP_OPEN;
    }
    int shapeCount = 0;
    int shapeType = SHPT_NULL;
    double minBound[4] = {};
    double maxBound[4] = {};
    SHPGetInfo(shp.get(), &shapeCount, &shapeType, minBound, maxBound);
    const std::string fileType = Upper(OrEmpty(SHPTypeName(shapeType)));
    const bool isPoint = fileType == "POINT";
    const bool isLine = fileType == "ARC" || fileType == "LINE";
    const bool isPolygon = fileType == "POLYGON";
    if (!isPoint && !isLine && !isPolygon) {
        LogError(GIS_ERR_SHAPE_TYPE, READ_FUNCTION, "%s.shp contain shape other than Line, Point or Poly.",
                 name);
        return GIS_ERR_SHAPE_TYPE;
    }

    Table dbf = OpenTable(JoinPath(dir, base + ".dbf"));
    if (!dbf) {
        LogError(GIS_ERR_DBF_OPEN, READ_FUNCTION, "%s.DBF failed to open.", name);
        return GIS_ERR_DBF_OPEN;
    }
    const int fieldCount = DBFGetFieldCount(dbf.get());
    if (fieldCount <= 0) {
        LogError(GIS_ERR_NO_FIELDS, READ_FUNCTION, "No DBF Record in %s.dbf", name);
        return GIS_ERR_NO_FIELDS;
    }

    int colourField = -1;
    bool defaultColour = false;
    for (int i = 0; i < fieldCount; ++i) {
        char fieldName[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0;
        int decimals = 0;
        const DBFFieldType type = DBFGetFieldInfo(dbf.get(), i, fieldName, &width, &decimals);
        if (Upper(fieldName) != "GIS_COLOR")
            continue;
        colourField = i;
        if (type != FTInteger) {
            LogError(GIS_ERR_COLOUR_TYPE, READ_FUNCTION, "GIS_COLOR in %s.DBF is not numeric.", name);
            defaultColour = true;
        }
    }
    if (colourField < 0) {
        LogError(GIS_ERR_NO_COLOUR, READ_FUNCTION, "GIS_COLOR is missing from %s.DBF.", name);
        defaultColour = true;
    }

    if (DBFGetRecordCount(dbf.get()) != shapeCount) {
        LogError(GIS_ERR_RECORD_COUNT, READ_FUNCTION, "%s.SHP and %s.DBF have different number of records",
                 name, name);
        return GIS_ERR_RECORD_COUNT;
    }

    std::vector<LatLonPoint> points;
    for (int s = 0; s < shapeCount; ++s) {
        const Shape shape(SHPReadObject(shp.get(), s));
        if (!shape) {
            LogError(GIS_ERR_SHAPE_TYPE, READ_FUNCTION, "%s.SHP have illegal shape", name);
            return GIS_ERR_SHAPE_TYPE;
        }
        if (Upper(OrEmpty(SHPTypeName(shape->nSHPType))) != fileType) {
            LogError(GIS_ERR_MIXED_SHAPES, READ_FUNCTION, "%s.SHP has different shapes ", name);
            return GIS_ERR_MIXED_SHAPES;
        }
        const int32_t colour =
            defaultColour ? DEFAULT_COLOUR : DBFReadIntegerAttribute(dbf.get(), s, colourField);

        // A shapefile in metres or another projection holds no degrees:
        // converting its values would overflow, and drawing them would mean
        // nothing on this map.
        if (shape->nVertices < 0 || !ReadVertices(*shape, points)) {
            LogError(GIS_ERR_NOT_DEGREES, READ_FUNCTION,
                     "%s.SHP shape %d has coordinates that are not degrees of latitude and longitude; skipped.",
                     name, s);
            continue;
        }
        const int n = shape->nVertices;

        if (isPoint) {
            for (const LatLonPoint& point : points) {
                CheckPoint(point);
                AddShape(new (std::nothrow) GISPoint(point, colour));
            }
        } else if (isLine) {
            for (int i = 0; i + 1 < n; ++i) {
                const LatLonPoint ends[2] = {points[i], points[i + 1]};
                CheckLinePoly(ends, 2, CHECK_LINE);
                AddShape(new (std::nothrow) GISLine(ends, colour));
            }
        } else {
            if (n == 0) {
                LogError(GIS_ERR_NO_VERTICES, READ_FUNCTION, "%s.SHP shape %d is a polygon without vertices; skipped.",
                         name, s);
                continue;
            }
            // The ring's 16-bit count must also hold the closing point.
            const int64_t ringCount = int64_t{n} + (points.front() == points.back() ? 0 : 1);
            if (ringCount > INT16_MAX) {
                LogError(GIS_ERR_TOO_MANY_VERTICES, READ_FUNCTION,
                         "%s.SHP shape %d has %d vertices, more than a polygon can hold; skipped.", name, s, n);
                continue;
            }
            CheckLinePoly(points.data(), n, CHECK_POLYGON);
            AddShape(new (std::nothrow) GISPolygon(points.data(), static_cast<int16_t>(n), colour));
        }
    }
    return 1;
}

bool GISManager::IsInsideArea(const LatLonPoint& point) const
{
    int64_t east = area.east;
    int64_t lon = point.lon;
    if (area.east < area.west) {
        east += ANGLE_FULL;
        if (lon < 0)
            lon += ANGLE_FULL;
    }
    return area.west < lon && lon < east && area.south < point.lat && point.lat < area.north;
}

void GISManager::CheckLinePoly(const LatLonPoint* points, int32_t n, int32_t kind)
{
    if (points == nullptr || n < 1)
        return;
    int32_t inside = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (IsInsideArea(points[i]))
            ++inside;
    }
    if (inside == n)
        return;

    const float west = areaDegrees[0], east = areaDegrees[1], south = areaDegrees[2], north = areaDegrees[3];
    const bool none = inside == 0;
    const int32_t code = none ? GIS_ERR_OUTSIDE_AREA : GIS_ERR_PARTLY_OUTSIDE;
    if (kind == CHECK_LINE && n >= 2) {
        const double lon1 = WholeDegrees(points[0].lon), lat1 = WholeDegrees(points[0].lat);
        const double lon2 = WholeDegrees(points[1].lon), lat2 = WholeDegrees(points[1].lat);
        if (none)
            LogError(code, CHECK_FUNCTION,
                     "Line ( %.2f, %.2f) to ( %.2f,%.2f) does not overlay with a given scenario topleft( %.2f, "
                     "%.2f) bottomright (%.2f, %.2f) ",
                     lon1, lat1, lon2, lat2, west, north, east, south);
        else
            LogError(code, CHECK_FUNCTION,
                     "Line ( %.2f, %.2f) to ( %.2f, %.2f) has intersection with a given scenario topleft( %.2f, "
                     "%.2f) bottomright (%.2f, %.2f) ",
                     lon1, lat1, lon2, lat2, west, north, east, south);
    } else if (none) {
        LogError(code, CHECK_FUNCTION,
                 "A poly does not overlay with a given scenario topleft( %.2f, %.2f) bottomright (%.2f, %.2f) ",
                 west, north, east, south);
    } else {
        LogError(code, CHECK_FUNCTION,
                 "A poly has an intersection with a given scenario topleft( %.2f, %.2f) bottomright ( %.2f,%.2f) ",
                 west, north, east, south);
    }
}

void GISManager::CheckPoint(const LatLonPoint& point)
{
    if (IsInsideArea(point))
        return;
    // Logged like the lines and polygons that miss the area, so that a
    // point file in the wrong place shows in the log too.
    LogError(GIS_ERR_OUTSIDE_AREA, POINT_FUNCTION,
             "Point ( %.2f, %.2f) does not overlay with a given scenario toplef( %.2f, %.2f) bottomright ( %.2f, "
             "%.2f) ",
             double{WholeDegrees(point.lon)}, double{WholeDegrees(point.lat)}, double{areaDegrees[0]},
             double{areaDegrees[3]}, double{areaDegrees[1]}, double{areaDegrees[2]});
}

void GISManager::LogError(int32_t code, const char* function, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string message = FormatList(format, args);
    va_end(args);
    WriteGISLog(code, function, message.c_str(), LOG_ERROR);
}

void GISManager::WriteGISLog(int32_t code, const char* function, const char* message, int32_t kind)
{
    const std::string time = platform::CalendarText(platform::CalendarTime());
    std::string line;
    const char* mode = "ab";
    switch (kind) {
    case LOG_START:
        mode = "wb";
        line = Format("%s   Start Load Shapefile   %s   %s\n", time.c_str(), OrEmpty(function), OrEmpty(message));
        break;
    case LOG_ERROR:
        line = Format("\n%s   ERR%d     %s     %s \n", time.c_str(), code, OrEmpty(function), OrEmpty(message));
        break;
    case LOG_END:
        line = Format("\n%s   End Load Shapefile   %s   %s\n\n", time.c_str(), OrEmpty(function), OrEmpty(message));
        break;
    default:
        return;
    }
    const std::string path = platform::NativePathForCreate(JoinPath(directory, "GIS_ERR.LOG"));
    const TextFile log(std::fopen(path.c_str(), mode));
    if (log)
        Write(log.get(), line);
}

int32_t GISManager::DumpDBF(const char* folder, const char* fileName)
{
    const std::string dir = OrEmpty(folder);
    const std::string file = OrEmpty(fileName);
    const std::string base = file.substr(0, file.find('.'));
    const std::string tablePath = JoinPath(dir, file);
    const TextFile dump = CreateTextFile(JoinPath(dir, platform::SafeFileName(base) + "DB.txt"));
    if (!dump)
        return 0;
    std::FILE* out = dump.get();
    const char* table = tablePath.c_str();

    Write(out, Format(" Output from reading: %s \n", table));
    Write(out, "        h=1 Write header info (field descriptions)\n");
    Write(out, "        r=1 Write raw field info, numeric values not reformatted\n");
    Write(out, "        m=1 Multiline, one line per field.\n");
    Write(out, Format("The dbf file name to check : %s \n", table));

    const Table dbf = IsPlainName(file) ? OpenTable(tablePath) : nullptr;
    if (!dbf) {
        Write(out, Format("DBFOpen(%s,\"r\") failed.\n", table));
        return 2;
    }
    Write(out, Format("dbfFile %s is opened !\n", table));
    const int fieldCount = DBFGetFieldCount(dbf.get());
    if (fieldCount <= 0) {
        Write(out, "There are no fields in this table!\n");
        return 3;
    }
    Write(out, Format("We find some fields in %s !\n", table));

    struct Field {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0;
    };
    std::vector<Field> fields(static_cast<size_t>(fieldCount));
    for (int i = 0; i < fieldCount; ++i) {
        int decimals = 0;
        Field& field = fields[static_cast<size_t>(i)];
        const DBFFieldType type = DBFGetFieldInfo(dbf.get(), i, field.name, &field.width, &decimals);
        Write(out, Format("Field %d: Type=%s, Title=`%s', Width=%d, Decimals=%d\n", i, FieldTypeWord(type), field.name,
                          field.width, decimals));
    }
    Write(out, "Compute the offsets to use when printing each of the field\n");
    Write(out, Format("The field count %d \n", fieldCount));
    Write(out, "\n");

    const char* name = base.c_str();
    const int announced = DBFGetRecordCount(dbf.get());
    const int recordCount = RecordsHeld(*dbf);
    if (recordCount < announced)
        LogError(GIS_ERR_DBF_SHORT, DUMP_FUNCTION, "%s.DBF announces %d records but holds %d.", name, announced,
                 recordCount);
    // A record is written only once all its fields are read; the dump ends at
    // the first that cannot be.
    std::string record;
    for (int r = 0; r < recordCount; ++r) {
        record = Format("Record: %d\n", r);
        bool read = true;
        for (int i = 0; i < fieldCount && read; ++i) {
            const Field& field = fields[static_cast<size_t>(i)];
            const char* value = DBFReadStringAttribute(dbf.get(), r, i);
            read = value != nullptr;
            if (read)
                record += Format("%s: ", field.name) + Format("%-*s", field.width, value) + "\n";
        }
        if (!read) {
            LogError(GIS_ERR_DBF_SHORT, DUMP_FUNCTION, "%s.DBF record %d cannot be read; the dump ends there.", name,
                     r);
            break;
        }
        Write(out, record + "\n");
    }
    return 1;
}

int32_t GISManager::DumpSHP(const char* folder, const char* fileName)
{
    const std::string dir = OrEmpty(folder);
    const std::string file = OrEmpty(fileName);
    const std::string base = file.substr(0, file.find('.'));
    const std::string shapePath = JoinPath(dir, file);
    const TextFile dump = CreateTextFile(JoinPath(dir, platform::SafeFileName(base) + "SHP.txt"));
    if (!dump)
        return 0;
    std::FILE* out = dump.get();
    const char* path = shapePath.c_str();

    Write(out, Format("The result of reading %s \n", path));
    Write(out, "opening !\n");
    const ShapeFile shp = IsPlainName(file) ? OpenShapeFile(shapePath) : nullptr;
    if (!shp) {
        Write(out, Format("Unable to open:%s\n", path));
        return 2;
    }
    Write(out, Format("Shapefile %s is opened !\n", path));
    Write(out, "            Print the file bounds \n ");
    int shapeCount = 0;
    int shapeType = SHPT_NULL;
    double minBound[4] = {};
    double maxBound[4] = {};
    SHPGetInfo(shp.get(), &shapeCount, &shapeType, minBound, maxBound);
    Write(out, Format("Shapefile Type: %s   # of Shapes: %d\n\n", OrEmpty(SHPTypeName(shapeType)), shapeCount));
    Write(out, Format("File Bounds: (%12.3f,%12.3f,%g,%g)\n         to  (%12.3f,%12.3f,%g,%g)\n", minBound[0],
                      minBound[1], minBound[2], minBound[3], maxBound[0], maxBound[1], maxBound[2], maxBound[3]));
    Write(out, "            Skim over the list of shapes and printing all the vertices\n\n ");
    Write(out, Format("  The number of nEntities from the shapefile are %d", shapeCount));

    for (int i = 0; i < shapeCount; ++i) {
        const Shape shape(SHPReadObject(shp.get(), i));
        if (!shape)
            return 3;
        const SHPObject& s = *shape;
        Write(out, Format("\nShape:%d (%s)  nVertices=%d, nParts=%d\n  Bounds:(%12.3f,%12.3f, %g, %g)\n"
                          "      to (%12.3f,%12.3f, %g, %g)\n",
                          i, OrEmpty(SHPTypeName(s.nSHPType)), s.nVertices, s.nParts, s.dfXMin, s.dfYMin, s.dfZMin,
                          s.dfMMin, s.dfXMax, s.dfYMax, s.dfZMax, s.dfMMax));
        int part = 0;
        for (int j = 0; j < s.nVertices; ++j) {
            const char* plus = " ";
            const char* partType = "";
            if (part < s.nParts && s.panPartStart != nullptr && s.panPartStart[part] == j) {
                partType = OrEmpty(SHPPartTypeName(s.panPartType != nullptr ? s.panPartType[part] : SHPP_RING));
                if (part > 0)
                    plus = "+";
                ++part;
            }
            Write(out, Format("   %s (%12.3f,%12.3f, %g, %g) %s \n", plus, s.padfX[j], s.padfY[j], At(s.padfZ, j),
                              At(s.padfM, j), partType));
        }
    }
    return 1;
}

bool GISManager::DrawShapes(const XYRect& view)
{
    bool drawn = false;
    for (GISShape* shape : shapes) {
        shape->Draw(view, GISShape::OWN_COLOUR);
        if (XYRect::Overlaps(view, shape->GetXYBounds()))
            drawn = true;
    }
    return drawn;
}

void DrawGISOverlays(const XYRect& view)
{
    if (showFlag == 0)
        return;
    if (gGISManager == nullptr) {
        gGISManager = new (std::nothrow) GISManager;
        if (gGISManager == nullptr)
            return;
    }
    if (gGISManager->DrawShapes(view))
        fg_set_full_refresh();
}

uint8_t GetGISShowFlag()
{
    return showFlag;
}

void SetGISShowFlag(uint8_t shown)
{
    showFlag = shown != 0 ? 1 : 0;
}

uint8_t ToggleGISShowFlag()
{
    showFlag = showFlag != 0 ? 0 : 1;
    return showFlag;
}
