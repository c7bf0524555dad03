// AnnexJson.cpp: reading the JSON sources of the sample platform database
// into annex records, and writing the sixteen annex files.
#include "AnnexJson.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <type_traits>

#include <nlohmann/json.hpp>

#include "annex/AnnexTables.h"
#include "core/Units.h"

using nlohmann::json;

namespace {

// Reads the fields of one record object, remembering the first error and
// which fields were taken, so that a misspelt field is reported.
class FieldReader {
public:
    FieldReader(const json& record, std::string where) : record_(record), where_(std::move(where)) {}

    template <class Int>
    void Number(const char* key, Int& out)
    {
        if (const json* value = Take(key))
            NumberFrom(*value, key, out);
    }

    void Name(const char* key, NameString& out)
    {
        const json* value = Take(key);
        if (!value)
            return;
        if (!value->is_string())
            return Fail(key, "must be a text");
        const std::string text = value->get<std::string>();
        if (text.size() > static_cast<size_t>(NameString::MAX_LENGTH))
            return Fail(key, "is longer than 31 characters");
        if (text.find('|') != std::string::npos || text.find('\0') != std::string::npos)
            return Fail(key, "holds a '|' or a zero byte");
        out.Set(text.c_str());
    }

    void TypeCode(const char* key, PlatformTypeCode& out)
    {
        const json* value = Take(key);
        if (!value)
            return;
        if (!value->is_string() || value->get<std::string>().size() > PlatformTypeCode::LENGTH)
            return Fail(key, "must be a text of at most 5 characters");
        out.Set(value->get<std::string>().c_str());
    }

    void IDs(const char* key, IDList& out)
    {
        const json* value = Take(key);
        if (!value)
            return;
        if (!value->is_array())
            return Fail(key, "must be a list of IDs");
        for (const json& item : *value) {
            uint16_t id = 0;
            if (!NumberFrom(item, key, id))
                return;
            out.Insert(new IDNode(id));
        }
    }

    // A plane's loadout list: the IDs, each with a usable range of 0.
    void Loadouts(const char* key, NavIDList& out)
    {
        IDList ids;
        IDs(key, ids);
        for (const IDNode* id = ids.First(); id; id = id->GetNext())
            out.Insert(new NavIDNode(id->GetKey(), 0));
    }

    void IDValues(const char* key, IDRecordList& out)
    {
        const json* value = Take(key);
        if (!value)
            return;
        if (!value->is_array())
            return Fail(key, "must be a list of {\"id\", \"value\"} entries");
        for (const json& item : *value) {
            uint16_t id = 0;
            uint32_t v = 0;
            if (!item.is_object() || item.size() != 2 || !item.contains("id") || !item.contains("value"))
                return Fail(key, "entries must be {\"id\": n, \"value\": n}");
            if (!NumberFrom(item["id"], key, id) || !NumberFrom(item["value"], key, v))
                return;
            out.Insert(new IDRecord(id, v));
        }
    }

    void Triple(const char* key, ShortTriple& out)
    {
        uint16_t values[ShortTriple::COUNT] = {};
        if (Row(key, values, ShortTriple::COUNT))
            for (int i = 0; i < ShortTriple::COUNT; ++i)
                out.Set(i, values[i]);
    }

    // A fixed row of numbers (bytes, band values): exactly count of them.
    template <class Int>
    bool Row(const char* key, Int* out, int count)
    {
        const json* value = Take(key);
        if (!value)
            return false;
        if (!value->is_array() || value->size() != static_cast<size_t>(count))
            return Fail(key, "must be a list of " + std::to_string(count) + " numbers"), false;
        for (int i = 0; i < count; ++i)
            if (!NumberFrom((*value)[i], key, out[i]))
                return false;
        return true;
    }

