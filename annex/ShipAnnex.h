// ShipAnnex.h: ShipAnnex, one record of ship.dat: a surface ship class with
// its damage classes, air facilities, propulsion, sensors, mounts, comms, fuel
// and magazines. The Ship unit is built from it.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "annex/PlatformTypeCode.h"
#include "annex/ShortTriple.h"
#include "core/IDList.h"
#include "core/IDRecord.h"
#include "core/NameString.h"
#include "core/TreeListOf.h"

// Resource number of a ship's description text: this base + textNumber.
constexpr int32_t SHIP_TEXT_BASE = 0x400000;

class ShipAnnex : public TreeListNode<ShipAnnex> {
public:
    // File layout, little-endian:
    //   0  ID              u16
    //   2  shipCode        code32        chooses the ship's damage-effect table
    //   6  typeCode        raw5          type code text, no terminator
    //  11  vesselCode1..3  3 x code32    damage class levels of the ship
    //  23  fourthCode      code32
    //  27  damagePoints    u16
    //  29  airFacilityIDs  ID list       airfacil.dat IDs
    //      vesselTriple1, vesselTriple2  2 x ShortTriple
    //      triple1 .. 3    3 x ShortTriple   become the unit's triples
    //      propulsionIDs   ID list       propuls.dat IDs
    //      sensors         ID-value list sensor.dat IDs, arc mask each
    //      mounts          ID-value list mount.dat IDs, arc mask each
    //      commIDs         ID list       comm.dat IDs
    //      fuelIDs         ID list       fuel.dat IDs
    //      magazineIDs     ID list       magazine.dat IDs
    //      eighthIDs       ID list
    //      length          u16           tenths of a metre
    //      displacement    u32           tons
    //      crew            u16
    //      value1, value2  2 x u32
    //      value3, value4  2 x u8
    //      value5          u16
    //      value6          u32
    //      textNumber      u16           description SHIP_TEXT_BASE + this
    //      value7          u16
    //      className       NameString    first name
    //      secondName      NameString
    //      bytes           5 x u8        four per target letter, then one
    //      lastValue       u32           version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 112;
    static constexpr int BYTE_COUNT = 5;

    // Every number 0, every list empty, texts empty.
    ShipAnnex() = default;
    explicit ShipAnnex(uint16_t id) : TreeListNode<ShipAnnex>(id) {}
    ~ShipAnnex() override = default;   // the lists free their nodes

    uint32_t GetShipCode() const { return shipCode; }
    // Copies the type code text into out (6 bytes).
    void GetTypeCode(char* out) const { typeCode.Get(out); }
    int32_t GetTextResource() const { return SHIP_TEXT_BASE + textNumber; }

    // Reads the layout above; lastValue only when the current annex version
    // is not 0 (it stays 0 otherwise). The lists are emptied first; a list
    // count larger than the bytes left fails the stream. Answers the
    // stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    uint32_t shipCode = 0;
    PlatformTypeCode typeCode;
    // Damage class levels as the file holds them: 0 to 4 select a column of
    // the damage tables, anything else has no value there (DBEnum).
    uint32_t vesselCode1 = 0;
    uint32_t vesselCode2 = 0;
    uint32_t vesselCode3 = 0;
    uint32_t fourthCode = 0;
    uint16_t damagePoints = 0;
    IDList airFacilityIDs;
    ShortTriple vesselTriple1;
    ShortTriple vesselTriple2;
    ShortTriple triple1;
    ShortTriple triple2;
    ShortTriple triple3;
    IDList propulsionIDs;
    IDRecordList sensors;
    IDRecordList mounts;
    IDList commIDs;
    IDList fuelIDs;
    IDList magazineIDs;
    IDList eighthIDs;
    uint16_t length = 0;
    uint32_t displacement = 0;
    uint16_t crew = 0;
    uint32_t value1 = 0;
    uint32_t value2 = 0;
    uint8_t value3 = 0;
    uint8_t value4 = 0;
    uint16_t value5 = 0;
    uint32_t value6 = 0;
    uint16_t textNumber = 0;
    uint16_t value7 = 0;
    NameString className;
    NameString secondName;
    uint8_t bytes[BYTE_COUNT] = {};
    uint32_t lastValue = 0;
};
