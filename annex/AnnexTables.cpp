// AnnexTables.cpp: the scenario's annex tables, reference lists, sensor
// indexes, the annex load with its derived-figure pass, and the teardown.
#include "annex/AnnexTables.h"

#include <istream>
#include <ostream>
#include <sstream>

#include "world/ui2map.h"

void AnnexTables::Create()
{
    Delete();
    airFacilities_ = std::make_unique<AnnexTable<AirFacilityAnnex>>(ANNEX_AIRFACIL);
    comms_ = std::make_unique<AnnexTable<CommAnnex>>(ANNEX_COMM);
    facilities_ = std::make_unique<AnnexTable<FacilityAnnex>>(ANNEX_FACILITY);
    fuels_ = std::make_unique<AnnexTable<FuelAnnex>>(ANNEX_FUEL);
    installations_ = std::make_unique<AnnexTable<InstallationAnnex>>(ANNEX_INSTALLA);
    loadouts_ = std::make_unique<AnnexTable<LoadoutAnnex>>(ANNEX_LOADOUT);
    mounts_ = std::make_unique<AnnexTable<MountAnnex>>(ANNEX_MOUNT);
    magazines_ = std::make_unique<AnnexTable<MountAnnex>>(ANNEX_MAGAZINE);
    planes_ = std::make_unique<AnnexTable<PlaneAnnex>>(ANNEX_PLANE);
    propulsions_ = std::make_unique<AnnexTable<PropulsionAnnex>>(ANNEX_PROPULS);
    sensors_ = std::make_unique<AnnexTable<SensorAnnex>>(ANNEX_SENSOR);
    ships_ = std::make_unique<AnnexTable<ShipAnnex>>(ANNEX_SHIP);
    subs_ = std::make_unique<AnnexTable<SubAnnex>>(ANNEX_SUB);
    weapons_ = std::make_unique<AnnexTable<WeaponAnnex>>(ANNEX_WEAPON);
    weaponRecs_ = std::make_unique<AnnexTable<WeaponRec>>(ANNEX_WEAPREC);
    warheads_ = std::make_unique<AnnexTable<WarheadAnnex>>(ANNEX_WARHEAD);
}

void AnnexTables::Delete()
{
    airFacilities_.reset();
    comms_.reset();
    facilities_.reset();
    fuels_.reset();
    installations_.reset();
    loadouts_.reset();
    magazines_.reset();
    mounts_.reset();
    planes_.reset();
    propulsions_.reset();
    sensors_.reset();
    ships_.reset();
    subs_.reset();
    weapons_.reset();
    weaponRecs_.reset();
    warheads_.reset();
}

namespace Annex {

namespace {

IDList* ReferenceLists()
{
    static IDList lists[REFERENCE_LIST_COUNT];
    return lists;
}

std::string& AnnexDir()
{
    static std::string dir = ".\\";
    return dir;
}

// Sensor indexes of ships, subs, planes and facilities, by PlatformKind.
constexpr int SENSOR_INDEX_COUNT = 4;
RecordList* sensorIndexes[SENSOR_INDEX_COUNT] = {};

DerivedFigureHooks derivedFigureHooks;

RecordList*& IndexOf(PlatformKind kind)
{
    return sensorIndexes[static_cast<int>(kind)];
}

// How the load of one file ended.
enum class FileOutcome {
    Whole,     // every record read
    Damaged,   // reported; the records read whole are kept, the load goes on
    Stop,      // missing file or later version: the program ends here
};

// Reads one annex file into its table: kept whole without a reference list,
// else only the records the list names, each record read shown to callback.
template <class T>
FileOutcome LoadTable(const std::string& annexDir, AnnexTable<T>& table, const IDList* reference,
                      typename AnnexTable<T>::LoadCallback callback)
{
    const std::string path = AnnexFilePath(annexDir, table.GetFileName());
    std::istringstream in;
    if (!OpenAnnexFile(path, in)) {
        ReportAnnexOpenFailure(path);
        return FileOutcome::Stop;
    }
    // A file too short for the version rule is damage; a later version ends
    // the program. The version of the file before must not decide that.
    SetAnnexVersion(ANNEX_VERSION);
    if (!CheckAnnexVersion(in))
        return GetAnnexVersion() > ANNEX_VERSION ? FileOutcome::Stop : FileOutcome::Damaged;
    table.DeleteAll();
    const bool whole = reference == nullptr ? table.Load(in) : table.LoadMatching(in, reference, callback);
    return whole ? FileOutcome::Whole : FileOutcome::Damaged;
}

// The load of the sixteen files in their order; false when it stopped early.
class DatabaseLoad {
public:
    explicit DatabaseLoad(const std::string& annexDir) : annexDir_(annexDir) {}

    template <class T>
    bool Next(AnnexTable<T>& table, ReferenceList list,
              typename AnnexTable<T>::LoadCallback callback = nullptr)
    {
        return Read(table, &GetReferenceList(list), callback);
    }

    template <class T>
    bool Whole(AnnexTable<T>& table)
    {
        return Read(table, nullptr, nullptr);
    }

    bool Damaged() const { return damaged_; }

private:
    template <class T>
    bool Read(AnnexTable<T>& table, const IDList* reference, typename AnnexTable<T>::LoadCallback callback)
    {
        switch (LoadTable(annexDir_, table, reference, callback)) {
        case FileOutcome::Whole:
            return true;
        case FileOutcome::Damaged:
            damaged_ = true;
            return true;
        case FileOutcome::Stop:
            break;
        }
        return false;
    }

