// Tests of the button: construction and requests, choosing by the mouse and
// Enter, double clicks (also across midnight and inside a list), the repeat
// loop, the arrow keys among buttons, check boxes and radio buttons, pictures
// from the storage, the message poster and the trimmed text, against a
// recording display and a scripted mouse; and its edges drawn by the real
// display into a memory page.
#include <gtest/gtest.h>

#include <allegro.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/MemoryScreen.h"
#include "support/WidgetWorld.h"
#include "widgets/FrameworkHooks.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_FG_DISPLAY.h"
#include "widgets/UI_WINDOW.h"

namespace {

constexpr int32_t DAY_HOUR = 360000;   // hundredths

// What a user function was called with.
struct Choice {
    int32_t code;
    int32_t eventType;
};
std::vector<Choice> choices;

int32_t RecordChoice(UI_WIDGET*, UI_MESSAGE* event, int32_t code)
{
    choices.push_back({code, event->type});
    return code;
}

// A window that writes down the framework messages it is sent.
class RecordingWindow : public UI_WINDOW {
public:
    RecordingWindow() : UI_WINDOW(0, 0, 40, 10) {}
    int32_t Event(UI_MESSAGE* event) override
    {
        received.push_back(*event);
        return UI_WINDOW::Event(event);
    }
    std::vector<UI_MESSAGE> received;
};

class Buttons : public testing::Test {
protected:
    void SetUp() override { choices.clear(); }

    // A button on screen 1 covering (10, 10) to (89, 29).
    static void PutOnScreen(UI_WIDGET& b)
    {
        b.screenNumber = 1;
        b.screenRect = UI_RECT{10, 10, 89, 29};
        b.clipRect = UI_RECT{0, 0, 639, 479};
    }
    static int32_t Send(UI_WIDGET& b, int32_t raw, int32_t column = 20, int32_t line = 20)
    {
        UI_MESSAGE m = WidgetWorld::Mouse(raw, column, line);
        return b.Event(&m);
    }
    static int32_t Click(UI_WIDGET& b)
    {
        Send(b, RAW_LEFT_PRESS);
        return Send(b, RAW_LEFT_RELEASE);
    }

