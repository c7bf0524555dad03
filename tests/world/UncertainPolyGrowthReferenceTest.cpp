// Tests that an area of uncertainty grows exactly as the first, plainer
// implementation of its growth did. That is kept here, frozen, as
// `reference::Area`: every source point moved along its flat-plane vector
// from the centre, the ring rebuilt and reprojected, the centre recomputed.
// Circles, sectors and arbitrary rings from fixed seeds, on and off the map,
// near the poles and the date line, are grown step by step with small, large,
// zero and negative distances, and after each step every source point,
// polygon point, projected point, both bounds, the centre, the colour and the
// frozen flag must match.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "core/LatLonRect.h"
#include "core/NavMath.h"
#include "core/Projection.h"
#include "core/Units.h"
#include "core/XYPoint.h"
#include "core/XYRect.h"
#include "support/ReportCapture.h"
#include "world/Map.h"
#include "world/MapTestSupport.h"
#include "world/Nav2Game.h"
#include "world/UncertainPoly.h"

using maptest::At;
using maptest::Deg;

namespace {

// The unoptimised builds (the sanitizers' among them) grow a sixteenth of the
// random areas.
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
constexpr int SAMPLE_DIVISOR = 1;
#else
constexpr int SAMPLE_DIVISOR = 16;
#endif

// ======================================================================
// The reference growth, as it stood before the speed work. Do not change
// it: it is what the live code must answer. The navigation functions it
// calls are themselves held to their frozen copies in NavMathReferenceTest.
// ======================================================================
namespace reference {

bool IsOutOfCoordinateRange(const LatLonPoint& p)
{
    return p.lat < -ANGLE_RIGHT || p.lat > ANGLE_RIGHT || p.lon < -ANGLE_HALF || p.lon > ANGLE_HALF;
}

int32_t SaturateDistance(int64_t distance)
{
    if (distance > INT32_MAX)
        return INT32_MAX;
    if (distance < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(distance);
}

struct Area {
    std::vector<LatLonPoint> sources;
    std::vector<LatLonPoint> points;
    std::vector<XYPoint> xyPoints;
    LatLonRect bounds;
    XYRect xyBounds;
    LatLonPoint centre;
    int16_t colour = 0;
    bool outOfRange = false;

    void StorePoints()
    {
        const size_t n = sources.size();
        points.resize(n);
        xyPoints.resize(n);
        int32_t north = INT32_MIN, south = INT32_MAX, west = INT32_MAX, east = INT32_MIN;
        int32_t left = INT32_MAX, right = INT32_MIN, top = INT32_MIN, bottom = INT32_MAX;
        for (size_t i = 0; i < n; ++i) {
            const LatLonPoint p = LatLon_Poly::Unwrap_Lon(sources[i], sources[0]);
            const XYPoint xy = Nav2Game::LatLonToXY(sources[i]);
            points[i] = p;
            xyPoints[i] = xy;
            north = p.lat > north ? p.lat : north;
            south = p.lat < south ? p.lat : south;
            east = p.lon > east ? p.lon : east;
            west = p.lon < west ? p.lon : west;
            right = xy.x > right ? xy.x : right;
            left = xy.x < left ? xy.x : left;
            top = xy.y > top ? xy.y : top;
            bottom = xy.y < bottom ? xy.y : bottom;
        }
        bounds = LatLonRect(north, west, south, east);
        xyBounds = XYRect(left, top, right, bottom);
    }

    void CheckCoordinateRange()
    {
        for (const LatLonPoint& p : points)
            if (IsOutOfCoordinateRange(p)) {
                outOfRange = true;
                return;
            }
    }

    void Compute_Center()
    {
        const int16_t count = static_cast<int16_t>(points.size());
        if (count <= 0)
            return;
        int64_t latSum = 0;
        int64_t lonSum = 0;
        std::vector<int16_t> inside;
        for (int16_t i = 0; i < count; ++i) {
            latSum += points[i].lat;
            lonSum += points[i].lon;
            if (Nav2Game::IsInMap(points[i])) {
                inside.push_back(i);
                continue;
            }
            if (!outOfRange)
                CheckCoordinateRange();
            if (outOfRange)
                return;
        }
        if (inside.empty()) {
            outOfRange = true;
            return;
        }
        int32_t weight = count;
        LatLonPoint mean(static_cast<int32_t>(latSum / weight), static_cast<int32_t>(lonSum / weight));
        while (!Nav2Game::IsInMap(mean) && weight < 32000) {
            weight += static_cast<int32_t>(inside.size());
            for (int16_t i : inside) {
                latSum += points[i].lat;
                lonSum += points[i].lon;
            }
            mean = LatLonPoint(static_cast<int32_t>(latSum / weight), static_cast<int32_t>(lonSum / weight));
        }
        centre = mean;
    }

    void Grow(int32_t distance)
    {
        if (!outOfRange)
            CheckCoordinateRange();
        if (outOfRange || sources.empty())
            return;
        const size_t count = sources.size();
        for (size_t i = 0; i + 1 < count; ++i) {
            const NavVector v = NavMath::Vector_Flat(centre, sources[i]);
            sources[i] = NavMath::Offset_Flat(centre, SaturateDistance(int64_t{v.range} + distance), v.bearing);
        }
        sources[count - 1] = sources[0];
        StorePoints();
        Compute_Center();
        if (colour < 46)
            ++colour;
    }
};

}  // namespace reference

// The live area with its stored polygon points in view.
class Exposed : public Uncertain_Poly {
public:
    using Uncertain_Poly::Uncertain_Poly;
    LatLonPoint RawPoint(int16_t i) const { return points[i]; }
};

// The reference's copy of a live area as it stands.
reference::Area CopyOf(const Exposed& live)
{
    reference::Area area;
    for (int16_t i = 0; i < live.GetPointCount(); ++i)
        area.sources.push_back(live.GetSourcePoint(i));
    area.StorePoints();
    area.centre = live.Get_Center();
    area.colour = live.GetColour();
    area.outOfRange = live.IsOutOfRange();
    return area;
}

// Counts mismatches and describes the first few.
class Differences {
public:
    void Compare(const Exposed& live, const reference::Area& ref, const char* what, int step)
    {
        ++compared;
        bool same = live.GetPointCount() == static_cast<int16_t>(ref.sources.size()) &&
                    live.Get_Center() == ref.centre && live.GetColour() == ref.colour &&
                    live.IsOutOfRange() == ref.outOfRange;
        if (same && !ref.sources.empty())
            same = live.GetBounds() == ref.bounds && live.GetXYBounds() == ref.xyBounds;
        for (int16_t i = 0; same && i < live.GetPointCount(); ++i)
            same = live.GetSourcePoint(i) == ref.sources[i] && live.RawPoint(i) == ref.points[i] &&
                   live.GetXYPoint(i) == ref.xyPoints[i];
        if (same)
            return;
        if (++failures <= 5)
            ADD_FAILURE() << what << " differs after step " << step << " (" << ref.sources.size()
                          << " points, centre " << ref.centre.lat << ", " << ref.centre.lon << ")";
    }
    void Expect() const
    {
        EXPECT_EQ(failures, 0u) << "of " << compared;
        EXPECT_GT(compared, 0u);
    }

private:
    size_t compared = 0;
    size_t failures = 0;
};

// Fixed-seed draws of positions, distances and shapes.
class Draws {
public:
    explicit Draws(uint32_t seed) : engine(seed) {}
    int32_t Between(int64_t low, int64_t high)
    {
        return static_cast<int32_t>(std::uniform_int_distribution<int64_t>(low, high)(engine));
    }
    double Real(double low, double high) { return std::uniform_real_distribution<double>(low, high)(engine); }
    LatLonPoint Around(double lat, double lon, double spread)
    {
        return At(lat + Real(-spread, spread), lon + Real(-spread, spread));
    }
    // A growth distance: mostly a few hundred units (a slow ship over a few
    // seconds), sometimes none, large, negative or at the 32-bit ends.
    int32_t Distance()
    {
        switch (Between(0, 15)) {
        case 0: return 0;
        case 1: return Between(-20 * RANGE_PER_NM, -1);
        case 2: return Between(50 * RANGE_PER_NM, 3000 * RANGE_PER_NM);
        case 3: return Between(0, 1) != 0 ? INT32_MAX : INT32_MIN;
        default: return Between(1, 3 * RANGE_PER_NM);
        }
    }

private:
    std::mt19937 engine;
};

// A Miller map over 10N-12N, 20E-22E installed as gMap, as the areas' centres
// are drawn into it.
class UncertainPolyGrowthReference : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(seaMap.Install()); }

