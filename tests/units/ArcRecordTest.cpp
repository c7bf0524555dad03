// ArcRecordTest.cpp: the sector containment test either side of north and
// the sector's 16-byte saved form.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/Units.h"
#include "units/ArcRecord.h"

namespace {

constexpr int32_t Deg(int32_t d) { return d * ANGLE_PER_DEGREE; }

TEST(ArcRecord, ContainsWrapsPastNorth)
{
    struct Row { int32_t centre, half, b; bool in; };
    const Row rows[] = {
        {Deg(10), Deg(20), Deg(355), true},    // below 0, taken round
        {Deg(10), Deg(20), Deg(25), true},
        {Deg(10), Deg(20), Deg(30), true},     // the end itself
        {Deg(10), Deg(20), Deg(31), false},
        {Deg(10), Deg(20), Deg(349), false},
        {Deg(10), Deg(20), Deg(350), true},
        {Deg(350), Deg(20), Deg(5), true},     // past a full circle, taken round
        {Deg(350), Deg(20), Deg(340), true},
        {Deg(350), Deg(20), Deg(10), true},
        {Deg(350), Deg(20), Deg(11), false},
        {Deg(350), Deg(20), Deg(329), false},
        {Deg(120), Deg(30), Deg(90), true},
        {Deg(120), Deg(30), Deg(150), true},
        {Deg(120), Deg(30), Deg(90) - 1, false},
        {Deg(120), Deg(30), 0, false},
        {Deg(120), Deg(30), Deg(151), false},
        {Deg(120), Deg(30), Deg(359), false},
        {0, 0, 0, true},                       // a bare line holds itself
        {0, 0, ANGLE_FULL - 1, false},
        {INT32_MAX, INT32_MAX, 0, true},       // ends beyond 32 bits do not wrap
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.centre << " +- " << r.half << " holds " << r.b);
        EXPECT_EQ(ArcRecord(r.centre, r.half).Contains(r.b), r.in);
    }
}

TEST(ArcRecord, NewSectorTakesTheDefaults)
{
    ArcRecord arc(Deg(45), Deg(15));
    EXPECT_EQ(arc.Get(), Deg(45));
    EXPECT_EQ(arc.halfWidth, Deg(15));
    EXPECT_EQ(arc.weight, 33u);
    EXPECT_EQ(arc.tracking, 0);
    EXPECT_EQ(arc.contactID, 0);
    EXPECT_EQ(arc.value2, 0u);
    EXPECT_EQ(arc.userSet, 0);
    arc.Set(Deg(300));
    EXPECT_EQ(arc.Get(), Deg(300));
    EXPECT_EQ(arc.halfWidth, Deg(15));
}

TEST(ArcRecord, SavesSixteenBytesAndKeepsLowWordsOfTheWideFields)
{
    ArcRecord arc(-Deg(5), Deg(30));
    arc.spare = 77;
    arc.tracking = 1;
    arc.contactID = 0xBEEF;
    arc.weight = 70000;       // 0x11170: saved as 0x1170 = 4464
    arc.value2 = 0x1FFFF;     // saved as 0xFFFF, read back without sign
    arc.userSet = 1;
    std::ostringstream out;
    arc.Save(out);
    const std::string bytes = out.str();
    ASSERT_EQ(bytes.size(), 16u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[9]), 0xEF);    // contactID at 9, low byte first
    EXPECT_EQ(static_cast<unsigned char>(bytes[11]), 0x70);   // weight at 11
    EXPECT_EQ(static_cast<unsigned char>(bytes[12]), 0x11);
    EXPECT_EQ(static_cast<unsigned char>(bytes[15]), 1);      // userSet last

    ArcRecord back;
    back.spare = 5;
    std::istringstream in(bytes);
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(back.bearing, -Deg(5));
    EXPECT_EQ(back.halfWidth, Deg(30));
    EXPECT_EQ(back.spare, 0);
    EXPECT_EQ(back.tracking, 1);
    EXPECT_EQ(back.contactID, 0xBEEF);
    EXPECT_EQ(back.weight, 4464u);
    EXPECT_EQ(back.value2, 0xFFFFu);
    EXPECT_EQ(back.userSet, 1);

    std::ostringstream plain;
    ArcRecord().Save(plain);
    EXPECT_EQ(plain.str().size(), 16u);
}

TEST(ArcRecord, ShortFormIsRefusedAndLeavesTheSector)
{
    ArcRecord arc(Deg(200), Deg(10));
    arc.weight = 90;
    std::ostringstream out;
    arc.Save(out);
    const std::string bytes = out.str();
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        ArcRecord target(Deg(7), Deg(8));
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(target.Load(in));
        EXPECT_EQ(target.bearing, Deg(7));
        EXPECT_EQ(target.halfWidth, Deg(8));
        EXPECT_EQ(target.weight, 33u);
    }
}

}  // namespace
