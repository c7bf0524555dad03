// LaunchEntry.h: LaunchEntry, one line of a launch list: aircraft of one
// record of a carrier, base or group to be made ready or launched. The
// launch orders (engagement/LaunchOrders.h) carry such lists out; the type
// summaries of a group keep one per record they can launch.
#pragma once

#include <cstdint>

#include "core/TreeListOf.h"

class PlaneRec;
class PlaneRecList;

class LaunchEntry : public TreeListNode<LaunchEntry> {
public:
    LaunchEntry() = default;
    explicit LaunchEntry(uint16_t key) : TreeListNode<LaunchEntry>(key) {}
    // An entry for all the record's aircraft with the loadout they carry,
    // not marked for launch.
    LaunchEntry(uint16_t key, const PlaneRec& record);
    ~LaunchEntry() override = default;

    // The entry's record, looked up in its holder's list (null when the
    // holder or the record is gone); `list` receives the holder's list.
    PlaneRec* FindRecord(PlaneRecList** list = nullptr) const;

    uint16_t unitId = 0;          // the holder of the record
    uint16_t planeRecId = 0;      // the record in the holder's list
    uint8_t aircraftWanted = 0;   // how many of its aircraft go
    uint16_t readyState = 0;      // the loadout the aircraft are to carry
    uint8_t launchFlag = 0;       // non-zero: launch now (or launched)
};

using LaunchList = TreeListOf<LaunchEntry>;
