// WindowMessages.h: small helpers the window classes share: rectangle
// tests on screen pixels, framework messages sent to an object, and the
// pointer and text cursor put back to rest.
#pragma once

#include <cstdint>

#include "widgets/UI_INPUT_MANAGER.h"
#include "widgets/UI_MESSAGE.h"
#include "widgets/UI_WIDGET.h"

// Both ends of a rectangle are inclusive.
inline bool PointInside(const UI_RECT& r, const UI_POINT& p)
{
    return p.column >= r.left && p.column <= r.right && p.line >= r.top && p.line <= r.bottom;
}

inline bool RectsOverlap(const UI_RECT& a, const UI_RECT& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// A framework message of type, with rect in its rectangle words, to object.
inline int32_t SendMessage(UI_WIDGET* object, int32_t type, const UI_RECT& rect = UI_RECT{0, 0, 0, 0})
{
    UI_MESSAGE m(type);
    m.rect = rect;
    return object->Event(&m);
}

inline UI_WIDGET* AsWidget(UI_NODE* node)
{
    return static_cast<UI_WIDGET*>(node);
}

// The normal pointer image.
inline void NormalPointer()
{
    if (UI_WIDGET::inputManager != nullptr)
        UI_WIDGET::inputManager->SendToDevice(UI_MOUSE_EVENT, UI_POINTER_NORMAL);
}

// The text cursor off and the normal pointer.
inline void HideCursorAndPointer()
{
    if (UI_WIDGET::inputManager == nullptr)
        return;
    UI_WIDGET::inputManager->SendToDevice(UI_CURSOR_DEVICE, UI_DEVICE_OFF);
    NormalPointer();
}
