// Tests of the window border: the frame it takes, the edges a press sizes
// from, the pointer shapes over the handles, and a window that cannot be
// sized, which shows no handles and is never sized from its frame.
#include <gtest/gtest.h>

#include <vector>

#include "support/WindowSession.h"
#include "widgets/UI_BORDER.h"
#include "widgets/UI_BUTTON.h"

namespace {

// A window that writes down the edges of every size command it receives.
class SizeNotingWindow : public UI_WINDOW {
public:
    explicit SizeNotingWindow(uint16_t objectWindowFlags = 0) : UI_WINDOW(2, 2, 30, 10, 0, objectWindowFlags) {}
    int32_t Event(UI_MESSAGE* event) override
    {
        if (event->type == UI_CODE_SIZE) {
            sizedEdges.push_back(event->code);
            return UI_CODE_SIZE;
        }
        return UI_WINDOW::Event(event);
    }
    std::vector<int32_t> sizedEdges;
};

constexpr int32_t LEFT = 0x1000;
constexpr int32_t RIGHT = 0x2000;
constexpr int32_t TOP = 0x800;
constexpr int32_t BOTTOM = 0x8000;

class Borders : public testing::Test {
protected:
    void Open(uint16_t objectWindowFlags = 0)
    {
        window_ = new SizeNotingWindow(objectWindowFlags);
        border_ = new UI_BORDER;
        window_->Add(border_);
        child_ = new UI_BUTTON(0, 0, 5, "A");
        window_->Add(child_);
        session_.desktop.Add(window_);
    }

    WindowSession session_;
    SizeNotingWindow* window_ = nullptr;
    UI_BORDER* border_ = nullptr;
    UI_BUTTON* child_ = nullptr;
};

TEST_F(Borders, TakesAFourPixelFrameAroundTheClientArea)
{
    Open();
    EXPECT_EQ(border_->classChain[0], UI_ID_BORDER);
    EXPECT_STREQ(border_->searchName, "NUMID_BORDER");
    EXPECT_TRUE(border_->windowFlags & UI_WINDOW_NEVER_CURRENT);
    const UI_RECT& w = window_->screenRect;
    const UI_RECT& b = border_->screenRect;
    EXPECT_EQ(b.left, w.left + UI_FRAME_WIDTH);
    EXPECT_EQ(b.top, w.top + UI_FRAME_WIDTH);
    EXPECT_EQ(b.right, w.right - UI_FRAME_WIDTH);
    EXPECT_EQ(b.bottom, w.bottom - UI_FRAME_WIDTH);
    // The client objects start inside the border's outline.
    EXPECT_EQ(child_->screenRect.left, b.left + 1);
}

TEST_F(Borders, PressSizesFromTheEdgesNearIt)
{
    Open();
    const UI_RECT w = window_->screenRect;   // 16, 28 to 255, 167; a cell is 14 high
    struct Row {
        int32_t column, line;
        int32_t edges;
    };
    const Row rows[] = {
        {(w.left + w.right) / 2, w.top + 1, TOP},             // middle of the top band: the top only
        {(w.left + w.right) / 2, w.bottom - 1, BOTTOM},
        {w.left + 1, (w.top + w.bottom) / 2, LEFT},
        {w.right - 1, (w.top + w.bottom) / 2, RIGHT},
        {w.left + 1, w.top + 1, LEFT | TOP},                  // a corner handle: both edges
        {w.left + 1 + 12, w.top + 1, LEFT | TOP},             // still within a cell of the corner
        {w.right - 1, w.bottom - 1, RIGHT | BOTTOM},
        {w.right - 20, w.top + 2, TOP},                       // past the corner handle
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.column << ", " << r.line);
        window_->sizedEdges.clear();
        EXPECT_EQ(session_.Press(r.column, r.line), UI_CODE_PRESS);
        ASSERT_EQ(window_->sizedEdges.size(), 1u);
        EXPECT_EQ(window_->sizedEdges[0], r.edges);
    }
}

TEST_F(Borders, PointerShapesFollowTheEdges)
{
    struct Row {
        int32_t edges;
        int32_t pointer;
    };
    const Row rows[] = {
        {0, UI_POINTER_NORMAL},
        {LEFT, UI_POINTER_SIZE_ACROSS},
        {RIGHT, UI_POINTER_SIZE_ACROSS},
        {TOP, UI_POINTER_SIZE_UP_DOWN},
        {BOTTOM, UI_POINTER_SIZE_UP_DOWN},
        {LEFT | TOP, UI_POINTER_SIZE_FALLING},
        {RIGHT | BOTTOM, UI_POINTER_SIZE_FALLING},
        {LEFT | BOTTOM, UI_POINTER_SIZE_RISING},
        {RIGHT | TOP, UI_POINTER_SIZE_RISING},
    };
    for (const Row& r : rows)
        EXPECT_EQ(UI_PointerForEdges(r.edges), r.pointer) << r.edges;

    // Moved over the frame, the scripted mouse is asked for the shape.
    Open();
    const UI_RECT w = window_->screenRect;
    session_.Dispatch(WidgetWorld::Mouse(0, w.left + 1, w.top + 1));
    EXPECT_EQ(session_.mouse->last.type, UI_POINTER_SIZE_FALLING);
    session_.Dispatch(WidgetWorld::Mouse(0, (w.left + w.right) / 2, w.bottom - 1));
    EXPECT_EQ(session_.mouse->last.type, UI_POINTER_SIZE_UP_DOWN);
    EXPECT_TRUE(window_->sizedEdges.empty());   // moving sizes nothing
}

TEST_F(Borders, WindowThatCannotBeSizedHasNoHandles)
{
    Open(UI_WINDOW_NO_SIZE);
    const UI_RECT w = window_->screenRect;
    session_.mouse->received.clear();
    session_.Dispatch(WidgetWorld::Mouse(0, w.left + 1, w.top + 1));
    for (int32_t pointer : session_.mouse->received)
        EXPECT_TRUE(pointer < UI_POINTER_SIZE_ACROSS || pointer > UI_POINTER_SIZE_RISING) << pointer;
    session_.Press(w.left + 1, w.top + 1);
    EXPECT_TRUE(window_->sizedEdges.empty());

    // Drawn: two outlines and no handle cuts (a sizable frame has four more).
    auto outlines = [&]() {
        session_.display.calls.clear();
        UI_MESSAGE draw(UI_CODE_DRAW_NORMAL);
        draw.rect = window_->screenRect;
        border_->Event(&draw);
        int32_t n = 0;
        for (const RecordingDisplay::Call& c : session_.display.Of("box"))
            n += c.fill == 0;
        return n;
    };
    EXPECT_EQ(outlines(), 2);
    window_->windowFlags &= ~UI_WINDOW_NO_SIZE;
    EXPECT_EQ(outlines(), 6);
    // A maximized window is not sized from its frame either.
    window_->status |= UI_STATUS_MAXIMIZED;
    session_.Press(w.left + 1, w.top + 1);
    EXPECT_TRUE(window_->sizedEdges.empty());
}

} // namespace
