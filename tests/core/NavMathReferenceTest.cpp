// Tests that the navigation maths and the fixed-point trigonometry beneath it
// answer exactly as their first, plainer implementations did. Those are kept
// here, frozen, in namespace `reference`: the fixed-point multiply and divide,
// the sine and tangent tables with their bucket-indexed searches, and every
// NavMath function. Each live function is compared with its reference over a
// dense sweep (every table cell and its neighbours, and whole ranges of Q23
// values) and millions of random inputs from fixed seeds; reports must match
// too, but for the line number they name.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/Geometry.h"
#include "core/LatLonRect.h"
#include "core/LongMath.h"
#include "core/NavMath.h"
#include "core/Sine.h"
#include "core/Tangent.h"
#include "core/TrigSeries.h"
#include "core/Units.h"
#include "support/ReportCapture.h"

namespace {

// The unoptimised builds (the sanitizers' among them) run a sixteenth of the
// random inputs and of the exhaustive value ranges; the table sweeps stay whole.
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
constexpr int SWEEP_DIVISOR = 1;
#else
constexpr int SWEEP_DIVISOR = 16;
#endif

// ======================================================================
// The reference implementations, as they stood before the speed work.
// Do not change them: they are what the live code must answer.
// ======================================================================
namespace reference {

// ------------------------------------------------------------ LongMath

[[gnu::noinline]] void ReportFromCaller(const char* what, const char* source, int32_t line)
{
    char text[256];
    std::snprintf(text, sizeof text, "%sCalled from %s at line # %ld\n", what,
                  source != nullptr ? source : "", static_cast<long>(line));
    FatalError(text);
}

uint64_t Magnitude(int32_t v)
{
    return v < 0 ? uint64_t{0} - static_cast<uint64_t>(static_cast<int64_t>(v))
                 : static_cast<uint64_t>(v);
}

int32_t Signed(uint64_t magnitude, bool negative)
{
    const uint32_t low = static_cast<uint32_t>(magnitude);
    return static_cast<int32_t>(negative ? 0u - low : low);
}

bool FitsInt32(uint64_t magnitude, bool negative)
{
    return magnitude <= uint64_t{INT32_MAX} + (negative ? 1 : 0);
}

bool FitsInt32(int64_t v)
{
    return v >= INT32_MIN && v <= INT32_MAX;
}

int32_t LongMulLong(int32_t a, int32_t b, bool check, const char* source, int32_t line)
{
    const bool negative = (a < 0) != (b < 0);
    const uint64_t product = Magnitude(a) * Magnitude(b);
    const uint64_t magnitude = product >> FIXED_SHIFT;
    if (!FitsInt32(magnitude, negative)) {
        if (!check)
            return LongMath::OVERFLOW_VALUE;
        ReportFromCaller("Multiplication: overflow error.  ", source, line);
        return Signed(magnitude & 0xFFFFFFFFu, negative);
    }
    return Signed(magnitude, negative);
}

int32_t LongDivLong_TableShiftLeft(int32_t a, int32_t b, bool check, const char* source,
                                   int32_t line)
{
    if (b == 0) {
        ReportFromCaller("LongMath::LongDivLong_TableShiftLeft: divide by zero error.  ", source,
                         line);
        return LongMath::OVERFLOW_VALUE;
    }
    const int64_t quotient = (int64_t{a} * FIXED_ONE) / b;
    if (!FitsInt32(quotient)) {
        if (check)
            ReportFromCaller("LongMath::LongDivLong_TableShiftLeft:  OverFlow Error.  ", source,
                             line);
        return LongMath::OVERFLOW_VALUE;
    }
    return static_cast<int32_t>(quotient);
}

int32_t LongAbs(int32_t v)
{
    if (v == INT32_MIN)
        return INT32_MAX;
    return v < 0 ? -v : v;
}

// --------------------------------------------------------- TableSearch

int64_t Interpolate(int64_t value, const int32_t* table, const int32_t* low)
{
    const int64_t index = low - table;
    const int64_t step = int64_t{low[1]} - low[0];
    if (step == 0)
        return index * ANGLE_PER_MINUTE;
    const int64_t above = value - low[0];
    if (above >= 0 && above < (int64_t{1} << 19) && step < (int64_t{1} << 31)) {
        const uint32_t quotient = static_cast<uint32_t>(above * ANGLE_PER_MINUTE) / static_cast<uint32_t>(step);
        return quotient + index * ANGLE_PER_MINUTE;
    }
    return above * ANGLE_PER_MINUTE / step + index * ANGLE_PER_MINUTE;
}

int64_t Bisect(int64_t value, const int32_t* table, int32_t count)
{
    const int32_t* low = table;
    int32_t candidates = count - 1;
    while (candidates > 1) {
        const int32_t half = candidates / 2;
        low = low[half] <= value ? low + half : low;
        candidates -= half;
    }
    return Interpolate(value, table, low);
}

constexpr int BUCKET_SHIFT = 12;
constexpr int32_t BUCKET_COUNT = (FIXED_ONE >> BUCKET_SHIFT) + 1;

template <std::size_t N>
struct BucketIndex {
    const std::array<int32_t, N>* table;
    std::array<uint16_t, BUCKET_COUNT + 1> firstInterval;
};

template <std::size_t N>
constexpr BucketIndex<N> BuildBucketIndex(const std::array<int32_t, N>& table, std::size_t count)
{
    BucketIndex<N> index{&table, {}};
    std::size_t interval = 0;
    for (int32_t b = 0; b <= BUCKET_COUNT; ++b) {
        const int64_t edge = int64_t{b} << BUCKET_SHIFT;
        while (interval + 2 < count && table[interval + 1] <= edge)
            ++interval;
        index.firstInterval[b] = static_cast<uint16_t>(interval);
    }
    return index;
}

template <std::size_t N>
int64_t Lookup(int64_t value, const BucketIndex<N>& index, int32_t count)
{
    const int32_t* table = index.table->data();
    if (value < 0 || value >= (int64_t{BUCKET_COUNT} << BUCKET_SHIFT))
        return Bisect(value, table, count);
    const int32_t b = static_cast<int32_t>(value >> BUCKET_SHIFT);
    const int32_t* low = table + index.firstInterval[b];
    int32_t candidates = index.firstInterval[b + 1] - index.firstInterval[b] + 1;
    while (candidates > 1) {
        const int32_t half = candidates / 2;
        low = low[half] <= value ? low + half : low;
        candidates -= half;
    }
    return Interpolate(value, table, low);
}

// ---------------------------------------------------------------- Sine

constexpr int16_t SINE_COUNT = 5401;
constexpr int32_t SINE_LAST = SINE_COUNT - 1;

constexpr std::array<int32_t, SINE_COUNT + 1> BuildSineTable()
{
    std::array<int32_t, SINE_COUNT + 1> table{};
    for (int32_t k = 0; k <= SINE_LAST; ++k) {
        const TrigSeries::Wide q62 = TrigSeries::SineQ62(k);
        table[k] = static_cast<int32_t>(q62 >> (TrigSeries::ONE_SHIFT - FIXED_SHIFT));
    }
    table[1800] = FIXED_HALF - 1;
    table[SINE_LAST] = FIXED_ONE;
    table[SINE_LAST + 1] = FIXED_ONE;
    return table;
}

constexpr std::array<int32_t, SINE_COUNT + 1> SINE_TABLE = BuildSineTable();
constexpr auto kSineIndex = BuildBucketIndex(SINE_TABLE, SINE_COUNT);

int32_t FoldIntoTurn(int64_t angle)
{
    int64_t folded = angle % ANGLE_FULL;
    if (folded < 0)
        folded += ANGLE_FULL;
    return static_cast<int32_t>(folded);
}

int32_t SineInTurn(int32_t angle)
{
    int32_t sign = 1;
    if (angle <= ANGLE_HALF) {
        if (angle > ANGLE_RIGHT)
            angle = ANGLE_HALF - angle;
    } else {
        sign = -1;
        angle = angle > ANGLE_THREE_QUARTERS ? ANGLE_FULL - angle : angle - ANGLE_HALF;
    }
    const int32_t k = angle / ANGLE_PER_MINUTE;
    const int32_t f = angle % ANGLE_PER_MINUTE;
    const int32_t low = SINE_TABLE[k];
    const int32_t value = low + (((SINE_TABLE[k + 1] - low) * f) >> 12);
    return sign * value;
}

int32_t HoldInRange(int64_t v)
{
    return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : v));
}

