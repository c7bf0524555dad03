// Sensor.cpp: the base state rule of a sensor, its record figures and the
// base part of its saved record, the class each sensor type makes, the class
// hooks and the saved sensor list.
#include "units/Sensor.h"

#include <istream>
#include <new>
#include <ostream>
#include <sstream>

#include "annex/AnnexTables.h"
#include "core/ErrorReport.h"
#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"

Sensor* gDefaultSensor = nullptr;

namespace {

SensorFactory gSensorFactory = nullptr;
SensorRecordFactory gSensorRecordFactory = nullptr;

constexpr uint8_t LAST_SAVED_TYPE = 17;

// The error box of a sensor list that ends inside a record (or, for record
// 0, before its count), or whose record is damaged.
void ReportCutShort(const char* caller, uint32_t record, uint32_t count)
{
    std::ostringstream text;
    text << (caller != nullptr ? caller : "LoadSensorList") << ": saved sensor " << record << " of " << count
         << " is cut short or damaged";
    ErrorBox(text.str().c_str());
}

}  // namespace

void Sensor::SetState(uint32_t requested)
{
    if (state_ == STATE_DESTROYED)
        return;
    if (state_ == STATE_DAMAGED) {
        if (requested == REQUEST_REPAIR)
            state_ = STATE_PASSIVE;
        return;
    }
    state_ = requested;
}

uint16_t Sensor::GetRange(uint32_t classBits, bool) const
{
    if ((classBits & capabilities) == 0)
        return 0;
    return state_ == STATE_ACTIVE || state_ == STATE_PASSIVE ? maxRange : 0;
}

int Sensor::GetFunctionText(char*) const
{
    return 0;
}

void Sensor::ReleaseTrack(uint16_t targetID)
{
    TrackedTarget* const target = trackedTargets.Find(targetID);
    if (target == nullptr)
        return;
    --target->holdCount;
    if (target->holdCount > 0)
        return;
    trackedTargets.Remove(target);
    delete target;
    if (trackCount > 0)
        --trackCount;
}

void Sensor::ReleaseTarget(uint16_t targetID)
{
    TrackedTarget* const target = trackedTargets.Find(targetID);
    if (target == nullptr)
        return;
    ReleaseTrack(targetID);
    if (trackedTargets.Find(targetID) != nullptr)
        return;   // still held by another request
    if (trackCount == 0 && searchJamGain == 0 && state_ == STATE_ACTIVE)
        SetState(STATE_STANDBY);
    const uint32_t now = gam2arena::GetGameTime();
    for (uint8_t i = 0; i < channelCount; ++i) {
        SensorChannel& channel = channels_[i];
        for (ChannelEntry* entry = channel.First(); entry != nullptr;) {
            ChannelEntry* const next = entry->GetNext();
            const bool begun = entry->start.Get() <= now;
            const bool drop = entry->GetKey() == targetID ? begun : (begun && entry->end.Get() < now);
            if (drop) {
                channel.Remove(entry);
                delete entry;
            }
            entry = next;
        }
    }
}

SensorChannel* Sensor::GetChannel(uint8_t index) const
{
    return index < channelCount && channels_ ? &channels_[index] : nullptr;
}

void Sensor::MakeChannels(uint8_t count)
{
    channels_.reset(count > 0 ? new SensorChannel[count] : nullptr);
    channelCount = count;
}

bool Sensor::CopyRecord(uint16_t sensorID)
{
    const AnnexTable<SensorAnnex>* table = Annex::Tables().Sensors();
    const SensorAnnex* record = table != nullptr ? table->Find(sensorID) : nullptr;
    if (record == nullptr)
        return false;
    searchBands = record->searchBands;
    trackBands = record->trackBands;
    sensorID_ = sensorID;
    searchJamGain = record->searchJamGain;
    trackJamGain = record->trackJamGain;
    searchThreshold = record->searchThreshold;
    trackThreshold = record->trackThreshold;
    jamMargin = record->jamMargin;
    maxRange = record->maxRange;
    minRange = record->minRange;
    sourceCode = record->sourceCode;
    beamWidth = record->beamWidth;
    capabilities = record->capabilities;
    MakeChannels(record->channelCount);
    return true;
}

void Sensor::SaveBase(std::ostream& out) const
{
    SaveKey(out);
    SaveField(out, searchBands);
    SaveField(out, trackBands);
    SaveField(out, maxRange);
    SaveField(out, minRange);
    SaveField(out, uint32_t{typeCode_});
    trackedTargets.Save(out);
    SaveField(out, trackCount);
    SaveField(out, sensorID_);
    SaveField(out, targetClasses);
    SaveField(out, searchJamGain);
    SaveField(out, trackJamGain);
    SaveField(out, searchThreshold);
    SaveField(out, trackThreshold);
    SaveField(out, jamMargin);
    SaveField(out, channelCount);
    for (uint8_t i = 0; i < channelCount; ++i)
        channels_[i].Save(out);
    SaveField(out, state_);
    SaveField(out, capabilities);
    SaveField(out, sourceCode);
    SaveField(out, beamWidth);
}

