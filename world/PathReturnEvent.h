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
    // as it does for a unit that has vanished.
    bool HandleEvent() override;

    uint16_t GetSubject() const override { return unitID; }
    uint8_t TypeCode() const override { return EventCode::PATH_RETURN; }

    // Saved form, little-endian:
    //   type code    u8    0x04
    //   unitID       u16   of the request
    //   sideID       u8    of the request
    //   navType      u16   of the request
    //   numPoints    i16   of the request
    //   points       i32 lat, i32 lon each
    //   unit id      u16   the subject
    //   due time     u32   game seconds
    // The number of points is the one a reader derives from numPoints:
    // numPoints when it is above 0, 2 when it is 0, none when it is below 0.
    // The request's points are written up to that number (a missing one as
    // (0, 0)) so that the record always reads back in step: a route not found
    // still holds its blocking point, and a refused one its start and goal.
    // Without a path an empty request (0s, two (0, 0) points) is written.
    void Save(std::ostream& out) const override;
    // Reads the record after the type code into a new Nav_Path, stopping at
    // the first failed read. Answers false with the stream failed and the
    // event unchanged on a short read; otherwise replaces the path it held.
    bool Load(std::istream& in) override;

    // The path carried; null once given up.
    Nav_Path* GetPath() const { return path; }
    // Gives the path up to the caller, who owns it from then on.
    Nav_Path* ReleasePath();

    // Points in a saved record for a request whose numPoints is count.
    static int32_t SavedPointCount(int16_t count);

private:
    Nav_Path* path = nullptr;   // owned
    uint16_t unitID = 0;        // the unit the route is for
};