int32_t Int_sin(int32_t angle)
{
    return SineInTurn(FoldIntoTurn(angle));
}

int32_t Int_cos(int32_t angle)
{
    return SineInTurn(FoldIntoTurn(int64_t{angle} + ANGLE_RIGHT));
}

int32_t Int_arcsin(int32_t x)
{
    const int64_t magnitude = x < 0 ? -int64_t{x} : x;
    const int32_t angle = HoldInRange(Lookup(magnitude, kSineIndex, SINE_COUNT));
    return x < 0 ? -angle : angle;
}

int32_t Int_arccos(int32_t x)
{
    return HoldInRange(int64_t{ANGLE_RIGHT} - Int_arcsin(x));
}

// ------------------------------------------------------------- Tangent

constexpr int16_t TANGENT_COUNT = 2701;
constexpr int32_t TANGENT_LAST = TANGENT_COUNT - 1;

constexpr std::array<int32_t, TANGENT_COUNT> BuildTangentTable()
{
    std::array<int32_t, TANGENT_COUNT> table{};
    for (int32_t k = 0; k <= TANGENT_LAST; ++k) {
        const TrigSeries::Wide sine = TrigSeries::SineQ62(k);
        const TrigSeries::Wide cosine = TrigSeries::CosineQ62(k);
        table[k] = static_cast<int32_t>((sine << FIXED_SHIFT) / cosine);
    }
    table[1800] = 4843164;
    table[TANGENT_LAST] = FIXED_ONE - 1;
    return table;
}

constexpr std::array<int32_t, TANGENT_COUNT> TANGENT_TABLE = BuildTangentTable();
constexpr auto kTangentIndex = BuildBucketIndex(TANGENT_TABLE, TANGENT_COUNT);

uint32_t LegMagnitude(int32_t v)
{
    return v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
}

int32_t ArctanBelowOne(uint32_t smaller, uint32_t larger)
{
    const int64_t ratio = static_cast<int64_t>((uint64_t{smaller} << FIXED_SHIFT) / larger);
    return static_cast<int32_t>(Lookup(ratio, kTangentIndex, TANGENT_COUNT));
}

int32_t Int_arctan(int32_t opp, int32_t adj)
{
    const bool adjNegative = adj < 0 || (adj == 0 && opp < 0);
    const bool oppNegative = opp < 0;
    const uint32_t o = LegMagnitude(opp);
    const uint32_t a = LegMagnitude(adj);
    int32_t angle = ANGLE_EIGHTH;
    if (o < a)
        angle = ArctanBelowOne(o, a);
    else if (a < o)
        angle = ANGLE_RIGHT - ArctanBelowOne(a, o);
    return adjNegative != oppNegative ? -angle : angle;
}

int32_t Table_Inverse(int32_t value, const int32_t* table, int16_t count)
{
    if (table == nullptr || count < 2)
        return 0;
    const int64_t position = Bisect(value, table, count);
    return static_cast<int32_t>(position < INT32_MIN ? INT32_MIN
                                : position > INT32_MAX ? INT32_MAX
                                                       : position);
}

// ------------------------------------------------------------- NavMath

constexpr const char* SOURCE_NAME = "NAVMATH";
constexpr int32_t PROBE_STEP = 100000;
constexpr int32_t PLANAR_LIMIT = 10 * RANGE_PER_NM;

int32_t Mul(int32_t a, int32_t b, int32_t line = __builtin_LINE())
{
    return LongMulLong(a, b, true, SOURCE_NAME, line);
}

int32_t Div(int32_t a, int32_t b, int32_t line = __builtin_LINE())
{
    return LongDivLong_TableShiftLeft(a, b, true, SOURCE_NAME, line);
}

int32_t Plus(int32_t a, int32_t b)
{
    return static_cast<int32_t>(int64_t{a} + b);
}

int32_t Minus(int32_t a, int32_t b)
{
    return static_cast<int32_t>(int64_t{a} - b);
}

int32_t Half(int32_t v)
{
    return v >> 1;
}

