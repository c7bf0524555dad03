// AreaPolygonTest.cpp: a side's zones: naming, ids, retyping, replacing and
// deleting, chains of positions in and out, zone colours, drawing through
// the display filter, marker picking, the crossing tests, and the saved list
// with its damaged forms.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "core/ResourceLoader.h"
#include "support/RecordingPen.h"
#include "support/ReportCapture.h"
#include "world/AreaPolygon.h"
#include "world/AreaPolygonList.h"
#include "world/AreaPolygonTestSupport.h"
#include "world/Nav2Game.h"

using namespace zonetest;

namespace {

const char* const NO_POINTS = "The zone has no points.";
const char* const NO_ZONE_TO_REPLACE = "There is no zone with that number to replace.";
const char* const NO_ZONE_TO_CHANGE = "There is no zone with that number to change.";

std::string Saved(const AreaPolygonList& list)
{
    std::ostringstream out(std::ios::binary);
    list.Save(out);
    return out.str();
}

std::vector<int16_t> Ids(const AreaPolygonList& list)
{
    std::vector<int16_t> ids;
    for (const AreaPolygon* zone = list.GetFirst(); zone != nullptr; zone = zone->GetNext())
        ids.push_back(zone->GetID());
    return ids;
}

// A list on a Miller map with the sample resource texts, reports captured.
class Zones : public testing::Test {
protected:
    // Adds a square zone of `size` degrees with its south-west corner (the
    // marker) at (south, west).
    int16_t AddSquare(uint32_t type, double south, double west, double size = 1)
    {
        return AddOutline(type, Square(south, west, south + size, west + size));
    }
    int16_t AddOutline(uint32_t type, const std::vector<LatLonPoint>& points)
    {
        ChainHolder chain(MakeChain(points));
        return list.Add(type, chain.head);
    }
    // A rectangle of the map plane one unit round the projection of p.
    static XYRect RectAround(const LatLonPoint& p)
    {
        const XYPoint xy = Nav2Game::LatLonToXY(p);
        return XYRect(xy.x - 1, xy.y + 1, xy.x + 1, xy.y - 1);
    }

    MapScope map;
    TextScope texts;
    ReportCapture reports;
    AreaPolygonList list;
};

}  // namespace

TEST(ZoneColour, FollowsTheTypeGroups)
{
    struct Row {
        uint32_t type;
        int16_t colour;
    };
    const Row rows[] = {
        {0x00000000, 0},
        {0x00000001, 48},                // general exclusion
        {0x40000000, 48},
        {0x000000F0, 49},                // surface threat
        {0x00000100, 50},                // surface sensor
        {0x00000FF0, 49},                // threat wins over sensor of one medium
        {0x00001000, 53},                // submarine threat
        {0x00010000, 54},                // subsurface sensor
        {0x000FF000, 53},
        {0x00100000, 51},                // air threat
        {0x01000000, 52},                // air sensor
        {0x0FF00000, 51},
        {0x80000000, 55},                // neutral
        {0x0000F0F0, 48},                // two media
        {0x00100100, 48},
        {0x01010000, 48},
        {0x80000010, 48},                // a medium and neutral
        {0x80100000, 48},
        {0x7000000F | 0x80000000, 48},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.type);
        EXPECT_EQ(AreaPolygonList::ZoneColour(r.type), r.colour);
    }
}

TEST(AreaPolygon, NameComesFromTheResourceText)
{
    const std::vector<LatLonPoint> points = Square(0, 0, 1, 1);
    {
        TextScope texts;
        const AreaPolygon zone(12, points.data(), 4, ZONE_SURFACE_THREAT);
        EXPECT_STREQ(zone.name.Text(), "Zone 12 ");
        EXPECT_EQ(zone.GetID(), 12);
        EXPECT_EQ(zone.GetType(), ZONE_SURFACE_THREAT);
        EXPECT_EQ(zone.GetNext(), nullptr);
    }
    // Without resources the number still names it.
    ASSERT_EQ(TheResourceLoader, nullptr);
    const AreaPolygon zone(-2, points.data(), 4, 1);
    EXPECT_STREQ(zone.name.Text(), "-2 ");
}

