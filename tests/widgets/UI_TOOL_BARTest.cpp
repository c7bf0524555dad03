// Tests of the tool bar: controls flowing into rows and the bar's height,
// controls that keep their places, and the arrow keys, which a string field
// uses itself until its cursor reaches its end.
#include <gtest/gtest.h>

#include <vector>

#include "support/WindowSession.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_TOOL_BAR.h"

namespace {

// A string field in the small: a cursor that the left and right arrows move
// within its text of `length` characters.
class StubField : public UI_WIDGET {
public:
    StubField(int32_t textLength, int32_t at) : UI_WIDGET(0, 0, 5, 1), length(textLength), cursor(at)
    {
        SetClassChain({UI_ID_STRING_FIELD});
    }
    int32_t Event(UI_MESSAGE* event) override
    {
        const int32_t code = MapEvent(event);
        if (code == UI_CODE_LEFT && cursor > 0) {
            --cursor;
            return code;
        }
        if (code == UI_CODE_RIGHT && cursor < length) {
            ++cursor;
            return code;
        }
        if (code == UI_CODE_LEFT || code == UI_CODE_RIGHT)
            return UI_CODE_NOT_HANDLED;
        return UI_WIDGET::Event(event);
    }
    int32_t length;
    int32_t cursor;
};

// A top-level bar whose region is exactly width pixels wide, on the desktop.
UI_TOOL_BAR* ShowBar(WindowSession& session, const std::vector<UI_WIDGET*>& controls, int32_t width,
                     uint16_t listFlagBits = 0)
{
    auto* bar = new UI_TOOL_BAR(0, 0, 1, 1, listFlagBits);
    bar->status |= UI_STATUS_IN_PIXELS;
    bar->givenRect = UI_RECT{10, 10, 10 + width - 1, 30};
    for (UI_WIDGET* c : controls)
        bar->Add(c);
    session.desktop.Add(bar);
    return bar;
}

TEST(UI_TOOL_BAR, ControlsFlowIntoRowsAndTheBarGrows)
{
    WindowSession session;
    std::vector<UI_WIDGET*> controls;
    for (int32_t i = 0; i < 3; ++i)
        controls.push_back(new UI_WIDGET(0, 0, 5, 1));   // 40 pixels wide
    UI_TOOL_BAR* bar = ShowBar(session, controls, 100);
    EXPECT_EQ(bar->classChain[0], UI_ID_TOOL_BAR);
    EXPECT_EQ(bar->classChain[1], UI_ID_WINDOW);
    EXPECT_TRUE(bar->flags & UI_FLAG_BORDER);
    const UI_RECT& first = controls[0]->screenRect;
    ASSERT_EQ(first.right - first.left + 1, 40);
    const int32_t row = first.bottom - first.top + 1;
    // 40 + 40 fit; the third starts a second row at the left.
    EXPECT_EQ(controls[1]->screenRect.left, first.left + 40);
    EXPECT_EQ(controls[1]->screenRect.top, first.top);
    EXPECT_EQ(controls[2]->screenRect.left, first.left);
    EXPECT_EQ(controls[2]->screenRect.top, first.top + row);
    // Two rows plus the border.
    EXPECT_EQ(bar->screenRect.bottom - bar->screenRect.top + 1, 2 * row + 2);
    EXPECT_EQ(first.left, bar->screenRect.left + 1);
}

TEST(UI_TOOL_BAR, ControlWiderThanTheBarStandsInTheFirstRow)
{
    WindowSession session;
    auto* wide = new UI_WIDGET(0, 0, 15, 1);   // 120 pixels
    auto* next = new UI_WIDGET(0, 0, 5, 1);
    UI_TOOL_BAR* bar = ShowBar(session, {wide, next}, 100);
    const int32_t row = wide->screenRect.bottom - wide->screenRect.top + 1;
    // No empty row above it: it starts the bar, and the next one wraps.
    EXPECT_EQ(wide->screenRect.top, bar->screenRect.top + 1);
    EXPECT_EQ(next->screenRect.left, wide->screenRect.left);
    EXPECT_EQ(next->screenRect.top, wide->screenRect.top + row);
    EXPECT_EQ(bar->screenRect.bottom - bar->screenRect.top + 1, 2 * row + 2);
}

TEST(UI_TOOL_BAR, WithoutFlowTheControlsKeepTheirPlaces)
{
    WindowSession session;
    auto* a = new UI_WIDGET(0, 0, 5, 1);
    auto* b = new UI_WIDGET(1, 0, 5, 1);   // overlapping a: not moved on
    UI_TOOL_BAR* bar = ShowBar(session, {a, b}, 100, UI_LIST_NO_FLOW);
    EXPECT_EQ(b->screenRect.left - a->screenRect.left, 8);
    EXPECT_EQ(b->screenRect.top, a->screenRect.top);
    EXPECT_TRUE(bar->flags & UI_FLAG_BORDER);
}

TEST(UI_TOOL_BAR, LeftMovesAStringFieldsCursorThenTheFocus)
{
    WindowSession session;
    auto* button = new UI_BUTTON(0, 0, 5, "A");
    auto* field = new StubField(3, 2);
    UI_TOOL_BAR* bar = ShowBar(session, {button, field}, 200);
    bar->Add(field);
    ASSERT_EQ(bar->Current(), field);
    UI_MESSAGE left(UI_CODE_LEFT);
    EXPECT_EQ(bar->Event(&left), UI_CODE_LEFT);
    EXPECT_EQ(field->cursor, 1);
    EXPECT_EQ(bar->Event(&left), UI_CODE_LEFT);
    EXPECT_EQ(field->cursor, 0);
    EXPECT_EQ(bar->Current(), field);
    bar->Event(&left);   // at the field's start: the focus moves
    EXPECT_EQ(bar->Current(), button);
    EXPECT_EQ(field->cursor, 0);
    UI_MESSAGE down(UI_CODE_DOWN);
    bar->Event(&down);
    EXPECT_EQ(bar->Current(), field);
    UI_MESSAGE next(UI_CODE_NEXT_FIELD);
    EXPECT_EQ(bar->Event(&next), UI_CODE_NOT_HANDLED);   // the enclosing window moves past the bar
}

} // namespace
