// AircraftEvents.h: the two events an aircraft in flight orders for itself:
// SetSpeedEvent (0x3D), which sets a unit's speed, and LandEvent (0x10),
// which takes an aircraft out of the air into its base's aircraft records.
// These are their least forms: a landing hands the aircraft to its base as
// one record of its type and loadout; what groups and missions do on a
// landing comes with them. InstallAircraftEventMakers gives the unit model
// these classes and the sonobuoy drop of SonobuoyEvents.h (units/UnitEvents.h).
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"

class SetSpeedEvent : public Event {
public:
    SetSpeedEvent() = default;
    SetSpeedEvent(uint16_t unitID, uint16_t knots, GameTime due);

    // Sets the unit's speed at its altitude; a unit that is gone is skipped.
    // Answers false: the queue deletes the event.
    bool HandleEvent() override;
    uint16_t GetSubject() const override { return unitID; }
    void SetSubject(uint16_t subject) override { unitID = subject; }
    uint8_t TypeCode() const override { return EventCode::SET_SPEED; }
    Event* Clone() const override { return new SetSpeedEvent(unitID, knots, GetTime()); }

    // Saved form, little-endian, 9 bytes:
    //   type code u8 0x3D, unitID u16, knots u16, due time u32
    // Load on a short read fails the stream and answers false.
    void Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

    uint16_t GetKnots() const { return knots; }

private:
    uint16_t unitID = 0;
    uint16_t knots = 0;
};

class LandEvent : public Event {
public:
    LandEvent() = default;
    LandEvent(uint16_t planeID, uint16_t baseID, GameTime due);

    // When the aircraft ('P') and a base with aircraft records both exist,
    // the base gains a record of one aircraft of its type and loadout and
    // the aircraft leaves play at once. Otherwise nothing happens. Answers
    // false: the queue deletes the event.
    bool HandleEvent() override;
    uint16_t GetSubject() const override { return planeID; }
    void SetSubject(uint16_t subject) override { planeID = subject; }
    uint8_t TypeCode() const override { return EventCode::LAND; }
    Event* Clone() const override { return new LandEvent(planeID, baseID, GetTime()); }

    // Saved form, little-endian, 9 bytes:
    //   type code u8 0x10, planeID u16, baseID u16, due time u32
    // Load on a short read fails the stream and answers false.
    void Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

    uint16_t GetBaseID() const { return baseID; }

private:
    uint16_t planeID = 0;
    uint16_t baseID = 0;
};

// Makes SetSpeedEvent, LandEvent and DropSonobuoyEvent the unit model's
// set-speed, landing and sonobuoy drop events, keeping its other makers,
// and gives the air groups the destination of a landing event.
void InstallAircraftEventMakers();
