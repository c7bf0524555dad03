// UnitDetection.cpp: a unit's look at another unit (DetectUnit), the
// unit-pair step (UpdatePairDetection), the full contacts a side gets without
// detection (base report, the options word), the jamming entries of active
// ECM, and the cheap range bound that lets the pair step pass over the
// sensors of far pairs. The data link itself is UnitDataLink.cpp.
#include "engagement/UnitDetection.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "annex/SignatureRecord.h"
#include "core/AllocationCheck.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/ContactCalls.h"
#include "engagement/Decibel.h"
#include "engagement/DetectingSensor.h"
#include "engagement/SideContacts.h"
#include "engagement/SonobuoyDetection.h"
#include "engagement/SonarConditions.h"
#include "units/Unit.h"
#include "units/UnitDetectionCalls.h"
#include "units/UnitEvents.h"

namespace {

// A facility with this flag is not a base the sides learn at once.
constexpr uint32_t FACILITY_NOT_BASE = 0x4;
// A base held as a contact is reported again once the contact is older.
constexpr uint32_t BASE_REVEAL_SECONDS = 14;
// Subtracted from the range loss to give the signal figure.
constexpr int32_t SIGNAL_OFFSET = 34;
// Known bits of a contact made without detection: speed, course, altitude.
constexpr uint16_t FULL_KNOWN_BITS = ContactKnown::SPEED | ContactKnown::COURSE | ContactKnown::ALTITUDE;
// Emitter kinds listed in such a contact, and the type flag that marks them.
constexpr uint32_t EMITTER_KINDS = 0xFFF;
constexpr uint32_t EMITTER_TYPE_FLAG = 0x10;
// Condition bits of a contact: damaged, on fire, badly damaged, destroyed.
constexpr uint32_t CONDITION_DAMAGED = 0x1;
constexpr uint32_t CONDITION_ON_FIRE = 0x2;
constexpr uint32_t CONDITION_BADLY_DAMAGED = 0x4;
constexpr uint32_t CONDITION_DESTROYED = 0x8;
// A unit at or above this altitude (tens of metres) is airborne.
constexpr int16_t AIRBORNE_ALTITUDE = 3;
// Jamming directions are kept in tenths of a degree.
constexpr int32_t ANGLE_PER_TENTH = ANGLE_PER_DEGREE / 10;   // 24576
constexpr int16_t HALF_TURN_TENTHS = 1800;
// Side relation that counts as friendly.
constexpr uint8_t RELATION_FRIENDLY = 2;

bool gShortcut = true;

// ---- the range bound of the pair step ----

// A unit's position as a point on the unit sphere, kept by unit id and
// worked out again whenever the unit has moved since.
struct SpherePoint {
    int32_t lat = NO_COORDINATE;
    int32_t lon = NO_COORDINATE;
    double x = 0, y = 0, z = 0;
};

std::vector<SpherePoint>& SpherePoints()
{
    static std::vector<SpherePoint> points(0x10000);
    return points;
}

const SpherePoint& SpherePointOf(const Unit& unit)
{
    SpherePoint& point = SpherePoints()[unit.GetID()];
    const LatLonPoint position = unit.GetPosition();
    if (point.lat != position.lat || point.lon != position.lon) {
        constexpr double RADIANS_PER_ANGLE = 3.14159265358979323846 / ANGLE_HALF;
        const double lat = position.lat * RADIANS_PER_ANGLE;
        const double lon = position.lon * RADIANS_PER_ANGLE;
        point.lat = position.lat;
        point.lon = position.lon;
        point.x = std::cos(lat) * std::cos(lon);
        point.y = std::cos(lat) * std::sin(lon);
        point.z = std::sin(lat);
    }
    return point;
}

// Whether the range the pair step would work out between the two units is
// sure to exceed `reach` nautical miles. The straight chord between the two
// points never exceeds the arc; the worked-out range runs on integer
// trigonometry, so the bound gives it a margin of 1/64 and 8 nautical miles
// before it answers true.
bool SurelyBeyond(const Unit& a, const Unit& b, int32_t reach)
{
    constexpr double EARTH_RADIUS_NM = 10800.0 / 3.14159265358979323846;
    const SpherePoint& p = SpherePointOf(a);
    const SpherePoint& q = SpherePointOf(b);
    const double dx = p.x - q.x;
    const double dy = p.y - q.y;
    const double dz = p.z - q.z;
    const double limit = (reach + 9.0) / (EARTH_RADIUS_NM * (1.0 - 1.0 / 64));
    return dx * dx + dy * dy + dz * dz > limit * limit;
}

// ---- small rules shared by both operations ----

bool HasDatalinks(const Unit& unit)
{
    return unit.datalinks.First() != nullptr;
}

bool IsRevealedBase(const Unit& unit)
{
    if (!unit.TestFlags(UnitFlag::BASE))
        return false;
    const char letter = unit.GetTypeLetter();
    return (letter == 'F' && (unit.GetFacilityFlags() & FACILITY_NOT_BASE) == 0) || letter == 'B';
}

// Whether a held contact shows a friendly unit: its side is the observer's
// or one friendly to it. A side not yet known is not friendly.
bool ContactIsFriendly(const Contact& contact, uint16_t side)
{
    return contact.sideId != 0 && UnitDetection::AreFriendly(side, contact.sideId);
}

Contact* HeldContact(const Unit& observer, const Unit& target)
{
    SideContacts* const record = UnitDetection::RecordOf(observer);
    return record != nullptr ? record->GetContact(target.GetID()) : nullptr;
}

// The target's aspect seen along `bearing` (observer to target): the angle
// between its course and the bearing back to the observer, folded to 0 to
// 180 degrees; 0 front below 45 degrees, 1 side up to 135 degrees, 2 rear.
int AspectOf(int32_t targetCourse, int32_t bearing)
{
    int64_t angle = (int64_t{targetCourse} - bearing - ANGLE_HALF) % ANGLE_FULL;
    if (angle < 0)
        angle += ANGLE_FULL;
    if (angle > ANGLE_HALF)
        angle = ANGLE_FULL - angle;
    if (angle < ANGLE_EIGHTH)
        return 0;
    return angle <= 3 * int64_t{ANGLE_EIGHTH} ? 1 : 2;
}

NavVector Turned(const NavVector& vector)
{
    int32_t bearing = vector.bearing + ANGLE_HALF;
    if (bearing >= ANGLE_FULL)
        bearing -= ANGLE_FULL;
    return NavVector(vector.range, bearing);
}

int32_t SignalOf(int32_t range)
{
    return static_cast<int32_t>(Log10Times100(static_cast<uint32_t>(std::max(range, 0)))) - SIGNAL_OFFSET;
}

// The sight and within-horizon flags of the sensors between a and b,
// worked out from a: a link step that ran with sight 0 passes its values on;
// otherwise the horizons decide, then the map's line of sight, and the
// terrain for a submerged or airborne unit.
void WorkOutSight(Unit& a, Unit& b, int32_t rangeNm, bool linkRan, uint8_t linkSight, uint8_t linkWithin,
                  uint8_t& sight, uint8_t& within)
{
    if (linkRan && linkSight == 0) {
        sight = 0;
        within = linkWithin;
        return;
    }
    within = int32_t{a.GetHorizon()} + b.GetHorizon() >= rangeNm ? 1 : 0;
    sight = within;
    const bool airborne = a.GetAltitude() >= AIRBORNE_ALTITUDE || b.GetAltitude() >= AIRBORNE_ALTITUDE;
    const bool submerged = a.GetAltitude() < 0 || b.GetAltitude() < 0;
    if (within == 0) {
        if (submerged && !airborne)
            sight = a.HasTerrainLineOfSight(b);
        return;
    }
    sight = a.GetTypeLetter() == 'F' || b.GetTypeLetter() == 'F' ? a.LineOfSightToFacility(b) : a.LineOfSightTo(b);
    if (sight != 0 && submerged)
        sight = a.HasTerrainLineOfSight(b);
    if (sight == 0 && airborne)
        sight = a.HasTerrainLineOfSight(b);
}

// Every sensor of the observer whose sectors hold the target's bearing, then
// the shared lookout as the observer's; the first detection with the later
// ones merged into it, or null. `vector` runs from observer to target.
Contact* RunSensors(Unit& observer, Unit& target, const NavVector& vector, uint8_t sight, uint8_t within)
{
    const uint16_t sector = UnitDetection::SectorBit(vector.bearing, observer.GetCourse());
    const int aspect = AspectOf(target.GetCourse(), vector.bearing);
    const int32_t signal = SignalOf(vector.range);
    Contact* found = nullptr;
    for (Sensor* sensor = observer.sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        if ((sensor->targetClasses & sector) != 0)
            UnitDetection::Absorb(found, sensor->Detect(observer, target, vector, aspect, signal, sight != 0, within != 0, false));
    }
    if (gDefaultSensor != nullptr && (gDefaultSensor->targetClasses & sector) != 0) {
        gDefaultSensor->SetOwner(&observer);
        UnitDetection::Absorb(found, gDefaultSensor->Detect(observer, target, vector, aspect, signal, sight != 0, within != 0, false));
    }
    return found;
}

// Condition bits from a damage percent and the fire flag.
void SetCondition(Contact& contact, const Unit& target, int32_t damagePercent)
{
    uint32_t bits = contact.conditionBits;
    if (target.TestFlags(UnitFlag::ON_FIRE))
        bits |= CONDITION_ON_FIRE;
    if (damagePercent > 0)
        bits = (bits | CONDITION_DAMAGED) & ~CONDITION_BADLY_DAMAGED;
    if (damagePercent > 50)
        bits = (bits | CONDITION_BADLY_DAMAGED) & ~CONDITION_DAMAGED;
    if (damagePercent == 100)
        bits = CONDITION_DESTROYED;
    contact.conditionBits = bits;
}

// The active emitters of `emitter` listed in the contact, with its type flag.
// They go into the list of sensors the side's merge carries over into the
// contact it holds.
void ListEmitters(Contact& contact, const Unit& emitter)
{
    emitter.CollectSensorsFor(contact.sensorsEver, EMITTER_KINDS, 0);
    contact.targetMask |= EMITTER_TYPE_FLAG;
}

// A contact of the target as the side would know it without detection:
// exact, with its motion and condition.
Contact* NewFullContact(const Unit& target, int32_t damagePercent)
{
    auto* const contact = new Contact(target, 0);
    AllocationCheck(contact);
    contact->SetSource(0, 1, 0, 0);
    contact->SetDetectionValue(0, 1);
    contact->speed = target.speed;
    contact->course = WholeDegrees(target.GetCourse());
    contact->knownBits |= FULL_KNOWN_BITS;
    SetCondition(*contact, target, damagePercent);
    return contact;
}

// Hands the observer's detection of the target to the observer's side
// record as a contact-update event, with what the options word reveals.
void PostDetection(Contact* contact, Unit& observer, const Unit& target, uint16_t options)
{
    UnitDetection::RevealByOptions(*contact, target, options);
    contact->observerId = observer.GetID();
    contact->SetDetectionPoint(observer.GetPosition());
    PostOrDrop(MakeContactUpdateEvent(contact, observer.sideEntryID));
}

// Deletes the observer's jamming entry of the jammer; then, when given, puts
// `entry` in its place.
void ReplaceJammingEntry(Unit& observer, uint16_t jammerID, SignatureRecord* entry)
{
    SignatureList& entries = observer.JammingEntries();
    if (entries.First() != nullptr) {
        if (SignatureRecord* const old = entries.Find(jammerID)) {
            entries.Remove(old);
            delete old;
        }
    }
    if (entry != nullptr)
        entries.Insert(entry);
}

// ---- the installed operations ----

bool DetectUnitOf(Unit& self, Unit& other)
{
    // 1. What the side record knows.
    const uint16_t options = DetectionOptions::For(self);
    Contact* const held = HeldContact(self, other);
    const bool own = held == nullptr && self.sideEntryID == other.sideEntryID;
    const bool friendly = own || (held != nullptr && ContactIsFriendly(*held, self.GetSideID()));
    bool answer = held != nullptr;

    // 2. Bases are learnt at once.
    bool baseCase = false;
    if (!own && IsRevealedBase(other)) {
        if (held == nullptr || gam2arena::GetGameTime() > held->lastDetection.Get() + BASE_REVEAL_SECONDS)
            self.ReportToBase(other);
        baseCase = true;
    }

    // 3. The options word.
    const bool linkedPair = self.GetSideID() == other.GetSideID() && HasDatalinks(self) && HasDatalinks(other);
    bool optionsCase = false;
    bool optionsMakeNoContact = false;
    if ((options & DetectionOptions::KNOW_EVERY_UNIT) == 0) {
        if ((options & DetectionOptions::LINKED_SEE_EACH_OTHER) != 0 && linkedPair) {
            optionsCase = true;
            optionsMakeNoContact = true;
            if (!own)
                self.UpdateDataLink(other, 1, 1, 1, options);
        }
    } else {
        optionsCase = true;
        optionsMakeNoContact = linkedPair;
    }

    // 4. Jamming and the data link.
    NavVector vector;
    int32_t rangeNm = 0;
    bool linkRan = false;
    uint8_t linkSight = 0;
    uint8_t linkWithin = 0;
    if (!optionsCase) {
        vector = NavMath::Get_Vector(self.GetPosition(), other.GetPosition());
        rangeNm = vector.range / RANGE_PER_NM;
        SignatureRecord* const entry =
            self.TestFlags(UnitFlag::KEEPS_JAMMING) && !own ? other.BuildJammingEntry(Turned(vector)) : nullptr;
        ReplaceJammingEntry(self, other.GetID(), entry);
        if (friendly || (self.TestFlags(UnitFlag::DATA_LINK)
                         && UnitDetection::AreFriendly(self.GetSideID(), other.GetSideID()))) {
            const bool inLinkRange = rangeNm <= self.GetLinkReach1() && rangeNm <= other.GetLinkReach1();
            const bool bothLink = self.TestFlags(UnitFlag::LINKS_RECORDS) && other.TestFlags(UnitFlag::LINKS_RECORDS);
            if ((bothLink && self.sideEntryID != other.sideEntryID && inLinkRange)
                || (self.attachedID != 0 && other.GetID() == self.attachedID)) {
                linkWithin = int32_t{self.GetHorizon()} + other.GetHorizon() >= rangeNm ? 1 : 0;
                linkSight = linkWithin != 0 ? self.HasTerrainLineOfSight(other) : 0;
                self.UpdateDataLink(other, rangeNm, linkSight, linkWithin, options);
                linkRan = true;
                if (self.sideEntryID == other.sideEntryID)
                    baseCase = true;
            }
        }
    }

    // 5. A known unit: a full contact only by the options word. Such a
    // contact is no detection: the answer stays what the record held.
    Contact* found = nullptr;
    bool detected = false;
    if (own || optionsCase || baseCase) {
        if (optionsCase && !optionsMakeNoContact) {
            found = NewFullContact(other, other.GetSeenDamagePercent());
            if (other.HasActiveEmitter())
                ListEmitters(*found, other);
        }
    } else if (self.GetDetectionReach(other) >= rangeNm) {
        // 6 to 8. The sensors, within the detection reach.
        uint8_t sight = 0;
        uint8_t within = 0;
        WorkOutSight(self, other, rangeNm, linkRan, linkSight, linkWithin, sight, within);
        found = RunSensors(self, other, vector, sight, within);
        detected = found != nullptr;
    }

    // 9, 10.
    if (found != nullptr)
        PostDetection(found, self, other, options);
    return answer || detected;
}

// Step 3 of the pair for one direction: the observer's side learns a base
// at once, unless it saw it this very second. Answers whether the observed
// unit is such a base.
bool RevealBase(Unit& observer, Unit& observed)
{
    if (!IsRevealedBase(observed))
        return false;
    const Contact* const held = HeldContact(observer, observed);
    if (held == nullptr || held->lastDetection.Get() < gam2arena::GetGameTime())
        observer.ReportToBase(observed);
    return true;
}

void UpdatePairDetectionOf(Unit& a, Unit& b)
{
    // 1.
    const bool sameSide = a.GetSideID() == b.GetSideID();
    const uint16_t intelA = DetectionOptions::For(a);
    const uint16_t intelB = DetectionOptions::For(b);

    // 3. Bases, each way.
    const bool baseA = RevealBase(a, b);   // a observing b
    const bool baseB = RevealBase(b, a);

    // 4. Known without detection.
    bool knownA = (intelA & DetectionOptions::KNOW_EVERY_UNIT) != 0;
    bool knownB = (intelB & DetectionOptions::KNOW_EVERY_UNIT) != 0;
    bool shared = false;
    if ((intelA & DetectionOptions::LINKED_SEE_EACH_OTHER) != 0 && sameSide && HasDatalinks(a)
        && HasDatalinks(b)) {
        knownA = knownB = shared = true;
        if (a.sideEntryID != b.sideEntryID)
            a.UpdateDataLink(b, 1, 1, 1, intelA);
    }

    Contact* contactA = nullptr;   // a's contact on b
    Contact* contactB = nullptr;
    if (!(knownA && knownB)) {
        // 5. The vector from b to a, worked out when something needs it.
        NavVector fromB;
        bool haveVector = false;
        int32_t rangeNm = 0;
        const auto needVector = [&]() {
            if (!haveVector) {
                fromB = NavMath::Get_Vector(b.GetPosition(), a.GetPosition());
                rangeNm = fromB.range / RANGE_PER_NM;
                haveVector = true;
            }
        };
        const bool jamA = a.TestFlags(UnitFlag::KEEPS_JAMMING) && b.IsJamming();
        const bool jamB = b.TestFlags(UnitFlag::KEEPS_JAMMING) && a.IsJamming();
        if (jamA || jamB)
            needVector();
        ReplaceJammingEntry(a, b.GetID(), jamA ? b.BuildJammingEntry(fromB) : nullptr);
        ReplaceJammingEntry(b, a.GetID(), jamB ? a.BuildJammingEntry(Turned(fromB)) : nullptr);

        // 6. The data link.
        bool handled = false;
        bool linkRan = false;
        uint8_t linkSight = 0;
        uint8_t linkWithin = 0;
        if (a.TestFlags(UnitFlag::LINKS_RECORDS) && b.TestFlags(UnitFlag::LINKS_RECORDS)) {
            const Contact* const heldA = HeldContact(a, b);
            const Contact* const heldB = HeldContact(b, a);
            const bool knownFriendly = (heldA != nullptr && ContactIsFriendly(*heldA, a.GetSideID()))
                                       || (heldB != nullptr && ContactIsFriendly(*heldB, b.GetSideID()));
            bool linkStep = knownFriendly;
            if (!linkStep && UnitDetection::AreFriendly(a.GetSideID(), b.GetSideID())
                && a.TestFlags(UnitFlag::DATA_LINK)) {
                needVector();
                linkStep = rangeNm <= a.GetLinkReach1() && rangeNm <= b.GetLinkReach1();
            }
            if (linkStep) {
                needVector();
                linkWithin = int32_t{a.GetHorizon()} + b.GetHorizon() >= rangeNm ? 1 : 0;
                linkSight = linkWithin != 0 ? a.HasTerrainLineOfSight(b) : 0;
                a.UpdateDataLink(b, rangeNm, linkSight, linkWithin, intelA);
                linkRan = true;
                if (a.sideEntryID == b.sideEntryID)
                    handled = shared = true;
            }
        }

        // 7. The sensors, each way within its detection reach.
        bool runA = !handled && !baseA && !knownA;
        bool runB = !handled && !baseB && !knownB;
        const int32_t reachA = runA ? a.GetDetectionReach(b) : -1;
        const int32_t reachB = runB ? b.GetDetectionReach(a) : -1;
        if ((runA || runB) && !haveVector && gShortcut && SurelyBeyond(a, b, std::max(reachA, reachB)))
            runA = runB = false;
        if (runA || runB) {
            needVector();
            runA = runA && reachA >= rangeNm;
            runB = runB && reachB >= rangeNm;
        }
        if (runA || runB) {
            uint8_t sight = 0;
            uint8_t within = 0;
            WorkOutSight(a, b, rangeNm, linkRan, linkSight, linkWithin, sight, within);
            if (runA)
                contactA = RunSensors(a, b, Turned(fromB), sight, within);
            if (runB)
                contactB = RunSensors(b, a, fromB, sight, within);
        }
    }

    // 8. Known without detection.
    if (!shared) {
        if ((intelA & DetectionOptions::KNOW_EVERY_UNIT) != 0 && contactA == nullptr) {
            contactA = NewFullContact(b, b.GetDamagePercent());
            if (a.GetBandReach(EMITTER_KINDS) > 0)
                ListEmitters(*contactA, a);
        }
        if ((intelB & DetectionOptions::KNOW_EVERY_UNIT) != 0 && contactB == nullptr) {
            contactB = NewFullContact(a, a.GetDamagePercent());
            if (b.GetBandReach(EMITTER_KINDS) > 0)
                ListEmitters(*contactB, b);
        }
    }

    // 9.
    if (contactA != nullptr)
        PostDetection(contactA, a, b, intelA);
    if (contactB != nullptr)
        PostDetection(contactB, b, a, intelB);
}

void ReportToBaseOf(Unit& self, Unit& other)
{
    SideContacts* const record = UnitDetection::RecordOf(self);
    if (record == nullptr)
        return;
    auto* contact = new Contact(other, 0);
    AllocationCheck(contact);
    contact->sideId = static_cast<uint8_t>(other.GetSideID());
    contact->identifiedAs = other.GetAnnexID();
    contact->sizeClass = other.GetSizeClass();
    contact->name = other.GetName();
    contact->knownBits |= FULL_KNOWN_BITS;
    SetCondition(*contact, other, other.GetDamagePercent());
    if (self.GetBandReach(EMITTER_KINDS) > 0)
        ListEmitters(*contact, self);
    record->MergeContact(&contact);
}

SignatureRecord* BuildJammingEntryOf(const Unit& self, const NavVector& vector)
{
    if (!self.IsJamming())
        return nullptr;
    const uint16_t sector = UnitDetection::SectorBit(vector.bearing, self.GetCourse());
    const int32_t loss = 2 * static_cast<int32_t>(Log10Times100(static_cast<uint32_t>(std::max(vector.range, 0))));
    SignatureRecord* entry = nullptr;
    for (const Sensor* sensor = self.sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        if (sensor->GetSensorType() != Sensor::TYPE_ECM || sensor->GetState() != Sensor::STATE_ACTIVE
            || (sensor->targetClasses & sector) == 0)
            continue;
        if (entry == nullptr) {
            entry = new SignatureRecord(self.GetID());
            AllocationCheck(entry);
        }
        const int32_t level = std::clamp<int32_t>(sensor->jamMargin - loss, -32768, 32767);
        entry->SetBandLevel(sensor->searchBands, static_cast<int16_t>(level));
    }
    if (entry != nullptr) {
        int32_t bearing = vector.bearing % ANGLE_FULL;
        if (bearing < 0)
            bearing += ANGLE_FULL;
        const int16_t tenths = static_cast<int16_t>(bearing / ANGLE_PER_TENTH);
        entry->SetDirection(tenths >= HALF_TURN_TENTHS ? static_cast<int16_t>(tenths - HALF_TURN_TENTHS)
                                                       : static_cast<int16_t>(tenths + HALF_TURN_TENTHS));
    }
    return entry;
}

uint16_t RingSpacing()
{
    return SonarConditions::GetHalfInterval();
}

}  // namespace

