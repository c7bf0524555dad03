// PositionObject.cpp: position, projection, altitude band and the step
// toward a target of every placed object.
#include "units/PositionObject.h"

#include <cstring>
#include <istream>
#include <ostream>

#include "core/NavMath.h"
#include "core/ResourceLoader.h"
#include "core/StreamFields.h"
#include "world/Nav2Game.h"

namespace {

// Upper altitude bound (tens of metres) of each band but the last.
constexpr int16_t BAND_TOPS[PositionObject::BAND_COUNT - 1] = {
    -37, -19, -10, -4, -2, 0, 3, 60, 350, 2000, 5000,
};

// The band names, each copied out of its resource text on first use. A copy
// rather than the loader's block: the block may be purged or the loader
// replaced, while the names stay for the run.
struct BandNameCache {
    char names[PositionObject::BAND_COUNT][PositionObject::BAND_NAME_SIZE] = {};
    bool loaded[PositionObject::BAND_COUNT] = {};
};

BandNameCache& BandNames()
{
    static BandNameCache cache;
    return cache;
}

}  // namespace

PositionObject::PositionObject()
{
    // Plain calls: during construction they reach this class's own versions.
    xyStale = 0;
    SetPosition(LatLonPoint(0, 0));
    SetAltitude(0);
    UpdateXY();
}

void PositionObject::SetPosition(const LatLonPoint& point)
{
    position = point;
    xyStale = 1;
}

void PositionObject::SetXY(const XYPoint& point)
{
    xy = point;
}

void PositionObject::SetAltitude(int16_t newAltitude)
{
    altitude = newAltitude;
    altitudeBand = AltitudeBand(newAltitude);
}

uint16_t PositionObject::AltitudeBand(int16_t value)
{
    uint16_t band = 0;
    while (band < BAND_COUNT - 1 && value > BAND_TOPS[band])
        ++band;
    return band;
}

bool PositionObject::MoveToward(const LatLonPoint& target, uint16_t speed, uint8_t seconds)
{
    // At most 255 s * 65535 kn * 4096 / 3600, about 19 million range units.
    const int32_t step = static_cast<int32_t>(int64_t{seconds} * speed * RANGE_PER_NM / 3600);
    if (step == 0)
        return false;
    const NavVector leg = NavMath::Get_Vector_Planar(position, target);
    xyStale = 1;
    if (leg.range <= step) {
        // The planar range runs one unit long and the stepped point carries
        // rounding: put the object on the target itself.
        position = target;
        return leg.range < step;
    }
    position = NavMath::Get_LatLonPoint_From_Vector(position, step, leg.bearing);
    return false;
}

void PositionObject::GetAltitudeBandName(char* out) const
{
    if (out == nullptr)
        return;
    BandNameCache& cache = BandNames();
    const uint16_t band = altitudeBand < BAND_COUNT ? altitudeBand : BAND_COUNT - 1;
    if (!cache.loaded[band] && TheResourceLoader != nullptr) {
        const int32_t number = BAND_NAME_TEXT + band;
        if (const char* text = TheResourceLoader->Get(number)) {
            std::strncpy(cache.names[band], text, BAND_NAME_SIZE - 1);
            cache.names[band][BAND_NAME_SIZE - 1] = '\0';
            cache.loaded[band] = true;
            TheResourceLoader->Free(number);
        }
    }
    std::memcpy(out, cache.names[band], BAND_NAME_SIZE);
}

void PositionObject::UpdateXY()
{
    xy = Nav2Game::LatLonToXY(position);
    xyStale = 0;
}

void PositionObject::GetXY(XYPoint& out, bool refresh)
{
    if (refresh && xyStale != 0)
        UpdateXY();
    out = xy;
}

void PositionObject::Save(std::ostream& out) const
{
    position.Save(out);
    xy.Save(out);
    SaveField(out, altitude);
    SaveField(out, xyStale);
}

bool PositionObject::Load(std::istream& in)
{
    LatLonPoint readPosition;
    XYPoint readXY;
    int16_t readAltitude = 0;
    uint8_t readStale = 0;
    if (!readPosition.Load(in) || !readXY.Load(in) || !LoadField(in, readAltitude)
        || !LoadField(in, readStale))
        return false;
    position = readPosition;
    xy = readXY;
    xyStale = readStale;
    SetAltitude(readAltitude);   // the band follows the altitude read
    return true;
}
