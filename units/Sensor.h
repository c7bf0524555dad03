// Sensor.h: Sensor, the base of the sensor classes a unit carries: operating
// state, type, owner, the figures copied from its sensor.dat record, its
// fire-control channels and tracked targets, the reach figures the unit's
// caches are made of, and the base part of its saved record; the class codes
// and which class each sensor type makes; the two hooks through which the
// sensor model makes its classes (for a saved record, and from a sensor.dat
// record); the loader and writer of a saved sensor list; and the shared
// lookout sensor. The sensor classes themselves (one per class code, with
// their detection tests and their own saved fields) live with the engagement
// model, which derives them from this base; the builders of a unit's or a
// mount's sensors from its records are SensorFactory.h.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>

#include "core/TreeListOf.h"
#include "units/SensorChannel.h"

class Contact;
class MovingObject;
class Unit;
struct NavVector;

class Sensor : public TreeListNode<Sensor> {
public:
    // Operating states.
    static constexpr uint32_t STATE_NONE = 1;       // a request the classes map
    static constexpr uint32_t STATE_ACTIVE = 2;     // emitting
    static constexpr uint32_t STATE_PASSIVE = 3;    // receiving only
    static constexpr uint32_t STATE_STANDBY = 4;    // standby for track
    static constexpr uint32_t STATE_OFF = 5;
    static constexpr uint32_t STATE_DAMAGED = 6;    // only a repair brings it back
    static constexpr uint32_t STATE_DESTROYED = 7;  // final
    static constexpr uint32_t REQUEST_REPAIR = 8;   // a request, never a state

    // Sensor types with a meaning in the unit model.
    static constexpr uint8_t TYPE_RADAR = 1;
    static constexpr uint8_t TYPE_VISUAL = 2;
    static constexpr uint8_t TYPE_INFRARED = 3;
    static constexpr uint8_t TYPE_PASSIVE_SONAR = 4;
    static constexpr uint8_t TYPE_ACTIVE_SONAR = 5;     // active/passive sonar
    static constexpr uint8_t TYPE_ESM = 6;
    static constexpr uint8_t TYPE_ECM = 7;
    static constexpr uint8_t TYPE_SEMI_ACTIVE = 8;
    static constexpr uint8_t TYPE_MAD = 9;
    static constexpr uint8_t TYPE_RADAR_SUITE = 10;
    static constexpr uint8_t TYPE_SONAR_SUITE = 11;
    static constexpr uint8_t TYPE_RANGING_SONAR = 12;
    static constexpr uint8_t TYPE_ACTIVE_VDS = 13;
    static constexpr uint8_t TYPE_PASSIVE_VDS = 14;
    static constexpr uint8_t TYPE_TOWED_ARRAY = 15;
    static constexpr uint8_t TYPE_LASER = 16;
    static constexpr uint8_t TYPE_ACTIVE_ONLY_SONAR = 17;

    // The sector mask that covers every bearing: the value a sensor entry of
    // 0 stands for.
    static constexpr uint16_t ALL_SECTORS = 255;

    // State 0, the given type code, no owner, every figure 0, no channels,
    // no tracked target.
    explicit Sensor(uint8_t typeCode = 0) : typeCode_(typeCode) {}
    ~Sensor() override = default;
    Sensor(const Sensor&) = delete;
    Sensor& operator=(const Sensor&) = delete;

    uint32_t GetState() const { return state_; }
    // The base rule every class applies after its own mapping of the
    // request: state 7 never changes; in state 6 only the repair request 8
    // does anything, and it sets state 3; otherwise the state becomes the
    // request.
    virtual void SetState(uint32_t requested);

    // The sensor type code the sensor was made for (1 radar ... 17).
    uint8_t GetSensorType() const { return typeCode_; }
    void SetSensorType(uint8_t typeCode) { typeCode_ = typeCode; }

    MovingObject* GetOwner() const { return owner_; }
    void SetOwner(MovingObject* owner) { owner_ = owner; }

    // The key of the sensor's sensor.dat record; the classes save it.
    uint16_t GetSensorID() const { return sensorID_; }
    void SetSensorID(uint16_t id) { sensorID_ = id; }

    // The ranges, in nautical miles, the owner's caches are made of. The
    // argument is a mask of the capability bits of the classes of target
    // asked about (0x1 surface, 0x2 and 0x4 air, 0x8 subsurface): the unit's
    // caches ask with 1, 6 and 8, its sonar reach with 9. Base: 0 unless a
    // bit is among the capabilities; maxRange while active or passive; 0 in
    // any other state. GetRange may switch an aircraft's sonar on or off
    // (see SonarSensor).
    virtual uint16_t GetRange(uint32_t classBits, bool flag) const;
    // The range for the own platform's conditions; the base asks GetRange
    // with the flag clear.
    virtual uint16_t GetRangeDefault(uint32_t classBits) const { return GetRange(classBits, false); }
    virtual uint32_t GetFlagWord() const { return 0; }
    virtual uint32_t GetPrimaryBandMask() const { return 0; }
    virtual uint16_t GetPrimaryReach() const { return 0; }
    virtual uint32_t GetRelayBandMask() const { return 0; }
    virtual uint16_t GetRelayReach() const { return 0; }
    virtual bool HasRelays() const { return false; }
    // The sonar rings the map draws round the owner for this sensor; 0 for
    // every sensor but a passive sonar in deep enough water.
    virtual uint16_t GetRingCount() const { return 0; }

