// SonobuoyEvents.h: DropSonobuoyEvent (0x45), the drop of one sonobuoy from a
// unit, or from a member of a group, at the unit's position. Sonobuoy legs
// hang one on each of their points, missions hang one on a leg's end. The
// simulation's aircraft event installer (AircraftEvents.h) makes it the unit
// model's drop event (units/UnitEvents.h).
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"

class DropSonobuoyEvent : public Event {
public:
    // buoyKind: low four bits the wanted buoy class (BUOY_CLASS_BITS),
    // DIRECTIONAL_DROP asks for a directional drop.
    static constexpr uint8_t BUOY_CLASS_BITS = 0x0F;
    static constexpr uint8_t DIRECTIONAL_DROP = 0x10;

    DropSonobuoyEvent() = default;
    // Due at once (time 0) unless the maker sets another.
    DropSonobuoyEvent(uint16_t unitID, uint16_t lineID, uint8_t buoyKind);

    // When the unit exists and stands where a buoy can go (the navigation
    // test of type 2 at its position), the best-fitting loaded sonobuoy of
    // the unit, or of its members when it is a group, is dropped there for
    // line lineID (see the .cpp for the choice), and an aircraft that dropped
    // has its weapons examined at its next move. Answers false: the queue
    // deletes the event.
    bool HandleEvent() override;
    uint16_t GetSubject() const override { return unitID; }
    void SetSubject(uint16_t subject) override { unitID = subject; }
    uint8_t TypeCode() const override { return EventCode::DROP_SONOBUOY; }
    // The same unit, line and kind, due at once.
    Event* Clone() const override;
    // "Drop ", "directional " for kind 1, "active " for kind 3 (nothing for
    // any other kind), "sonobuoy"; cut to size - 1 characters.
    bool Describe(char* text, uint16_t size) const override;

    // Saved form, little-endian, 10 bytes:
    //   type code u8 0x45, unitID u16, lineID u16, buoyKind u8, due time u32
    // Load on a short read fails the stream, changes nothing and answers false.
    void Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

    uint16_t GetLineID() const { return lineID; }
    uint8_t GetBuoyKind() const { return buoyKind; }

private:
    uint8_t buoyKind = 0;
    uint16_t unitID = 0;
    uint16_t lineID = 0;
};