bool Sensor::LoadBase(std::istream& in)
{
    LoadKey(in);
    LoadField(in, searchBands);
    LoadField(in, trackBands);
    LoadField(in, maxRange);
    LoadField(in, minRange);
    uint32_t type = 0;
    if (LoadField(in, type) && !IsSavedSensorType(type))
        in.setstate(std::ios::failbit);   // no sensor is of that type: a damaged record
    typeCode_ = static_cast<uint8_t>(type);
    if (!in || !trackedTargets.Load(in))
        return false;
    LoadField(in, trackCount);
    LoadField(in, sensorID_);
    LoadField(in, targetClasses);
    LoadField(in, searchJamGain);
    LoadField(in, trackJamGain);
    LoadField(in, searchThreshold);
    LoadField(in, trackThreshold);
    LoadField(in, jamMargin);
    uint8_t channels = 0;
    if (!LoadField(in, channels))
        return false;
    MakeChannels(channels);
    for (uint8_t i = 0; i < channels; ++i) {
        if (!channels_[i].Load(in))
            return false;
    }
    LoadField(in, state_);
    LoadField(in, capabilities);
    LoadField(in, sourceCode);
    LoadField(in, beamWidth);
    return static_cast<bool>(in);
}

bool IsSavedSensorType(uint32_t typeCode)
{
    return typeCode >= 1 && typeCode <= LAST_SAVED_TYPE;
}

uint8_t SensorClassForType(uint32_t sensorType, bool forMount)
{
    switch (sensorType) {
    case Sensor::TYPE_RADAR:
        return SensorClass::RADAR;
    case Sensor::TYPE_RADAR_SUITE:
        return forMount ? SensorClass::NONE : SensorClass::RADAR;
    case Sensor::TYPE_SONAR_SUITE:
        return forMount ? SensorClass::NONE : SensorClass::SONAR;
    case Sensor::TYPE_PASSIVE_SONAR:
    case Sensor::TYPE_ACTIVE_SONAR:
    case Sensor::TYPE_RANGING_SONAR:
    case Sensor::TYPE_ACTIVE_VDS:
    case Sensor::TYPE_PASSIVE_VDS:
    case Sensor::TYPE_TOWED_ARRAY:
    case Sensor::TYPE_ACTIVE_ONLY_SONAR:
        return SensorClass::SONAR;
    case Sensor::TYPE_VISUAL:
        return SensorClass::VISUAL;
    case Sensor::TYPE_INFRARED:
        return SensorClass::INFRARED;
    case Sensor::TYPE_ESM:
        return SensorClass::ESM;
    case Sensor::TYPE_ECM:
        return SensorClass::ECM;
    case Sensor::TYPE_SEMI_ACTIVE:
        return SensorClass::SEMI_ACTIVE;
    case Sensor::TYPE_MAD:
        return SensorClass::MAD;
    case Sensor::TYPE_LASER:
        return SensorClass::LASER_DESIGNATOR;
    default:
        return SensorClass::NONE;
    }
}

SensorFactory SetSensorFactory(SensorFactory factory)
{
    const SensorFactory previous = gSensorFactory;
    gSensorFactory = factory;
    return previous;
}

SensorRecordFactory SetSensorRecordFactory(SensorRecordFactory factory)
{
    const SensorRecordFactory previous = gSensorRecordFactory;
    gSensorRecordFactory = factory;
    return previous;
}

Sensor* MakeSensorFromRecord(uint8_t sensorClass, uint16_t sensorID)
{
    return gSensorRecordFactory != nullptr ? gSensorRecordFactory(sensorClass, sensorID) : nullptr;
}

bool LoadSensorList(TreeListOf<Sensor>& sensors, std::istream& in, MovingObject* owner,
                    const char* caller)
{
    uint16_t count = 0;
    if (!LoadField(in, count)) {
        ReportCutShort(caller, 0, 0);
        return false;
    }
    // Sensors read so far wait here until the whole list has been read.
    TreeListOf<Sensor> loaded;
    for (uint32_t i = 0; i < count; ++i) {
        uint8_t type = 0;
        if (!LoadField(in, type)) {
            ReportCutShort(caller, i + 1, count);
            return false;
        }
        Sensor* const sensor =
            IsSavedSensorType(type) && gSensorFactory != nullptr ? gSensorFactory(type) : nullptr;
        if (sensor == nullptr) {
            ReportResourceText(UNKNOWN_SENSOR_TYPE_TEXT, caller, FatalError);
            in.setstate(std::ios::failbit);
            return false;
        }
        if (!sensor->Load(in) || !in) {
            delete sensor;
            in.setstate(std::ios::failbit);
            ReportCutShort(caller, i + 1, count);
            return false;
        }
        sensor->SetOwner(owner);
        loaded.Insert(sensor);
    }
    while (Sensor* const sensor = loaded.First()) {
        loaded.Remove(sensor);
        sensors.Insert(sensor);
    }
    return true;
}

bool SaveSensorList(const TreeListOf<Sensor>& sensors, std::ostream& out)
{
    uint32_t count = 0;
    for (const Sensor* s = sensors.First(); s != nullptr && count < 0xFFFF; s = s->GetNext())
        ++count;
    SaveField(out, static_cast<uint16_t>(count));
    const Sensor* sensor = sensors.First();
    for (uint32_t i = 0; i < count; ++i, sensor = sensor->GetNext())
        sensor->Save(out);
    return static_cast<bool>(out);
}
