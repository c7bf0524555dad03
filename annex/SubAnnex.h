// SubAnnex.h: SubAnnex, one record of sub.dat: a submarine class with its
// depth limit, propulsion, sensors, mounts, magazines, comms and fuel. The
// Submarine unit is built from it.
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

// Resource number of a submarine's description text: this base + textNumber.
constexpr int32_t SUB_TEXT_BASE = 0x410000;
// Metres per unit of the stored depth limit (which is negative).
constexpr int32_t SUB_DEPTH_UNIT_METRES = 10;

class SubAnnex : public TreeListNode<SubAnnex> {
public:
    // File layout, little-endian:
    //   0  ID              u16
    //   2  typeCode        raw5          type code text, no terminator
    //   7  maxDepth        i16           depth limit, negative, tens of metres
    //   9  vesselTriple1, vesselTriple2  2 x ShortTriple
    //  21  damagePoints    u16
    //  23  triple1 .. 3    3 x ShortTriple   become the unit's triples
    //  41  propulsionIDs   ID list       propuls.dat IDs
    //      sensors         ID-value list sensor.dat IDs, arc mask each
    //      mounts          ID-value list mount.dat IDs, arc mask each
    //      magazineIDs     ID list       magazine.dat IDs
    //      commIDs         ID list       comm.dat IDs
    //      fuelIDs         ID list       fuel.dat IDs
    //      length          u16           tenths of a metre
    //      displacement    u32           tons
    //      crew            u16
    //      textNumber      u16           description SUB_TEXT_BASE + this
    //      value1          u16
    //      subFlags        u32           flag word (the weapon model reads
    //                                    its shock-resistance bit)
    //      className       NameString    first name
    //      secondName      NameString
    //      bytes           4 x u8        one per target letter
    //      lastValue       u32           version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 77;
    static constexpr int BYTE_COUNT = 4;

    // Every number 0, every list empty, texts empty.
    SubAnnex() = default;
    explicit SubAnnex(uint16_t id) : TreeListNode<SubAnnex>(id) {}
    ~SubAnnex() override = default;   // the lists free their nodes

    // The depth limit in metres, as the database viewer shows it: the stored
    // value times -10, so a limit of -45 shows as 450.
    int32_t GetMaxDepthMetres() const { return -SUB_DEPTH_UNIT_METRES * int32_t{maxDepth}; }
    // Copies the type code text into out (6 bytes).
    void GetTypeCode(char* out) const { typeCode.Get(out); }
    int32_t GetTextResource() const { return SUB_TEXT_BASE + textNumber; }

    // Reads the layout above; lastValue only when the current annex version
    // is not 0 (it stays 0 otherwise). The lists are emptied first; a list
    // count larger than the bytes left fails the stream. Answers the
    // stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    PlatformTypeCode typeCode;
    int16_t maxDepth = 0;
    ShortTriple vesselTriple1;
    ShortTriple vesselTriple2;
    uint16_t damagePoints = 0;
    ShortTriple triple1;
    ShortTriple triple2;
    ShortTriple triple3;
    IDList propulsionIDs;
    IDRecordList sensors;
    IDRecordList mounts;
    IDList magazineIDs;
    IDList commIDs;
    IDList fuelIDs;
    uint16_t length = 0;
    uint32_t displacement = 0;
    uint16_t crew = 0;
    uint16_t textNumber = 0;
    uint16_t value1 = 0;
    uint32_t subFlags = 0;
    NameString className;
    NameString secondName;
    uint8_t bytes[BYTE_COUNT] = {};
    uint32_t lastValue = 0;
};
