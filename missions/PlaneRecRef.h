// PlaneRecRef.h: PlaneRecRef, a mission's reference to a number of aircraft
// of one aircraft record held by one unit, and PlaneRecRefList, the saved
// keyed list of them that a mission holds. The least form the mission record
// needs: fields and saved form.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/SavedTreeListOf.h"
#include "core/StreamFields.h"
#include "core/TreeListOf.h"

class PlaneRecRef : public TreeListNode<PlaneRecRef> {
public:
    PlaneRecRef() = default;
    explicit PlaneRecRef(uint16_t key) : TreeListNode<PlaneRecRef>(key) {}
    ~PlaneRecRef() override = default;

    // Saved form, little-endian, 24 bytes:
    //   key u16, holderID u16, recordID u16, count u8, loadoutID u16,
    //   released u8, recordFlags u32, orderState u16, orderTarget u16,
    //   orderValue u32, refState u16
    void Save(std::ostream& out) const
    {
        SaveField<uint16_t>(out, GetKey());
        SaveField(out, holderID);
        SaveField(out, recordID);
        SaveField(out, count);
        SaveField(out, loadoutID);
        SaveField(out, released);
        SaveField(out, recordFlags);
        SaveField(out, orderState);
        SaveField(out, orderTarget);
        SaveField(out, orderValue);
        SaveField(out, refState);
    }
    void Load(std::istream& in)
    {
        uint16_t key = 0;
        LoadField(in, key);
        SetKey(key);
        LoadField(in, holderID);
        LoadField(in, recordID);
        LoadField(in, count);
        LoadField(in, loadoutID);
        LoadField(in, released);
        LoadField(in, recordFlags);
        LoadField(in, orderState);
        LoadField(in, orderTarget);
        LoadField(in, orderValue);
        LoadField(in, refState);
    }

    uint16_t holderID = 0;      // unit whose aircraft record list holds the aircraft
    uint16_t recordID = 0;      // key of the aircraft record in that list
    uint8_t count = 0;          // aircraft referred to
    uint16_t loadoutID = 0;
    uint8_t released = 0;       // 1: handed over while editing
    uint32_t recordFlags = 0;   // copy of the aircraft record's flag word
    uint16_t orderState = 0;    // stored order for a unit made from these aircraft
    uint16_t orderTarget = 0;
    uint32_t orderValue = 0;
    uint16_t refState = 1;      // 1 held, 2 committed
};

class PlaneRecRefList : public SavedTreeListOf<PlaneRecRef> {
public:
    PlaneRecRefList() = default;
    ~PlaneRecRefList() override = default;
};
