// Tests of the window: finding objects by number and name, the list flags,
// single selection, the clip rectangle request, the title and sorted
// children; and scripted sessions through the desktop: the keyboard focus,
// hot keys, minimize, maximize and restore, the least size, scrolling, Add
// and Remove, moving with the keys. The desktop's own tests are in
// UI_DESKTOPTest.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/RecordingDisplay.h"
#include "support/WindowSession.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_TITLE_BAR.h"
#include "widgets/UI_WINDOW.h"

namespace {

// A widget that notes its own deletion.
class NotingWidget : public UI_WIDGET {
public:
    NotingWidget(int32_t* deletions, uint16_t objectWindowFlags = 0)
        : UI_WIDGET(0, 0, 1, 1, 0, objectWindowFlags), deletions_(deletions)
    {
    }
    ~NotingWidget() override { ++*deletions_; }
    int32_t Event(UI_MESSAGE* event) override
    {
        if (event->type == UI_CODE_REMOVED)
            ++removals;
        return UI_WIDGET::Event(event);
    }
    int32_t removals = 0;

private:
    int32_t* deletions_;
};

TEST(UI_WINDOW, FindsItselfThenSupportThenClientObjects)
{
    UI_WINDOW window(0, 0, 10, 10);
    auto* client = new UI_WIDGET(0, 0, 1, 1);
    auto* support = new UI_WIDGET(0, 0, 1, 1, UI_FLAG_SUPPORT);
    std::strcpy(client->searchName, "TWIN");
    std::strcpy(support->searchName, "TWIN");
    client->number = 9;
    window.Add(client);
    window.Add(support);
    EXPECT_EQ(window.supportList.head, support);
    EXPECT_EQ(window.head, client);
    EXPECT_EQ(client->parent, &window);
    EXPECT_EQ(window.Query(UI_QUERY_FIND_NAME, const_cast<char*>("twin"), 0), support);
    uint16_t nine = 9;
    EXPECT_EQ(window.Query(UI_QUERY_FIND_NUMBER, &nine, 0), client);
    std::strcpy(window.searchName, "TWIN");
    EXPECT_EQ(window.Query(UI_QUERY_FIND_NAME, const_cast<char*>("TWIN"), 0), &window);
    EXPECT_EQ(window.Query(UI_QUERY_FIND_NAME, const_cast<char*>("NONE"), 0), nullptr);
    EXPECT_EQ(window.classChain[0], UI_ID_WINDOW);
    EXPECT_EQ(window.font, UI_FONT_WINDOW);
}

TEST(UI_WINDOW, ListFlagsAnswerForTheWindowClassOnly)
{
    UI_WINDOW window(0, 0, 10, 10);
    uint16_t bits = UI_LIST_MULTIPLE_SELECTION;
    window.Query(UI_QUERY_SET_FLAGS, &bits, UI_ID_WINDOW);
    EXPECT_EQ(window.listFlags, UI_LIST_MULTIPLE_SELECTION);
    EXPECT_EQ(window.flags, 0);
    EXPECT_EQ(window.Query(UI_QUERY_GET_FLAGS, nullptr, UI_ID_WINDOW), &window.listFlags);
    EXPECT_EQ(window.Query(UI_QUERY_GET_FLAGS, nullptr, UI_ID_WIDGET), &window.flags);
    window.Query(UI_QUERY_CLEAR_FLAGS, &bits, 0);
    EXPECT_EQ(window.listFlags, 0);
}

TEST(UI_WINDOW, SingleSelectionKeepsOnlyTheCurrentChild)
{
    struct Row {
        uint16_t listFlags;
        bool currentSelected;
        bool othersKeep;
    };
    const Row rows[] = {{0, true, false}, {UI_LIST_MULTIPLE_SELECTION, true, true}, {0, false, true}};
    for (const Row& r : rows) {
        UI_WINDOW window(0, 0, 10, 10);
        window.listFlags = r.listFlags;
        auto* a = new UI_WIDGET(0, 0, 1, 1);
        auto* b = new UI_WIDGET(0, 1, 1, 1);
        auto* c = new UI_WIDGET(0, 2, 1, 1);
        window.Add(a);
        window.Add(b);
        window.Add(c);
        a->status |= UI_STATUS_SELECTED;
        c->status |= UI_STATUS_SELECTED;
        if (r.currentSelected)
            b->status |= UI_STATUS_SELECTED;
        window.current = b;
        window.Query(UI_QUERY_SINGLE_SELECTION, nullptr, 0);
        EXPECT_EQ((a->status & UI_STATUS_SELECTED) != 0, r.othersKeep);
        EXPECT_EQ((c->status & UI_STATUS_SELECTED) != 0, r.othersKeep);
    }
}

TEST(UI_WINDOW, ClipRequestAnswersTheFirstAreaOrTheRectangle)
{
    UI_WINDOW window(0, 0, 10, 10);
    window.screenRect = UI_RECT{5, 6, 7, 8};
    UI_RECT answer{};
    window.Query(136, &answer, 0);
    EXPECT_EQ(answer.left, 5);
    window.clipList.InsertBefore(nullptr, new UI_CLIP_RECT(3, 1, 2, 3, 4));
    window.Query(136, &answer, 0);
    EXPECT_EQ(answer.left, 1);
    EXPECT_EQ(answer.bottom, 4);
}

TEST(UI_DESKTOP, PublishesTheStaticsAndDeletesAllButKeptWindows)
{
    RecordingDisplay display;
    int32_t deletions = 0;
    auto* kept = new NotingWidget(&deletions, UI_WINDOW_KEPT);
    {
        UI_INPUT_MANAGER manager(&display, 10);
        UI_DESKTOP desktop(&display, &manager);
        EXPECT_EQ(UI_WIDGET::screen, &display);
        EXPECT_EQ(UI_WIDGET::inputManager, &manager);
        EXPECT_EQ(UI_WIDGET::desktop, &desktop);
        EXPECT_EQ(desktop.screenNumber, 1);
        EXPECT_EQ(UI_DESKTOP::nextScreenNumber, 1);
        EXPECT_EQ(desktop.screenRect.right, display.width - 1);
        EXPECT_EQ(desktop.classChain[0], UI_ID_DESKTOP);
        EXPECT_EQ(desktop.classChain[1], UI_ID_WINDOW);
        auto* window = new NotingWidget(&deletions);
        std::strcpy(window->searchName, "FRONT");
        desktop.Add(window);
        desktop.Add(kept);
        auto* holder = new UI_WINDOW(0, 0, 10, 10);
        auto* inner = new UI_WIDGET(0, 0, 1, 1);
        std::strcpy(inner->searchName, "INNER");
        holder->Add(inner);
        desktop.Add(holder);
        uint16_t flags = 0;
        EXPECT_EQ(desktop.Query(UI_QUERY_FIND_NAME, const_cast<char*>("FRONT"), 0), window);
        // The desktop asks each window for its own name only.
        EXPECT_EQ(desktop.Query(UI_QUERY_FIND_NAME, const_cast<char*>("INNER"), 0), nullptr);
        EXPECT_EQ(holder->Query(UI_QUERY_FIND_NAME, const_cast<char*>("INNER"), 0), inner);
        EXPECT_EQ(desktop.Query(UI_QUERY_GET_FLAGS, &flags, 0), nullptr);
    }
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(kept->removals, 1);
    EXPECT_EQ(UI_WIDGET::desktop, nullptr);
    EXPECT_EQ(UI_WIDGET::screen, nullptr);
    delete kept;
    EXPECT_EQ(deletions, 2);
}


TEST(UI_WINDOW, TitleRequestsGoToTheTitleBar)
{
    UI_WINDOW window(0, 0, 10, 10);
    window.Add(new UI_WIDGET(0, 0, 1, 1, UI_FLAG_SUPPORT));
    auto* title = new UI_TITLE_BAR("Old");
    window.Add(title);
    EXPECT_STREQ(static_cast<const char*>(window.Query(UI_QUERY_GET_TEXT, nullptr, 0)), "Old");
    window.Query(UI_QUERY_SET_TEXT, const_cast<char*>("New"), 0);
    EXPECT_STREQ(title->GetText(), "New");
    char copy[16] = {};
    window.Query(UI_QUERY_COPY_TEXT, copy, 0);
    EXPECT_STREQ(copy, "New");
    // The title bar is found by its name before any client object.
    auto* client = new UI_WIDGET(0, 0, 1, 1);
    std::strcpy(client->searchName, "NUMID_TITLE");
    window.Add(client);
    EXPECT_EQ(window.Query(UI_QUERY_FIND_NAME, const_cast<char*>("NUMID_TITLE"), 0), title);
}

TEST(UI_WINDOW, SortedWindowPutsObjectsWithoutTextFirstThenByBytes)
{
    UI_WINDOW window(0, 0, 10, 10);
    window.listFlags = UI_LIST_SORTED;
    window.Query(UI_QUERY_FLAGS_CHANGED, nullptr, 0);
    const char* texts[] = {"beta", "Alpha", nullptr, "alpha", "\xE9t\xE9"};
    for (const char* t : texts)
        window.Add(t != nullptr ? static_cast<UI_WIDGET*>(new UI_BUTTON(0, 0, 5, t)) : new UI_WIDGET(0, 0, 1, 1));
    std::vector<std::string> order;
    for (UI_WIDGET* w = window.First(); w != nullptr; w = static_cast<UI_WIDGET*>(w->next)) {
        const char* text = static_cast<const char*>(w->Query(UI_QUERY_GET_TEXT, nullptr, 0));
        order.push_back(text != nullptr ? text : "(none)");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"(none)", "Alpha", "alpha", "beta", "\xE9t\xE9"}));
}

