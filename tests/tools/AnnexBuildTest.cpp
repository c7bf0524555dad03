// AnnexBuildTest.cpp: the platform database builder run as the build runs it,
// on the sample sources of data/annex and on copies of them with one bad row:
// every rule refuses its row, naming the source file, the record and the
// field, and nothing is written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// The builder program of this build tree.
fs::path BuilderPath()
{
    return fs::path(TESSARN_ANNEXBUILD);
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The sixteen sources of the sample database, held as JSON so that a test can
// spoil one field, and a scratch folder to build them in.
class AnnexBuild : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(fs::exists(BuilderPath())) << BuilderPath() << " is not built";
        char name[] = "/tmp/tessarn_annexbuild_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        scratch_ = name;
        for (const auto& entry : fs::directory_iterator(fs::path(TESSARN_SOURCE_DIR) / "data" / "annex")) {
            if (entry.path().extension() != ".json")
                continue;
            std::ifstream in(entry.path());
            sources_[entry.path().filename().string()] = json::parse(in);
        }
        ASSERT_EQ(sources_.size(), 16u);
    }

    void TearDown() override
    {
        std::error_code ignored;
        if (!scratch_.empty())
            fs::remove_all(scratch_, ignored);
    }

    // The record of a source file with that ID; fails the test when missing.
    json& Record(const std::string& file, int id)
    {
        for (json& record : sources_.at(file)["records"])
            if (record["id"] == id)
                return record;
        ADD_FAILURE() << file << " holds no record " << id;
        static json none;
        return none;
    }

    // Writes the sources and runs the builder on them; answers its exit code
    // and keeps what it wrote on standard error.
    int Build()
    {
        const fs::path source = scratch_ / "src";
        fs::create_directories(source);
        for (const auto& [name, text] : sources_)
            std::ofstream(source / name) << text.dump(1);
        const std::string command = "'" + BuilderPath().string() + "' '" + source.string() + "' '"
            + Output().string() + "' 2> '" + (scratch_ / "stderr.txt").string() + "'";
        const int status = std::system(command.c_str());
        errors = ReadText(scratch_ / "stderr.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path Output() const { return scratch_ / "ANNEX"; }

    // Replaces one field of one record with the JSON text value, expects the
    // build refused with a first line starting "annexbuild: " and refusal
    // and nothing written, then puts the field back.
    void ExpectRefused(const std::string& file, int id, const char* field, const char* value,
                       const std::string& refusal)
    {
        json& record = Record(file, id);
        const json kept = record.contains(field) ? record[field] : json();
        record[field] = json::parse(value);
        EXPECT_EQ(Build(), 1);
        EXPECT_EQ(errors.find("annexbuild: " + refusal), 0u) << errors;
        EXPECT_FALSE(fs::exists(Output())) << "a refused database is written";
        if (kept.is_null())
            record.erase(field);
        else
            record[field] = kept;
    }

    std::string errors;

private:
    fs::path scratch_;
    std::map<std::string, json> sources_;
};

}  // namespace

TEST_F(AnnexBuild, SampleSourcesBuildAllSixteenFiles)
{
    ASSERT_EQ(Build(), 0) << errors;
    EXPECT_EQ(errors, "");
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(Output())) {
        EXPECT_EQ(entry.path().extension(), ".dat");
        EXPECT_GT(fs::file_size(entry.path()), 6u) << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 16u);
}

