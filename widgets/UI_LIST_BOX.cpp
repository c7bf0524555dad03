// UI_LIST_BOX.cpp: the list box's construction, requests and events:
// stacking the items, the arrow and page keys, the double click and the
// drop-down list's closing.
#include "widgets/UI_LIST_BOX.h"

#include <vector>

#include "widgets/TimeOfDay.h"
#include "widgets/UI_BUTTON.h"
#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_SCREEN.h"
#include "widgets/WindowMessages.h"

int32_t UI_LIST_BOX::lastRelease = 0;
bool UI_LIST_BOX::lastReleaseSet = false;

namespace {

constexpr int32_t UI_QUERY_GET_PICTURE = 263;
constexpr int32_t UI_QUERY_SET_PICTURE = 264;

int32_t HeightOf(const UI_WIDGET* item)
{
    return item->screenRect.bottom - item->screenRect.top + 1;
}

bool Modal(const UI_WIDGET* window)
{
    return window->windowFlags & UI_WINDOW_MODAL;
}

void PutCloseTemporary()
{
    if (UI_WIDGET::inputManager == nullptr)
        return;
    UI_MESSAGE close(UI_CODE_CLOSE_TEMPORARY);
    UI_WIDGET::inputManager->Put(&close, 0);   // at the head
}

} // namespace

UI_LIST_BOX::UI_LIST_BOX(int32_t left, int32_t top, int32_t width, int32_t height, UI_NODE_ORDER orderFunction,
                         uint16_t listBoxFlags, uint16_t objectFlags, uint16_t objectWindowFlags)
    : UI_WINDOW(left, top, width, height, objectFlags, objectWindowFlags, 0, nullptr)
{
    listFlags |= listBoxFlags;
    UI_WINDOW::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_WINDOW);
    if (orderFunction != nullptr)
        order = orderFunction;
    UI_LIST_BOX::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_LIST_BOX);
}

void UI_LIST_BOX::DeleteAll()
{
    UI_NODE_LIST::DeleteAll();
}

void UI_LIST_BOX::SetListBoxFlags(uint16_t objectID)
{
    listFlags |= UI_LIST_DRAG_CHOOSES;
    if (listFlags & UI_LIST_LIST_BOX)
        status |= UI_STATUS_DRAWS_ITSELF;
    else
        status &= ~UI_STATUS_DRAWS_ITSELF;
    if (objectID == UI_ID_LIST_BOX && (status & UI_STATUS_ON_SCREEN)) {
        UI_MESSAGE initialise(UI_CODE_INITIALIZE);
        Event(&initialise);
        UI_MESSAGE layout(UI_CODE_LAYOUT);
        Event(&layout);
    }
}

void* UI_LIST_BOX::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_LIST_BOX;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_LIST_BOX, UI_ID_LIST, UI_ID_WINDOW});
        font = UI_FONT_OBJECT;
        SetListBoxFlags(objectID);
        return data;
    case UI_QUERY_FLAGS_CHANGED:
        UI_WINDOW::Query(request, data, objectID);
        SetListBoxFlags(objectID);
        return data;
    case UI_QUERY_GET_TEXT:
    case UI_QUERY_SET_TEXT:
    case UI_QUERY_GET_PICTURE:
    case UI_QUERY_SET_PICTURE:
        return Current() != nullptr ? Current()->Query(request, data, 0) : nullptr;
    default:
        return UI_WINDOW::Query(request, data, objectID);
    }
}

// The area that shows items: the first clip rectangle, or the region.
UI_RECT UI_LIST_BOX::Visible() const
{
    return clipList.First() != nullptr ? clipList.First()->region : screenRect;
}

