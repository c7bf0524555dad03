// PathReturnEvent.cpp: the route hand-back event and its saved form.
#include "world/PathReturnEvent.h"

#include <cstdint>
#include <new>

#include "core/StreamFields.h"
#include "world/NavPath.h"

PathReturnEvent::PathReturnEvent(Nav_Path* path, uint16_t unitID)
    : path(path), unitID(unitID)
{
}

PathReturnEvent::PathReturnEvent(std::istream& in)
{
    Load(in);
}

PathReturnEvent::~PathReturnEvent()
{
    delete path;
}

bool PathReturnEvent::HandleEvent()
{
    return false;
}

Nav_Path* PathReturnEvent::ReleasePath()
{
    Nav_Path* const released = path;
    path = nullptr;
    return released;
}

int32_t PathReturnEvent::SavedPointCount(int16_t count)
{
    if (count > 0)
        return count;
    return count == 0 ? 2 : 0;
}

Nav_Path* PathReturnEvent::TakeRetryRequest(uint32_t threatMask)
{
    if (path == nullptr || path->numPoints != Nav_Path::NO_ROUTE || path->reversed != 0)
        return nullptr;
    PathPoint* const start = path->points.First();
    PathPoint* const goal = start != nullptr ? start->GetNext() : nullptr;
    if (goal == nullptr)
        return nullptr;   // nothing to turn round
    while (PathPoint* const after = goal->GetNext()) {
        path->points.Remove(after);   // the blocking point
        delete after;
    }
    path->points.Remove(start);
    path->points.Append(start);
    path->reversed = 1;
    path->numPoints = 2;
    path->threatMask = threatMask;
    return ReleasePath();
}

void PathReturnEvent::Save(std::ostream& out) const
{
    const Nav_Path empty;
    const Nav_Path& request = path != nullptr ? *path : empty;
    const int32_t derived = SavedPointCount(request.numPoints);
    const int32_t held = path != nullptr ? request.CountPoints() : derived;
    // A chain of more than the count field holds keeps its first 32767.
    const int32_t written = held <= INT16_MAX ? held : INT16_MAX;
    // Navigation types run 1 to 7; the word's two top bits carry the flags,
    // so a type outside 0..0x3FFF would not come back.
    uint16_t word = static_cast<uint16_t>(request.navType) & NAV_TYPE_BITS;
    if (written != derived)
        word |= HELD_POINTS;
    if (request.reversed != 0)
        word |= REVERSED;

    SaveField<uint8_t>(out, TypeCode());
    SaveField<uint16_t>(out, request.unitID);
    SaveField<uint8_t>(out, request.sideID);
    SaveField<uint16_t>(out, word);
    SaveField<int16_t>(out, request.numPoints);
    if ((word & HELD_POINTS) != 0)
        SaveField<int16_t>(out, static_cast<int16_t>(written));
    const PathPoint* point = request.points.First();
    for (int32_t i = 0; i < written; ++i) {
        if (point != nullptr) {
            point->Save(out);
            point = point->GetNext();
        } else {
            LatLonPoint().Save(out);   // the empty request's two points
        }
    }
    SaveField<uint16_t>(out, unitID);
    SaveBase(out);
}

bool PathReturnEvent::Load(std::istream& in)
{
    Nav_Path* const loaded = new (std::nothrow) Nav_Path();
    if (loaded == nullptr) {
        in.setstate(std::ios::failbit);   // the record cannot be read in step
        return false;
    }
    uint16_t word = 0;
    LoadField(in, loaded->unitID);
    LoadField(in, loaded->sideID);
    LoadField(in, word);
    LoadField(in, loaded->numPoints);
    loaded->navType = static_cast<int16_t>(word & NAV_TYPE_BITS);
    loaded->reversed = (word & REVERSED) != 0 ? 1 : 0;
    int32_t count = SavedPointCount(loaded->numPoints);
    if ((word & HELD_POINTS) != 0) {
        int16_t held = 0;
        LoadField(in, held);
        if (held < 0)
            in.setstate(std::ios::failbit);   // a damaged record
        count = held;
    }
    for (int32_t i = 0; i < count && in; ++i) {
        LatLonPoint pos;
        if (pos.Load(in) && !loaded->AddPoint(pos))
            in.setstate(std::ios::failbit);
    }
    uint16_t subject = 0;
    LoadField(in, subject);
    if (!in || !LoadBase(in)) {   // a short read leaves the due time
        delete loaded;
        return false;
    }
    delete path;
    path = loaded;
    unitID = subject;
    return true;
}
