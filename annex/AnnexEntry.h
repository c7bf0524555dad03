// AnnexEntry.h: AnnexEntry, one air facility (runway, pad, hangar, catapult,
// elevator or parking) of a ship or facility, with its kind, capacities and
// working state, and AnnexEntryList, the saved keyed list the unit embeds.
// Building entries from a platform record is the unit model's; the record
// they come from is AirFacilityAnnex.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/IDList.h"
#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"

// Working states of an air facility entry.
constexpr uint32_t AIR_STATE_NONE = 1;
constexpr uint32_t AIR_STATE_ACTIVE = 2;
constexpr uint32_t AIR_STATE_PASSIVE = 3;
constexpr uint32_t AIR_STATE_STANDBY = 4;
constexpr uint32_t AIR_STATE_OFF = 5;
constexpr uint32_t AIR_STATE_DAMAGED = 6;
constexpr uint32_t AIR_STATE_DESTROYED = 7;

class AnnexEntry : public TreeListNode<AnnexEntry> {
public:
    // An entry as a list load creates it: every field 0 and the ID list
    // empty, except the state, which starts as AIR_STATE_NONE (the load reads
    // it in any case).
    AnnexEntry() = default;
    explicit AnnexEntry(uint16_t key) : TreeListNode<AnnexEntry>(key) {}
    ~AnnexEntry() override = default;   // the ID list frees its nodes

    uint32_t GetTypeCode() const { return typeCode; }
    uint32_t GetSecondCode() const { return state; }   // the working state
    uint32_t GetThirdCode() const { return thirdCode; }

    // Damage, destruction and repair of the facility: AIR_STATE_DAMAGED and
    // AIR_STATE_DESTROYED are stored as given, any other state stores
    // AIR_STATE_ACTIVE.
    void SetState(uint32_t newState);

    // Saved form, inside the unit's fields, little-endian (36 bytes and the
    // IDs):
    //   key              u16
    //   typeCode         u32   AIR_FACILITY_* kind
    //   state            u32   AIR_STATE_*
    //   thirdCode        u32
    //   value1           u16   the airfacil.dat ID
    //   value2           u16
    //   byte1 .. byte4   4 x u8   capacities in space units; byte1 is the
    //                             aircraft space
    //   long1 .. long3   3 x u32  long1, long2: the aircraft size class served
    //   ids              ID list (u16 count, then the IDs)
    // Load replaces the entry's fields and IDs; a short read leaves the
    // stream failed (the list load then drops the entry).
    void Save(std::ostream& out) const;
    void Load(std::istream& in);

    uint32_t typeCode = 0;
    uint32_t state = AIR_STATE_NONE;
    uint32_t thirdCode = 0;
    uint16_t value1 = 0;
    uint16_t value2 = 0;
    uint8_t byte1 = 0;
    uint8_t byte2 = 0;
    uint8_t byte3 = 0;
    uint8_t byte4 = 0;
    uint32_t long1 = 0;
    uint32_t long2 = 0;
    uint32_t long3 = 0;
    IDList ids;
};

// The air facility entries of a ship or facility. Saved form: u16 count, then
// each entry as above, in key order.
using AnnexEntryList = SavedTreeListOf<AnnexEntry>;
