// EventQueue.h: EventQueue, the simulation's queue of pending events in
// due-time order, which the event phase of the step drains one event per
// call. Events themselves are Event.h; the list form the queue takes in a
// scenario or saved game lives with the scenario file.
#pragma once

#include <cstdint>

#include "core/Chain.h"
#include "core/Event.h"
#include "core/GameTime.h"

// A doubly linked chain of events, earliest due time first, without an index.
// Events of equal due time keep the order in which they were added; events
// added with due time 0 sit at the front, in their own order of adding, and
// the cursor marks the last of them. The tail time is the due time of the
// last event appended at the tail (0 when forgotten): an event due at or
// after it is appended at once, others are placed by walking from whichever
// end is nearer in time to the present.
//
// One exception to the order: handling an event whose due time equals the
// tail time forgets the tail time, so an event added next with an earlier
// due time than the events left at the tail goes after them. Every such
// event is already due, so only the order of handling due events differs.
//
// The queue owns every event in it and deletes those left when it goes.
class EventQueue {
public:
    EventQueue() = default;
    ~EventQueue() = default;                 // the chain deletes, head first
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    // Queues an event by its due time; the queue owns it from then on. The
    // current game time (gam2arena::GetGameTime) picks the walking direction.
    // A null event is ignored; one still linked into a chain, or held by a
    // queue (this one or another, even alone in it), is reported (FatalError)
    // and left with the caller.
    void Add(Event* event);

    // Takes a queued event out without deleting it; the caller owns it
    // again. Answers false, changing nothing, when event is not in this queue
    // (in no chain, in another queue or chain, or being handled). The cost
    // does not grow with the queue: the event carries the mark of its queue.
    bool Remove(Event* event);

    // Deletes every queued event whose subject is `subject` and, when
    // typeCode is not 0, whose type code is typeCode.
    void RemoveEventsOf(uint16_t subject, uint8_t typeCode);
    // The same for several type codes in one walk of the queue: deletes the
    // subject's events whose type code is one of the `count` codes.
    void RemoveEventsOf(uint16_t subject, const uint8_t* typeCodes, int count);

    // The first event, starting after `after` (nullptr: at the head), whose
    // type code is typeCode. With EventCode::ANY: the starting event itself
    // when its code is not 0. nullptr when none is found.
    Event* FindNextOfType(const Event* after, uint8_t typeCode) const;

    // Handles at most one event: the head, when it is due at now. Answers
    // true when nothing was due (the queue is empty or its head is later
    // than now), false when an event was handled. A handled event that
    // answers true is added again at the due time it left in itself; one
    // that answers false is deleted.
    bool ProcessDueEvents(GameTime now);

    // Takes over a chain of events read from a file, appending them in their
    // order after any already queued (loaded leaves empty). Then the cursor
    // becomes the last of the leading events of due time 0 (kept when the
    // head's due time is not 0), and the tail time the due time of the last
    // event (kept when nothing was loaded).
    void TakeLoadedEvents(Chain<Event>& loaded);

    // The queued events, head first: for writing the queue out and for
    // walking it.
    const Chain<Event>& Events() const { return chain_; }
    Event* First() const { return chain_.First(); }
    bool IsEmpty() const { return chain_.First() == nullptr; }

    // The last of the events of due time 0 at the front; nullptr for none.
    Event* GetCursor() const { return cursor_; }
    // The due time of the last event appended at the tail; 0 when forgotten.
    GameTime GetTailTime() const { return tailTime_; }

private:
    void InsertAfter(Event* event, Event* position);
    void InsertBefore(Event* event, Event* position);
    // Takes a queued event out of the chain: a tail leaves the tail time at
    // its predecessor's due time (0 without one), the cursor moves to its
    // predecessor, and the event loses the queue's mark. Needs: event in
    // this queue.
    void TakeOut(Event* event);

    Chain<Event> chain_;          // earliest due time first
    Event* cursor_ = nullptr;     // last leading event of due time 0
    GameTime tailTime_;           // game seconds
};