// Codes the list box takes itself: -400 (an item placed in the column),
// -200 and -10 (laid out and stacked), -17, Enter (a drop-down closes), the
// release (double click), the arrows (one step, queued repeats included),
// Tab and Shift-Tab (left to the parent), Home, End, PgUp and PgDn.
int32_t UI_LIST_BOX::Event(UI_MESSAGE* event)
{
    if (!lastReleaseSet) {
        lastRelease = TimeOfDayHundredths();
        lastReleaseSet = true;
    }
    const int32_t code = MapEvent(event, UI_ID_LIST_BOX);
    UI_WIDGET* before = Current();
    bool changed = false;
    int32_t answer = code;
    switch (code) {
    case UI_CODE_ADD_OBJECT: {
        auto* item = static_cast<UI_WIDGET*>(event->pointer);
        if (item != nullptr && PositionOf(item) < 0) {
            item->givenRect.left = 0;
            item->givenRect.right = screenRect.right - screenRect.left;
        }
        Add(item);
        break;
    }
    case UI_CODE_CHANGED:
    case UI_CODE_LAYOUT:
        clipList.DeleteAll();
        UI_WIDGET::Event(event);
        LayOutSupport(event);
        Stack(event);
        changed = true;
        break;
    case UI_CODE_REDISPLAY: {
        UI_MESSAGE layout(UI_CODE_LAYOUT);
        Stack(&layout);
        changed = true;
        answer = UI_WINDOW::Event(event);
        break;
    }
    case UI_CODE_SELECT: {
        if (Modal(this))
            PutCloseTemporary();
        UI_MESSAGE select(UI_CODE_SELECT);
        answer = UI_WINDOW::Event(&select);
        break;
    }
    case UI_CODE_RELEASE:
        answer = DoubleClick(event, UI_WINDOW::Event(event));
        break;
    case UI_CODE_UP:
    case UI_CODE_DOWN:
    case UI_CODE_LEFT:
    case UI_CODE_RIGHT:
        answer = Step(event, code);
        break;
    case UI_CODE_PREVIOUS_FIELD:
    case UI_CODE_NEXT_FIELD:
        return UI_CODE_NOT_HANDLED;   // the focus keys leave the list box
    case UI_CODE_FIRST_FIELD:
        Add(First());
        break;
    case UI_CODE_LAST_FIELD:
        Add(Last());
        break;
    case UI_CODE_PAGE_UP:
    case UI_CODE_PAGE_DOWN:
        answer = Page(code);
        break;
    default:
        answer = UI_WINDOW::Event(event);
        if ((answer == UI_CODE_DRAW_CURRENT || answer == UI_CODE_PRESS) && inputManager != nullptr) {
            inputManager->SendToDevice(UI_CURSOR_DEVICE, UI_DEVICE_OFF);
            inputManager->SendToDevice(UI_MOUSE_EVENT, UI_POINTER_NORMAL);
        }
        break;
    }
    if (code != UI_CODE_INITIALIZE && (changed || Current() != before) && Current() != nullptr)
        ReportNewCurrent(event, code);
    return answer;
}

// The items one under the other from the top, each one text line high
// (unless items keep their own heights) and as wide as the visible area.
void UI_LIST_BOX::Stack(UI_MESSAGE* event)
{
    if (screen == nullptr)
        return;
    const int32_t height = screen->StringHeight(nullptr, screenNumber, font) + screen->spaceAbove + screen->spaceBelow;
    const UI_RECT area = Visible();
    const int32_t width = area.right - area.left;
    int32_t top = 0;
    for (UI_NODE* node = head; node != nullptr; node = node->next) {
        UI_WIDGET* item = AsWidget(node);
        UI_RECT& r = item->givenRect;
        const int32_t ownHeight = r.bottom - r.top + 1;
        r.top = top;
        r.right = width;
        r.bottom = top + ((listFlags & UI_LIST_LIST_BOX) ? ownHeight : height) - 1;
        top = r.bottom + 1;
        item->flags &= ~UI_FLAG_BORDER;
        item->flags |= UI_FLAG_VIEW_ONLY;
        item->Event(event);
    }
}

// One step per arrow, and one more for each repeat of the same key (the
// same type and raw code as event) already waiting in the queue.
int32_t UI_LIST_BOX::Step(const UI_MESSAGE* event, int32_t code)
{
    const int32_t fieldCode = code == UI_CODE_UP || code == UI_CODE_LEFT ? UI_CODE_PREVIOUS_FIELD : UI_CODE_NEXT_FIELD;
    UI_MESSAGE step(fieldCode);
    UI_WINDOW::Event(&step);
    if (inputManager == nullptr)
        return fieldCode;
    for (;;) {
        UI_MESSAGE waiting;
        if (inputManager->Get(&waiting, UI_GET_NO_WAIT | UI_GET_PEEK | UI_GET_NO_POLL) != 0 ||
            waiting.type != event->type || waiting.code != event->code)
            break;
        inputManager->Get(&waiting, UI_GET_NO_WAIT | UI_GET_NO_POLL);
        UI_MESSAGE again(fieldCode);
        UI_WINDOW::Event(&again);
    }
    return fieldCode;
}

