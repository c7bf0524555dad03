// Tests of the menus: the item flags and the identity a system item takes,
// the bar's rows, a pop-up kept on the screen, hot keys in an open pop-up,
// separators, the moves between the bar's pop-ups and sub-menus with the
// arrow keys, Esc, and a menu bar without a current title.
#include <gtest/gtest.h>

#include <vector>

#include "support/WindowSession.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_MENU_BAR.h"
#include "widgets/UI_POPUP_MENU.h"

namespace {

std::vector<int32_t> chosen;   // the values of the items chosen
int32_t NoteChoice(UI_WIDGET* object, UI_MESSAGE*, int32_t code)
{
    if (code == UI_CODE_SELECT)
        chosen.push_back(static_cast<UI_BUTTON*>(object)->value);
    return code;
}

TEST(UI_MENU_ITEM, SystemBitsChooseNumberAndCommand)
{
    struct Row {
        uint16_t itemFlags;
        uint16_t number;
        int32_t value;
    };
    const Row rows[] = {
        {UI_ITEM_RESTORE, UI_NUMBER_RESTORE, UI_CODE_RESTORE},
        {UI_ITEM_MOVE, UI_NUMBER_MOVE, UI_CODE_MOVE},
        {UI_ITEM_SIZE, UI_NUMBER_SIZE, UI_CODE_SIZE},
        {UI_ITEM_MINIMIZE, UI_NUMBER_MINIMIZE, UI_CODE_MINIMIZE},
        {UI_ITEM_MAXIMIZE, UI_NUMBER_MAXIMIZE, UI_CODE_MAXIMIZE},
        {UI_ITEM_CLOSE, UI_NUMBER_CLOSE, UI_CODE_CLOSE},
        {UI_ITEM_MINIMIZE | UI_ITEM_MAXIMIZE, UI_NUMBER_MINIMIZE, UI_CODE_MINIMIZE},   // minimize comes first
        {UI_ITEM_CLOSE | UI_ITEM_RESTORE, UI_NUMBER_RESTORE, UI_CODE_RESTORE},
        {UI_ITEM_SYSTEM, UI_NUMBER_SYSTEM, 77},   // no command: keeps its value
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.itemFlags);
        UI_MENU_ITEM item("Item", r.itemFlags, 0, 0, nullptr, 77);
        EXPECT_EQ(item.number, r.number);
        EXPECT_EQ(item.value, r.value);
        EXPECT_TRUE(item.buttonFlags & UI_BUTTON_SEND_MESSAGE);
        EXPECT_EQ(item.callback, UI_BUTTON::PostValue);
        EXPECT_EQ(item.classChain[0], UI_ID_MENU_ITEM);
        EXPECT_EQ(item.classChain[1], UI_ID_MENU_ENTRY);
    }
    // An empty text makes a separator whatever the flags; it is never chosen.
    UI_MENU_ITEM empty("", UI_ITEM_CHECK_MARK | UI_ITEM_MOVE);
    EXPECT_TRUE(empty.IsSeparator());
    EXPECT_TRUE(empty.flags & UI_FLAG_NOT_SELECTABLE);
    UI_MENU_ITEM line;
    EXPECT_TRUE(line.IsSeparator());
    // itemFlags through the requests of class 19.
    UI_MENU_ITEM plain("&Plain", 0);
    uint16_t bits = UI_ITEM_NOT_SELECTABLE;
    plain.Query(UI_QUERY_SET_FLAGS, &bits, UI_ID_MENU_ITEM);
    plain.Query(UI_QUERY_FLAGS_CHANGED, nullptr, 0);
    EXPECT_TRUE(plain.flags & UI_FLAG_NOT_SELECTABLE);
    EXPECT_EQ(plain.hotKey, 'p');
}

