// ReferencePointTest.cpp: a side's map points: their labels, the number a new
// point takes, and the saved form, whole and damaged.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "UnitTestSupport.h"
#include "units/ReferencePoint.h"

namespace {

using unittest::UnitWorld;

TEST(ReferencePoint, LabelsFromNameAndNumber)
{
    UnitWorld world;
    struct Row { const char* name; uint16_t number; const char* label; };
    const Row rows[] = {
        {"Alpha", 12, "Alph12   "},
        {"Bo", 3, "Bo3   "},          // shorter than four: used whole
        {"", 7, "Ref point"},        // nameless: the resource text alone
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ReferencePoint point(r.number);
        point.name.Set(r.name);
        point.MakeLabel();
        EXPECT_STREQ(point.label.Text(), r.label);
    }
}

TEST(ReferencePoint, NewPointsFillTheFirstGap)
{
    struct Row { std::vector<uint16_t> held; uint16_t next; };
    const Row rows[] = {
        {{1, 2, 4}, 3},
        {{1, 2, 3, 4, 5}, 6},
        {{}, 1},
        {{2, 3}, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.next);
        TreeListOf<ReferencePoint> points;
        for (uint16_t n : r.held)
            points.Insert(new ReferencePoint(n));
        EXPECT_EQ(FindFreePointNumber(points), r.next);
        points.DeleteAll();
    }
}

TEST(ReferencePoint, ConstructionDefaults)
{
    const ReferencePoint point(4);
    EXPECT_EQ(point.GetKey(), 4);
    EXPECT_EQ(point.GetStateFlags(), 40960);
    EXPECT_EQ(point.flag, 0);
    EXPECT_STREQ(point.name.Text(), "");
}

std::string SavedSample()
{
    ReferencePoint point(12);
    point.name.Set("Alpha");
    point.flag = 5;
    point.SetSideID(3);
    point.SetPosition({60 * 245760, -2 * 245760});
    point.SetAltitude(-4);
    std::ostringstream out;
    point.Save(out);
    return out.str();
}

TEST(ReferencePoint, RoundTrips)
{
    UnitWorld world;
    std::istringstream in(SavedSample());
    ReferencePoint loaded;
    ASSERT_TRUE(loaded.Load(in));
    EXPECT_EQ(loaded.GetKey(), 12);
    EXPECT_EQ(loaded.GetSideID(), 3);
    EXPECT_EQ(loaded.GetStateFlags(), 40960);
    EXPECT_EQ(loaded.GetPosition().lat, 60 * 245760);
    EXPECT_EQ(loaded.GetPosition().lon, -2 * 245760);
    EXPECT_EQ(loaded.GetAltitude(), -4);
    EXPECT_STREQ(loaded.name.Text(), "Alpha");
    EXPECT_EQ(loaded.flag, 5);
    EXPECT_STREQ(loaded.label.Text(), "Alph12   ");   // rebuilt, not saved
}

TEST(ReferencePoint, DamagedFormIsRefusedWhole)
{
    UnitWorld world;
    const std::string whole = SavedSample();
    std::vector<std::string> damaged;
    for (size_t cut = 0; cut < whole.size(); ++cut)
        damaged.push_back(whole.substr(0, cut));
    // A name length far beyond what the stream holds.
    std::string longName = whole;
    const size_t nameAt = 2 + 6 + 19;
    longName[nameAt] = static_cast<char>(0xFF);
    longName[nameAt + 1] = static_cast<char>(0x7F);
    damaged.push_back(longName);
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        std::istringstream in(bytes);
        ReferencePoint point(9);
        point.name.Set("Keep");
        point.MakeLabel();
        EXPECT_FALSE(point.Load(in));
        EXPECT_EQ(point.GetKey(), 9);          // nothing half-read is kept
        EXPECT_EQ(point.GetSideID(), 0);
        EXPECT_STREQ(point.name.Text(), "Keep");
        EXPECT_STREQ(point.label.Text(), "Keep9   ");
    }
}

}  // namespace