// What a user function was called with, by the object's text.
std::vector<std::string> chosen;
int32_t NoteChosen(UI_WIDGET* object, UI_MESSAGE*, int32_t code)
{
    if (code == UI_CODE_SELECT)   // not the focus notices
        chosen.push_back(static_cast<UI_BUTTON*>(object)->text);
    return code;
}

// A window of five objects: buttons A, B and C, one that never becomes
// current (N) and one that cannot be chosen (D), in the order A N B D C.
class WindowFocus : public testing::Test {
protected:
    void SetUp() override
    {
        chosen.clear();
        window_ = new UI_WINDOW(2, 2, 40, 12);
        a_ = new UI_BUTTON(1, 1, 10, "&Alpha", 0, 0, NoteChosen);
        n_ = new UI_BUTTON(1, 2, 10, "&Never", 0, 0, NoteChosen);
        n_->windowFlags |= UI_WINDOW_NEVER_CURRENT;
        b_ = new UI_BUTTON(1, 3, 10, "&Beta", 0, 0, NoteChosen);
        d_ = new UI_BUTTON(1, 4, 10, "&Disabled", 0, UI_FLAG_NOT_SELECTABLE, NoteChosen);
        c_ = new UI_BUTTON(1, 5, 10, "&Gamma", 0, 0, NoteChosen);
        for (UI_WIDGET* w : {a_, n_, b_, d_, c_})
            window_->Add(w);
        session_.desktop.Add(window_);
    }

