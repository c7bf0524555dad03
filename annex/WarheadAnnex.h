// WarheadAnnex.h: WarheadAnnex, one record of warhead.dat: a warhead's type
// and damage. The weapon's damage totals over its warheads belong to
// WeaponAnnex.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "core/NameString.h"
#include "core/TreeListOf.h"

class WarheadAnnex : public TreeListNode<WarheadAnnex> {
public:
    // File layout, little-endian:
    //   ID            u16
    //   warheadType   code32       type bits (0 and 1: no damage)
    //   damage        u16          damage points; for type 2 a weapon.dat ID
    //   count         u16          damage = damage x count, or damage when 0
    //   thirdValue    u16          carried
    //   name          NameString
    //   lastValue     u32          version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 14;

    WarheadAnnex() = default;
    explicit WarheadAnnex(uint16_t id) : TreeListNode<WarheadAnnex>(id) {}
    ~WarheadAnnex() override = default;

    uint32_t GetWarheadType() const { return warheadType; }

    // Reads the layout above; lastValue only when the current annex version
    // is not 0. Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    uint32_t warheadType = 0;
    uint16_t damage = 0;
    uint16_t count = 0;
    uint16_t thirdValue = 0;
    NameString name;
    uint32_t lastValue = 0;
};
