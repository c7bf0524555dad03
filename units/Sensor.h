// Sensor.h: Sensor, the base of the sensor classes a unit carries, as far as
// the unit model reads it: operating state, type, owner and the reach
// figures its caches are made of; the loader of a saved sensor list, which
// makes each class through the factory the sensor model installs; and the
// shared lookout sensor. The sensor classes themselves (one per sensor type,
// with their detection tests and their own saved fields) live with the
// engagement model, which derives them from this base.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/TreeListOf.h"

class MovingObject;

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
    static constexpr uint8_t TYPE_MAD = 9;
    static constexpr uint8_t TYPE_LASER = 16;

    // State 0, the given type code, no owner.
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

    MovingObject* GetOwner() const { return owner_; }
    void SetOwner(MovingObject* owner) { owner_ = owner; }

    // The key of the sensor's sensor.dat record; the classes save it.
    uint16_t GetSensorID() const { return sensorID_; }
    void SetSensorID(uint16_t id) { sensorID_ = id; }

    // The reach figures, in nautical miles, the owner's caches are made of.
    // A sensor class answers its own; the base answers 0 (and false).
    //   search reach: in a target mode (1 surface, 2 air, 8 subsurface, 9
    //     the sonar modes ...), with or without the alternative setting;
    //   reach: in a target mode;
    //   flag word: the bits 0x180 make the search reach count for the
    //     owner's sensor reach;
    //   primary band mask and reach: the kind bits the sensor covers when on;
    //   relay band mask and reach: those it covers for the units it relays,
    //     which count only while it holds relays.
    virtual uint16_t GetSearchReach(uint16_t mode, bool alternative) const;
    virtual uint16_t GetReach(uint16_t mode) const;
    virtual uint32_t GetFlagWord() const { return 0; }
    virtual uint32_t GetPrimaryBandMask() const { return 0; }
    virtual uint16_t GetPrimaryReach() const { return 0; }
    virtual uint32_t GetRelayBandMask() const { return 0; }
    virtual uint16_t GetRelayReach() const { return 0; }
    virtual bool HasRelays() const { return false; }

    // The class's saved record: Save writes the class code (one byte) first,
    // then its fields; Load reads the record after that byte, which the list
    // loader has read. Load answers whether the record was read whole; a
    // short read leaves the stream failed.
    virtual void Save(std::ostream& out) const = 0;
    virtual bool Load(std::istream& in) = 0;

protected:
    uint32_t state_ = 0;
    uint8_t typeCode_ = 0;
    uint16_t sensorID_ = 0;
    MovingObject* owner_ = nullptr;   // not owned
};

// The sensor types a saved sensor record may carry: 1 to 17.
bool IsSavedSensorType(uint8_t typeCode);

// Makes a new sensor of the class of a saved type code, with that type
// stored; nullptr when no class reads it. The engagement model installs it.
using SensorFactory = Sensor* (*)(uint8_t typeCode);
// Installs the factory (nullptr: none); returns the one it replaces.
SensorFactory SetSensorFactory(SensorFactory factory);

// Reads a saved sensor list into `sensors`: a u16 count, then per sensor its
// u8 type and its class's record; each sensor gets `owner` and is inserted.
// A type outside the saved types, or one no installed class reads, is the
// fatal error of resource text 0x7B025B, with `caller` naming the reader when
// the text cannot be had. That, or a record cut short, stops the load: the
// sensor being read is deleted, the stream is left failed and the answer is
// false; sensors read before it stay in the list, which the caller discards
// with the record it belongs to.
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
