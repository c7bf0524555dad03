// SensorChannel.h: what a sensor keeps of the targets it tracks:
// TrackedTarget, a target held in track with its hold count, and
// ChannelEntry, one track request booked on a fire-control channel for a
// window of game time; SensorChannel is one channel's keyed list of them.
// The sensor that owns them is Sensor.h.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/GameTime.h"
#include "core/SavedTreeListOf.h"
#include "core/StreamFields.h"
#include "core/TreeListOf.h"

class TrackedTarget : public TreeListNode<TrackedTarget> {
public:
    TrackedTarget() = default;
    explicit TrackedTarget(uint16_t targetID, int16_t hold = 0)
        : TreeListNode<TrackedTarget>(targetID), holdCount(hold) {}
    ~TrackedTarget() override = default;

    // Saved form, little-endian, 4 bytes:
    //   key         u16   the target's unit id
    //   holdCount   i16   holds on the track
    void Save(std::ostream& out) const
    {
        SaveKey(out);
        SaveField(out, holdCount);
    }
    void Load(std::istream& in)
    {
        LoadKey(in);
        LoadField(in, holdCount);
    }

    int16_t holdCount = 0;
};

class ChannelEntry : public TreeListNode<ChannelEntry> {
public:
    ChannelEntry() = default;
    ChannelEntry(uint16_t targetID, GameTime windowStart, GameTime windowEnd)
        : TreeListNode<ChannelEntry>(targetID), start(windowStart), end(windowEnd) {}
    ~ChannelEntry() override = default;

    // Saved form, little-endian, 10 bytes:
    //   key     u16   the target's unit id
    //   start   u32   game seconds
    //   end     u32   game seconds
    void Save(std::ostream& out) const
    {
        SaveKey(out);
        start.Save(out);
        end.Save(out);
    }
    void Load(std::istream& in)
    {
        LoadKey(in);
        start.Load(in);
        end.Load(in);
    }

    GameTime start;
    GameTime end;
};

// One fire-control channel: the track requests booked on it, by target.
using SensorChannel = SavedTreeListOf<ChannelEntry>;
// The targets a sensor holds in track, by target.
using TrackedTargetList = SavedTreeListOf<TrackedTarget>;
