// SensorAnnex.h: SensorAnnex, one record of sensor.dat: a radar, sonar,
// visual, infrared, ESM, ECM or other sensor of the database. The unit's
// sensor objects copy their figures from it (the sensor model).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "core/NameString.h"
#include "core/TreeListOf.h"

// Resource number of a sensor's description text: this base + textNumber.
constexpr int32_t SENSOR_TEXT_BASE = 0x450000;

// Sensor types of a sensor.dat record (DBEnum names them).
constexpr uint32_t SENSOR_TYPE_NONE = 0;
constexpr uint32_t SENSOR_TYPE_RADAR = 1;
constexpr uint32_t SENSOR_TYPE_VISUAL = 2;
constexpr uint32_t SENSOR_TYPE_INFRARED = 3;
constexpr uint32_t SENSOR_TYPE_PASSIVE_SONAR = 4;
constexpr uint32_t SENSOR_TYPE_ACTIVE_PASSIVE_SONAR = 5;
constexpr uint32_t SENSOR_TYPE_ESM = 6;
constexpr uint32_t SENSOR_TYPE_ECM = 7;
constexpr uint32_t SENSOR_TYPE_SEMI_ACTIVE = 8;
constexpr uint32_t SENSOR_TYPE_MAD = 9;
constexpr uint32_t SENSOR_TYPE_RADAR_SUITE = 10;
constexpr uint32_t SENSOR_TYPE_SONAR_SUITE = 11;
constexpr uint32_t SENSOR_TYPE_RANGING_SONAR = 12;
constexpr uint32_t SENSOR_TYPE_ACTIVE_VDS = 13;
constexpr uint32_t SENSOR_TYPE_PASSIVE_VDS = 14;
constexpr uint32_t SENSOR_TYPE_TOWED_ARRAY = 15;
constexpr uint32_t SENSOR_TYPE_LASER_DESIGNATOR = 16;
constexpr uint32_t SENSOR_TYPE_ACTIVE_ONLY_SONAR = 17;

// The three sonar bands of a sonar's searchBands: the low band, else the
// middle band; a sonar with neither listens in the high band.
constexpr uint32_t SONAR_BAND_LOW = 0x1000000;
constexpr uint32_t SONAR_BAND_MIDDLE = 0x2000000;
constexpr uint32_t SONAR_BAND_HIGH = 0x4000000;
constexpr uint32_t SONAR_BANDS = SONAR_BAND_LOW | SONAR_BAND_MIDDLE | SONAR_BAND_HIGH;

// The lists a sensor record is built from into a sensor object: a unit's or
// a weapon's own sensor list, or the sensor list of a mount or magazine.
enum class SensorHolder { Unit, Mount };

// Whether a record of the sensor type becomes a sensor object in a list of
// that holder: every type from 1 to 17 in a unit's own list (the radar suite
// as a radar, the sonar suite as a sonar); in a mount's list the same less
// the two suites, which make nothing there. Type 0 and types above 17 never
// make a sensor.
bool SensorTypeMakesSensor(uint32_t type, SensorHolder holder);

// Whether the sensor type is a sonar: 4, 5, 11, 12, 13, 14, 15 and 17.
bool IsSonarType(uint32_t type);

class SensorAnnex : public TreeListNode<SensorAnnex> {
public:
    // File layout, little-endian (46 bytes and the name; 4 more from annex
    // version 1):
    //   0  ID               u16
    //   2  searchBands      code32   band mask in search (sensor flags)
    //   6  trackBands       code32   band mask in track mode; 0 = none
    //  10  sensorType       code32   0 none, 1 radar, 2 visual, 3 infrared,
    //                                4, 5, 12-15, 17 sonars, 6 ESM, 7 ECM,
    //                                8 semi-active, 9 MAD, 10 radar suite,
    //                                11 sonar suite, 16 laser designator
    //  14  searchJamGain    u16
    //  16  trackJamGain     u16
    //  18  searchThreshold  i16      tenths of a decibel
    //  20  trackThreshold   i16      tenths of a decibel
    //  22  jamMargin        i16
    //  24  channelCount     u8       fire-control channels
    //  25  textNumber       u16      description text SENSOR_TEXT_BASE + this
    //  27  spare2, spare3   2 x u16  carried
    //  31  capabilities     u32
    //  35  maxRange         u16      nautical miles
    //  37  minRange         u16
    //  39  sourceCode       u16
    //  41  beamWidth        u8       tenths of a degree, half-width
    //  42  recordFlags      u32
    //  46  name             NameString
    //      lastValue        u32      version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 48;

    SensorAnnex() = default;
    explicit SensorAnnex(uint16_t id) : TreeListNode<SensorAnnex>(id) {}
    ~SensorAnnex() override = default;

    uint32_t GetSearchBands() const { return searchBands; }
    uint32_t GetTrackBands() const { return trackBands; }
    uint32_t GetSensorType() const { return sensorType; }

    // Reads the layout above; lastValue only when the current annex version
    // is not 0. Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    uint32_t searchBands = 0;
    uint32_t trackBands = 0;
    uint32_t sensorType = 0;
    uint16_t searchJamGain = 0;
    uint16_t trackJamGain = 0;
    int16_t searchThreshold = 0;
    int16_t trackThreshold = 0;
    int16_t jamMargin = 0;
    uint8_t channelCount = 0;
    uint16_t textNumber = 0;
    uint16_t spare2 = 0;
    uint16_t spare3 = 0;
    uint32_t capabilities = 0;
    uint16_t maxRange = 0;
    uint16_t minRange = 0;
    uint16_t sourceCode = 0;
    uint8_t beamWidth = 0;
    uint32_t recordFlags = 0;
    NameString name;
    uint32_t lastValue = 0;
};
