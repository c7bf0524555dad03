// AirFacilityAnnex.h: AirFacilityAnnex, one record of airfacil.dat: the kind
// of an air facility (runway, pad, hangar ...) and the aircraft it serves.
// What a ship or facility keeps for each of its air facilities is AnnexEntry.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "core/TreeListOf.h"

// Air facility kinds: the kind code of an airfacil.dat record and the type
// code of an AnnexEntry.
constexpr uint32_t AIR_FACILITY_NONE = 0;
constexpr uint32_t AIR_FACILITY_RUNWAY = 1;
constexpr uint32_t AIR_FACILITY_RUNWAY_ARREST = 2;
constexpr uint32_t AIR_FACILITY_PAD = 3;
constexpr uint32_t AIR_FACILITY_PAD_HAULDOWN = 4;
constexpr uint32_t AIR_FACILITY_HANGAR = 5;
constexpr uint32_t AIR_FACILITY_CATAPULT = 6;
constexpr uint32_t AIR_FACILITY_ELEVATOR = 7;
constexpr uint32_t AIR_FACILITY_PARKING = 8;

class AirFacilityAnnex : public TreeListNode<AirFacilityAnnex> {
public:
    // File layout, little-endian (8 bytes; 12 from annex version 1):
    //   ID         u16
    //   kindCode   code32   AIR_FACILITY_NONE .. AIR_FACILITY_PARKING
    //   value      u16      size word: low byte the aircraft size class
    //                       served, high byte the basis of the capacity
    //   extra      u32      version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 8;

    // A new record is all zero.
    AirFacilityAnnex() = default;
    explicit AirFacilityAnnex(uint16_t id) : TreeListNode<AirFacilityAnnex>(id) {}
    ~AirFacilityAnnex() override = default;

    uint32_t GetKindCode() const { return kindCode; }
    // The two halves of the size word.
    uint8_t GetSizeClass() const { return static_cast<uint8_t>(value & 0xFF); }
    uint8_t GetCapacityBasis() const { return static_cast<uint8_t>(value >> 8); }

    // Reads the layout above; extra only when the current annex version is
    // not 0 (it stays 0 otherwise). Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    uint32_t kindCode = 0;
    uint16_t value = 0;
    uint32_t extra = 0;
};
