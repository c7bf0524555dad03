// Navigator.h: Navigator, held in gNavigator: plans routes for units across
// the sea map around land, ice and the zones of their side. A request whose
// straight leg is clear is answered at once; any other is queued and solved
// in small slices, one per call of Step, which the main loop makes once per
// pass, so that no frame waits for a search. Queued requests take the slices
// in turn. The search has two phases: a sweep search that finds a first chain
// of clear legs (this file's Navigator.cpp), then up to three optimization
// passes that straighten it over a finer set of candidate points
// (NavigatorOptimize.cpp). Finished requests, with a route or without, go
// back to the game through Game2Nav::ReturnPath. The request record and its
// workspace are Nav_Path (NavPath.h).
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Chain.h"
#include "core/LatLonPoint.h"
#include "world/NavPath.h"

class AreaPolygonList;

// The point rule of a navigation type: every type needs the point on the map;
// types 2, 3, 6 and 7 also keep it off land and ice, types 4 and 5 off land.
// Another type shows the error box "Unknown Unit Type in ValidPoint of
// Navigate.cpp\n" and asks only for the map. False without a map.
bool ValidPoint(const LatLonPoint& point, int16_t navType);

class Navigator {
public:
    // Most closed (and open) nodes the first phase may hold.
    static constexpr int16_t MAX_FIRST_PHASE_NODES = 20;
    // Bearing step between two probes of a sweep: 24.4 arc-minutes.
    static constexpr int32_t SWEEP_STEP = 100000;
    // A sweep gives up a side when its radius falls below half a mile.
    static constexpr int32_t MIN_SWEEP_RADIUS = 0x800;

    Navigator() = default;
    // Deletes every queued request.
    ~Navigator();
    Navigator(const Navigator&) = delete;
    Navigator& operator=(const Navigator&) = delete;

    // Takes a request whose points hold start then goal (points in between
    // are dropped) and whose unitID, sideID, navType and threatMask are set.
    // True: answered at once, numPoints -1 (illegal: goal off the map or not
    // valid for the navigation type, start and goal on two sides of a
    // matching zone, no such side) or 2 (the straight leg is clear); the
    // caller keeps the path and hands it to Game2Nav::ReturnPath. False: the
    // blocking point of the straight leg is appended, numPoints is 0, and the
    // path is queued and now belongs to the Navigator.
    bool RequestPath(Nav_Path* path);

    // One slice of work on the request at the head of the queue, which then
    // goes to the back, or, when finished, is filled out and handed to
    // Game2Nav::ReturnPath. True when the queue is empty (before or after).
    bool Step();

    // Takes every queued request of the unit out of the queue and deletes it.
    void CancelRequests(uint16_t unitID);

    // True when every leg of the route in path's points is usable for its
    // navType and side: no leg has exactly one end inside a zone sharing a
    // bit with threatMask, every leg end is a valid point, and no leg crosses
    // a matching zone or the terrain of the navigation type. A route of one
    // point is valid; a side without a zone list never is. Changes nothing.
    bool ValidatePath(const Nav_Path* path, uint32_t threatMask) const;

    // Point and zone test of one leg: false when `from` is not valid, true
    // when `to` equals it, false when `to` is not valid, when the side (0:
    // the player's) has no zone list, or when exactly one end lies inside a
    // matching zone. It does not look for crossings.
    bool LegValid(const LatLonPoint& from, const LatLonPoint& to, int16_t navType, uint16_t sideID,
                  uint32_t threatMask) const;

    // The first point blocking leg a-b: the first crossing of a zone sharing
    // a bit with threatMask (zones in list order; none looked for when zones
    // is null), else the first crossing of the terrain the navigation type
    // must not cross (types 2, 6, 7 land and ice; 4, 5 land; others none),
    // else, for every type, where the leg leaves the map when b lies off it
    // (a itself when a lies off the map too). No point when clear; without
    // a map only zones block.
    static LatLonPoint FirstBlockingPoint(const LatLonPoint& a, const LatLonPoint& b, int16_t navType,
                                          uint32_t threatMask, const AreaPolygonList* zones);

