// GroupEventsTest.cpp: the periodic group review: it runs for a group and
// comes back in 15 minutes with no second copy queued, ends for any other
// unit, and its saved form.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "simulation/GroupEvents.h"
#include "units/Group.h"
#include "units/Plane.h"
#include "units/UnitList.h"

namespace {

class GroupEvents : public testing::Test {
protected:
    GroupEvents()
    {
        previousState = gam2arena::SetArenaState(&arena);
        UnitList::SetArenaList(&units);
        group = new Group;
        group->SetKey(5);
        units.Insert(group);
        auto* plane = new Plane;
        plane->SetKey(6);
        units.Insert(plane);
    }
    ~GroupEvents() override
    {
        while (Event* e = arena.Queue().First()) {
            arena.Queue().Remove(e);
            delete e;
        }
        units.DeleteAll();
        UnitList::SetArenaList(nullptr);
        gam2arena::SetArenaState(previousState);
    }

    ArenaState arena;
    ArenaState* previousState = nullptr;
    UnitList units;
    Group* group = nullptr;
};

TEST_F(GroupEvents, ReviewOfAGroupComesBackAloneAfterFifteenMinutes)
{
    gam2arena::PostEvent(new GroupReviewEvent(5, GameTime(50)));   // a duplicate
    GroupReviewEvent review(5, GameTime(0));
    EXPECT_TRUE(review.HandleEvent());
    EXPECT_EQ(review.GetTime(), GameTime(gam2arena::GetGameTime() + GroupReviewEvent::INTERVAL));
    EXPECT_EQ(gam2arena::FindUnitEvent(5, nullptr, EventCode::GROUP_REVIEW), nullptr);

    GroupReviewEvent other(6, GameTime(0));
    EXPECT_FALSE(other.HandleEvent());
    GroupReviewEvent gone(77, GameTime(0));
    EXPECT_FALSE(gone.HandleEvent());
}

TEST_F(GroupEvents, SavedFormRoundTripsAndACutRecordIsRefused)
{
    GroupReviewEvent review(5, GameTime(1234));
    std::ostringstream out;
    review.Save(out);
    const std::string bytes = out.str();
    ASSERT_EQ(bytes.size(), 7u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), EventCode::GROUP_REVIEW);
    GroupReviewEvent copy;
    std::istringstream in(bytes.substr(1));
    ASSERT_TRUE(copy.Load(in));
    EXPECT_EQ(copy.GetSubject(), 5);
    EXPECT_EQ(copy.GetTime(), GameTime(1234));
    for (size_t cut = 1; cut < bytes.size(); ++cut) {
        GroupReviewEvent damaged;
        std::istringstream part(bytes.substr(1, cut - 1));
        EXPECT_FALSE(damaged.Load(part)) << cut;
    }
}

}  // namespace
