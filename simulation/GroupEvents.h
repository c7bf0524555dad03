// GroupEvents.h: GroupReviewEvent (0x4E), the periodic review of a group:
// it places the group's threat axes and plans its stations, and comes back
// every 15 game minutes while its unit is a group.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"

class GroupReviewEvent : public Event {
public:
    // Game seconds between two reviews of a group.
    static constexpr uint32_t INTERVAL = 900;

    GroupReviewEvent() = default;
    GroupReviewEvent(uint16_t groupID, GameTime due);

    // Removes the group's other queued reviews; for a group, runs its
    // UpdateThreatAxes and stays queued, due again INTERVAL seconds from
    // now; for any other unit (or none) answers false and the queue deletes
    // it.
    bool HandleEvent() override;
    uint16_t GetSubject() const override { return groupID; }
    void SetSubject(uint16_t subject) override { groupID = subject; }
    uint8_t TypeCode() const override { return EventCode::GROUP_REVIEW; }
    Event* Clone() const override { return new GroupReviewEvent(groupID, GetTime()); }

    // Saved form, little-endian, 7 bytes: type code u8 0x4E, groupID u16,
    // due time u32. Load on a short read fails the stream and answers false.
    void Save(std::ostream& out) const override;
    bool Load(std::istream& in) override;

private:
    uint16_t groupID = 0;
};
