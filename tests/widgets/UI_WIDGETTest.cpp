// Tests of the window-object base: constructor rectangles, the requests,
// hot keys from texts, event and colour mapping along the class chain, cell
// conversion, the user-function call, the base event handler (numbering,
// layout, redisplay, pointer codes, help) and the shared drawing routines,
// against a recording display; and the default hot-key table.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "support/WidgetWorld.h"
#include "widgets/FrameworkHooks.h"
#include "widgets/UI_WIDGET.h"
#include "widgets/UI_WINDOW.h"

namespace {

TEST(UI_WIDGET, ConstructorTakesANonPositiveWidthAsTheEdgeItself)
{
    struct Row {
        int32_t left, top, width, height;
        UI_RECT expected;
    };
    const Row rows[] = {
        {10, 2, 0, 1, {10, 2, 0, 2}},     // width 0: right is 0
        {-1, 2, 20, 1, {-1, 2, 20, 2}},   // from the right edge: right is 20
        {3, 4, 5, 6, {3, 4, 7, 9}},
        {3, -4, 5, -2, {3, -4, 7, -2}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.left << "," << r.top << " " << r.width << "x" << r.height);
        UI_WIDGET w(r.left, r.top, r.width, r.height);
        EXPECT_EQ(std::memcmp(&w.givenRect, &r.expected, sizeof(UI_RECT)), 0);
        EXPECT_EQ(std::memcmp(&w.screenRect, &r.expected, sizeof(UI_RECT)), 0);
    }
}

TEST(UI_WIDGET, InitialisesItsChainTablesAndStatus)
{
    const uint16_t savedDefault = UI_WIDGET::defaultStatus;
    UI_WIDGET::defaultStatus = 0x4;
    UI_WIDGET w(0, 0, 1, 1, UI_FLAG_CLEAR_ON_START | UI_FLAG_INVALID_ON_START);
    UI_WIDGET::defaultStatus = savedDefault;
    for (uint16_t id : w.classChain)
        EXPECT_EQ(id, UI_ID_WIDGET);
    EXPECT_EQ(w.status, 0x4 | UI_STATUS_CLEAR | UI_STATUS_INVALID);
    EXPECT_EQ(w.eventTable, UI_DEFAULT_EVENT_TABLE);
    EXPECT_EQ(w.hotKeyTable, UI_DEFAULT_HOTKEY_TABLE);
    EXPECT_EQ(w.colourTable, UI_DEFAULT_COLOUR_TABLE);
    EXPECT_EQ(w.font, UI_FONT_OBJECT);
}

TEST(UI_WIDGET, QueryFindsGetsSetsAndClears)
{
    UI_WIDGET w(0, 0, 1, 1, 0x10);
    w.number = 7;
    std::strcpy(w.searchName, "Range");
    uint16_t seven = 7, eight = 8;
    EXPECT_EQ(w.Query(UI_QUERY_FIND_NUMBER, &seven, 0), &w);
    EXPECT_EQ(w.Query(UI_QUERY_FIND_NUMBER, &eight, 0), nullptr);
    EXPECT_EQ(w.Query(UI_QUERY_FIND_NAME, const_cast<char*>("rANGE"), 0), &w);
    EXPECT_EQ(w.Query(UI_QUERY_FIND_NAME, const_cast<char*>("Ranges"), 0), nullptr);

    EXPECT_EQ(w.Query(UI_QUERY_GET_FLAGS, nullptr, 0), &w.flags);
    uint16_t bits = 0x3;
    w.Query(UI_QUERY_SET_FLAGS, &bits, 0);
    EXPECT_EQ(w.flags, 0x13);
    bits = 0x11;
    w.Query(UI_QUERY_CLEAR_FLAGS, &bits, UI_ID_WIDGET);
    EXPECT_EQ(w.flags, 0x2);
    uint16_t out = 0;
    EXPECT_EQ(w.Query(UI_QUERY_GET_FLAGS, &out, 0), &out);
    EXPECT_EQ(out, 0x2);
    bits = 0x8;
    w.Query(UI_QUERY_SET_STATUS, &bits, 0);
    EXPECT_EQ(w.status & 0x8, 0x8);
    w.Query(UI_QUERY_CLEAR_STATUS, &bits, 0);
    EXPECT_EQ(w.status & 0x8, 0);

    // Another class's flags are not the base's to answer.
    EXPECT_EQ(w.Query(UI_QUERY_GET_FLAGS, nullptr, UI_ID_BUTTON), nullptr);
    bits = 0x40;
    EXPECT_EQ(w.Query(UI_QUERY_SET_FLAGS, &bits, UI_ID_WINDOW), nullptr);
    EXPECT_EQ(w.flags, 0x2);
    EXPECT_EQ(w.Query(0x999, &bits, 0), nullptr);

    w.screenNumber = 3;
    w.Query(UI_QUERY_FLAGS_CHANGED, nullptr, 0);
    EXPECT_TRUE(w.status & UI_STATUS_ON_SCREEN);
    w.screenNumber = 0;
    w.Query(UI_QUERY_FLAGS_CHANGED, nullptr, 0);
    EXPECT_FALSE(w.status & UI_STATUS_ON_SCREEN);
}

TEST(UI_WIDGET, NumberAndHotKeyStoreOnlyNonZero)
{
    UI_WIDGET w(0, 0, 1, 1);
    EXPECT_EQ(w.Number(5), 5);
    EXPECT_EQ(w.Number(0), 5);
    EXPECT_EQ(w.HotKey('x'), 'x');
    EXPECT_EQ(w.HotKey(0), 'x');
}

TEST(UI_WIDGET, HotKeyFromTextTakesTheLetterAfterTheFirstSingleMarker)
{
    struct Row {
        const char* text;
        int32_t hotKey;
        const char* after;   // the text once '~' became '&'
    };
    const Row rows[] = {
        {"Salt && &Fresh", 'f', "Salt && &Fresh"},   // doubled first, then the marker
        {"E~xit", 'x', "E&xit"},
        {"Stop&", 0, "Stop&"},                       // the marker ends the text
        {"No marker", 0, "No marker"},
        {"&&", 0, "&&"},
        {"&1st", '1', "&1st"},
        {"&Q and &R", 'q', "&Q and &R"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        char text[32];
        std::strcpy(text, r.text);
        UI_WIDGET w(0, 0, 1, 1);
        w.hotKey = 'z';
        EXPECT_EQ(w.HotKeyFromText(text), r.hotKey);
        EXPECT_EQ(w.hotKey, r.hotKey);
        EXPECT_STREQ(text, r.after);
    }
    UI_WIDGET w(0, 0, 1, 1);
    w.hotKey = 'z';
    EXPECT_EQ(w.HotKeyFromText(nullptr), 0);
}

UI_MESSAGE KeyEvent(int32_t code)
{
    UI_MESSAGE m(UI_KEY_EVENT);
    m.code = code;
    return m;
}

TEST(UI_WIDGET, MapEventLooksAlongTheChainFromTheGivenClass)
{
    UI_WIDGET titleBar(0, 0, 1, 1);
    titleBar.classChain[0] = UI_ID_TITLE_BAR;
    titleBar.classChain[1] = UI_ID_BUTTON;
    UI_WIDGET field(0, 0, 1, 1);
    field.classChain[0] = 13;
    UI_MESSAGE press(UI_MOUSE_EVENT);
    press.code = 0x1100;
    UI_MESSAGE logical(1234);
    struct Row {
        const UI_WIDGET* object;
        UI_MESSAGE event;
        uint16_t objectID;
        int32_t expected;
    };
    const Row rows[] = {
        {&titleBar, KeyEvent(0x1C0D), 0, UI_CODE_SELECT},   // found through 18 at the chain's end
        {&titleBar, KeyEvent(0x1E61), 0, UI_KEY_EVENT},      // no record: the type
        {&field, press, 0, 1101},                            // the field's own record first
        {&field, press, UI_ID_WIDGET, UI_CODE_PRESS},
        {&field, press, 1007, UI_CODE_PRESS},                // not in the chain: 18 only
        {&field, logical, 0, 1234},
        {&titleBar, KeyEvent(0x11C0D), 0, UI_CODE_SELECT},   // only the low 16 bits count
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << r.event.code << " id " << r.objectID);
        EXPECT_EQ(r.object->MapEvent(&r.event, r.objectID), r.expected);
    }
}

TEST(UI_WIDGET, ChooseColoursPicksTheStateFromCodeAndStatus)
{
    UI_WINDOW window(0, 0, 10, 10);
    UI_WIDGET w(0, 0, 1, 1);
    w.classChain[0] = UI_ID_BUTTON;
    auto entryFor = [](uint16_t id, uint32_t state) {
        return LookUpColours(UI_DEFAULT_COLOUR_TABLE, state, id, 18, 18, 18, 18);
    };
    struct Row {
        uint16_t flags, status, parentStatus;
        int32_t code;
        uint16_t colourID;
        uint32_t state;
        uint16_t id;
    };
    const Row rows[] = {
        {0, 0, 0, 0, 0, 0, UI_ID_BUTTON},
        {0, UI_STATUS_CURRENT, 0, UI_CODE_DRAW_CURRENT, 0, 4, UI_ID_BUTTON},
        {0, 0, 0, UI_CODE_DRAW_CURRENT, 0, 1, UI_ID_BUTTON},
        {0, 0, 0, UI_CODE_DRAW_NORMAL, 0, 1, UI_ID_BUTTON},
        {0, 0, 0, UI_CODE_DEACTIVATE, 0, 1, UI_ID_BUTTON},
        {0, 0, UI_STATUS_CURRENT, UI_CODE_DRAW_INACTIVE, 0, 1, UI_ID_BUTTON},
        {0, UI_STATUS_SELECTED, 0, UI_CODE_DRAW_INACTIVE, 0, 8, UI_ID_BUTTON},
        {UI_FLAG_NOT_SELECTABLE, UI_STATUS_CURRENT | UI_STATUS_SELECTED, 0, UI_CODE_DRAW_CURRENT, 0, 0x18,
         UI_ID_BUTTON},
        {0, UI_STATUS_CURRENT, 0, UI_CODE_DRAW_CURRENT, UI_COLOUR_ALTERNATE, 0x24, UI_ID_BUTTON},
        {0, 0, 0, UI_CODE_DRAW_NORMAL, UI_COLOUR_LIGHT_EDGE, 1, UI_COLOUR_LIGHT_EDGE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "code " << r.code << " status 0x" << std::hex << r.status);
        w.flags = r.flags;
        w.status = r.status;
        window.status = r.parentStatus;
        w.parent = &window;
        EXPECT_EQ(w.ChooseColours(r.code, r.colourID), entryFor(r.id, r.state));
    }
    w.parent = nullptr;
}

TEST(UI_WIDGET, CellsToPixelsUsesTheDisplaysCellAndSpacing)
{
    RecordingDisplay display;   // cells 8 by 14, 2 above and below
    UI_SCREEN* saved = UI_WIDGET::screen;
    UI_WIDGET::screen = &display;
    struct Row {
        uint16_t flags;
        UI_RECT given;
        int32_t absolute;
        UI_RECT expected;
    };
    const Row rows[] = {
        {0, {1, 1, 3, 2}, 0, {8, 16, 31, 39}},
        {0, {1, 1, 3, 2}, 1, {8, 14, 31, 41}},
        {0, {-2, 0, -1, 0}, 1, {624, 0, 639, 13}},       // from the right edge
        {UI_FLAG_FRACTIONAL, {15, 5, 25, 10}, 1, {12, 7, 20, 14}},   // tenths, rounded away from zero
        {UI_FLAG_FRACTIONAL, {-15, 0, 1, 0}, 1, {628, 0, 1, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.given.left << "," << r.given.top << "," << r.given.right << ","
                                        << r.given.bottom << " absolute " << r.absolute);
        UI_WIDGET w(0, 0, 1, 1, r.flags);
        UI_RECT rect = r.given;
        w.CellsToPixels(&rect, r.absolute);
        EXPECT_EQ(std::memcmp(&rect, &r.expected, sizeof(UI_RECT)), 0)
            << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
        EXPECT_TRUE(w.status & UI_STATUS_IN_PIXELS);
    }
    // Once in pixels, only edges counted from the screen's far side move.
    UI_WIDGET w(0, 0, 1, 1);
    w.status |= UI_STATUS_IN_PIXELS;
    w.givenRect = UI_RECT{5, 5, -3, -2};
    UI_RECT rect{5, 5, -3, -2};
    w.CellsToPixels(&rect, 0);
    EXPECT_EQ(rect.right, 637);
    EXPECT_EQ(rect.bottom, 478);
    UI_WIDGET::screen = saved;
}

// A user function that counts its calls and, once, calls the object's
// RunCallback again from inside.
int32_t calls = 0;
int32_t nestedAnswer = -99;
int32_t CountingCallback(UI_WIDGET* object, UI_MESSAGE* event, int32_t code)
{
    ++calls;
    if (calls == 1)
        nestedAnswer = object->RunCallback(event, code);
    return 77;
}

TEST(UI_WIDGET, RunCallbackRefusesANestedCall)
{
    calls = 0;
    UI_WIDGET w(0, 0, 1, 1);
    w.callback = CountingCallback;
    UI_MESSAGE m(UI_KEY_EVENT);
    EXPECT_EQ(w.RunCallback(&m, UI_CODE_DRAW_CURRENT), 77);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(nestedAnswer, 0);
    EXPECT_FALSE(w.status & UI_STATUS_IN_CALLBACK);
    w.status |= UI_STATUS_NO_CALLBACK;
    EXPECT_EQ(w.RunCallback(&m, UI_CODE_SELECT), 0);
    EXPECT_EQ(calls, 1);
}

class ValidatingWidget : public UI_WIDGET {
public:
    ValidatingWidget() : UI_WIDGET(0, 0, 1, 1) {}
    int32_t Validate(int32_t) override { return verdict; }
    int32_t verdict = 0;
};

TEST(UI_WIDGET, RunCallbackWithoutAFunctionAsksValidate)
{
    ValidatingWidget w;
    UI_MESSAGE m(UI_KEY_EVENT);
    EXPECT_EQ(w.RunCallback(&m, UI_CODE_SELECT), 0);
    w.verdict = 5;
    EXPECT_EQ(w.RunCallback(&m, UI_CODE_SELECT), -1);
    EXPECT_EQ(w.RunCallback(&m, UI_CODE_DRAW_CURRENT), UI_CODE_DRAW_CURRENT);
}

TEST(UI_WIDGET, ChoosingSetsOrTogglesSelectionAndDeselectsSiblings)
{
    UI_WINDOW window(0, 0, 10, 10);
    auto* a = new UI_WIDGET(0, 0, 1, 1);
    auto* b = new UI_WIDGET(0, 1, 1, 1);
    window.Add(a);
    window.Add(b);
    UI_MESSAGE m(UI_KEY_EVENT);
    a->status |= UI_STATUS_SELECTED;
    window.current = b;
    b->RunCallback(&m, UI_CODE_SELECT);   // single selection: only b stays
    EXPECT_TRUE(b->status & UI_STATUS_SELECTED);
    EXPECT_FALSE(a->status & UI_STATUS_SELECTED);
    b->RunCallback(&m, UI_CODE_SELECT);   // set again, not toggled
    EXPECT_TRUE(b->status & UI_STATUS_SELECTED);

    window.listFlags = UI_LIST_MULTIPLE_SELECTION;
    a->status |= UI_STATUS_SELECTED;
    b->RunCallback(&m, UI_CODE_SELECT);   // toggled off; a keeps its selection
    EXPECT_FALSE(b->status & UI_STATUS_SELECTED);
    EXPECT_TRUE(a->status & UI_STATUS_SELECTED);

    b->flags |= UI_FLAG_NOT_SELECTABLE;
    b->RunCallback(&m, UI_CODE_SELECT);
    EXPECT_FALSE(b->status & UI_STATUS_SELECTED);
}

class WidgetEvents : public testing::Test {
protected:
    WidgetWorld world_;
};

TEST_F(WidgetEvents, InitialiseNumbersUnnamedObjectsFromTheirTopLevelWindow)
{
    UI_WINDOW window(0, 0, 20, 10);
    UI_WIDGET* objects[3];
    for (UI_WIDGET*& object : objects) {
        object = new UI_WIDGET(1, 1, 3, 2);
        window.Add(object);
        UI_MESSAGE initialise(UI_CODE_INITIALIZE);
        EXPECT_EQ(object->Event(&initialise), UI_CODE_INITIALIZE);
    }
    EXPECT_STREQ(objects[0]->searchName, "FIELD_1");
    EXPECT_STREQ(objects[2]->searchName, "FIELD_3");
    EXPECT_EQ(objects[2]->number, 3);
    EXPECT_EQ(window.number, 4);
    // A client object in whole cells keeps its row spacing.
    EXPECT_EQ(objects[0]->givenRect.top, 16);
    EXPECT_EQ(objects[0]->givenRect.bottom, 39);

    auto* named = new UI_WIDGET(0, 0, 1, 1, UI_FLAG_SUPPORT);
    std::strcpy(named->searchName, "NAMED");
    named->number = 40;
    window.Add(named);
    UI_MESSAGE initialise(UI_CODE_INITIALIZE);
    named->Event(&initialise);
    EXPECT_STREQ(named->searchName, "NAMED");
    EXPECT_EQ(window.number, 4);
    EXPECT_EQ(named->givenRect.top, 0);   // a support object: no spacing
}

// A window on the desktop is a top-level window, not an object inside one:
// it takes no number from the counter its children share, and it is placed
// without the spacing of a cell row.
TEST_F(WidgetEvents, WindowOnTheDesktopIsNotNumberedAsAChild)
{
    auto* window = new UI_WINDOW(1, 1, 3, 2);
    world_.desktop.Add(window);   // on the screen: initialised and laid out
    EXPECT_EQ(window->number, 0);
    EXPECT_STREQ(window->searchName, "FIELD_0");
    EXPECT_EQ(window->givenRect.top, 14);      // absolute: no space above
    EXPECT_EQ(window->givenRect.bottom, 41);   // nor below
    UI_WIDGET* objects[3];
    for (UI_WIDGET*& object : objects)
        window->Add(object = new UI_WIDGET(1, 1, 3, 2));   // the window is on the screen
    EXPECT_STREQ(objects[0]->searchName, "FIELD_1");
    EXPECT_STREQ(objects[2]->searchName, "FIELD_3");
    EXPECT_EQ(window->number, 4);
}

TEST_F(WidgetEvents, LayoutGivesScreenNumbersAndTheWindowsRoom)
{
    UI_WINDOW window(0, 0, 20, 10);
    UI_MESSAGE layout(UI_CODE_LAYOUT);
    const int32_t before = UI_DESKTOP::nextScreenNumber;
    EXPECT_EQ(window.Event(&layout), UI_CODE_LAYOUT);
    EXPECT_EQ(window.screenNumber, before + 1);   // top level: the next number
    EXPECT_EQ(window.screenRect.right, 19);
    window.screenRect = UI_RECT{100, 50, 300, 200};
    window.clipList.DeleteAll();   // moved by hand: its client area follows

    // Added to a window on the screen: initialised (cells to pixels) and
    // laid out at once.
    auto* child = new UI_WIDGET(2, 3, 4, 1);
    window.Add(child);
    EXPECT_EQ(child->Event(&layout), UI_CODE_LAYOUT);
    EXPECT_EQ(child->screenNumber, window.screenNumber);
    EXPECT_EQ(child->screenRect.left, 100 + 2 * 8);
    EXPECT_EQ(child->screenRect.top, 50 + 3 * 14 + 2);
    EXPECT_TRUE(child->status & UI_STATUS_REDRAW);

    auto* modal = new UI_WIDGET(2, 3, 4, 1, 0, UI_WINDOW_MODAL);
    window.Add(modal);
    modal->Event(&layout);
    EXPECT_EQ(modal->screenNumber, before + 2);
    EXPECT_EQ(modal->screenRect.left, 2 * 8);   // its own room
}

TEST_F(WidgetEvents, ScreenChangeTurnsPixelsBackIntoCells)
{
    UI_WIDGET w(1, 1, 3, 2);
    UI_MESSAGE initialise(UI_CODE_INITIALIZE);
    w.Event(&initialise);
    ASSERT_EQ(w.givenRect.right, 31);
    w.screenNumber = 4;
    UI_MESSAGE changed(UI_CODE_SCREEN_CHANGED);
    EXPECT_EQ(w.Event(&changed), UI_CODE_SCREEN_CHANGED);
    EXPECT_EQ(w.givenRect.left, 1);
    EXPECT_EQ(w.givenRect.top, 1);
    EXPECT_EQ(w.givenRect.right, 3);
    EXPECT_EQ(w.givenRect.bottom, 2);
    EXPECT_EQ(w.screenNumber, 0);
    EXPECT_FALSE(w.status & UI_STATUS_IN_PIXELS);
}

class DrawingWidget : public UI_WIDGET {
public:
    DrawingWidget() : UI_WIDGET(0, 0, 1, 1) { status |= UI_STATUS_DRAWS_ITSELF; }
    int32_t Draw(UI_MESSAGE*, int32_t code) override
    {
        codes.push_back(code);
        return 1;
    }
    std::vector<int32_t> codes;
};

TEST_F(WidgetEvents, RedisplayDrawsOnlyAnObjectOnTheScreenWithItsState)
{
    DrawingWidget w;
    w.screenRect = UI_RECT{10, 10, 50, 30};
    UI_MESSAGE redisplay(UI_CODE_REDISPLAY);
    EXPECT_EQ(w.Event(&redisplay), UI_CODE_REDISPLAY);
    EXPECT_TRUE(w.codes.empty());   // not on the screen

    w.screenNumber = 2;
    w.Event(&redisplay);
    w.status |= UI_STATUS_CURRENT;
    w.Event(&redisplay);
    ASSERT_EQ(w.codes.size(), 2u);
    EXPECT_EQ(w.codes[0], UI_CODE_DRAW_INACTIVE);
    EXPECT_EQ(w.codes[1], UI_CODE_DRAW_CURRENT);
    EXPECT_FALSE(w.status & UI_STATUS_REDRAW);
    EXPECT_FALSE(w.status & UI_STATUS_IN_CALLBACK);
    EXPECT_EQ(world_.display.holds, world_.display.releases);
}

TEST_F(WidgetEvents, PointerCodesCountOnlyInsideRegionAndClip)
{
    UI_WIDGET w(0, 0, 1, 1);
    w.screenRect = UI_RECT{10, 10, 50, 30};
    w.clipRect = UI_RECT{0, 0, 30, 100};
    struct Row {
        int32_t raw, column, line, expected;
    };
    const Row rows[] = {
        {RAW_LEFT_PRESS, 20, 20, UI_CODE_PRESS},
        {RAW_LEFT_HELD, 20, 20, UI_CODE_DRAG},
        {RAW_LEFT_RELEASE, 10, 30, UI_CODE_RELEASE},
        {RAW_LEFT_PRESS, 40, 20, UI_CODE_NOT_HANDLED},   // outside the clip
        {RAW_LEFT_PRESS, 20, 31, UI_CODE_NOT_HANDLED},   // below the region
        {0x0000, 20, 20, UI_CODE_POINTER_MOVE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.raw << std::dec << " at " << r.column << "," << r.line);
        UI_MESSAGE m = WidgetWorld::Mouse(r.raw, r.column, r.line);
        EXPECT_EQ(w.Event(&m), r.expected);
    }
    EXPECT_EQ(world_.mouse->received.back(), UI_POINTER_NORMAL);
    UI_MESSAGE other = WidgetWorld::Key(0x1E61);
    EXPECT_EQ(w.Event(&other), UI_CODE_NOT_HANDLED);
}

class RecordingHelp : public UI_HELP_SYSTEM {
public:
    void DisplayHelp(UI_WIDGET*, int32_t topic) override { topics.push_back(topic); }
    std::vector<int32_t> topics;
};

TEST_F(WidgetEvents, HelpGoesToTheHelpSystemWhenThereIsATopic)
{
    RecordingHelp help;
    helpSystem = &help;
    UI_WINDOW window(0, 0, 10, 10);
    auto* child = new UI_WIDGET(0, 0, 1, 1);
    window.Add(child);
    UI_MESSAGE m(UI_CODE_HELP);
    EXPECT_EQ(child->Event(&m), UI_CODE_NOT_HANDLED);
    child->helpTopic = 12;
    EXPECT_EQ(child->Event(&m), UI_CODE_HELP);
    UI_WIDGET alone(0, 0, 1, 1);
    EXPECT_EQ(alone.Event(&m), UI_CODE_HELP);   // the index
    helpSystem = nullptr;
    EXPECT_EQ(alone.Event(&m), UI_CODE_HELP);
    EXPECT_EQ(help.topics, (std::vector<int32_t>{12, 0}));
}

TEST_F(WidgetEvents, ClaimAndRemoval)
{
    UI_WIDGET w(0, 0, 1, 1);
    w.screenNumber = 6;
    w.screenRect = UI_RECT{1, 2, 3, 4};
    UI_MESSAGE claim(UI_CODE_CLAIM_REGION);
    EXPECT_EQ(w.Event(&claim), UI_CODE_CLAIM_REGION);
    ASSERT_EQ(world_.display.assigned.size(), 1u);
    EXPECT_EQ(world_.display.assigned[0].screenNumber, 6);
    UI_MESSAGE removed(UI_CODE_REMOVED);
    EXPECT_EQ(w.Event(&removed), UI_CODE_REMOVED);
    EXPECT_EQ(w.screenNumber, 0);
}

TEST_F(WidgetEvents, ShadowOfDepthTwoOnFiveByFiveLeavesOnePixel)
{
    UI_WIDGET w(0, 0, 1, 1);
    w.clipRect = UI_RECT{0, 0, 639, 479};
    UI_RECT area{10, 10, 14, 14};
    EXPECT_EQ(w.DrawShadow(1, &area, 2, 1, UI_CODE_DRAW_NORMAL), UI_CODE_DRAW_NORMAL);
    EXPECT_EQ(area.left, 12);
    EXPECT_EQ(area.top, 12);
    EXPECT_EQ(area.right, 12);
    EXPECT_EQ(area.bottom, 12);
    const auto lines = world_.display.Of("line");
    ASSERT_EQ(lines.size(), 8u);
    // Raised: light above and left, dark right and below.
    const UI_COLOUR_ENTRY* light = w.ChooseColours(UI_CODE_DRAW_NORMAL, UI_COLOUR_LIGHT_EDGE);
    const UI_COLOUR_ENTRY* dark = w.ChooseColours(UI_CODE_DRAW_NORMAL, UI_COLOUR_DARK_EDGE);
    EXPECT_EQ(lines[0].colours, dark);     // right
    EXPECT_EQ(lines[1].colours, dark);     // bottom
    EXPECT_EQ(lines[2].colours, light);    // top
    EXPECT_EQ(lines[3].colours, light);    // left
    EXPECT_EQ(lines[0].rect.left, 14);
    EXPECT_EQ(lines[1].rect.right, 13);    // the bottom stops short of the right line
    EXPECT_EQ(lines[3].rect.top, 11);
    EXPECT_TRUE(world_.display.Of("box").empty());   // the one pixel left is not filled

    world_.display.calls.clear();
    UI_RECT sunken{0, 0, 9, 9};
    w.DrawShadow(1, &sunken, -1, 1, UI_CODE_DRAW_NORMAL);
    const auto sunk = world_.display.Of("line");
    EXPECT_EQ(sunk[0].colours, w.ChooseColours(UI_CODE_DRAW_NORMAL, UI_COLOUR_SHADOW_EDGE));
    EXPECT_EQ(sunk[2].colours, dark);
    EXPECT_EQ(world_.display.Of("box").size(), 1u);

    world_.display.calls.clear();
    UI_RECT flat{0, 0, 9, 9};
    w.DrawShadow(1, &flat, 0, 1, UI_CODE_DRAW_NORMAL);
    EXPECT_TRUE(world_.display.calls.empty());
    EXPECT_EQ(flat.right, 9);
}

TEST_F(WidgetEvents, DrawTextJustifiesUnlessTheTextIsTooWide)
{
    struct Row {
        uint16_t flags;
        const char* text;
        int32_t column;
    };
    const Row rows[] = {
        {0, "abc", 10},
        {UI_FLAG_CENTRED, "abc", 10 + (100 - 24) / 2},
        {UI_FLAG_RIGHT, "abc", 109 - 24},
        {UI_FLAG_CENTRED, "a text much wider than its area", 10},
        {UI_FLAG_RIGHT, "a text much wider than its area", 10},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        world_.display.calls.clear();
        UI_WIDGET w(0, 0, 1, 1, r.flags);
        w.clipRect = UI_RECT{0, 0, 639, 479};
        UI_RECT area{10, 20, 109, 39};
        w.DrawText(1, &area, r.text, nullptr, 1, 0);
        const auto texts = world_.display.Of("text");
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].rect.left, r.column);
        EXPECT_EQ(texts[0].rect.top, 20 + (20 - 10) / 2);
        EXPECT_EQ(area.left, r.column);
        EXPECT_EQ(world_.display.Of("box").size(), 1u);   // filled first
    }
}

