// Game2Nav.cpp: handing answered routes back to the game model.
#include "world/Game2Nav.h"

#include <new>

#include "core/ErrorReport.h"
#include "core/gam2arena.h"
#include "world/NavPath.h"
#include "world/PathReturnEvent.h"

namespace Game2Nav {

void ReturnPath(Nav_Path* path)
{
    if (path == nullptr) {
        ErrorBox("Game2Nav::ReturnPath : path is NULL");
        return;
    }
    PathReturnEvent* const event = new (std::nothrow) PathReturnEvent(path, path->unitID);
    if (event == nullptr) {
        FatalError("Game2Nav::ReturnPath : out of memory");
        delete path;   // FatalError may return; the caller has let go of the path
        return;
    }
    if (gam2arena::GetArenaState() == nullptr) {
        delete event;  // no game to answer: the path goes with the event
        return;
    }
    gam2arena::PostEvent(event);
}

} // namespace Game2Nav
