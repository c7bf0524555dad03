// ArcMask.h: the arc mask of a mount or sensor, the u32 value beside each
// entry of a platform record's mount and sensor lists. The unit's point
// defence and detection pass test it against the sector of a bearing.
#pragma once

#include <cstdint>

// Eight 45-degree sectors of the bearing relative to the bow, one bit each:
// clockwise from the bow the starboard sectors 0 to 3 are 0x01, 0x02, 0x04,
// 0x08, and the port sectors 4 to 7 (aft to bow) 0x80, 0x40, 0x20, 0x10. So
// 0x01 and 0x10 are the two bow sectors, 0x08 and 0x80 the two stern ones.
constexpr uint32_t ARC_SECTOR_BITS = 0xFF;
constexpr uint32_t ARC_ALL_ROUND = 0xFF;
constexpr uint32_t ARC_STARBOARD = 0x0F;
constexpr uint32_t ARC_PORT = 0xF0;
constexpr uint32_t ARC_FORWARD = 0x33;   // bow to beam, both sides
constexpr uint32_t ARC_AFT = 0xCC;       // beam to stern, both sides

// A sensor built with arc mask 0 looks all round; a mount keeps 0 and is
// then never in arc.