    // The navigator section of scenario files: the queued requests in queue
    // order (Nav_Path::SaveQueue). Answers the stream's state.
    bool Save(std::ostream& out) const;
    // Reads the section and queues its requests after any already held. A
    // damaged section queues none of its requests and answers false. Loaded
    // requests start their searches afresh.
    bool Load(std::istream& in);

    // The queue, head first; and the request being worked on.
    const Chain<Nav_Path>& GetQueue() const { return paths; }
    Nav_Path* GetPathHead() const { return pathHead; }
    int16_t GetMaxNodes() const { return maxNodes; }
    int32_t GetSweepStep() const { return sweepStep; }

private:
    // First phase (Navigator.cpp).
    // Sets up the first phase of the head request; false when the request
    // cannot be searched (fewer than three points, or a point off the globe).
    bool BeginSearch(Nav_Path& path);
    // One probe of the sweep around the node being expanded; true when the
    // phase is over (numPoints 2: route found, 0: none).
    bool ProbeStep(Nav_Path& path);
    // Closes the best open node and looks from it to the goal; true when the
    // phase is over.
    bool CloseBestNode(Nav_Path& path);
    bool AddOpen(Nav_Path& path, const LatLonPoint& point, int16_t parentIndex);
    bool CloseNode(Nav_Path& path, const SearchNode& node);
    // Replaces the request's blocking point by the route found: start, the
    // intermediate points, goal; numPoints becomes their count. A request
    // without a route keeps its points.
    void FilloutPath();
    // Takes the head request out of the queue and answers it without a route
    // (numPoints 0) through Game2Nav::ReturnPath; the unit stops waiting.
    void DropCurrent();
    // Takes the finished head request out of the queue, fills it out and
    // hands it to Game2Nav::ReturnPath.
    void ReturnCurrent();

    // Optimization passes (NavigatorOptimize.cpp).
    void OptimizeSlice(Nav_Path& path);
    // Builds the candidates of a pass from the route found so far and seeds
    // the search; false when that route cannot be traced back to the start.
    bool BeginOptimizationPass(Nav_Path& path);
    void OptimizeStep(Nav_Path& path);
    // Takes the best open node into closed.
    void TakeBestOpen(Nav_Path& path);
    // Tries the leg from the current node to candidate `cursor`.
    void ConnectCandidate(Nav_Path& path);
    // Puts node into open, ascending by estimate after equal ones; false
    // when the list is full, and the request has then been dropped.
    bool InsertOpen(Nav_Path& path, const SearchNode& node);
    // Index in closed of the node with this id, or -1.
    static int16_t FindClosedByID(const Nav_Path& path, int16_t id);
    // Index in open of the node with this id, or -1.
    static int16_t FindOpenByID(const Nav_Path& path, int16_t id);
    // id of the first candidate at exactly pos, or -1.
    static int16_t FindCandidateID(const Nav_Path& path, const LatLonPoint& pos);

    // Shared by both phases.
    // The positions of the route found, from the node that saw the goal back
    // to the start (neither goal nor start included), into route (room for
    // Nav_Path::MAX_NODES). byIndex: parents are indices into closed (the
    // first phase); else they are ids, looked up in closed and, for a parent
    // that went back to the open list, in open. False when the chain breaks,
    // loops or does not fit.
    static bool TraceRoute(const Nav_Path& path, bool byIndex, LatLonPoint* route, int16_t& count);
    // range of NavMath::Get_Vector from a to b.
    static int32_t LegRange(const LatLonPoint& a, const LatLonPoint& b);
    // A cost or estimate summed wide, held within 32 bits.
    static int32_t ClampCost(int64_t value);

    Chain<Nav_Path> paths;            // queued requests, owned
    Nav_Path* pathHead = nullptr;     // the head of paths; null when empty
    int16_t maxNodes = MAX_FIRST_PHASE_NODES;
    int32_t sweepStep = SWEEP_STEP;
    bool headDropped = false;         // the slice took its request out of the queue
};

// The one Navigator of the running scenario; null before start-up.
extern Navigator* gNavigator;