    // Grows `live` and its reference copy `steps` times, comparing each step.
    void GrowBoth(Exposed& live, Draws& draws, int steps, const char* what)
    {
        reference::Area ref = CopyOf(live);
        differences.Compare(live, ref, what, 0);
        for (int step = 1; step <= steps; ++step) {
            const int32_t distance = draws.Distance();
            live.Grow(distance);
            ref.Grow(distance);
            differences.Compare(live, ref, what, step);
        }
    }

    maptest::InstalledSeaMap seaMap;
    ReportCapture capture;   // out-of-range coordinates may be reported
    Differences differences;
};

TEST_F(UncertainPolyGrowthReference, CirclesOnAndAroundTheMap)
{
    Draws draws(31);
    for (int i = 0; i < 24000 / SAMPLE_DIVISOR; ++i) {
        // Mostly on the map, some across its edges and some well off it.
        const double spread = i % 4 == 3 ? 4.0 : 1.2;
        const LatLonPoint centre = draws.Around(11, 21, spread);
        Exposed area(centre, draws.Between(1, 40 * RANGE_PER_NM));
        GrowBoth(area, draws, 10, "circle");
    }
    differences.Expect();
}

TEST_F(UncertainPolyGrowthReference, SectorsAndRings)
{
    Draws draws(32);
    for (int i = 0; i < 16000 / SAMPLE_DIVISOR; ++i) {
        const LatLonPoint origin = draws.Around(11, 21, 1.5);
        const LatLonPoint target = draws.Around(11, 21, 1.5);
        const int32_t halfWidth = draws.Between(-ANGLE_PER_DEGREE, 60 * ANGLE_PER_DEGREE);
        const int32_t rangeError = draws.Between(-RANGE_PER_NM, 20 * RANGE_PER_NM);
        const int32_t maxRange = draws.Between(RANGE_PER_NM, 300 * RANGE_PER_NM);
        Exposed sector(origin, target, halfWidth, rangeError, draws.Between(0, 3 * RANGE_PER_NM), maxRange);
        GrowBoth(sector, draws, 8, "sector");

        // Rings of 1 to 12 points, closed or not, sometimes with repeated points.
        std::vector<LatLonPoint> ring;
        const int n = draws.Between(1, 12);
        const double spread = draws.Between(0, 3) == 0 ? 0.001 : 0.6;
        for (int k = 0; k < n; ++k)
            ring.push_back(draws.Between(0, 9) == 0 && !ring.empty() ? ring.back() : draws.Around(11, 21, spread));
        if (draws.Between(0, 1) != 0)
            ring.push_back(ring.front());
        Exposed area(ring.data(), static_cast<int16_t>(ring.size()));
        GrowBoth(area, draws, 8, "ring");
    }
    differences.Expect();
}