    // The class's saved record: Save writes the class code (one byte) first,
    // then its fields; Load reads the record after that byte, which the list
    // loader has read. Load answers whether the record was read whole; a
    // short read leaves the stream failed.
    virtual void Save(std::ostream& out) const = 0;
    virtual bool Load(std::istream& in) = 0;

    // The fire-control channel at an index below channelCount; null beyond.
    SensorChannel* GetChannel(uint8_t index) const;

    // ---- detection, in the class table's order; the engagement model's
    // classes answer them ----

    // One detection test of `target` by this sensor on `own`: `vector` runs
    // from own to target (range units, angle units), `selector` chooses the
    // target's signature (aspect), `rangeLoss` is Log10Times100(range) - 34;
    // flagA and flagB are the caller's conditions (line of sight, horizon);
    // trackMode runs the test as a track (the laser reads it as its third
    // flag). A new contact owned by the caller, or null.
    virtual Contact* Detect(Unit& own, Unit& target, const NavVector& vector, int selector,
                            int32_t rangeLoss, bool flagA, bool flagB, bool trackMode) = 0;
    // Takes (or confirms) a track on `target` for the request's window on a
    // free fire-control channel; with `hold`, books the request and raises
    // the target's hold count by `increment`. Answers whether it can.
    virtual bool TrackTarget(Unit& own, Unit& target, const NavVector& vector, int selector, bool hold,
                             const ChannelEntry& request, int16_t increment, bool flagB, bool flagA) = 0;
    // Whether TrackTarget could take the track, booking nothing.
    virtual bool CanTrack(Unit& own, Unit& target, const NavVector& vector, int selector,
                          const ChannelEntry& request, bool flagB, bool flagA) = 0;
    // The class code (SensorClass); a sonar answers 5 while active.
    virtual uint8_t GetClassCode() const = 0;
    // The text of what the sensor does, into out (FUNCTION_TEXT_SIZE bytes),
    // and its kind; the base writes nothing and answers 0.
    static constexpr int FUNCTION_TEXT_SIZE = 32;
    virtual int GetFunctionText(char* out) const;
    virtual void SetSearchBands(uint32_t bands) { searchBands = bands; }
    virtual void SetTrackBands(uint32_t bands) { trackBands = bands; }
    uint32_t GetSearchBands() const { return searchBands; }
    uint32_t GetTrackBands() const { return trackBands; }
    // Hands a contact the sensor's source: its source code, the source flag
    // (capability 0x10), twice minRange and maxRange, and its beam width with
    // the flag capability 0x20.
    virtual void SetContactSource(Contact& contact) const = 0;

    // Lowers the target's hold count; at 0 the target is no longer tracked.
    void ReleaseTrack(uint16_t targetID);
    // ReleaseTrack, and when that ends the track: a track-only sensor left
    // with no target falls back to standby, and the channels drop that
    // target's entries that have begun and other targets' that have ended.
    void ReleaseTarget(uint16_t targetID);

    // Figures from the sensor.dat record (see CopyRecord), and the sector
    // mask and tracks the unit gives it.
    uint32_t searchBands = 0;        // band mask in search
    uint32_t trackBands = 0;         // band mask in track mode; 0: no track
    uint16_t maxRange = 0;           // nautical miles
    uint16_t minRange = 0;
    uint16_t sourceCode = 0;         // handed to each contact it makes
    uint16_t beamWidth = 0;          // tenths of a degree, half-width
    TrackedTargetList trackedTargets;
    uint16_t trackCount = 0;         // targets held in track
    uint16_t targetClasses = 0;      // 45-degree sectors it searches, ALL_SECTORS all round
    uint16_t searchJamGain = 0;
    uint16_t trackJamGain = 0;
    int16_t searchThreshold = 0;     // tenths of a decibel (whole decibels for sonar)
    int16_t trackThreshold = 0;
    int16_t jamMargin = 0;
    uint8_t channelCount = 0;        // fire-control channels
    uint32_t capabilities = 0;

protected:
    // Copies the figures of sensor.dat record sensorID from the scenario's
    // sensor table (bands, gains, thresholds, margin, channel count, ranges,
    // source code, beam width, capabilities; the id) and makes channelCount
    // empty channels. Answers whether the record was found; without it
    // nothing changes. The record constructors of the classes start here.
    bool CopyRecord(uint16_t sensorID);

