// PositionNode.h: PositionNode, a point of a path (a unit's planned path, a
// mission's waypoints, a drawn area): a PositionObject in a chain, carrying
// the events that are posted when a unit reaches it; and the operations on
// whole chains of nodes (copy, delete). The event classes and their factory
// live with the simulation; a chain of events saves through core/EventList.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/Chain.h"
#include "core/ChainLink.h"
#include "core/Event.h"
#include "units/PositionObject.h"

class PathPoint;

class PositionNode : public PositionObject, public ChainLink<PositionNode> {
public:
    // At (0, 0), altitude 0, in no chain, without events.
    PositionNode() = default;
    // At a position and altitude (tens of metres), the projected point made.
    explicit PositionNode(const LatLonPoint& point, int16_t altitude = 0);
    // A copy of source's position (projected again), altitude and events
    // (each event cloned; an event whose class cannot be copied is left out);
    // not linked. A null source gives the default node.
    explicit PositionNode(const PositionNode* source);
    // Heads a new chain built from the chain of route points that starts at
    // `point`: this node takes the point's position (projected) at altitude
    // 0, and each further point gives one more node the same way, linked in
    // order after this one. This node is linked right after `previous` when
    // one is given, else it stands first. A null point gives the default
    // node (linked after `previous` all the same).
    PositionNode(const PathPoint* point, PositionNode* previous);
    // Deletes the events, then leaves the chain.
    ~PositionNode() override = default;

    PositionNode(const PositionNode&) = delete;
    PositionNode& operator=(const PositionNode&) = delete;

    // Appends an event, which the node then owns; a null event is ignored.
    void AddEvent(Event* event);
    // Sets the subject of every event on the node to unitID.
    void SetEventSubjects(uint16_t unitID);
    // Takes the events off the node from the first, readies each
    // (Event::ResolveDueTime) and posts it (gam2arena::PostEvent). An event
    // that cannot be posted (no arena) is deleted.
    void PostEvents();
    const Chain<Event>& GetEvents() const { return events; }

    // Saved form, little-endian:
    //   position part   as PositionObject::Save writes it (19 bytes)
    //   events          u16 count, then each event's record (SaveEventList)
    // Load reads into a fresh node; a record cut short, or an event no class
    // reads, leaves the stream failed and answers false.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    // A copy of the whole chain that holds `any`, first node to last, each
    // node made by the copying constructor; answers the copy of `any` itself.
    // Null for null. The caller owns the new chain.
    static PositionNode* CopyChain(const PositionNode* any);

private:
    Chain<Event> events;   // owned; posted when a unit reaches the point
};

// Deletes every node of the chain that holds *head, from its first node on,
// and sets *head to null. Nothing when head or *head is null.
void DeletePositionNodes(PositionNode** head);