    WidgetWorld world_;
};

TEST_F(Buttons, ConstructorCopiesTextAndTakesItsHotKey)
{
    UI_BUTTON b(1, 2, 10, "&Fire", 0, 0, nullptr, 42, "picture");
    EXPECT_STREQ(b.text, "&Fire");
    EXPECT_EQ(b.hotKey, 'f');
    EXPECT_EQ(b.classChain[0], UI_ID_BUTTON);
    EXPECT_EQ(b.classChain[1], UI_ID_WIDGET);
    EXPECT_EQ(b.classId, UI_ID_BUTTON);
    EXPECT_EQ(b.number, 0);   // numbered by its window, not by its class
    EXPECT_EQ(b.depth, 2);
    EXPECT_STREQ(b.bitmapName, "picture");
    EXPECT_EQ(b.givenRect.bottom, 2);   // one line high
    EXPECT_EQ(b.givenRect.right, 10);

    char kept[] = "E~xit";
    UI_BUTTON k(0, 0, 5, kept, 0, UI_FLAG_TEXT_NOT_COPIED);
    EXPECT_EQ(k.text, kept);
    EXPECT_STREQ(kept, "E&xit");
    EXPECT_EQ(k.hotKey, 'x');
    k.SetText("Other");
    EXPECT_STREQ(k.text, "Other");
}

TEST_F(Buttons, QueryReadsAndWritesTheButtonFields)
{
    UI_BUTTON b(0, 0, 5, "Go", 0x4, 0, nullptr, 9);
    uint16_t bits = 0x2;
    b.Query(UI_QUERY_SET_FLAGS, &bits, 0);
    EXPECT_EQ(b.buttonFlags, 0x6);
    b.Query(UI_QUERY_CLEAR_FLAGS, &bits, UI_ID_BUTTON);
    EXPECT_EQ(b.buttonFlags, 0x4);
    EXPECT_EQ(b.Query(UI_QUERY_GET_FLAGS, nullptr, 0), &b.buttonFlags);
    b.Query(UI_QUERY_SET_FLAGS, &bits, UI_ID_WIDGET);   // the widget's flags
    EXPECT_EQ(b.flags, 0x2);
    bits = UI_BUTTON_PRESSED;
    b.Query(UI_QUERY_SET_STATUS, &bits, 0);
    EXPECT_EQ(b.buttonState, UI_BUTTON_PRESSED);
    b.Query(UI_QUERY_CLEAR_STATUS, &bits, 0);
    EXPECT_EQ(b.buttonState, 0);

    int32_t value = 0;
    b.Query(UI_QUERY_GET_VALUE, &value, 0);
    EXPECT_EQ(value, 9);
    value = 11;
    b.Query(UI_QUERY_SET_VALUE, &value, 0);
    EXPECT_EQ(b.value, 11);
    EXPECT_EQ(b.Query(UI_QUERY_GET_TEXT, nullptr, 0), b.text);
    b.Query(UI_QUERY_SET_TEXT, const_cast<char*>("&Stop"), 0);
    EXPECT_EQ(b.hotKey, 's');
    char copy[16];
    b.Query(UI_QUERY_COPY_TEXT, copy, 0);
    EXPECT_STREQ(copy, "&Stop");

    int32_t size = 2;
    b.Query(UI_QUERY_SET_BITMAP_WIDTH, &size, 0);
    size = 3;
    b.Query(UI_QUERY_SET_BITMAP_HEIGHT, &size, 0);
    const uint8_t pixels[6] = {1, 2, 3, 4, 5, 6};
    b.Query(UI_QUERY_SET_BITMAP, const_cast<uint8_t*>(pixels), 0);
    ASSERT_NE(b.bitmapArray, nullptr);
    EXPECT_NE(b.bitmapArray, pixels);
    EXPECT_EQ(b.bitmapArray[5], 6);
    EXPECT_EQ(b.Query(UI_QUERY_GET_BITMAP, nullptr, 0), b.bitmapArray);
    b.Query(UI_QUERY_SET_BITMAP, nullptr, 0);
    EXPECT_EQ(b.bitmapArray, nullptr);
}

TEST_F(Buttons, CheckBoxesAndRadioButtonsAreFlatAndNeverCentred)
{
    struct Row {
        uint16_t buttonFlags, flags;
        uint16_t expectedButtonFlags, expectedFlags;
        int32_t depth;
    };
    const Row rows[] = {
        {UI_BUTTON_CHECK_BOX | UI_BUTTON_NO_TOGGLE | UI_BUTTON_AUTO_HEIGHT, UI_FLAG_CENTRED | UI_FLAG_BORDER,
         UI_BUTTON_CHECK_BOX | UI_BUTTON_FLAT, UI_FLAG_BORDER, 0},
        {UI_BUTTON_RADIO, UI_FLAG_CENTRED, UI_BUTTON_RADIO | UI_BUTTON_FLAT, 0, 0},
        {UI_BUTTON_FLAT, UI_FLAG_CENTRED, UI_BUTTON_FLAT, UI_FLAG_CENTRED, 0},
        {0, UI_FLAG_CENTRED, 0, UI_FLAG_CENTRED, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "buttonFlags 0x" << std::hex << r.buttonFlags);
        UI_BUTTON b(0, 0, 10, "Box", r.buttonFlags, r.flags);
        EXPECT_EQ(b.buttonFlags, r.expectedButtonFlags);
        EXPECT_EQ(b.flags, r.expectedFlags);
        EXPECT_EQ(b.depth, r.depth);
    }
    // A button made a check box later loses its centring on the flags change.
    UI_BUTTON b(0, 0, 10, "Box", 0, UI_FLAG_CENTRED);
    b.buttonFlags |= UI_BUTTON_CHECK_BOX;
    b.Query(UI_QUERY_FLAGS_CHANGED, nullptr, 0);
    EXPECT_EQ(b.flags & UI_FLAG_CENTRED, 0);
}

TEST_F(Buttons, ReleaseWithoutAPressCallsNothing)
{
    UI_BUTTON b(0, 0, 10, "OK", 0, 0, RecordChoice);
    PutOnScreen(b);
    EXPECT_EQ(Send(b, RAW_LEFT_RELEASE), UI_CODE_RELEASE);
    EXPECT_TRUE(choices.empty());
}

TEST_F(Buttons, ClickChoosesOnTheReleaseAndDrawsTheEdgeInAndOut)
{
    UI_BUTTON b(0, 0, 10, "OK", 0, 0, RecordChoice);
    PutOnScreen(b);
    EXPECT_EQ(Send(b, RAW_LEFT_PRESS), UI_CODE_PRESS);
    EXPECT_EQ(b.buttonState, UI_BUTTON_PRESSED);
    EXPECT_TRUE(choices.empty());
    const auto sunken = world_.display.Of("line");
    ASSERT_EQ(sunken.size(), 8u);   // depth 2, four lines a step
    EXPECT_EQ(sunken[2].colours, b.ChooseColours(UI_CODE_DRAW_CURRENT, UI_COLOUR_DARK_EDGE));
    EXPECT_EQ(sunken[2].rect.top, 11);   // inside the outline

    world_.display.calls.clear();
    EXPECT_EQ(Send(b, RAW_LEFT_RELEASE), UI_CODE_SELECT);   // the user function's answer
    EXPECT_EQ(b.buttonState, 0);
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].code, UI_CODE_SELECT);
    EXPECT_EQ(choices[0].eventType, UI_CODE_RELEASE);   // a fresh release, not the mouse event
    const auto raised = world_.display.Of("line");
    ASSERT_EQ(raised.size(), 8u);
    EXPECT_EQ(raised[2].colours, b.ChooseColours(UI_CODE_DRAW_CURRENT, UI_COLOUR_LIGHT_EDGE));
}

