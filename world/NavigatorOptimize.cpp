// NavigatorOptimize.cpp: the optimization passes of the Navigator. Once the
// first phase has found a chain of clear legs, each pass turns the route into
// candidate points (its vertices and points that split every leg into equal
// parts in the flat latitude/longitude plane) and runs a best-first search
// over the clear legs between them; the next pass starts from the route the
// last one found. Like the first phase, a pass works in slices: one set-up,
// one take of the best node or one candidate connection per Navigator::Step.
#include "world/Navigator.h"

#include "core/ErrorReport.h"
#include "core/NavMath.h"

namespace {

// An unused slot of the open and closed lists.
SearchNode FreeNode()
{
    SearchNode node;
    node.parent = SearchNode::FREE_SLOT;
    return node;
}

} // namespace

void Navigator::OptimizeSlice(Nav_Path& path)
{
    if (!path.passDone) {
        OptimizeStep(path);
        return;
    }
    path.pass += 1;
    if (path.pass > path.maxPasses) {
        path.optimizing = 0;   // done: Step fills the route out from the last pass
        return;
    }
    if (!BeginOptimizationPass(path)) {
        path.optimizing = 0;
        path.numPoints = Nav_Path::NO_ROUTE;
        return;
    }
    path.passDone = 0;
}

bool Navigator::BeginOptimizationPass(Nav_Path& path)
{
    // The route so far, goal first, start last.
    path.current = static_cast<int16_t>(path.numClosed - 1);
    LatLonPoint route[Nav_Path::MAX_NODES];
    int16_t routeCount = 0;
    if (!TraceRoute(path, path.pass == 1, route, routeCount))
        return false;
    LatLonPoint chain[Nav_Path::MAX_NODES];
    int16_t n = 0;
    chain[n++] = path.goal;
    for (int16_t i = 0; i < routeCount; ++i)
        chain[n++] = route[i];
    chain[n++] = path.start;
    path.chainIndex = static_cast<int16_t>(n - 1);
    const int16_t legs = static_cast<int16_t>(n - 1);

    int32_t capacity = path.maxCandidates;
    if (capacity < 8 * int32_t{path.numPoints})
        capacity = 8 * int32_t{path.numPoints};
    if (capacity >= Nav_Path::MAX_NODES)
        capacity = Nav_Path::MAX_NODES - 1;
    int32_t parts = (capacity - 2) / legs;
    if (parts < 1) {
        // More legs than the capacity can split: the vertices alone are the
        // candidates, and the open list must be able to hold them all.
        parts = 1;
        capacity = legs + 2 < Nav_Path::MAX_NODES ? legs + 2 : Nav_Path::MAX_NODES - 1;
    }
    path.maxCandidates = static_cast<uint8_t>(capacity);

    path.numCandidates = 0;
    auto addCandidate = [&path](const LatLonPoint& pos) {
        if (path.numCandidates >= Nav_Path::MAX_NODES)
            return;
        SearchNode& candidate = path.candidates[path.numCandidates];
        candidate = SearchNode();
        candidate.parent = static_cast<int16_t>(path.numCandidates - 1);
        candidate.id = path.numCandidates;
        candidate.pos = pos;
        path.numCandidates += 1;
    };
    for (int16_t j = legs; j >= 1; --j) {
        const LatLonPoint& legStart = chain[j];
        addCandidate(legStart);
        path.scratch = NavMath::Vector_Flat(legStart, chain[j - 1]);
        const int32_t step = path.scratch.range / parts;
        for (int32_t k = 1; k < parts; ++k)
            addCandidate(NavMath::Offset_Flat(legStart, k * step, path.scratch.bearing));
    }
    addCandidate(path.goal);

    for (int16_t i = 0; i < Nav_Path::MAX_NODES; ++i) {
        path.open[i] = FreeNode();
        path.closed[i] = FreeNode();
    }
    SearchNode& seed = path.open[0];
    seed.parent = SearchNode::NO_PARENT;
    seed.id = 0;
    seed.cost = 0;
    seed.pos = path.candidates[0].pos;
    seed.estimate = LegRange(path.start, path.goal);
    path.numOpen = 1;
    path.numClosed = 0;
    path.current = 0;
    path.cursor = 0;
    path.chainIndex = 0;
    path.optState = 1;
    return true;
}

void Navigator::OptimizeStep(Nav_Path& path)
{
    if (path.optState == 2)
        ConnectCandidate(path);
    else
        TakeBestOpen(path);
}