// A page: to the last item still wholly visible from the current one; at
// the edge, on by the visible height less one item.
int32_t UI_LIST_BOX::Page(int32_t code)
{
    UI_WIDGET* now = Current();
    if (now == nullptr)
        return code;
    const bool down = code == UI_CODE_PAGE_DOWN;
    const UI_RECT area = Visible();
    auto step = [down](UI_NODE* n) { return down ? n->next : n->previous; };
    UI_WIDGET* target = now;
    for (UI_NODE* n = step(now); n != nullptr; n = step(n)) {
        const UI_RECT& r = AsWidget(n)->screenRect;
        if (down ? r.bottom > area.bottom : r.top < area.top)
            break;
        target = AsWidget(n);
    }
    if (target == now) {
        // At each step the height of the item reached (the current item's at
        // the first two) comes off the visible height; while some is left,
        // the item stood on before the step is the target.
        std::vector<UI_WIDGET*> walk{now};
        for (UI_NODE* n = step(now); n != nullptr; n = step(n))
            walk.push_back(AsWidget(n));
        int32_t rest = area.bottom - area.top + 1;
        for (size_t k = 1; k <= walk.size(); ++k) {
            rest -= HeightOf(k <= 2 ? now : walk[k - 2]);
            if (rest < 0)
                break;
            target = walk[k - 1];
        }
    }
    if (target != now)
        Add(target);
    return code;
}

int32_t UI_LIST_BOX::DoubleClick(UI_MESSAGE* event, int32_t windowAnswer)
{
    if (Modal(this) && windowAnswer != UI_CODE_NOT_HANDLED && PointInside(Visible(), event->point))
        PutCloseTemporary();
    const int32_t now = TimeOfDayHundredths();
    UI_WIDGET* item = Current();
    if (windowAnswer == UI_CODE_RELEASE && item != nullptr && item->callback != nullptr &&
        PointInside(item->screenRect, event->point) && ElapsedHundredths(lastRelease, now) < UI_DOUBLE_CLICK_TIME) {
        UI_MESSAGE copy = *event;
        return item->callback(item, &copy, UI_CODE_DOUBLE_CLICK);
    }
    if (windowAnswer == UI_CODE_RELEASE)
        lastRelease = now;
    return windowAnswer;
}

// The scroll bar, the view, a drop-down's parent and the keyed choosing
// follow a new current item.
void UI_LIST_BOX::ReportNewCurrent(UI_MESSAGE* event, int32_t code)
{
    UI_WIDGET* item = Current();
    if (verticalScroll != nullptr && head != nullptr) {
        const UI_RECT area = Visible();
        UI_MESSAGE values(UI_CODE_SET_SCROLL);
        values.data[0] = item->givenRect.top;
        values.data[1] = First()->givenRect.top;
        values.data[2] = Last()->givenRect.top;
        values.data[3] = (area.bottom - area.top + 1) - HeightOf(item);
        values.data[4] = HeightOf(item);
        verticalScroll->Event(&values);
    }
    if (code != UI_CODE_LAYOUT && event->type != UI_MOUSE_EVENT) {
        UI_MESSAGE show(UI_CODE_SHOW_CURRENT_VERTICAL);
        UI_WINDOW::Event(&show);
    }
    if (Modal(this) && parent != nullptr) {
        parent->Query(UI_QUERY_NEW_CURRENT_ITEM, item, 0);
        const bool keyed = (code >= UI_CODE_UP && code <= UI_CODE_RIGHT) ||
                           (code >= UI_CODE_FIRST_FIELD && code <= UI_CODE_PAGE_DOWN);
        if (keyed) {
            UI_MESSAGE select(UI_CODE_SELECT);
            item->UI_WIDGET::Event(&select);
        }
    }
}