TEST_F(Buttons, PointerLeavingLetsTheButtonOutWithoutChoosing)
{
    UI_BUTTON b(0, 0, 10, "OK", 0, 0, RecordChoice);
    PutOnScreen(b);
    Send(b, RAW_LEFT_PRESS);
    EXPECT_EQ(Send(b, RAW_LEFT_HELD, 200, 200), UI_CODE_NOT_HANDLED);
    EXPECT_EQ(b.buttonState, 0);
    EXPECT_EQ(Send(b, RAW_LEFT_RELEASE, 200, 200), UI_CODE_NOT_HANDLED);
    EXPECT_TRUE(choices.empty());
}

TEST_F(Buttons, ActOnPressButtonChoosesOnThePress)
{
    UI_BUTTON b(0, 0, 10, "Go", UI_BUTTON_ON_PRESS, 0, RecordChoice);
    PutOnScreen(b);
    Send(b, RAW_LEFT_PRESS);
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].eventType, UI_MOUSE_EVENT);
    EXPECT_EQ(Send(b, RAW_LEFT_RELEASE), UI_CODE_RELEASE);
    EXPECT_EQ(choices.size(), 1u);
}

TEST_F(Buttons, EnterChoosesWithTheKeyEvent)
{
    UI_BUTTON b(0, 0, 10, "Go", UI_BUTTON_NO_TOGGLE, 0, RecordChoice);
    UI_MESSAGE enter = WidgetWorld::Key(RAW_ENTER);
    EXPECT_EQ(b.Event(&enter), UI_CODE_SELECT);
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].eventType, UI_KEY_EVENT);
    EXPECT_FALSE(b.status & UI_STATUS_SELECTED);   // flag 0x1 keeps it unselected
}

