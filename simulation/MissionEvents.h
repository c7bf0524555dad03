// MissionEvents.h: the two events that keep the missions running:
// MissionEvent (0x54), a code for one mission of a side at a set time, and
// MissionUnitEvent (0x47), a unit's next step in the mission that holds it.
// Both find the side and hand over to it; the side's ops staff finds the
// mission. InstallMissionEventMakers gives the missions and the unit model
// these classes.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"

class MissionEvent : public Event {
public:
    MissionEvent() = default;
    // Due `delay` game seconds after the present game time.
    MissionEvent(uint16_t sideID, uint16_t missionID, uint16_t value, uint32_t delay);

    // The side's ops staff hands value to the mission; nothing when the side
    // or the mission is gone. Answers false: the queue deletes the event.
    bool HandleEvent() override;
    uint8_t TypeCode() const override { return EventCode::MISSION; }
    Event* Clone() const override;

    // Saved form, little-endian, 11 bytes:
    //   type code u8 0x54, missionID u16, sideID u16, value u16, due time u32
    // Load on a short read fails the stream, changes nothing and answers false.
    void Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

    uint16_t GetSideID() const { return sideID; }
    uint16_t GetMissionID() const { return missionID; }
    uint16_t GetValue() const { return value; }

private:
    uint16_t missionID = 0;
    uint16_t sideID = 0;
    uint16_t value = 0;
};

class MissionUnitEvent : public Event {
public:
    MissionUnitEvent() = default;
    // Code 0, due time 0: due at once when posted; the creator sets the code.
    explicit MissionUnitEvent(uint16_t unitID);

    // Drops the unit's other queued mission-unit events, then the ops staff
    // of the unit's side steps the unit in the mission that holds it with
    // the code; nothing when the unit, its side or such a mission is gone.
    // Answers false: the queue deletes the event.
    bool HandleEvent() override;
    uint16_t GetSubject() const override { return unitID; }
    void SetSubject(uint16_t subject) override { unitID = subject; }
    uint8_t TypeCode() const override { return EventCode::MISSION_UNIT; }
    // The unit and the code; the due time stays 0.
    Event* Clone() const override;
    // The stored time is a delay: it becomes the due time from now.
    void ResolveDueTime() override;

    // Saved form, little-endian, 8 bytes:
    //   type code u8 0x47, unitID u16, code u8, due time u32
    // Load on a short read fails the stream, changes nothing and answers false.
    void Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

    uint8_t GetCode() const { return code; }
    void SetCode(uint8_t value) { code = value; }

private:
    uint16_t unitID = 0;
    uint8_t code = 0;
};

// Makes MissionEvent the missions' mission event and MissionUnitEvent the
// unit model's mission-unit event, keeping the other makers of both tables.
void InstallMissionEventMakers();
