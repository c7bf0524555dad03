// DetectingSensor.h: DetectingSensor, what every sensor class of the
// engagement model shares on top of the unit model's Sensor: taking and
// testing tracks on the fire-control channels (TrackTarget, CanTrack), the
// source handed to each contact, and the small fills of a new contact that
// several detection tests make alike (sensor bits, size class on the radar
// scale, motion, the target's identity).
#pragma once

#include <cstdint>

#include "units/Sensor.h"

class DetectingSensor : public Sensor {
public:
    // Bits a contact gets from the class of sensor that made it.
    static constexpr uint32_t BITS_RADAR = 2;
    static constexpr uint32_t BITS_VISUAL = 4;
    static constexpr uint32_t BITS_INFRARED = 8;
    static constexpr uint32_t BITS_PASSIVE_SONAR = 16;
    static constexpr uint32_t BITS_ACTIVE_SONAR = 32;
    static constexpr uint32_t BITS_ESM = 64;
    static constexpr uint32_t BITS_SEMI_ACTIVE = 256;
    static constexpr uint32_t BITS_MAD = 512;
    static constexpr uint32_t BITS_LASER = 65536;

    // Capability bits.
    static constexpr uint32_t CAP_SURFACE = 0x1;
    static constexpr uint32_t CAP_AIR = 0x2;
    static constexpr uint32_t CAP_AIR_ALSO = 0x4;
    static constexpr uint32_t CAP_SUBSURFACE = 0x8;
    static constexpr uint32_t CAP_SOURCE_FLAG = 0x10;
    static constexpr uint32_t CAP_DETECTION_FLAG = 0x20;
    static constexpr uint32_t CAP_HEIGHT_FINDING = 0x40;
    static constexpr uint32_t CAP_IDENTIFY_FRIENDS = 0x80;
    static constexpr uint32_t CAP_CLASSIFY = 0x100;

    // An entry whose window ended more than this many seconds ago is
    // dropped when a track is next asked for.
    static constexpr uint32_t CHANNEL_EXPIRY_SECONDS = 15;

    DetectingSensor() = default;
    ~DetectingSensor() override = default;

    // See Sensor. Only active or standby sensors take tracks; the test is
    // the class's own Detect in track mode, run with the sensor active for
    // the moment.
    bool TrackTarget(Unit& own, Unit& target, const NavVector& vector, int selector, bool hold,
                     const ChannelEntry& request, int16_t increment, bool flagB, bool flagA) override;
    bool CanTrack(Unit& own, Unit& target, const NavVector& vector, int selector, const ChannelEntry& request,
                  bool flagB, bool flagA) override;
    void SetContactSource(Contact& contact) const override;

    // Size class of a signal on the radar scale: 285 and above 16, 236 8,
    // 151 4, -30 2, below 1.
    static uint8_t RadarSizeClass(int32_t signal);

protected:
    // The source handed to a contact, with the given figures.
    void HandSource(Contact& contact, uint16_t code, uint32_t flags, uint16_t width) const;
    // Runs Detect in track mode with the sensor active for the moment; the
    // state is restored. Answers whether a contact came back (it is deleted).
    bool TestTrack(Unit& own, Unit& target, const NavVector& vector, int selector, bool flagA, bool flagB);
    // The channel a request can be booked on: the first whose entries of
    // other targets leave the request's window free. With `dropExpired`,
    // entries ended more than CHANNEL_EXPIRY_SECONDS ago are deleted on the
    // way. `same` gets an overlapping entry of the request's target on the
    // chosen channel, or null. Null when every channel is busy.
    SensorChannel* FindFreeChannel(const ChannelEntry& request, bool dropExpired, ChannelEntry*& same);

    // A new contact of the target by this sensor's kind, through the
    // allocation check.
    static Contact* NewContact(const Unit& target, uint32_t kind);
    // The sensor bits of the detection, latest and ever.
    static void SetSensorBits(Contact& contact, uint32_t bits);
    // Speed (knots) and course (whole degrees) known, with the target's
    // altitude when `altitude`.
    static void FillMotion(Contact& contact, const Unit& target, bool altitude);
    // Side, name, database id and size class of the target itself.
    static void FillIdentity(Contact& contact, const Unit& target);
    // Whether the player may not see the own unit, in which case the sensor
    // tells its contacts' side.
    static bool HiddenFromPlayer(const Unit& own);
    // The owner as a unit, or null.
    const Unit* OwnerUnit() const;
    // The owner's altitude as the sensors see it; 0 without an owner.
    int16_t OwnerAltitude() const;
};

// A unit's weather class for the sensors: its weather code less 3 while
// above 3, anything outside 0 to 3 counting as 3; the worse of the two units'.
int WeatherClass(const Unit& own, const Unit& target);
// The unit's database record id; 0 for no unit.
uint16_t GetUnitAnnexID(const Unit* unit);
// An angle in angle units as whole degrees, folded into one turn first.
uint16_t WholeDegrees(int32_t angle);
