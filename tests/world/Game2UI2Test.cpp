// Game2UI2Test.cpp: the player's side and the per-side zone lists the bridge
// hands out, and what the player may see, through their stand-ins.
#include <gtest/gtest.h>

#include "world/AreaPolygonList.h"
#include "world/Game2UI2.h"
#include "world/game2ui.h"

namespace {

class SideRegistry : public testing::Test {
protected:
    ~SideRegistry() override
    {
        Game2UI2::ClearThreatZoneLists();
        game2ui::ClearVisibility();
    }

    AreaPolygonList first, second;
};

TEST_F(SideRegistry, ZoneListsAreFoundBySideAndZeroIsThePlayers)
{
    EXPECT_EQ(Game2UI2::GetCurrentSideID(), 0);
    EXPECT_EQ(Game2UI2::GetThreatZoneList(0), nullptr);   // no player side yet
    Game2UI2::SetThreatZoneList(1, &first);
    Game2UI2::SetThreatZoneList(2, &second);
    Game2UI2::SetThreatZoneList(0, &second);              // 0 is no side of its own
    EXPECT_EQ(Game2UI2::GetThreatZoneList(0), nullptr);

    Game2UI2::SetCurrentSideID(2);
    struct Row { uint16_t side; AreaPolygonList* expected; };
    const Row rows[] = {{1, &first}, {2, &second}, {0, &second}, {3, nullptr}, {0xFFFF, nullptr}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.side);
        EXPECT_EQ(Game2UI2::GetThreatZoneList(r.side), r.expected);
    }

    Game2UI2::SetThreatZoneList(1, &second);   // replaced
    EXPECT_EQ(Game2UI2::GetThreatZoneList(1), &second);
    Game2UI2::SetThreatZoneList(1, nullptr);   // the side is gone
    EXPECT_EQ(Game2UI2::GetThreatZoneList(1), nullptr);

    Game2UI2::ClearThreatZoneLists();
    EXPECT_EQ(Game2UI2::GetCurrentSideID(), 0);
    EXPECT_EQ(Game2UI2::GetThreatZoneList(2), nullptr);
}

TEST_F(SideRegistry, UnitsVisibleToThePlayer)
{
    game2ui::SetVisibleToPlayer(7, true);
    EXPECT_TRUE(game2ui::IsVisibleToPlayer(7));
    EXPECT_FALSE(game2ui::IsVisibleToPlayer(8));
    EXPECT_FALSE(game2ui::IsVisibleToPlayer(0));

    game2ui::SetShowAll(true);
    EXPECT_TRUE(game2ui::IsVisibleToPlayer(8));
    EXPECT_FALSE(game2ui::IsVisibleToPlayer(0));   // unit 0 is no unit

    game2ui::SetShowAll(false);
    game2ui::SetVisibleToPlayer(7, false);
    EXPECT_FALSE(game2ui::IsVisibleToPlayer(7));
}

} // namespace
