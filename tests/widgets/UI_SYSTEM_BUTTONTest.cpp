// Tests of the system button: its identity, the commands its menu enables
// for the window's state, and the double click that closes a top-level
// window but only opens the menu again on a child window.
#include <gtest/gtest.h>

#include <vector>

#include "support/WindowSession.h"
#include "widgets/UI_POPUP_MENU.h"
#include "widgets/UI_SYSTEM_BUTTON.h"

namespace {

class SystemButtons : public testing::Test {
protected:
    void SetUp() override { UI_SYSTEM_BUTTON::lastPressSet = false; }

    // A top-level window with a system button, shown.
    UI_SYSTEM_BUTTON* OpenWindow(uint16_t systemFlags, uint16_t objectWindowFlags = 0)
    {
        window_ = new CountedWindow(2, 2, 30, 10, &deletions_, objectWindowFlags);
        auto* button = new UI_SYSTEM_BUTTON(systemFlags);
        window_->Add(button);
        session_.desktop.Add(window_);
        return button;
    }

    static int32_t PressOn(UI_SYSTEM_BUTTON* button)
    {
        UI_MESSAGE press = WidgetWorld::Mouse(RAW_LEFT_PRESS, button->screenRect.left + 2, button->screenRect.top + 2);
        return button->Event(&press);
    }

    WindowSession session_;
    CountedWindow* window_ = nullptr;
    int32_t deletions_ = 0;
};

TEST_F(SystemButtons, IsFoundByItsNameAndNumber)
{
    UI_SYSTEM_BUTTON* button = OpenWindow(0);
    EXPECT_EQ(button->classChain[0], UI_ID_SYSTEM_BUTTON);
    EXPECT_EQ(button->classChain[1], UI_ID_BUTTON);
    EXPECT_EQ(button->hotKey, UI_HOTKEY_SYSTEM);
    EXPECT_EQ(window_->Query(UI_QUERY_FIND_NAME, const_cast<char*>("NUMID_SYSTEM"), 0), button);
    uint16_t number = UI_SYSTEM_BUTTON_NUMBER;
    EXPECT_EQ(window_->Query(UI_QUERY_FIND_NUMBER, &number, 0), button);
    // One text line square, one pixel up and left of its place.
    const UI_RECT& r = button->screenRect;
    const int32_t side = session_.display.rowHeight - session_.display.spaceAbove - session_.display.spaceBelow;
    EXPECT_EQ(r.right - r.left, side);
    EXPECT_EQ(r.bottom - r.top, side);
    EXPECT_EQ(button->bitmapWidth, 7);
    EXPECT_EQ(button->bitmapHeight, 3);
}

TEST_F(SystemButtons, MenuEnablesTheCommandsThatSuitTheWindow)
{
    constexpr bool y = true;
    constexpr bool n = false;
    struct Row {
        uint16_t status;
        uint16_t windowFlags;
        bool enabled[6];   // Restore, Move, Size, Minimize, Maximize, Close
        uint16_t current;
    };
    const Row rows[] = {
        {0, 0, {n, y, y, y, y, y}, UI_NUMBER_MOVE},
        {UI_STATUS_MAXIMIZED, 0, {y, n, n, n, n, y}, UI_NUMBER_RESTORE},
        {UI_STATUS_MINIMIZED, 0, {y, y, n, n, n, y}, UI_NUMBER_RESTORE},
        {UI_STATUS_MINIMIZED, UI_WINDOW_NO_MOVE, {y, n, n, n, n, y}, UI_NUMBER_RESTORE},
        {0, UI_WINDOW_NO_SIZE | UI_WINDOW_NO_CLOSE, {n, y, n, y, y, n}, UI_NUMBER_MOVE},
    };
    const uint16_t numbers[6] = {UI_NUMBER_RESTORE, UI_NUMBER_MOVE, UI_NUMBER_SIZE,
                                 UI_NUMBER_MINIMIZE, UI_NUMBER_MAXIMIZE, UI_NUMBER_CLOSE};
    UI_SYSTEM_BUTTON* button = OpenWindow(UI_SYSTEM_SHARED_MENU);
    UI_POPUP_MENU& menu = button->Menu();
    ASSERT_EQ(&menu, &UI_SYSTEM_BUTTON::SharedMenu());
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.status << " " << r.windowFlags);
        window_->status = static_cast<uint16_t>((window_->status & ~(UI_STATUS_MAXIMIZED | UI_STATUS_MINIMIZED)) | r.status);
        window_->windowFlags = r.windowFlags;
        UI_MESSAGE select(UI_CODE_SELECT);
        button->Event(&select);
        ASSERT_TRUE(menu.IsOpen());
        for (int32_t k = 0; k < 6; ++k) {
            uint16_t wanted = numbers[k];
            auto* item = static_cast<UI_WIDGET*>(menu.Query(UI_QUERY_FIND_NUMBER, &wanted, 0));
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(!(item->flags & UI_FLAG_NOT_SELECTABLE), r.enabled[k]) << k;
        }
        ASSERT_NE(menu.Current(), nullptr);
        EXPECT_EQ(menu.Current()->number, r.current);
        EXPECT_EQ(menu.screenRect.top, button->screenRect.bottom);
        UI_CloseTemporaryWindows();
    }
}

