// Game2Nav.h: the bridge through which the Navigator hands answered route
// requests back to the game model. The requests themselves reach the
// Navigator through Nav2Game.h.
#pragma once

class Nav_Path;

namespace Game2Nav {

// Wraps the answered path in a PathReturnEvent for its unitID and posts it on
// the game's event queue (gam2arena::PostEvent), due at once; the event owns
// the path from then on and deletes it with itself. A null path is reported
// (error box) and nothing is posted. Without an event (no memory) the fatal
// error "Game2Nav::ReturnPath : out of memory" is reported; without a game to
// post to (no arena) the answer has no one to reach. In both cases the path
// is deleted, since the caller has given it up.
void ReturnPath(Nav_Path* path);

} // namespace Game2Nav