int32_t WrapLongitude(int32_t lon)
{
    if (lon > ANGLE_HALF)
        return lon - ANGLE_FULL;
    if (lon < -ANGLE_HALF)
        return lon + ANGLE_FULL;
    return lon;
}

int32_t TurnBy(int32_t angle, int32_t delta)
{
    int64_t sum = (int64_t{angle} + delta) % ANGLE_FULL;
    if (sum < 0)
        sum += ANGLE_FULL;
    return static_cast<int32_t>(sum);
}

int32_t FullArctan(int32_t opp, int32_t adj)
{
    const int32_t principal = Int_arctan(opp, adj);
    if (adj < 0)
        return opp >= 0 ? principal + ANGLE_HALF : principal - ANGLE_HALF;
    if (adj == 0 && opp < 0)
        return -principal;
    return principal;
}

LatLonPoint ClipAtPole(LatLonPoint from, LatLonPoint to)
{
    if (to.lat <= ANGLE_RIGHT && to.lat >= -ANGLE_RIGHT)
        return to;
    return Geometry::Segment_Rect_Crossing_Point(LatLonRect::World(), from, to);
}

NavVector FinishPlanar(int32_t range, int32_t bearing)
{
    if (range < 0) {
        bearing += ANGLE_HALF;
        range = static_cast<int32_t>(-int64_t{range});
    }
    return {Plus(range, 1), bearing};
}

int32_t Range_GreatCircle(LatLonPoint from, LatLonPoint to)
{
    const int32_t cosRange =
        Mul(Int_sin(to.lat), Int_sin(from.lat)) +
        Mul(Mul(Int_cos(to.lat), Int_cos(from.lat)), Int_cos(Minus(to.lon, from.lon)));
    return Int_arccos(cosRange);
}

int32_t Bearing_GreatCircle(LatLonPoint from, LatLonPoint to, int32_t range)
{
    if (range == 0)
        return 0;
    const int32_t dlat = Minus(to.lat, from.lat);
    const int32_t dlon = Minus(to.lon, from.lon);
    if (dlon == 0)
        return dlat <= 0 ? ANGLE_HALF : 0;
    const int32_t sinRange = Int_sin(range);
    if (sinRange == 0) {
        FatalError("NavMath::Bearing_GreatCircle: sinrange == 0");
        return 0;
    }
    int64_t bearing = Int_arcsin(Div(Mul(Int_sin(dlon), Int_cos(to.lat)), sinRange));
    if (dlat < 0)
        bearing = dlon > 0 ? ANGLE_HALF - bearing : -ANGLE_HALF - bearing;
    if (bearing < 0)
        bearing += ANGLE_FULL;
    return static_cast<int32_t>(bearing);
}

NavVector Bearing_Planar(LatLonPoint from, LatLonPoint to)
{
    const int32_t dlat = Minus(to.lat, from.lat);
    const int32_t dlon = WrapLongitude(Minus(to.lon, from.lon));
    int32_t bearing;
    int32_t range;
    if (dlat == 0) {
        bearing = ANGLE_RIGHT - Int_arctan(dlat, dlon);
        range = Mul(Int_cos(from.lat), dlon);
    } else if (dlon == 0) {
        bearing = ANGLE_RIGHT - Int_arctan(dlat, dlon);
        range = dlat;
    } else {
        const int32_t east = Mul(dlon, Int_cos(Half(Plus(from.lat, to.lat))));
        bearing = ANGLE_RIGHT - Int_arctan(dlat, east);
        const int32_t cosBearing = Int_cos(bearing);
        range = cosBearing != 0 ? Div(dlat, cosBearing) : dlat;
    }
    return FinishPlanar(range, bearing);
}

NavVector Get_Vector(LatLonPoint from, LatLonPoint to)
{
    const int32_t range = Range_GreatCircle(from, to);
    if (range < PLANAR_LIMIT)
        return Bearing_Planar(from, to);
    return {range, Bearing_GreatCircle(from, to, range)};
}

NavVector Vector_GreatCircle(LatLonPoint from, LatLonPoint to)
{
    const int32_t range = Range_GreatCircle(from, to);
    return {range, Bearing_GreatCircle(from, to, range)};
}

LatLonPoint Get_LatLonPoint_From_Linear_Vector(LatLonPoint from, int32_t range, int32_t bearing)
{
    if (range == 0)
        return from;
    const int32_t dlat = Mul(range, Int_cos(bearing));
    const int32_t cosMidLat = Int_cos(Plus(from.lat, Half(dlat)));
    const int32_t east = Mul(range, Int_sin(bearing));
    const int32_t dlon = cosMidLat != 0 ? Div(east, cosMidLat) : east;
    return {Plus(from.lat, dlat), Plus(from.lon, dlon)};
}

LatLonPoint Get_LatLonPoint_GreatCircle(LatLonPoint from, int32_t range, int32_t bearing)
{
    if (range == 0)
        return from;
    const int32_t sinRange = Int_sin(range);
    const int32_t cosRange = Int_cos(range);
    const int32_t sinLat = Int_sin(from.lat);
    const int32_t cosLat = Int_cos(from.lat);
    const int32_t north = Mul(sinRange, Int_cos(bearing));
    const int32_t lat = Int_arcsin(Mul(sinLat, cosRange) + Mul(cosLat, north));
    const int32_t dlon = FullArctan(Mul(sinRange, Int_sin(bearing)),
                                    Mul(cosLat, cosRange) - Mul(sinLat, north));
    return {lat, Plus(from.lon, dlon)};
}

LatLonPoint Get_LatLonPoint_From_Vector(LatLonPoint from, int32_t range, int32_t bearing)
{
    LatLonPoint to = range <= PLANAR_LIMIT ? Get_LatLonPoint_From_Linear_Vector(from, range, bearing)
                                           : Get_LatLonPoint_GreatCircle(from, range, bearing);
    to.lon = WrapLongitude(to.lon);
    return ClipAtPole(from, to);
}

LatLonPoint Offset_Flat(LatLonPoint from, int32_t distance, int32_t angle)
{
    const LatLonPoint to(Plus(from.lat, Mul(distance, Int_cos(angle))),
                         WrapLongitude(Plus(from.lon, Mul(distance, Int_sin(angle)))));
    return ClipAtPole(from, to);
}