    void SpeedTable(const char* key, PropulsionSpeed (&table)[PropulsionAnnex::SETTINGS][PropulsionAnnex::BANDS])
    {
        const json* value = Take(key);
        if (!value)
            return;
        if (!value->is_array() || value->size() != PropulsionAnnex::SETTINGS)
            return Fail(key, "must hold 4 rows");
        for (int r = 0; r < PropulsionAnnex::SETTINGS; ++r) {
            const json& row = (*value)[r];
            if (!row.is_array() || row.size() != PropulsionAnnex::BANDS)
                return Fail(key, "rows must hold 4 entries");
            for (int c = 0; c < PropulsionAnnex::BANDS; ++c) {
                const json& entry = row[c];
                if (!entry.is_array() || entry.size() != 3)
                    return Fail(key, "entries must be [upper, lower, speed]");
                PropulsionSpeed& cell = table[r][c];
                if (!NumberFrom(entry[0], key, cell.upper) || !NumberFrom(entry[1], key, cell.lower)
                    || !NumberFrom(entry[2], key, cell.speed))
                    return;
            }
        }
    }

    void Position(const char* key, LatLonPoint& out)
    {
        const json* value = Take(key);
        if (!value)
            return;
        if (!value->is_object() || value->size() != 2 || !value->contains("lat") || !value->contains("lon"))
            return Fail(key, "must be {\"lat\": degrees, \"lon\": degrees}");
        Degrees((*value)["lat"], key, out.lat);
        Degrees((*value)["lon"], key, out.lon);
    }

    void Points(const char* key, IDPointList& out)
    {
        const json* value = Take(key);
        if (!value)
            return;
        if (!value->is_array())
            return Fail(key, "must be a list of {\"facility\", \"lat\", \"lon\"} entries");
        for (const json& item : *value) {
            if (!item.is_object() || item.size() != 3 || !item.contains("facility") || !item.contains("lat")
                || !item.contains("lon"))
                return Fail(key, "entries must be {\"facility\": id, \"lat\": degrees, \"lon\": degrees}");
            uint16_t id = 0;
            LatLonPoint offset;
            if (!NumberFrom(item["facility"], key, id) || !Degrees(item["lat"], key, offset.lat)
                || !Degrees(item["lon"], key, offset.lon))
                return;
            out.Insert(new IDPoint(id, offset));
        }
    }

    // Reports the first error, or a field nobody took.
    bool Finish(std::string& error) const
    {
        if (!error_.empty()) {
            error = error_;
            return false;
        }
        for (const auto& item : record_.items()) {
            if (item.key() != "comment" && taken_.count(item.key()) == 0) {
                error = where_ + ": unknown field \"" + item.key() + "\"";
                return false;
            }
        }
        return true;
    }

private:
    const json* Take(const char* key)
    {
        taken_.insert(key);
        const auto found = record_.find(key);
        return found == record_.end() ? nullptr : &*found;
    }

    void Fail(const char* key, const std::string& what)
    {
        if (error_.empty())
            error_ = where_ + ": field \"" + key + "\" " + what;
    }