    UI_WIDGET* Current() const { return window_->Current(); }

    WindowSession session_;
    UI_WINDOW* window_ = nullptr;
    UI_BUTTON *a_ = nullptr, *n_ = nullptr, *b_ = nullptr, *d_ = nullptr, *c_ = nullptr;
};

TEST_F(WindowFocus, TabAndShiftTabSkipWhatCannotBeCurrentAndWrap)
{
    ASSERT_EQ(Current(), a_);
    EXPECT_TRUE(a_->status & UI_STATUS_CURRENT);
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_TAB)), UI_CODE_NEXT_FIELD);
    EXPECT_EQ(Current(), b_);
    EXPECT_FALSE(a_->status & UI_STATUS_CURRENT);
    session_.Dispatch(WindowSession::Key(RAW_TAB));
    EXPECT_EQ(Current(), c_);
    session_.Dispatch(WindowSession::Key(RAW_TAB));
    EXPECT_EQ(Current(), a_);   // wrapped
    session_.Dispatch(WindowSession::Key(RAW_SHIFT_TAB));
    EXPECT_EQ(Current(), c_);   // wrapped back
    session_.Dispatch(WindowSession::Key(RAW_SHIFT_TAB));
    EXPECT_EQ(Current(), b_);

    window_->listFlags |= UI_LIST_NO_WRAP;
    session_.Dispatch(WindowSession::Key(RAW_TAB));
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_TAB)), UI_CODE_NOT_HANDLED);
    EXPECT_EQ(Current(), c_);
    EXPECT_TRUE(chosen.empty());   // moving the focus chooses nothing
}