NavVector Vector_Flat(LatLonPoint from, LatLonPoint to)
{
    const int32_t dlat = Minus(to.lat, from.lat);
    const int32_t dlon = WrapLongitude(Minus(to.lon, from.lon));
    const int32_t angle = Int_arctan(dlat, dlon);
    const int32_t sinAngle = Int_sin(angle);
    const int32_t range = sinAngle != 0 ? Div(dlat, sinAngle) : dlon;
    return FinishPlanar(range, ANGLE_RIGHT - angle);
}

int32_t Scale_By_Cos_Lat(LatLonPoint at, int32_t value)
{
    return Mul(value, Int_cos(at.lat));
}

int32_t Get_Real_Angle_From_Bearing(LatLonPoint at, int32_t bearing)
{
    if (bearing > ANGLE_FULL)
        bearing = (bearing - 1) % ANGLE_FULL + 1;
    else if (bearing < 0)
        bearing = TurnBy(bearing, 0);
    if (bearing == 0)
        return 0;
    const LatLonPoint probe = Offset_Flat(at, PROBE_STEP, bearing);
    int32_t east = Scale_By_Cos_Lat(probe, LongAbs(WrapLongitude(Minus(probe.lon, at.lon))));
    if (bearing > ANGLE_HALF)
        east = -east;
    const int32_t north = Minus(probe.lat, at.lat);
    const int32_t angle = Int_arctan(north, east);
    if (east < 0)
        return ANGLE_THREE_QUARTERS - angle;
    if (east > 0)
        return ANGLE_RIGHT - angle;
    return north < 0 ? ANGLE_HALF : 0;
}

int32_t Get_Bearing_From_Real_Angle(LatLonPoint at, int32_t realAngle)
{
    const int32_t east = Mul(PROBE_STEP, Int_sin(realAngle));
    const int32_t north = Mul(PROBE_STEP, Int_cos(realAngle));
    const int32_t lat = Plus(at.lat, north);
    const int32_t cosLat = Int_cos(lat);
    const int32_t dlon = cosLat != 0 ? Div(east, cosLat) : east;
    return Vector_Flat(at, LatLonPoint(lat, Plus(at.lon, dlon))).bearing;
}

int32_t Add_Real_Angle(LatLonPoint at, int32_t bearing, int32_t delta)
{
    return Get_Bearing_From_Real_Angle(at, TurnBy(Get_Real_Angle_From_Bearing(at, bearing), delta));
}

int32_t Real_Angle_Between(LatLonPoint at, int32_t bearing1, int32_t bearing2)
{
    if (bearing1 == bearing2)
        return 0;
    return Get_Real_Angle_From_Bearing(at, bearing2) - Get_Real_Angle_From_Bearing(at, bearing1);
}

}  // namespace reference

// ======================================================================
// Comparing the live functions with the reference.
// ======================================================================

// A report's text without the line number it names: the line of a call in a
// rewritten source cannot stay what it was.
std::string WithoutLine(const std::string& text)
{
    const std::string mark = "at line # ";
    const std::size_t at = text.find(mark);
    if (at == std::string::npos)
        return text;
    std::size_t end = at + mark.size();
    while (end < text.size() && (text[end] == '-' || (text[end] >= '0' && text[end] <= '9')))
        ++end;
    return text.substr(0, at + mark.size()) + text.substr(end);
}

std::vector<std::string> WithoutLines(const std::vector<std::string>& texts)
{
    std::vector<std::string> out;
    for (const std::string& t : texts)
        out.push_back(WithoutLine(t));
    return out;
}

std::string Describe(int32_t v) { return std::to_string(v); }
std::string Describe(LatLonPoint p) { return "(" + std::to_string(p.lat) + ", " + std::to_string(p.lon) + ")"; }
std::string Describe(NavVector v) { return "{" + std::to_string(v.range) + ", " + std::to_string(v.bearing) + "}"; }
std::string Describe(const int32_t*) { return "table"; }   // Table_Inverse's: the address says nothing
std::string Describe(std::pair<int32_t, int32_t> p) { return "<" + std::to_string(p.first) + ", " + std::to_string(p.second) + ">"; }

template <typename First, typename... Rest>
std::string DescribeAll(const First& first, const Rest&... rest)
{
    std::string text = Describe(first);
    ((text += ", " + Describe(rest)), ...);
    return text;
}

// Runs a live function and its reference on the same arguments, and keeps
// the first differences in answer or in report. The reports of both go to
// the test's one capture (captures do not nest), and are compared only
// after calls that made one, so that the sweeps stay fast.
class Comparison {
public:
    Comparison(std::string name, ReportCapture& capture) : name_(std::move(name)), capture_(capture) {}

    template <typename Live, typename Reference, typename... Args>
    void Check(Live live, Reference ref, Args... args)
    {
        ++calls_;
        const std::size_t before = capture_.fatals.size();
        const auto got = live(args...);
        const std::size_t liveReports = capture_.fatals.size() - before;
        const auto want = ref(args...);
        if (liveReports != 0 || capture_.fatals.size() != before) {
            const std::vector<std::string> all(capture_.fatals.begin() + static_cast<std::ptrdiff_t>(before),
                                               capture_.fatals.end());
            const std::vector<std::string> gotReports(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(liveReports));
            const std::vector<std::string> wantReports(all.begin() + static_cast<std::ptrdiff_t>(liveReports), all.end());
            ++reported_;
            if (WithoutLines(gotReports) != WithoutLines(wantReports))
                Note(DescribeAll(args...), "reports differ: " + std::to_string(gotReports.size()) +
                                               " against " + std::to_string(wantReports.size()) +
                                               (gotReports.empty() ? "" : ", first " + gotReports[0]) +
                                               (wantReports.empty() ? "" : ", reference " + wantReports[0]));
            capture_.Clear();
        }
        if (!(got == want))
            Note(DescribeAll(args...), Describe(got) + " against reference " + Describe(want));
    }

    // Expects no difference, and names the first few.
    void Expect() const
    {
        EXPECT_EQ(mismatches_, 0u) << name_ << ": " << mismatches_ << " of " << calls_
                                   << " calls differ" << firstFew_;
        EXPECT_GT(calls_, 0u);
    }

    std::size_t Reported() const { return reported_; }

private:
    void Note(const std::string& args, const std::string& what)
    {
        if (++mismatches_ <= 5)
            firstFew_ += "\n  " + name_ + "(" + args + "): " + what;
    }

