// ContactMerge.cpp: Contact::Merge, which folds a fresh detection into the
// contact a side holds on the same unit, and Contact::IntersectArea, which
// narrows the held area of uncertainty to its overlap with the fresh one by
// walking round both outlines.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/ContactCalls.h"
#include "engagement/SideContacts.h"
#include "units/SideRecords.h"
#include "units/Unit.h"
#include "world/UncertainPoly.h"

namespace {

// Two detections this close in time (seconds) narrow each other's area.
constexpr uint32_t SAME_LOOK_SECONDS = 15;
// A course change of this many degrees is reported.
constexpr int32_t COURSE_CHANGE_DEGREES = 15;
// Sensor bits of the latest detection that refresh the condition bits.
constexpr uint32_t CONDITION_SENSOR_BITS = 4 | 8;
// The condition bit that survives a fresh look; a mask that clears even it.
constexpr uint32_t CONDITION_KEPT = 8;
constexpr uint32_t MASK_CLEARS_CONDITION = 0x60;
constexpr uint8_t RELATION_HOSTILE = 1;

// Whether the unit the contact is on is a decoy.
bool IsDecoy(uint16_t unitID)
{
    const Unit* const unit = gam2arena::FindUnit(unitID);
    return unit != nullptr && unit->GetTypeLetter() == 'W' && unit->GetWeaponKind() == Contact::DECOY_WEAPON_KIND;
}

// Every side owning a unit of the observer's picture turns hostile toward
// the contact's side.
void TurnObserversHostile(uint16_t observerID, uint8_t towardSide)
{
    const Unit* const observer = gam2arena::FindUnit(observerID);
    if (observer == nullptr)
        return;
    const SideContacts* const record = gam2arena::FindSide(observer->sideEntryID);
    if (record == nullptr)
        return;
    for (const IDNode* id = record->ownUnits.First(); id != nullptr; id = id->GetNext()) {
        const Unit* const own = gam2arena::FindUnit(id->GetKey());
        if (own != nullptr && gam2arena::SideExists(own->GetSideID()))
            SideRelations::SetRelation(own->GetSideID(), towardSide, RELATION_HOSTILE);
    }
}

// One outline of the walk: its vertices (the closing point left out), which
// lie inside the other outline, and at which point of the result each was met.
struct WalkOutline {
    const Uncertain_Poly* poly = nullptr;
    int16_t count = 0;                 // distinct vertices
    std::vector<uint8_t> inside;       // count + 1 marks, the last repeats the first
    std::vector<int32_t> visit;        // index in the result, -1 before

