// PlaneAnnex.h: PlaneAnnex, one record of plane.dat: an aircraft type with
// its propulsion, sensors, mounts, loadouts, comms and fuel, and the ranges
// and performance table worked out for it once the whole annex is loaded
// (no file holds those). The Plane unit and the aircraft records use it.
// Working those figures out needs a Plane: GetUsableRange and
// BuildPerformanceTable are the unit model's (units/PlaneAnnexFigures.cpp),
// installed as the aircraft derived-figure hooks.
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

// Resource number of an aircraft's description text: this base + textID.
constexpr int32_t PLANE_TEXT_BASE = 0x420000;

class PlaneAnnex : public TreeListNode<PlaneAnnex> {
public:
    // File layout, little-endian:
    //   0  ID                   u16
    //   2  typeCode             raw5          type code text, no terminator
    //   7  triple1 .. 3         3 x ShortTriple   become the unit's triples
    //  25  propulsionIDs        ID list       propuls.dat IDs
    //      sensorIDs            ID-value list sensor.dat IDs, arc mask each
    //      mountIDs             ID-value list mount.dat IDs, arc mask each
    //      loadouts             ID list       loadout.dat IDs; read into the
    //                                         loadout list, range 0 each
    //      commIDs              ID list       comm.dat IDs
    //      fuelIDs              ID list       fuel.dat IDs
    //      length               u16           tenths of a metre
    //      span                 u16           tenths of a metre
    //      weight               u32           kilograms
    //      crew                 u8
    //      airValueUnloaded     u8            defensive air-to-air value
    //      airValueLoaded       u8            the same with stores
    //      aircraftFlags        u32           hangar size bits 0x800 to
    //                                         0x40000, type group 0x0F000000
    //      climbRate            u8            metres per second at sea level
    //      textID               u16           description PLANE_TEXT_BASE + this
    //      value                u16
    //      className            NameString    first name
    //      secondName           NameString
    //      bytes                4 x u8
    //      lastWord             u32           version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 65;
    static constexpr int BYTE_COUNT = 4;

    // The performance table: speed setting s (0 to 3) by altitude band b
    // (0 to 3), at index PERF_BANDS * s + b.
    static constexpr int PERF_SETTINGS = 4;
    static constexpr int PERF_BANDS = 4;
    static constexpr int PERF_ENTRIES = PERF_SETTINGS * PERF_BANDS;

    // Every number 0, every list empty, texts and type code empty.
    PlaneAnnex() = default;
    explicit PlaneAnnex(uint16_t id) : TreeListNode<PlaneAnnex>(id) {}
    ~PlaneAnnex() override = default;   // the lists free their nodes

    // Copies the type code text into out (6 bytes: at most 5 characters and
    // a terminator).
    void GetTypeCode(char* out) const { typeCode.Get(out); }
    uint32_t GetAircraftFlags() const { return aircraftFlags; }
    // The nine bits 11 to 19 of the flag word: the aircraft's size code.
    uint16_t GetSizeCode() const { return static_cast<uint16_t>((aircraftFlags >> 11) & 0x1FF); }
    // The type group, bits 24 to 27 of the flag word.
    uint8_t GetTypeGroup() const { return static_cast<uint8_t>((aircraftFlags >> 24) & 0x0F); }
    int32_t GetTextResource() const { return PLANE_TEXT_BASE + textID; }

    // Whether the type can carry the loadout.
    bool HasLoadout(uint16_t loadoutID) const { return loadouts.Find(loadoutID) != nullptr; }
    // The combat range in nautical miles: the loadout entry's usable range
    // when the type lists the loadout, else (no loadout: 0, or one it does
    // not list) the default usable range. Both are 0 until the ranges are
    // worked out after the annex load.
    uint16_t GetCombatRange(uint16_t loadoutID) const;

    // The range in nautical miles that an aircraft of this type (the record
    // of this key in the scenario's plane table) flies on full tanks with
    // the loadout (0: none), less its reserve of a tenth of the full range
    // rounded up (units/PlaneAnnexFigures.cpp).
    uint16_t GetUsableRange(uint16_t loadoutID) const;
    // Fills perfSpeed, perfRange and perfCeiling from the first plant of an
    // aircraft of this type without loadout, placed at the middle of the
    // map: every value 0 without a plant (units/PlaneAnnexFigures.cpp).
    void BuildPerformanceTable();

    // Reads the layout above; lastWord only when the current annex version is
    // not 0 (it stays 0 otherwise). The lists, the ranges and the performance
    // table are emptied first; every loadout ID read becomes a loadout entry
    // of range 0, a loadout listed twice gives two entries. A list count
    // larger than the bytes left fails the stream. Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version; the loadouts go out as a
    // plain ID list, their ranges and the performance table not at all.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    PlatformTypeCode typeCode;
    ShortTriple triple1;
    ShortTriple triple2;
    ShortTriple triple3;
    IDList propulsionIDs;
    IDRecordList sensorIDs;
    IDRecordList mountIDs;
    // Key: loadout.dat ID; value: usable range in nautical miles (worked out).
    NavIDList loadouts;
    IDList commIDs;
    IDList fuelIDs;
    uint16_t length = 0;
    uint16_t span = 0;
    uint32_t weight = 0;
    uint8_t crew = 0;
    uint8_t airValueUnloaded = 0;
    uint8_t airValueLoaded = 0;
    uint32_t aircraftFlags = 0;
    uint8_t climbRate = 0;
    uint16_t textID = 0;
    uint16_t value = 0;
    NameString className;
    NameString secondName;
    uint8_t bytes[BYTE_COUNT] = {};
    uint32_t lastWord = 0;

    // Worked out after the annex load; no file holds them.
    uint16_t usableRange = 0;                   // nautical miles, no loadout
    uint16_t perfSpeed[PERF_ENTRIES] = {};      // knots
    uint16_t perfRange[PERF_ENTRIES] = {};      // nautical miles
    int16_t perfCeiling[PERF_ENTRIES] = {};     // upper bound of the band

private:
    void ClearWorkedOutFigures();
};
