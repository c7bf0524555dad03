// Navigator.cpp: route requests, the leg and point tests, the queue of
// requests worked on in slices, the first (sweep) phase of the search, the
// fill-out of a found route and the navigator section. The optimization
// passes are in NavigatorOptimize.cpp.
#include "world/Navigator.h"

#include <new>

#include "core/AllocationCheck.h"
#include "core/ErrorReport.h"
#include "core/NavMath.h"
#include "world/AreaPolygonList.h"
#include "world/Game2Nav.h"
#include "world/Game2UI2.h"
#include "world/Map.h"
#include "world/MapTile.h"
#include "world/game2ui.h"

Navigator* gNavigator = nullptr;

namespace {

// Terrain layer masks of the navigation types: 0 and below ask for no
// terrain test (1 gives 0; 3 and the unknown types -1).
constexpr int16_t TERRAIN_NONE = -1;
constexpr int16_t TERRAIN_LAND = MAP_LAYER_COAST;
constexpr int16_t TERRAIN_LAND_AND_ICE = MAP_LAYER_COAST | MAP_LAYER_ICE;

int16_t TerrainMask(int16_t navType)
{
    switch (navType) {
    case 1: return 0;
    case 2: case 6: case 7: return TERRAIN_LAND_AND_ICE;
    case 4: case 5: return TERRAIN_LAND;
    default: return TERRAIN_NONE;
    }
}

// A position a search can work from: on the globe.
bool OnGlobe(const LatLonPoint& p)
{
    return p.lat >= -ANGLE_RIGHT && p.lat <= ANGLE_RIGHT && p.lon >= -ANGLE_HALF && p.lon <= ANGLE_HALF;
}

// Keeps only the first and last points of a request, so that a queued
// request holds exactly start, goal and blocking point.
void KeepEnds(Nav_Path& path)
{
    PathPoint* const first = path.points.First();
    PathPoint* const last = path.points.Last();
    while (first != nullptr && first->GetNext() != last && first != last) {
        PathPoint* const middle = first->GetNext();
        path.points.Remove(middle);
        delete middle;
    }
}

// A sweep bearing brought into 0 to 360 degrees.
int32_t FoldBearing(int32_t bearing)
{
    const int32_t folded = bearing % ANGLE_FULL;
    return folded < 0 ? folded + ANGLE_FULL : folded;
}

} // namespace

int32_t Navigator::LegRange(const LatLonPoint& a, const LatLonPoint& b)
{
    return NavMath::Get_Vector(a, b).range;
}