TEST(UI_MENU_BAR, LeadingBlanksAndSearchesReachSubMenus)
{
    UI_MENU_BAR bar(1);
    ASSERT_NE(bar.First(), nullptr);
    EXPECT_TRUE(bar.First()->flags & UI_FLAG_NOT_SELECTABLE);
    EXPECT_STREQ(static_cast<UI_BUTTON*>(bar.First())->text, " ");
    EXPECT_EQ(bar.hotKey, 0xFF);
    EXPECT_TRUE(bar.flags & UI_FLAG_SUPPORT);
    auto* title = new UI_MENU_BAR_ITEM("&File");
    auto* recent = new UI_MENU_ITEM("&Recent", 0);
    auto* deep = new UI_MENU_ITEM("&One", 0);
    deep->number = 4242;
    recent->subMenu.Add(deep);
    title->popup.Add(recent);
    bar.Add(title);
    uint16_t number = 4242;
    EXPECT_EQ(bar.Query(UI_QUERY_FIND_NUMBER, &number, 0), deep);
}

// A window with a menu bar: File (Open, Save, a separator, Recent with a
// sub-menu of One and Two, Quit) and Edit (Cut, Paste).
class Menus : public testing::Test {
protected:
    void SetUp() override
    {
        chosen.clear();
        window_ = new UI_WINDOW(2, 2, 40, 12);
        bar_ = new UI_MENU_BAR;
        file_ = new UI_MENU_BAR_ITEM("&File");
        file_->popup.Add(new UI_MENU_ITEM("&Open", 0, 0, 0, NoteChoice, 1));
        file_->popup.Add(new UI_MENU_ITEM("&Save", 0, 0, 0, NoteChoice, 2));
        separator_ = new UI_MENU_ITEM;
        file_->popup.Add(separator_);
        recent_ = new UI_MENU_ITEM("&Recent", 0, 0, 0, NoteChoice, 3);
        recent_->subMenu.Add(new UI_MENU_ITEM("&One", 0, 0, 0, NoteChoice, 31));
        recent_->subMenu.Add(new UI_MENU_ITEM("&Two", 0, 0, 0, NoteChoice, 32));
        file_->popup.Add(recent_);
        quit_ = new UI_MENU_ITEM("&Quit", 0, 0, 0, NoteChoice, 4);
        file_->popup.Add(quit_);
        edit_ = new UI_MENU_BAR_ITEM("&Edit");
        edit_->popup.Add(new UI_MENU_ITEM("&Cut", 0, 0, 0, NoteChoice, 5));
        edit_->popup.Add(new UI_MENU_ITEM("&Paste", 0, 0, 0, NoteChoice, 6));
        bar_->Add(file_);
        bar_->Add(edit_);
        window_->Add(bar_);
        window_->Add(new UI_BUTTON(0, 0, 5, "A"));
        session_.desktop.Add(window_);
    }

    int32_t Key(int32_t raw, int32_t character = 0, int32_t shifts = 0)
    {
        return session_.Dispatch(WindowSession::KeyWith(raw, shifts, character));
    }

    WindowSession session_;
    UI_WINDOW* window_ = nullptr;
    UI_MENU_BAR* bar_ = nullptr;
    UI_MENU_BAR_ITEM* file_ = nullptr;
    UI_MENU_BAR_ITEM* edit_ = nullptr;
    UI_MENU_ITEM* separator_ = nullptr;
    UI_MENU_ITEM* recent_ = nullptr;
    UI_MENU_ITEM* quit_ = nullptr;
};

constexpr int32_t RAW_ALT_F = 0x2100;

TEST_F(Menus, AltLetterOpensThePopUpUnderItsTitle)
{
    EXPECT_NE(Key(RAW_ALT_F, 0, UI_SHIFT_ALT), UI_CODE_NOT_HANDLED);
    ASSERT_TRUE(file_->popup.IsOpen());
    EXPECT_EQ(session_.desktop.First(), &file_->popup);
    EXPECT_EQ(file_->popup.screenRect.left, file_->screenRect.left);
    EXPECT_EQ(file_->popup.screenRect.top, file_->screenRect.bottom + 1);
    // The client area starts under the bar.
    EXPECT_GT(window_->First()->screenRect.top, bar_->screenRect.bottom);
}

