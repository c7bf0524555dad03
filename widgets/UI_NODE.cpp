// UI_NODE.cpp: links, ordered insertion and membership of the node lists.
#include "widgets/UI_NODE.h"

void* UI_NODE::Query(int32_t, void*, uint16_t)
{
    return nullptr;
}

UI_NODE_LIST::~UI_NODE_LIST()
{
    DeleteMembers();
}

void UI_NODE_LIST::DeleteAll()
{
    DeleteMembers();
}

void UI_NODE_LIST::DeleteMembers()
{
    UI_NODE* element = head;
    while (element != nullptr) {
        UI_NODE* following = element->next;
        delete element;
        element = following;
    }
    Forget();
}

void UI_NODE_LIST::Forget()
{
    head = nullptr;
    tail = nullptr;
    current = nullptr;
}

namespace {

// The element halfway from low to high: with k elements from low to high
// inclusive, the one at index (k - 1) / 2 from low. Two pointers step towards
// each other in turn, the forward one never stepping onto the backward one.
// Needs: high is low or follows it in the same chain.
UI_NODE* FindMiddle(UI_NODE* low, UI_NODE* high)
{
    UI_NODE* forward = low;
    UI_NODE* backward = high;
    while (forward != backward) {
        if (forward->next == backward)
            return forward;
        forward = forward->next;
        if (forward != backward)
            backward = backward->previous;
    }
    return forward;
}

} // namespace

UI_NODE* UI_NODE_LIST::Insert(UI_NODE* element)
{
    if (element == nullptr)
        return nullptr;
    if (head == nullptr || order == nullptr || order(tail, element) <= 0)
        return InsertBefore(nullptr, element);
    if (order(head, element) >= 0)
        return InsertBefore(head, element);

    // head sorts before element and tail after it: bisect between them. low
    // only moves to elements that sort before element and high to elements
    // that sort after it, and every step narrows the span, so the search ends
    // even under an inconsistent ordering function.
    UI_NODE* low = head;
    UI_NODE* high = tail;
    UI_NODE* stop = nullptr;
    while (low != high) {
        UI_NODE* probe = FindMiddle(low, high);
        const int32_t r = order(probe, element);
        if (r > 0) {
            high = probe;
        } else if (r < 0 && probe != low) {
            low = probe;
        } else {
            stop = probe;
            break;
        }
    }
    InsertAfter(stop != nullptr ? stop : low, element);
    return element;
}

void UI_NODE_LIST::InsertAfter(UI_NODE* position, UI_NODE* element)
{
    InsertBefore(position->next, element);
}

UI_NODE* UI_NODE_LIST::InsertBefore(UI_NODE* position, UI_NODE* element)
{
    if (element == nullptr)
        return nullptr;
    if (head == nullptr) {
        element->previous = nullptr;
        element->next = nullptr;
        head = element;
        tail = element;
    } else if (position == nullptr) {
        element->previous = tail;
        element->next = nullptr;
        tail->next = element;
        tail = element;
    } else {
        element->previous = position->previous;
        element->next = position;
        if (position->previous != nullptr)
            position->previous->next = element;
        else
            head = element;
        position->previous = element;
    }
    return element;
}

UI_NODE* UI_NODE_LIST::Unlink(UI_NODE* element)
{
    if (element == nullptr)
        return nullptr;
    const UI_NODE* first = element;
    while (first->previous != nullptr)
        first = first->previous;
    if (first != head)
        return element;   // not a member: nothing changes

    UI_NODE* following = element->next;
    if (element->previous != nullptr)
        element->previous->next = following;
    else
        head = following;
    if (following != nullptr)
        following->previous = element->previous;
    else
        tail = element->previous;
    if (current == element)
        current = nullptr;
    element->previous = nullptr;
    element->next = nullptr;
    return following;
}

int32_t UI_NODE_LIST::Size() const
{
    int32_t count = 0;
    for (const UI_NODE* element = head; element != nullptr; element = element->next)
        ++count;
    return count;
}

int32_t UI_NODE_LIST::PositionOf(const UI_NODE* element) const
{
    int32_t position = 0;
    for (const UI_NODE* member = head; member != nullptr; member = member->next) {
        if (member == element)
            return position;
        ++position;
    }
    return -1;
}

UI_NODE_POOL::~UI_NODE_POOL()
{
    Forget();
    spare.head = nullptr;
    spare.tail = nullptr;
    spare.current = nullptr;
}

void UI_NODE_POOL::DeleteAll()
{
    while (head != nullptr)
        Release(head);
}

UI_NODE* UI_NODE_POOL::Take(UI_NODE* position)
{
    UI_NODE* element = spare.head;
    if (element == nullptr)
        return nullptr;
    spare.Unlink(element);
    return InsertBefore(position, element);
}

UI_NODE* UI_NODE_POOL::Release(UI_NODE* element)
{
    if (element == nullptr)
        return nullptr;
    UI_NODE* following = element->next;
    if (Unlink(element) == element)
        return nullptr;   // not in use here: left alone
    spare.InsertBefore(nullptr, element);
    return following;
}
