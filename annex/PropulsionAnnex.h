// PropulsionAnnex.h: PropulsionAnnex, one record of propuls.dat: a propulsion
// plant of the database, its engine types, fuel rates and speed table. The
// unit's running plant built from it is PropulsionPlant.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "core/NameString.h"
#include "core/TreeListOf.h"

// One entry of the speed table: the altitude or depth band it covers and the
// speed the setting gives there.
struct PropulsionSpeed {
    int16_t upper = 0;    // upper bound of the band
    int16_t lower = 0;    // lower bound of the band
    uint16_t speed = 0;   // knots
};

class PropulsionAnnex : public TreeListNode<PropulsionAnnex> {
public:
    static constexpr int SETTINGS = 4;   // rows: speed settings
    static constexpr int BANDS = 4;      // columns: altitude or depth bands

    // File layout, little-endian (124 bytes and the name; 4 more from annex
    // version 1):
    //   ID            u16
    //   primaryType   code32   primary engine type
    //   secondaryType code32   secondary engine type
    //   bandValuesA   4 x u16  fuel rate of each band
    //   bandValuesB   4 x u16
    //   speedTable    16 x (i16 upper, i16 lower, u16 speed), row by row:
    //                 row r, band c at offset 26 + 24r + 6c
    //   value         u16
    //   name          NameString
    //   lastValue     u32      version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 126;

    PropulsionAnnex() = default;
    explicit PropulsionAnnex(uint16_t id) : TreeListNode<PropulsionAnnex>(id) {}
    ~PropulsionAnnex() override = default;

    // The highest speed of all sixteen table entries, in knots.
    uint16_t GetTopSpeed() const;

    // Reads the layout above; lastValue only when the current annex version
    // is not 0 (it keeps 0 otherwise). Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    uint32_t primaryType = 0;
    uint32_t secondaryType = 0;
    uint16_t bandValuesA[BANDS] = {};
    uint16_t bandValuesB[BANDS] = {};
    PropulsionSpeed speedTable[SETTINGS][BANDS] = {};
    uint16_t value = 0;
    NameString name;
    uint32_t lastValue = 0;
};
