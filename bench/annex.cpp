// annex.cpp: the cost of the scenario's annex load (Annex::LoadDatabase): the
// sample platform database of the data set (ANNEX/) and a synthetic database
// of 2,000 records in each of the sixteen files, each loaded whole (every
// record named by the reference lists) and against reference lists that name
// one record in twenty. The synthetic files are written here, through the
// records' own Save, into a scratch folder removed at exit.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "annex/AnnexTables.h"

#include "tests/support/SampleAnnex.h"

namespace {

using sampleannex::NameReferences;
using sampleannex::SAMPLE_DIR;
constexpr uint16_t SYNTHETIC_RECORDS = 2000;
constexpr uint16_t REFERENCED_EVERY = 20;

// An ID in 1 .. SYNTHETIC_RECORDS picked from a seed, for component lists.
uint16_t Pick(uint32_t seed)
{
    return static_cast<uint16_t>(seed * 2654435761u % SYNTHETIC_RECORDS + 1);
}

void AddIDs(IDList& list, uint16_t id, int count)
{
    for (int i = 0; i < count; ++i)
        list.Insert(new IDNode(Pick(uint32_t{id} * 31u + static_cast<uint32_t>(i))));
}

void AddIDValues(IDRecordList& list, uint16_t id, int count)
{
    for (int i = 0; i < count; ++i)
        list.Insert(new IDRecord(Pick(uint32_t{id} * 17u + static_cast<uint32_t>(i)), 0xFFFFFFFF));
}

std::string NameOf(const char* kind, uint16_t id)
{
    return std::string(kind) + " " + std::to_string(id);
}

// One synthetic record of each class, filled much like the sample's.
void Fill(AirFacilityAnnex& r, uint16_t id) { r.kindCode = id % 8 + 1; r.value = 0x0120; }
void Fill(CommAnnex& r, uint16_t id) { r.commType = id % 6 + 1; r.range = 200; r.name.Set(NameOf("Radio", id).c_str()); }
void Fill(FuelAnnex& r, uint16_t id) { r.fuelType = id % 9 + 1; r.capacity = 1000; }
void Fill(WarheadAnnex& r, uint16_t id) { r.warheadType = 0x20; r.damage = id % 300; r.name.Set(NameOf("Warhead", id).c_str()); }
void Fill(WeaponRec& r, uint16_t id) { r.weaponID = Pick(id); r.shotsLeft = 8; r.readyShots = 2; }
void Fill(SensorAnnex& r, uint16_t id)
{
    r.sensorType = id % 17 + 1;
    r.maxRange = 40;
    r.name.Set(NameOf("Sensor", id).c_str());
}
void Fill(FacilityAnnex& r, uint16_t id)
{
    AddIDs(r.airFacilityIDs, id, 1);
    AddIDValues(r.sensors, id, 3);
    AddIDValues(r.mounts, id, 2);
    AddIDs(r.commIDs, id, 2);
    AddIDs(r.magazineIDs, id, 1);
    AddIDs(r.fuelIDs, id, 1);
    r.name.Set(NameOf("Facility", id).c_str());
}
void Fill(InstallationAnnex& r, uint16_t id)
{
    for (int i = 0; i < 5; ++i)
        r.points.Insert(new IDPoint(Pick(uint32_t{id} * 7u + static_cast<uint32_t>(i)), LatLonPoint(i * 100, i * 200)));
    r.position = LatLonPoint(18000000, 100000);
    r.name.Set(NameOf("Base", id).c_str());
}
void Fill(LoadoutAnnex& r, uint16_t id)
{
    AddIDs(r.weaponRecIDs, id, 3);
    r.armingMinutes = 30;
    r.name.Set(NameOf("Loadout", id).c_str());
}
void Fill(MountAnnex& r, uint16_t id)
{
    AddIDs(r.sensorIDs, id, 2);
    AddIDs(r.weaponRecIDs, id, 3);
    r.capacity = 16;
    r.name.Set(NameOf("Mount", id).c_str());
}
void Fill(PlaneAnnex& r, uint16_t id)
{
    r.typeCode.Set("FTR");
    AddIDs(r.propulsionIDs, id, 1);
    AddIDValues(r.sensorIDs, id, 4);
    AddIDValues(r.mountIDs, id, 2);
    for (int i = 0; i < 4; ++i)
        r.loadouts.Insert(new NavIDNode(Pick(uint32_t{id} * 13u + static_cast<uint32_t>(i)), 0));
    AddIDs(r.commIDs, id, 2);
    AddIDs(r.fuelIDs, id, 1);
    r.className.Set(NameOf("Plane", id).c_str());
    r.secondName.Set("Fighter");
}
void Fill(PropulsionAnnex& r, uint16_t id)
{
    for (int s = 0; s < PropulsionAnnex::SETTINGS; ++s)
        for (int b = 0; b < PropulsionAnnex::BANDS; ++b)
            r.speedTable[s][b] = {static_cast<int16_t>(1000 * (b + 1)), static_cast<int16_t>(1000 * b),
                                  static_cast<uint16_t>(100 * (s + 1))};
    r.name.Set(NameOf("Plant", id).c_str());
}
void Fill(ShipAnnex& r, uint16_t id)
{
    r.typeCode.Set("FFG");
    AddIDs(r.airFacilityIDs, id, 2);
    AddIDs(r.propulsionIDs, id, 1);
    AddIDValues(r.sensors, id, 6);
    AddIDValues(r.mounts, id, 6);
    AddIDs(r.commIDs, id, 3);
    AddIDs(r.fuelIDs, id, 2);
    AddIDs(r.magazineIDs, id, 2);
    r.className.Set(NameOf("Ship", id).c_str());
    r.secondName.Set("Frigate");
}
void Fill(SubAnnex& r, uint16_t id)
{
    r.typeCode.Set("SSK");
    r.maxDepth = -30;
    AddIDs(r.propulsionIDs, id, 1);
    AddIDValues(r.sensors, id, 5);
    AddIDValues(r.mounts, id, 2);
    AddIDs(r.magazineIDs, id, 1);
    AddIDs(r.commIDs, id, 2);
    AddIDs(r.fuelIDs, id, 2);
    r.className.Set(NameOf("Sub", id).c_str());
    r.secondName.Set("Patrol Submarine");
}
void Fill(WeaponAnnex& r, uint16_t id)
{
    r.weaponKind = 1;
    r.targetMask = 0x0C;
    AddIDs(r.warheadIDs, id, 1);
    AddIDs(r.propulsionIDs, id, 1);
    AddIDValues(r.sensors, id, 1);
    r.maxRange = 250;
    r.className.Set(NameOf("Weapon", id).c_str());
    r.secondName.Set("SAM");
}

// Writes SYNTHETIC_RECORDS records of class T as the annex file fileName.
template <class T>
bool WriteSynthetic(const std::string& dir, const char* fileName)
{
    AnnexTable<T> table(fileName);
    for (uint16_t id = 1; id <= SYNTHETIC_RECORDS; ++id) {
        T* record = new T(id);
        Fill(*record, id);
        table.Insert(record);
    }
    std::ofstream out(dir + fileName, std::ios::binary);
    return WriteAnnexFile(out, table, ANNEX_VERSION) && out.flush();
}

// The synthetic database in a scratch folder, written on first use.
class SyntheticDatabase {
public:
    SyntheticDatabase()
    {
        char name[] = "/tmp/tessarn_annex_bench_XXXXXX";
        if (mkdtemp(name) == nullptr)
            return;
        root_ = name;
        dir_ = root_ + "/";
        ok_ = WriteSynthetic<AirFacilityAnnex>(dir_, ANNEX_AIRFACIL) && WriteSynthetic<CommAnnex>(dir_, ANNEX_COMM)
            && WriteSynthetic<FacilityAnnex>(dir_, ANNEX_FACILITY) && WriteSynthetic<FuelAnnex>(dir_, ANNEX_FUEL)
            && WriteSynthetic<InstallationAnnex>(dir_, ANNEX_INSTALLA)
            && WriteSynthetic<LoadoutAnnex>(dir_, ANNEX_LOADOUT) && WriteSynthetic<MountAnnex>(dir_, ANNEX_MOUNT)
            && WriteSynthetic<MountAnnex>(dir_, ANNEX_MAGAZINE) && WriteSynthetic<PlaneAnnex>(dir_, ANNEX_PLANE)
            && WriteSynthetic<PropulsionAnnex>(dir_, ANNEX_PROPULS)
            && WriteSynthetic<SensorAnnex>(dir_, ANNEX_SENSOR) && WriteSynthetic<ShipAnnex>(dir_, ANNEX_SHIP)
            && WriteSynthetic<SubAnnex>(dir_, ANNEX_SUB) && WriteSynthetic<WeaponAnnex>(dir_, ANNEX_WEAPON)
            && WriteSynthetic<WeaponRec>(dir_, ANNEX_WEAPREC) && WriteSynthetic<WarheadAnnex>(dir_, ANNEX_WARHEAD);
    }
    ~SyntheticDatabase()
    {
        std::error_code ignored;
        if (!root_.empty())
            std::filesystem::remove_all(root_, ignored);
    }

