// Tests of the icon: its picture requests, the title that widens it, the
// drawing with and without a picture, and the window icon that stands for
// a minimized window: registered with it, restoring it on a quick second
// press and moving it on a single one; a double click on a plain icon.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "support/WindowSession.h"
#include "widgets/UI_ICON.h"
#include "widgets/UI_WINDOW.h"

namespace {

std::vector<uint8_t> Picture(uint8_t colour)
{
    return std::vector<uint8_t>(UI_ICON_SIZE * UI_ICON_SIZE, colour);
}

struct IconSession : WindowSession {
    IconSession() { UI_ICON::lastClickSet = false; }
};

TEST(UI_ICON, PictureRequestsCopyAndAnswerThePixels)
{
    UI_ICON icon(0, 0, "SHIP", "Ship");
    EXPECT_EQ(icon.classChain[0], UI_ID_ICON);
    EXPECT_STREQ(icon.imageName, "SHIP");
    EXPECT_EQ(icon.Query(UI_QUERY_GET_IMAGE, nullptr, 0), nullptr);
    std::vector<uint8_t> pixels = Picture(7);
    icon.Query(UI_QUERY_SET_IMAGE, pixels.data(), 0);
    auto* held = static_cast<uint8_t*>(icon.Query(UI_QUERY_GET_IMAGE, nullptr, 0));
    ASSERT_NE(held, nullptr);
    EXPECT_NE(held, pixels.data());   // a copy of its own
    EXPECT_EQ(held[UI_ICON_SIZE * UI_ICON_SIZE - 1], 7);
    uint8_t* stored = nullptr;
    icon.Query(UI_QUERY_GET_IMAGE, &stored, 0);
    EXPECT_EQ(stored, held);
    icon.Query(UI_QUERY_SET_IMAGE, nullptr, 0);
    EXPECT_EQ(icon.Query(UI_QUERY_GET_IMAGE, nullptr, 0), nullptr);

    uint16_t bits = UI_ICON_DOUBLE_CLICK;
    icon.Query(UI_QUERY_SET_FLAGS, &bits, 0);
    EXPECT_EQ(icon.iconFlags, UI_ICON_DOUBLE_CLICK);
    icon.Query(UI_QUERY_CLEAR_FLAGS, &bits, UI_ID_ICON);
    EXPECT_EQ(icon.iconFlags, 0);
    EXPECT_STREQ(static_cast<const char*>(icon.Query(UI_QUERY_GET_TEXT, nullptr, 0)), "Ship");
}

class Icons : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = new UI_WINDOW(2, 2, 40, 14);
        session_.desktop.Add(window_);
    }

    IconSession session_;
    UI_WINDOW* window_ = nullptr;
};

TEST_F(Icons, WithoutAPictureOnlyTheTitleIsDrawn)
{
    auto* icon = new UI_ICON(1, 1, nullptr, "Radar", 0, UI_FLAG_CENTRED);
    std::vector<uint8_t> pixels = Picture(3);
    icon->Query(UI_QUERY_SET_IMAGE, pixels.data(), 0);
    window_->Add(icon);
    session_.display.calls.clear();
    icon->Query(UI_QUERY_REDISPLAY, nullptr, UI_ID_WIDGET);
    EXPECT_EQ(session_.display.Of("pixels").size(), 1u);

    icon->Query(UI_QUERY_SET_IMAGE, nullptr, 0);
    session_.display.calls.clear();
    icon->Query(UI_QUERY_REDISPLAY, nullptr, UI_ID_WIDGET);
    EXPECT_TRUE(session_.display.Of("pixels").empty());
    const auto texts = session_.display.Of("text");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Radar");
}

TEST_F(Icons, AWideTitleWidensTheIcon)
{
    auto* narrow = new UI_ICON(1, 1, nullptr, "Sea", 0, UI_FLAG_CENTRED);
    auto* wide = new UI_ICON(10, 1, nullptr, "Replenishment", 0, UI_FLAG_CENTRED);
    window_->Add(narrow);
    window_->Add(wide);
    EXPECT_EQ(narrow->givenRect.right - narrow->givenRect.left, UI_ICON_SIZE + 2);
    EXPECT_EQ(wide->givenRect.right - wide->givenRect.left, 13 * 8 + 8);   // the title and one cell
    EXPECT_EQ(wide->givenRect.bottom - wide->givenRect.top, UI_ICON_SIZE + 2 + 14 / 4 + 10);
    // The title stands centred under the picture, inside the icon.
    EXPECT_GE(wide->titleRect.left, wide->screenRect.left);
    EXPECT_LE(wide->titleRect.right, wide->screenRect.right);
    EXPECT_EQ(wide->titleRect.bottom, wide->screenRect.bottom);
    const int32_t pictureCentre = (wide->iconRegion.left + wide->iconRegion.right) / 2;
    const int32_t titleCentre = (wide->titleRect.left + wide->titleRect.right) / 2;
    EXPECT_LE(std::abs(pictureCentre - titleCentre), 1);
}

std::vector<int32_t> calledWith;

int32_t NoteCode(UI_WIDGET*, UI_MESSAGE*, int32_t code)
{
    calledWith.push_back(code);
    return code;
}

