// WeaponRec.h: WeaponRec, one weapon load of a mount or magazine: which weapon,
// how many shots are left and ready, how fast it reloads. It is the record of
// weaprec.dat and also the live copy units and aircraft loads carry and save.
// This file holds the record and its file and saved forms; the readiness
// cycle, ratings and ranges (engagement/WeaponReadiness.cpp), the firing
// (WeaponFire.cpp), point defence (PointDefense.cpp) and the engagement
// checks (WeaponEngagement.cpp) are the engagement model's: only programs
// that link it may call them.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/AnnexFile.h"
#include "core/Chain.h"
#include "core/LatLonPoint.h"
#include "core/TreeListOf.h"

class Mount;
class PositionNode;
class TimedRecord;
class Unit;
struct NavVector;

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

    // ---- readiness, ratings and ranges ----
    // Advances the readiness cycle by the elapsed seconds: a positive
    // fireInterval makes one shot ready per interval (several when the
    // interval fits the step several times); 0 or less counts 30-second
    // periods through a negative readyShots.
    void UpdateReadiness(uint8_t seconds);
    // The shots that may be fired now: the smaller of readyShots and
    // shotsLeft; a negative readyShots (a slow cycle still running) is 0.
    uint16_t GetReadyShots() const;
    // How well the load can attack targets of the class mask; 0 = not at
    // all. Guns rate as one shot and only when allowGuns is given.
    uint32_t CanFireAt(uint32_t targetMask, bool allowGuns) const;
    // Minimum and maximum range against the mask, tenths of a nautical
    // mile; 0 when the load cannot attack the mask.
    uint16_t GetMinRange(uint32_t targetMask) const;
    uint32_t GetMaxRange(uint32_t targetMask) const;

    // ---- firing ----
    // Fires `count` shots from `mount` (one new weapon unit per shot, or one
    // gun burst), side `side`, along a copy of `path` for every shot, at
    // `target` (may be null); `aim` goes to the weapons that take it. The
    // path chain is deleted in every case. A null mount is fatal.
    void Fire(uint16_t aim, Mount* mount, uint8_t count, uint8_t side, PositionNode* path, Unit* target);
    // One point-defence engagement of the incoming unit by this load of
    // sourceMount (see PointDefense.cpp); answers the shots spent (1 for a
    // decoy that took effect).
    uint8_t FirePointDefense(Mount* sourceMount, uint16_t incomingID, bool allowRestricted, int8_t killsWanted,
                             int8_t salvoLimit, int8_t& kills, std::ostream* log);

    // ---- engagement checks (WeaponEngagement.cpp) ----
    // Whether the load can engage the request's target (idD, at the
    // request's position) from the request's firing unit (idA).
    bool CanEngage(uint32_t targetMask, const NavVector& toTarget, const TimedRecord& request,
                   int32_t targetCourse, uint16_t targetSpeed, Mount& mount);
    // Appends an engagement entry with its reason bits to the chain unless a
    // reason the reject mask names stands.
    void BuildEngagement(uint32_t targetMask, const NavVector& toTarget, Chain<TimedRecord>& chain, Mount& mount,
                         uint16_t firingID, uint16_t targetID, int32_t targetCourse, uint16_t targetSpeed,
                         const LatLonPoint& targetPosition, uint16_t rejectMask);
    // True when BuildEngagement need not build: an empty load the reject
    // mask refuses, or an entry of the same firing unit, target and weapon
    // already in the chain (copied for this load).
    bool CopyEngagement(Chain<TimedRecord>& chain, uint16_t firingID, uint16_t targetID, Mount& mount,
                        uint16_t rejectMask);

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