TEST_F(SystemButtons, DoublePressClosesATopLevelWindowAfterTheRelease)
{
    struct Row {
        int32_t apart;   // hundredths between the presses
        int32_t deletions;
    };
    const Row rows[] = {{30, 1}, {60, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.apart);
        deletions_ = 0;
        UI_SYSTEM_BUTTON::lastPressSet = false;
        UI_SYSTEM_BUTTON* button = OpenWindow(0);
        PressOn(button);   // the first press ever is never a second click
        EXPECT_EQ(deletions_, 0);
        session_.time.Advance(r.apart);
        UI_MESSAGE release = WidgetWorld::Mouse(RAW_LEFT_RELEASE, button->screenRect.left + 2, button->screenRect.top + 2);
        session_.manager.Put(&release, UI_PUT_AT_TAIL);
        const int32_t answer = PressOn(button);
        session_.Pump();
        EXPECT_EQ(deletions_, r.deletions);
        if (r.deletions == 1) {
            EXPECT_EQ(answer, UI_CODE_RELEASE);
            EXPECT_EQ(session_.desktop.head, nullptr);
        } else {
            session_.desktop.Remove(window_);
            delete window_;
        }
        session_.time.Advance(100);
    }
}

TEST_F(SystemButtons, DoublePressOnAChildWindowOpensTheMenuTwice)
{
    auto* top = new UI_WINDOW(1, 1, 50, 20);
    auto* child = new CountedWindow(2, 2, 30, 10, &deletions_);
    auto* button = new UI_SYSTEM_BUTTON(UI_SYSTEM_SHARED_MENU);
    child->Add(button);
    top->Add(child);
    session_.desktop.Add(top);
    UI_POPUP_MENU& menu = UI_SYSTEM_BUTTON::SharedMenu();
    for (int32_t press = 0; press < 2; ++press) {
        SCOPED_TRACE(press);
        PressOn(button);
        EXPECT_TRUE(menu.IsOpen());
        EXPECT_EQ(menu.Current()->number, UI_NUMBER_MOVE);   // a child window has no Close
        UI_CloseTemporaryWindows();
        session_.time.Advance(20);
    }
    session_.Pump();
    EXPECT_EQ(deletions_, 0);
}

TEST_F(SystemButtons, ClosingTheWindowTakesItsOpenSharedMenuAway)
{
    UI_SYSTEM_BUTTON* button = OpenWindow(UI_SYSTEM_SHARED_MENU);
    UI_POPUP_MENU& menu = UI_SYSTEM_BUTTON::SharedMenu();
    PressOn(button);
    ASSERT_TRUE(menu.IsOpen());
    ASSERT_EQ(menu.parent, button);
    // The program deletes the window while its menu is still up.
    session_.desktop.Remove(window_);
    delete window_;
    window_ = nullptr;
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_EQ(menu.parent, nullptr);
    EXPECT_EQ(session_.desktop.First(), nullptr);
}

TEST_F(SystemButtons, WithoutItemsAPressIsAButtonPress)
{
    UI_SYSTEM_BUTTON* button = OpenWindow(0);
    EXPECT_EQ(PressOn(button), UI_CODE_PRESS);
    EXPECT_EQ(button->buttonState & UI_BUTTON_PRESSED, UI_BUTTON_PRESSED);
    EXPECT_EQ(session_.desktop.First(), window_);   // no menu opened
    uint16_t systemFlags = UI_SYSTEM_SHARED_MENU;
    button->Query(UI_QUERY_SET_FLAGS, &systemFlags, UI_ID_SYSTEM_BUTTON);
    EXPECT_EQ(button->systemFlags, UI_SYSTEM_SHARED_MENU);
}

} // namespace
