// SonobuoyDetection.cpp: a sonobuoy line listening for a unit. The unit's
// distance from the line sets the loss its first buoy's sensors hear
// through; what they hear, or what the options word tells the player's side
// outright, goes to the line's side record as a contact-update event.
#include "engagement/SonobuoyDetection.h"

#include "core/AllocationCheck.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "core/Geometry.h"
#include "engagement/Contact.h"
#include "engagement/ContactCalls.h"
#include "engagement/Decibel.h"
#include "engagement/UnitDetection.h"
#include "units/SonobuoyLine.h"
#include "units/UnitDetectionCalls.h"
#include "units/UnitEvents.h"

namespace {

// Subtracted from the range loss to give the level the sensors hear.
constexpr int32_t SIGNAL_OFFSET = 34;
// The aspect the line's sensors take a target at, and the sensor kinds
// whose ids a full contact lists.
constexpr int LINE_ASPECT = 1;
constexpr uint32_t EMITTER_KINDS = 0xFFF;
constexpr uint32_t EMITTER_TYPE_FLAG = 0x10;
// Status flag and letters of a unit the line never reports.
constexpr uint32_t IGNORED_FLAG = 0x2000;
// Known bits of a full contact: speed, course and the target's side.
constexpr uint16_t FULL_KNOWN_BITS = 0x13;
// The range band of a heard contact without a precise buoy: 5 nautical miles.
constexpr uint16_t HEARD_FARTHEST_NM = 5;
constexpr uint16_t HEARD_SOURCE = 2;
// Condition bits: damaged, on fire, badly damaged, destroyed.
constexpr uint32_t CONDITION_DAMAGED = 0x1;
constexpr uint32_t CONDITION_ON_FIRE = 0x2;
constexpr uint32_t CONDITION_BADLY_DAMAGED = 0x4;
constexpr uint32_t CONDITION_DESTROYED = 0x8;

uint32_t ConditionOf(const Unit& target)
{
    const int32_t damage = target.GetDamagePercent();
    if (damage == 100)
        return CONDITION_DESTROYED;
    uint32_t bits = target.TestFlags(UnitFlag::ON_FIRE) ? CONDITION_ON_FIRE : 0;
    if (damage > 50)
        bits |= CONDITION_BADLY_DAMAGED;
    else if (damage != 0)
        bits |= CONDITION_DAMAGED;
    return bits;
}

// The options word's contact: exact, with the target's motion and
// condition, and the sensors it has of the emitter kinds.
Contact* KnownContact(const Unit& target)
{
    auto* const contact = new Contact(target, 0);
    AllocationCheck(contact);
    contact->SetSource(0, 1, 0, 0);
    contact->SetDetectionValue(0, 1);
    contact->speed = target.speed;
    contact->course = static_cast<uint16_t>(target.GetCourse() / ANGLE_PER_DEGREE);
    contact->knownBits = FULL_KNOWN_BITS;
    contact->sizeClass = static_cast<uint8_t>(target.GetAltitudeBand());
    target.CollectSensorsFor(contact->sensorsEver, EMITTER_KINDS, 0);
    if (contact->sensorsEver.First() != nullptr)
        contact->targetMask |= EMITTER_TYPE_FLAG;
    return contact;
}

// The listening buoy's sensors at the target; the first contact heard with
// the later ones folded in, or null.
Contact* Listen(SonobuoyLine& line, Unit& buoy, Unit& target)
{
    const LatLonPoint position = target.GetPosition();
    NavVector vector = NavMath::Get_Vector(line.GetStartPoint(), position);
    const int32_t distance = line.DistanceTo(position, vector);
    const int32_t level =
        static_cast<int32_t>(Log10Times100(static_cast<uint32_t>(distance < 0 ? 0 : distance))) - SIGNAL_OFFSET;
    Contact* found = nullptr;
    for (Sensor* sensor = buoy.sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        // Line of sight does not apply under water: the first flag is set.
        UnitDetection::Absorb(found, sensor->Detect(buoy, target, vector, LINE_ASPECT, level, true, true, false));
    }
    return found;
}

bool LineDetect(SonobuoyLine& line, Unit& target)
{
    const uint16_t options = DetectionOptions::For(line);
    const bool linkedPair = target.GetSideID() == line.GetSideID() && line.datalinks.First() != nullptr
                            && target.datalinks.First() != nullptr;
    bool known = false;
    bool linked = false;
    const char letter = target.GetTypeLetter();
    bool ignored = target.TestFlags(IGNORED_FLAG) && (letter == 'F' || letter == 'B');
    if ((options & DetectionOptions::KNOW_EVERY_UNIT) != 0) {
        known = true;
        linked = linkedPair;
    } else if ((options & DetectionOptions::LINKED_SEE_EACH_OTHER) != 0 && linkedPair) {
        known = true;
        linked = true;
    }
    if (!known && !ignored && !Geometry::Point_In_LatLonRect(line.GetArea(), target.GetPosition()))
        ignored = true;

    Contact* contact = nullptr;
    bool exact = false;
    bool heard = false;
    if (known && !linked) {
        contact = KnownContact(target);
        contact->conditionBits = ConditionOf(target);
        exact = true;
    } else if (!known && !ignored) {
        Unit* const buoy = gam2arena::FindUnit(line.GetListeningBuoyID());
        if (buoy == nullptr)
            return false;
        contact = Listen(line, *buoy, target);
        heard = contact != nullptr;
        exact = buoy->sensorReach8 != 0;
        if (contact != nullptr)
            contact->conditionBits = 0;
    }
    if (contact == nullptr)
        return false;

    UnitDetection::RevealByOptions(*contact, target, options);
    contact->observerId = line.GetID();
    if (exact) {
        contact->SetSource(0, 1, 0, 0);
        contact->SetDetectionValue(0, 1);
    } else {
        contact->SetSource(HEARD_SOURCE, 0, 0, HEARD_FARTHEST_NM);
        contact->SetDetectionValue(0, 0);
    }
    contact->SetDetectionPoint(static_cast<const PositionObject&>(*contact).GetPosition());
    PostOrDrop(MakeContactUpdateEvent(contact, line.sideEntryID));
    return heard;
}

}  // namespace

void InstallSonobuoyDetection()
{
    SonobuoyLine::SetLineDetection(&LineDetect);
}

void UninstallSonobuoyDetection()
{
    SonobuoyLine::SetLineDetection(nullptr);
}
