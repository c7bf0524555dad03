// PathReturnEvent.h: PathReturnEvent, the event that hands a route the
// Navigator has answered back to the game model. It owns the Nav_Path it
// carries. Game2Nav::ReturnPath (world/Game2Nav.h) creates and posts it.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"

class Nav_Path;

class PathReturnEvent : public Event {
public:
    // No path, unit 0, due at game time 0: the state a list loader builds
    // before Load.
    PathReturnEvent() = default;
    // Takes ownership of path (may be null) for the unit unitID; due time 0,
    // so it is handled at the next event phase.
    PathReturnEvent(Nav_Path* path, uint16_t unitID);
    // Builds the event from its record after the type byte (as Load).
    explicit PathReturnEvent(std::istream& in);
    // Deletes the path it still holds.
    ~PathReturnEvent() override;

    PathReturnEvent(const PathReturnEvent&) = delete;
    PathReturnEvent& operator=(const PathReturnEvent&) = delete;

    // Hands the route to its unit. No unit can be found until units exist, so
    // the event answers false at once and the queue deletes it with its path,
    // as it does for a unit that has vanished. With units, an answer without
    // a route is retried once, reversed, through TakeRetryRequest.
    bool HandleEvent() override;

    uint16_t GetSubject() const override { return unitID; }
    uint8_t TypeCode() const override { return EventCode::PATH_RETURN; }

    // Saved form, little-endian:
    //   type code    u8    0x04
    //   unitID       u16   of the request
    //   sideID       u8    of the request
    //   request word u16   bits 0-13 navType (1 to 7; another type keeps
    //                      its low 14 bits); bit 14 HELD_POINTS: a count of
    //                      points follows numPoints; bit 15 REVERSED: the
    //                      request's reversed flag. Files written before the
    //                      two bits existed hold the bare navType.
    //   numPoints    i16   of the request
    //   held         i16   only with HELD_POINTS: the points that follow
    //   points       i32 lat, i32 lon each, in chain order
    //   unit id      u16   the subject
    //   due time     u32   game seconds
    // Every point the request holds is written. Without HELD_POINTS the
    // number of points is the one derived from numPoints (numPoints when it
    // is above 0, 2 when it is 0, none when it is below 0), as in files
    // written before the bit existed; the writer sets the bit only when the
    // chain holds another number, as an answer without a route does (start,
    // goal and the blocking point). The threat mask is not saved: a retry
    // takes it from the unit again. Without a path an empty request (0s, two
    // (0, 0) points) is written.
    void Save(std::ostream& out) const override;
    // Reads the record after the type code into a new Nav_Path, stopping at
    // the first failed read. Answers false with the stream failed and the
    // event unchanged on a short read or a negative count of held points;
    // otherwise replaces the path it held.
    bool Load(std::istream& in) override;

    // The path carried; null once given up.
    Nav_Path* GetPath() const { return path; }
    // Gives the path up to the caller, who owns it from then on.
    Nav_Path* ReleasePath();

    // The retry of an answer without a route. When the path holds one
    // (numPoints 0) whose request has not been reversed yet and that holds
    // at least start and goal, it becomes the request the unit makes next:
    // the points after the goal (the blocking point) are dropped, the start
    // is moved after the goal, the reversed flag is set, numPoints is 2 and
    // the threat mask is `threatMask`, the unit's own, taken afresh as for
    // any new request. The event gives the request up and the caller hands it
    // to the Navigator (Nav2Game::RequestPath). Any other answer (a route, a
    // refusal, a second answer without a route) gives nullptr and stays with
    // the event; the unit then stops.
    Nav_Path* TakeRetryRequest(uint32_t threatMask);

    // Points a record derives from numPoints when it carries no count.
    static int32_t SavedPointCount(int16_t count);

    // Bits of the request word beside the navigation type.
    static constexpr uint16_t NAV_TYPE_BITS = 0x3FFF;
    static constexpr uint16_t HELD_POINTS = 0x4000;
    static constexpr uint16_t REVERSED = 0x8000;

private:
    Nav_Path* path = nullptr;   // owned
    uint16_t unitID = 0;        // the unit the route is for
};