void Navigator::TakeBestOpen(Nav_Path& path)
{
    if (path.numOpen <= 0 || path.open[0].parent == SearchNode::FREE_SLOT
        || path.numClosed >= Nav_Path::MAX_NODES) {
        path.optimizing = 0;   // the pass cannot reach the goal
        path.numPoints = Nav_Path::NO_ROUTE;
        return;
    }
    path.closed[path.numClosed] = path.open[0];
    path.numClosed += 1;
    path.current = static_cast<int16_t>(path.numClosed - 1);
    for (int16_t i = 1; i < path.numOpen; ++i)
        path.open[i - 1] = path.open[i];
    path.numOpen -= 1;
    path.open[path.numOpen] = FreeNode();
    path.optState = 2;
    path.cursor = 0;
}

void Navigator::ConnectCandidate(Nav_Path& path)
{
    if (path.cursor < 0 || path.cursor >= path.numCandidates || path.current < 0
        || path.current >= path.numClosed) {
        path.optState = 1;
        return;
    }
    const SearchNode candidate = path.candidates[path.cursor];
    const SearchNode current = path.closed[path.current];
    if (candidate.id != current.id
        && FirstBlockingPoint(current.pos, candidate.pos, path.navType, path.threatMask, path.zones).IsNone()) {
        if (candidate.pos == path.goal) {
            path.passDone = 1;   // the pass has reached the goal from the current node
            return;
        }
        const int16_t id = FindCandidateID(path, candidate.pos);
        const int16_t inClosed = FindClosedByID(path, id);
        const int16_t inOpen = inClosed < 0 ? FindOpenByID(path, id) : -1;
        if (inClosed >= 0 || inOpen >= 0) {
            SearchNode node = inClosed >= 0 ? path.closed[inClosed] : path.open[inOpen];
            const int32_t leg = LegRange(node.pos, current.pos);
            const int64_t estimate = int64_t{node.estimate} - node.cost + current.cost + leg;
            if (estimate < node.estimate) {
                node.parent = current.id;
                node.cost = ClampCost(int64_t{current.cost} + leg);
                node.estimate = ClampCost(int64_t{node.cost} + LegRange(node.pos, path.goal));
                if (inClosed >= 0) {
                    if (!InsertOpen(path, node))
                        return;   // the request has been dropped
                    for (int16_t i = inClosed + 1; i < path.numClosed; ++i)
                        path.closed[i - 1] = path.closed[i];
                    path.numClosed -= 1;
                    path.closed[path.numClosed] = FreeNode();
                    path.current = static_cast<int16_t>(path.numClosed - 1);
                } else {
                    for (int16_t i = inOpen + 1; i < path.numOpen; ++i)
                        path.open[i - 1] = path.open[i];
                    path.numOpen -= 1;
                    path.open[path.numOpen] = FreeNode();
                    if (!InsertOpen(path, node))
                        return;
                }
            }
        } else {
            SearchNode node = candidate;
            node.id = id;
            node.parent = current.id;
            node.cost = ClampCost(int64_t{current.cost} + LegRange(candidate.pos, current.pos));
            node.estimate = ClampCost(int64_t{node.cost} + LegRange(candidate.pos, path.goal));
            if (!InsertOpen(path, node))
                return;
        }
    }
    path.cursor += 1;
    if (path.cursor >= path.numCandidates)
        path.optState = 1;
}

bool Navigator::InsertOpen(Nav_Path& path, const SearchNode& node)
{
    if (path.numOpen >= path.maxCandidates || path.numOpen >= Nav_Path::MAX_NODES) {
        ErrorBox("\n\nopen is full\n\n");
        DropCurrent();
        return false;
    }
    // Ascending by estimate; a node goes after those of equal estimate, so
    // the older of two equal nodes is taken first.
    int16_t i = path.numOpen;
    while (i > 0 && path.open[i - 1].estimate > node.estimate) {
        path.open[i] = path.open[i - 1];
        --i;
    }
    path.open[i] = node;
    path.numOpen += 1;
    path.chainIndex = static_cast<int16_t>(path.numOpen - 1);
    return true;
}

int16_t Navigator::FindClosedByID(const Nav_Path& path, int16_t id)
{
    for (int16_t i = 0; i < path.numClosed && i < Nav_Path::MAX_NODES; ++i)
        if (path.closed[i].id == id)
            return i;
    return -1;
}

int16_t Navigator::FindOpenByID(const Nav_Path& path, int16_t id)
{
    for (int16_t i = 0; i < path.numOpen && i < Nav_Path::MAX_NODES; ++i)
        if (path.open[i].id == id)
            return i;
    return -1;
}

int16_t Navigator::FindCandidateID(const Nav_Path& path, const LatLonPoint& pos)
{
    for (int16_t i = 0; i < path.numCandidates && i < Nav_Path::MAX_NODES; ++i)
        if (path.candidates[i].pos == pos)
            return path.candidates[i].id;
    return -1;
}
