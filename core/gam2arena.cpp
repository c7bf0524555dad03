// gam2arena.cpp: the accessors to the game clock, the random generator, the
// event queue and the unit lookup, and the calendar arithmetic of the
// stand-in clock.
#include "core/gam2arena.h"

#include "core/Event.h"

namespace {

ArenaState* gArenaState = nullptr;

constexpr uint32_t SECONDS_PER_DAY = 24 * 60 * 60;
constexpr uint16_t FIRST_YEAR = 1900;            // year 0 of the clock record
constexpr uint16_t LAST_YEAR = FIRST_YEAR + 255; // the record's year is a byte

bool IsLeapYear(int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int64_t year, int month)
{
    static constexpr int DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : DAYS[month - 1];
}

// Days from 1 January 1900 to the given date of the Gregorian calendar.
// Needs: year >= 1900, month 1-12.
int64_t CountDaysSince1900(int64_t year, int month, int day)
{
    int64_t days = 0;
    for (int64_t y = FIRST_YEAR; y < year; ++y)
        days += IsLeapYear(y) ? 366 : 365;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    return days + day - 1;
}

} // namespace

ArenaState::~ArenaState()
{
    if (gArenaState == this)
        gArenaState = nullptr;
}

void ArenaState::AdvanceGameTime(uint32_t seconds)
{
    time_ = static_cast<uint32_t>(uint64_t{time_.Get()} + seconds);   // wraps like the u32
}

bool ArenaState::SetStartDate(uint16_t year, uint8_t month, uint8_t day,
                              uint8_t hour, uint8_t minute, uint8_t second)
{
    if (year < FIRST_YEAR || year > LAST_YEAR || month < 1 || month > 12 || day < 1
        || day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 59)
        return false;
    startDay_ = CountDaysSince1900(year, month, day);
    startSecond_ = uint32_t{hour} * 3600 + uint32_t{minute} * 60 + second;
    return true;
}

GameClockRecord ArenaState::GetClockRecord() const
{
    return GetClockRecordAt(time_);
}

GameClockRecord ArenaState::GetClockRecordAt(GameTime time) const
{
    GameClockRecord record;
    record.compression = compression_;

    const uint64_t total = uint64_t{startSecond_} + time.Get();
    int64_t days = startDay_ + static_cast<int64_t>(total / SECONDS_PER_DAY);
    uint32_t secondOfDay = static_cast<uint32_t>(total % SECONDS_PER_DAY);

    int64_t year = FIRST_YEAR;
    while (year <= LAST_YEAR && days >= (IsLeapYear(year) ? 366 : 365)) {
        days -= IsLeapYear(year) ? 366 : 365;
        ++year;
    }
    int month = 1;
    if (year > LAST_YEAR) {                  // past the record: stop at its end
        year = LAST_YEAR;
        month = 12;
        days = 30;
        secondOfDay = SECONDS_PER_DAY - 1;
    } else {
        while (days >= DaysInMonth(year, month)) {
            days -= DaysInMonth(year, month);
            ++month;
        }
    }
    record.year = static_cast<uint8_t>(year - FIRST_YEAR);
    record.month = static_cast<uint8_t>(month);
    record.day = static_cast<uint8_t>(days + 1);
    record.hour = static_cast<uint8_t>(secondOfDay / 3600);
    record.minute = static_cast<uint8_t>(secondOfDay / 60 % 60);
    record.second = static_cast<uint8_t>(secondOfDay % 60);
    return record;
}

namespace gam2arena {

ArenaState* SetArenaState(ArenaState* state)
{
    ArenaState* const previous = gArenaState;
    gArenaState = state;
    return previous;
}

ArenaState* GetArenaState()
{
    return gArenaState;
}

uint32_t GetGameTime()
{
    return gArenaState != nullptr ? gArenaState->GetGameTime().Get() : 0;
}

uint16_t GetTimeCompression()
{
    return gArenaState != nullptr ? gArenaState->GetTimeCompression() : 0;
}

bool GetGameDateTime(GameClockRecord& record)
{
    if (gArenaState == nullptr)
        return false;
    record = gArenaState->GetClockRecord();
    return true;
}

bool GetGameDateTimeAt(uint32_t seconds, GameClockRecord& record)
{
    if (gArenaState == nullptr)
        return false;
    record = gArenaState->GetClockRecordAt(GameTime(seconds));
    return true;
}

uint16_t Random(uint16_t n)
{
    return gArenaState != nullptr ? gArenaState->Generator().MPRandom(n) : 0;
}

void PostEvent(Event* event)
{
    if (gArenaState != nullptr && event != nullptr)
        gArenaState->Queue().Add(event);
}

void RemoveUnitEvents(uint16_t unitID, uint8_t typeCode)
{
    if (gArenaState != nullptr)
        gArenaState->Queue().RemoveEventsOf(unitID, typeCode);
}

void RemoveUnitEvents(uint16_t unitID, const uint8_t* typeCodes, int count)
{
    if (gArenaState != nullptr)
        gArenaState->Queue().RemoveEventsOf(unitID, typeCodes, count);
}

Event* FindEvent(Event* after, uint8_t typeCode)
{
    if (gArenaState == nullptr)
        return nullptr;
    return gArenaState->Queue().FindNextOfType(after, typeCode);
}

Event* FindUnitEvent(uint16_t unitID, Event* after, uint8_t typeCode)
{
    if (gArenaState == nullptr)
        return nullptr;
    Event* event = after;
    do {
        event = gArenaState->Queue().FindNextOfType(event, typeCode);
    } while (event != nullptr && event->GetSubject() != unitID);
    return event;
}

namespace {
UnitLookup gUnitLookup = nullptr;
} // namespace

Unit* FindUnit(uint16_t unitID)
{
    return gUnitLookup != nullptr ? gUnitLookup(unitID) : nullptr;
}

UnitLookup SetUnitLookup(UnitLookup lookup)
{
    const UnitLookup previous = gUnitLookup;
    gUnitLookup = lookup;
    return previous;
}

namespace {
SideListCalls gSideListCalls;
}  // namespace

SideContacts* FindSide(uint16_t key)
{
    return gSideListCalls.findSide != nullptr ? gSideListCalls.findSide(key) : nullptr;
}

SideContacts* GetCurrentSide()
{
    return gSideListCalls.getCurrentSide != nullptr ? gSideListCalls.getCurrentSide() : nullptr;
}

void SetCurrentSide(SideContacts* record)
{
    if (gSideListCalls.setCurrentSide != nullptr)
        gSideListCalls.setCurrentSide(record);
}

SideContactsList* GetSideList()
{
    return gSideListCalls.getSideList != nullptr ? gSideListCalls.getSideList() : nullptr;
}

SideListCalls SetSideListCalls(const SideListCalls& calls)
{
    const SideListCalls previous = gSideListCalls;
    gSideListCalls = calls;
    return previous;
}

} // namespace gam2arena