TEST_F(Icons, QuickSecondReleaseIsADoubleClick)
{
    calledWith.clear();
    auto* icon = new UI_ICON(1, 1, nullptr, nullptr, UI_ICON_DOUBLE_CLICK, 0, NoteCode);
    window_->Add(icon);
    UI_MESSAGE inside = WindowSession::Mouse(RAW_LEFT_RELEASE, icon->screenRect.left + 5, icon->screenRect.top + 5);
    UI_MESSAGE outside = WindowSession::Mouse(RAW_LEFT_RELEASE, icon->screenRect.right + 5, icon->screenRect.top);
    session_.time.Advance(200);
    EXPECT_EQ(icon->Event(&outside), UI_CODE_RELEASE);
    EXPECT_TRUE(calledWith.empty());
    EXPECT_EQ(icon->Event(&inside), UI_CODE_SELECT);
    session_.time.Advance(30);
    EXPECT_EQ(icon->Event(&inside), UI_CODE_DOUBLE_CLICK);
    session_.time.Advance(60);
    EXPECT_EQ(icon->Event(&inside), UI_CODE_SELECT);   // too slow: a plain choice
    EXPECT_EQ(calledWith, (std::vector<int32_t>{UI_CODE_SELECT, UI_CODE_DOUBLE_CLICK, UI_CODE_SELECT}));
}

class WindowIcons : public testing::Test {
protected:
    void SetUp() override
    {
        window_ = new UI_WINDOW(10, 6, 30, 10, UI_FLAG_BORDER);
        icon_ = new UI_ICON(0, 0, nullptr, "Log", 0, UI_FLAG_SUPPORT);
        window_->Add(icon_);
        session_.desktop.Add(window_);
        before_ = window_->screenRect;
        UI_MESSAGE minimize(UI_CODE_MINIMIZE);
        minimize.pointer = window_;
        session_.Dispatch(minimize);
        session_.time.Advance(200);
    }

    UI_POINT OnIcon() const { return UI_POINT{icon_->iconRegion.left + 3, icon_->iconRegion.top + 3}; }

    IconSession session_;
    UI_WINDOW* window_ = nullptr;
    UI_ICON* icon_ = nullptr;
    UI_RECT before_{};
};

TEST_F(WindowIcons, RegistersAndStandsForTheMinimizedWindow)
{
    EXPECT_EQ(window_->icon, icon_);
    EXPECT_TRUE(icon_->iconFlags & UI_ICON_WINDOW);
    ASSERT_TRUE(window_->status & UI_STATUS_MINIMIZED);
    EXPECT_FALSE(icon_->flags & UI_FLAG_NOT_SELECTABLE);
    EXPECT_EQ(icon_->iconRegion.right - icon_->iconRegion.left + 1, UI_ICON_SIZE);
    EXPECT_EQ(icon_->screenNumber, window_->screenNumber);
}

TEST(UI_WINDOW, OnlyASupportIconRegistersAsTheWindowsIcon)
{
    UI_WINDOW window(10, 6, 30, 10, 0);
    UI_ICON picture(0, 0, nullptr, "Go", 0, 0);   // a client icon: a picture button
    window.Query(UI_QUERY_DEFAULT_BUTTON, &picture, 0);
    EXPECT_EQ(window.defaultButton, &picture);
    EXPECT_EQ(window.icon, nullptr);
    UI_ICON standIn(0, 0, nullptr, "Log", 0, UI_FLAG_SUPPORT);
    window.Query(UI_QUERY_WINDOW_ICON, &standIn, 0);
    EXPECT_EQ(window.icon, &standIn);
    EXPECT_EQ(window.defaultButton, &picture);
    window.icon = nullptr;   // neither icon was added to the window
    window.defaultButton = nullptr;
}

TEST_F(WindowIcons, TwoQuickPressesRestoreTheWindow)
{
    const UI_POINT p = OnIcon();
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_RELEASE, p.column, p.line));
    EXPECT_EQ(session_.Press(p.column, p.line), UI_CODE_PRESS);   // the first starts a move
    EXPECT_TRUE(session_.mouse->script.empty());                  // whose loop took the release
    EXPECT_TRUE(window_->status & UI_STATUS_MINIMIZED);
    session_.time.Advance(30);
    EXPECT_EQ(session_.Press(p.column, p.line), UI_CODE_PRESS);
    EXPECT_FALSE(window_->status & UI_STATUS_MINIMIZED);
    EXPECT_EQ(window_->screenRect.left, before_.left);
    EXPECT_EQ(window_->screenRect.right, before_.right);
    EXPECT_TRUE(icon_->flags & UI_FLAG_NOT_SELECTABLE);   // not chosen while the window shows
}

TEST_F(WindowIcons, OnePressMovesTheMinimizedWindow)
{
    const UI_POINT p = OnIcon();
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_HELD, p.column + 50, p.line + 20));
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_RELEASE, p.column + 50, p.line + 20));
    const UI_RECT minimized = window_->screenRect;
    EXPECT_EQ(session_.Press(p.column, p.line), UI_CODE_PRESS);
    EXPECT_EQ(window_->screenRect.left, minimized.left + 50);
    EXPECT_EQ(window_->screenRect.top, minimized.top + 20);
    EXPECT_TRUE(window_->status & UI_STATUS_MINIMIZED);
    session_.time.Advance(100);   // a slow second press moves again
    session_.mouse->Script(WindowSession::Mouse(RAW_LEFT_RELEASE, p.column, p.line));
    session_.Press(icon_->iconRegion.left + 3, icon_->iconRegion.top + 3);
    EXPECT_TRUE(window_->status & UI_STATUS_MINIMIZED);
}

TEST_F(WindowIcons, PressBesideTheIconIsNotTaken)
{
    UI_MESSAGE press = WindowSession::Mouse(RAW_LEFT_PRESS, icon_->iconRegion.right + 40, icon_->iconRegion.top);
    EXPECT_EQ(icon_->Event(&press), UI_CODE_NOT_HANDLED);
    EXPECT_TRUE(window_->status & UI_STATUS_MINIMIZED);
}

} // namespace