    LatLonPoint Vertex(int16_t i) const { return poly->GetLatLonPoint(i); }
    int16_t After(int16_t i) const { return static_cast<int16_t>(i + 1 >= count ? 0 : i + 1); }
};

// Marks each vertex of `outline` that the segment from `seenFrom` reaches
// without crossing `other` (or crossing it exactly at the vertex).
void MarkInside(WalkOutline& outline, const Uncertain_Poly& other, const LatLonPoint& seenFrom)
{
    outline.count = static_cast<int16_t>(outline.poly->GetPointCount() - 1);
    outline.inside.assign(static_cast<size_t>(outline.count) + 1, 0);
    outline.visit.assign(static_cast<size_t>(outline.count) + 1, -1);
    for (int16_t i = 0; i < outline.count; ++i) {
        const LatLonPoint vertex = outline.Vertex(i);
        LatLonPoint a = seenFrom;
        LatLonPoint b = vertex;
        int16_t edge = -1;
        const LatLonPoint crossing = other.Nearest_Crossing(a, b, edge);
        outline.inside[i] = crossing.IsNone() || crossing == vertex;
    }
    outline.inside[outline.count] = outline.inside[0];
}

int16_t FirstInside(const WalkOutline& outline)
{
    for (int16_t i = 0; i < outline.count; ++i) {
        if (outline.inside[i])
            return i;
    }
    return -1;
}

// The walk round the overlap; answers the points of the overlap's ring and
// which outline it stood on when it stopped.
struct WalkResult {
    std::vector<LatLonPoint> ring;
    bool endedOnFresh = false;
};

WalkResult WalkOverlap(WalkOutline& held, WalkOutline& fresh)
{
    WalkOutline* current = &held;
    WalkOutline* other = &fresh;
    int16_t index = 0;
    if (const int16_t f = FirstInside(fresh); f >= 0) {
        current = &fresh;
        other = &held;
        index = f;
    } else if (const int16_t h = FirstInside(held); h >= 0) {
        index = h;
    }
    LatLonPoint point = current->Vertex(index);
    bool crossing = false;
    bool pointInside = current->inside[index] != 0;
    int16_t next = current->After(index);
    const LatLonPoint start = point;
    int endCounter = 0;
    size_t ringFirst = 0;
    std::vector<LatLonPoint> points;
    points.reserve(10);

    // Each step visits one vertex or crossing; a sound pair of outlines ends
    // within a few rounds of both, so a damaged pair cannot hold the walk.
    const int32_t stepLimit = 4 * (int32_t{held.count} + fresh.count) + 16;
    int32_t steps = 0;
    while (true) {
        if (pointInside) {
            points.push_back(point);
            if (points.size() > 1 && point == points.front()) {
                endCounter = 3;
            } else if (!crossing) {
                int32_t& seen = current->visit[index];
                if (seen == -1) {
                    seen = static_cast<int32_t>(points.size() - 1);
                } else {
                    endCounter = 3;
                    ringFirst = static_cast<size_t>(seen);
                }
            }
        }
        // The move.
        bool toVertex = true;
        if (!(pointInside && current->inside[next])) {
            LatLonPoint a = point;
            LatLonPoint b = current->Vertex(next);
            int16_t edge = -1;
            const LatLonPoint found = other->poly->Nearest_Crossing(a, b, edge);
            if (!found.IsNone() && edge >= 0) {
                toVertex = false;
                point = found;
                crossing = true;
                pointInside = true;
                if (!current->inside[next] && other->inside[edge + 1]) {
                    std::swap(current, other);
                    index = edge;
                    next = current->After(edge);
                }
            }
        }
        if (toVertex) {
            index = next;
            point = current->Vertex(index);
            crossing = false;
            pointInside = current->inside[index] != 0;
            next = current->After(index);
        }
        if (point == start || endCounter != 0)
            ++endCounter;
        if (endCounter >= 3)
            break;
        if (++steps > stepLimit) {
            points.clear();
            break;
        }
    }
    WalkResult result;
    result.endedOnFresh = current == &fresh;
    if (ringFirst < points.size())
        result.ring.assign(points.begin() + static_cast<std::ptrdiff_t>(ringFirst), points.end());
    return result;
}

}  // namespace