    // The base part of the saved record, after the class byte, little-endian:
    //   key               u16
    //   searchBands       u32
    //   trackBands        u32
    //   maxRange          u16   nautical miles
    //   minRange          u16
    //   typeCode          u32   sensor type 1 to 17
    //   trackedTargets    keyed list: u16 count, each TrackedTarget
    //   trackCount        u16
    //   sensorID          u16
    //   targetClasses     u16   sector mask
    //   searchJamGain     u16
    //   trackJamGain      u16
    //   searchThreshold   i16
    //   trackThreshold    i16
    //   jamMargin         i16
    //   channelCount      u8
    //   channels          channelCount keyed lists, each ChannelEntry
    //   state             u32
    //   capabilities      u32
    //   sourceCode        u16
    //   beamWidth         u16
    // LoadBase reads into a fresh sensor; a record cut short, a count beyond
    // the stream or a type outside 1 to 17 leaves the stream failed and
    // answers false.
    void SaveBase(std::ostream& out) const;
    bool LoadBase(std::istream& in);

    uint32_t state_ = 0;
    uint8_t typeCode_ = 0;
    uint16_t sensorID_ = 0;
    MovingObject* owner_ = nullptr;   // not owned

private:
    // Replaces the channels by `count` empty ones.
    void MakeChannels(uint8_t count);

    std::unique_ptr<SensorChannel[]> channels_;   // channelCount of them
};

// Class codes: the first byte of a saved sensor record, and the class a
// sensor type makes. A sonar saves 4 whatever its state.
namespace SensorClass {
constexpr uint8_t NONE = 0;
constexpr uint8_t RADAR = 1;
constexpr uint8_t VISUAL = 2;
constexpr uint8_t INFRARED = 3;
constexpr uint8_t SONAR = 4;
constexpr uint8_t ACTIVE_SONAR = 5;   // a sonar's code while it is active
constexpr uint8_t ESM = 6;
constexpr uint8_t ECM = 7;
constexpr uint8_t SEMI_ACTIVE = 8;
constexpr uint8_t MAD = 9;
constexpr uint8_t LASER_DESIGNATOR = 16;
}  // namespace SensorClass

// The class a sensor type makes: radar 1 and radar suite 10 a radar; the
// sonar types 4, 5, 11 to 15 and 17 a sonar; visual, infrared, ESM, ECM,
// semi-active, MAD and laser designator their own. In a mount's list the
// suites (10 and 11) make none; type 0 and types above 17 make none.
uint8_t SensorClassForType(uint32_t sensorType, bool forMount);

// The sensor types (and the range of class codes) a saved sensor record may
// carry: 1 to 17.
bool IsSavedSensorType(uint32_t typeCode);

// Makes a new, default sensor of the class a saved class code names, for its
// saved record to be read into; nullptr when no class reads it. The
// engagement model installs it.
using SensorFactory = Sensor* (*)(uint8_t classCode);
// Installs the factory (nullptr: none); returns the one it replaces.
SensorFactory SetSensorFactory(SensorFactory factory);

// Makes a new sensor of a class (SensorClass) built from sensor.dat record
// sensorID, in the state its class starts in; nullptr for a code that names
// no class. The engagement model installs it.
using SensorRecordFactory = Sensor* (*)(uint8_t sensorClass, uint16_t sensorID);
// Installs the record factory (nullptr: none); returns the one it replaces.
SensorRecordFactory SetSensorRecordFactory(SensorRecordFactory factory);
// A sensor of the class from the record, through the installed factory;
// nullptr while none is installed.
Sensor* MakeSensorFromRecord(uint8_t sensorClass, uint16_t sensorID);

// Reads a saved sensor list into `sensors`: a u16 count, then per sensor its
// u8 class code and its class's record; each sensor gets `owner` and is
// inserted once the whole list has been read. A code outside 1 to 17, or one
// no installed class reads, is the fatal error of resource text 0x7B025B,
// with `caller` naming the reader when the text cannot be had; a list cut
// short or a damaged record (a count beyond the stream, a type or band no
// sensor has) is reported in an error box naming `caller` and the record.
// Either stops the load: nothing read is kept, the stream is left failed
// and the answer is false.
bool LoadSensorList(TreeListOf<Sensor>& sensors, std::istream& in, MovingObject* owner,
                    const char* caller);

// Writes a sensor list: a u16 count, then each sensor's record in key order.
// A list of more than 65535 sensors writes its first 65535. Answers the
// stream's state.
bool SaveSensorList(const TreeListOf<Sensor>& sensors, std::ostream& out);

// Resource text of the fatal error for a saved sensor type without a class.
constexpr int32_t UNKNOWN_SENSOR_TYPE_TEXT = 0x7B025B;

// The shared lookout: one more sensor, built at start-up by the sensor model,
// whose owner the caller sets before each use; null until then.
extern Sensor* gDefaultSensor;
