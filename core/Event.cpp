// Event.cpp: the base behaviour of Event and the names of the event type
// codes.
#include "core/Event.h"

namespace {

// Class names by type code, 0x00..EventCode::LAST; nullptr where a code names
// no class.
constexpr const char* CLASS_NAMES[EventCode::LAST + 1] = {
    nullptr,                      // 0x00: no event
    "RequestPathEvent",           // 0x01
    "ContactUpdateEvent",         // 0x02
    "SetTimeCompressionEvent",    // 0x03
    "PathReturnEvent",            // 0x04
    "MergeUnitEntriesEvent",      // 0x05
    "NewUnitEvent",               // 0x06
    "ProcessUnitPathEvent",       // 0x07
    "SetSensorsEvent",            // 0x08
    "WeaponTargetEvent",          // 0x09
    "MultiActionEvent",           // 0x0a
    nullptr,                      // 0x0b
    "AttackEvent",                // 0x0c
    "AttackExecutionEvent",       // 0x0d
    "UnitReadyEvent",             // 0x0e
    "LaunchAircraftEvent",        // 0x0f
    "LandEvent",                  // 0x10
    "LandOrRefuelEvent",          // 0x11
    "ReloadEvent",                // 0x12
    "TankerEvent",                // 0x13
    "EmitterSelectionEvent",      // 0x14
    "ReplenishEvent",             // 0x15
    "TowedArrayEvent",            // 0x16
    // 0x17..0x3b: no class (37 codes)
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr,
    "StationUpdateEvent",         // 0x3c
    "SetSpeedEvent",              // 0x3d
    "SetAltitudeEvent",           // 0x3e
    "StationMoveEvent",           // 0x3f
    "StationSetEvent",            // 0x40
    nullptr,                      // 0x41
    "GroupMemberCheckEvent",      // 0x42
    "DeleteUnitEvent",            // 0x43
    "UpdateSideMissionsEvent",    // 0x44
    "DropSonobuoyEvent",          // 0x45
    "AlarmEvent",                 // 0x46
    "MissionUnitEvent",           // 0x47
    "GunFireEvent",               // 0x48
    "TimesUpEvent",               // 0x49
    "VictoryCheckEvent",          // 0x4a
    "WeatherEvent",               // 0x4b
    "WeaponStepEvent",            // 0x4c
    "ClearPathEvent",             // 0x4d
    "GroupReviewEvent",           // 0x4e
    "SetCommunicationsEvent",     // 0x4f
    "RemoveEmptyEntryEvent",      // 0x50
    "SetCurrentEntryEvent",       // 0x51
    "GameMessageEvent",           // 0x52
    "ShareContactsEvent",         // 0x53
    "MissionEvent",               // 0x54
    "ContactAreaEvent",           // 0x55
    "MissionSensorsEvent",        // 0x56
};

static_assert(sizeof(CLASS_NAMES) / sizeof(CLASS_NAMES[0]) == 0x57);

} // namespace

const char* EventClassName(uint8_t code)
{
    if (code > EventCode::LAST)
        return nullptr;
    return CLASS_NAMES[code];
}

bool Event::Describe(char* text, uint16_t size) const
{
    if (text != nullptr && size > 0)
        text[0] = '\0';
    return false;
}

// Saved form of the base part: the due time, u32 game seconds.
void Event::SaveBase(std::ostream& out) const
{
    dueTime.Save(out);
}

bool Event::LoadBase(std::istream& in)
{
    return static_cast<bool>(dueTime.Load(in));
}
