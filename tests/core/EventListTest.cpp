// EventListTest.cpp: the saved form of an event chain through an installed
// factory, a type code no class reads (fatal, nothing joins the chain), a
// list cut short, and the deep copy that leaves out events without a copy.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/EventList.h"
#include "core/StreamFields.h"
#include "support/Bytes.h"
#include "support/ReportCapture.h"

namespace {

// Saved form: code u8, value u16, due time u32. Code 0x72 cannot be copied.
class ListEvent : public Event {
public:
    explicit ListEvent(uint8_t code = 0x71, uint16_t value = 0) : code_(code), value_(value) {}
    bool HandleEvent() override { return false; }
    uint8_t TypeCode() const override { return code_; }
    bool Load(std::istream& in) override { LoadField(in, value_); return LoadBase(in); }
    void Save(std::ostream& out) const override { SaveField(out, code_); SaveField(out, value_); SaveBase(out); }
    Event* Clone() const override { return code_ == 0x72 ? nullptr : new ListEvent(code_, value_); }
    uint16_t value() const { return value_; }

private:
    uint8_t code_;
    uint16_t value_;
};

Event* Make(uint8_t code)
{
    return code == 0x71 || code == 0x72 ? new ListEvent(code) : nullptr;
}

class EventListTest : public testing::Test {
protected:
    EventListTest() { previous = SetEventFactory(&Make); }
    ~EventListTest() override { SetEventFactory(previous); }
    EventFactory previous;
    ReportCapture reports;
};

}  // namespace

TEST_F(EventListTest, RoundTripsThroughTheFactory)
{
    Chain<Event> events;
    events.Append(new ListEvent(0x71, 5));
    events.Append(new ListEvent(0x72, 6));
    std::ostringstream out;
    ASSERT_TRUE(SaveEventList(events, out));
    EXPECT_EQ(out.str().substr(0, 4), Bytes({0x02, 0x00, 0x71, 0x05}));

    Chain<Event> back;
    back.Append(new ListEvent(0x71, 1));   // a load adds after what is there
    std::istringstream in(out.str());
    ASSERT_TRUE(LoadEventList(back, in));
    ASSERT_NE(back.First()->GetNext(), nullptr);
    EXPECT_EQ(static_cast<ListEvent*>(back.First()->GetNext())->value(), 5);
    EXPECT_EQ(back.Last()->TypeCode(), 0x72);
}

TEST_F(EventListTest, UnknownCodeIsFatalAndNothingJoins)
{
    const std::string bytes = Bytes({0x02, 0x00, 0x71, 0x05, 0x00, 0, 0, 0, 0, 0x0b, 0, 0, 0, 0, 0, 0});
    Chain<Event> back;
    std::istringstream in(bytes);
    EXPECT_FALSE(LoadEventList(back, in));
    EXPECT_EQ(back.First(), nullptr);
    ASSERT_EQ(reports.fatals.size(), 1u);
    EXPECT_EQ(reports.fatals[0], "Attempted to Load Unknown Event!");
}

TEST_F(EventListTest, EveryCutIsRefused)
{
    Chain<Event> events;
    events.Append(new ListEvent(0x71, 5));
    events.Append(new ListEvent(0x71, 6));
    std::ostringstream out;
    SaveEventList(events, out);
    for (size_t cut = 0; cut < out.str().size(); ++cut) {
        Chain<Event> back;
        std::istringstream in(out.str().substr(0, cut));
        EXPECT_FALSE(LoadEventList(back, in)) << cut;
        EXPECT_EQ(back.First(), nullptr) << cut;
    }
}

TEST_F(EventListTest, CopyLeavesOutEventsWithoutACopy)
{
    Chain<Event> from;
    from.Append(new ListEvent(0x71, 5));
    from.Append(new ListEvent(0x72, 6));
    from.Append(new ListEvent(0x71, 7));
    Chain<Event> to;
    CopyEventList(&from, &to);
    ASSERT_NE(to.First(), nullptr);
    EXPECT_EQ(static_cast<ListEvent*>(to.First())->value(), 5);
    EXPECT_EQ(static_cast<ListEvent*>(to.Last())->value(), 7);
    EXPECT_EQ(to.First()->GetNext(), to.Last());
    CopyEventList(nullptr, &to);
    EXPECT_EQ(reports.fatals.size(), 1u);
}
