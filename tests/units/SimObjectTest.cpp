// SimObjectTest.cpp: the identity, flags and position part of simulated
// objects: saved forms, altitude bands and the step toward a target.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/NavMath.h"
#include "support/Bytes.h"
#include "units/ObjectID.h"
#include "units/PositionObject.h"
#include "units/SimObject.h"

namespace {

std::string Saved(const SimObject& object)
{
    std::ostringstream out;
    object.Save(out);
    return out.str();
}

// A SimObject with every saved field set to something telling.
SimObject MakeSample()
{
    SimObject o;
    o.SetSideID(3);
    o.SetSecondID(0xBEEF);
    o.SetStateFlags(0xA021);
    o.SetPosition(LatLonPoint(-12345678, 87654321));
    o.SetXY(XYPoint(-5, 77));
    o.SetAltitude(-15);
    return o;
}

}  // namespace

TEST(ObjectID, SavesSideThenSecond)
{
    std::ostringstream out;
    ObjectID(3, 7).Save(out);
    EXPECT_EQ(out.str(), Bytes({0x03, 0x00, 0x07, 0x00}));

    std::istringstream in(out.str());
    ObjectID back;
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(back.GetSideID(), 3);
    EXPECT_EQ(back.GetSecondID(), 7);
}

TEST(PositionObject, StartsAtTheOriginOnTheSurface)
{
    const PositionObject p;
    EXPECT_EQ(p.GetPosition(), LatLonPoint(0, 0));
    EXPECT_EQ(p.GetAltitude(), 0);
    EXPECT_EQ(p.GetAltitudeBand(), 5);
    EXPECT_FALSE(p.IsXYStale());
}

TEST(PositionObject, AltitudeBands)
{
    struct Row { int16_t altitude; uint16_t band; };
    const Row rows[] = {
        {INT16_MIN, 0}, {-37, 0}, {-36, 1}, {-19, 1}, {-18, 2}, {-10, 2},
        {-9, 3}, {-4, 3}, {-3, 4}, {-2, 4}, {-1, 5}, {0, 5}, {1, 6}, {3, 6},
        {4, 7}, {60, 7}, {61, 8}, {350, 8}, {351, 9}, {2000, 9}, {2001, 10},
        {5000, 10}, {5001, 11}, {INT16_MAX, 11},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.altitude);
        PositionObject p;
        p.SetAltitude(r.altitude);
        EXPECT_EQ(p.GetAltitude(), r.altitude);
        EXPECT_EQ(p.GetAltitudeBand(), r.band);
    }
}

TEST(PositionObject, PositionMarksTheProjectionStale)
{
    PositionObject p;
    p.SetPosition(LatLonPoint(100, 200));
    EXPECT_TRUE(p.IsXYStale());
    XYPoint xy;
    p.GetXY(xy, false);
    EXPECT_TRUE(p.IsXYStale());   // no refresh asked
    p.GetXY(xy, true);
    EXPECT_FALSE(p.IsXYStale());
    p.SetXY(XYPoint(1, 2));
    p.GetXY(xy, true);
    EXPECT_EQ(xy, XYPoint(1, 2));
}

TEST(PositionObject, MoveTowardWithoutAStepStaysPut)
{
    struct Row { uint16_t speed; uint8_t seconds; };
    const Row rows[] = {{0, 15}, {30, 0}, {0, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.speed << " kn, " << int{r.seconds} << " s");
        PositionObject p;
        EXPECT_FALSE(p.MoveToward(LatLonPoint(4096, 0), r.speed, r.seconds));
        EXPECT_EQ(p.GetPosition(), LatLonPoint(0, 0));
        EXPECT_FALSE(p.IsXYStale());
    }
}

TEST(PositionObject, MoveTowardStepsAlongTheLeg)
{
    // 600 kn for 15 s is 2.5 nm = 10240 range units, due north of the origin.
    PositionObject p;
    const LatLonPoint far(10 * 4096 * 4, 0);
    EXPECT_FALSE(p.MoveToward(far, 600, 15));
    EXPECT_EQ(p.GetPosition().lon, 0);
    EXPECT_NEAR(p.GetPosition().lat, 10240, 2);
    EXPECT_TRUE(p.IsXYStale());
}

TEST(PositionObject, MoveTowardArrivesExactly)
{
    // A target well inside one step is reached, and the object sits on it.
    PositionObject p;
    const LatLonPoint target(1000, -700);
    EXPECT_TRUE(p.MoveToward(target, 600, 15));
    EXPECT_EQ(p.GetPosition(), target);

    // A target exactly one step away is moved onto but not reported reached.
    // 225 s at 1 kn is 256 range units; the planar range runs one unit long.
    PositionObject q;
    const LatLonPoint oneStep(255, 0);
    ASSERT_EQ(NavMath::Get_Vector_Planar(q.GetPosition(), oneStep).range, 256);
    EXPECT_FALSE(q.MoveToward(oneStep, 1, 225));
    EXPECT_EQ(q.GetPosition(), oneStep);
}

TEST(SimObject, StartsCleared)
{
    const SimObject o;
    EXPECT_EQ(o.GetSideID(), 0);
    EXPECT_EQ(o.GetSecondID(), 0);
    EXPECT_EQ(o.GetStateFlags(), 0);
    EXPECT_EQ(o.GetAltitudeBand(), 5);
}

TEST(SimObject, SavedLayout)
{
    const std::string bytes = Saved(MakeSample());
    ASSERT_EQ(bytes.size(), 25u);
    EXPECT_EQ(bytes.substr(0, 6), Bytes({0x03, 0x00, 0xEF, 0xBE, 0x21, 0xA0}));
    // latitude -12345678 = 0xFF439EB2, low byte first
    EXPECT_EQ(bytes.substr(6, 4), Bytes({0xB2, 0x9E, 0x43, 0xFF}));
    EXPECT_EQ(bytes.substr(22, 3), Bytes({0xF1, 0xFF, 0x01}));   // altitude -15, stale
}

TEST(SimObject, SaveLoadKeepsEveryField)
{
    const SimObject sample = MakeSample();
    std::istringstream in(Saved(sample));
    SimObject back;
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(back.GetSideID(), 3);
    EXPECT_EQ(back.GetSecondID(), 0xBEEF);
    EXPECT_EQ(back.GetStateFlags(), 0xA021);
    EXPECT_EQ(back.GetPosition(), sample.GetPosition());
    XYPoint xy;
    back.GetXY(xy, false);
    EXPECT_EQ(xy, XYPoint(-5, 77));
    EXPECT_EQ(back.GetAltitude(), -15);
    EXPECT_EQ(back.GetAltitudeBand(), 2);   // derived again from the altitude
    EXPECT_TRUE(back.IsXYStale());
    EXPECT_EQ(Saved(back), Saved(sample));
}

TEST(SimObject, CutRecordChangesNothing)
{
    const std::string bytes = Saved(MakeSample());
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::istringstream in(bytes.substr(0, cut));
        SimObject o;
        o.SetSideID(9);
        o.SetStateFlags(0x0800);
        o.SetAltitude(100);
        const std::string before = Saved(o);
        EXPECT_FALSE(o.Load(in));
        EXPECT_FALSE(in.good());
        EXPECT_EQ(Saved(o), before);
        EXPECT_EQ(o.GetAltitudeBand(), 8);
    }
}

TEST(SimObject, DeletesThroughEitherBase)
{
    // Both bases have virtual destructors; deleting through either frees the
    // whole object (the sanitizer build checks this).
    ObjectID* asID = new SimObject;
    delete asID;
    PositionObject* asPosition = new SimObject;
    delete asPosition;
}
