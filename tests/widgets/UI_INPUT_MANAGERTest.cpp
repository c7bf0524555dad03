// Tests of the input manager: the queue's order with head and tail puts and
// takes, peeking, the full queue, polling in device-type order and waiting,
// nested Gets, the messages to devices (by type, all, display change,
// positions) and ownership of the devices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScriptedInput.h"
#include "widgets/UI_INPUT_MANAGER.h"

namespace {

UI_MESSAGE Message(int32_t type, int32_t code = 0)
{
    UI_MESSAGE m(type);
    m.code = code;
    return m;
}

// Takes events with flags until the answer is not 0; the codes in order.
std::vector<int32_t> Drain(UI_INPUT_MANAGER& manager, int32_t flags = UI_GET_NO_WAIT)
{
    std::vector<int32_t> codes;
    UI_MESSAGE e;
    while (manager.Get(&e, flags) == 0)
        codes.push_back(e.code);
    return codes;
}

TEST(UI_INPUT_MANAGER, QueueOrderOfPutsAndTakes)
{
    struct Put { int32_t code; int32_t flags; };
    struct Row { const char* name; std::vector<Put> puts; int32_t getFlags; std::vector<int32_t> taken; };
    const Row rows[] = {
        {"tail, tail, head", {{1, 2}, {2, 2}, {3, 0}}, UI_GET_NO_WAIT, {3, 1, 2}},
        {"heads stack up", {{1, 0}, {2, 0}, {3, 0}}, UI_GET_NO_WAIT, {3, 2, 1}},
        {"from the tail", {{1, 2}, {2, 2}, {3, 0}}, UI_GET_NO_WAIT | UI_GET_FROM_TAIL, {2, 1, 3}},
        {"other flag bits", {{1, 2 | 8}, {2, 1}}, UI_GET_NO_WAIT, {2, 1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        UI_INPUT_MANAGER manager(nullptr, 100);
        for (const Put& p : r.puts) {
            const UI_MESSAGE m = Message(50, p.code);
            manager.Put(&m, p.flags);
        }
        EXPECT_EQ(Drain(manager, r.getFlags), r.taken);
    }
}

TEST(UI_INPUT_MANAGER, GetCopiesEveryWord)
{
    UI_INPUT_MANAGER manager(nullptr, 4);
    UI_MESSAGE in = Message(UI_KEY_EVENT, 0x1C0D);
    in.qualifier = 7;
    for (int32_t i = 0; i < 5; ++i)
        in.data[i] = 100 + i;
    int32_t target = 0;
    in.pointer = &target;
    manager.Put(&in, UI_PUT_AT_TAIL);
    UI_MESSAGE out;
    ASSERT_EQ(manager.Get(&out, UI_GET_NO_WAIT), 0);
    EXPECT_EQ(out.type, UI_KEY_EVENT);
    EXPECT_EQ(out.code, 0x1C0D);
    EXPECT_EQ(out.qualifier, 7);
    EXPECT_EQ(out.keyData.shifts, 100);
    EXPECT_EQ(out.keyData.keyValue, 101);
    EXPECT_EQ(out.rect.bottom, 103);
    EXPECT_EQ(out.data[4], 104);
    EXPECT_EQ(out.pointer, &target);
}

TEST(UI_INPUT_MANAGER, PeekLeavesTheEventQueued)
{
    UI_INPUT_MANAGER manager(nullptr, 100);
    const UI_MESSAGE first = Message(40, 1);
    const UI_MESSAGE second = Message(40, 2);
    manager.Put(&first, UI_PUT_AT_TAIL);
    manager.Put(&second, UI_PUT_AT_TAIL);
    UI_MESSAGE e;
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(manager.Get(&e, UI_GET_NO_WAIT | UI_GET_PEEK), 0);
        EXPECT_EQ(e.code, 1);
    }
    EXPECT_EQ(Drain(manager), (std::vector<int32_t>{1, 2}));
}

TEST(UI_INPUT_MANAGER, EmptyQueueWithoutWaitAnswersNotHandled)
{
    UI_INPUT_MANAGER manager(nullptr, 100);
    ScriptedDevice* device = new ScriptedDevice(UI_KEY_EVENT);
    manager.AddDevice(device);
    UI_MESSAGE e = Message(77, 5);
    EXPECT_EQ(manager.Get(&e, UI_GET_NO_WAIT), UI_CODE_NOT_HANDLED);
    EXPECT_EQ(e.type, 77);   // unchanged
    EXPECT_EQ(e.code, 5);
    EXPECT_EQ(device->polls, 1);
}

TEST(UI_INPUT_MANAGER, FullQueueDropsTheNewEvent)
{
    struct Row { int32_t slots; int32_t puts; int32_t kept; };
    const Row rows[] = {{100, 101, 100}, {100, 100, 100}, {1, 3, 1}, {0, 2, 0}, {-5, 2, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.slots << " slots, " << r.puts << " puts");
        UI_INPUT_MANAGER manager(nullptr, r.slots);
        for (int32_t i = 1; i <= r.puts; ++i) {
            const UI_MESSAGE m = Message(40, i);
            manager.Put(&m, UI_PUT_AT_TAIL);
        }
        std::vector<int32_t> expected;
        for (int32_t i = 1; i <= r.kept; ++i)
            expected.push_back(i);
        EXPECT_EQ(Drain(manager), expected);
    }
}

TEST(UI_INPUT_MANAGER, SlotsCirculateWithoutLoss)
{
    UI_INPUT_MANAGER manager(nullptr, 3);
    std::vector<int32_t> taken;
    for (int32_t i = 0; i < 10; ++i) {
        const UI_MESSAGE a = Message(40, 2 * i);
        const UI_MESSAGE b = Message(40, 2 * i + 1);
        manager.Put(&a, UI_PUT_AT_TAIL);
        manager.Put(&b, UI_PUT_AT_TAIL);
        for (int32_t code : Drain(manager))
            taken.push_back(code);
    }
    ASSERT_EQ(taken.size(), 20u);
    for (int32_t i = 0; i < 20; ++i)
        EXPECT_EQ(taken[static_cast<size_t>(i)], i);
    EXPECT_EQ(manager.queue.spare.Size(), 3);
}

TEST(UI_INPUT_MANAGER, DevicesArePolledInTypeOrder)
{
    std::vector<std::string> journal;
    UI_INPUT_MANAGER manager(nullptr, 100);
    for (int32_t type : {UI_CURSOR_DEVICE, UI_KEY_EVENT, UI_MOUSE_EVENT}) {
        ScriptedDevice* device = new ScriptedDevice(type, &journal);
        device->onPoll = [&journal](ScriptedDevice& d) { journal.push_back(std::to_string(d.deviceType) + ":poll"); };
        device->Script(Message(type, type));
        manager.AddDevice(device);
    }
    journal.clear();
    UI_MESSAGE e;
    ASSERT_EQ(manager.Get(&e, UI_GET_NO_WAIT), 0);
    EXPECT_EQ(journal, (std::vector<std::string>{"10:poll", "30:poll", "50:poll"}));
    EXPECT_EQ(e.code, UI_KEY_EVENT);   // the keyboard put first
    EXPECT_EQ(Drain(manager, UI_GET_NO_WAIT | UI_GET_NO_POLL), (std::vector<int32_t>{30, 50}));
    EXPECT_EQ(journal.size(), 3u);     // no further polls with UI_GET_NO_POLL
}

TEST(UI_INPUT_MANAGER, WaitingGetPollsUntilAnEventComes)
{
    UI_INPUT_MANAGER manager(nullptr, 100);
    ScriptedDevice* device = new ScriptedDevice(UI_MOUSE_EVENT);
    device->onPoll = [](ScriptedDevice& d) {
        if (d.polls == 5)
            d.Script(Message(UI_MOUSE_EVENT, 0x1100));
    };
    manager.AddDevice(device);
    UI_MESSAGE e;
    EXPECT_EQ(manager.Get(&e, 0), 0);
    EXPECT_EQ(e.code, 0x1100);
    EXPECT_EQ(device->polls, 5);
}

TEST(UI_INPUT_MANAGER, WaitThatNothingCanEndAnswersNotHandled)
{
    // Without a device, or without polling, an empty queue can never fill:
    // the wait gives up rather than hang.
    UI_INPUT_MANAGER bare(nullptr, 100);
    UI_MESSAGE e;
    EXPECT_EQ(bare.Get(&e, 0), UI_CODE_NOT_HANDLED);

    UI_INPUT_MANAGER manager(nullptr, 100);
    ScriptedDevice* device = new ScriptedDevice(UI_KEY_EVENT);
    manager.AddDevice(device);
    EXPECT_EQ(manager.Get(&e, UI_GET_NO_POLL), UI_CODE_NOT_HANDLED);
    EXPECT_EQ(device->polls, 0);
    EXPECT_EQ(manager.getDepth, 0);
}

TEST(UI_INPUT_MANAGER, NestedGetKeepsTheOutermostFlags)
{
    UI_INPUT_MANAGER manager(nullptr, 100);
    ScriptedDevice* device = new ScriptedDevice(UI_KEY_EVENT);
    std::vector<int32_t> depths;
    std::vector<int32_t> flagsSeen;
    device->onPoll = [&](ScriptedDevice& d) {
        depths.push_back(manager.getDepth);
        flagsSeen.push_back(manager.getFlags);
        if (d.polls == 1) {
            UI_MESSAGE inner;
            manager.Get(&inner, UI_GET_NO_WAIT | UI_GET_PEEK);
        }
    };
    manager.AddDevice(device);
    UI_MESSAGE e;
    EXPECT_EQ(manager.Get(&e, UI_GET_NO_WAIT), UI_CODE_NOT_HANDLED);
    EXPECT_EQ(depths, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(flagsSeen, (std::vector<int32_t>{UI_GET_NO_WAIT, UI_GET_NO_WAIT}));
    EXPECT_EQ(manager.getDepth, 0);
    EXPECT_EQ(manager.getFlags, 0);
}

TEST(UI_INPUT_MANAGER, MessagesToDevices)
{
    std::vector<std::string> journal;
    UI_INPUT_MANAGER manager(nullptr, 100);
    ScriptedDevice* keyboard = new ScriptedDevice(UI_KEY_EVENT, &journal);
    ScriptedDevice* mouse = new ScriptedDevice(UI_MOUSE_EVENT, &journal);
    keyboard->answer = 0x501;
    mouse->answer = 0x510;
    manager.AddDevice(mouse);
    manager.AddDevice(keyboard);
    journal.clear();

    struct Row { const char* name; int32_t type; int32_t deviceType; int32_t answer; std::vector<std::string> reached; };
    const Row rows[] = {
        {"by type", 0x500, UI_KEY_EVENT, 0x501, {"10:1280"}},
        {"every device", 0x500, UI_ALL_DEVICES, 0x510, {"10:1280", "30:1280"}},
        {"no such device", 0x500, 70, UI_CODE_NOT_HANDLED, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        journal.clear();
        UI_MESSAGE m = Message(r.type);
        EXPECT_EQ(manager.Event(&m, r.deviceType), r.answer);
        EXPECT_EQ(journal, r.reached);
    }

    EXPECT_EQ(manager.SendToDevice(70, 0x500), 0x500);   // none: the code itself
    EXPECT_EQ(manager.SendToDevice(UI_MOUSE_EVENT, 0x512), 0x510);
    EXPECT_EQ(mouse->last.type, 0x512);
    EXPECT_EQ(manager.SetDevicePosition(UI_CURSOR_DEVICE, 3, 4), UI_CODE_CURSOR_POSITION);
    EXPECT_EQ(manager.SetDevicePosition(UI_MOUSE_EVENT, 320, 200), 0x510);
    EXPECT_EQ(mouse->last.type, UI_CODE_CURSOR_POSITION);
    EXPECT_EQ(mouse->last.point.column, 320);
    EXPECT_EQ(mouse->last.point.line, 200);
}

TEST(UI_INPUT_MANAGER, AddDeviceInitialisesEachDeviceOnce)
{
    std::vector<std::string> journal;
    UI_INPUT_MANAGER manager(nullptr, 100);
    ScriptedDevice* keyboard = new ScriptedDevice(UI_KEY_EVENT, &journal);
    manager.AddDevice(keyboard);
    manager.AddDevice(keyboard);   // already there
    manager.AddDevice(nullptr);
    EXPECT_EQ(journal, (std::vector<std::string>{"10:-9"}));
    EXPECT_EQ(manager.Size(), 1);
}

TEST(UI_INPUT_MANAGER, DisplayChangeReinitialisesEveryDevice)
{
    std::vector<std::string> journal;
    UI_INPUT_MANAGER manager(nullptr, 100);
    ScriptedDevice* devices[3];
    int32_t i = 0;
    for (int32_t type : {UI_CURSOR_DEVICE, UI_MOUSE_EVENT, UI_KEY_EVENT}) {
        devices[i] = new ScriptedDevice(type, &journal);
        devices[i]->answer = 1000 + type;
        manager.AddDevice(devices[i++]);
    }

    struct Row { const char* name; bool withDisplay; int32_t answer; std::vector<std::string> journal; };
    const Row rows[] = {
        {"new display", true, UI_CODE_SCREEN_CHANGED, {"10:-9", "30:-9", "50:-9"}},
        {"detached", false, 1050, {"10:-20", "30:-20", "50:-20"}},
    };
    int displayObject = 0;
    UI_SCREEN* newDisplay = reinterpret_cast<UI_SCREEN*>(&displayObject);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        journal.clear();
        UI_MESSAGE change(UI_CODE_SCREEN_CHANGED);
        change.pointer = r.withDisplay ? newDisplay : nullptr;
        EXPECT_EQ(manager.Event(&change, UI_ALL_DEVICES), r.answer);
        EXPECT_EQ(journal, r.journal);
        EXPECT_EQ(manager.display, newDisplay);
        EXPECT_EQ(UI_INPUT_DEVICE::display, newDisplay);
        EXPECT_EQ(manager.Size(), 3);
    }

    UI_INPUT_MANAGER empty(nullptr, 1);
    UI_MESSAGE detach(UI_CODE_SCREEN_CHANGED);
    EXPECT_EQ(empty.Event(&detach, UI_ALL_DEVICES), UI_CODE_NOT_HANDLED);
}

TEST(UI_INPUT_MANAGER, DestructorDeletesDevicesAndLetsGoOfThem)
{
    std::vector<std::string> journal;
    {
        UI_INPUT_MANAGER manager(nullptr, 100);
        EXPECT_EQ(UI_INPUT_DEVICE::inputManager, &manager);
        manager.AddDevice(new ScriptedDevice(UI_MOUSE_EVENT, &journal));
        manager.AddDevice(new ScriptedDevice(UI_KEY_EVENT, &journal));
        journal.clear();
    }
    EXPECT_EQ(journal, (std::vector<std::string>{"10:deleted", "30:deleted"}));
    EXPECT_EQ(UI_INPUT_DEVICE::inputManager, nullptr);
}

} // namespace
