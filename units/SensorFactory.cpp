// SensorFactory.cpp: building the sensors of a unit or a mount from their
// sensor.dat ids.
#include "units/SensorFactory.h"

#include "annex/AnnexTables.h"

namespace {

// Builds one sensor for a list: skipped when the record is missing, its type
// makes no class, or no class is installed.
void AddSensor(TreeListOf<Sensor>& list, uint16_t sensorID, uint32_t sectors, MovingObject* owner,
               bool forMount)
{
    const AnnexTable<SensorAnnex>* table = Annex::Tables().Sensors();
    const SensorAnnex* record = table != nullptr ? table->Find(sensorID) : nullptr;
    if (record == nullptr)
        return;
    const uint8_t sensorClass = SensorClassForType(record->GetSensorType(), forMount);
    if (sensorClass == SensorClass::NONE)
        return;
    Sensor* const sensor = MakeSensorFromRecord(sensorClass, sensorID);
    if (sensor == nullptr)
        return;
    sensor->SetKey(list.NewKey());
    sensor->SetSensorType(static_cast<uint8_t>(record->GetSensorType()));
    const auto mask = static_cast<uint16_t>(sectors);
    sensor->targetClasses = mask != 0 ? mask : Sensor::ALL_SECTORS;
    sensor->SetOwner(owner);
    list.Insert(sensor);
}

}  // namespace

void BuildSensorList(TreeListOf<Sensor>& list, const IDRecordList& records, MovingObject* owner)
{
    for (const IDRecord* entry = records.First(); entry != nullptr; entry = entry->GetNext())
        AddSensor(list, entry->GetKey(), entry->GetValue(), owner, false);
}

void BuildMountSensorList(TreeListOf<Sensor>& list, const IDList& ids, MovingObject* owner, uint16_t sectors)
{
    for (const IDNode* id = ids.First(); id != nullptr; id = id->GetNext())
        AddSensor(list, id->GetKey(), sectors, owner, true);
}