    std::string name_;
    ReportCapture& capture_;
    std::size_t calls_ = 0;
    std::size_t mismatches_ = 0;
    std::size_t reported_ = 0;
    std::string firstFew_;
};

// Random inputs from a fixed seed. Values are drawn at every scale: a random
// width of up to 31 bits, then a random value of that width and sign.
class Draws {
public:
    explicit Draws(uint64_t seed) : random_(seed) {}

    int32_t Any() { return static_cast<int32_t>(random_()); }

    // lowest to highest, both included.
    int32_t Between(int64_t lowest, int64_t highest)
    {
        const uint64_t span = static_cast<uint64_t>(highest - lowest) + 1;
        return static_cast<int32_t>(lowest + static_cast<int64_t>(random_() % span));
    }

    // Any sign and any size, small ones as often as large ones.
    int32_t AnyScale()
    {
        const int bits = static_cast<int>(random_() % 32);
        const int32_t v = static_cast<int32_t>(random_() & ((uint64_t{1} << bits) - 1));
        return (random_() & 1) != 0 ? -v : v;
    }

    // A position anywhere on the world, poles and the 180-degree meridian included.
    LatLonPoint Position() { return {Between(-ANGLE_RIGHT, ANGLE_RIGHT), Between(-ANGLE_HALF, ANGLE_HALF)}; }

    // A position within about span of `from` either way in each coordinate,
    // the offset drawn at every scale up to span.
    LatLonPoint Near(LatLonPoint from, int32_t span)
    {
        const int bits = static_cast<int>(random_() % 31);
        const int32_t limit = static_cast<int32_t>(std::min<int64_t>(span, int64_t{1} << bits));
        return {static_cast<int32_t>(int64_t{from.lat} + Between(-limit, limit)),
                static_cast<int32_t>(int64_t{from.lon} + Between(-limit, limit))};
    }

private:
    std::mt19937_64 random_;
};

constexpr int32_t DEG = ANGLE_PER_DEGREE;
constexpr int32_t MIN = ANGLE_PER_MINUTE;

// The offsets around a table cell's edge that the sweeps try.
constexpr std::array<int32_t, 7> EDGE_OFFSETS = {-2, -1, 0, 1, 2, MIN / 2, MIN - 1};

// Live wrappers, so that the comparisons take them as values.
const auto liveSin = [](int32_t a) { return Sine::Int_sin(a); };
const auto liveCos = [](int32_t a) { return Sine::Int_cos(a); };
const auto liveArcsin = [](int32_t x) { return Sine::Int_arcsin(x); };
const auto liveArccos = [](int32_t x) { return Sine::Int_arccos(x); };
const auto liveArctan = [](int32_t o, int32_t a) { return Tangent::Int_arctan(o, a); };
const auto refSin = [](int32_t a) { return reference::Int_sin(a); };
const auto refCos = [](int32_t a) { return reference::Int_cos(a); };
const auto refArcsin = [](int32_t x) { return reference::Int_arcsin(x); };
const auto refArccos = [](int32_t x) { return reference::Int_arccos(x); };
const auto refArctan = [](int32_t o, int32_t a) { return reference::Int_arctan(o, a); };
const auto liveVector = [](LatLonPoint f, LatLonPoint t) { return NavMath::Get_Vector(f, t); };
const auto refVector = [](LatLonPoint f, LatLonPoint t) { return reference::Get_Vector(f, t); };
const auto livePoint = [](LatLonPoint f, int32_t r, int32_t b) { return NavMath::Get_LatLonPoint_From_Vector(f, r, b); };
const auto refPoint = [](LatLonPoint f, int32_t r, int32_t b) { return reference::Get_LatLonPoint_From_Vector(f, r, b); };

}  // namespace

TEST(NavMathReference, TablesAreTheReferenceTables)
{
    for (std::size_t k = 0; k < reference::SINE_TABLE.size(); ++k)
        ASSERT_EQ(Sine::SINE_TABLE[k], reference::SINE_TABLE[k]) << "sine entry " << k;
    for (std::size_t k = 0; k < reference::TANGENT_TABLE.size(); ++k)
        ASSERT_EQ(Tangent::TANGENT_TABLE[k], reference::TANGENT_TABLE[k]) << "tangent entry " << k;
}

TEST(NavMathReference, LongMathMultiplyAndDivide)
{
    ReportCapture capture;
    Comparison mul("LongMulLong", capture), mulQuiet("LongMulLong unchecked", capture), div("LongDivLong_TableShiftLeft", capture),
        divQuiet("LongDivLong_TableShiftLeft unchecked", capture), abs("LongAbs", capture);
    const auto liveMul = [](int32_t a, int32_t b) { return LongMath::LongMulLong(a, b, true, "TEST", 7); };
    const auto refMul = [](int32_t a, int32_t b) { return reference::LongMulLong(a, b, true, "TEST", 7); };
    const auto liveMulQuiet = [](int32_t a, int32_t b) { return LongMath::LongMulLong(a, b, false, "TEST", 7); };
    const auto refMulQuiet = [](int32_t a, int32_t b) { return reference::LongMulLong(a, b, false, "TEST", 7); };
    const auto liveDiv = [](int32_t a, int32_t b) { return LongMath::LongDivLong_TableShiftLeft(a, b, true, "TEST", 7); };
    const auto refDiv = [](int32_t a, int32_t b) { return reference::LongDivLong_TableShiftLeft(a, b, true, "TEST", 7); };
    const auto liveDivQuiet = [](int32_t a, int32_t b) { return LongMath::LongDivLong_TableShiftLeft(a, b, false, "TEST", 7); };
    const auto refDivQuiet = [](int32_t a, int32_t b) { return reference::LongDivLong_TableShiftLeft(a, b, false, "TEST", 7); };
    const auto check = [&](int32_t a, int32_t b) {
        mul.Check(liveMul, refMul, a, b);
        mulQuiet.Check(liveMulQuiet, refMulQuiet, a, b);
        div.Check(liveDiv, refDiv, a, b);
        divQuiet.Check(liveDivQuiet, refDivQuiet, a, b);
    };
    const int32_t edges[] = {0, 1, -1, 2, -2, FIXED_ONE, -FIXED_ONE, FIXED_ONE - 1, FIXED_HALF,
                             LongMath::OVERFLOW_VALUE, 255, 256, -256, 65535, 65536, -65536,
                             INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1, 1 << 30, -(1 << 30)};
    for (int32_t a : edges) {
        abs.Check([](int32_t v) { return LongMath::LongAbs(v); }, [](int32_t v) { return reference::LongAbs(v); }, a);
        for (int32_t b : edges)
            check(a, b);
    }
    Draws draws(11);
    for (int i = 0; i < 1'000'000 / SWEEP_DIVISOR; ++i) {
        check(draws.AnyScale(), draws.AnyScale());
        abs.Check([](int32_t v) { return LongMath::LongAbs(v); }, [](int32_t v) { return reference::LongAbs(v); },
                  draws.AnyScale());
    }
    for (Comparison* c : {&mul, &mulQuiet, &div, &divQuiet, &abs})
        c->Expect();
    EXPECT_GT(mul.Reported(), 0u);   // the overflow reports were compared too
    EXPECT_GT(div.Reported(), 0u);
}

