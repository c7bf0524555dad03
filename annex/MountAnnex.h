// MountAnnex.h: MountAnnex, one record of mount.dat or magazine.dat (one
// class and layout for both): a weapon mount or magazine, the sensors that
// direct it and the weapon records it holds. The unit's own mount object is
// Mount, built from this record.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "core/IDList.h"
#include "core/NameString.h"
#include "core/TreeListOf.h"

class MountAnnex : public TreeListNode<MountAnnex> {
public:
    // File layout, little-endian:
    //   ID             u16
    //   code           code32
    //   sensorIDs      ID list      sensor.dat IDs of the mount
    //   weaponRecIDs   ID list      weaprec.dat IDs held
    //   rateOfFire     u8           becomes the mount's byte
    //   capacity       u16
    //   value          u16
    //   mountFlags     u32
    //   name           NameString
    //   lastValue      u32          version 1 only
    static constexpr int64_t MIN_FILE_BYTES = 21;

    MountAnnex() = default;
    explicit MountAnnex(uint16_t id) : TreeListNode<MountAnnex>(id) {}
    ~MountAnnex() override = default;   // the ID lists free their nodes

    // Reads the layout above; lastValue only when the current annex version
    // is not 0. An ID count larger than the bytes left fails the stream.
    // Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes the layout of the given annex version.
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;
    // The sum of the fire ratings (WeaponRec::CanFireAt) of the weaprec.dat
    // records the record holds; ids not found add nothing. The engagement
    // model's (engagement/WeaponReadiness.cpp).
    int32_t SumWeaponRatings(uint32_t targetMask, uint8_t flag) const;

    uint32_t code = 0;
    IDList sensorIDs;
    IDList weaponRecIDs;
    uint8_t rateOfFire = 0;
    uint16_t capacity = 0;
    uint16_t value = 0;
    uint32_t mountFlags = 0;
    NameString name;
    uint32_t lastValue = 0;
};
