// NavPath.cpp: Nav_Path construction and the saved form of the queued
// requests in the navigator section.
#include "world/NavPath.h"

#include <new>

#include "core/StreamFields.h"

namespace {

// The most requests the signed 16-bit count of the section can hold.
constexpr uint32_t MAX_SAVED_REQUESTS = 0x7FFF;

} // namespace

Nav_Path::Nav_Path()
{
    ResetSearch();
}

Nav_Path::~Nav_Path()
{
    points.DeleteAll();
}

void Nav_Path::ResetSearch()
{
    numOpen = 0;
    numClosed = 0;
    numCandidates = 0;
    current = -1;
    chainIndex = -1;
    cursor = -1;
    pass = 0;
    optState = 0;
    sweepStarted = 0;
    clockwise = 0;
    sweepFound = 0;
    optimizing = 0;
    searchDone = 0;
    passDone = 0;
}

bool Nav_Path::AddPoint(const LatLonPoint& pos)
{
    PathPoint* const point = new (std::nothrow) PathPoint(pos);
    if (point == nullptr)
        return false;
    points.Append(point);
    return true;
}

int Nav_Path::CountPoints() const
{
    int count = 0;
    for (const PathPoint* p = points.First(); p != nullptr; p = p->GetNext())
        ++count;
    return count;
}

bool Nav_Path::SaveRequest(std::ostream& out) const
{
    SaveField<uint16_t>(out, unitID);
    SaveField<uint8_t>(out, sideID);
    SaveField<int16_t>(out, navType);
    SaveField<uint32_t>(out, threatMask);
    SaveField<int16_t>(out, numPoints);
    SaveField<uint8_t>(out, reversed);
    const PathPoint* point = points.First();
    for (int i = 0; i < QUEUED_POINTS; ++i) {
        if (point != nullptr) {
            point->Save(out);
            point = point->GetNext();
        } else {
            LatLonPoint().Save(out);
        }
    }
    return static_cast<bool>(out);
}

bool Nav_Path::LoadRequest(std::istream& in)
{
    LoadField(in, unitID);
    LoadField(in, sideID);
    LoadField(in, navType);
    LoadField(in, threatMask);
    LoadField(in, numPoints);
    LoadField(in, reversed);
    for (int i = 0; i < QUEUED_POINTS && in; ++i) {
        LatLonPoint pos;
        if (!pos.Load(in))
            break;
        if (!AddPoint(pos)) {
            in.setstate(std::ios::failbit);   // the section cannot be read in step
            break;
        }
    }
    return static_cast<bool>(in);
}

bool Nav_Path::SaveQueue(std::ostream& out, const Chain<Nav_Path>& queue)
{
    uint32_t count = 0;
    for (const Nav_Path* p = queue.First(); p != nullptr && count <= MAX_SAVED_REQUESTS;
         p = p->GetNext())
        ++count;
    const bool whole = count <= MAX_SAVED_REQUESTS;
    if (!whole)
        count = MAX_SAVED_REQUESTS;
    SaveField<int16_t>(out, static_cast<int16_t>(count));
    const Nav_Path* path = queue.First();
    for (uint32_t i = 0; i < count; ++i, path = path->GetNext())
        path->SaveRequest(out);
    return whole && static_cast<bool>(out);
}

bool Nav_Path::LoadQueue(std::istream& in, Chain<Nav_Path>& queue)
{
    int16_t count = 0;
    if (!LoadField(in, count))
        return false;
    Chain<Nav_Path> loaded;   // deletes what it holds if the load fails
    for (int16_t i = 0; i < count; ++i) {
        Nav_Path* const path = new (std::nothrow) Nav_Path();
        if (path == nullptr) {
            in.setstate(std::ios::failbit);   // the rest cannot be read in step
            return false;
        }
        if (!path->LoadRequest(in)) {
            delete path;
            return false;
        }
        loaded.Append(path);
    }
    // Hand the requests over one by one, so that loaded ends empty and
    // deletes nothing.
    while (Nav_Path* const taken = loaded.First()) {
        loaded.Remove(taken);
        queue.Append(taken);
    }
    return true;
}
