// LoadoutAnnex.h: LoadoutAnnex, one record of loadout.dat: a weapon load an
// aircraft can be armed with, the weapon records it carries and the time it
// takes to load. Counting loadouts against a unit's stocks (CountLoadouts)
// is the engagement model's (engagement/LoadoutCount.cpp).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "annex/StockEntry.h"
#include "core/IDList.h"
#include "core/NameString.h"
#include "core/TreeListOf.h"

class LoadoutAnnex : public TreeListNode<LoadoutAnnex> {
public:
    // File layout, little-endian:
    //   ID              u16
    //   firstCode       code32
    //   secondCode      code32      its role bits
    //   firstIDs        ID list     u16 count, then count u16 IDs
    //   weaponRecIDs    ID list     weaprec.dat IDs the loadout carries
    //   mountByte       u8          becomes the loadout mount's byte
    //   value16         u16
    //   armingMinutes   u16         time to load it onto an aircraft
    //   value32         u32
    //   name            NameString
    //   bytes           4 x u8
    //   lastValue       u32         version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 29;
    static constexpr int BYTE_COUNT = 4;

    LoadoutAnnex() = default;
    explicit LoadoutAnnex(uint16_t id) : TreeListNode<LoadoutAnnex>(id) {}
    ~LoadoutAnnex() override = default;   // the ID lists free their nodes

    uint32_t GetSecondCode() const { return secondCode; }

    // Reads the layout above; lastValue only when the current annex version
    // is not 0. An ID count larger than the bytes left fails the stream.
    // Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;
    // How many complete loads the unit's stocks supply (65535 when no weapon
    // of the load limits it): for each weapon record of the load, the
    // stock of its weapon divided by the record's rounds; a weapon without
    // stock gives 0. A facility without stocks of its own, attached to a
    // group, counts on the stocks of the group's first member facility that
    // has any.
    uint16_t CountLoadouts(uint16_t unitID, const StockChain& stocks) const;

    uint32_t firstCode = 0;
    uint32_t secondCode = 0;
    IDList firstIDs;
    IDList weaponRecIDs;
    uint8_t mountByte = 0;
    uint16_t value16 = 0;
    uint16_t armingMinutes = 0;
    uint32_t value32 = 0;
    NameString name;
    uint8_t bytes[BYTE_COUNT] = {};
    uint32_t lastValue = 0;
};