TEST_F(Buttons, SecondReleaseSoonerThanTheDoubleClickTimeIsADoubleClick)
{
    struct Row {
        const char* name;
        int32_t firstAt;   // time of day of the first click
        int32_t gap;       // hundredths to the second click
        bool inList;
        int32_t expected;
    };
    const Row rows[] = {
        {"49 apart", 10 * DAY_HOUR, 49, false, UI_CODE_DOUBLE_CLICK},
        {"50 apart", 10 * DAY_HOUR, 50, false, UI_CODE_SELECT},
        {"inside a list", 10 * DAY_HOUR, 10, true, UI_CODE_SELECT},
        {"across midnight, 49 apart", 24 * DAY_HOUR - 20, 49, false, UI_CODE_DOUBLE_CLICK},
        // Before the elapsed time was counted modulo one day, the first click
        // after midnight was a double click whenever the last was earlier
        // in the day.
        {"after midnight, hours apart", 22 * DAY_HOUR, 2 * DAY_HOUR + 10, false, UI_CODE_SELECT},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        choices.clear();
        RecordingWindow list;
        if (r.inList)
            list.classChain[0] = UI_ID_LIST;
        auto* b = new UI_BUTTON(0, 0, 10, "Item", UI_BUTTON_DOUBLE_CLICK, 0, RecordChoice);
        list.Add(b);
        PutOnScreen(*b);
        world_.time.Set(r.firstAt);
        UI_BUTTON::lastChosen = world_.time.Now() - 100;   // long enough ago
        UI_BUTTON::lastChosenSet = true;
        Click(*b);
        world_.time.Advance(r.gap);
        Click(*b);
        ASSERT_EQ(choices.size(), 2u);
        EXPECT_EQ(choices[0].code, UI_CODE_SELECT);
        EXPECT_EQ(choices[1].code, r.expected);
    }
}

TEST_F(Buttons, FirstMessageSetsTheSharedTimeStamp)
{
    world_.time.Set(5 * DAY_HOUR);
    UI_BUTTON b(0, 0, 10, "Go");
    UI_MESSAGE draw(UI_CODE_DRAW_NORMAL);
    b.Event(&draw);
    EXPECT_TRUE(UI_BUTTON::lastChosenSet);
    EXPECT_EQ(UI_BUTTON::lastChosen, 5 * DAY_HOUR);
}

// Holds a repeating button: every poll of the mouse moves the time on by 4
// hundredths; at the polls given the mouse reports a move to a point (or
// the release).
struct HoldScript {
    int32_t poll;
    int32_t raw;
    int32_t column, line;
};

std::vector<Choice> Hold(WidgetWorld& world, UI_BUTTON& b, const std::vector<HoldScript>& script)
{
    int32_t polls = 0;
    world.mouse->onPoll = [&](ScriptedDevice&) {
        world.time.Advance(4);
        ++polls;
        for (const HoldScript& s : script) {
            if (s.poll == polls) {
                UI_MESSAGE m = WidgetWorld::Mouse(s.raw, s.column, s.line);
                world.manager.Put(&m, UI_PUT_AT_TAIL);
            }
        }
    };
    UI_BUTTON::lastChosen = world.time.Now();
    UI_BUTTON::lastChosenSet = true;
    UI_MESSAGE press = WidgetWorld::Mouse(RAW_LEFT_PRESS, 20, 20);
    EXPECT_EQ(b.Event(&press), UI_CODE_RELEASE);
    world.mouse->onPoll = nullptr;
    return choices;
}

TEST_F(Buttons, RepeatingButtonFiresWhileThePointerStaysOnIt)
{
    UI_BUTTON b(0, 0, 10, "Up", UI_BUTTON_REPEAT, 0, RecordChoice);
    PutOnScreen(b);
    world_.time.Set(9 * DAY_HOUR);
    // Inside for polls 1-9, outside for 10-19, back for 20-29, released at 30.
    const std::vector<Choice> fired = Hold(world_, b,
                                           {{10, RAW_LEFT_HELD, 300, 300},
                                            {20, RAW_LEFT_HELD, 30, 15},
                                            {30, RAW_LEFT_RELEASE, 30, 15}});
    int32_t held = 0;
    for (size_t i = 0; i + 1 < fired.size(); ++i) {
        EXPECT_EQ(fired[i].code, UI_CODE_SELECT);
        held += fired[i].eventType == UI_CODE_DRAG;
    }
    // Every second poll is more than 6 hundredths on: polls 2, 4, 6 and 8,
    // nothing while outside, then 21, 23 ... 29.
    EXPECT_EQ(held, 4 + 5);
    ASSERT_FALSE(fired.empty());
    EXPECT_EQ(fired.back().eventType, UI_CODE_RELEASE);   // the release chooses once more
    EXPECT_EQ(b.buttonState, 0);
}

