// MountTest.cpp: a mount's saved form round-tripped with its weapon records
// and sensors, and damaged forms (cut short, a count beyond the stream, a
// sensor type no class reads) refused with an error and nothing kept; the
// owner handed on to the sensors.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/ReportCapture.h"
#include "units/Mount.h"
#include "units/UnitTestSupport.h"

namespace {

using namespace unittest;

class MountRecord : public testing::Test {
protected:
    MountRecord()
    {
        mount.SetKey(3);
        mount.state = Mount::STATE_BUSY;
        mount.mountCode = 0x01020304;
        for (uint16_t key : {1, 2}) {
            auto* rec = new WeaponRec(key);
            rec->weaponID = static_cast<uint16_t>(40 + key);
            rec->shotsLeft = 12;
            rec->readyShots = -20;
            rec->lastValue = 9;
            mount.weapons.Insert(rec);
        }
        mount.fireInterval = -2;
        mount.countdown = 30;
        mount.roundsReady = -3;
        auto* sensor = new TestSensor(Sensor::TYPE_RADAR);
        sensor->SetKey(1);
        mount.sensors.Insert(sensor);
        mount.mountAnnexID = 7;
        mount.arcMask = 0x81;
        mount.capacity = 20;
        mount.emptySpace = 4;
        mount.transferBlock = 1;
        mount.inTransfer = 2;
        mount.capabilities = Mount::ENGAGES_WITHOUT_CONTACT;
    }
    std::string Saved(const Mount& m) const
    {
        std::ostringstream out;
        m.Save(out);
        return out.str();
    }

    UnitWorld world;
    Mount mount;
};

TEST_F(MountRecord, RoundTrips)
{
    const std::string bytes = Saved(mount);
    Mount back;
    std::istringstream in(bytes);
    ASSERT_TRUE(back.Load(in));
    EXPECT_EQ(Saved(back), bytes);
    EXPECT_EQ(back.weapons.Find(2)->readyShots, -20);
    EXPECT_EQ(back.roundsReady, -3);
    EXPECT_EQ(back.GetState(), Mount::STATE_BUSY);
}

TEST_F(MountRecord, CutShortIsRefused)
{
    ReportCapture reports;
    const std::string bytes = Saved(mount);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        Mount part;
        std::istringstream in(bytes.substr(0, cut));
        EXPECT_FALSE(part.Load(in)) << cut;
    }
}

TEST_F(MountRecord, CountBeyondTheStreamIsRefused)
{
    std::string bytes = Saved(mount);
    bytes[10] = '\x00';   // the weapon count, low byte first: 0x7F00 records
    bytes[11] = '\x7F';
    Mount back;
    std::istringstream in(bytes);
    EXPECT_FALSE(back.Load(in));
}

TEST_F(MountRecord, UnknownSensorTypeIsRefused)
{
    ReportCapture reports;
    mount.sensors.First()->SetSensorType(99);
    const std::string bytes = Saved(mount);
    Mount back;
    std::istringstream in(bytes);
    EXPECT_FALSE(back.Load(in));
    EXPECT_FALSE(reports.fatals.empty());
    EXPECT_EQ(back.sensors.First(), nullptr);   // nothing half-read kept
}

TEST_F(MountRecord, OwnerReachesTheSensors)
{
    TestUnit owner('S');
    mount.SetOwner(&owner);
    EXPECT_EQ(mount.GetOwner(), &owner);
    EXPECT_EQ(mount.sensors.First()->GetOwner(), &owner);
}

}  // namespace