TEST(AreaPolygon, WithoutPointsHasNoMarker)
{
    const AreaPolygon zone(1, nullptr, 0, ZONE_NEUTRAL);
    EXPECT_EQ(zone.GetPointCount(), 0);
    EXPECT_TRUE(zone.GetMarkerPoint().IsNone());
    EXPECT_FALSE(zone.MarkerInRect(XYRect(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN)));
    EXPECT_EQ(AreaPolygonList::MakePointChain<ChainNode>(&zone), nullptr);
}

TEST_F(Zones, AddGivesTheLastIdPlusOne)
{
    EXPECT_EQ(AddSquare(0x10, 0, 0), 1);
    for (int16_t id = 2; id <= 7; ++id)
        EXPECT_EQ(AddSquare(0x10, 0, 0), id);
    for (int16_t id = 2; id <= 6; ++id)
        list.Delete(id);
    EXPECT_EQ(Ids(list), (std::vector<int16_t>{1, 7}));
    EXPECT_EQ(AddSquare(0x10, 0, 0), 8);
    list.Delete(8);
    EXPECT_EQ(AddSquare(0x10, 0, 0), 8);   // the last zone's id is dealt again
    list.Delete(1);
    list.Delete(7);
    list.Delete(8);
    EXPECT_EQ(list.GetFirst(), nullptr);
    EXPECT_EQ(AddSquare(0x10, 0, 0), 1);
    EXPECT_STREQ(list.Find(1)->name.Text(), "Zone 1 ");
    EXPECT_TRUE(reports.errors.empty());
}

TEST_F(Zones, AddTakesTheWholeChainFromAnyNode)
{
    ChainHolder chain(MakeChain(Square(0, 0, 2, 2)));
    ChainNode* third = chain.head->GetNext()->GetNext();
    ASSERT_EQ(list.Add(0x100, third), 1);
    const AreaPolygon* zone = list.Find(1);
    ASSERT_NE(zone, nullptr);
    ASSERT_EQ(zone->GetPointCount(), 5);
    EXPECT_EQ(zone->GetLatLonPoint(0), At(0, 0));
    EXPECT_EQ(zone->GetLatLonPoint(2), At(2, 2));
    EXPECT_EQ(zone->GetType(), 0x100u);
    EXPECT_EQ(ChainPoints(chain.head).size(), 4u);   // the chain stays the caller's
}

TEST_F(Zones, AddWithoutAChainMakesNoZone)
{
    EXPECT_EQ(list.Add<ChainNode>(0x10, nullptr), 0);
    EXPECT_EQ(list.GetFirst(), nullptr);
    EXPECT_EQ(reports.errors, std::vector<std::string>{NO_POINTS});
}