    template <class Int>
    bool NumberFrom(const json& value, const char* key, Int& out)
    {
        static_assert(std::is_integral_v<Int>);
        int64_t number = 0;
        if (value.is_number_unsigned()) {
            const uint64_t u = value.get<uint64_t>();
            if (u > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
                return Fail(key, "is out of range"), false;
            number = static_cast<int64_t>(u);
        } else if (value.is_number_integer()) {
            number = value.get<int64_t>();
        } else if (value.is_string()) {
            const std::string text = value.get<std::string>();
            char* end = nullptr;
            errno = 0;
            number = std::strtoll(text.c_str(), &end, 0);
            if (text.empty() || *end != '\0' || errno != 0)
                return Fail(key, "holds \"" + text + "\", which is no number"), false;
        } else {
            return Fail(key, "must be a whole number"), false;
        }
        if (number < static_cast<int64_t>(std::numeric_limits<Int>::min())
            || number > static_cast<int64_t>(std::numeric_limits<Int>::max()))
            return Fail(key, "value " + std::to_string(number) + " does not fit the field"), false;
        out = static_cast<Int>(number);
        return true;
    }

    // Degrees, north and east positive, to angle units.
    bool Degrees(const json& value, const char* key, int32_t& out)
    {
        if (!value.is_number())
            return Fail(key, "latitudes and longitudes must be numbers of degrees"), false;
        const double degrees = value.get<double>();
        if (!(std::fabs(degrees) <= 180.0))
            return Fail(key, "lies outside -180 to 180 degrees"), false;
        out = static_cast<int32_t>(std::llround(degrees * ANGLE_PER_DEGREE));
        return true;
    }

    const json& record_;
    std::string where_;
    std::set<std::string> taken_;
    std::string error_;
};

// The fields of each record class, in its file order.

void ReadFields(FieldReader& f, AirFacilityAnnex& r)
{
    f.Number("kindCode", r.kindCode);
    f.Number("value", r.value);
    f.Number("extra", r.extra);
}

void ReadFields(FieldReader& f, CommAnnex& r)
{
    f.Number("commType", r.commType);
    f.Number("flags", r.flags);
    f.Number("range", r.range);
    f.Number("value", r.value);
    f.Name("name", r.name);
    f.Number("byteValue", r.byteValue);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, FacilityAnnex& r)
{
    f.Number("typeCode", r.typeCode);
    f.Number("secondCode", r.secondCode);
    f.IDs("airFacilityIDs", r.airFacilityIDs);
    f.IDValues("sensors", r.sensors);
    f.IDValues("mounts", r.mounts);
    f.IDs("commIDs", r.commIDs);
    f.IDs("magazineIDs", r.magazineIDs);
    f.IDs("fuelIDs", r.fuelIDs);
    f.Triple("triple1", r.triple1);
    f.Triple("triple2", r.triple2);
    f.Triple("triple3", r.triple3);
    f.Number("value", r.value);
    f.Number("textNumber", r.textNumber);
    f.Name("name", r.name);
    f.Number("damagePoints", r.damagePoints);
    f.Number("height", r.height);
    f.Row("bytes", r.bytes, FacilityAnnex::BYTE_COUNT);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, FuelAnnex& r)
{
    f.Number("fuelType", r.fuelType);
    f.Number("capacity", r.capacity);
    f.Number("thirdValue", r.thirdValue);
}

void ReadFields(FieldReader& f, InstallationAnnex& r)
{
    f.Points("points", r.points);
    f.Position("position", r.position);
    f.Name("name", r.name);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, LoadoutAnnex& r)
{
    f.Number("firstCode", r.firstCode);
    f.Number("secondCode", r.secondCode);
    f.IDs("firstIDs", r.firstIDs);
    f.IDs("weaponRecIDs", r.weaponRecIDs);
    f.Number("mountByte", r.mountByte);
    f.Number("value16", r.value16);
    f.Number("armingMinutes", r.armingMinutes);
    f.Number("value32", r.value32);
    f.Name("name", r.name);
    f.Row("bytes", r.bytes, LoadoutAnnex::BYTE_COUNT);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, MountAnnex& r)
{
    f.Number("code", r.code);
    f.IDs("sensorIDs", r.sensorIDs);
    f.IDs("weaponRecIDs", r.weaponRecIDs);
    f.Number("rateOfFire", r.rateOfFire);
    f.Number("capacity", r.capacity);
    f.Number("value", r.value);
    f.Number("mountFlags", r.mountFlags);
    f.Name("name", r.name);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, PlaneAnnex& r)
{
    f.TypeCode("typeCode", r.typeCode);
    f.Triple("triple1", r.triple1);
    f.Triple("triple2", r.triple2);
    f.Triple("triple3", r.triple3);
    f.IDs("propulsionIDs", r.propulsionIDs);
    f.IDValues("sensorIDs", r.sensorIDs);
    f.IDValues("mountIDs", r.mountIDs);
    f.Loadouts("loadouts", r.loadouts);
    f.IDs("commIDs", r.commIDs);
    f.IDs("fuelIDs", r.fuelIDs);
    f.Number("length", r.length);
    f.Number("span", r.span);
    f.Number("weight", r.weight);
    f.Number("crew", r.crew);
    f.Number("airValueUnloaded", r.airValueUnloaded);
    f.Number("airValueLoaded", r.airValueLoaded);
    f.Number("aircraftFlags", r.aircraftFlags);
    f.Number("climbRate", r.climbRate);
    f.Number("textID", r.textID);
    f.Number("value", r.value);
    f.Name("className", r.className);
    f.Name("secondName", r.secondName);
    f.Row("bytes", r.bytes, PlaneAnnex::BYTE_COUNT);
    f.Number("lastWord", r.lastWord);
}

void ReadFields(FieldReader& f, PropulsionAnnex& r)
{
    f.Number("primaryType", r.primaryType);
    f.Number("secondaryType", r.secondaryType);
    f.Row("bandValuesA", r.bandValuesA, PropulsionAnnex::BANDS);
    f.Row("bandValuesB", r.bandValuesB, PropulsionAnnex::BANDS);
    f.SpeedTable("speedTable", r.speedTable);
    f.Number("value", r.value);
    f.Name("name", r.name);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, SensorAnnex& r)
{
    f.Number("searchBands", r.searchBands);
    f.Number("trackBands", r.trackBands);
    f.Number("sensorType", r.sensorType);
    f.Number("searchJamGain", r.searchJamGain);
    f.Number("trackJamGain", r.trackJamGain);
    f.Number("searchThreshold", r.searchThreshold);
    f.Number("trackThreshold", r.trackThreshold);
    f.Number("jamMargin", r.jamMargin);
    f.Number("channelCount", r.channelCount);
    f.Number("textNumber", r.textNumber);
    f.Number("spare2", r.spare2);
    f.Number("spare3", r.spare3);
    f.Number("capabilities", r.capabilities);
    f.Number("maxRange", r.maxRange);
    f.Number("minRange", r.minRange);
    f.Number("sourceCode", r.sourceCode);
    f.Number("beamWidth", r.beamWidth);
    f.Number("recordFlags", r.recordFlags);
    f.Name("name", r.name);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, ShipAnnex& r)
{
    f.Number("shipCode", r.shipCode);
    f.TypeCode("typeCode", r.typeCode);
    f.Number("vesselCode1", r.vesselCode1);
    f.Number("vesselCode2", r.vesselCode2);
    f.Number("vesselCode3", r.vesselCode3);
    f.Number("fourthCode", r.fourthCode);
    f.Number("damagePoints", r.damagePoints);
    f.IDs("airFacilityIDs", r.airFacilityIDs);
    f.Triple("vesselTriple1", r.vesselTriple1);
    f.Triple("vesselTriple2", r.vesselTriple2);
    f.Triple("triple1", r.triple1);
    f.Triple("triple2", r.triple2);
    f.Triple("triple3", r.triple3);
    f.IDs("propulsionIDs", r.propulsionIDs);
    f.IDValues("sensors", r.sensors);
    f.IDValues("mounts", r.mounts);
    f.IDs("commIDs", r.commIDs);
    f.IDs("fuelIDs", r.fuelIDs);
    f.IDs("magazineIDs", r.magazineIDs);
    f.IDs("eighthIDs", r.eighthIDs);
    f.Number("length", r.length);
    f.Number("displacement", r.displacement);
    f.Number("crew", r.crew);
    f.Number("value1", r.value1);
    f.Number("value2", r.value2);
    f.Number("value3", r.value3);
    f.Number("value4", r.value4);
    f.Number("value5", r.value5);
    f.Number("value6", r.value6);
    f.Number("textNumber", r.textNumber);
    f.Number("value7", r.value7);
    f.Name("className", r.className);
    f.Name("secondName", r.secondName);
    f.Row("bytes", r.bytes, ShipAnnex::BYTE_COUNT);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, SubAnnex& r)
{
    f.TypeCode("typeCode", r.typeCode);
    f.Number("maxDepth", r.maxDepth);
    f.Triple("vesselTriple1", r.vesselTriple1);
    f.Triple("vesselTriple2", r.vesselTriple2);
    f.Number("damagePoints", r.damagePoints);
    f.Triple("triple1", r.triple1);
    f.Triple("triple2", r.triple2);
    f.Triple("triple3", r.triple3);
    f.IDs("propulsionIDs", r.propulsionIDs);
    f.IDValues("sensors", r.sensors);
    f.IDValues("mounts", r.mounts);
    f.IDs("magazineIDs", r.magazineIDs);
    f.IDs("commIDs", r.commIDs);
    f.IDs("fuelIDs", r.fuelIDs);
    f.Number("length", r.length);
    f.Number("displacement", r.displacement);
    f.Number("crew", r.crew);
    f.Number("textNumber", r.textNumber);
    f.Number("value1", r.value1);
    f.Number("subFlags", r.subFlags);
    f.Name("className", r.className);
    f.Name("secondName", r.secondName);
    f.Row("bytes", r.bytes, SubAnnex::BYTE_COUNT);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, WeaponAnnex& r)
{
    f.Number("targetMask", r.targetMask);
    f.Number("weaponKind", r.weaponKind);
    f.IDs("warheadIDs", r.warheadIDs);
    f.Triple("triple1", r.triple1);
    f.Triple("triple2", r.triple2);
    f.Triple("triple3", r.triple3);
    f.Triple("triple4", r.triple4);
    f.Triple("triple5", r.triple5);
    f.IDs("propulsionIDs", r.propulsionIDs);
    f.IDValues("sensors", r.sensors);
    f.IDs("commIDs", r.commIDs);
    f.IDs("fuelIDs", r.fuelIDs);
    f.Number("length", r.length);
    f.Number("span", r.span);
    f.Number("weight", r.weight);
    f.Number("textNumber", r.textNumber);
    f.Number("value1", r.value1);
    f.Number("launchAltitude", r.launchAltitude);
    f.Number("value2", r.value2);
    f.Number("surfaceChance", r.surfaceChance);
    f.Number("surfaceChanceFar", r.surfaceChanceFar);
    f.Number("airChance", r.airChance);
    f.Number("airChanceLong", r.airChanceLong);
    f.Number("maxLaunchSpeed", r.maxLaunchSpeed);
    f.Number("minLaunchSpeed", r.minLaunchSpeed);
    f.Number("maxRange", r.maxRange);
    f.Number("minRange", r.minRange);
    f.Number("maxLaunchAltitude", r.maxLaunchAltitude);
    f.Number("minLaunchAltitude", r.minLaunchAltitude);
    f.Number("value3", r.value3);
    f.Name("className", r.className);
    f.Name("secondName", r.secondName);
    f.Row("bytes", r.bytes, WeaponAnnex::BYTE_COUNT);
    f.IDs("fifthIDs", r.fifthIDs);
    f.Number("weaponFlags", r.weaponFlags);
    f.Number("climbRate", r.climbRate);
    f.Number("value4", r.value4);
    f.Number("value5", r.value5);
    f.Number("value6", r.value6);
    f.Number("extra1", r.extra1);
    f.Number("extra2", r.extra2);
    f.Number("alternateID", r.alternateID);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, WeaponRec& r)
{
    f.Number("cycleTimer", r.cycleTimer);
    f.Number("readyShots", r.readyShots);
    f.Number("weaponID", r.weaponID);
    f.Number("secondValue", r.secondValue);
    f.Number("shotsLeft", r.shotsLeft);
    f.Number("fireInterval", r.fireInterval);
    f.Number("thirdValue", r.thirdValue);
    f.Number("flag", r.flag);
    f.Number("lastValue", r.lastValue);
}

void ReadFields(FieldReader& f, WarheadAnnex& r)
{
    f.Number("warheadType", r.warheadType);
    f.Number("damage", r.damage);
    f.Number("count", r.count);
    f.Number("thirdValue", r.thirdValue);
    f.Name("name", r.name);
    f.Number("lastValue", r.lastValue);
}

// Reads one source file into its table.
template <class T>
bool ReadSource(const std::string& sourceDir, AnnexTable<T>& table, std::string& error)
{
    const std::string name = SourceFileName(table.GetFileName());
    const std::string path = sourceDir + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open";
        return false;
    }
    const json source = json::parse(in, nullptr, false);
    if (source.is_discarded()) {
        error = path + ": not valid JSON";
        return false;
    }
    if (!source.is_object() || !source.contains("records") || !source["records"].is_array()) {
        error = path + ": needs an object with a \"records\" list";
        return false;
    }
    for (const auto& item : source.items()) {
        if (item.key() != "comment" && item.key() != "records") {
            error = path + ": unknown field \"" + item.key() + "\"";
            return false;
        }
    }
    const json& records = source["records"];
    if (records.size() > 0xFFFF) {
        error = path + ": more than 65535 records";
        return false;
    }
    size_t index = 0;
    for (const json& record : records) {
        ++index;
        const std::string where = name + " record " + std::to_string(index);
        if (!record.is_object()) {
            error = where + ": must be an object";
            return false;
        }
        uint16_t id = 0;
        const auto idField = record.find("id");
        if (idField == record.end() || !idField->is_number_integer() || idField->get<int64_t>() < 1
            || idField->get<int64_t>() > 0xFFFF) {
            error = where + ": needs an \"id\" from 1 to 65535";
            return false;
        }
        id = static_cast<uint16_t>(idField->get<int64_t>());
        if (table.Find(id)) {
            error = where + ": ID " + std::to_string(id) + " is used twice";
            return false;
        }
        FieldReader fields(record, name + " record " + std::to_string(id));
        fields.Number("id", id);
        auto element = std::make_unique<T>(id);
        ReadFields(fields, *element);
        if (!fields.Finish(error))
            return false;
        table.Insert(element.release());
    }
    return true;
}

// Calls visit(table) for each of the sixteen tables, in file order.
template <class Visit>
bool ForEachTable(const AnnexTables& t, Visit&& visit)
{
    return visit(*t.AirFacilities()) && visit(*t.Comms()) && visit(*t.Facilities()) && visit(*t.Fuels())
        && visit(*t.Installations()) && visit(*t.Loadouts()) && visit(*t.Mounts()) && visit(*t.Magazines())
        && visit(*t.Planes()) && visit(*t.Propulsions()) && visit(*t.Sensors()) && visit(*t.Ships())
        && visit(*t.Subs()) && visit(*t.Weapons()) && visit(*t.WeaponRecs()) && visit(*t.Warheads());
}

}  // namespace

std::string SourceFileName(const char* annexFileName)
{
    const std::string name = annexFileName;
    return name.substr(0, name.rfind('.')) + ".json";
}

bool ReadAnnexSources(const std::string& sourceDir, AnnexTables& tables, std::string& error)
{
    if (!tables.Exist())
        tables.Create();
    return ForEachTable(tables, [&](auto& table) { return ReadSource(sourceDir, table, error); });
}

bool WriteAnnexFiles(const AnnexTables& tables, const std::string& outDir, uint32_t annexVersion, std::string& error)
{
    std::error_code ignored;
    std::filesystem::create_directories(outDir, ignored);
    return ForEachTable(tables, [&](const auto& table) {
        const std::string path = outDir + "/" + table.GetFileName();
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out || !WriteAnnexFile(out, table, annexVersion) || !out.flush()) {
            error = path + ": cannot write";
            return false;
        }
        return true;
    });
}
