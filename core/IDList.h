// IDList.h: the ID lists, saved keyed lists of identifier nodes: IDList (bare
// identifiers, the most used list of the system), NavIDList (identifier and
// value) and IDPointList (identifier and position), and CopyIDList. The nodes
// are IDNode.h; the reverse index of ID lists is RecordList.h.
#pragma once

#include "core/IDNode.h"
#include "core/SavedTreeListOf.h"

// Identifiers of units, records, targets or group members. Saved form,
// little-endian: count u16, then count identifiers u16 in ascending order.
// Loaded against a reference list (LoadMatching) it keeps the identifiers the
// reference holds.
class IDList : public SavedTreeListOf<IDNode> {
public:
    IDList() = default;
    ~IDList() override = default;
};

// Identifiers with a u16 value each. Saved form: count u16, then count pairs
// (identifier u16, value u16).
class NavIDList : public SavedTreeListOf<NavIDNode> {
public:
    NavIDList() = default;
    ~NavIDList() override = default;
};

// Identifiers with a position each. Saved form: count u16, then count records
// (identifier u16, latitude i32, longitude i32).
class IDPointList : public SavedTreeListOf<IDPoint> {
public:
    IDPointList() = default;
    ~IDPointList() override = default;
};

// A new IDList holding a new IDNode for every identifier of source, inserted
// in the source's key order; null for a null source. The caller owns the copy.
IDList* CopyIDList(const IDList* source);