TEST_F(Menus, LetterChoosesInAnOpenPopUpAndAnUnmatchedOneAnswersTen)
{
    Key(RAW_ALT_F, 0, UI_SHIFT_ALT);
    EXPECT_EQ(Key(0x2C00, 'z'), UI_CODE_NO_HOT_KEY);
    EXPECT_TRUE(chosen.empty());
    EXPECT_TRUE(file_->popup.IsOpen());
    Key(0x1F00, 'S');   // upper case matches too
    EXPECT_EQ(chosen, std::vector<int32_t>{2});
    EXPECT_FALSE(file_->popup.IsOpen());   // the whole menu closed
    EXPECT_EQ(session_.desktop.First(), window_);
}

TEST_F(Menus, SeparatorsAreHalfACellHighAndNeverChosen)
{
    Key(RAW_ALT_F, 0, UI_SHIFT_ALT);
    const UI_RECT& s = separator_->screenRect;
    EXPECT_EQ(s.bottom - s.top, session_.display.rowHeight / 2);
    EXPECT_TRUE(separator_->flags & UI_FLAG_NOT_SELECTABLE);
    // A click on it chooses nothing and leaves the menu open.
    const int32_t line = (s.top + s.bottom) / 2;
    session_.Press(s.left + 5, line);
    session_.Release(s.left + 5, line);
    EXPECT_TRUE(chosen.empty());
    EXPECT_TRUE(file_->popup.IsOpen());
    // Down from Save steps over it to Recent.
    file_->popup.Add(static_cast<UI_WIDGET*>(file_->popup.First()->next));   // Save
    Key(RAW_DOWN);
    EXPECT_EQ(file_->popup.Current(), recent_);
    // Enter on it directly is refused.
    UI_MESSAGE select(UI_CODE_SELECT);
    EXPECT_EQ(separator_->Event(&select), UI_CODE_NOT_HANDLED);
}

TEST_F(Menus, ClickOnAnItemChoosesIt)
{
    const UI_RECT& title = file_->screenRect;
    session_.Press(title.left + 3, title.top + 3);
    ASSERT_TRUE(file_->popup.IsOpen());
    session_.Release(title.left + 3, title.top + 3);   // the release on the title keeps it open
    EXPECT_TRUE(file_->popup.IsOpen());
    const UI_RECT& quit = quit_->screenRect;
    session_.Press(quit.left + 5, quit.top + 2);
    session_.Release(quit.left + 5, quit.top + 2);
    EXPECT_EQ(chosen, std::vector<int32_t>{4});
    EXPECT_FALSE(file_->popup.IsOpen());
}

TEST_F(Menus, RightOnTheLastItemOpensTheNextTitlesPopUp)
{
    Key(RAW_ALT_F, 0, UI_SHIFT_ALT);
    Key(RAW_UP);   // wraps to Quit
    ASSERT_EQ(file_->popup.Current(), quit_);
    EXPECT_EQ(Key(RAW_RIGHT), UI_CODE_RIGHT);
    EXPECT_FALSE(file_->popup.IsOpen());
    session_.Pump();
    EXPECT_TRUE(edit_->popup.IsOpen());
    EXPECT_EQ(bar_->Current(), edit_);
    // Left from Edit's pop-up goes back to File's.
    Key(RAW_LEFT);
    session_.Pump();
    EXPECT_FALSE(edit_->popup.IsOpen());
    EXPECT_TRUE(file_->popup.IsOpen());
}

