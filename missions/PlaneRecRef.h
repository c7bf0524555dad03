// PlaneRecRef.h: PlaneRecRef, a mission's reference to a number of aircraft
// of one aircraft record held by one unit, and PlaneRecRefList, the keyed
// list of them a mission keeps. The mission operations on the list are
// MissionAircraft.cpp.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"

class PlaneRec;

class PlaneRecRef : public TreeListNode<PlaneRecRef> {
public:
    // refState values.
    static constexpr uint16_t HELD = 1;        // named, not yet committed
    static constexpr uint16_t COMMITTED = 2;   // aircraft may be launched from it
    // The flag bits a reference made from a record keeps.
    static constexpr uint32_t RECORD_FLAG_MASK = 0x0FFFFFFF;
    // Saved bytes of one reference.
    static constexpr uint32_t SAVED_SIZE = 24;

    // Key 0 (or the given key), every field 0, refState HELD.
    PlaneRecRef() = default;
    explicit PlaneRecRef(uint16_t key) : TreeListNode<PlaneRecRef>(key) {}
    // Names all of the record's aircraft: holder, record key, count and
    // loadout from it, its flags masked with RECORD_FLAG_MASK, no order,
    // refState HELD, its substitutions and spare word copied; the ready
    // minutes are those left until the record's ready time (0 when it is
    // fully ready or the time has passed).
    PlaneRecRef(const PlaneRec& record, uint16_t key);
    // Every field, the substitutions node by node.
    PlaneRecRef(const PlaneRecRef& other);
    PlaneRecRef& operator=(const PlaneRecRef&) = delete;
    ~PlaneRecRef() override = default;

    // Saved form, little-endian (SAVED_SIZE bytes):
    //   key u16, holderID u16, recordID u16, count u8, loadoutID u16,
    //   released u8, recordFlags u32, orderState u16, orderTarget u16,
    //   orderValue u32, refState u16
    // The record word, ready minutes and substitutions are not saved. Load
    // on a short read leaves the stream failed.
    void Save(std::ostream& out) const;
    void Load(std::istream& in);

    // Splits other's aircraft off this reference: when other's count is not
    // above this one's, answers a new copy of other (owned by the caller) and
    // lowers this count by other's; else null and nothing changes.
    PlaneRecRef* Split(const PlaneRecRef& other);
    // The aircraft record the reference names; null when the holder, its
    // aircraft record list or the record is missing.
    PlaneRec* GetPlaneRec() const;
    // The stored order a unit made from these aircraft takes.
    void SetOrder(uint16_t state, uint16_t target, uint32_t value);

    uint16_t holderID = 0;       // unit whose aircraft record list holds them
    uint16_t recordID = 0;       // key of the record in that list
    uint8_t count = 0;           // aircraft referred to
    uint16_t loadoutID = 0;      // loadout.dat record; 0 the record's own
    uint8_t released = 0;        // 1: handed over while editing missions
    uint32_t recordFlags = 0;    // copy of the record's flag word
    uint16_t orderState = 0;     // stored order: state of the unit made
    uint16_t orderTarget = 0;    // stored order: its target id
    uint32_t orderValue = 0;     // stored order: its value
    uint16_t refState = HELD;    // HELD or COMMITTED
    uint16_t recordWord = 0;     // the record's spare word, carried only
    uint16_t readyMinutes = 0;   // minutes until the aircraft are ready
    NavIDList substitutions;     // weapon named by the loadout -> weapon carried
};

// The references of one mission, in key order. New keys come from NewKey
// (last issued + 1, the lowest free key after wrap-around). Saved form:
// count u16, then the references in key order; a load sets the last key
// issued to the highest key read, and a reference cut short is never listed.
class PlaneRecRefList : public SavedTreeListOf<PlaneRecRef> {
public:
    PlaneRecRefList() = default;
    ~PlaneRecRefList() override = default;
};
