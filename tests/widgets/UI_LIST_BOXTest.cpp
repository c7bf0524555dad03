// Tests of the list box: its settings and requests, the items stacked one
// text line high, page down at the edge of the visible items, queued key
// repeats taken in one pass, the double click on an item, and the drop-down
// list that closes on Enter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/WindowSession.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_LIST_BOX.h"

namespace {

std::vector<int32_t> itemCodes;
int32_t NoteItem(UI_WIDGET*, UI_MESSAGE*, int32_t code)
{
    if (code == UI_CODE_SELECT || code == UI_CODE_DOUBLE_CLICK)
        itemCodes.push_back(code);
    return code;
}

TEST(UI_LIST_BOX, CarriesItsSettingsAndPassesItemRequestsOn)
{
    UI_LIST_BOX list(0, 0, 20, 10, UI_TextOrder, UI_LIST_LIST_BOX);
    EXPECT_EQ(list.classChain[0], UI_ID_LIST_BOX);
    EXPECT_EQ(list.classChain[1], UI_ID_LIST);
    EXPECT_EQ(list.classChain[2], UI_ID_WINDOW);
    EXPECT_EQ(list.font, UI_FONT_OBJECT);
    EXPECT_TRUE(list.listFlags & UI_LIST_DRAG_CHOOSES);
    EXPECT_TRUE(list.status & UI_STATUS_DRAWS_ITSELF);   // items keep their heights: it draws itself
    EXPECT_EQ(list.order, UI_TextOrder);
    EXPECT_EQ(list.Query(UI_QUERY_GET_TEXT, nullptr, 0), nullptr);   // no current item
    auto* item = new UI_BUTTON(0, 0, 10, "Item");
    list.Add(item);
    list.current = item;
    EXPECT_STREQ(static_cast<const char*>(list.Query(UI_QUERY_GET_TEXT, nullptr, 0)), "Item");
    UI_LIST_BOX plain(0, 0, 20, 10);
    EXPECT_FALSE(plain.status & UI_STATUS_DRAWS_ITSELF);
}

// Twenty items in a list box on the desktop that shows exactly ten.
class ListBoxes : public testing::Test {
protected:
    void SetUp() override
    {
        itemCodes.clear();
        list_ = new UI_LIST_BOX(0, 0, 20, 10);
        for (int32_t i = 0; i < 20; ++i) {
            items_.push_back(new UI_BUTTON(0, 0, 10, ("Item " + std::to_string(i)).c_str(), UI_BUTTON_FLAT, 0,
                                           NoteItem));
            list_->Add(items_.back());
        }
        session_.desktop.Add(list_);
    }

    int32_t Index(const UI_WIDGET* item) const
    {
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i] == item)
                return static_cast<int32_t>(i);
        return -1;
    }

    WindowSession session_;
    UI_LIST_BOX* list_ = nullptr;
    std::vector<UI_BUTTON*> items_;
};

TEST_F(ListBoxes, ItemsAreStackedOneTextLineHigh)
{
    ASSERT_EQ(list_->screenRect.bottom - list_->screenRect.top + 1, 140);
    for (int32_t i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items_[i]->screenRect.top, i * 14);
        EXPECT_EQ(items_[i]->screenRect.bottom, i * 14 + 13);
        EXPECT_TRUE(items_[i]->flags & UI_FLAG_VIEW_ONLY);
    }
    EXPECT_EQ(list_->Current(), items_[0]);
}

TEST_F(ListBoxes, PageDownAtTheLastVisibleItemMovesNineItems)
{
    for (int32_t i = 0; i < 9; ++i)
        session_.Dispatch(WindowSession::Key(RAW_DOWN));
    ASSERT_EQ(Index(list_->Current()), 9);
    ASSERT_EQ(items_[0]->screenRect.top, 0);   // nothing scrolled yet
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_PAGE_DOWN)), UI_CODE_PAGE_DOWN);
    EXPECT_EQ(Index(list_->Current()), 18);
    // Scrolled so that the new current item is in view.
    EXPECT_LE(list_->Current()->screenRect.bottom, list_->screenRect.bottom);
    EXPECT_GE(list_->Current()->screenRect.top, list_->screenRect.top);
    // From inside the view, page down goes to the last item still in view.
    session_.Dispatch(WindowSession::Key(RAW_HOME));
    EXPECT_EQ(Index(list_->Current()), 0);
    for (int32_t i = 0; i < 10; ++i)
        session_.Dispatch(WindowSession::Key(RAW_UP));   // at the first item: wraps to the last
    EXPECT_GE(Index(list_->Current()), 10);
    session_.Dispatch(WindowSession::Key(RAW_END));
    EXPECT_EQ(Index(list_->Current()), 19);
    EXPECT_TRUE(itemCodes.empty());   // moving in a plain list chooses nothing
}