TEST(NavMathReference, SineAndCosineOverEveryCell)
{
    ReportCapture capture;
    Comparison sin("Int_sin", capture), cos("Int_cos", capture);
    // Every arc-minute of two turns either way, at and around its edge.
    for (int64_t k = -4 * 21600; k <= 4 * 21600; ++k)
        for (int32_t offset : EDGE_OFFSETS) {
            const int32_t angle = static_cast<int32_t>(k * MIN + offset);
            sin.Check(liveSin, refSin, angle);
            cos.Check(liveCos, refCos, angle);
        }
    // The ends of the 32-bit range, whose folds lose whole turns.
    for (int32_t angle : {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1, INT32_MAX - ANGLE_RIGHT,
                          INT32_MAX - ANGLE_RIGHT + 1, INT32_MIN + ANGLE_RIGHT}) {
        sin.Check(liveSin, refSin, angle);
        cos.Check(liveCos, refCos, angle);
    }
    Draws draws(12);
    for (int i = 0; i < 2'000'000 / SWEEP_DIVISOR; ++i) {
        const int32_t any = draws.Any();
        const int32_t turn = draws.Between(-2 * int64_t{ANGLE_FULL}, 2 * int64_t{ANGLE_FULL});
        sin.Check(liveSin, refSin, any);
        cos.Check(liveCos, refCos, any);
        sin.Check(liveSin, refSin, turn);
        cos.Check(liveCos, refCos, turn);
    }
    sin.Expect();
    cos.Expect();
}

TEST(NavMathReference, SineAndCosineOfLatitudesAsTableReads)
{
    // The folds that latitudes, and angles known to lie within 90 degrees
    // either side, skip; and the cosine of 90 degrees less such an angle,
    // which is its sine.
    ReportCapture capture;
    Comparison sin("SineWithinRight", capture), cos("CosineWithinRight", capture),
        complement("SineWithinRight against the cosine of its complement", capture);
    const auto liveSinRight = [](int32_t a) { return Sine::SineWithinRight(a); };
    const auto liveCosRight = [](int32_t a) { return Sine::CosineWithinRight(a); };
    const auto refComplement = [](int32_t a) { return reference::Int_cos(ANGLE_RIGHT - a); };
    const auto check = [&](int32_t angle) {
        sin.Check(liveSinRight, refSin, angle);
        cos.Check(liveCosRight, refCos, angle);
        complement.Check(liveSinRight, refComplement, angle);
    };
    for (int32_t k = -90 * 60; k <= 90 * 60; ++k)
        for (int32_t offset : EDGE_OFFSETS) {
            const int32_t angle = k * MIN + offset;
            if (angle >= -ANGLE_RIGHT && angle <= ANGLE_RIGHT)
                check(angle);
        }
    Draws draws(19);
    for (int i = 0; i < 1'000'000 / SWEEP_DIVISOR; ++i)
        check(draws.Between(-ANGLE_RIGHT, ANGLE_RIGHT));
    sin.Expect();
    cos.Expect();
    complement.Expect();
}

TEST(NavMathReference, ArcsineAndArccosineOverEveryValue)
{
    ReportCapture capture;
    Comparison arcsin("Int_arcsin", capture), arccos("Int_arccos", capture),
        withSine("ArccosWithSine", capture);
    const auto liveWithSine = [](int32_t x) {
        const Sine::AngleAndSine got = Sine::ArccosWithSine(x);
        return std::pair(got.angle, got.sine);
    };
    const auto refWithSine = [](int32_t x) {
        const int32_t angle = reference::Int_arccos(x);
        return std::pair(angle, reference::Int_sin(angle));
    };
    const auto check = [&](int32_t x) {
        arcsin.Check(liveArcsin, refArcsin, x);
        arccos.Check(liveArccos, refArccos, x);
        withSine.Check(liveWithSine, refWithSine, x);
    };
    // Every Q23 value from -1.0 to 1.0 and a little past (every sixteenth in
    // the unoptimised builds), then every table entry and its neighbours.
    constexpr int32_t PAST = 1 << 16;
    for (int32_t x = -FIXED_ONE - PAST; x <= FIXED_ONE + PAST; x += SWEEP_DIVISOR)
        check(x);
    for (int32_t entry : reference::SINE_TABLE)
        for (int32_t offset : {-2, -1, 0, 1, 2}) {
            check(entry + offset);
            check(-entry - offset);
        }
    // Far past 1.0, where the answers extrapolate and are held at the limits.
    for (int32_t x : {INT32_MAX, INT32_MIN, INT32_MIN + 1, INT32_MAX - 1, 1 << 30, -(1 << 30)})
        check(x);
    Draws draws(13);
    for (int i = 0; i < 2'000'000 / SWEEP_DIVISOR; ++i)
        check(draws.AnyScale());
    arcsin.Expect();
    arccos.Expect();
    withSine.Expect();
}

