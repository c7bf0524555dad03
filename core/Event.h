// Event.h: Event, the base of every simulation event (something that happens
// at one game time rather than at every step), and the table of event type
// codes that every saved event record begins with. The queue that holds
// events in due-time order is EventQueue.h; the list of events on disk and
// the factory that picks a class by its code live with the scenario file.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/ChainLink.h"
#include "core/GameTime.h"

class EventQueue;

// Type codes of the event classes, the first byte of every saved event
// record. A code that names no class (0x0b, 0x17..0x3b, 0x41, 0x57 and above)
// is an unknown event when a list is loaded; 0 in a list stands for no event.
namespace EventCode {
constexpr uint8_t NONE                    = 0x00;
constexpr uint8_t REQUEST_PATH            = 0x01;   // RequestPathEvent
constexpr uint8_t CONTACT_UPDATE          = 0x02;   // ContactUpdateEvent
constexpr uint8_t SET_TIME_COMPRESSION    = 0x03;   // SetTimeCompressionEvent
constexpr uint8_t PATH_RETURN             = 0x04;   // PathReturnEvent
constexpr uint8_t MERGE_UNIT_ENTRIES      = 0x05;   // MergeUnitEntriesEvent
constexpr uint8_t NEW_UNIT                = 0x06;   // NewUnitEvent
constexpr uint8_t PROCESS_UNIT_PATH       = 0x07;   // ProcessUnitPathEvent
constexpr uint8_t SET_SENSORS             = 0x08;   // SetSensorsEvent
constexpr uint8_t WEAPON_TARGET           = 0x09;   // WeaponTargetEvent
constexpr uint8_t MULTI_ACTION            = 0x0a;   // MultiActionEvent
constexpr uint8_t ATTACK                  = 0x0c;   // AttackEvent
constexpr uint8_t ATTACK_EXECUTION        = 0x0d;   // AttackExecutionEvent
constexpr uint8_t UNIT_READY              = 0x0e;   // UnitReadyEvent
constexpr uint8_t LAUNCH_AIRCRAFT         = 0x0f;   // LaunchAircraftEvent
constexpr uint8_t LAND                    = 0x10;   // LandEvent
constexpr uint8_t LAND_OR_REFUEL          = 0x11;   // LandOrRefuelEvent
constexpr uint8_t RELOAD                  = 0x12;   // ReloadEvent
constexpr uint8_t TANKER                  = 0x13;   // TankerEvent
constexpr uint8_t EMITTER_SELECTION       = 0x14;   // EmitterSelectionEvent
constexpr uint8_t REPLENISH               = 0x15;   // ReplenishEvent
constexpr uint8_t TOWED_ARRAY             = 0x16;   // TowedArrayEvent
constexpr uint8_t STATION_UPDATE          = 0x3c;   // StationUpdateEvent
constexpr uint8_t SET_SPEED               = 0x3d;   // SetSpeedEvent
constexpr uint8_t SET_ALTITUDE            = 0x3e;   // SetAltitudeEvent
constexpr uint8_t STATION_MOVE            = 0x3f;   // StationMoveEvent
constexpr uint8_t STATION_SET             = 0x40;   // StationSetEvent
constexpr uint8_t GROUP_MEMBER_CHECK      = 0x42;   // GroupMemberCheckEvent
constexpr uint8_t DELETE_UNIT             = 0x43;   // DeleteUnitEvent
constexpr uint8_t UPDATE_SIDE_MISSIONS    = 0x44;   // UpdateSideMissionsEvent
constexpr uint8_t DROP_SONOBUOY           = 0x45;   // DropSonobuoyEvent
constexpr uint8_t ALARM                   = 0x46;   // AlarmEvent
constexpr uint8_t MISSION_UNIT            = 0x47;   // MissionUnitEvent
constexpr uint8_t GUN_FIRE                = 0x48;   // GunFireEvent
constexpr uint8_t TIMES_UP                = 0x49;   // TimesUpEvent
constexpr uint8_t VICTORY_CHECK           = 0x4a;   // VictoryCheckEvent
constexpr uint8_t WEATHER                 = 0x4b;   // WeatherEvent
constexpr uint8_t WEAPON_STEP             = 0x4c;   // WeaponStepEvent
constexpr uint8_t CLEAR_PATH              = 0x4d;   // ClearPathEvent
constexpr uint8_t GROUP_REVIEW            = 0x4e;   // GroupReviewEvent
constexpr uint8_t SET_COMMUNICATIONS      = 0x4f;   // SetCommunicationsEvent
constexpr uint8_t REMOVE_EMPTY_ENTRY      = 0x50;   // RemoveEmptyEntryEvent
constexpr uint8_t SET_CURRENT_ENTRY       = 0x51;   // SetCurrentEntryEvent
constexpr uint8_t GAME_MESSAGE            = 0x52;   // GameMessageEvent
constexpr uint8_t SHARE_CONTACTS          = 0x53;   // ShareContactsEvent
constexpr uint8_t MISSION                 = 0x54;   // MissionEvent
constexpr uint8_t CONTACT_AREA            = 0x55;   // ContactAreaEvent
constexpr uint8_t MISSION_SENSORS         = 0x56;   // MissionSensorsEvent

// Searches for an event of any type (EventQueue::FindNextOfType).
constexpr uint8_t ANY                     = 0xFF;
// The highest code that can name a class.
constexpr uint8_t LAST                    = MISSION_SENSORS;
} // namespace EventCode

