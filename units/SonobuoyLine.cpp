// SonobuoyLine.cpp: a sonobuoy line's buoys, ends, vector and listening
// area, the distance its listening measures, and its record.
#include "units/SonobuoyLine.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "core/AllocationCheck.h"
#include "core/NavMath.h"
#include "core/Sine.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/UnitFactory.h"
#include "units/Weapon.h"

namespace {

SonobuoyLine::DetectCall gDetect = nullptr;

// The angle between two bearings, 0 to 180 degrees. The vectors' bearings
// are ground bearings, so their plain difference is the angle on the ground.
int32_t AngleBetween(int32_t a, int32_t b)
{
    int64_t angle = (int64_t{a} - b) % ANGLE_FULL;
    if (angle < 0)
        angle += ANGLE_FULL;
    if (angle > ANGLE_HALF)
        angle = ANGLE_FULL - angle;
    return static_cast<int32_t>(angle);
}

// value x sin(angle), angle within a right angle (Q23 table).
int32_t TimesSine(int32_t value, int32_t angle)
{
    return static_cast<int32_t>((int64_t{value} * Sine::SineInQuadrant(angle)) >> 23);
}

int32_t Clamped(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, -ANGLE_HALF / 2, ANGLE_HALF / 2));
}

void SavePoint(std::ostream& out, const LatLonPoint& p)
{
    SaveField(out, p.lat);
    SaveField(out, p.lon);
}

void LoadPoint(std::istream& in, LatLonPoint& p)
{
    LoadField(in, p.lat);
    LoadField(in, p.lon);
}

Unit* MakeSonobuoyLine()
{
    return new SonobuoyLine;
}

}  // namespace

SonobuoyLine::DetectCall SonobuoyLine::SetLineDetection(DetectCall call)
{
    const DetectCall previous = gDetect;
    gDetect = call;
    return previous;
}

uint16_t SonobuoyLine::GetListeningBuoyID() const
{
    const IDNode* const first = buoys.First();
    return first != nullptr ? first->GetKey() : 0;
}

void SonobuoyLine::Move(uint8_t)
{
    if (const Unit* const buoy = gam2arena::FindUnit(GetListeningBuoyID()))
        SetWeather(buoy->GetWeather());
}

bool SonobuoyLine::DetectUnit(Unit& target)
{
    if (lineActive == 0 || buoys.First() == nullptr || gDetect == nullptr)
        return false;
    return gDetect(*this, target);
}

int32_t SonobuoyLine::DistanceTo(const LatLonPoint& point, NavVector& vector) const
{
    const int32_t angle = AngleBetween(static_cast<int32_t>(lineBearing), vector.bearing);
    if (angle >= ANGLE_RIGHT)
        return vector.range;
    const int32_t along = TimesSine(vector.range, ANGLE_RIGHT - angle);
    if (along > static_cast<int64_t>(lineLength)) {
        vector = NavMath::Get_Vector(endPoint, point);
        return vector.range;
    }
    return TimesSine(vector.range, angle);
}

void SonobuoyLine::UpdateGeometry(const Unit* joining)
{
    const NavVector vector = NavMath::Get_Vector(startPoint, endPoint);
    lineBearing = static_cast<uint32_t>(vector.bearing);
    lineLength = static_cast<uint32_t>(vector.range);
    // The area: the two ends widened by the farthest the listening buoy's
    // sensors hear, as an angle of latitude (one minute per nautical mile);
    // longitude is widened by the same angle over the cosine of the
    // latitude nearer a pole. A buoy joining may not be in the unit list
    // yet: when it is the one that listens, its own sensors count.
    int32_t reach = 0;
    const uint16_t listenerID = GetListeningBuoyID();
    const Unit* listener = gam2arena::FindUnit(listenerID);
    if (listener == nullptr && joining != nullptr && joining->GetID() == listenerID)
        listener = joining;
    if (listener != nullptr) {
        for (const Sensor* sensor = listener->sensors.First(); sensor != nullptr; sensor = sensor->GetNext())
            reach = std::max<int32_t>(reach, sensor->maxRange);
    }
    const int32_t margin = reach * ANGLE_PER_MINUTE;
    const int32_t north = Clamped(int64_t{std::max(startPoint.lat, endPoint.lat)} + margin);
    const int32_t south = Clamped(int64_t{std::min(startPoint.lat, endPoint.lat)} - margin);
    const int32_t polar = std::max(north < 0 ? -north : north, south < 0 ? -south : south);
    const int32_t cosine = std::max(Sine::SineInQuadrant(ANGLE_RIGHT - std::min(polar, ANGLE_RIGHT)), 1 << 16);
    const int64_t lonMargin = (int64_t{margin} << 23) / cosine;
    area.north = north;
    area.south = south;
    area.west = static_cast<int32_t>(
        std::max<int64_t>(int64_t{std::min(startPoint.lon, endPoint.lon)} - lonMargin, -int64_t{ANGLE_HALF}));
    area.east = static_cast<int32_t>(
        std::min<int64_t>(int64_t{std::max(startPoint.lon, endPoint.lon)} + lonMargin, int64_t{ANGLE_HALF}));
}

