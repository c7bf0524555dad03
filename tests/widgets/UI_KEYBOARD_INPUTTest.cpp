// Tests of the keyboard device over scripted keys: key events and their
// fields, the quit event at the head of the queue, Alt pressed alone, the off
// state, one message per poll, a keyboard that cannot be installed; and the
// real key layer under headless Allegro, where no keyboard exists.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include <allegro.h>

#include "support/ScriptedInput.h"
#include "widgets/KeyInput.h"
#include "widgets/UI_KEYBOARD_INPUT.h"

namespace {

int32_t Value(int32_t key, int32_t character = 0)
{
    return key * 256 + character;
}

// The queued events, head first, as (type, code) pairs; empties the queue.
std::vector<std::pair<int32_t, int32_t>> Queued(UI_INPUT_MANAGER& manager)
{
    std::vector<std::pair<int32_t, int32_t>> events;
    UI_MESSAGE e;
    while (manager.Get(&e, UI_GET_NO_WAIT | UI_GET_NO_POLL) == 0)
        events.emplace_back(e.type, e.code);
    return events;
}

struct Keyboard {
    ScriptedKeys keys;
    UI_INPUT_MANAGER manager{nullptr, 100};
    UI_KEYBOARD_INPUT* device;
    Keyboard()
    {
        device = new UI_KEYBOARD_INPUT(UI_DEVICE_ON);
        manager.AddDevice(device);
    }
};

TEST(UI_KEYBOARD_INPUT, KeyEventCarriesCodeShiftsAndTypedCharacter)
{
    Keyboard kb;
    kb.keys.Press(Value(KEY_K, 'k'));
    kb.keys.Press(Value(KEY_F, 0), KB_ALT_FLAG);
    UI_MESSAGE e;
    ASSERT_EQ(kb.manager.Get(&e, UI_GET_NO_WAIT), 0);
    EXPECT_EQ(e.type, UI_KEY_EVENT);
    EXPECT_EQ(e.code, 0x1A5B);
    EXPECT_EQ(e.qualifier, 0);
    EXPECT_EQ(e.keyData.shifts, 0);
    EXPECT_EQ(e.keyData.keyValue & 0xFF, 'k');   // what the key types
    ASSERT_EQ(kb.manager.Get(&e, UI_GET_NO_WAIT), 0);
    EXPECT_EQ(e.code, 0x2100);
    EXPECT_EQ(e.keyData.shifts, UI_SHIFT_ALT);
    EXPECT_EQ(e.keyData.keyValue, Value(KEY_F));
}

TEST(UI_KEYBOARD_INPUT, OneMessagePerPollAtTheTail)
{
    Keyboard kb;
    const UI_MESSAGE earlier(-11);
    kb.manager.Put(&earlier, UI_PUT_AT_TAIL);
    kb.keys.Press(Value(KEY_A, 'a'));
    kb.keys.Press(Value(KEY_B, 'b'));
    kb.device->Poll();
    EXPECT_EQ(kb.manager.queue.Size(), 2);
    EXPECT_EQ(kb.keys.keys.size(), 1u);
    kb.device->Poll();
    EXPECT_EQ(Queued(kb.manager),
              (std::vector<std::pair<int32_t, int32_t>>{{-11, 0}, {UI_KEY_EVENT, 'a'}, {UI_KEY_EVENT, 'b'}}));
}

TEST(UI_KEYBOARD_INPUT, QuitKeysGoToTheHeadAsQuit)
{
    struct Row { const char* name; int32_t value; int32_t flags; int32_t code; };
    const Row rows[] = {
        {"Ctrl C", Value(KEY_C, 3), KB_CTRL_FLAG, 0x2E03},
        {"Ctrl Break", Value(KEY_PAUSE), KB_CTRL_FLAG, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Keyboard kb;
        kb.keys.Press(Value(KEY_A, 'a'));
        kb.device->Poll();
        kb.keys.Press(r.value, r.flags);
        kb.device->Poll();
        EXPECT_EQ(Queued(kb.manager),
                  (std::vector<std::pair<int32_t, int32_t>>{{UI_CODE_QUIT, r.code}, {UI_KEY_EVENT, 'a'}}));
    }
}

TEST(UI_KEYBOARD_INPUT, AltAloneGivesOneMenuKey)
{
    // Each step: the shift flags held between keys, and a key taken under Alt
    // (0: none); then one poll.
    struct Step { int32_t held; int32_t altKey; };
    struct Row { const char* name; std::vector<Step> steps; std::vector<std::pair<int32_t, int32_t>> queued; };
    const int32_t A = KB_ALT_FLAG;
    const Row rows[] = {
        {"Alt alone", {{A, 0}, {0, 0}}, {{UI_CODE_MENU_KEY, 0}}},
        {"held over several polls", {{A, 0}, {A, 0}, {A, 0}, {0, 0}, {0, 0}}, {{UI_CODE_MENU_KEY, 0}}},
        {"twice", {{A, 0}, {0, 0}, {A, 0}, {0, 0}}, {{UI_CODE_MENU_KEY, 0}, {UI_CODE_MENU_KEY, 0}}},
        {"Alt-F", {{A, 0}, {A, KEY_F}, {A, 0}, {0, 0}}, {{UI_KEY_EVENT, 0x2100}}},
        {"Alt-F before Alt was seen alone", {{A, KEY_F}, {0, 0}}, {{UI_KEY_EVENT, 0x2100}}},
        // Alt still held after a key taken before any poll saw it alone:
        // this used to give a menu key as well when Alt went up.
        {"Alt-F first, Alt held on", {{A, KEY_F}, {A, 0}, {0, 0}}, {{UI_KEY_EVENT, 0x2100}}},
        {"Alt-F then Alt again", {{A, 0}, {A, KEY_F}, {0, 0}, {A, 0}, {0, 0}},
         {{UI_KEY_EVENT, 0x2100}, {UI_CODE_MENU_KEY, 0}}},
        {"Ctrl-Alt down and up", {{A | KB_CTRL_FLAG, 0}, {0, 0}}, {{UI_CODE_MENU_KEY, 0}}},
        {"never Alt", {{KB_SHIFT_FLAG, 0}, {0, 0}}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Keyboard kb;
        for (const Step& s : r.steps) {
            kb.keys.held = s.held;
            if (s.altKey != 0)
                kb.keys.Press(Value(s.altKey), s.held);
            kb.device->Poll();
        }
        EXPECT_EQ(Queued(kb.manager), r.queued);
        EXPECT_EQ(kb.device->altState, UI_KEYBOARD_INPUT::ALT_IDLE);
    }
}

TEST(UI_KEYBOARD_INPUT, OffStateReadsAndDropsKeys)
{
    Keyboard kb;
    UI_MESSAGE off(UI_DEVICE_OFF);
    EXPECT_EQ(kb.manager.Event(&off, UI_KEY_EVENT), UI_DEVICE_OFF);
    kb.keys.Press(Value(KEY_A, 'a'));
    kb.keys.Press(Value(KEY_C, 3), KB_CTRL_FLAG);
    kb.device->Poll();
    kb.device->Poll();
    kb.keys.held = KB_ALT_FLAG;   // Alt alone while off: no menu key either
    kb.device->Poll();
    kb.keys.held = 0;
    kb.device->Poll();
    EXPECT_TRUE(kb.keys.keys.empty());   // the keys were taken
    EXPECT_TRUE(Queued(kb.manager).empty());

    EXPECT_EQ(kb.manager.SendToDevice(UI_KEY_EVENT, UI_DEVICE_ON), UI_DEVICE_ON);
    UI_MESSAGE other(-9);
    EXPECT_EQ(kb.device->Event(&other), UI_DEVICE_ON);   // any other message: the state
    kb.keys.Press(Value(KEY_A, 'a'));
    kb.device->Poll();
    EXPECT_EQ(Queued(kb.manager), (std::vector<std::pair<int32_t, int32_t>>{{UI_KEY_EVENT, 'a'}}));
}

TEST(UI_KEYBOARD_INPUT, KeysWithoutInputManagerAreLost)
{
    ScriptedKeys keys;
    UI_KEYBOARD_INPUT device(UI_DEVICE_ON);
    ASSERT_EQ(UI_INPUT_DEVICE::inputManager, nullptr);
    keys.Press(Value(KEY_A, 'a'));
    device.Poll();
    EXPECT_TRUE(keys.keys.empty());
}

TEST(UI_KEYBOARD_INPUT, InstallsForItsLifetime)
{
    ScriptedKeys keys;
    {
        UI_KEYBOARD_INPUT device(UI_DEVICE_ON);
        EXPECT_EQ(device.ready, 1);
        EXPECT_EQ(device.deviceType, UI_KEY_EVENT);
        EXPECT_EQ(device.deviceState, UI_DEVICE_ON);
        EXPECT_EQ(keys.installs, 1);
    }
    EXPECT_EQ(keys.removes, 1);

    keys.installWorks = false;
    {
        UI_INPUT_MANAGER manager(nullptr, 10);
        UI_KEYBOARD_INPUT* device = new UI_KEYBOARD_INPUT(UI_DEVICE_OFF);
        manager.AddDevice(device);
        EXPECT_EQ(device->ready, 0);
        EXPECT_EQ(device->deviceState, UI_DEVICE_OFF);
        keys.Press(Value(KEY_A, 'a'));
        UI_MESSAGE e;
        EXPECT_EQ(manager.Get(&e, UI_GET_NO_WAIT), UI_CODE_NOT_HANDLED);
        EXPECT_EQ(keys.keys.size(), 1u);   // a device that is not ready reads nothing
    }
    EXPECT_EQ(keys.removes, 1);   // nothing to remove
}

TEST(KeyInput, KeyWaitingReportsHeldShifts)
{
    ScriptedKeys keys;
    int32_t shifts = 99;
    keys.held = KB_ALT_FLAG | KB_SHIFT_FLAG | KB_NUMLOCK_FLAG;
    EXPECT_EQ(KeyWaiting(shifts), 0);
    EXPECT_EQ(shifts, UI_SHIFT_ALT | UI_SHIFT_SHIFT);
    keys.Press(Value(KEY_A, 'a'), KB_CTRL_FLAG);
    EXPECT_EQ(KeyWaiting(shifts), 1);
    EXPECT_EQ(shifts, 0);

    int32_t code = 0, keyShifts = 0, value = 0;
    TranslateKey(code, keyShifts, value);
    EXPECT_EQ(code, Value(KEY_A, 'a'));   // Ctrl a keeps the library value
    EXPECT_EQ(keyShifts, UI_SHIFT_CTRL);  // the flags as the key was taken
    EXPECT_EQ(value, Value(KEY_A, 'a'));
    code = keyShifts = value = 7;
    TranslateKey(code, keyShifts, value);   // no key: nothing changes
    EXPECT_EQ(code, 7);
    EXPECT_EQ(keyShifts, 7);
    EXPECT_EQ(value, 7);
}

TEST(KeyInput, HeadlessLibraryHasNoKeyboardOrMouse)
{
    if (system_driver == nullptr) {
        EXPECT_FALSE(InstallKeyboard());   // before the library is started
    }
    ASSERT_EQ(install_allegro(SYSTEM_NONE, &errno, std::atexit), 0);
    set_color_depth(8);

    EXPECT_FALSE(InstallKeyboard());
    EXPECT_EQ(InstallMouse(), 0);
    RemoveMouse();
    int32_t shifts = 5;
    EXPECT_EQ(KeyWaiting(shifts), 0);
    EXPECT_EQ(shifts, 0);
    int32_t code = 7, keyShifts = 7, value = 7;
    TranslateKey(code, keyShifts, value);
    EXPECT_EQ(code, 7);

    UI_INPUT_MANAGER manager(nullptr, 10);
    UI_KEYBOARD_INPUT* device = new UI_KEYBOARD_INPUT(UI_DEVICE_ON);
    manager.AddDevice(device);
    EXPECT_EQ(device->ready, 0);
    UI_MESSAGE e;
    EXPECT_EQ(manager.Get(&e, UI_GET_NO_WAIT), UI_CODE_NOT_HANDLED);
}

} // namespace
