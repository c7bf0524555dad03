// Tests of the window and desktop as far as the buttons use them: finding
// objects by number and name, the list flags, single selection, the clip
// rectangle request, and the desktop publishing the statics and deleting the
// windows it still holds.
#include <gtest/gtest.h>

#include <cstring>

#include "support/RecordingDisplay.h"
#include "widgets/UI_INPUT_MANAGER.h"
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

} // namespace