int32_t Navigator::ClampCost(int64_t value)
{
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool ValidPoint(const LatLonPoint& point, int16_t navType)
{
    if (gMap == nullptr || !gMap->Is_On_Map(point))
        return false;
    switch (navType) {
    case 1:
        return true;
    case 2: case 3: case 6: case 7:
        return !gMap->Is_Land(point) && !gMap->Is_Ice(point);
    case 4: case 5:
        return !gMap->Is_Land(point);
    default:
        ErrorBox("Unknown Unit Type in ValidPoint of Navigate.cpp\n");
        return true;
    }
}

Navigator::~Navigator()
{
    paths.DeleteAll();
    pathHead = nullptr;
}

LatLonPoint Navigator::FirstBlockingPoint(const LatLonPoint& a, const LatLonPoint& b, int16_t navType,
                                          uint32_t threatMask, const AreaPolygonList* zones)
{
    LatLonPoint blocking = zones != nullptr ? zones->First_Crossing(a, b, threatMask) : LatLonPoint::None();
    if (!blocking.IsNone() || gMap == nullptr)
        return blocking;
    // Every type keeps to the scenario map, terrain or not. A leg that runs
    // from off the map to off the map has no edge crossing to name (asking
    // for one would show an error box per probe): it is blocked at its start.
    const bool endOffMap = !gMap->Is_On_Map(b);
    if (endOffMap && !gMap->Is_On_Map(a))
        return a;
    const int16_t terrain = TerrainMask(navType);
    if (terrain > 0)
        blocking = gMap->Get_First_Crossing(a, b, terrain);
    // The terrain query names the edge crossing itself, but only on a map
    // with tiles; types without terrain do not ask it.
    if (blocking.IsNone() && endOffMap)
        blocking = gMap->Get_Map_Edge_Crossing(a, b);
    return blocking;
}

bool Navigator::LegValid(const LatLonPoint& from, const LatLonPoint& to, int16_t navType, uint16_t sideID,
                         uint32_t threatMask) const
{
    if (!ValidPoint(from, navType))
        return false;
    if (to == from)
        return true;
    if (!ValidPoint(to, navType))
        return false;
    const AreaPolygonList* zones = Game2UI2::GetThreatZoneList(sideID);
    if (zones == nullptr)
        return false;
    return !zones->Any_Odd_Crossing(from, to, threatMask);
}

bool Navigator::ValidatePath(const Nav_Path* path, uint32_t threatMask) const
{
    if (path == nullptr)
        return false;
    const AreaPolygonList* zones = Game2UI2::GetThreatZoneList(path->sideID);
    if (zones == nullptr)
        return false;   // no side, no usable leg
    for (const PathPoint* a = path->points.First(); a != nullptr && a->GetNext() != nullptr; a = a->GetNext()) {
        const LatLonPoint& from = a->pos;
        const LatLonPoint& to = a->GetNext()->pos;
        if (zones->Any_Odd_Crossing(from, to, threatMask) || !ValidPoint(to, path->navType)
            || !FirstBlockingPoint(from, to, path->navType, threatMask, zones).IsNone())
            return false;
    }
    return true;
}

bool Navigator::RequestPath(Nav_Path* path)
{
    if (path == nullptr) {
        ErrorBox("Navigator::RequestPath : path is NULL");
        return true;
    }
    path->ResetSearch();
    if (path->points.First() == nullptr || path->points.First() == path->points.Last()) {
        path->numPoints = Nav_Path::ILLEGAL_REQUEST;   // no start and goal to route between
        return true;
    }
    KeepEnds(*path);
    const LatLonPoint start = path->points.First()->pos;
    const LatLonPoint goal = path->points.Last()->pos;

    if (gMap == nullptr || !gMap->Is_On_Map(goal)) {
        path->numPoints = Nav_Path::ILLEGAL_REQUEST;
        return true;
    }
    AreaPolygonList* const zones = Game2UI2::GetThreatZoneList(path->sideID);
    if (zones == nullptr) {
        path->numPoints = Nav_Path::ILLEGAL_REQUEST;   // the side does not exist
        return true;
    }
    if (zones->Any_Odd_Crossing(start, goal, path->threatMask)) {
        if (game2ui::IsVisibleToPlayer(path->unitID))
            PostToMessageLog("Navigator::Requested Path was impossible because of threat zones");
        path->numPoints = Nav_Path::ILLEGAL_REQUEST;
        return true;
    }
    if (!ValidPoint(goal, path->navType)) {
        if (game2ui::IsVisibleToPlayer(path->unitID))
            PostToMessageLog("Navigator: Requested Path was illegal (e.g., ship in land)");
        path->numPoints = Nav_Path::ILLEGAL_REQUEST;
        return true;
    }

    const LatLonPoint blocking = FirstBlockingPoint(start, goal, path->navType, path->threatMask, zones);
    if (blocking.IsNone()) {
        path->numPoints = 2;   // the straight leg is the route
        return true;
    }
    if (!path->AddPoint(blocking)) {
        AllocationCheck(nullptr);
        path->numPoints = Nav_Path::ILLEGAL_REQUEST;
        return true;
    }
    path->numPoints = Nav_Path::NO_ROUTE;
    paths.Append(path);
    pathHead = paths.First();
    return false;
}

bool Navigator::Step()
{
    pathHead = paths.First();
    if (pathHead == nullptr)
        return true;
    Nav_Path& path = *pathHead;
    headDropped = false;

    // The zone list is fetched afresh each slice, so that a side deleted
    // while its request waits is never read through a stale pointer.
    path.zones = Game2UI2::GetThreatZoneList(path.sideID);
    const bool unstarted = !path.sweepStarted && path.numOpen == 0 && path.numClosed == 0 && !path.optimizing;
    if (path.zones == nullptr) {
        path.numPoints = Nav_Path::NO_ROUTE;   // the side is gone
        path.optimizing = 0;
        path.searchDone = 1;
    } else if (unstarted && !BeginSearch(path)) {
        path.numPoints = Nav_Path::ILLEGAL_REQUEST;   // a damaged request
        path.optimizing = 0;
        path.searchDone = 1;
    } else if (!path.optimizing) {
        // A request just set up takes its first probe in the same slice.
        path.searchDone = ProbeStep(path) ? 1 : 0;
        if (path.searchDone && path.numClosed < maxNodes && path.numPoints > 0) {
            path.optimizing = 1;
            path.passDone = 1;
            path.pass = 0;
        }
    } else {
        OptimizeSlice(path);
    }

    if (!headDropped) {
        if (path.searchDone && !path.optimizing) {
            ReturnCurrent();
        } else {
            paths.Remove(&path);   // its turn is over: to the back of the queue
            paths.Append(&path);
        }
    }
    pathHead = paths.First();
    return pathHead == nullptr;
}

bool Navigator::BeginSearch(Nav_Path& path)
{
    const PathPoint* const first = path.points.First();
    const PathPoint* const second = first != nullptr ? first->GetNext() : nullptr;
    const PathPoint* const third = second != nullptr ? second->GetNext() : nullptr;
    if (third == nullptr || !OnGlobe(first->pos) || !OnGlobe(second->pos) || !OnGlobe(third->pos))
        return false;

    path.ResetSearch();
    path.start = first->pos;
    path.goal = second->pos;
    const int32_t direct = LegRange(path.start, path.goal);
    SearchNode& root = path.closed[0];
    root.parent = SearchNode::NO_PARENT;
    root.id = 0;
    root.cost = 0;
    root.estimate = direct;
    root.pos = path.start;
    path.numClosed = 1;
    path.blocker.pos = third->pos;
    path.blocker.estimate = direct;
    path.blocker.cost = LegRange(path.start, path.blocker.pos);
    path.blocker.parent = 0;
    path.blocker.id = 0;
    path.sweepStarted = 0;
    return true;
}

bool Navigator::ProbeStep(Nav_Path& path)
{
    if (!path.sweepStarted) {
        if (path.blocker.parent < 0 || path.blocker.parent >= path.numClosed) {
            path.numPoints = Nav_Path::NO_ROUTE;   // nothing to sweep around
            return true;
        }
        path.sweepFound = 0;
        path.origin = path.closed[path.blocker.parent].pos;
        path.scratch = NavMath::Get_Vector(path.origin, path.blocker.pos);
        // Out to the blocking point and half the way left from it to the goal.
        const int64_t remaining = int64_t{path.blocker.estimate} - path.blocker.cost;
        int32_t radius = ClampCost(int64_t{path.scratch.range} + (remaining >> 1));
        if (radius < 0)
            radius = 0;
        path.cwRadius = path.ccwRadius = radius;
        path.cwBearing = path.ccwBearing = path.scratch.bearing;
        path.cwLimit = path.scratch.bearing + ANGLE_HALF;
        path.ccwLimit = path.scratch.bearing - ANGLE_HALF;
        path.clockwise = 1;
        path.sweepStarted = 1;
    }

    if (path.clockwise) {
        path.cwBearing += sweepStep;
        const LatLonPoint probe = NavMath::Get_LatLonPoint_From_Vector(
            path.origin, path.cwRadius, FoldBearing(path.cwBearing));
        path.blocker.pos = FirstBlockingPoint(path.origin, probe, path.navType, path.threatMask, path.zones);
        if (path.blocker.pos.IsNone()) {
            if (!AddOpen(path, probe, path.blocker.parent)) {
                path.numPoints = Nav_Path::NO_ROUTE;
                return true;
            }
            path.sweepFound = 1;
            path.clockwise = 0;
            return false;
        }
        if (path.cwBearing > path.cwLimit) {
            path.cwBearing = path.scratch.bearing;
            path.cwRadius /= 2;
            if (path.cwRadius < MIN_SWEEP_RADIUS)
                path.clockwise = 0;
        }
        return false;
    }

    path.ccwBearing -= sweepStep;
    const LatLonPoint probe = NavMath::Get_LatLonPoint_From_Vector(
        path.origin, path.ccwRadius, FoldBearing(path.ccwBearing));
    path.blocker.pos = FirstBlockingPoint(path.origin, probe, path.navType, path.threatMask, path.zones);
    if (path.blocker.pos.IsNone()) {
        if (!AddOpen(path, probe, path.blocker.parent)) {
            path.numPoints = Nav_Path::NO_ROUTE;
            return true;
        }
        path.sweepFound = 1;
        return CloseBestNode(path);
    }
    if (path.ccwBearing >= path.ccwLimit)
        return false;
    path.ccwBearing = path.scratch.bearing;
    path.ccwRadius /= 2;
    if (path.ccwRadius >= MIN_SWEEP_RADIUS)
        return false;
    if (path.sweepFound)
        return CloseBestNode(path);
    path.numPoints = Nav_Path::NO_ROUTE;   // no clear probe down to half a mile
    return true;
}

bool Navigator::CloseBestNode(Nav_Path& path)
{
    path.sweepStarted = 0;
    if (path.numOpen <= 0) {
        path.numPoints = Nav_Path::NO_ROUTE;
        return true;
    }
    path.numOpen -= 1;
    const SearchNode node = path.open[path.numOpen];   // the smallest estimate
    if (!CloseNode(path, node)) {
        path.numPoints = Nav_Path::NO_ROUTE;
        return true;
    }
    path.blocker.pos = FirstBlockingPoint(node.pos, path.goal, path.navType, path.threatMask, path.zones);
    if (path.blocker.pos.IsNone()) {
        path.numPoints = 2;   // this node sees the goal
        path.current = static_cast<int16_t>(path.numClosed - 1);
        return true;
    }
    path.blocker.parent = static_cast<int16_t>(path.numClosed - 1);
    path.blocker.cost = ClampCost(int64_t{node.cost} + LegRange(node.pos, path.blocker.pos));
    path.blocker.estimate = ClampCost(int64_t{path.blocker.cost} + LegRange(path.blocker.pos, path.goal));
    return false;
}

bool Navigator::AddOpen(Nav_Path& path, const LatLonPoint& point, int16_t parentIndex)
{
    if (path.numOpen >= maxNodes || path.numOpen >= Nav_Path::MAX_NODES)
        return false;
    const SearchNode& parent = path.closed[parentIndex];
    SearchNode node;
    node.parent = parentIndex;
    node.id = 0;
    node.cost = ClampCost(int64_t{parent.cost} + LegRange(point, parent.pos));
    node.estimate = ClampCost(int64_t{node.cost} + 2 * int64_t{LegRange(point, path.goal)});
    node.pos = point;
    // Descending by estimate: the best node sits at the end, and among equal
    // estimates the newest is nearest the end.
    int16_t i = path.numOpen;
    while (i > 0 && path.open[i - 1].estimate < node.estimate) {
        path.open[i] = path.open[i - 1];
        --i;
    }
    path.open[i] = node;
    path.numOpen += 1;
    return true;
}

bool Navigator::CloseNode(Nav_Path& path, const SearchNode& node)
{
    if (path.numClosed >= maxNodes || path.numClosed >= Nav_Path::MAX_NODES)
        return false;
    path.closed[path.numClosed] = node;
    path.numClosed += 1;
    return true;
}

void Navigator::FilloutPath()
{
    pathHead = paths.First();
    if (pathHead == nullptr) {
        ErrorBox("Navigator::FilloutPath : pathHead is NULL");
        return;
    }
    Nav_Path& path = *pathHead;
    if (path.numPoints <= 0)
        return;   // no route: the request keeps start, goal and blocking point

    // The intermediate points, from the goal end back towards the start.
    LatLonPoint route[Nav_Path::MAX_NODES];
    int16_t count = 0;
    if (!TraceRoute(path, path.pass == 0, route, count)) {
        path.numPoints = Nav_Path::NO_ROUTE;   // never a leg nobody tested
        return;
    }

    PathPoint* made[Nav_Path::MAX_NODES] = {};
    for (int16_t i = 0; i < count; ++i) {
        made[i] = new (std::nothrow) PathPoint(route[i]);
        AllocationCheck(made[i]);
        if (made[i] == nullptr) {
            for (int16_t k = 0; k < i; ++k)
                delete made[k];
            path.numPoints = Nav_Path::NO_ROUTE;
            return;
        }
    }
    // Each point goes right after the start, so the goal-end ones end up last.
    PathPoint* const first = path.points.First();
    for (int16_t i = 0; i < count; ++i)
        path.points.InsertAfter(made[i], first);
    path.numPoints = static_cast<int16_t>(count + 2);

    PathPoint* const blocking = path.points.Last();   // added by RequestPath
    path.points.Remove(blocking);
    delete blocking;
}

bool Navigator::TraceRoute(const Nav_Path& path, bool byIndex, LatLonPoint* route, int16_t& count)
{
    count = 0;
    int16_t index = byIndex ? static_cast<int16_t>(path.numClosed - 1) : path.current;
    if (path.numClosed > Nav_Path::MAX_NODES || path.numOpen > Nav_Path::MAX_NODES || index < 0
        || index >= path.numClosed)
        return false;
    const SearchNode* node = &path.closed[index];
    while (node->parent != SearchNode::NO_PARENT) {
        // Room for the goal and the start besides; a longer chain is a loop.
        if (count >= Nav_Path::MAX_NODES - 2)
            return false;
        route[count++] = node->pos;
        if (byIndex) {
            // First-phase parents were closed before their children.
            if (node->parent < 0 || node->parent >= index)
                return false;
            index = node->parent;
            node = &path.closed[index];
            continue;
        }
        const int16_t inClosed = FindClosedByID(path, node->parent);
        if (inClosed >= 0) {
            node = &path.closed[inClosed];
            continue;
        }
        // A parent that a shorter way sent back to the open list keeps its
        // position and its own chain of tested legs back to the start.
        const int16_t inOpen = FindOpenByID(path, node->parent);
        if (inOpen < 0)
            return false;
        node = &path.open[inOpen];
    }
    return true;
}

void Navigator::DropCurrent()
{
    Nav_Path* const path = paths.First();
    if (path == nullptr)
        return;
    paths.Remove(path);
    pathHead = paths.First();
    headDropped = true;
    path->optimizing = 0;
    path->searchDone = 1;
    path->numPoints = Nav_Path::NO_ROUTE;
    Game2Nav::ReturnPath(path);   // the unit learns there is no route
}

void Navigator::ReturnCurrent()
{
    FilloutPath();
    Nav_Path* const path = paths.First();
    if (path == nullptr)
        return;
    paths.Remove(path);
    pathHead = paths.First();
    Game2Nav::ReturnPath(path);   // the path-return event owns it now
}

void Navigator::CancelRequests(uint16_t unitID)
{
    Nav_Path* path = paths.First();
    while (path != nullptr) {
        Nav_Path* const next = path->GetNext();
        if (path->unitID == unitID) {
            paths.Remove(path);
            delete path;
        }
        path = next;
    }
    pathHead = paths.First();
}

bool Navigator::Save(std::ostream& out) const
{
    return Nav_Path::SaveQueue(out, paths);
}

bool Navigator::Load(std::istream& in)
{
    const bool ok = Nav_Path::LoadQueue(in, paths);
    pathHead = paths.First();
    return ok;
}
