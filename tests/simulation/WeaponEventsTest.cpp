// WeaponEventsTest.cpp: the weapon-fire events made through the installed
// calls, their saved forms round-tripped, and damaged records refused with
// nothing kept.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/StreamFields.h"
#include "simulation/WeaponEvents.h"
#include "units/PositionNode.h"

namespace {

template <class E>
std::string Saved(const E& event)
{
    std::ostringstream out;
    event.Save(out);
    return out.str();
}

// Reads a record saved by Save, past its type byte.
template <class E>
bool Reload(const std::string& bytes, E& into)
{
    std::istringstream in(bytes.substr(1));
    return into.Load(in);
}

TEST(WeaponEvents, InstalledBehindTheWeaponFireCalls)
{
    InstallWeaponEvents();
    const WeaponFireCalls& calls = GetWeaponFireCalls();
    ASSERT_NE(calls.makeGunFireEvent, nullptr);
    Event* gun = calls.makeGunFireEvent(3, 4, 5, 6);
    EXPECT_EQ(gun->TypeCode(), EventCode::GUN_FIRE);
    delete gun;
    UninstallWeaponEvents();
    EXPECT_EQ(GetWeaponFireCalls().makeGunFireEvent, nullptr);
}

TEST(WeaponEvents, NewUnitRoundTripsWithItsPath)
{
    NewWeaponOrder order;
    order.side = 2;
    order.weaponID = 17;
    order.launcherID = 40;
    order.targetID = 41;
    order.aimValue = 1;
    order.due = GameTime(300);
    order.path = new PositionNode(LatLonPoint(100, 200), 5);
    auto* aim = new PositionNode(LatLonPoint(300, 400), 0);
    order.path->SetNext(aim);
    aim->SetPrev(order.path);
    const NewUnitEvent event(order);
    const std::string bytes = Saved(event);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), EventCode::NEW_UNIT);
    NewUnitEvent back;
    ASSERT_TRUE(Reload(bytes, back));
    EXPECT_EQ(Saved(back), bytes);
    EXPECT_EQ(back.GetTime().Get(), 300u);
    ASSERT_NE(back.order.path, nullptr);
    EXPECT_EQ(back.order.path->GetNext()->GetPosition().lat, 300);
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        NewUnitEvent part;
        EXPECT_FALSE(Reload(bytes.substr(0, cut), part)) << cut;
        EXPECT_EQ(part.order.path, nullptr) << cut;
    }
}

TEST(WeaponEvents, NewUnitRefusesAPathCountBeyondTheStream)
{
    NewUnitEvent event;
    std::string bytes = Saved(event);
    bytes[17] = '\x30';   // the node count
    NewUnitEvent back;
    EXPECT_FALSE(Reload(bytes, back));
    EXPECT_EQ(back.order.path, nullptr);
}

TEST(WeaponEvents, GunFireAndReloadRoundTrip)
{
    GunFireEvent gun(3, 4, 5, 6);
    gun.SetTime(GameTime(77));
    const std::string gunBytes = Saved(gun);
    GunFireEvent gunBack;
    ASSERT_TRUE(Reload(gunBytes, gunBack));
    EXPECT_EQ(Saved(gunBack), gunBytes);
    GunFireEvent gunCut;
    EXPECT_FALSE(Reload(gunBytes.substr(0, gunBytes.size() - 1), gunCut));

    RoundTransferOrder order;
    order.amount = 5;
    order.magazineID = 9;
    order.passedValue = 0x12345678;
    order.due = GameTime(60);
    const ReloadEvent reload(order);
    const std::string bytes = Saved(reload);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), EventCode::RELOAD);
    ReloadEvent back;
    ASSERT_TRUE(Reload(bytes, back));
    EXPECT_EQ(Saved(back), bytes);
    EXPECT_EQ(back.order.due.Get(), 60u);
    ReloadEvent cut;
    EXPECT_FALSE(Reload(bytes.substr(0, bytes.size() - 2), cut));
}

}  // namespace
