// PositionNode.cpp: path points with their events, their saved form, and
// copying and deleting whole chains of them.
#include "units/PositionNode.h"

#include <istream>
#include <ostream>

#include "core/EventList.h"
#include "core/gam2arena.h"
#include "world/PathPoint.h"

PositionNode::PositionNode(const LatLonPoint& point, int16_t altitude)
{
    SetPosition(point);
    UpdateXY();
    SetAltitude(altitude);
}

PositionNode::PositionNode(const PositionNode* source)
{
    if (source == nullptr)
        return;
    SetPosition(source->GetPosition());
    UpdateXY();
    SetAltitude(source->GetAltitude());
    CopyEventList(&source->events, &events);
}

PositionNode::PositionNode(const PathPoint* point, PositionNode* previous)
{
    if (previous != nullptr)
        previous->InsertChainAfter(this);
    if (point == nullptr)
        return;
    SetPosition(point->pos);
    UpdateXY();
    SetAltitude(0);
    // One node per further point, each after the last one made; a loop, so a
    // long route cannot run the stack out.
    PositionNode* last = this;
    for (const PathPoint* next = point->GetNext(); next != nullptr; next = next->GetNext()) {
        auto* const node = new PositionNode(next->pos);
        last->InsertChainAfter(node);
        last = node;
    }
}

void PositionNode::AddEvent(Event* event)
{
    if (event != nullptr)
        events.Append(event);
}

void PositionNode::SetEventSubjects(uint16_t unitID)
{
    for (Event* event = events.First(); event != nullptr; event = event->GetNext())
        event->SetSubject(unitID);
}

void PositionNode::PostEvents()
{
    while (Event* const event = events.First()) {
        events.Remove(event);
        event->ResolveDueTime();
        if (gam2arena::GetArenaState() != nullptr)
            gam2arena::PostEvent(event);
        else
            delete event;
    }
}

void PositionNode::Save(std::ostream& out) const
{
    PositionObject::Save(out);
    SaveEventList(events, out);
}

bool PositionNode::Load(std::istream& in)
{
    return PositionObject::Load(in) && LoadEventList(events, in);
}

PositionNode* PositionNode::CopyChain(const PositionNode* any)
{
    if (any == nullptr)
        return nullptr;
    const PositionNode* source = any;
    while (source->GetPrev() != nullptr)
        source = source->GetPrev();
    PositionNode* previous = nullptr;
    PositionNode* copyOfAny = nullptr;
    for (; source != nullptr; source = source->GetNext()) {
        auto* const copy = new PositionNode(source);
        if (previous != nullptr)
            previous->InsertChainAfter(copy);
        previous = copy;
        if (source == any)
            copyOfAny = copy;
    }
    return copyOfAny;
}

void DeletePositionNodes(PositionNode** head)
{
    if (head == nullptr || *head == nullptr)
        return;
    PositionNode* node = (*head)->FirstOfChain();
    while (node != nullptr) {
        PositionNode* const next = node->GetNext();
        delete node;
        node = next;
    }
    *head = nullptr;
}