    const std::string& annexDir_;
    bool damaged_ = false;
};

}  // namespace

AnnexTables& Tables()
{
    static AnnexTables tables;
    return tables;
}

// ---------------------------------------------------------------------------
// Reference lists

IDList& GetReferenceList(ReferenceList which)
{
    return ReferenceLists()[static_cast<int>(which)];
}

bool SaveReferenceLists(std::ostream& out)
{
    for (int i = 0; i < REFERENCE_LIST_COUNT; ++i)
        if (!ReferenceLists()[i].Save(out))
            return false;
    return static_cast<bool>(out);
}

bool LoadReferenceLists(std::istream& in)
{
    ClearReferenceLists();
    for (int i = 0; i < REFERENCE_LIST_COUNT; ++i) {
        if (!ReferenceLists()[i].Load(in)) {
            ClearReferenceLists();   // nothing half-read is kept
            in.setstate(std::ios::failbit);
            return false;
        }
    }
    return true;
}

void ClearReferenceLists()
{
    for (int i = 0; i < REFERENCE_LIST_COUNT; ++i)
        ReferenceLists()[i].DeleteAll();
}

// ---------------------------------------------------------------------------
// The annex load

void SetAnnexDir(const std::string& annexDir)
{
    AnnexDir() = annexDir;
}

const std::string& GetAnnexDir()
{
    return AnnexDir();
}

bool LoadDatabase()
{
    return LoadDatabase(GetAnnexDir());
}

bool LoadDatabase(const std::string& annexDir)
{
    const AnnexLoadingScope loading;
    // The indexes describe the platform files this load reads, nothing older.
    FreeSensorIndexes();
    InstallSensorIndexLookup();
    AnnexTables& t = Tables();
    t.Create();

    DatabaseLoad load(annexDir);
    using R = ReferenceList;
    const bool read = load.Next(*t.AirFacilities(), R::AirFacility)
        && load.Next(*t.Comms(), R::Comm)
        && load.Next(*t.Facilities(), R::Facility, &IndexFacilitySensors)
        && load.Next(*t.Fuels(), R::Fuel)
        && load.Next(*t.Installations(), R::Installation)
        && load.Next(*t.Loadouts(), R::Loadout)
        && load.Next(*t.Mounts(), R::Mount)
        && load.Next(*t.Magazines(), R::Magazine)
        && load.Next(*t.Planes(), R::Plane, &IndexPlaneSensors)
        && load.Next(*t.Propulsions(), R::Propulsion)
        && load.Next(*t.Sensors(), R::Sensor)
        && load.Next(*t.Ships(), R::Ship, &IndexShipSensors)
        && load.Next(*t.Subs(), R::Sub, &IndexSubSensors)
        && load.Next(*t.Weapons(), R::Weapon)
        && load.Next(*t.WeaponRecs(), R::WeaponRec)
        && load.Whole(*t.Warheads());

    if (read && ui2map::HasMapBounds())
        ComputeDerivedFigures();
    return read && !load.Damaged();
}

// ---------------------------------------------------------------------------
// Sensor indexes

void IndexFacilitySensors(FacilityAnnex* record)
{
    if (record)
        IndexRecordKeys(IndexOf(PlatformKind::Facility), record->sensors, record->GetKey());
}

void IndexPlaneSensors(PlaneAnnex* record)
{
    if (record)
        IndexRecordKeys(IndexOf(PlatformKind::Plane), record->sensorIDs, record->GetKey());
}

void IndexSubSensors(SubAnnex* record)
{
    if (record)
        IndexRecordKeys(IndexOf(PlatformKind::Sub), record->sensors, record->GetKey());
}

void IndexShipSensors(ShipAnnex* record)
{
    if (record)
        IndexRecordKeys(IndexOf(PlatformKind::Ship), record->sensors, record->GetKey());
}

const RecordList* GetSensorIndex(PlatformKind kind)
{
    const int k = static_cast<int>(kind);
    return k >= 0 && k < SENSOR_INDEX_COUNT ? sensorIndexes[k] : nullptr;
}

void InstallSensorIndexLookup()
{
    SetSensorIndexLookup(&GetSensorIndex);
}

void FreeSensorIndexes()
{
    for (PlatformKind kind : {PlatformKind::Ship, PlatformKind::Sub, PlatformKind::Plane, PlatformKind::Facility}) {
        delete IndexOf(kind);   // each entry deletes its ID list's nodes
        IndexOf(kind) = nullptr;
    }
}

// ---------------------------------------------------------------------------
// Derived figures

DerivedFigureHooks SetDerivedFigureHooks(const DerivedFigureHooks& hooks)
{
    const DerivedFigureHooks previous = derivedFigureHooks;
    derivedFigureHooks = hooks;
    return previous;
}

void ComputeDerivedFigures()
{
    const DerivedFigureHooks hooks = derivedFigureHooks;
    const AnnexTables& t = Tables();
    if (t.Weapons() && hooks.computeWeaponPerformance)
        for (WeaponAnnex* weapon = t.Weapons()->First(); weapon; weapon = weapon->GetNext())
            hooks.computeWeaponPerformance(*weapon);
    if (!t.Planes())
        return;
    for (PlaneAnnex* plane = t.Planes()->First(); plane; plane = plane->GetNext()) {
        if (hooks.usableRange) {
            plane->usableRange = hooks.usableRange(*plane, 0);
            for (NavIDNode* entry = plane->loadouts.First(); entry; entry = entry->GetNext())
                entry->SetValue(hooks.usableRange(*plane, entry->GetKey()));
        }
        if (hooks.buildPerformanceTable)
            hooks.buildPerformanceTable(*plane);
    }
}

// ---------------------------------------------------------------------------
// Lifecycle

void ClearTablePointers()
{
    Tables().Delete();
}

void FreeScenarioAnnex()
{
    Tables().Delete();
    ClearReferenceLists();
    FreePlatformLists();
    FreeSensorIndexes();
}

}  // namespace Annex
