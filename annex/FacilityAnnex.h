// FacilityAnnex.h: FacilityAnnex, one record of facility.dat: a fixed
// installation part (airfield, radar site, depot ...) with its air
// facilities, sensors, mounts, comms, magazines and fuel. The Facility unit is
// built from it; air bases group facilities through InstallationAnnex.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "annex/ShortTriple.h"
#include "core/IDList.h"
#include "core/IDRecord.h"
#include "core/NameString.h"
#include "core/TreeListOf.h"

// Resource number of a facility's description text: this base + textNumber.
constexpr int32_t FACILITY_TEXT_BASE = 0x460000;
// Resource text a new facility record takes as its name.
constexpr int32_t FACILITY_DEFAULT_NAME_TEXT = 0x7B01EC;

class FacilityAnnex : public TreeListNode<FacilityAnnex> {
public:
    // File layout, little-endian:
    //   ID                 u16
    //   typeCode           code32         the facility's first code (its
    //                                     damage class level)
    //   secondCode         code32
    //   airFacilityIDs     ID list        airfacil.dat IDs
    //   sensors            ID-value list  sensor.dat IDs, arc mask each
    //   mounts             ID-value list  mount.dat IDs, arc mask each
    //   commIDs            ID list        comm.dat IDs
    //   magazineIDs        ID list        magazine.dat IDs
    //   fuelIDs            ID list        fuel.dat IDs
    //   triple1 .. 3       3 x ShortTriple
    //   value              u32
    //   textNumber         u16            description FACILITY_TEXT_BASE + this
    //   name               NameString     the facility's only text
    //   damagePoints       u16
    //   height             i16            tens of metres above the ground
    //   bytes              5 x u8         four per target letter, then one
    //   lastValue          u32            version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 57;
    static constexpr int BYTE_COUNT = 5;

    // Every number 0, every list empty; the name is resource text
    // FACILITY_DEFAULT_NAME_TEXT while a resource loader exists, else empty.
    FacilityAnnex();
    explicit FacilityAnnex(uint16_t id);
    ~FacilityAnnex() override;

    uint32_t GetTypeCode() const { return typeCode; }
    uint32_t GetSecondCode() const { return secondCode; }
    int32_t GetTextResource() const { return FACILITY_TEXT_BASE + textNumber; }

    // Reads the layout above; lastValue only when the current annex version
    // is not 0 (it stays 0 otherwise). The lists are emptied first; a list
    // count larger than the bytes left fails the stream. A name stored with a
    // count of 0 keeps the name the record had. Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    uint32_t typeCode = 0;
    uint32_t secondCode = 0;
    IDList airFacilityIDs;
    IDRecordList sensors;
    IDRecordList mounts;
    IDList commIDs;
    IDList fuelIDs;
    IDList magazineIDs;
    ShortTriple triple1;
    ShortTriple triple2;
    ShortTriple triple3;
    uint32_t value = 0;
    uint16_t textNumber = 0;
    NameString name;
    uint16_t damagePoints = 0;
    int16_t height = 0;
    uint8_t bytes[BYTE_COUNT] = {};
    uint32_t lastValue = 0;

private:
    void SetDefaultName();
};
