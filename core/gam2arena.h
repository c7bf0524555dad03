// gam2arena.h: the gam2arena accessors, through which the rest of the system
// reaches the simulation's game clock, its random generator, its event queue,
// its units and its side contact records, and ArenaState, the object that
// holds the first three for now.
//
// The accessors read one installed ArenaState: its EventQueue, its RandomGen,
// the game time in seconds and the calendar date at game time 0. The Arena
// (the simulation controller, in a layer above) installs the state it runs on
// at start-up; tests install their own. Callers here never include the Arena.
// With nothing installed, every accessor answers its neutral value (0, false,
// nullptr).
#pragma once

#include <cstdint>

#include "core/EventQueue.h"
#include "core/GameTime.h"
#include "core/RandomGen.h"

class Event;
class SideContacts;
class SideContactsList;
class Unit;

// The packed clock record that the clock window shows and the weather reads
// the date from. In memory only; never saved.
struct GameClockRecord {
    uint16_t compression = 0;   // game seconds per real second, 0: clock stands
    uint8_t year = 0;           // years since 1900 (91 is 1991)
    uint8_t month = 0;          // 1-12
    uint8_t day = 0;            // day of the month, 1-31
    uint8_t hour = 0;           // 0-23
    uint8_t minute = 0;         // 0-59
    uint8_t second = 0;         // 0-59
};

// The game clock, random generator and event queue that the accessors read
// until the Arena holds them (see the file head). Starts at game time 0,
// 1 January 1991 00:00:00, compression 0 and the generator's own seed.
// Install one with gam2arena::SetArenaState; a state that is destroyed while
// installed uninstalls itself. The queue deletes the events it still holds.
class ArenaState {
public:
    ArenaState() = default;
    ~ArenaState();
    ArenaState(const ArenaState&) = delete;
    ArenaState& operator=(const ArenaState&) = delete;

    EventQueue& Queue() { return queue_; }
    RandomGen& Generator() { return random_; }

    // The game clock, in game seconds since the start.
    GameTime GetGameTime() const { return time_; }
    void SetGameTime(GameTime time) { time_ = time; }
    // Moves the clock on; past 2^32 - 1 seconds it wraps to 0 like the
    // saved u32 count.
    void AdvanceGameTime(uint32_t seconds);

    uint16_t GetTimeCompression() const { return compression_; }
    void SetTimeCompression(uint16_t compression) { compression_ = compression; }

    // The calendar date and time at game time 0: year 1900..2099, month 1-12,
    // day 1..length of that month, hour 0-23, minute and second 0-59.
    // Answers false and keeps the old start for a value out of range.
    bool SetStartDate(uint16_t year, uint8_t month, uint8_t day,
                      uint8_t hour = 0, uint8_t minute = 0, uint8_t second = 0);

    // The date and time the clock shows now (start plus game time) with the
    // time compression. A year that would pass 2155 (past the record's byte)
    // stops at 31 December 2155 23:59:59.
    GameClockRecord GetClockRecord() const;
    // The same record for another game time (seconds since the start).
    GameClockRecord GetClockRecordAt(GameTime time) const;

private:
    EventQueue queue_;
    RandomGen random_;
    GameTime time_;                 // game seconds since the start
    uint16_t compression_ = 0;      // game seconds per real second
    int64_t startDay_ = 0;          // days from 1 January 1900 to the start date
    uint32_t startSecond_ = 0;      // seconds into the start day
};

namespace gam2arena {

// Installs state (nullptr: none) and returns the one it replaces.
ArenaState* SetArenaState(ArenaState* state);
// The installed state, or nullptr.
ArenaState* GetArenaState();

// The current game time in seconds; 0 with nothing installed.
uint32_t GetGameTime();

// The time compression; 0 with nothing installed.
uint16_t GetTimeCompression();

// Fills record with the clock's date and time and answers true; with nothing
// installed answers false and leaves record untouched.
bool GetGameDateTime(GameClockRecord& record);
// The same for the game time `seconds` (seconds since the start).
bool GetGameDateTimeAt(uint32_t seconds, GameClockRecord& record);

// A draw in 0..n-1 from the game's generator (0 when n is 0, the seed still
// advancing); 0 with nothing installed, the seed untouched.
uint16_t Random(uint16_t n);

// Queues event in due-time order; the queue owns it from then on. With
// nothing installed (or a null event) nothing happens and the event stays
// with the caller.
void PostEvent(Event* event);

// Deletes every queued event whose subject is unitID and, unless typeCode is
// 0, whose type code equals it. Nothing with nothing installed.
void RemoveUnitEvents(uint16_t unitID, uint8_t typeCode);
// The same for the `count` type codes given, in one walk of the queue.
void RemoveUnitEvents(uint16_t unitID, const uint8_t* typeCodes, int count);

// The next queued event after `after` (nullptr: from the head) whose type
// code is typeCode (EventCode::ANY: of any type); nullptr when none, or with
// nothing installed.
Event* FindEvent(Event* after, uint8_t typeCode);

// As FindEvent, but the next one whose subject is also unitID.
Event* FindUnitEvent(uint16_t unitID, Event* after, uint8_t typeCode);

// The unit of that identifier, or nullptr when it is absent or no lookup is
// installed. The unit list lives above the core: its owner installs the
// lookup (units/UnitList.h, UnitList::SetArenaList).
Unit* FindUnit(uint16_t unitID);

// The lookup FindUnit asks; nullptr uninstalls it. Returns the one it replaces.
using UnitLookup = Unit* (*)(uint16_t unitID);
UnitLookup SetUnitLookup(UnitLookup lookup);

// The Arena's side contact records: one SideContacts per data-link picture,
// keyed by its entry key, and the player's current one. The list lives with
// the engagement model, which installs it (engagement/SideContactsList.h,
// SideContactsList::SetArenaList); with nothing installed there is no record.
// The record of that key, or nullptr.
SideContacts* FindSide(uint16_t key);
// The player's current record, or nullptr.
SideContacts* GetCurrentSide();
// Makes the record the current one (nullptr clears it); nothing happens with
// no list installed.
void SetCurrentSide(SideContacts* record);
// The list itself, or nullptr.
SideContactsList* GetSideList();

// The calls behind the four accessors above; null members answer "none".
struct SideListCalls {
    SideContacts* (*findSide)(uint16_t key) = nullptr;
    SideContacts* (*getCurrentSide)() = nullptr;
    void (*setCurrentSide)(SideContacts* record) = nullptr;
    SideContactsList* (*getSideList)() = nullptr;
};
// Installs the calls; returns the ones they replace.
SideListCalls SetSideListCalls(const SideListCalls& calls);

} // namespace gam2arena
