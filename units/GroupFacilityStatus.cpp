// GroupFacilityStatus.cpp: a group taking over the status bits of the
// facilities among its members (an air base showing its damaged hangars,
// busy or damaged air facilities and launch gear). Clearing them again when
// no facility holds them is the base's own step.
#include "units/Group.h"

#include "core/gam2arena.h"

namespace {

// The status bits a group takes over from its facility members.
constexpr uint32_t FACILITY_STATUS_MASK = 0x0368003C;

}  // namespace

// Bits already set on the group stay set; members the arena does not know
// are passed over.
void Group::UpdateStatusFromFacilities()
{
    uint32_t combined = 0;
    for (const GroupEntry* e = members.First(); e != nullptr; e = e->GetNext()) {
        const Unit* const member = gam2arena::FindUnit(e->GetKey());
        if (member != nullptr && member->GetTypeLetter() == 'F')
            combined |= member->GetFlags();
    }
    SetFlags(combined & FACILITY_STATUS_MASK);
}
