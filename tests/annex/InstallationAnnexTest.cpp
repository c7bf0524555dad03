// InstallationAnnexTest.cpp: the installa.dat record against its layout
// (the point list of facilities), and damaged installation files.
#include <gtest/gtest.h>

#include "annex/InstallationAnnex.h"
#include "support/AnnexImage.h"

namespace {

InstallationAnnex* NewBase(uint16_t id)
{
    auto* base = new InstallationAnnex(id);
    base->points.Insert(new IDPoint(12, LatLonPoint(-4096, 8192)));
    base->points.Insert(new IDPoint(5, LatLonPoint(245760, -245760)));
    base->position = LatLonPoint(10 * ANGLE_PER_DEGREE, -20 * ANGLE_PER_DEGREE);
    base->name.Set("North Field");
    base->lastValue = 77;
    return base;
}

} // namespace

TEST(InstallationAnnex, WritesAndReadsTheFileLayout)
{
    const std::unique_ptr<InstallationAnnex> base(NewBase(300));
    // The points go out in key order.
    const std::string v1 = AnnexImage().U16(300)
        .U16(2).U16(5).I32(245760).I32(-245760).U16(12).I32(-4096).I32(8192)
        .I32(10 * ANGLE_PER_DEGREE).I32(-20 * ANGLE_PER_DEGREE).Name("North Field").U32(77).Str();
    EXPECT_EQ(SaveAnnexRecord(*base, 1), v1);

    const auto read = ReadAnnexRecord<InstallationAnnex>(v1, 1);
    ASSERT_TRUE(read);
    const IDPoint* first = read->points.First();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetKey(), 5);
    EXPECT_EQ(first->GetPosition(), LatLonPoint(245760, -245760));
    ASSERT_NE(first->GetNext(), nullptr);
    EXPECT_EQ(first->GetNext()->GetKey(), 12);
    EXPECT_EQ(read->points.GetLastKey(), 12);
    EXPECT_EQ(read->position, LatLonPoint(10 * ANGLE_PER_DEGREE, -20 * ANGLE_PER_DEGREE));
    EXPECT_EQ(read->name, "North Field");
    EXPECT_EQ(read->lastValue, 77u);

    const auto old = ReadAnnexRecord<InstallationAnnex>(v1.substr(0, v1.size() - 4), 0);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->lastValue, 0u);

    ExpectAnnexRoundTrip(*base);
    ExpectAnnexRoundTrip(InstallationAnnex(4));   // empty point list: two zero bytes
}

TEST(InstallationAnnex, PointCountPastTheEndDropsTheRecord)
{
    // Count 2 in the file, room for two 14-byte records, but the first
    // record's point list claims 9 points.
    const std::string body = AnnexImage().U16(2)
        .U16(1).U16(9).U16(5).I32(0).I32(0).I32(0).I32(0).Name("X").U32(0)
        .U16(2).U16(0).I32(0).I32(0).U16(0).U32(0).Str();
    ReportCapture reports;
    std::istringstream in(body);
    AnnexTable<InstallationAnnex> table("installa.dat");
    EXPECT_FALSE(table.Load(in));
    EXPECT_EQ(table.First(), nullptr);
    ASSERT_EQ(reports.errors.size(), 1u);
    EXPECT_EQ(reports.errors[0], "AnnexTable::Load: installa.dat: record 1 of 2 is cut short and dropped");
}

TEST(InstallationAnnex, DamagedFilesAreRefused)
{
    const std::unique_ptr<InstallationAnnex> a(NewBase(1)), b(NewBase(2));
    b->points.DeleteAll();
    ExpectAnnexCutsRefused<InstallationAnnex>({a.get(), b.get()});
    ExpectAnnexCountPastEndRefused(*a);
}