// The class name behind a type code ("WeatherEvent" for 0x4b), or nullptr
// when the code names no class (0, the unused codes, 0x57 and above).
const char* EventClassName(uint8_t code);

// The base of every simulation event. An event sits in at most one chain at
// a time (the queue, a path point's chain, a station's or an order list's) by
// the link it carries; the chain that holds it owns it.
//
// Saved form: each class's Save writes its type code as one byte, then its
// own record, with the due time (u32 game seconds, SaveBase) at the place its
// record fixes (most classes last, a few right after the code). Load reads
// the record after the code, which the list loader has already consumed.
class Event : public ChainLink<Event> {
public:
    Event() = default;                     // in no chain, due time 0
    // A copy has the due time of its original and starts in no chain and no
    // queue; assigning copies the due time and keeps the event's own place.
    Event(const Event& other) : ChainLink<Event>(other), dueTime(other.dueTime) {}
    Event& operator=(const Event& other)
    {
        dueTime = other.dueTime;
        return *this;
    }

    // Joins the neighbours of the chain that held the event and clears the
    // link; the head of that chain is not told, so an owner takes the event
    // out of its chain (Chain::Remove, EventQueue::Remove) before deleting.
    virtual ~Event() = default;

    // Performs the event. True keeps it: the queue adds it again at its due
    // time, which the handler may have moved (unmoved, it is due again at
    // once). False gives it up and the queue deletes it. The event is out of
    // every chain while this runs.
    virtual bool HandleEvent() = 0;

    // The unit (or side) id the event concerns; 0 for none.
    virtual uint16_t GetSubject() const { return 0; }
    virtual void SetSubject(uint16_t /*subject*/) {}

    // The class's type code (EventCode); 0 only for a class without one.
    virtual uint8_t TypeCode() const { return EventCode::NONE; }

    // Reads the class's record after the type byte, calling LoadBase at the
    // due time's place. Answers whether the record was read whole and is
    // acceptable; the stream is failed on a short read.
    virtual bool Load(std::istream& in) = 0;
    // Writes the type code, one byte, then the record, calling SaveBase at
    // the due time's place.
    virtual void Save(std::ostream& out) const = 0;

    // A new event of the same class and fields, in no chain; nullptr for a
    // class that cannot be copied.
    virtual Event* Clone() const { return nullptr; }

    // Writes one line of at most size - 1 characters and a terminating zero
    // into text and answers true. The base writes an empty text (when size is
    // at least 1) and answers false.
    virtual bool Describe(char* text, uint16_t size) const;

    // Sets the due time, in game seconds.
    virtual void SetTime(GameTime time) { dueTime = time; }

    // Called on an event that a path point held, just before it is posted.
    // Nothing here; a class whose stored time is a delay adds the current
    // game time to it.
    virtual void ResolveDueTime() {}

    void SetDueTime(GameTime time) { dueTime = time; }
    GameTime GetTime() const { return dueTime; }
    // True when the due time is not later than now (unsigned seconds).
    bool IsDue(GameTime now) const { return !dueTime.IsLater(now); }

    // The due time as u32 game seconds.
    void SaveBase(std::ostream& out) const;
    // Reads the due time; a short read leaves it and fails the stream, and
    // the answer is the stream's state.
    bool LoadBase(std::istream& in);

    // The queue that holds the event; nullptr while it is in no queue (in
    // another chain, or being handled).
    const EventQueue* GetQueue() const { return queue; }

private:
    // The queue sets and clears its mark as the event joins and leaves it, so
    // that it can tell its own events from others' without walking a chain.
    friend class EventQueue;

    GameTime dueTime;                   // game seconds; 0 means due at once
    const EventQueue* queue = nullptr;  // the holding queue; not owned
};