TEST_F(UncertainPolyGrowthReference, AreasAtTheEdgesOfTheWorld)
{
    // Each grows until it freezes; the rings reach out to the poles, over the
    // date line and across the whole world from a centre on the map.
    Draws draws(33);
    for (int i = 0; i < 8000 / SAMPLE_DIVISOR; ++i) {
        const double poleLat = draws.Between(0, 1) != 0 ? 89.95 : -89.95;
        Exposed nearPole(At(poleLat, draws.Real(-180, 180)), draws.Between(1, 60 * RANGE_PER_NM));
        GrowBoth(nearPole, draws, 3, "circle near a pole");
        Exposed overDateLine(At(draws.Real(-60, 60), draws.Between(0, 1) != 0 ? 179.99 : -179.99),
                             draws.Between(1, 60 * RANGE_PER_NM));
        GrowBoth(overDateLine, draws, 3, "circle over the date line");

        std::vector<LatLonPoint> ring;
        const int n = draws.Between(3, 10);
        for (int k = 0; k < n; ++k) {
            const bool anywhere = draws.Between(0, 2) == 0;
            ring.push_back(anywhere ? At(draws.Real(-90, 90), draws.Real(-180, 180)) : draws.Around(11, 21, 0.8));
        }
        ring.push_back(ring.front());
        Exposed wide(ring.data(), static_cast<int16_t>(ring.size()));
        GrowBoth(wide, draws, 6, "ring across the world");
    }
    // The bounds themselves, and a single point.
    const LatLonPoint corners[] = {LatLonPoint(ANGLE_RIGHT, ANGLE_HALF), LatLonPoint(-ANGLE_RIGHT, -ANGLE_HALF),
                                   At(11, 21), LatLonPoint(ANGLE_RIGHT, ANGLE_HALF)};
    Exposed atBounds(corners, 4);
    GrowBoth(atBounds, draws, 4, "ring at the bounds");
    const LatLonPoint one[] = {At(11, 21)};
    Exposed single(one, 1);
    GrowBoth(single, draws, 4, "single point");
    differences.Expect();
}

}  // namespace
