// EventQueue.cpp: placing events by due time, taking them out, and handling
// the due event at the head.
#include "core/EventQueue.h"

#include "core/ErrorReport.h"
#include "core/gam2arena.h"

void EventQueue::InsertAfter(Event* event, Event* position)
{
    if (position == nullptr)
        chain_.Prepend(event);
    else
        chain_.InsertAfter(event, position);
}

void EventQueue::InsertBefore(Event* event, Event* position)
{
    if (position == nullptr)
        chain_.Append(event);
    else
        chain_.InsertBefore(event, position);
}

void EventQueue::Add(Event* event)
{
    if (event == nullptr)
        return;
    if (event->queue != nullptr || event->GetNext() != nullptr || event->GetPrev() != nullptr) {
        FatalError("EventQueue::Add: the event is already in a chain");
        return;                                    // FatalError may return
    }
    event->queue = this;
    const GameTime t = event->GetTime();

    // Due at once: behind the events already due at once, ahead of all else.
    if (t.Get() == 0) {
        InsertAfter(event, cursor_);
        cursor_ = event;
        return;
    }

    // Not earlier than anything appended so far: straight onto the tail.
    if (!tailTime_.IsLater(t)) {
        chain_.Append(event);
        tailTime_ = t;
        return;
    }

    // Otherwise walk from the end nearer in time. The midpoint is summed in
    // 64 bits, so late clocks do not wrap it; the walk direction only
    // decides how far the walk goes, not where the event lands.
    const uint64_t midpoint =
        (uint64_t{gam2arena::GetGameTime()} + uint64_t{tailTime_.Get()}) >> 1;
    if (t.Get() > midpoint) {
        // Back from the tail past every event due later than t.
        Event* position = chain_.Last();
        while (position != nullptr && position->GetTime().IsLater(t))
            position = position->GetPrev();
        InsertAfter(event, position);              // at the head when none
        return;
    }

    // Forwards from the cursor past every event due no later than t.
    Event* position = cursor_ != nullptr ? cursor_ : chain_.First();
    while (position != nullptr && !position->GetTime().IsLater(t))
        position = position->GetNext();
    if (position == nullptr) {
        chain_.Append(event);
        tailTime_ = t;
        return;
    }
    InsertBefore(event, position);
}

void EventQueue::TakeOut(Event* event)
{
    Event* const before = event->GetPrev();
    if (event == chain_.Last())
        tailTime_ = before != nullptr ? before->GetTime() : GameTime(0);
    if (event == cursor_)
        cursor_ = before;
    chain_.Remove(event);
    event->queue = nullptr;
}

bool EventQueue::Remove(Event* event)
{
    // Only an event of this queue may be taken out: one of another chain
    // would leave that chain's head pointing at it. The mark the event
    // carries answers that at once, however long the queue.
    if (event == nullptr || event->queue != this)
        return false;
    TakeOut(event);
    return true;
}

void EventQueue::RemoveEventsOf(uint16_t subject, uint8_t typeCode)
{
    Event* event = chain_.First();
    while (event != nullptr) {
        Event* const next = event->GetNext();
        if (event->GetSubject() == subject && (typeCode == 0 || event->TypeCode() == typeCode)) {
            // Its predecessor is the last event kept so far.
            TakeOut(event);
            delete event;
        }
        event = next;
    }
}

void EventQueue::RemoveEventsOf(uint16_t subject, const uint8_t* typeCodes, int count)
{
    if (typeCodes == nullptr || count <= 0)
        return;
    Event* event = chain_.First();
    while (event != nullptr) {
        Event* const next = event->GetNext();
        if (event->GetSubject() == subject) {
            const uint8_t code = event->TypeCode();
            for (int i = 0; i < count; ++i) {
                if (code == typeCodes[i]) {
                    TakeOut(event);
                    delete event;
                    break;
                }
            }
        }
        event = next;
    }
}

Event* EventQueue::FindNextOfType(const Event* after, uint8_t typeCode) const
{
    Event* event = after != nullptr ? after->GetNext() : chain_.First();
    if (typeCode == EventCode::ANY && event != nullptr && event->TypeCode() != 0)
        return event;
    while (event != nullptr && event->TypeCode() != typeCode)
        event = event->GetNext();
    return event;
}

bool EventQueue::ProcessDueEvents(GameTime now)
{
    Event* const head = chain_.First();
    if (head == nullptr || !head->IsDue(now))
        return true;

    if (head->GetTime().Get() == tailTime_.Get())
        tailTime_ = 0;
    if (head == cursor_)
        cursor_ = nullptr;
    chain_.Remove(head);
    head->queue = nullptr;

    // The handler runs with the event out of the chain: it may post, remove
    // or search events of this queue without meeting itself.
    if (head->HandleEvent())
        Add(head);
    else
        delete head;
    return false;
}

void EventQueue::TakeLoadedEvents(Chain<Event>& loaded)
{
    if (loaded.First() == nullptr)
        return;
    while (Event* const event = loaded.First()) {
        loaded.Remove(event);
        chain_.Append(event);
        event->queue = this;
    }

    Event* event = chain_.First();
    if (event->GetTime().Get() == 0) {
        while (event->GetNext() != nullptr && event->GetNext()->GetTime().Get() == 0)
            event = event->GetNext();
        cursor_ = event;
    }
    tailTime_ = chain_.Last()->GetTime();
}