TEST_F(ListBoxes, QueuedRepeatsOfAKeyStepInOnePass)
{
    for (int32_t i = 0; i < 3; ++i) {
        UI_MESSAGE repeat = WindowSession::Key(RAW_DOWN);
        session_.manager.Put(&repeat, UI_PUT_AT_TAIL);
    }
    UI_MESSAGE other = WindowSession::Key(RAW_UP);
    session_.manager.Put(&other, UI_PUT_AT_TAIL);
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_DOWN)), UI_CODE_NEXT_FIELD);
    EXPECT_EQ(Index(list_->Current()), 4);
    EXPECT_EQ(session_.manager.queue.Size(), 1);   // the up key stays
    // Tab and Shift-Tab leave the list box.
    EXPECT_EQ(list_->Event(&other), UI_CODE_PREVIOUS_FIELD);
    UI_MESSAGE tab = WindowSession::Key(RAW_TAB);
    EXPECT_EQ(list_->Event(&tab), UI_CODE_NOT_HANDLED);
}

TEST_F(ListBoxes, OnlyTheSameKeyQueuedCountsAsARepeat)
{
    // The grey Down key steps down too, but it is another key: it waits for
    // its own pass. (Taken as a repeat, the first pass moved two items.)
    constexpr int32_t RAW_GREY_DOWN = 0x50E0;
    UI_MESSAGE grey = WindowSession::Key(RAW_GREY_DOWN);
    session_.manager.Put(&grey, UI_PUT_AT_TAIL);
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_DOWN)), UI_CODE_NEXT_FIELD);
    EXPECT_EQ(Index(list_->Current()), 1);
    EXPECT_EQ(session_.manager.queue.Size(), 1);
    EXPECT_EQ(session_.Pump(), (std::vector<int32_t>{UI_CODE_NEXT_FIELD}));
    EXPECT_EQ(Index(list_->Current()), 2);
}

TEST_F(ListBoxes, SecondReleaseOnAnItemIsADoubleClick)
{
    const UI_RECT r = items_[2]->screenRect;
    session_.time.Set(20 * 360000);
    EXPECT_EQ(session_.Press(r.left + 5, r.top + 5), UI_CODE_PRESS);
    EXPECT_EQ(list_->Current(), items_[2]);
    session_.Release(r.left + 5, r.top + 5);
    itemCodes.clear();
    session_.time.Advance(30);
    session_.Press(r.left + 5, r.top + 5);
    session_.Release(r.left + 5, r.top + 5);
    // The item takes its release as a choosing, then the list box reports
    // the double click.
    EXPECT_EQ(itemCodes, (std::vector<int32_t>{UI_CODE_SELECT, UI_CODE_DOUBLE_CLICK}));
    itemCodes.clear();
    session_.time.Advance(80);
    session_.Press(r.left + 5, r.top + 5);
    session_.Release(r.left + 5, r.top + 5);
    EXPECT_EQ(itemCodes, (std::vector<int32_t>{UI_CODE_SELECT}));   // too slow: a plain click
}

TEST_F(ListBoxes, DropDownClosesOnEnterAfterTheItemWasChosen)
{
    auto* owner = new UI_BUTTON(0, 0, 10, "Owner");
    auto* ownerWindow = new UI_WINDOW(30, 10, 20, 10);
    ownerWindow->Add(owner);
    session_.desktop.Add(ownerWindow);
    int32_t deletions = 0;
    auto* dropDown = new UI_LIST_BOX(40, 1, 10, 5, nullptr, 0, 0, UI_WINDOW_MODAL);
    struct Counted : UI_BUTTON {
        Counted(int32_t* n) : UI_BUTTON(0, 0, 10, "Choice", UI_BUTTON_FLAT, 0, NoteItem), deletions(n) {}
        ~Counted() override { ++*deletions; }
        int32_t* deletions;
    };
    dropDown->Add(new Counted(&deletions));
    dropDown->Add(new Counted(&deletions));
    dropDown->parent = owner;
    session_.desktop.Add(dropDown);
    ASSERT_EQ(session_.desktop.First(), dropDown);
    itemCodes.clear();
    EXPECT_EQ(session_.Dispatch(WindowSession::Key(RAW_ENTER)), UI_CODE_SELECT);
    EXPECT_EQ(itemCodes, (std::vector<int32_t>{UI_CODE_SELECT}));
    EXPECT_EQ(session_.desktop.First(), dropDown);   // closed on the next pass
    session_.Pump();
    EXPECT_EQ(session_.desktop.First(), ownerWindow);
    EXPECT_EQ(deletions, 2);
}

} // namespace