TEST_F(WindowFocus, HomeAndEndTakeTheFirstAndLastThatCanBeCurrent)
{
    // Home and End of the grey keys; A and C are the ends that qualify.
    window_->Remove(a_);
    window_->Add(a_);   // A now last: order N B D C A
    session_.Dispatch(WindowSession::Key(RAW_HOME));
    EXPECT_EQ(Current(), b_);
    session_.Dispatch(WindowSession::Key(RAW_END));
    EXPECT_EQ(Current(), a_);
    window_->Remove(a_);
    session_.Dispatch(WindowSession::Key(RAW_END));
    EXPECT_EQ(Current(), c_);
    delete a_;
}

TEST_F(WindowFocus, AltWithALetterChoosesThroughTheHotKeyTable)
{
    struct Row {
        int32_t raw, shifts, character;
        uint16_t windowFlags;
        int32_t answer;
        UI_BUTTON* current;   // afterwards
        const char* chosen;   // "" for none
    };
    const Row rows[] = {
        {0x3000, UI_SHIFT_ALT, 0, 0, UI_CODE_SELECT, nullptr, "&Beta"},          // Alt-B
        {0x2200, UI_SHIFT_ALT, 0, 0, UI_CODE_SELECT, nullptr, "&Gamma"},         // Alt-G
        {0x2000, UI_SHIFT_ALT, 0, 0, UI_CODE_NOT_HANDLED, nullptr, ""},          // Alt-D: cannot be chosen
        {0x3100, UI_SHIFT_ALT, 0, 0, UI_CODE_NOT_HANDLED, nullptr, ""},          // Alt-N: never current
        {0x2267, 0, 'g', 0, UI_CODE_NOT_HANDLED, nullptr, ""},                   // plain g: not a hot key
        {0x2267, 0, 'g', UI_WINDOW_LETTER_HOT_KEYS, UI_CODE_SELECT, nullptr, "&Gamma"},
        {0x3062, 0, 'B', UI_WINDOW_LETTER_HOT_KEYS, UI_CODE_SELECT, nullptr, "&Beta"},   // upper case too
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.raw << " flags " << r.windowFlags);
        chosen.clear();
        window_->windowFlags = r.windowFlags;
        session_.desktop.Add(window_);
        UI_WIDGET* before = Current();
        EXPECT_EQ(session_.Dispatch(WindowSession::KeyWith(r.raw, r.shifts, r.character)), r.answer);
        if (r.chosen[0] != '\0') {
            ASSERT_EQ(chosen.size(), 1u);
            EXPECT_EQ(chosen[0], r.chosen);
            EXPECT_STREQ(static_cast<UI_BUTTON*>(Current())->text, r.chosen);
        } else {
            EXPECT_TRUE(chosen.empty());
            EXPECT_EQ(Current(), before);
        }
    }
}

// A window shown on the desktop of a session, in pixels from (16, 28).
class WindowSizes : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = new UI_WINDOW(2, 2, 20, 10);
        session_.desktop.Add(window_);
        shown_ = window_->givenRect;
    }

    int32_t Command(int32_t type)
    {
        UI_MESSAGE m(type);
        m.pointer = window_;
        return session_.Dispatch(m);
    }

    WindowSession session_;
    UI_WINDOW* window_ = nullptr;
    UI_RECT shown_{};
};