void Contact::Merge(Contact& fresh)
{
    const bool decoy = IsDecoy(GetKey());
    const bool heldIdentified = identifiedAs != 0;
    const bool freshIdentified = fresh.identifiedAs != 0;
    const uint32_t heldTime = lastDetection.Get();
    const uint32_t freshTime = fresh.lastDetection.Get();
    const bool newer = freshTime > heldTime;
    const bool sameTime = freshTime == heldTime;

    signalValue = fresh.signalValue;
    if (!heldIdentified)
        sizeClass = fresh.sizeClass;
    detectionKind = fresh.detectionKind;

    if (newer)
        targetMask = fresh.targetMask;
    else if (decoy && (heldIdentified || freshIdentified))
        targetMask = 0;
    else
        targetMask |= fresh.targetMask;

    if (sideId == 0 && fresh.sideId != 0) {
        changeBits |= ContactChange::SIDE_KNOWN;
        if (hostileAct)
            TurnObserversHostile(fresh.observerId, fresh.sideId);
    }
    if (identifiedAs == 0 && fresh.identifiedAs != 0) {
        identifiedAs = fresh.identifiedAs;
        name = fresh.name;
        changeBits |= ContactChange::IDENTIFIED;
    }
    if (fresh.sideId != 0)
        sideId = fresh.sideId;

    if (fresh.knownBits & ContactKnown::SPEED) {
        speed = fresh.speed;
        speedEstimate = fresh.speed;
    }
    // The difference as the 16-bit course fields give it, with no wrap at
    // 360: a turn from 350 through north to 5 counts as 345 degrees.
    if ((knownBits & fresh.knownBits & ContactKnown::COURSE) != 0) {
        const int16_t turned = static_cast<int16_t>(course - fresh.course);
        if (std::abs(int32_t{turned}) >= COURSE_CHANGE_DEGREES)
            changeBits |= ContactChange::COURSE;
    }
    if (fresh.knownBits & ContactKnown::COURSE) {
        course = fresh.course;
        courseEstimate = fresh.course;
    }
    if (fresh.detectionKind == 4) {
        if (fresh.courseEstimate != 0)
            courseEstimate = fresh.courseEstimate;
        if (fresh.speedEstimate != 0)
            speedEstimate = fresh.speedEstimate;
    }

    if (newer)
        sensorBitsLatest = fresh.sensorBitsLatest;
    else if (sameTime)
        sensorBitsLatest |= fresh.sensorBitsLatest;
    sensorBitsEver |= fresh.sensorBitsEver;
    sensorBitsEver2 |= fresh.sensorBitsEver2;

    // Position and area. A facility seen without an area stays where it was
    // first placed. Two looks within 15 seconds narrow the area; an older
    // detection (a picture joined over a data link) never moves the contact
    // back to where it was.
    if (!(area == nullptr && typeLetter == 'F')) {
        const uint32_t later = freshTime - heldTime;   // unsigned: huge when fresh is older
        if (fresh.area != nullptr && later <= SAME_LOOK_SECONDS) {
            if (area != nullptr)
                IntersectArea(fresh);
        } else if (!(freshTime < heldTime)) {
            MoveTo(fresh.PositionObject::GetPosition());
            SetAltitude(fresh.PositionObject::GetAltitude());
            SetArea(fresh.area);
            fresh.area = nullptr;
            fresh.knownBits &= static_cast<uint16_t>(~ContactKnown::AREA);
        }
    }

    if (!(decoy && heldIdentified))
        bandWord = fresh.bandWord;
    // The area bit follows the area held, not the detection's.
    knownBits = static_cast<uint16_t>((knownBits | (fresh.knownBits & ~ContactKnown::AREA)) & ~ContactKnown::AREA);
    if (area != nullptr)
        knownBits |= ContactKnown::AREA;

    if (newer)
        sensorsLatest.DeleteAll();
    for (const IDNode* id = fresh.sensorsEver.First(); id != nullptr; id = id->GetNext()) {
        if (sensorsEver.Find(id->GetKey()) == nullptr)
            sensorsEver.Insert(new IDNode(id->GetKey()));
        if (sensorsLatest.Find(id->GetKey()) == nullptr)
            sensorsLatest.Insert(new IDNode(id->GetKey()));
    }
    observerId = fresh.observerId;

    if (fresh.sensorBitsLatest & CONDITION_SENSOR_BITS) {
        conditionBits = fresh.targetMask == MASK_CLEARS_CONDITION ? 0 : (conditionBits & CONDITION_KEPT);
        conditionBits |= fresh.conditionBits;
    }
    if (fresh.holdUntil.Get() != 0) {
        if (holdUntil.Get() == 0 || fresh.holdUntil.Get() < holdUntil.Get())
            holdUntil = fresh.holdUntil;
    }
    if (decoy && sideId == 0)
        hostileAct = 1;
    else
        hostileAct = (hostileAct != 0 || fresh.hostileAct != 0) ? 1 : 0;
    stickyFlags |= fresh.stickyFlags;
    if (freshTime > heldTime)
        lastDetection = fresh.lastDetection;
    CenterOnArea();
    for (int i = 0; i < 6; ++i) {
        if (fresh.threat[i] > threat[i])
            threat[i] = fresh.threat[i];
    }

    changeBits &= static_cast<uint16_t>(~(ContactChange::AREA_APPEARED | ContactChange::AREA_VANISHED));
    if (hadArea == 0 && area != nullptr)
        changeBits |= ContactChange::AREA_APPEARED;
    else if (hadArea != 0 && area == nullptr)
        changeBits |= ContactChange::AREA_VANISHED;
    SetBandFlag(bandFlag);

    detectionHistory |= 1;
    if (fresh.knownBits & (ContactKnown::SPEED | ContactKnown::COURSE))
        trackHistory |= 1;
}

void Contact::IntersectArea(Contact& fresh)
{
    if (area == nullptr)
        return;
    if (fresh.area == nullptr || fresh.area->GetPointCount() < 2 || area->GetPointCount() < 2) {
        if (fresh.area == nullptr) {
            DropArea();
            MoveTo(fresh.PositionObject::GetPosition());
        }
        return;
    }
    WalkOutline held;
    held.poly = area;
    WalkOutline seen;
    seen.poly = fresh.area;
    MarkInside(held, *fresh.area, fresh.PositionObject::GetPosition());
    MarkInside(seen, *area, PositionObject::GetPosition());

    WalkResult walk = WalkOverlap(held, seen);
    if (walk.ring.size() <= 3 || walk.ring.size() > 0x7FFE) {
        // No overlap to speak of: keep the outline the walk was not on.
        if (walk.endedOnFresh)
            CenterOnArea();
        else
            CopyArea(fresh.area);
        CenterOnArea();
        return;
    }
    SetArea(new Uncertain_Poly(walk.ring.data(), static_cast<int16_t>(walk.ring.size())));
}
