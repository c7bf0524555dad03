// GroupIdentity.h: gam2grp::GetGroupID, the formation a unit counts as part
// of, which the formation windows and the missions ask; it needs only the
// unit model, so it lives with it.
#pragma once

#include <cstdint>

namespace gam2grp {
// 0 for id 0 or a missing unit; the unit's own id when it is a group; else
// the id of the group or base it belongs to (its parent, 0 for none).
uint16_t GetGroupID(uint16_t unitID);
}  // namespace gam2grp