TEST_F(Menus, LeftClosesOnlyTheSubMenuAndEscOnlyItsPopUp)
{
    Key(RAW_ALT_F, 0, UI_SHIFT_ALT);
    Key(0x1300, 'r');
    ASSERT_TRUE(recent_->subMenu.IsOpen());
    EXPECT_EQ(recent_->subMenu.screenRect.left, recent_->screenRect.right - 8 + 0);
    Key(RAW_LEFT);
    EXPECT_FALSE(recent_->subMenu.IsOpen());
    EXPECT_TRUE(file_->popup.IsOpen());
    // Right on Recent opens the sub-menu again; Esc there closes it alone.
    EXPECT_EQ(Key(RAW_RIGHT), UI_CODE_RIGHT);
    ASSERT_TRUE(recent_->subMenu.IsOpen());
    Key(RAW_ESC);
    session_.Pump();
    EXPECT_FALSE(recent_->subMenu.IsOpen());
    EXPECT_TRUE(file_->popup.IsOpen());
    Key(RAW_ESC);
    session_.Pump();
    EXPECT_FALSE(file_->popup.IsOpen());
    EXPECT_EQ(session_.desktop.First(), window_);   // the window stays
    // Choosing in a sub-menu closes the whole tree.
    Key(RAW_ALT_F, 0, UI_SHIFT_ALT);
    Key(0x1300, 'r');
    Key(0x1400, 't');
    EXPECT_EQ(chosen, std::vector<int32_t>{32});
    EXPECT_FALSE(file_->popup.IsOpen());
    EXPECT_FALSE(recent_->subMenu.IsOpen());
}

TEST_F(Menus, BarWithoutCurrentTitleLeavesUpAndDownAlone)
{
    bar_->current = nullptr;
    UI_MESSAGE down(UI_CODE_DOWN);
    EXPECT_EQ(bar_->Event(&down), UI_CODE_NOT_HANDLED);
    EXPECT_FALSE(file_->popup.IsOpen());
    bar_->current = edit_;
    EXPECT_EQ(bar_->Event(&down), UI_CODE_DOWN);
    EXPECT_TRUE(edit_->popup.IsOpen());
}

TEST(Menu, BarWrapsItsTitlesIntoRows)
{
    WindowSession session;
    auto* window = new UI_WINDOW(2, 2, 10, 12);   // 80 pixels: one title a row
    auto* bar = new UI_MENU_BAR;
    std::vector<UI_MENU_BAR_ITEM*> titles;
    for (const char* t : {"&File", "&Edit", "&View"}) {
        titles.push_back(new UI_MENU_BAR_ITEM(t));
        bar->Add(titles.back());
    }
    window->Add(bar);
    window->Add(new UI_BUTTON(0, 0, 5, "A"));
    session.desktop.Add(window);
    const int32_t row = session.display.rowHeight - session.display.spaceAbove - session.display.spaceBelow;
    EXPECT_EQ(bar->screenRect.bottom - bar->screenRect.top, 3 * row + 1);
    for (size_t i = 1; i < titles.size(); ++i) {
        EXPECT_EQ(titles[i]->screenRect.left, titles[0]->screenRect.left);
        EXPECT_EQ(titles[i]->screenRect.top, titles[0]->screenRect.top + static_cast<int32_t>(i) * row);
    }
    EXPECT_GT(window->First()->screenRect.top, bar->screenRect.bottom);
}

TEST(Menu, PopUpNearTheScreenEdgesMovesInside)
{
    WindowSession session;
    session.desktop.Add(new UI_WINDOW(2, 2, 20, 10));
    UI_MENU_BAR_ITEM title("&Title");
    UI_POPUP_MENU& popup = title.popup;
    popup.Add(new UI_MENU_ITEM("&Alpha", 0));
    popup.Add(new UI_MENU_ITEM("&Beta", 0));
    popup.Open(session.display.width - 5, session.display.height - 5);
    ASSERT_TRUE(popup.IsOpen());
    EXPECT_EQ(popup.screenRect.right, session.display.width - 1);
    EXPECT_EQ(popup.screenRect.bottom, session.display.height - 1);
    EXPECT_LT(popup.screenRect.left, session.display.width - 5);
    const int32_t width = popup.screenRect.right - popup.screenRect.left + 1;
    EXPECT_EQ(width, static_cast<UI_MENU_ITEM*>(popup.First())->NaturalWidth() + 2);   // the widest, and the border
    session.desktop.Remove(&popup);
}

} // namespace
