// Tests of the gam2arena accessors over the installed ArenaState: neutral
// answers with nothing installed, posting and finding events, scripted random
// draws, and the calendar the game clock shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Event.h"
#include "core/gam2arena.h"

namespace {

class NoteEvent : public Event {
public:
    NoteEvent(std::vector<std::string>& log, std::string name, uint32_t due,
              uint16_t subject = 0, uint8_t code = 0x70)
        : log_(log), name_(std::move(name)), subject_(subject), code_(code)
    {
        SetDueTime(due);
    }
    ~NoteEvent() override { log_.push_back("~" + name_); }

    bool HandleEvent() override { log_.push_back(name_); return false; }
    uint16_t GetSubject() const override { return subject_; }
    uint8_t TypeCode() const override { return code_; }
    bool Load(std::istream& in) override { return LoadBase(in); }
    void Save(std::ostream& out) const override { SaveBase(out); }

private:
    std::vector<std::string>& log_;
    std::string name_;
    uint16_t subject_;
    uint8_t code_;
};

class Gam2ArenaTest : public testing::Test {
protected:
    Gam2ArenaTest() { previous_ = gam2arena::SetArenaState(&state); }
    ~Gam2ArenaTest() override { gam2arena::SetArenaState(previous_); }

    NoteEvent* Post(const std::string& name, uint32_t due, uint16_t subject = 0,
                    uint8_t code = 0x70)
    {
        auto* event = new NoteEvent(log, name, due, subject, code);
        gam2arena::PostEvent(event);
        return event;
    }

    // Handles every event due at now; answers the names handled.
    std::vector<std::string> Drain(uint32_t now)
    {
        log.clear();
        while (!state.Queue().ProcessDueEvents(now)) {}
        std::vector<std::string> handled;
        for (const std::string& entry : log)
            if (entry[0] != '~')
                handled.push_back(entry);
        return handled;
    }

