// FuelAnnex.h: FuelAnnex, one record of fuel.dat: a fuel store's type and
// capacity. The unit's tank built from it is FuelTank (units/).
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "core/TreeListOf.h"

class FuelAnnex : public TreeListNode<FuelAnnex> {
public:
    // File layout, little-endian (10 bytes; 14 from annex version 1):
    //   ID           u16
    //   fuelType     code32   fuel type code (FuelTank lists them)
    //   capacity     u32      whole counts a full store holds
    //   thirdValue   u32      version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 10;

    FuelAnnex() = default;
    explicit FuelAnnex(uint16_t id) : TreeListNode<FuelAnnex>(id) {}
    ~FuelAnnex() override = default;

    uint32_t GetFuelType() const { return fuelType; }

    // Reads the layout above; thirdValue only when the current annex version
    // is not 0 (it stays 0 otherwise). Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    uint32_t fuelType = 0;
    uint32_t capacity = 0;
    uint32_t thirdValue = 0;
};