namespace UnitDetection {

uint16_t SectorBit(int32_t bearing, int32_t course)
{
    int64_t relative = (int64_t{bearing} - course) % ANGLE_FULL;
    if (relative < 0)
        relative += ANGLE_FULL;
    const int octant = static_cast<int>(relative / ANGLE_EIGHTH);
    return static_cast<uint16_t>(1u << (octant < 4 ? octant : 11 - octant));
}

SideContacts* RecordOf(const Unit& unit)
{
    return unit.sideEntryID != 0 ? gam2arena::FindSide(unit.sideEntryID) : nullptr;
}

bool AreFriendly(uint16_t side, uint16_t other)
{
    return side == other || SideRelations::GetRelation(side, static_cast<uint8_t>(other)) == RELATION_FRIENDLY;
}

}  // namespace UnitDetection

void UnitDetection::RevealByOptions(Contact& contact, const Unit& target, uint16_t options)
{
    if ((options & DetectionOptions::TRUE_SIDE) != 0)
        contact.sideId = static_cast<uint8_t>(target.GetSideID());
    if ((options & DetectionOptions::TRUE_IDENTITY) != 0) {
        contact.name = target.GetName();
        contact.identifiedAs = target.GetAnnexID();
        contact.sizeClass = target.GetSizeClass();
    }
}

void UnitDetection::Absorb(Contact*& found, Contact* detection)
{
    if (detection == nullptr)
        return;
    if (found == nullptr) {
        found = detection;
        return;
    }
    found->Merge(*detection);
    found->MergeDetectionValue(*detection);
    delete detection;
}

void InstallUnitDetection()
{
    UnitDetectionCalls calls;
    calls.detectUnit = &DetectUnitOf;
    calls.updatePairDetection = &UpdatePairDetectionOf;
    calls.updateDataLink = &UnitDetection::UpdateDataLink;
    calls.reportToBase = &ReportToBaseOf;
    calls.buildJammingEntry = &BuildJammingEntryOf;
    calls.leaveDataLink = &UnitDetection::LeaveDataLink;
    calls.noteHostileAct = &UnitDetection::NoteHostileAct;
    calls.getSonarRingSpacing = &RingSpacing;
    SetUnitDetectionCalls(calls);
    InstallSonobuoyDetection();
}

void UninstallUnitDetection()
{
    SetUnitDetectionCalls(UnitDetectionCalls{});
    UninstallSonobuoyDetection();
}

bool SetPairReachShortcut(bool on)
{
    const bool previous = gShortcut;
    gShortcut = on;
    return previous;
}
