// WindowMessages.h: small helpers the window classes share: rectangle
// tests on screen pixels, framework messages sent to an object, the pointer
// and text cursor put back to rest, and the requests on a word of bits.
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

// Requests 3, 4 and 5 (get, set, clear) on a class's own 16-bit word of
// bits: get copies it into data, or answers its address without data; set
// and clear take the bits data points to (nothing without data). Answers
// data, or the address.
inline void* BitsRequest(uint16_t& field, int32_t request, void* data)
{
    if (data == nullptr)
        return request == UI_QUERY_GET_FLAGS ? &field : nullptr;
    if (request == UI_QUERY_GET_FLAGS)
        *static_cast<uint16_t*>(data) = field;
    else if (request == UI_QUERY_SET_FLAGS)
        field |= *static_cast<const uint16_t*>(data);
    else
        field &= static_cast<uint16_t>(~*static_cast<const uint16_t*>(data));
    return data;
}
