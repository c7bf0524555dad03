// PathReturnEvent.cpp: the route hand-back event and its saved form.
#include "world/PathReturnEvent.h"

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

void PathReturnEvent::Save(std::ostream& out) const
{
    const Nav_Path empty;
    const Nav_Path& request = path != nullptr ? *path : empty;
    SaveField<uint8_t>(out, TypeCode());
    SaveField<uint16_t>(out, request.unitID);
    SaveField<uint8_t>(out, request.sideID);
    SaveField<uint16_t>(out, static_cast<uint16_t>(request.navType));
    SaveField<int16_t>(out, request.numPoints);
    const PathPoint* point = request.points.First();
    const int32_t count = SavedPointCount(request.numPoints);
    for (int32_t i = 0; i < count; ++i) {
        if (point != nullptr) {
            point->Save(out);
            point = point->GetNext();
        } else {
            LatLonPoint().Save(out);
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
    uint16_t navType = 0;
    LoadField(in, loaded->unitID);
    LoadField(in, loaded->sideID);
    LoadField(in, navType);
    LoadField(in, loaded->numPoints);
    loaded->navType = static_cast<int16_t>(navType);
    const int32_t count = SavedPointCount(loaded->numPoints);
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