bool Same(const UI_RECT& a, const UI_RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(WindowSizes, MinimizeMaximizeAndRestore)
{
    ASSERT_EQ(shown_.left, 16);
    ASSERT_EQ(shown_.right, 16 + 160 - 1);
    EXPECT_EQ(Command(UI_CODE_MAXIMIZE), UI_CODE_MAXIMIZE);
    EXPECT_TRUE(window_->status & UI_STATUS_MAXIMIZED);
    EXPECT_TRUE(Same(window_->screenRect, UI_RECT{0, 14 - 2, 639, 479}));
    EXPECT_EQ(Command(UI_CODE_MAXIMIZE), UI_CODE_MAXIMIZE);   // a second maximize restores
    EXPECT_FALSE(window_->status & UI_STATUS_MAXIMIZED);
    EXPECT_TRUE(Same(window_->screenRect, shown_));

    EXPECT_EQ(Command(UI_CODE_MINIMIZE), UI_CODE_MINIMIZE);
    EXPECT_TRUE(window_->status & UI_STATUS_MINIMIZED);
    // Ten cells wide, a text line and five pixels high; at least the least
    // height of a window once laid out.
    EXPECT_EQ(window_->screenRect.left, 16);
    EXPECT_EQ(window_->screenRect.right, 16 + 80 - 1);
    EXPECT_EQ(window_->restoreRegion.right, shown_.right);
    // A maximize of a minimized window is not taken.
    EXPECT_EQ(Command(UI_CODE_MAXIMIZE), UI_CODE_NOT_HANDLED);
    EXPECT_TRUE(window_->status & UI_STATUS_MINIMIZED);
    EXPECT_EQ(Command(UI_CODE_RESTORE), UI_CODE_RESTORE);
    EXPECT_FALSE(window_->status & (UI_STATUS_MINIMIZED | UI_STATUS_MAXIMIZED));
    EXPECT_TRUE(Same(window_->screenRect, shown_));
    EXPECT_EQ(Command(UI_CODE_RESTORE), UI_CODE_NOT_HANDLED);   // nothing to restore

    // The old rectangle is given back to the desktop and its background.
    session_.display.calls.clear();
    Command(UI_CODE_MAXIMIZE);
    bool filled = false;
    for (const RecordingDisplay::Call& c : session_.display.Of("box"))
        filled |= c.screenNumber == 1 && Same(c.rect, shown_) && c.fill != 0;
    EXPECT_TRUE(filled);
}

TEST_F(WindowSizes, CommandForAnotherObjectGoesToTheCurrentChild)
{
    auto* inner = new UI_WINDOW(1, 1, 5, 2);
    window_->Add(inner);
    UI_MESSAGE m(UI_CODE_MAXIMIZE);   // names no object
    EXPECT_EQ(window_->Event(&m), UI_CODE_MAXIMIZE);
    EXPECT_FALSE(window_->status & UI_STATUS_MAXIMIZED);
    EXPECT_TRUE(inner->status & UI_STATUS_MAXIMIZED);
}

// A window that notes the rectangle of every UI_CODE_DRAW_CURRENT it gets.
class DrawNotingWindow : public UI_WINDOW {
public:
    using UI_WINDOW::UI_WINDOW;
    int32_t Event(UI_MESSAGE* event) override
    {
        if (event->type == UI_CODE_DRAW_CURRENT)
            drawn.push_back(event->rect);
        return UI_WINDOW::Event(event);
    }
    std::vector<UI_RECT> drawn;
};

bool Holds(const UI_RECT& outer, const UI_RECT& inner)
{
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

TEST_F(WindowSizes, ChildMinimizedToAnIconElsewhereHasBothPlacesRedrawn)
{
    auto* holder = new DrawNotingWindow(1, 1, 60, 24);
    session_.desktop.Add(holder);
    auto* child = new UI_WINDOW(1, 1, 12, 4);
    auto* icon = new UI_WIDGET(40, 15, 4, 2, UI_FLAG_SUPPORT);
    child->Add(icon);
    child->icon = icon;
    holder->Add(child);
    const UI_RECT before = child->screenRect;
    holder->drawn.clear();
    UI_MESSAGE minimize(UI_CODE_MINIMIZE);
    minimize.pointer = child;
    EXPECT_EQ(child->Event(&minimize), UI_CODE_MINIMIZE);
    ASSERT_TRUE(child->status & UI_STATUS_MINIMIZED);
    const UI_RECT after = child->screenRect;
    ASSERT_GT(after.left, before.right);   // the icon lies apart from the window
    // The parent redraws where the window was and where its icon now is.
    // (It used to redraw the old rectangle alone, leaving the icon undrawn.)
    ASSERT_EQ(holder->drawn.size(), 1u);
    EXPECT_TRUE(Holds(holder->drawn[0], before));
    EXPECT_TRUE(Holds(holder->drawn[0], after));
}

TEST_F(WindowSizes, TopLevelWindowBelowTenCellsIsRaisedAtLayout)
{
    auto* small = new UI_WINDOW(1, 1, 4, 1);
    session_.desktop.Add(small);
    EXPECT_EQ(small->screenRect.right - small->screenRect.left + 1, 10 * 8);
    EXPECT_EQ(small->screenRect.bottom - small->screenRect.top + 1, 14 + 8);
    // A child window is not raised.
    auto* child = new UI_WINDOW(0, 0, 4, 1);
    window_->Add(child);
    EXPECT_EQ(child->screenRect.right - child->screenRect.left + 1, 4 * 8);
}

TEST_F(WindowSizes, ScrollingStopsAtTheFirstChildsTop)
{
    std::vector<UI_BUTTON*> rows;
    for (int32_t i = 0; i < 20; ++i) {
        rows.push_back(new UI_BUTTON(0, i, 10, "Row"));
        window_->Add(rows.back());
    }
    const int32_t top = window_->clipList.First()->region.top;
    ASSERT_EQ(rows[0]->screenRect.top, top + 2);   // a row's spacing
    auto scroll = [&](int32_t amount) {
        UI_MESSAGE m(UI_CODE_SCROLL_VERTICAL);
        m.data[4] = amount;
        return window_->Event(&m);
    };
    EXPECT_EQ(scroll(30), UI_CODE_SCROLL_VERTICAL);
    EXPECT_EQ(rows[0]->screenRect.top, top + 2 - 30);
    EXPECT_EQ(scroll(-100), UI_CODE_SCROLL_VERTICAL);   // stops with the first top at the area's top
    EXPECT_EQ(rows[0]->screenRect.top, top);
    EXPECT_EQ(scroll(-50), UI_CODE_NOT_HANDLED);       // already there: nothing to do
    EXPECT_EQ(scroll(100000), UI_CODE_SCROLL_VERTICAL);   // and the last top likewise
    EXPECT_EQ(rows[19]->screenRect.top, top);
    EXPECT_EQ(rows[19]->givenRect.top - rows[0]->givenRect.top, 19 * 14);
    // The uncovered strip drawn after the rest was shifted.
    UI_MESSAGE none(UI_CODE_SHOW_CURRENT_VERTICAL);
    window_->current = nullptr;
    EXPECT_EQ(window_->Event(&none), UI_CODE_NOT_HANDLED);   // no current child
}

TEST_F(WindowSizes, AddOfTheCurrentObjectOnlyMarksIt)
{
    auto* a = new UI_BUTTON(0, 0, 5, "A");
    auto* b = new UI_BUTTON(0, 1, 5, "B");
    window_->Add(a);
    window_->Add(b);
    ASSERT_EQ(window_->Current(), a);
    a->status &= ~UI_STATUS_CURRENT;
    session_.display.calls.clear();
    EXPECT_EQ(window_->Add(a), a);
    EXPECT_TRUE(a->status & UI_STATUS_CURRENT);
    EXPECT_TRUE(session_.display.calls.empty());   // nothing drawn
    EXPECT_EQ(window_->Add(nullptr), nullptr);
    // Add of another child already held makes it current and draws it.
    EXPECT_EQ(window_->Add(b), b);
    EXPECT_EQ(window_->Current(), b);
    EXPECT_FALSE(a->status & UI_STATUS_CURRENT);
    EXPECT_FALSE(session_.display.calls.empty());
}

TEST_F(WindowSizes, RemoveOfTheCurrentAndOfTheLastObject)
{
    auto* a = new UI_BUTTON(0, 0, 5, "A");
    auto* b = new UI_BUTTON(0, 1, 5, "B");
    window_->Add(a);
    window_->Add(b);
    window_->Add(b);
    window_->Query(UI_QUERY_VERTICAL_SCROLL, b, 0);
    EXPECT_EQ(window_->Remove(b), nullptr);   // nothing followed it
    EXPECT_EQ(window_->Current(), a);         // the first client object
    EXPECT_EQ(window_->verticalScroll, nullptr);
    EXPECT_EQ(b->parent, nullptr);
    EXPECT_EQ(b->screenNumber, 0);            // told it was removed
    EXPECT_EQ(window_->Remove(a), nullptr);
    EXPECT_EQ(window_->Current(), nullptr);
    EXPECT_EQ(window_->head, nullptr);
    EXPECT_EQ(window_->Remove(a), nullptr);   // no longer held: nothing changes
    delete a;
    delete b;
}

// Alt-F7 and the arrow keys move the window one cell a key; Enter keeps the
// move, Esc leaves the window where it was.
TEST_F(WindowSizes, MovingWithTheKeys)
{
    struct Row {
        std::vector<int32_t> keys;
        int32_t left;   // afterwards
        int32_t top;
    };
    const Row rows[] = {
        {{RAW_RIGHT, RAW_RIGHT, RAW_DOWN, RAW_ENTER}, 16 + 16, 28 + 14},
        {{RAW_RIGHT, RAW_DOWN, RAW_ESC}, 16, 28},
        // Never wholly off the screen: the step that would do it is taken back.
        {std::vector<int32_t>(30, RAW_LEFT), 16 - 21 * 8, 28},   // right edge at 7
        {std::vector<int32_t>(30, RAW_UP), 16, 28 - 11 * 14},    // bottom edge at 13
    };
    for (const Row& r : rows) {
        window_->givenRect = shown_;
        UI_MESSAGE layout(UI_CODE_LAYOUT);
        window_->Event(&layout);
        for (int32_t key : r.keys)
            session_.mouse->Script(WindowSession::Key(key));
        if (r.keys.back() != RAW_ENTER && r.keys.back() != RAW_ESC)
            session_.mouse->Script(WindowSession::Key(RAW_ENTER));
        EXPECT_EQ(session_.Dispatch(WindowSession::KeyWith(RAW_ALT_F7, UI_SHIFT_ALT)), UI_CODE_MOVE);
        EXPECT_EQ(window_->screenRect.left, r.left);
        EXPECT_EQ(window_->screenRect.top, r.top);
        EXPECT_GE(window_->screenRect.right, 0);
        EXPECT_GE(window_->screenRect.bottom, 0);
        EXPECT_TRUE(session_.mouse->script.empty());
    }
}

TEST_F(WindowSizes, SizingBelowTenCellsKeepsTheWidth)
{
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_HELD, 60, 130));
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_RELEASE, 60, 130));
    UI_MESSAGE size(UI_CODE_SIZE);
    size.pointer = window_;
    size.point = UI_POINT{175, 167};   // the bottom right corner
    window_->Event(&size);
    // Width 160 - 115 is below 80: the width stays; the height follows.
    EXPECT_EQ(window_->screenRect.right, shown_.right);
    EXPECT_EQ(window_->screenRect.bottom, shown_.bottom + 130 - 167);
    UI_MESSAGE moved;
    ASSERT_EQ(session_.manager.Get(&moved, UI_GET_NO_WAIT | UI_GET_NO_POLL), 0);
    EXPECT_EQ(moved.type, UI_CODE_POINTER_MOVE);   // the pointer's place afterwards
    EXPECT_EQ(moved.point.column, 60);
}

TEST_F(WindowSizes, NoChildrenMeansFocusKeysAreNotTakenAndAPressRunsTheBase)
{
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_TAB)), UI_CODE_NOT_HANDLED);
    EXPECT_EQ(session_.Press(50, 50), UI_CODE_PRESS);
    EXPECT_EQ(session_.Press(600, 400), UI_CODE_PRESS);   // outside every window: the code, no window
}

// With no input device nothing could end a move, so the loop ends at once
// as if Esc were pressed, instead of waiting for ever.
TEST(UI_WINDOW, MoveWithNoInputDeviceEndsAtOnce)
{
    RecordingDisplay display;
    UI_INPUT_MANAGER manager(&display, 10);
    UI_DESKTOP desktop(&display, &manager);
    auto* window = new UI_WINDOW(2, 2, 20, 10);
    desktop.Add(window);
    const UI_RECT before = window->screenRect;
    UI_MESSAGE move = WindowSession::KeyWith(RAW_ALT_F7, UI_SHIFT_ALT);
    EXPECT_EQ(desktop.Event(&move), UI_CODE_MOVE);
    EXPECT_TRUE(Same(window->screenRect, before));
}

} // namespace
