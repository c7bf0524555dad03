// NavPath.h: Nav_Path, one route request of the Navigator and, once answered,
// its result, together with the whole workspace of its search, so that any
// number of requests can be in progress at once. Also the saved form of the
// queued requests in the navigator section of a scenario file (SaveQueue,
// LoadQueue). The search itself is the Navigator's; PathPoint and SearchNode
// have their own headers.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Chain.h"
#include "core/ChainLink.h"
#include "core/LatLonPoint.h"
#include "core/NavVector.h"
#include "world/PathPoint.h"
#include "world/SearchNode.h"

class AreaPolygonList;

// A request is made by filling in unitID, sideID, navType, threatMask and
// numPoints 0 and appending two points, start then goal. A Nav_Path is handled
// by pointer and never copied. Its owner is the Navigator while it is queued,
// the path-return event once it has been handed back, and otherwise whoever
// built it. Destroying it deletes its points and joins its neighbours in the
// chain that held it; take a queued path out with the queue's Remove first.
class Nav_Path : public ChainLink<Nav_Path> {
public:
    // Nodes in each of the open, closed and candidate arrays.
    static constexpr int16_t MAX_NODES = 50;
    // Points saved with each queued request: start, goal, blocking point.
    static constexpr int QUEUED_POINTS = 3;
    // Bytes of one request in the navigator section.
    static constexpr int SAVED_REQUEST_SIZE = 36;
    // Results held in numPoints besides a count of route points.
    static constexpr int16_t ILLEGAL_REQUEST = -1;
    static constexpr int16_t NO_ROUTE = 0;

    Nav_Path();
    virtual ~Nav_Path();

    Nav_Path(const Nav_Path&) = delete;
    Nav_Path& operator=(const Nav_Path&) = delete;

    // Puts the search into the state of a request that has not started:
    // numOpen, numClosed, numCandidates 0; current, chainIndex, cursor -1;
    // pass, optState 0; the six flags 0. The constructor leaves a path so.
    void ResetSearch();

    // Appends a point at pos to the end of points; false (nothing added) when
    // no memory is left.
    bool AddPoint(const LatLonPoint& pos);
    // The number of elements of points.
    int CountPoints() const;

    // One request of the navigator section, little-endian, 36 bytes:
    //   unitID       u16
    //   sideID       u8
    //   navType      i16
    //   threatMask   u32    zone type bits
    //   numPoints    i16
    //   reversed     u8     1: turned round for a retry
    //   start        i32 lat, i32 lon   first element of points
    //   goal         i32 lat, i32 lon   second element
    //   blocker      i32 lat, i32 lon   third element (the blocking point)
    // A queued request holds exactly three points; a missing one is written
    // as (0, 0) so that every request keeps its 36 bytes. The search state is
    // not saved. Answers the stream's state.
    bool SaveRequest(std::ostream& out) const;
    // Reads one request into a path fresh from the constructor: the six
    // fields, then the three points appended to points in order. On a short
    // read (or no memory for a point) answers false with the stream failed;
    // the path is then half-read and must be thrown away. The search state is
    // left as the constructor set it, so the search starts afresh.
    bool LoadRequest(std::istream& in);

    // The navigator section, little-endian:
    //   count      i16          number of queued requests
    //   requests   36 x count   SaveRequest of each, in queue order
    // At most 32767 requests fit the count; a longer queue writes its first
    // 32767 and answers false. Otherwise answers the stream's state.
    static bool SaveQueue(std::ostream& out, const Chain<Nav_Path>& queue);
    // Reads the section and appends the requests to the tail of queue, in
    // order. A count of 0 or below loads none. The count is trusted only as
    // far as the stream delivers: at the first request that cannot be read
    // whole the load stops, queues nothing of the section, leaves the stream
    // failed and answers false.
    static bool LoadQueue(std::istream& in, Chain<Nav_Path>& queue);

    // Fields, in order. Ranges and costs are range units, bearings and
    // positions angle units.
    Chain<PathPoint> points;          // request: start, goal (and while queued
                                      // the blocking point); result: the route
    SearchNode open[MAX_NODES];       // open list; also scratch for the chain
    SearchNode closed[MAX_NODES];     // closed list
    SearchNode candidates[MAX_NODES]; // candidate points of an optimization pass
    LatLonPoint goal;                 // goal of the search
    LatLonPoint start;                // start of the search
    LatLonPoint origin;               // closed node the current sweep turns around
    SearchNode blocker;               // blocking point of the node being expanded
    AreaPolygonList* zones = nullptr; // the side's zones; not owned
    NavVector scratch;                // the last leg computed
    int32_t cwBearing = 0;            // clockwise sweep: bearing and limit
    int32_t cwLimit = 0;
    int32_t ccwBearing = 0;           // counter-clockwise sweep: bearing and limit
    int32_t ccwLimit = 0;
    int32_t cwRadius = 0;             // probe radii of the two sweeps
    int32_t ccwRadius = 0;
    uint32_t threatMask = 0;          // zone type bits to avoid
    uint16_t unitID = 0;              // unit the request is for
    int16_t navType = 0;              // navigation type 1 to 7
    int16_t numPoints = 0;            // -1 illegal, 0 no route / not answered,
                                      // 2 or more: route points
    int16_t numOpen = 0;              // fill counts of open, closed, candidates
    int16_t numClosed = 0;
    int16_t numCandidates = 0;
    int16_t chainIndex = -1;          // working index of the route-chain builder
    int16_t current = -1;             // optimization: index in closed being
                                      // connected; -1 before any pass
    int16_t cursor = -1;              // optimization: next candidate to connect
    int16_t pass = 0;                 // optimization pass counter
    int16_t optState = 0;             // 1 take the best open node, 2 connect
    int16_t maxPasses = 3;            // optimization passes
    uint8_t sweepStarted = 0;         // search state flags
    uint8_t clockwise = 0;
    uint8_t sweepFound = 0;
    uint8_t optimizing = 0;
    uint8_t searchDone = 0;
    uint8_t passDone = 0;
    uint8_t sideID = 0;               // requesting side (0: the player's side)
    uint8_t reversed = 0;             // 1: the request was turned round to
                                      // retry after a "no route" answer (goal
                                      // first, start last); a route found for
                                      // it runs from the goal and is turned
                                      // round before the unit takes it, and a
                                      // second "no route" stops the unit.
                                      // Saved with the request and the answer.
    uint8_t maxCandidates = 20;       // capacity of an optimization pass
};
