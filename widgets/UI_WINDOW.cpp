// UI_WINDOW.cpp: the window's and the desktop's construction, requests and
// child lists.
#include "widgets/UI_WINDOW.h"

#include "widgets/UI_SCREEN.h"

int32_t UI_DESKTOP::nextScreenNumber = 1;

UI_WINDOW::UI_WINDOW(int32_t left, int32_t top, int32_t width, int32_t height, uint16_t objectFlags,
                     uint16_t objectWindowFlags, int32_t windowHelpTopic, UI_WIDGET* object)
    : UI_WIDGET(left, top, width, height, objectFlags, objectWindowFlags)
{
    helpTopic = windowHelpTopic;
    UI_WINDOW::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_WINDOW);
    if (object != nullptr) {
        object->flags |= UI_FLAG_SUPPORT;
        Add(object);
    }
}

UI_WINDOW::~UI_WINDOW()
{
    delete[] ownedArray;
}

void UI_WINDOW::DeleteAll()
{
    UI_MESSAGE removed(UI_CODE_REMOVED);
    for (UI_WIDGET* object = First(); object != nullptr; object = static_cast<UI_WIDGET*>(object->next)) {
        object->screenNumber = 0;
        object->Event(&removed);
    }
    UI_NODE_LIST::DeleteAll();
}

void UI_WINDOW::Add(UI_WIDGET* object)
{
    if (object == nullptr || object->parent == this)
        return;
    if (object->flags & UI_FLAG_SUPPORT)
        supportList.InsertBefore(nullptr, object);
    else
        InsertBefore(nullptr, object);
    object->parent = this;
    if (screenNumber != 0) {
        UI_MESSAGE initialise(UI_CODE_INITIALIZE);
        object->Event(&initialise);
        UI_MESSAGE layout(UI_CODE_LAYOUT);
        object->Event(&layout);
    }
}

void UI_WINDOW::ChildRoom(UI_WIDGET* object)
{
    if (object == nullptr)
        return;
    if (object == this) {   // a window's own room is what it was given
        screenRect = givenRect;
        return;
    }
    const UI_RECT& room = object->givenRect;
    object->screenRect = UI_RECT{screenRect.left + room.left, screenRect.top + room.top,
                                 screenRect.left + room.right, screenRect.top + room.bottom};
    object->clipRect = screenRect;
}

void* UI_WINDOW::Query(int32_t request, void* data, uint16_t objectID)
{
    if (objectID == 0)
        objectID = UI_ID_WINDOW;
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_WINDOW});
        font = UI_FONT_WINDOW;
        defaultButton = nullptr;
        verticalScroll = nullptr;
        horizontalScroll = nullptr;
        UI_WIDGET::Query(UI_QUERY_FLAGS_CHANGED, data, objectID);
        return data;
    case UI_QUERY_FIND_NUMBER:
    case UI_QUERY_FIND_NAME: {
        if (void* found = UI_WIDGET::Query(request, data, objectID))
            return found;
        for (UI_NODE_LIST* list : {&supportList, static_cast<UI_NODE_LIST*>(this)})
            for (UI_NODE* object = list->head; object != nullptr; object = object->next)
                if (void* found = object->Query(request, data, 0))
                    return found;
        return nullptr;
    }
    case UI_QUERY_GET_FLAGS:
    case UI_QUERY_SET_FLAGS:
    case UI_QUERY_CLEAR_FLAGS:
        if (objectID != UI_ID_WINDOW)
            return UI_WIDGET::Query(request, data, objectID);
        if (request == UI_QUERY_GET_FLAGS && data == nullptr)
            return &listFlags;
        if (data == nullptr)
            return nullptr;
        if (request == UI_QUERY_GET_FLAGS)
            *static_cast<uint16_t*>(data) = listFlags;
        else if (request == UI_QUERY_SET_FLAGS)
            listFlags |= *static_cast<const uint16_t*>(data);
        else
            listFlags &= static_cast<uint16_t>(~*static_cast<const uint16_t*>(data));
        return data;
    case UI_QUERY_FLAGS_CHANGED:
        UI_WIDGET::Query(request, data, objectID);
        if (objectID == UI_ID_WINDOW && (status & UI_STATUS_ON_SCREEN)) {
            UI_MESSAGE initialise(UI_CODE_INITIALIZE);
            Event(&initialise);
            UI_MESSAGE layout(UI_CODE_LAYOUT);
            Event(&layout);
        }
        return data;
    case 133:
        verticalScroll = static_cast<UI_WIDGET*>(data);
        return data;
    case 134:
        horizontalScroll = static_cast<UI_WIDGET*>(data);
        return data;
    case 141:
        defaultButton = static_cast<UI_WIDGET*>(data);
        return data;
    case UI_QUERY_SINGLE_SELECTION: {
        UI_WIDGET* chosen = Current();
        if (chosen == nullptr || !(chosen->status & UI_STATUS_SELECTED) || (listFlags & UI_LIST_MULTIPLE_SELECTION))
            return data;
        UI_MESSAGE redisplay(UI_CODE_REDISPLAY);
        for (UI_WIDGET* object = First(); object != nullptr; object = static_cast<UI_WIDGET*>(object->next)) {
            if (object == chosen || !(object->status & UI_STATUS_SELECTED))
                continue;
            object->status &= ~UI_STATUS_SELECTED;
            object->Event(&redisplay);
        }
        return data;
    }
    case 136:
        if (data != nullptr)
            *static_cast<UI_RECT*>(data) = clipList.First() != nullptr ? clipList.First()->region : screenRect;
        return data;
    default:
        return UI_WIDGET::Query(request, data, objectID);
    }
}

UI_DESKTOP::UI_DESKTOP(UI_SCREEN* display, UI_INPUT_MANAGER* manager, UI_EXIT_FUNCTION exit)
    : UI_WINDOW(0, 0, display != nullptr ? display->width : 0, display != nullptr ? display->height : 0),
      exitFunction(exit)
{
    UI_DESKTOP::Query(UI_QUERY_INITIALISE, nullptr, UI_ID_DESKTOP);
    status |= UI_STATUS_IN_PIXELS;
    screenNumber = 1;
    nextScreenNumber = 1;
    screen = display;
    inputManager = manager;
    desktop = this;
}

UI_DESKTOP::~UI_DESKTOP()
{
    UI_MESSAGE removed(UI_CODE_REMOVED);
    while (UI_WIDGET* window = First()) {
        Unlink(window);
        window->Event(&removed);
        if (!(window->windowFlags & UI_WINDOW_KEPT))
            delete window;
    }
    screen = nullptr;
    inputManager = nullptr;
    desktop = nullptr;
}

void* UI_DESKTOP::Query(int32_t request, void* data, uint16_t objectID)
{
    switch (request) {
    case UI_QUERY_INITIALISE:
        SetClassChain({UI_ID_DESKTOP, UI_ID_WINDOW});
        return data;
    case UI_QUERY_FIND_NUMBER:
    case UI_QUERY_FIND_NAME:
        for (UI_WIDGET* window = First(); window != nullptr; window = static_cast<UI_WIDGET*>(window->next))
            if (void* found = window->UI_WIDGET::Query(request, data, objectID))
                return found;
        return nullptr;
    default:
        return nullptr;
    }
}