    std::vector<std::string> log;   // outlives the queued events
    ArenaState state;

private:
    ArenaState* previous_ = nullptr;
};

using Names = std::vector<std::string>;

TEST(Gam2Arena, AnswersNeutrallyWithNothingInstalled)
{
    ArenaState* const previous = gam2arena::SetArenaState(nullptr);
    EXPECT_EQ(gam2arena::GetArenaState(), nullptr);
    EXPECT_EQ(gam2arena::GetGameTime(), 0u);
    EXPECT_EQ(gam2arena::GetTimeCompression(), 0);
    EXPECT_EQ(gam2arena::Random(100), 0);

    GameClockRecord record;
    record.year = 55;
    record.month = 7;
    EXPECT_FALSE(gam2arena::GetGameDateTime(record));
    EXPECT_EQ(record.year, 55);                    // untouched
    EXPECT_EQ(record.month, 7);

    // A posted event stays with the caller, neither queued nor deleted.
    std::vector<std::string> log;
    NoteEvent event(log, "kept", 0);
    gam2arena::PostEvent(&event);
    gam2arena::PostEvent(nullptr);
    EXPECT_EQ(event.GetNext(), nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(gam2arena::FindEvent(nullptr, EventCode::ANY), nullptr);
    EXPECT_EQ(gam2arena::FindUnitEvent(1, nullptr, 0x70), nullptr);
    gam2arena::RemoveUnitEvents(1, 0);
    gam2arena::SetArenaState(previous);
}

TEST(Gam2Arena, StateDestroyedWhileInstalledUninstallsItself)
{
    ArenaState* const previous = gam2arena::GetArenaState();
    {
        ArenaState inner;
        gam2arena::SetArenaState(&inner);
        inner.SetGameTime(42);
        EXPECT_EQ(gam2arena::GetGameTime(), 42u);
    }
    EXPECT_EQ(gam2arena::GetArenaState(), nullptr);
    EXPECT_EQ(gam2arena::GetGameTime(), 0u);
    gam2arena::SetArenaState(previous);
}

TEST_F(Gam2ArenaTest, PostedEventsAreHandledInTimeOrderWithTiesInPostingOrder)
{
    Post("t50a", 50);
    Post("t20", 20);
    Post("z1", 0);
    Post("t50b", 50);
    Post("z2", 0);
    state.SetGameTime(45);                         // the next walk starts at the front
    Post("t30", 30);
    Post("z3", 0);
    EXPECT_EQ(Drain(0), (Names{"z1", "z2", "z3"}));
    EXPECT_EQ(Drain(49), (Names{"t20", "t30"}));
    EXPECT_EQ(Drain(50), (Names{"t50a", "t50b"}));
    EXPECT_TRUE(state.Queue().IsEmpty());
}

TEST_F(Gam2ArenaTest, RemoveUnitEventsKeepsOtherUnitsInOrder)
{
    Post("u1a", 10, 1, 0x70);
    Post("u2a", 20, 2, 0x70);
    Post("u1b", 30, 1, 0x71);
    Post("u2b", 40, 2, 0x71);
    Post("u1c", 50, 1, 0x70);

    gam2arena::RemoveUnitEvents(1, 0x70);
    EXPECT_EQ(log, (Names{"~u1a", "~u1c"}));
    gam2arena::RemoveUnitEvents(2, 0);
    EXPECT_EQ(log, (Names{"~u1a", "~u1c", "~u2a", "~u2b"}));
    EXPECT_EQ(Drain(100), Names{"u1b"});
}

TEST_F(Gam2ArenaTest, FindsEventsByTypeAndBySubject)
{
    NoteEvent* const a = Post("a", 10, 1, 0x70);
    NoteEvent* const b = Post("b", 20, 2, 0x70);
    NoteEvent* const c = Post("c", 30, 2, 0x71);
    NoteEvent* const d = Post("d", 40, 2, 0x70);

    EXPECT_EQ(gam2arena::FindEvent(nullptr, EventCode::ANY), a);
    EXPECT_EQ(gam2arena::FindEvent(b, EventCode::ANY), c);
    EXPECT_EQ(gam2arena::FindEvent(a, 0x70), b);
    EXPECT_EQ(gam2arena::FindEvent(nullptr, 0x71), c);
    EXPECT_EQ(gam2arena::FindEvent(d, 0x70), nullptr);

    EXPECT_EQ(gam2arena::FindUnitEvent(2, nullptr, 0x70), b);
    EXPECT_EQ(gam2arena::FindUnitEvent(2, b, 0x70), d);
    EXPECT_EQ(gam2arena::FindUnitEvent(2, d, 0x70), nullptr);
    EXPECT_EQ(gam2arena::FindUnitEvent(1, a, 0x70), nullptr);
    EXPECT_EQ(gam2arena::FindUnitEvent(3, nullptr, 0x70), nullptr);

    // Any type: each step of the search moves on by one event.
    EXPECT_EQ(gam2arena::FindUnitEvent(2, nullptr, EventCode::ANY), b);
    EXPECT_EQ(gam2arena::FindUnitEvent(2, b, EventCode::ANY), c);
    EXPECT_EQ(gam2arena::FindUnitEvent(2, c, EventCode::ANY), d);
    EXPECT_EQ(gam2arena::FindUnitEvent(1, a, EventCode::ANY), nullptr);
}

TEST_F(Gam2ArenaTest, RandomDrawsFollowTheGameGeneratorsSeed)
{
    state.Generator().SetSeed(12345);
    RandomGen script;
    script.SetSeed(12345);
    for (uint16_t n : {uint16_t{100}, uint16_t{7}, uint16_t{0xFFFF}, uint16_t{2}, uint16_t{360}}) {
        SCOPED_TRACE(n);
        const uint16_t draw = gam2arena::Random(n);
        EXPECT_EQ(draw, script.MPRandom(n));
        EXPECT_LT(draw, n);
    }

    // n = 1 always draws 0; n = 0 draws 0 and still moves the seed on.
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(gam2arena::Random(1), 0);
    const uint32_t before = state.Generator().QuerySeed();
    EXPECT_EQ(gam2arena::Random(0), 0);
    EXPECT_NE(state.Generator().QuerySeed(), before);

    // A known seed gives a known draw: seed 1 becomes 69070, and
    // (69070 >> 16) * 65535 >> 15 is 1.
    state.Generator().SetSeed(1);
    EXPECT_EQ(gam2arena::Random(0xFFFF), 1);
    EXPECT_EQ(state.Generator().QuerySeed(), 69070u);
}

TEST_F(Gam2ArenaTest, ClockShowsTheStartDatePlusGameTime)
{
    struct Start { uint16_t year; uint8_t month, day, hour, minute, second; };
    struct Row { const char* what; Start start; uint32_t seconds; GameClockRecord expected; };
    const Row rows[] = {
        {"start itself", {1991, 1, 1, 0, 0, 0}, 0, {1, 91, 1, 1, 0, 0, 0}},
        {"one second short of a day", {1991, 1, 1, 0, 0, 0}, 86399, {1, 91, 1, 1, 23, 59, 59}},
        {"next day", {1991, 1, 1, 0, 0, 0}, 86400, {1, 91, 1, 2, 0, 0, 0}},
        {"into February", {1991, 1, 31, 12, 0, 0}, 12 * 3600, {1, 91, 2, 1, 0, 0, 0}},
        {"no 29 February 1991", {1991, 2, 28, 23, 59, 59}, 1, {1, 91, 3, 1, 0, 0, 0}},
        {"29 February 1992", {1992, 2, 28, 23, 59, 59}, 1, {1, 92, 2, 29, 0, 0, 0}},
        {"new year", {1991, 12, 31, 23, 59, 30}, 31, {1, 92, 1, 1, 0, 0, 1}},
        {"2000 is leap", {2000, 2, 28, 0, 0, 0}, 86400, {1, 100, 2, 29, 0, 0, 0}},
        {"1900 is not", {1900, 2, 28, 0, 0, 0}, 86400, {1, 0, 3, 1, 0, 0, 0}},
        {"a year on", {1991, 6, 15, 6, 30, 0}, 365u * 86400, {1, 92, 6, 14, 6, 30, 0}},
        {"largest game time", {1991, 1, 1, 0, 0, 0}, 0xFFFFFFFFu, {1, 227, 2, 7, 6, 28, 15}},
        {"past the record's years", {2100, 1, 1, 0, 0, 0}, 0xFFFFFFFFu, {1, 255, 12, 31, 23, 59, 59}},
    };
    state.SetTimeCompression(1);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ASSERT_TRUE(state.SetStartDate(r.start.year, r.start.month, r.start.day, r.start.hour,
                                       r.start.minute, r.start.second));
        state.SetGameTime(r.seconds);
        GameClockRecord got;
        ASSERT_TRUE(gam2arena::GetGameDateTime(got));
        EXPECT_EQ(got.compression, r.expected.compression);
        EXPECT_EQ(got.year, r.expected.year);
        EXPECT_EQ(got.month, r.expected.month);
        EXPECT_EQ(got.day, r.expected.day);
        EXPECT_EQ(got.hour, r.expected.hour);
        EXPECT_EQ(got.minute, r.expected.minute);
        EXPECT_EQ(got.second, r.expected.second);
    }
}

TEST_F(Gam2ArenaTest, RefusesAStartDateOutOfRange)
{
    struct Row { uint16_t year; uint8_t month, day, hour, minute, second; };
    const Row rows[] = {
        {1899, 12, 31, 0, 0, 0}, {2156, 1, 1, 0, 0, 0}, {1991, 0, 1, 0, 0, 0},
        {1991, 13, 1, 0, 0, 0},  {1991, 2, 29, 0, 0, 0}, {1991, 4, 31, 0, 0, 0},
        {1991, 1, 0, 0, 0, 0},   {1991, 1, 1, 24, 0, 0}, {1991, 1, 1, 0, 60, 0},
        {1991, 1, 1, 0, 0, 60},
    };
    ASSERT_TRUE(state.SetStartDate(1995, 5, 5, 5, 5, 5));
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.year << "-" << int{r.month} << "-" << int{r.day}
                                        << " " << int{r.hour} << ":" << int{r.minute} << ":"
                                        << int{r.second});
        EXPECT_FALSE(state.SetStartDate(r.year, r.month, r.day, r.hour, r.minute, r.second));
    }
    GameClockRecord got;
    ASSERT_TRUE(gam2arena::GetGameDateTime(got));   // the old start stands
    EXPECT_EQ(got.year, 95);
    EXPECT_EQ(got.second, 5);
}

TEST_F(Gam2ArenaTest, ClockAndCompressionAreSetByHand)
{
    EXPECT_EQ(gam2arena::GetGameTime(), 0u);
    state.SetGameTime(1000);
    state.AdvanceGameTime(15);
    EXPECT_EQ(gam2arena::GetGameTime(), 1015u);
    state.SetGameTime(0xFFFFFFF0u);
    state.AdvanceGameTime(0x20);                   // wraps like the saved u32
    EXPECT_EQ(gam2arena::GetGameTime(), 0x10u);

    EXPECT_EQ(gam2arena::GetTimeCompression(), 0);
    state.SetTimeCompression(60);
    EXPECT_EQ(gam2arena::GetTimeCompression(), 60);
    GameClockRecord got;
    ASSERT_TRUE(gam2arena::GetGameDateTime(got));
    EXPECT_EQ(got.compression, 60);
}

} // namespace