TEST_F(Buttons, RepeatingButtonKeepsFiringAcrossMidnight)
{
    UI_BUTTON b(0, 0, 10, "Up", UI_BUTTON_REPEAT, 0, RecordChoice);
    PutOnScreen(b);
    world_.time.Set(24 * DAY_HOUR - 30);
    // Twenty polls of 4 hundredths: 80 hundredths, midnight after 30.
    // Subtracting the raw times of day stopped the firing at midnight.
    const std::vector<Choice> fired = Hold(world_, b, {{20, RAW_LEFT_RELEASE, 20, 20}});
    ASSERT_EQ(fired.size(), 10u);   // polls 2, 4 ... 18, and the release
    EXPECT_LT(world_.time.Now(), 100);
}

TEST_F(Buttons, RepeatLoopEndsWhenNoDeviceCouldBringTheRelease)
{
    UI_BUTTON b(0, 0, 10, "Up", UI_BUTTON_REPEAT, 0, RecordChoice);
    PutOnScreen(b);
    world_.manager.Unlink(world_.mouse);
    UI_MESSAGE press = WidgetWorld::Mouse(RAW_LEFT_PRESS, 20, 20);
    EXPECT_EQ(b.Event(&press), UI_CODE_PRESS);
    delete world_.mouse;
}

TEST_F(Buttons, ArrowKeysMoveToTheNextChoosableButtonAndWrap)
{
    RecordingWindow window;
    auto* first = new UI_BUTTON(0, 0, 5, "A", UI_BUTTON_RADIO);
    auto* label = new UI_WIDGET(0, 1, 5, 1);   // not a button
    auto* middle = new UI_BUTTON(0, 2, 5, "B", UI_BUTTON_RADIO);
    auto* greyed = new UI_BUTTON(0, 3, 5, "C", UI_BUTTON_RADIO, UI_FLAG_NOT_SELECTABLE);
    auto* last = new UI_BUTTON(0, 4, 5, "D", UI_BUTTON_RADIO);
    for (UI_WIDGET* w : std::vector<UI_WIDGET*>{first, label, middle, greyed, last})
        window.Add(w);
    struct Row {
        UI_BUTTON* from;
        int32_t raw;
        int32_t code;
        UI_WIDGET* to;
    };
    const Row rows[] = {
        {last, 0x5000, UI_CODE_DOWN, first},     // wraps forwards
        {first, 0x4800, UI_CODE_UP, last},       // wraps backwards
        {first, 0x4D00, UI_CODE_RIGHT, middle},  // skips what is not a button
        {last, 0x4B00, UI_CODE_LEFT, middle},    // skips the one that cannot be chosen
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.from->text);
        window.received.clear();
        UI_MESSAGE key = WidgetWorld::Key(r.raw);
        EXPECT_EQ(r.from->Event(&key), r.code);
        ASSERT_EQ(window.received.size(), 1u);
        EXPECT_EQ(window.received[0].type, UI_CODE_ADD_OBJECT);
        EXPECT_EQ(window.received[0].pointer, r.to);
    }

    RecordingWindow alone;
    auto* only = new UI_BUTTON(0, 0, 5, "Only", UI_BUTTON_RADIO);
    alone.Add(only);
    UI_MESSAGE down = WidgetWorld::Key(0x5000);
    EXPECT_EQ(only->Event(&down), UI_CODE_DOWN);
    EXPECT_TRUE(alone.received.empty());
}

TEST_F(Buttons, RadioButtonInASingleSelectionWindowDeselectsTheOthers)
{
    RecordingWindow window;
    auto* a = new UI_BUTTON(0, 0, 5, "A", UI_BUTTON_RADIO);
    auto* b = new UI_BUTTON(0, 1, 5, "B", UI_BUTTON_RADIO);
    window.Add(a);
    window.Add(b);
    PutOnScreen(*a);
    PutOnScreen(*b);
    a->status |= UI_STATUS_SELECTED;
    window.current = b;
    UI_MESSAGE enter = WidgetWorld::Key(RAW_ENTER);
    b->Event(&enter);
    EXPECT_TRUE(b->status & UI_STATUS_SELECTED);
    EXPECT_FALSE(a->status & UI_STATUS_SELECTED);
    // Its selection changed: drawn again with the circle and the dot.
    EXPECT_EQ(world_.display.Of("ellipse").size(), 2u + 1u);   // b: circle and dot; a: circle
}

