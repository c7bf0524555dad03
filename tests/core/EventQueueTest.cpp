// Tests of Event's base behaviour and saved base, the type-code table, and
// EventQueue: placing by due time from either end, the front segment of
// events due at once, handling with re-posting and deletion, taking events
// out, and taking over a loaded chain.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/Event.h"
#include "core/EventQueue.h"
#include "core/gam2arena.h"
#include "support/Bytes.h"
#include "support/ReportCapture.h"

namespace {

// An event that records its handling and its end in a shared log, and whose
// handler the test chooses.
class LogEvent : public Event {
public:
    LogEvent(std::vector<std::string>& log, std::string name, uint32_t due,
             uint16_t subject = 0, uint8_t code = 0x70)
        : log_(log), name_(std::move(name)), subject_(subject), code_(code)
    {
        SetDueTime(due);
    }
    ~LogEvent() override { log_.push_back("~" + name_); }

    bool HandleEvent() override
    {
        log_.push_back(name_);
        return onHandle ? onHandle(*this) : false;
    }
    uint16_t GetSubject() const override { return subject_; }
    void SetSubject(uint16_t subject) override { subject_ = subject; }
    uint8_t TypeCode() const override { return code_; }

    // Record: code, subject u16, due time u32.
    bool Load(std::istream& in) override
    {
        StreamInt16 subject;
        subject.Load(in);
        LoadBase(in);
        subject_ = subject;
        return static_cast<bool>(in);
    }
    void Save(std::ostream& out) const override
    {
        StreamInt8(code_).Save(out);
        StreamInt16(subject_).Save(out);
        SaveBase(out);
    }

    const std::string& Name() const { return name_; }

    std::function<bool(LogEvent&)> onHandle;   // empty: answer false

private:
    std::vector<std::string>& log_;
    std::string name_;
    uint16_t subject_;
    uint8_t code_;
};

// The bare base: every optional operation left as Event has it.
class BareEvent : public Event {
public:
    bool HandleEvent() override { return false; }
    bool Load(std::istream& in) override { return LoadBase(in); }
    void Save(std::ostream& out) const override { SaveBase(out); }
};

// A queue with a game clock installed, so that tests choose "now", which
// picks the end a walk starts from.
class EventQueueTest : public testing::Test {
protected:
    EventQueueTest() : queue(state.Queue()) { previous_ = gam2arena::SetArenaState(&state); }
    ~EventQueueTest() override { gam2arena::SetArenaState(previous_); }

    LogEvent* Make(const std::string& name, uint32_t due, uint16_t subject = 0,
                   uint8_t code = 0x70)
    {
        return new LogEvent(log, name, due, subject, code);
    }
    LogEvent* Add(const std::string& name, uint32_t due, uint16_t subject = 0,
                  uint8_t code = 0x70)
    {
        LogEvent* const event = Make(name, due, subject, code);
        queue.Add(event);
        return event;
    }

    // Empties the queue, head first; it forgets its tail time and cursor.
    void Clear()
    {
        while (Event* const e = queue.First()) {
            queue.Remove(e);
            delete e;
        }
        log.clear();
    }

    // Names in chain order, head first; also checks the back links agree.
    std::vector<std::string> Order() const
    {
        std::vector<std::string> names;
        const Event* before = nullptr;
        for (Event* e = queue.First(); e != nullptr; e = e->GetNext()) {
            EXPECT_EQ(e->GetPrev(), before);
            names.push_back(static_cast<LogEvent*>(e)->Name());
            before = e;
        }
        EXPECT_EQ(queue.Events().Last(), before);
        return names;
    }

