// WeaponRec.h: WeaponRec, one weapon load of a mount or magazine: which weapon,
// how many shots are left and ready, how fast it reloads. It is the record of
// weaprec.dat and also the live copy units and aircraft loads carry and save.
// This file holds the record and its file and saved forms; the readiness
// cycle, ratings, ranges and firing join it with the engagement model.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "core/TreeListOf.h"

class WeaponRec : public TreeListNode<WeaponRec> {
public:
    // File and saved form, little-endian (14 bytes; 18 with the last value):
    //   ID             u16
    //   cycleTimer     i8    countdown of the readiness cycle
    //   readyShots     i8    shots ready to fire now
    //   weaponID       u16   weapon.dat record
    //   secondValue    u16   carried
    //   shotsLeft      u16   shots left in the load
    //   fireInterval   i8    seconds between shots when positive
    //   thirdValue     u16   carried
    //   flag           u8    carried
    //   lastValue      u32   see Read
    static constexpr int64_t MIN_FILE_BYTES = 14;

    // Every field 0 but the flag, which is 1.
    WeaponRec() = default;
    explicit WeaponRec(uint16_t id) : TreeListNode<WeaponRec>(id) {}
    ~WeaponRec() override = default;

    // Reads the form above. The last value is read, while an annex file is
    // read (IsAnnexLoading: every annex table load holds AnnexLoadingScope),
    // exactly when the current annex version is not 0; otherwise (saved games
    // and scenarios) unless the file being loaded is of the older saved
    // layout. Answers the stream's state.
    bool Read(std::istream& in);
    void Load(std::istream& in) { Read(in); }
    // Writes all ten fields; an annex version of 0 leaves out the last value
    // (the layout of version-0 weaprec.dat files).
    void Save(std::ostream& out, uint32_t annexVersion = ANNEX_VERSION) const;

    // The older saved layout: scenario and saved-game files of version 2.0.1.0
    // and earlier hold no last value. The scenario loader sets this before the
    // units and annex records of such a file are read, and clears it after.
    static void SetOlderSavedLayout(bool older);
    static bool IsOlderSavedLayout();

    int8_t cycleTimer = 0;
    int8_t readyShots = 0;
    uint16_t weaponID = 0;
    uint16_t secondValue = 0;
    uint16_t shotsLeft = 0;
    int8_t fireInterval = 0;
    uint16_t thirdValue = 0;
    uint8_t flag = 1;
    uint32_t lastValue = 0;
};