TEST(NavMathReference, ArctangentOverEveryCellAndScale)
{
    ReportCapture capture;
    Comparison arctan("Int_arctan", capture);
    // Every ratio below 1.0 at one scale (every sixteenth in the unoptimised
    // builds), in each of the four sign combinations and both ways round.
    for (int32_t opp = 0; opp <= FIXED_ONE; opp += SWEEP_DIVISOR) {
        arctan.Check(liveArctan, refArctan, opp, FIXED_ONE);
        arctan.Check(liveArctan, refArctan, FIXED_ONE, -opp);
    }
    // Every table entry and its neighbours, at two scales and all signs.
    for (int32_t entry : reference::TANGENT_TABLE)
        for (int32_t offset : {-2, -1, 0, 1, 2})
            for (int32_t adj : {FIXED_ONE, -FIXED_ONE})
                for (int32_t sign : {1, -1}) {
                    const int32_t opp = sign * (entry + offset);
                    arctan.Check(liveArctan, refArctan, opp, adj);
                    arctan.Check(liveArctan, refArctan, adj, opp);
                    arctan.Check(liveArctan, refArctan, opp * 64, adj * 64);
                }
    // Zero, equal and extreme legs.
    const int32_t edges[] = {0, 1, -1, 2, -2, 40960, -40960, FIXED_ONE, -FIXED_ONE, INT32_MAX, INT32_MIN,
                             INT32_MAX - 1, INT32_MIN + 1};
    for (int32_t opp : edges)
        for (int32_t adj : edges)
            arctan.Check(liveArctan, refArctan, opp, adj);
    Draws draws(14);
    for (int i = 0; i < 2'000'000 / SWEEP_DIVISOR; ++i) {
        arctan.Check(liveArctan, refArctan, draws.AnyScale(), draws.AnyScale());
        const int32_t leg = draws.AnyScale();
        arctan.Check(liveArctan, refArctan, leg, static_cast<int32_t>(leg + draws.Between(-3, 3)));
    }
    arctan.Expect();
}

TEST(NavMathReference, TableInverseOnAnyTable)
{
    ReportCapture capture;
    Comparison inverse("Table_Inverse", capture);
    const auto live = [](int32_t v, const int32_t* t, int16_t n) { return Tangent::Table_Inverse(v, t, n); };
    const auto ref = [](int32_t v, const int32_t* t, int16_t n) { return reference::Table_Inverse(v, t, n); };
    const int32_t steep[] = {INT32_MIN / 2, 0, 1, 2, 3, INT32_MAX / 2};
    Draws draws(15);
    for (int i = 0; i < 200'000 / SWEEP_DIVISOR; ++i) {
        const int32_t v = draws.AnyScale();
        inverse.Check(live, ref, v, Sine::SINE_TABLE.data(), Sine::TABLE_COUNT);
        inverse.Check(live, ref, v, Tangent::TANGENT_TABLE.data(), Tangent::TABLE_COUNT);
        inverse.Check(live, ref, v, steep, static_cast<int16_t>(draws.Between(0, 6)));
    }
    inverse.Expect();
}

TEST(NavMathReference, GetVectorOverEveryRangeCell)
{
    ReportCapture capture;
    Comparison vector("Get_Vector", capture);
    // From a few latitudes, out along the meridian, the parallel and a
    // diagonal, one arc-minute at a time to the far side of the world, at and
    // around each edge: the range's cosine visits every cell of the table.
    for (int32_t lat : {0, 30 * DEG, -45 * DEG, 60 * DEG, 89 * DEG + 59 * MIN})
        for (int32_t k = 0; k <= 180 * 60; ++k)
            for (int32_t offset : EDGE_OFFSETS) {
                const int32_t step = k * MIN + offset;
                const LatLonPoint from(lat, 10 * DEG);
                vector.Check(liveVector, refVector, from, LatLonPoint(lat, 10 * DEG + step));
                vector.Check(liveVector, refVector, from, LatLonPoint(lat - step, 10 * DEG));
                vector.Check(liveVector, refVector, from, LatLonPoint(lat - step / 2, 10 * DEG - step / 2));
            }
    vector.Expect();
}

TEST(NavMathReference, GetVectorOnRandomLegs)
{
    ReportCapture capture;
    Comparison vector("Get_Vector", capture);
    Draws draws(16);
    for (int i = 0; i < 700'000 / SWEEP_DIVISOR; ++i) {
        const LatLonPoint from = draws.Position();
        vector.Check(liveVector, refVector, from, draws.Position());           // mostly long legs
        vector.Check(liveVector, refVector, from, draws.Near(from, 4 * DEG));  // every scale up to 240 nm
        vector.Check(liveVector, refVector, from, draws.Near(from, 12 * MIN)); // about the planar limit
    }
    // Positions out of the world, up to the ends of the 32-bit range.
    for (int i = 0; i < 100'000 / SWEEP_DIVISOR; ++i) {
        const LatLonPoint from(draws.AnyScale(), draws.AnyScale());
        vector.Check(liveVector, refVector, from, LatLonPoint(draws.AnyScale(), draws.AnyScale()));
        vector.Check(liveVector, refVector, from, draws.Near(from, DEG));
    }
    // At and about the antipodes, where the bearing is reported as singular
    // (on the equator, always).
    for (int32_t lon : {0, 10 * DEG, -170 * DEG, 179 * DEG})
        vector.Check(liveVector, refVector, LatLonPoint(0, lon),
                     LatLonPoint(0, lon > 0 ? lon - ANGLE_HALF : lon + ANGLE_HALF));
    for (int i = 0; i < 20'000 / SWEEP_DIVISOR; ++i) {
        const LatLonPoint from = draws.Position();
        const LatLonPoint antipode(-from.lat, from.lon > 0 ? from.lon - ANGLE_HALF : from.lon + ANGLE_HALF);
        vector.Check(liveVector, refVector, from, antipode);
        vector.Check(liveVector, refVector, from, draws.Near(antipode, MIN));
    }
    vector.Expect();
    EXPECT_GT(vector.Reported(), 0u);   // the reports were compared too
}