    std::vector<std::string> log;   // outlives the events that write to it
    ArenaState state;
    EventQueue& queue;              // the installed state's, as PostEvent's

private:
    ArenaState* previous_ = nullptr;
};

using Names = std::vector<std::string>;

TEST_F(EventQueueTest, PlacesByDueTimeKeepingAddingOrderWhicheverEndItWalksFrom)
{
    // Each row queues its base events with the clock at 0, sets the clock to
    // `now` and adds the rest. The midpoint between now and the tail time
    // sends an event from the tail backwards (due after the midpoint) or
    // from the front forwards (otherwise); both must give the same place.
    struct Adding { const char* name; uint32_t due; };
    const std::vector<Adding> base = {{"a10", 10}, {"b20", 20}, {"c40", 40}, {"d50", 50}};
    struct Row {
        const char* what; std::vector<Adding> base; uint32_t now; std::vector<Adding> adds;
        Names expected;
    };
    const Row rows[] = {
        {"30 from the tail", base, 0, {{"x30", 30}}, {"a10", "b20", "x30", "c40", "d50"}},
        {"30 from the front", base, 40, {{"x30", 30}}, {"a10", "b20", "x30", "c40", "d50"}},
        {"equal to one, from the tail", base, 0, {{"x40", 40}, {"y40", 40}},
         {"a10", "b20", "c40", "x40", "y40", "d50"}},
        {"equal to one, from the front", base, 45, {{"x20", 20}, {"y20", 20}},
         {"a10", "b20", "x20", "y20", "c40", "d50"}},
        {"before the head, from the front", base, 0, {{"x5", 5}},
         {"x5", "a10", "b20", "c40", "d50"}},
        {"before the head, from the tail", {{"a10", 10}, {"b12", 12}}, 0, {{"x8", 8}},
         {"x8", "a10", "b12"}},
        {"equal to the tail appends", base, 0, {{"x50", 50}, {"y50", 50}},
         {"a10", "b20", "c40", "d50", "x50", "y50"}},
        {"after the tail appends", base, 60, {{"x70", 70}, {"y60", 60}},
         {"a10", "b20", "c40", "d50", "y60", "x70"}},
        {"behind those due at once", {{"z", 0}, {"a10", 10}, {"b20", 20}}, 0,
         {{"x5", 5}, {"y0", 0}}, {"z", "y0", "x5", "a10", "b20"}},
        {"late clock, from the front", {{"a", 0xFFFFFF00u}, {"c", 0xFFFFFFF0u}}, 0xFFFFFFE0u,
         {{"b", 0xFFFFFF80u}}, {"a", "b", "c"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Clear();
        state.SetGameTime(0);
        for (const Adding& a : r.base)
            Add(a.name, a.due);
        state.SetGameTime(r.now);
        for (const Adding& a : r.adds)
            Add(a.name, a.due);
        EXPECT_EQ(Order(), r.expected);
    }
}

TEST_F(EventQueueTest, HandlesEqualTimesInTheOrderAdded)
{
    Add("first", 50);
    Add("second", 50);
    Add("third", 50);
    while (!queue.ProcessDueEvents(50)) {}
    EXPECT_EQ(log, (Names{"first", "~first", "second", "~second", "third", "~third"}));
}

TEST_F(EventQueueTest, EventsDueAtOnceGoFirstInTheirOwnOrder)
{
    Add("t10", 10);
    Add("t20", 20);
    Add("z1", 0);
    LogEvent* const z2 = Add("z2", 0);
    EXPECT_EQ(Order(), (Names{"z1", "z2", "t10", "t20"}));
    EXPECT_EQ(queue.GetCursor(), z2);
    EXPECT_EQ(queue.GetTailTime().Get(), 20u);

    // One handled and kept at time 0 goes back behind the others due at
    // once, not in front of them.
    static_cast<LogEvent*>(queue.First())->onHandle = [](LogEvent&) { return true; };
    EXPECT_FALSE(queue.ProcessDueEvents(0));
    EXPECT_EQ(Order(), (Names{"z2", "z1", "t10", "t20"}));
    EXPECT_EQ(queue.GetCursor(), queue.First()->GetNext());
}

TEST_F(EventQueueTest, HandlingTheOnlyEventDueAtOnceClearsTheCursor)
{
    Add("t10", 10);
    Add("z1", 0);
    EXPECT_FALSE(queue.ProcessDueEvents(0));
    EXPECT_EQ(queue.GetCursor(), nullptr);
    // The next one due at once goes to the head, not after a deleted cursor.
    LogEvent* const z2 = Add("z2", 0);
    EXPECT_EQ(Order(), (Names{"z2", "t10"}));
    EXPECT_EQ(queue.GetCursor(), z2);
}

TEST_F(EventQueueTest, ProcessingAnswersTrueWhenNothingIsDue)
{
    EXPECT_TRUE(queue.ProcessDueEvents(0));
    EXPECT_TRUE(queue.ProcessDueEvents(0xFFFFFFFF));

    Add("later", 101);
    EXPECT_TRUE(queue.ProcessDueEvents(100));
    EXPECT_EQ(Order(), Names{"later"});
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(queue.GetTailTime().Get(), 101u);

    EXPECT_FALSE(queue.ProcessDueEvents(101));   // handled one
    EXPECT_TRUE(queue.IsEmpty());
    EXPECT_TRUE(queue.ProcessDueEvents(101));
}

TEST_F(EventQueueTest, KeptEventComesBackAtTheTimeItsHandlerSet)
{
    state.SetGameTime(1000);
    LogEvent* const periodic = Add("periodic", 1000);
    periodic->onHandle = [this](LogEvent& self) {
        self.SetDueTime(state.GetGameTime() + 900);
        return true;
    };
    Add("once", 1500);

    EXPECT_FALSE(queue.ProcessDueEvents(1000));
    EXPECT_EQ(Order(), (Names{"once", "periodic"}));
    EXPECT_EQ(periodic->GetTime().Get(), 1900u);

    state.SetGameTime(1899);
    EXPECT_FALSE(queue.ProcessDueEvents(1899));   // "once", given up
    EXPECT_TRUE(queue.ProcessDueEvents(1899));
    state.SetGameTime(1900);
    EXPECT_FALSE(queue.ProcessDueEvents(1900));
    EXPECT_EQ(periodic->GetTime().Get(), 2800u);
    EXPECT_EQ(log, (Names{"periodic", "once", "~once", "periodic"}));
    EXPECT_EQ(Order(), Names{"periodic"});
}

TEST_F(EventQueueTest, KeptEventWithItsTimeUnmovedIsDueAgainAtOnce)
{
    int runs = 0;
    LogEvent* const again = Add("again", 5);
    again->onHandle = [&runs](LogEvent&) { return ++runs < 3; };
    EXPECT_FALSE(queue.ProcessDueEvents(5));
    EXPECT_FALSE(queue.ProcessDueEvents(5));
    EXPECT_FALSE(queue.ProcessDueEvents(5));
    EXPECT_TRUE(queue.ProcessDueEvents(5));
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(log.back(), "~again");
}

TEST_F(EventQueueTest, HandlerRunsOutOfTheChainAndMayChangeTheQueue)
{
    // The handler removes every event of its own subject and posts one: it
    // neither meets nor deletes itself, and what it posts is queued.
    LogEvent* const self = Add("self", 10, 7);
    Add("other7", 20, 7);
    Add("other8", 30, 8);
    self->onHandle = [this](LogEvent& me) {
        EXPECT_EQ(queue.FindNextOfType(nullptr, 0x70)->GetTime().Get(), 20u);
        queue.RemoveEventsOf(7, 0);
        gam2arena::PostEvent(Make("posted", 25, 9));
        me.SetDueTime(40);
        return true;
    };
    EXPECT_FALSE(queue.ProcessDueEvents(10));
    EXPECT_EQ(Order(), (Names{"posted", "other8", "self"}));
    EXPECT_EQ(log, (Names{"self", "~other7"}));
}

TEST_F(EventQueueTest, RemoveHandsTheEventBackAndFixesTailAndCursor)
{
    LogEvent* const z = Add("z", 0);
    Add("t10", 10);
    LogEvent* const t20 = Add("t20", 20);

    ASSERT_TRUE(queue.Remove(t20));
    EXPECT_EQ(queue.GetTailTime().Get(), 10u);
    EXPECT_EQ(t20->GetNext(), nullptr);
    EXPECT_EQ(t20->GetPrev(), nullptr);
    // A later event now appends at once, after t10.
    Add("t15", 15);
    EXPECT_EQ(Order(), (Names{"z", "t10", "t15"}));

    // Removing the cursor moves it to its predecessor (none: null).
    ASSERT_TRUE(queue.Remove(z));
    EXPECT_EQ(queue.GetCursor(), nullptr);
    Add("z2", 0);
    EXPECT_EQ(Order(), (Names{"z2", "t10", "t15"}));

    // An event in no queue, or twice removed, is refused and kept.
    EXPECT_FALSE(queue.Remove(t20));
    EXPECT_FALSE(queue.Remove(nullptr));
    EXPECT_EQ(Order(), (Names{"z2", "t10", "t15"}));
    EXPECT_TRUE(log.empty());   // nothing deleted
    delete t20;
    delete z;
}

TEST_F(EventQueueTest, RemoveRefusesEventsItDoesNotHold)
{
    Add("mine", 10);
    EventQueue other;
    LogEvent* const alone = Make("alone", 20);   // the only event of another queue
    other.Add(alone);
    Chain<Event> chain;
    LogEvent* const x = Make("x", 5);
    LogEvent* const y = Make("y", 6);
    chain.Append(x);
    chain.Append(y);

    struct Row { const char* what; Event* event; };
    const Row rows[] = {
        {"alone in another queue", alone},
        {"head of a plain chain", x},
        {"tail of a plain chain", y},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_FALSE(queue.Remove(r.event));
    }
    EXPECT_EQ(Order(), Names{"mine"});
    EXPECT_EQ(other.First(), alone);   // the other queue still holds it
    EXPECT_EQ(alone->GetQueue(), &other);
    EXPECT_EQ(chain.First(), x);
    EXPECT_EQ(x->GetNext(), y);

    // Its own queue gives it back, and then it is in none.
    EXPECT_TRUE(other.Remove(alone));
    EXPECT_EQ(alone->GetQueue(), nullptr);
    EXPECT_TRUE(other.IsEmpty());
    delete alone;
}

TEST_F(EventQueueTest, AHandledEventIsInNoQueueUntilKept)
{
    LogEvent* const self = Add("self", 10);
    bool refused = false;
    self->onHandle = [&](LogEvent& e) {
        refused = !queue.Remove(&e) && e.GetQueue() == nullptr;
        e.SetDueTime(40);
        return true;
    };
    EXPECT_FALSE(queue.ProcessDueEvents(10));
    EXPECT_TRUE(refused);
    EXPECT_EQ(self->GetQueue(), &queue);   // kept: added again
    EXPECT_TRUE(queue.Remove(self));
    delete self;
}

TEST_F(EventQueueTest, RemovingTheOnlyEventForgetsTailAndCursor)
{
    for (uint32_t due : {0u, 30u}) {
        SCOPED_TRACE(due);
        LogEvent* const only = Add("only", due);
        ASSERT_TRUE(queue.Remove(only));
        EXPECT_TRUE(queue.IsEmpty());
        EXPECT_EQ(queue.GetTailTime().Get(), 0u);
        EXPECT_EQ(queue.GetCursor(), nullptr);
        delete only;
    }
}

TEST_F(EventQueueTest, RemoveEventsOfDeletesBySubjectAndType)
{
    struct Row { const char* what; uint16_t subject; uint8_t code; Names left; Names deleted; };
    const Row rows[] = {
        {"any type", 7, 0, {"z8", "b8x", "d9x"}, {"~z7", "~a7x", "~c7y", "~e7x"}},
        {"one type", 7, 0x71, {"z7", "z8", "a7x", "b8x", "d9x"}, {"~c7y", "~e7x"}},
        {"no match", 5, 0, {"z7", "z8", "a7x", "b8x", "c7y", "d9x", "e7x"}, {}},
        {"subject 0", 0, 0, {"z7", "z8", "a7x", "b8x", "c7y", "d9x", "e7x"}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Clear();
        Add("z7", 0, 7, 0x70);
        Add("z8", 0, 8, 0x70);
        Add("a7x", 10, 7, 0x70);
        Add("b8x", 20, 8, 0x70);
        Add("c7y", 30, 7, 0x71);
        Add("d9x", 40, 9, 0x70);
        Add("e7x", 50, 7, 0x71);
        log.clear();
        queue.RemoveEventsOf(r.subject, r.code);
        EXPECT_EQ(Order(), r.left);
        EXPECT_EQ(log, r.deleted);
    }
}

TEST_F(EventQueueTest, RemoveEventsOfMovesTailTimeAndCursorToTheLastKept)
{
    Add("z7", 0, 7);
    LogEvent* const z8 = Add("z8", 0, 8);
    Add("z7b", 0, 7);
    Add("t10", 10, 8);
    Add("t20", 20, 7);
    queue.RemoveEventsOf(7, 0);
    EXPECT_EQ(queue.GetCursor(), z8);
    EXPECT_EQ(queue.GetTailTime().Get(), 10u);
    Add("t15", 15);
    Add("z9", 0);
    EXPECT_EQ(Order(), (Names{"z8", "z9", "t10", "t15"}));

    // Deleting everything leaves no cursor and no tail time.
    queue.RemoveEventsOf(8, 0);
    queue.RemoveEventsOf(0, 0);
    EXPECT_TRUE(queue.IsEmpty());
    EXPECT_EQ(queue.GetCursor(), nullptr);
    EXPECT_EQ(queue.GetTailTime().Get(), 0u);
}

TEST_F(EventQueueTest, FindNextOfTypeSearchesAfterTheGivenEvent)
{
    LogEvent* const a = Add("a", 10, 1, 0x70);
    LogEvent* const b = Add("b", 20, 1, 0x71);
    LogEvent* const c = Add("c", 30, 1, 0x70);

    EXPECT_EQ(queue.FindNextOfType(nullptr, EventCode::ANY), a);
    EXPECT_EQ(queue.FindNextOfType(a, EventCode::ANY), b);
    EXPECT_EQ(queue.FindNextOfType(c, EventCode::ANY), nullptr);
    EXPECT_EQ(queue.FindNextOfType(nullptr, 0x70), a);
    EXPECT_EQ(queue.FindNextOfType(a, 0x70), c);   // never the event itself
    EXPECT_EQ(queue.FindNextOfType(c, 0x70), nullptr);
    EXPECT_EQ(queue.FindNextOfType(nullptr, 0x71), b);
    EXPECT_EQ(queue.FindNextOfType(nullptr, 0x72), nullptr);
    EXPECT_EQ(Order(), (Names{"a", "b", "c"}));
}

TEST_F(EventQueueTest, AddRefusesAnEventStillInAChain)
{
    ReportCapture reports;
    queue.Add(nullptr);
    EXPECT_TRUE(queue.IsEmpty());

    LogEvent* const queued = Add("queued", 10);
    queue.Add(queued);                             // already the only one here
    Chain<Event> other;
    LogEvent* const x = Make("x", 5);
    LogEvent* const y = Make("y", 6);
    other.Append(x);
    other.Append(y);
    queue.Add(y);                                  // linked into `other`
    EventQueue second;
    LogEvent* const alone = Make("alone", 7);
    second.Add(alone);
    // Alone in another queue it has no links, but adding it here would
    // leave that queue's head pointing into this one.
    queue.Add(alone);
    EXPECT_EQ(reports.fatals.size(), 3u);
    EXPECT_EQ(Order(), Names{"queued"});
    EXPECT_EQ(other.Last(), y);
    EXPECT_EQ(x->GetNext(), y);
    EXPECT_EQ(second.First(), alone);
    EXPECT_EQ(alone->GetNext(), nullptr);
}

TEST_F(EventQueueTest, DestroyingTheQueueDeletesEveryEventHeadFirst)
{
    {
        EventQueue local;
        local.Add(Make("b", 20));
        local.Add(Make("c", 30));
        local.Add(Make("a", 0));
    }
    EXPECT_EQ(log, (Names{"~a", "~b", "~c"}));
}

TEST_F(EventQueueTest, TakesOverALoadedChain)
{
    struct Row { const char* what; std::vector<uint32_t> dues; int cursorIndex; uint32_t tail; };
    const Row rows[] = {
        {"two at once first", {0, 0, 40, 90}, 1, 90},
        {"none at once", {5, 0, 40}, -1, 40},   // a later 0 is not the front
        {"all at once", {0, 0, 0}, 2, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EventQueue loaded;
        Chain<Event> chain;
        std::vector<Event*> events;
        for (uint32_t due : r.dues) {
            events.push_back(Make("e" + std::to_string(due), due));
            chain.Append(events.back());
        }
        loaded.TakeLoadedEvents(chain);
        EXPECT_EQ(chain.First(), nullptr);
        EXPECT_EQ(loaded.First(), events.front());
        EXPECT_EQ(loaded.GetCursor(), r.cursorIndex < 0 ? nullptr : events[r.cursorIndex]);
        EXPECT_EQ(loaded.GetTailTime().Get(), r.tail);
        // Loaded events are the queue's own: a saved game's events can be
        // removed again.
        for (Event* e : events)
            EXPECT_EQ(e->GetQueue(), &loaded);
        EXPECT_TRUE(loaded.Remove(events.back()));
        EXPECT_EQ(events.back()->GetQueue(), nullptr);
        delete events.back();
    }

    // An empty list keeps cursor and tail time.
    LogEvent* const z = Add("z", 0);
    Add("t60", 60);
    Chain<Event> empty;
    queue.TakeLoadedEvents(empty);
    EXPECT_EQ(queue.GetCursor(), z);
    EXPECT_EQ(queue.GetTailTime().Get(), 60u);
}

TEST(Event, StartsUnlinkedAndDueAtOnceWithTheBaseOperations)
{
    BareEvent e;
    EXPECT_EQ(e.GetTime().Get(), 0u);
    EXPECT_EQ(e.GetNext(), nullptr);
    EXPECT_EQ(e.GetPrev(), nullptr);
    EXPECT_EQ(e.GetSubject(), 0);
    e.SetSubject(5);
    EXPECT_EQ(e.GetSubject(), 0);
    EXPECT_EQ(e.TypeCode(), 0);
    EXPECT_EQ(e.Clone(), nullptr);

    char text[8] = "xxxxxxx";
    EXPECT_FALSE(e.Describe(text, sizeof text));
    EXPECT_EQ(text[0], '\0');
    text[0] = 'x';
    EXPECT_FALSE(e.Describe(text, 0));             // no room even for the zero
    EXPECT_EQ(text[0], 'x');

    e.SetTime(77);
    e.ResolveDueTime();
    EXPECT_EQ(e.GetTime().Get(), 77u);
}

TEST(Event, IsDueComparesUnsignedSeconds)
{
    struct Row { uint32_t due, now; bool isDue; };
    const Row rows[] = {
        {0, 0, true},
        {10, 9, false},
        {10, 10, true},
        {10, 11, true},
        {0x80000000u, 0x7FFFFFFFu, false},   // not a negative time
        {0x7FFFFFFFu, 0x80000000u, true},
        {0xFFFFFFFFu, 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.due << " at " << r.now);
        BareEvent e;
        e.SetDueTime(r.due);
        EXPECT_EQ(e.IsDue(r.now), r.isDue);
    }
}

TEST(Event, SavesTheDueTimeAsFourLittleEndianBytes)
{
    std::vector<std::string> log;
    LogEvent saved(log, "s", 0x01020304, 0xBEEF, 0x4b);
    std::ostringstream out;
    saved.Save(out);
    EXPECT_EQ(out.str(), Bytes({0x4b, 0xEF, 0xBE, 0x04, 0x03, 0x02, 0x01}));

    std::istringstream in(out.str().substr(1));    // the list reads the code
    LogEvent loaded(log, "l", 0);
    EXPECT_TRUE(loaded.Load(in));
    EXPECT_EQ(loaded.GetSubject(), 0xBEEF);
    EXPECT_EQ(loaded.GetTime().Get(), 0x01020304u);

    // Cut short anywhere, the due time is kept and the stream fails.
    const std::string bytes = Bytes({0x04, 0x03, 0x02, 0x01});
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        BareEvent cut;
        cut.SetDueTime(99);
        std::istringstream shortIn(bytes.substr(0, length));
        EXPECT_FALSE(cut.LoadBase(shortIn));
        EXPECT_EQ(cut.GetTime().Get(), 99u);
    }
}

TEST(Event, DestroyingALinkedEventJoinsItsNeighbours)
{
    std::vector<std::string> log;
    Chain<Event> chain;
    auto* a = new LogEvent(log, "a", 1);
    auto* b = new LogEvent(log, "b", 2);
    auto* c = new LogEvent(log, "c", 3);
    chain.Append(a);
    chain.Append(b);
    chain.Append(c);
    delete b;
    EXPECT_EQ(a->GetNext(), c);
    EXPECT_EQ(c->GetPrev(), a);
    EXPECT_EQ(chain.First(), a);
    EXPECT_EQ(chain.Last(), c);
}

TEST(Event, CopyStartsInNoChain)
{
    Chain<Event> chain;
    auto* a = new BareEvent;
    auto* b = new BareEvent;
    a->SetDueTime(12);
    chain.Append(a);
    chain.Append(b);
    BareEvent copy(*a);
    EXPECT_EQ(copy.GetNext(), nullptr);
    EXPECT_EQ(copy.GetPrev(), nullptr);
    EXPECT_EQ(copy.GetTime().Get(), 12u);
    EXPECT_EQ(a->GetNext(), b);
}

TEST(Event, CopyOfAQueuedEventIsInNoQueue)
{
    EventQueue queue;
    auto* queued = new BareEvent;
    queued->SetDueTime(30);
    queue.Add(queued);
    BareEvent copy(*queued);
    EXPECT_EQ(copy.GetQueue(), nullptr);
    EXPECT_FALSE(queue.Remove(&copy));
    // Assigning takes the due time and keeps each event's own place.
    BareEvent assigned;
    assigned = *queued;
    EXPECT_EQ(assigned.GetQueue(), nullptr);
    EXPECT_EQ(assigned.GetTime().Get(), 30u);
    *queued = copy;
    EXPECT_EQ(queued->GetQueue(), &queue);
}

TEST(EventClassName, NamesEveryCodeOfTheTableAndNoOther)
{
    const std::set<int> unused = {0x00, 0x0b, 0x41};
    std::set<std::string> names;
    for (int code = 0; code <= 0xFF; ++code) {
        SCOPED_TRACE(code);
        const char* name = EventClassName(static_cast<uint8_t>(code));
        const bool named = code <= 0x56 && !unused.count(code) && !(code >= 0x17 && code <= 0x3b);
        ASSERT_EQ(name != nullptr, named);
        if (name == nullptr)
            continue;
        const std::string text(name);
        EXPECT_TRUE(text.size() > 5 && text.compare(text.size() - 5, 5, "Event") == 0) << text;
        EXPECT_TRUE(names.insert(text).second) << text << " twice";
    }
    EXPECT_EQ(names.size(), 47u);

    struct Row { uint8_t code; const char* name; };
    const Row rows[] = {
        {EventCode::REQUEST_PATH, "RequestPathEvent"},
        {EventCode::TOWED_ARRAY, "TowedArrayEvent"},
        {EventCode::STATION_UPDATE, "StationUpdateEvent"},
        {EventCode::STATION_SET, "StationSetEvent"},
        {EventCode::GROUP_MEMBER_CHECK, "GroupMemberCheckEvent"},
        {EventCode::WEATHER, "WeatherEvent"},
        {EventCode::MISSION_SENSORS, "MissionSensorsEvent"},
    };
    for (const Row& r : rows)
        EXPECT_STREQ(EventClassName(r.code), r.name);
}

} // namespace