bool SonobuoyLine::AddBuoy(Weapon& buoy)
{
    auto* const node = new IDNode(buoy.GetID());
    AllocationCheck(node);
    buoy.guideID = GetID();
    if (buoys.First() == nullptr) {
        SetSideID(buoy.GetSideID());
        startPoint = buoy.GetPosition();
        endPoint = startPoint;
    } else {
        endPoint = buoy.GetPosition();
    }
    buoys.Insert(node);
    buoy.ClearFlags(BUOY_JOIN_CLEARS);
    lineActive = 1;
    SetFlags(LISTENING);
    UpdateGeometry(&buoy);
    return true;
}

void SonobuoyLine::EndLine()
{
    lineActive = 0;
    ClearFlags(LISTENING);
    ScheduleDeletion(0);
}

bool SonobuoyLine::RemoveBuoy(Unit& buoy)
{
    IDNode* const node = buoys.Find(buoy.GetID());
    if (node == nullptr)
        return false;
    const bool wasFirst = node == buoys.First();
    const bool wasLast = node == buoys.Last();
    buoys.Remove(node);
    delete node;
    if (buoys.First() == nullptr) {
        EndLine();
        return true;
    }
    if (!wasFirst && !wasLast)
        return true;
    // The end that lost its buoy moves to the nearest buoy still in play.
    auto endBuoy = [this](bool first) { return first ? buoys.First() : buoys.Last(); };
    while (IDNode* const end = endBuoy(wasFirst)) {
        if (const Unit* const unit = gam2arena::FindUnit(end->GetKey())) {
            (wasFirst ? startPoint : endPoint) = unit->GetPosition();
            UpdateGeometry();
            return true;
        }
        buoys.Remove(end);
        delete end;
    }
    EndLine();
    return true;
}

void SonobuoyLine::SaveFields(std::ostream& out) const
{
    SaveField(out, static_cast<uint8_t>(TYPE_LETTER));
    SaveField(out, area.north);
    SaveField(out, area.west);
    SaveField(out, area.south);
    SaveField(out, area.east);
    buoys.Save(out);
    SavePoint(out, startPoint);
    SavePoint(out, endPoint);
    SaveField(out, lineBearing);
    SaveField(out, lineLength);
    SaveUnitRecord(out);
}

bool SonobuoyLine::LoadFields(std::istream& in)
{
    lineActive = 0;
    LoadField(in, area.north);
    LoadField(in, area.west);
    LoadField(in, area.south);
    LoadField(in, area.east);
    if (!in || !buoys.Load(in))
        return false;
    LoadPoint(in, startPoint);
    LoadPoint(in, endPoint);
    LoadField(in, lineBearing);
    LoadField(in, lineLength);
    if (!in || !LoadUnitRecord(in))
        return false;
    lineActive = buoys.First() != nullptr ? 1 : 0;
    return true;
}

void RegisterSonobuoyLineClass()
{
    UnitFactory::Register(SonobuoyLine::TYPE_LETTER, &MakeSonobuoyLine);
}