// One bad row for each rule; the refusal names the source file, the record
// and the field. The rows mend the faults the sample database once had.
TEST_F(AnnexBuild, EveryRuleRefusesItsBadRow)
{
    struct Row {
        const char* rule;
        const char* file;
        int id;
        const char* field;
        const char* value;      // JSON text that replaces the field
        const char* refusal;    // the start of the line the builder writes
    };
    const Row rows[] = {
        {"cross-references", "ship.json", 1, "propulsionIDs", "[999]",
         "ship.json record 1: field \"propulsionIDs\": names 999, which propuls.json does not hold"},
        // Engine 3 was steam under a numbering no reader uses.
        {"engine codes", "propuls.json", 10, "primaryType", "3",
         "propuls.json record 10: field \"primaryType\": engine code 3"},
        {"engine codes", "propuls.json", 2, "secondaryType", "\"0x6000\"",
         "propuls.json record 2: field \"secondaryType\": engine code 24576"},
        {"fuel types", "fuel.json", 2, "fuelType", "0", "fuel.json record 2: field \"fuelType\": fuel type 0"},
        {"sensor types", "sensor.json", 2, "sensorType", "18", "sensor.json record 2: field \"sensorType\""},
        // A radar suite on a mount makes no sensor there.
        {"sensor types", "mount.json", 1, "sensorIDs", "[5]",
         "mount.json record 1: field \"sensorIDs\": sensor 5 is a suite (type 10)"},
        {"air facility kinds", "airfacil.json", 1, "kindCode", "9",
         "airfacil.json record 1: field \"kindCode\": air facility kind 9"},
        {"air facility sizes", "airfacil.json", 2, "value", "\"0x1003\"",
         "airfacil.json record 2: field \"value\": aircraft size class 3"},
        // 32-bit halves as arcs: the close-in guns were never in arc.
        {"arc masks", "ship.json", 1, "mounts", R"([{"id": 11, "value": "0xFFFF0000"}])",
         "ship.json record 1: field \"mounts\": the arc 0xFFFF0000 of 11"},
        {"arc masks", "plane.json", 1, "mountIDs", R"([{"id": 21, "value": 0}])",
         "plane.json record 1: field \"mountIDs\": the arc 0 of mount 21 is never in arc"},
        {"arc masks", "sub.json", 1, "sensors", R"([{"id": 10, "value": "0x00FF0000"}])",
         "sub.json record 1: field \"sensors\": the arc 0xFF0000 of 10"},
        // The towed array set no band, so it listened in the high band.
        {"sonar bands", "sensor.json", 7, "searchBands", "\"0x0200\"",
         "sensor.json record 7: field \"searchBands\": a sonar's bands 0x200"},
        {"sonar bands", "sensor.json", 1, "searchBands", "\"0x1000004\"",
         "sensor.json record 1: field \"searchBands\": bands 0x1000004 hold a sonar band"},
        // Altitudes written in metres.
        {"altitude ranges", "weapon.json", 3, "maxLaunchAltitude", "15000",
         "weapon.json record 3: field \"maxLaunchAltitude\": 15000 leaves -200 to 3000"},
        {"altitude ranges", "weapon.json", 5, "launchAltitude", "10",
         "weapon.json record 5: field \"launchAltitude\": the clearance 10"},
        {"altitude ranges", "facility.json", 7, "height", "120",
         "facility.json record 7: field \"height\": 120 leaves 0 to 100"},
        {"altitude ranges", "sub.json", 2, "maxDepth", "-350", "sub.json record 2: field \"maxDepth\""},
        // Submarine bands listed from the surface down: no depth below the
        // first band found a band of its own.
        {"altitude ranges", "propuls.json", 22, "speedTable",
         "[[[0, -3, 4], [-3, -8, 4], [-8, -15, 4], [-15, -40, 4]], [[0, -3, 8], [-3, -8, 8], [-8, -15, 8], "
         "[-15, -40, 8]], [[0, -3, 14], [-3, -8, 15], [-8, -15, 15], [-15, -40, 12]], [[0, -3, 19], "
         "[-3, -8, 20], [-8, -15, 20], [-15, -40, 14]]]",
         "propuls.json record 22: field \"speedTable\": row 0 band 1: does not rise above the band before"},
        // A ship's plant with a band above the surface only.
        {"altitude ranges", "propuls.json", 1, "speedTable",
         "[[[10, 5, 8], [0, 0, 0], [0, 0, 0], [0, 0, 0]], [[10, 5, 18], [0, 0, 0], [0, 0, 0], [0, 0, 0]], "
         "[[10, 5, 28], [0, 0, 0], [0, 0, 0], [0, 0, 0]], [[10, 5, 31], [0, 0, 0], [0, 0, 0], [0, 0, 0]]]",
         "ship.json record 1: field \"propulsionIDs\": no plant has a band with a speed at the surface"},
        {"speed ranges", "ship.json", 2, "propulsionIDs", "[30]",
         "ship.json record 2: field \"propulsionIDs\": plant 30 gives 1050 knots, above the 60"},
        {"speed ranges", "weapon.json", 3, "minLaunchSpeed", "1300",
         "weapon.json record 3: field \"minLaunchSpeed\": lies above the highest launch speed 1200"},
        // The air-to-air missile's 75 % read as 105 %.
        {"hit chances", "weapon.json", 3, "airChance", "75",
         "weapon.json record 3: field \"airChance\": the stored 75 reads as 105 %"},
        {"hit chances", "weapon.json", 5, "surfaceChance", "120",
         "weapon.json record 5: field \"surfaceChance\": 120 % is above 100"},
        // The oiler with only aviation fuel for its diesel.
        {"engines and fuels", "ship.json", 8, "fuelIDs", "[9]",
         "ship.json record 8: field \"fuelIDs\": engine 4 (Diesel) of plant 8 burns none of the fuel types "
         "carried (7 Aviation Fuel)"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.rule << ": " << r.file << " " << r.id << " " << r.field);
        ExpectRefused(r.file, r.id, r.field, r.value, r.refusal);
    }
    // The sources come back whole.
    EXPECT_EQ(Build(), 0) << errors;
}

// Every refused field is reported, one line each, before the builder stops.
TEST_F(AnnexBuild, ReportsEveryRefusedField)
{
    Record("fuel.json", 1)["fuelType"] = 12;
    Record("airfacil.json", 3)["kindCode"] = 0;
    EXPECT_EQ(Build(), 1);
    EXPECT_EQ(errors,
              "annexbuild: fuel.json record 1: field \"fuelType\": fuel type 12 is none of the fuels 1 to 9\n"
              "annexbuild: airfacil.json record 3: field \"kindCode\": air facility kind 0 is none of the kinds "
              "1 to 8\n");
}

// Faults of form are refused before the rules run, with file, record and field.
TEST_F(AnnexBuild, RefusesFieldsItCannotRead)
{
    struct Row { const char* file; int id; const char* field; const char* value; const char* refusal; };
    const Row rows[] = {
        {"ship.json", 3, "colour", "1", "ship.json record 3: unknown field \"colour\""},
        {"sensor.json", 4, "channelCount", "300", "sensor.json record 4: field \"channelCount\" value 300 does not fit"},
        {"weapon.json", 2, "className", "\"An Exceedingly Long Missile Name\"",
         "weapon.json record 2: field \"className\" is longer than 31 characters"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.refusal);
        ExpectRefused(r.file, r.id, r.field, r.value, r.refusal);
    }
    EXPECT_EQ(Build(), 0) << errors;
}