TEST_F(Buttons, CheckBoxShowsItsDiagonalsWhenSelected)
{
    RecordingWindow window;
    auto* box = new UI_BUTTON(0, 0, 10, "Box", UI_BUTTON_CHECK_BOX, UI_FLAG_CENTRED);
    window.Add(box);
    UI_BUTTON& b = *box;
    PutOnScreen(b);
    UI_MESSAGE draw(UI_CODE_DRAW_NORMAL);
    draw.rect = b.screenRect;
    b.Event(&draw);
    EXPECT_EQ(world_.display.Of("line").size(), 0u);
    const auto boxes = world_.display.Of("box");
    ASSERT_EQ(boxes.size(), 2u);   // the face, then the square
    const int32_t side = world_.display.textHeight + 2;
    EXPECT_EQ(boxes[1].rect.right - boxes[1].rect.left + 1, side);
    EXPECT_EQ(boxes[1].rect.left, 10 + 4);   // not centred
    world_.display.calls.clear();
    UI_MESSAGE enter = WidgetWorld::Key(RAW_ENTER);
    b.Event(&enter);
    EXPECT_TRUE(b.status & UI_STATUS_SELECTED);
    EXPECT_EQ(world_.display.Of("line").size(), 2u);
    const auto texts = world_.display.Of("text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rect.left, 10 + 4 + side + 4);
}

// A storage holding named objects in its "~UI_BITMAP" directory.
class MemoryStorage : public UI_STORAGE {
public:
    class Object : public UI_STORAGE_OBJECT {
    public:
        explicit Object(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
        bool Load(uint16_t* value) override
        {
            if (at_ + 2 > bytes_.size())
                return false;
            *value = static_cast<uint16_t>(bytes_[at_] | bytes_[at_ + 1] << 8);
            at_ += 2;
            return true;
        }
        bool Load(uint8_t* buffer, int32_t count) override
        {
            if (at_ + static_cast<size_t>(count) > bytes_.size())
                return false;
            std::memcpy(buffer, bytes_.data() + at_, static_cast<size_t>(count));
            at_ += static_cast<size_t>(count);
            return true;
        }

    private:
        std::vector<uint8_t> bytes_;
        size_t at_ = 0;
    };

    bool ChangeDirectory(const char* name) override { return std::strcmp(name, "~UI_BITMAP") == 0; }
    UI_STORAGE_OBJECT* OpenObject(const char* name) override
    {
        const auto found = objects.find(name);
        return found == objects.end() ? nullptr : new Object(found->second);
    }
    std::map<std::string, std::vector<uint8_t>> objects;
};

TEST_F(Buttons, PictureComesFromTheStorageOrNotAtAll)
{
    MemoryStorage storage;
    storage.objects["arrow"] = {3, 0, 2, 0, 1, 2, 3, 4, 5, 6};
    storage.objects["short"] = {3, 0, 2, 0, 1, 2, 3};
    storage.objects["empty"] = {0, 0, 2, 0};
    storage.objects["huge"] = {0x01, 0x10, 1, 0, 0};
    storage.objects["cut"] = {3};
    struct Row {
        const char* name;
        bool installed;
        int32_t storageError;
        int32_t width, height;
    };
    const Row rows[] = {
        {"arrow", true, 0, 3, 2}, {"arrow", false, 0, 0, 0}, {"arrow", true, 1, 0, 0}, {"missing", true, 0, 0, 0},
        {"short", true, 0, 0, 0}, {"empty", true, 0, 0, 0},  {"huge", true, 0, 0, 0},  {"cut", true, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.name << (r.installed ? "" : " without storage") << " error "
                                        << r.storageError);
        storage.storageError = r.storageError;
        UI_STORAGE::defaultStorage = r.installed ? &storage : nullptr;
        world_.display.calls.clear();
        UI_BUTTON b(0, 0, 10, "Text", 0, 0, nullptr, 0, r.name);
        UI_STORAGE::defaultStorage = nullptr;
        EXPECT_EQ(b.bitmapWidth, r.width);
        EXPECT_EQ(b.bitmapHeight, r.height);
        EXPECT_EQ(b.bitmapArray != nullptr, r.width != 0);
        PutOnScreen(b);
        UI_MESSAGE draw(UI_CODE_DRAW_NORMAL);
        draw.rect = b.screenRect;
        b.Event(&draw);
        EXPECT_EQ(world_.display.Of("pixels").size(), r.width != 0 ? 1u : 0u);
        EXPECT_EQ(world_.display.Of("text").size(), 1u);   // the text is drawn either way
        if (r.width != 0) {
            EXPECT_EQ(world_.display.lastPixels[5], 6);
        }
    }
}

TEST_F(Buttons, PosterPutsTheValueAtTheTailAddressedToTheButtonOrItsWindow)
{
    RecordingWindow window;
    UI_WINDOW menu(0, 0, 10, 5);
    menu.classChain[1] = UI_ID_MENU;
    window.Add(&menu);
    auto* own = new UI_BUTTON(0, 0, 5, "Own", UI_BUTTON_SEND_MESSAGE, 0, nullptr, 12345);
    auto* command = new UI_BUTTON(0, 1, 5, "Max", UI_BUTTON_SEND_MESSAGE, 0, nullptr, UI_CODE_MAXIMIZE);
    menu.Add(own);
    menu.Add(command);
    EXPECT_EQ(own->callback, UI_BUTTON::PostValue);

    UI_MESSAGE waiting(777);
    world_.manager.Put(&waiting, UI_PUT_AT_TAIL);
    UI_MESSAGE enter = WidgetWorld::Key(RAW_ENTER);
    EXPECT_EQ(own->Event(&enter), UI_CODE_SELECT);
    EXPECT_EQ(command->Event(&enter), UI_CODE_SELECT);

    UI_MESSAGE taken;
    ASSERT_EQ(world_.manager.Get(&taken, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(taken.type, 777);   // what waited stays in front
    ASSERT_EQ(world_.manager.Get(&taken, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(taken.type, 12345);
    EXPECT_EQ(taken.code, 0);
    EXPECT_EQ(taken.pointer, own);
    ASSERT_EQ(world_.manager.Get(&taken, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(taken.type, UI_CODE_MAXIMIZE);
    EXPECT_EQ(taken.pointer, &window);   // past the menu to the window
    menu.Unlink(own);
    menu.Unlink(command);
    window.Unlink(&menu);
    delete own;
    delete command;
}

TEST_F(Buttons, DoubleClickPosterPostsOnEnterAndDoubleClickOnly)
{
    auto* b = new UI_BUTTON(0, 0, 5, "List", UI_BUTTON_SEND_MESSAGE | UI_BUTTON_DOUBLE_CLICK, 0, nullptr, 4321);
    RecordingWindow window;
    window.Add(b);
    PutOnScreen(*b);
    world_.time.Set(8 * DAY_HOUR);
    UI_BUTTON::lastChosen = world_.time.Now() - 100;
    UI_BUTTON::lastChosenSet = true;
    UI_MESSAGE taken;
    Click(*b);   // a single click posts nothing
    EXPECT_EQ(world_.manager.Get(&taken, UI_GET_NO_WAIT | UI_GET_NO_POLL), UI_CODE_NOT_HANDLED);
    world_.time.Advance(20);
    Click(*b);
    ASSERT_EQ(world_.manager.Get(&taken, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(taken.type, 4321);
    UI_MESSAGE enter = WidgetWorld::Key(RAW_ENTER);
    b->Event(&enter);
    ASSERT_EQ(world_.manager.Get(&taken, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(taken.type, 4321);
}

TEST_F(Buttons, TrimmedTextLosesBlanksAndMarkers)
{
    struct Row {
        const char* text;
        const char* trimmed;
    };
    const Row rows[] = {
        {"  &Save  ", "Save"}, {"Salt && Pepper", "Salt & Pepper"}, {"\t&&&x\t", "&x"}, {"   ", ""}, {"Plain", "Plain"},
    };
    for (const Row& r : rows) {
        UI_BUTTON b(0, 0, 5, r.text);
        EXPECT_STREQ(b.GetTrimmedText(1), r.trimmed) << r.text;
        EXPECT_STREQ(b.GetTrimmedText(0), r.text);
    }
    UI_BUTTON none(0, 0, 5, nullptr);
    EXPECT_STREQ(none.GetTrimmedText(1), "");
}

TEST_F(Buttons, AutoHeightFollowsThePictureAndText)
{
    UI_BUTTON b(0, 5, 10, "Tall", UI_BUTTON_AUTO_HEIGHT, UI_FLAG_CENTRED);
    b.bitmapHeight = 30;
    UI_MESSAGE initialise(UI_CODE_INITIALIZE);
    b.Event(&initialise);
    // 30 + edge 2 + 6 + one cell row for the text under the picture.
    EXPECT_EQ(b.screenRect.bottom - b.screenRect.top, 30 + 8 + 14);
    UI_BUTTON low(0, 5, 10, "Low", UI_BUTTON_AUTO_HEIGHT | UI_BUTTON_FLAT);
    low.Event(&initialise);
    EXPECT_EQ(low.screenRect.bottom - low.screenRect.top, 14 * 10 / 9);
}

// The real display over a memory page: the 3-D edge of a button in the
// colours ChooseColours gives, raised and then pressed in.
TEST(ButtonPixels, RaisedAndPressedEdgesInTheChosenColours)
{
    MemoryScreen memory;
    UI_FG_DISPLAY display(0);
    ASSERT_EQ(display.ready, 1);
    UI_INPUT_MANAGER manager(&display, 10);
    UI_DESKTOP desktop(&display, &manager);
    UI_BUTTON b(0, 0, 10, "OK");
    b.screenNumber = 1;
    b.screenRect = UI_RECT{100, 100, 179, 123};
    b.clipRect = UI_RECT{0, 0, 639, 479};
    UI_MESSAGE draw(UI_CODE_DRAW_NORMAL);
    draw.rect = b.screenRect;
    b.Event(&draw);
    BITMAP* page = fg_get_page(FG_PAGE_BACK);
    auto colour = [&](uint16_t id) { return display.ColourIndex(b.ChooseColours(UI_CODE_DRAW_CURRENT, id), 1); };
    const int32_t light = colour(UI_COLOUR_LIGHT_EDGE);
    const int32_t dark = colour(UI_COLOUR_DARK_EDGE);
    const int32_t shadow = colour(UI_COLOUR_SHADOW_EDGE);
    const int32_t outline = display.ColourIndex(b.ChooseColours(UI_CODE_DRAW_NORMAL, UI_COLOUR_BORDER), 1);
    ASSERT_NE(light, dark);
    ASSERT_NE(dark, shadow);
    // The outline with open corners, then two steps of edge inside it.
    EXPECT_EQ(CountPageColour(page, outline, 101, 100, 178, 100), 78);
    EXPECT_NE(getpixel(page, 100, 100), outline);
    // The top two rows: the first step's top line, then the first step's
    // left line beside the second step's top line.
    EXPECT_EQ(CountPageColour(page, light, 101, 101, 177, 102), 77 + 1 + 75);
    EXPECT_EQ(CountPageColour(page, dark, 178, 101, 178, 122), 22);         // right column
    EXPECT_EQ(CountPageColour(page, dark, 101, 122, 177, 122), 77);         // bottom row

    UI_MESSAGE press = WidgetWorld::Mouse(RAW_LEFT_PRESS, 120, 110);
    b.Event(&press);
    EXPECT_EQ(CountPageColour(page, dark, 101, 101, 177, 102), 77 + 1 + 75);
    EXPECT_EQ(CountPageColour(page, shadow, 178, 101, 178, 122), 22);
    UI_MESSAGE release = WidgetWorld::Mouse(RAW_LEFT_RELEASE, 120, 110);
    b.Event(&release);
    EXPECT_EQ(CountPageColour(page, light, 101, 101, 177, 102), 77 + 1 + 75);
}

} // namespace