TEST_F(WidgetEvents, DrawBorderOutlinesAndShrinksByOne)
{
    UI_WIDGET w(0, 0, 1, 1);
    UI_RECT area{0, 0, 9, 9};
    w.DrawBorder(1, &area, 0, UI_CODE_DRAW_NORMAL);
    ASSERT_EQ(world_.display.Of("box").size(), 1u);
    EXPECT_EQ(world_.display.Of("box")[0].colours, w.ChooseColours(UI_CODE_DRAW_NORMAL, UI_COLOUR_BORDER));
    EXPECT_EQ(area.left, 1);
    EXPECT_EQ(area.bottom, 8);
}

TEST(UI_DEFAULT_HOTKEY_TABLE, MapsTheKeyRowsAndTheWindowButtons)
{
    int32_t records = 0;
    std::set<int32_t> codes;
    for (const UI_EVENT_RECORD* r = UI_DEFAULT_HOTKEY_TABLE; r->classId != UI_TABLE_END; ++r) {
        ++records;
        EXPECT_EQ(r->classId, UI_ID_WIDGET);
        EXPECT_EQ(r->type, UI_KEY_EVENT);
        EXPECT_TRUE(codes.insert(r->rawCode).second) << std::hex << r->rawCode;
    }
    EXPECT_EQ(records, UI_DEFAULT_HOTKEY_RECORDS);
    struct Row {
        int32_t raw, hotKey;
    };
    const Row rows[] = {
        {0x3400, 0xFE}, {0x3920, 0xFE}, {0x8200, 0xFD}, {0x4A00, 0xFD}, {0x7000, 0xFD}, {0x8300, 0xFC},
        {0x4E00, 0xFC}, {0x7100, 0xFC}, {0x1000, 'q'},  {0x1900, 'p'},  {0x1E00, 'a'},  {0x2600, 'l'},
        {0x2C00, 'z'},  {0x3200, 'm'},  {0x7800, '1'},  {0x8000, '9'},  {0x8100, '0'},  {0x1A00, UI_KEY_EVENT},
    };
    for (const Row& r : rows) {
        UI_MESSAGE m = KeyEvent(r.raw);
        EXPECT_EQ(LookUpEvent(UI_DEFAULT_HOTKEY_TABLE, &m, 18, 18, 18, 18, 18), r.hotKey) << std::hex << r.raw;
    }
}

} // namespace
