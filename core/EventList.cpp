// EventList.cpp: saving, loading and copying a chain of events.
#include "core/EventList.h"

#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/StreamFields.h"

namespace {
EventFactory gEventFactory = nullptr;
} // namespace

EventFactory SetEventFactory(EventFactory factory)
{
    const EventFactory previous = gEventFactory;
    gEventFactory = factory;
    return previous;
}

bool SaveEventList(const Chain<Event>& events, std::ostream& out)
{
    uint32_t count = 0;
    for (const Event* e = events.First(); e != nullptr && count <= Chain<Event>::MAX_SAVED; e = e->GetNext())
        ++count;
    const bool whole = count <= Chain<Event>::MAX_SAVED;
    if (!whole)
        count = Chain<Event>::MAX_SAVED;
    SaveField(out, static_cast<uint16_t>(count));
    const Event* event = events.First();
    for (uint32_t i = 0; i < count; ++i, event = event->GetNext())
        event->Save(out);
    return whole && static_cast<bool>(out);
}

bool LoadEventList(Chain<Event>& events, std::istream& in)
{
    uint16_t count = 0;
    if (!LoadField(in, count))
        return false;
    Chain<Event> loaded;
    for (uint32_t left = count; left > 0; --left) {
        uint8_t code = 0;
        if (!LoadField(in, code))
            return false;
        Event* const event = gEventFactory != nullptr ? gEventFactory(code) : nullptr;
        if (event == nullptr) {
            FatalError("Attempted to Load Unknown Event!");
            in.setstate(std::ios::failbit);
            return false;
        }
        const bool accepted = event->Load(in);
        if (!accepted || !in) {
            delete event;
            in.setstate(std::ios::failbit);
            return false;
        }
        loaded.Append(event);
    }
    while (Event* const event = loaded.First()) {
        loaded.Remove(event);
        events.Append(event);
    }
    return true;
}

void CopyEventList(const Chain<Event>* from, Chain<Event>* to)
{
    if (from == nullptr || to == nullptr) {
        FatalError("CopyEventList: null event list");
        return;
    }
    for (const Event* event = from->First(); event != nullptr; event = event->GetNext()) {
        if (Event* const copy = event->Clone())
            to->Append(copy);
    }
}
