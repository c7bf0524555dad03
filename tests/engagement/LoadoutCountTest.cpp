// LoadoutCountTest.cpp: how many complete loads a unit's stocks supply:
// the smallest quotient over the load's weapons, a weapon without stock,
// another unit's stocks, and a facility counting on its group's member
// facility.
#include <gtest/gtest.h>

#include <tuple>

#include "WeaponWorld.h"
#include "annex/LoadoutAnnex.h"
#include "units/Group.h"

namespace {

using namespace weapontest;

class LoadoutCount : public testing::Test, public WeaponWorld {
protected:
    LoadoutCount()
    {
        for (auto [key, weapon, rounds] : {std::tuple<uint16_t, uint16_t, uint16_t>{1, MISSILE, 2}, {2, GUN, 100}}) {
            auto* rec = new WeaponRec(key);
            rec->weaponID = weapon;
            rec->shotsLeft = rounds;
            Annex::Tables().WeaponRecs()->Insert(rec);
            load.weaponRecIDs.Insert(new IDNode(key));
        }
        stocks.Append(new StockEntry(100, MISSILE, 10));
        stocks.Append(new StockEntry(101, GUN, 500));
    }
    LoadoutAnnex load{4};
    StockChain stocks;
};

TEST_F(LoadoutCount, SmallestQuotientOverTheWeapons)
{
    EXPECT_EQ(load.CountLoadouts(100, stocks), 0);   // its gun stock is another unit's
    stocks.InsertAfter(new StockEntry(100, GUN, 250), stocks.First());
    EXPECT_EQ(load.CountLoadouts(100, stocks), 2);
    EXPECT_EQ(load.CountLoadouts(102, stocks), 0);   // no stocks at all
    LoadoutAnnex unknown(5);
    unknown.weaponRecIDs.Insert(new IDNode(77));
    EXPECT_EQ(unknown.CountLoadouts(100, stocks), 65535);
}

TEST_F(LoadoutCount, FacilityCountsOnItsGroupsMemberFacility)
{
    auto* group = new Group();
    group->SetKey(300);
    units.Insert(group);
    auto& facility = AddUnit(301, 'F', 0);
    facility.SetParentID(300);
    AddUnit(302, 'F', 0);
    group->members.Insert(new GroupEntry(301));
    group->members.Insert(new GroupEntry(302));
    stocks.Append(new StockEntry(302, MISSILE, 6));
    stocks.Append(new StockEntry(302, GUN, 1000));
    EXPECT_EQ(load.CountLoadouts(301, stocks), 3);
}

}  // namespace