TEST(NavMathReference, GetLatLonPointFromVector)
{
    ReportCapture capture;
    Comparison point("Get_LatLonPoint_From_Vector", capture);
    // Each arc-minute of range out to past half the world, around each edge,
    // in eight directions, from two latitudes.
    for (int32_t lat : {20 * DEG, -70 * DEG})
        for (int32_t k = 0; k <= 200 * 60; k += 1)
            for (int32_t offset : {-1, 0, 1})
                for (int32_t bearing = 0; bearing < ANGLE_FULL; bearing += ANGLE_EIGHTH)
                    point.Check(livePoint, refPoint, LatLonPoint(lat, 170 * DEG), k * MIN + offset,
                                bearing + offset);
    // The planar limit, where the method changes.
    for (int32_t range = NavMath::PLANAR_LIMIT - 8; range <= NavMath::PLANAR_LIMIT + 8; ++range)
        for (int32_t bearing = 0; bearing < ANGLE_FULL; bearing += DEG)
            point.Check(livePoint, refPoint, LatLonPoint(45 * DEG, 0), range, bearing);
    Draws draws(17);
    for (int i = 0; i < 500'000 / SWEEP_DIVISOR; ++i) {
        const LatLonPoint from = draws.Position();
        const int32_t bearing = draws.Between(0, ANGLE_FULL - 1);
        point.Check(livePoint, refPoint, from, draws.Between(0, ANGLE_HALF), bearing);
        point.Check(livePoint, refPoint, from, draws.Between(0, 2 * NavMath::PLANAR_LIMIT), bearing);
        point.Check(livePoint, refPoint, from, draws.AnyScale(), draws.AnyScale());
    }
    point.Expect();
}

TEST(NavMathReference, EveryOtherNavigationFunction)
{
    ReportCapture capture;
    Comparison planar("Get_Vector_Planar", capture), great("Vector_GreatCircle", capture), bearing("Bearing_GreatCircle", capture),
        linear("Get_LatLonPoint_From_Linear_Vector", capture), greatPoint("Get_LatLonPoint_GreatCircle", capture),
        offset("Offset_Flat", capture), flat("Vector_Flat", capture), real("Get_Real_Angle_From_Bearing", capture),
        fromReal("Get_Bearing_From_Real_Angle", capture), add("Add_Real_Angle", capture), between("Real_Angle_Between", capture),
        scale("Scale_By_Cos_Lat", capture);
    Draws draws(18);
    for (int i = 0; i < 200'000 / SWEEP_DIVISOR; ++i) {
        // Half the inputs in the world, half anywhere at any scale.
        const bool wild = (i & 1) != 0;
        const LatLonPoint from = wild ? LatLonPoint(draws.AnyScale(), draws.AnyScale()) : draws.Position();
        const LatLonPoint to = (i & 2) != 0 ? draws.Near(from, 4 * DEG) : draws.Position();
        const int32_t range = wild ? draws.AnyScale() : draws.Between(0, ANGLE_HALF);
        const int32_t angle = wild ? draws.AnyScale() : draws.Between(-ANGLE_FULL, 2 * int64_t{ANGLE_FULL});
        const int32_t angle2 = wild ? draws.AnyScale() : draws.Between(-ANGLE_FULL, 2 * int64_t{ANGLE_FULL});
        planar.Check([](LatLonPoint f, LatLonPoint t) { return NavMath::Get_Vector_Planar(f, t); },
                     [](LatLonPoint f, LatLonPoint t) { return reference::Bearing_Planar(f, t); }, from, to);
        great.Check([](LatLonPoint f, LatLonPoint t) { return NavMath::Vector_GreatCircle(f, t); },
                    [](LatLonPoint f, LatLonPoint t) { return reference::Vector_GreatCircle(f, t); }, from, to);
        bearing.Check([](LatLonPoint f, LatLonPoint t, int32_t r) { return NavMath::Bearing_GreatCircle(f, t, r); },
                      [](LatLonPoint f, LatLonPoint t, int32_t r) { return reference::Bearing_GreatCircle(f, t, r); },
                      from, to, range);
        linear.Check(
            [](LatLonPoint f, int32_t r, int32_t b) { return NavMath::Get_LatLonPoint_From_Linear_Vector(f, r, b); },
            [](LatLonPoint f, int32_t r, int32_t b) { return reference::Get_LatLonPoint_From_Linear_Vector(f, r, b); },
            from, range, angle);
        greatPoint.Check(
            [](LatLonPoint f, int32_t r, int32_t b) { return NavMath::Get_LatLonPoint_GreatCircle(f, r, b); },
            [](LatLonPoint f, int32_t r, int32_t b) { return reference::Get_LatLonPoint_GreatCircle(f, r, b); },
            from, range, angle);
        offset.Check([](LatLonPoint f, int32_t d, int32_t a) { return NavMath::Offset_Flat(f, d, a); },
                     [](LatLonPoint f, int32_t d, int32_t a) { return reference::Offset_Flat(f, d, a); },
                     from, range, angle);
        flat.Check([](LatLonPoint f, LatLonPoint t) { return NavMath::Vector_Flat(f, t); },
                   [](LatLonPoint f, LatLonPoint t) { return reference::Vector_Flat(f, t); }, from, to);
        real.Check([](LatLonPoint p, int32_t b) { return NavMath::Get_Real_Angle_From_Bearing(p, b); },
                   [](LatLonPoint p, int32_t b) { return reference::Get_Real_Angle_From_Bearing(p, b); },
                   from, angle);
        fromReal.Check([](LatLonPoint p, int32_t a) { return NavMath::Get_Bearing_From_Real_Angle(p, a); },
                       [](LatLonPoint p, int32_t a) { return reference::Get_Bearing_From_Real_Angle(p, a); },
                       from, angle);
        add.Check([](LatLonPoint p, int32_t b, int32_t d) { return NavMath::Add_Real_Angle(p, b, d); },
                  [](LatLonPoint p, int32_t b, int32_t d) { return reference::Add_Real_Angle(p, b, d); },
                  from, angle, angle2);
        between.Check([](LatLonPoint p, int32_t a, int32_t b) { return NavMath::Real_Angle_Between(p, a, b); },
                      [](LatLonPoint p, int32_t a, int32_t b) { return reference::Real_Angle_Between(p, a, b); },
                      from, angle, (i & 4) != 0 ? angle : angle2);
        scale.Check([](LatLonPoint p, int32_t v) { return NavMath::Scale_By_Cos_Lat(p, v); },
                    [](LatLonPoint p, int32_t v) { return reference::Scale_By_Cos_Lat(p, v); }, from, range);
    }
    for (Comparison* c : {&planar, &great, &bearing, &linear, &greatPoint, &offset, &flat, &real, &fromReal,
                          &add, &between, &scale})
        c->Expect();
}