    bool Ok() const { return ok_; }
    const std::string& Dir() const { return dir_; }

private:
    std::string root_;
    std::string dir_;
    bool ok_ = false;
};

const SyntheticDatabase& Synthetic()
{
    static SyntheticDatabase database;
    return database;
}

// Records the tables hold after a load.
int64_t TableRecords()
{
    const AnnexTables& t = Annex::Tables();
    const TreeList* tables[] = {t.AirFacilities(), t.Comms(), t.Facilities(), t.Fuels(), t.Installations(),
                                t.Loadouts(), t.Mounts(), t.Magazines(), t.Planes(), t.Propulsions(),
                                t.Sensors(), t.Ships(), t.Subs(), t.Weapons(), t.WeaponRecs(), t.Warheads()};
    int64_t count = 0;
    for (const TreeList* table : tables)
        for (const TreeListBase* node = table ? table->First() : nullptr; node; node = node->GetNext())
            ++count;
    return count;
}

void RunLoad(benchmark::State& state, const std::string& dir, int every)
{
    if (!NameReferences(dir, every)) {
        state.SkipWithError(("the annex files in " + dir + " cannot be read").c_str());
        return;
    }
    for (auto _ : state) {
        const bool loaded = Annex::LoadDatabase(dir);
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["kept"] = static_cast<double>(TableRecords());
    Annex::FreeScenarioAnnex();
}

void BM_SampleWhole(benchmark::State& state)
{
    RunLoad(state, SAMPLE_DIR, 1);
}
BENCHMARK(BM_SampleWhole)->Unit(benchmark::kMicrosecond);

void BM_SampleReferenced(benchmark::State& state)
{
    RunLoad(state, SAMPLE_DIR, REFERENCED_EVERY);
}
BENCHMARK(BM_SampleReferenced)->Unit(benchmark::kMicrosecond);

void BM_Synthetic2000Whole(benchmark::State& state)
{
    if (!Synthetic().Ok()) {
        state.SkipWithError("the synthetic database could not be written");
        return;
    }
    RunLoad(state, Synthetic().Dir(), 1);
}
BENCHMARK(BM_Synthetic2000Whole)->Unit(benchmark::kMillisecond);

void BM_Synthetic2000Referenced(benchmark::State& state)
{
    if (!Synthetic().Ok()) {
        state.SkipWithError("the synthetic database could not be written");
        return;
    }
    RunLoad(state, Synthetic().Dir(), REFERENCED_EVERY);
}
BENCHMARK(BM_Synthetic2000Referenced)->Unit(benchmark::kMillisecond);

}  // namespace