TEST_F(Zones, SetTypeRetypesOrDeletes)
{
    AddSquare(0x10, 0, 0);
    AddSquare(0x10, 1, 1);
    struct Row {
        const char* name;
        int16_t id;
        uint32_t type;
        int16_t result;
        std::vector<int16_t> idsAfter;
        uint32_t typeOf1;
        std::vector<std::string> errors;
    };
    const Row rows[] = {
        {"retype", 1, 0x00F00000, 1, {1, 2}, 0x00F00000, {}},
        {"absent id", 5, 0x10, 0, {1, 2}, 0x00F00000, {NO_ZONE_TO_CHANGE}},
        {"absent id, type 0", 5, 0, 0, {1, 2}, 0x00F00000, {NO_ZONE_TO_CHANGE}},
        {"type 0 deletes", 2, 0, 0, {1}, 0x00F00000, {}},
        {"type 0 deletes the last", 1, 0, 0, {}, 0, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        reports.Clear();
        EXPECT_EQ(list.SetType(r.id, r.type), r.result);
        EXPECT_EQ(Ids(list), r.idsAfter);
        EXPECT_EQ(list.GetType(1), r.typeOf1);
        EXPECT_EQ(reports.errors, r.errors);
    }
}

TEST_F(Zones, AbsentIdsChangeNothing)
{
    AddSquare(0x10, 0, 0);
    const std::string before = Saved(list);
    list.Delete(9);
    EXPECT_EQ(list.Find(9), nullptr);
    EXPECT_EQ(list.GetType(9), 0u);
    EXPECT_EQ(list.GetPointChain<ChainNode>(9), nullptr);
    EXPECT_EQ(Saved(list), before);
    EXPECT_TRUE(reports.errors.empty());
}

TEST_F(Zones, ReplaceKeepsPlaceIdAndNameWithABlank)
{
    AddSquare(0x10, 0, 0);
    AddSquare(0x10, 1, 1);
    AddSquare(0x10, 2, 2);
    list.Find(2)->name.Set("Picket line");

    ChainHolder chain(MakeChain(Square(5, 5, 6, 7)));
    EXPECT_EQ(list.Replace(2, 0x1000, chain.head), 2);
    EXPECT_EQ(Ids(list), (std::vector<int16_t>{1, 2, 3}));
    const AreaPolygon* zone = list.Find(2);
    EXPECT_STREQ(zone->name.Text(), "Picket line ");
    EXPECT_EQ(zone->GetType(), 0x1000u);
    EXPECT_EQ(zone->GetLatLonPoint(2), At(6, 7));
    EXPECT_EQ(zone->GetNext(), list.Find(3));

    // The first zone too: the list head moves to the new zone.
    EXPECT_EQ(list.Replace(1, 0x10, chain.head), 1);
    EXPECT_EQ(Ids(list), (std::vector<int16_t>{1, 2, 3}));
    EXPECT_EQ(list.GetFirst()->GetLatLonPoint(0), At(5, 5));
    EXPECT_TRUE(reports.errors.empty());
}

TEST_F(Zones, ReplaceFailuresKeepTheOldZone)
{
    AddSquare(0x10, 0, 0);
    const std::string before = Saved(list);
    ChainHolder chain(MakeChain(Square(5, 5, 6, 6)));

    EXPECT_EQ(list.Replace(4, 0x10, chain.head), 0);
    EXPECT_EQ(reports.errors, std::vector<std::string>{NO_ZONE_TO_REPLACE});

    // No points: the zone used to be replaced by one without a point 0.
    reports.Clear();
    EXPECT_EQ(list.Replace<ChainNode>(1, 0x20, nullptr), 0);
    EXPECT_EQ(reports.errors, std::vector<std::string>{NO_POINTS});
    EXPECT_EQ(Saved(list), before);
}

TEST_F(Zones, ReplaceOfAFullNameKeepsItsTerminator)
{
    AddSquare(0x10, 0, 0);
    const std::string full(31, 'x');
    list.Find(1)->name.Set(full.c_str());
    ChainHolder chain(MakeChain(Square(5, 5, 6, 6)));
    list.Replace(1, 0x10, chain.head);
    EXPECT_EQ(std::string(list.Find(1)->name.Text()), full);

    list.Find(1)->name.Set(std::string(30, 'y').c_str());
    list.Replace(1, 0x10, chain.head);
    list.Replace(1, 0x10, chain.head);
    EXPECT_EQ(std::string(list.Find(1)->name.Text()), std::string(30, 'y') + " ");
}

TEST_F(Zones, PointChainHoldsEveryPointFoldedAndProjected)
{
    const std::vector<LatLonPoint> ring = {At(0, 170), At(0, -170), At(10, -170), At(10, 170)};
    ASSERT_EQ(AddOutline(ZONE_NEUTRAL, ring), 1);
    ChainHolder chain(list.GetPointChain<ChainNode>(1));
    ASSERT_NE(chain.head, nullptr);
    EXPECT_EQ(chain.head->GetPrev(), nullptr);
    const std::vector<LatLonPoint> points = ChainPoints(chain.head);
    ASSERT_EQ(points.size(), 5u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(points[i], ring[i]) << i;   // -170, not the stored 190
    EXPECT_EQ(points[4], ring[0]);
    int index = 0;
    for (ChainNode* node = chain.head; node != nullptr; node = node->GetNext(), ++index) {
        XYPoint xy;
        node->GetXY(xy, false);
        EXPECT_FALSE(node->IsXYStale());
        EXPECT_EQ(xy, Nav2Game::LatLonToXY(points[index]));
    }
}

TEST_F(Zones, CrossingTestsFollowTheMaskAndListOrder)
{
    AddSquare(ZONE_AIR_THREAT, 20, 0, 10);       // zone 1: 20..30 N
    AddSquare(ZONE_SURFACE_THREAT, 0, 0, 10);    // zone 2: 0..10 N

    struct Row {
        const char* name;
        LatLonPoint a, b;
        uint32_t mask;
        bool odd;
        LatLonPoint first;
    };
    const LatLonPoint none = LatLonPoint::None();
    const Row rows[] = {
        {"out of zone 2, surface", At(5, 5), At(5, 15), ZONE_SURFACE_THREAT, true, At(5, 10)},
        {"out of zone 2, air only", At(5, 5), At(5, 15), ZONE_AIR_THREAT, false, none},
        {"through both: list order, not nearest", At(-5, 5), At(35, 5), 0xFFFFFFFF, false, At(20, 5)},
        {"through both, surface only", At(-5, 5), At(35, 5), 0xF0, false, At(0, 5)},
        {"from zone 1 into zone 2", At(25, 5), At(5, 5), 0xFFFFFFFF, true, At(20, 5)},
        {"out of zone 1", At(25, 5), At(35, 5), ZONE_AIR_THREAT, true, At(30, 5)},
        {"no mask", At(5, 5), At(5, 15), 0, false, none},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(list.Any_Odd_Crossing(r.a, r.b, r.mask), r.odd);
        EXPECT_EQ(list.First_Crossing(r.a, r.b, r.mask), r.first);
    }
}

TEST_F(Zones, DrawShowsTheFilteredGroupsInTheirColours)
{
    AddSquare(0x00000010 | 0x00100000, 0, 0);                  // zone 1: surface and air threat
    AddSquare(ZONE_NEUTRAL, 0.2, 0.2);                          // zone 2
    AddSquare(0x00001000, 0.4, 0.4);                            // zone 3: submarine threat
    const XYRect view(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN);

    struct Row {
        const char* name;
        uint32_t filter;
        std::vector<int16_t> colours;   // one per zone drawn, in list order
        size_t markers;
    };
    const Row rows[] = {
        {"surface: the air bit is not shown", ZONE_FILTER_SURFACE, {49}, 1},
        {"surface and air", ZONE_FILTER_SURFACE | ZONE_FILTER_AIR, {48}, 1},
        {"neutral: no marker", ZONE_FILTER_NEUTRAL, {55}, 0},
        {"subsurface and neutral", ZONE_FILTER_SUBSURFACE | ZONE_FILTER_NEUTRAL, {55, 53}, 1},
        {"exclusion only", ZONE_FILTER_EXCLUSION, {}, 0},
        {"everything", 0x01F00000, {48, 55, 53}, 2},
        {"nothing", 0, {}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        RecordingPenScope pen;
        list.Draw(view, r.filter);
        std::vector<int16_t> colours;
        for (const PenCall& call : pen.calls) {
            if (call.kind == PenCall::Move)
                colours.push_back(-1);
            else if (call.kind == PenCall::Line && colours.back() == -1)
                colours.back() = call.colour;
        }
        EXPECT_EQ(colours, r.colours);
        EXPECT_EQ(pen.Count(PenCall::Line), 4 * r.colours.size());
        EXPECT_EQ(pen.Count(PenCall::ZoneMarker), r.markers);
    }

    // One zone in full: outline, then its marker at point 0.
    RecordingPenScope pen;
    list.Draw(view, ZONE_FILTER_SUBSURFACE);
    const AreaPolygon* zone = list.Find(3);
    std::vector<PenCall> expected = {{PenCall::Move, zone->GetXYPoint(0), 0}};
    for (int16_t i = 1; i < 5; ++i)
        expected.push_back({PenCall::Line, zone->GetXYPoint(i), 53});
    expected.push_back({PenCall::ZoneMarker, zone->GetMarkerPoint(), 0});
    EXPECT_EQ(pen.calls, expected);

    // A zone out of view keeps its marker.
    pen.Clear();
    const XYPoint corner = Nav2Game::LatLonToXY(At(-5, -5));
    list.Draw(XYRect(corner.x - 1, corner.y + 1, corner.x, corner.y), ZONE_FILTER_SUBSURFACE);
    EXPECT_EQ(pen.calls, std::vector<PenCall>{expected.back()});
}

TEST_F(Zones, PickMarkerCyclesThroughTheMarkersUnderTheCursor)
{
    AddSquare(0x10, 0, 0);   // zone 1, marker at (0, 0)
    AddSquare(0x10, 5, 5);   // zone 2, marker at (5, 5)
    AddSquare(0x10, 0, 0);   // zone 3, marker at (0, 0)
    const XYRect onOneAndThree = RectAround(At(0, 0));
    const XYRect onTwo = RectAround(At(5, 5));
    const XYRect onNone = RectAround(At(9, 9));

    struct Row {
        const char* name;
        XYRect rect;
        int16_t after, expected;
    };
    const Row rows[] = {
        {"first hit", onOneAndThree, 0, 1},
        {"after 1", onOneAndThree, 1, 3},
        {"after 3 wraps to 1", onOneAndThree, 3, 1},
        {"after 2", onOneAndThree, 2, 3},
        {"only 2, after 0", onTwo, 0, 2},
        {"only 2, after 2: back round to it", onTwo, 2, 0},
        {"only 2, after 1", onTwo, 1, 2},
        {"nothing under the cursor", onNone, 0, 0},
        {"unknown after", onOneAndThree, 9, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(list.PickMarker(r.rect, r.after), r.expected);
    }
}

TEST_F(Zones, PickMarkerStopsAtANeutralZone)
{
    const XYRect cursor = RectAround(At(0, 0));
    EXPECT_EQ(list.PickMarker(cursor, 0), 0);   // empty list
    AddSquare(ZONE_NEUTRAL, 0, 0);
    EXPECT_EQ(list.PickMarker(cursor, 0), 0);   // a lone neutral zone
    AddSquare(0x10, 0, 0);
    AddSquare(0x10, 0, 0);
    EXPECT_EQ(list.PickMarker(cursor, 0), 0);   // the first zone is neutral
    EXPECT_EQ(list.PickMarker(cursor, 1), 2);
    EXPECT_EQ(list.PickMarker(cursor, 2), 3);
    EXPECT_EQ(list.PickMarker(cursor, 3), 0);   // the walk ends at neutral zone 1
}

TEST_F(Zones, SaveAndLoadGiveTheSameZones)
{
    AddSquare(ZONE_SURFACE_THREAT, 0, 0);
    AddOutline(ZONE_NEUTRAL | 0x3, {At(0, 170), At(0, -170), At(10, -170), At(10, 170)});
    AddOutline(ZONE_AIR_SENSOR, {At(1, 1), At(1, 2), At(2, 2), At(1, 1)});
    list.Find(2)->name.Set("Strait");
    list.Delete(1);
    AddSquare(ZONE_SUBMARINE_THREAT, 3, 3);   // zone 4, after 2 and 3

    const std::string bytes = Saved(list);
    // u16 count, then per zone 2 + 16n + 32 + 6 + 2 + (length + 1) bytes.
    const size_t zone2 = 2 + 16 * 5 + 32 + 6 + 2 + 7;
    const size_t zone3 = 2 + 16 * 4 + 32 + 6 + 2 + 8;
    const size_t zone4 = 2 + 16 * 5 + 32 + 6 + 2 + 8;
    EXPECT_EQ(bytes.size(), 2 + zone2 + zone3 + zone4);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\x03\x00", 2));

    std::istringstream in(bytes, std::ios::binary);
    const AreaPolygonList read(in);
    ASSERT_TRUE(in);
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    EXPECT_EQ(Saved(read), bytes);
    EXPECT_EQ(Ids(read), (std::vector<int16_t>{2, 3, 4}));
    for (const AreaPolygon* zone = read.GetFirst(); zone != nullptr; zone = zone->GetNext()) {
        SCOPED_TRACE(zone->GetID());
        const AreaPolygon* original = list.Find(zone->GetID());
        EXPECT_EQ(zone->GetType(), original->GetType());
        EXPECT_STREQ(zone->name.Text(), original->name.Text());
        EXPECT_EQ(zone->GetBounds(), original->GetBounds());
        EXPECT_EQ(zone->GetXYBounds(), original->GetXYBounds());
        ASSERT_EQ(zone->GetPointCount(), original->GetPointCount());
        for (int16_t i = 0; i < zone->GetPointCount(); ++i) {
            EXPECT_EQ(zone->GetLatLonPoint(i), original->GetLatLonPoint(i));
            EXPECT_EQ(zone->GetXYPoint(i), original->GetXYPoint(i));
        }
    }
    EXPECT_EQ(read.GetFirst()->GetBounds().east, Deg(190));
}

TEST_F(Zones, LoadAppendsAfterTheZonesHeld)
{
    AddSquare(0x10, 0, 0);
    const std::string one = Saved(list);
    std::istringstream in(one, std::ios::binary);
    EXPECT_TRUE(list.Load(in));
    EXPECT_EQ(Ids(list), (std::vector<int16_t>{1, 1}));
    std::istringstream empty(std::string("\0\0", 2), std::ios::binary);
    EXPECT_TRUE(list.Load(empty));
    EXPECT_EQ(Ids(list), (std::vector<int16_t>{1, 1}));
}

TEST_F(Zones, ADamagedListIsRefusedWhole)
{
    AddSquare(ZONE_SURFACE_THREAT, 0, 0);
    AddSquare(ZONE_AIR_THREAT, 1, 1);
    const std::string good = Saved(list);

    struct Row {
        std::string name;
        std::string bytes;
    };
    std::vector<Row> rows;
    for (size_t cut = 0; cut < good.size(); ++cut)
        rows.push_back({"cut at " + std::to_string(cut), good.substr(0, cut)});
    // The second record's point count: 0 (no point 0 to unwrap against),
    // negative, and more points than the stream holds.
    const size_t second = 2 + (2 + 16 * 5 + 32 + 6 + 2 + 8);
    for (const auto& [name, count] : {std::pair<const char*, int16_t>{"count 0", 0},
                                      {"count -5", -5},
                                      {"count 30000", 30000}}) {
        std::string bytes = good;
        bytes[second] = static_cast<char>(count & 0xFF);
        bytes[second + 1] = static_cast<char>((count >> 8) & 0xFF);
        rows.push_back({name, bytes});
    }
    rows.push_back({"more zones than stored", std::string("\x03\x00", 2) + good.substr(2)});

    AreaPolygonList held;
    ChainHolder chain(MakeChain(Square(7, 7, 8, 8)));
    ASSERT_EQ(held.Add(0x100, chain.head), 1);
    const std::string before = Saved(held);
    ASSERT_EQ(Ids(held), std::vector<int16_t>{1});

    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::istringstream in(r.bytes, std::ios::binary);
        EXPECT_FALSE(held.Load(in));
        EXPECT_TRUE(in.fail());
        EXPECT_EQ(Saved(held), before);   // nothing of the damaged list kept

        std::istringstream again(r.bytes, std::ios::binary);
        const AreaPolygonList fresh(again);
        EXPECT_TRUE(again.fail());
        EXPECT_EQ(fresh.GetFirst(), nullptr);
    }
}
