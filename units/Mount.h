// Mount.h: Mount, a launcher, gun or magazine of a unit (an element of the
// unit's keyed mount or magazine list): its fields, its construction from a
// mount.dat or magazine.dat record, its saved form and its owner link. What a
// mount does (reloading, transfers from the magazines, its reach, ratings and
// firing) is the engagement model's: it installs those operations at
// start-up (Mount::SetOperations), and until it does each answers as a mount
// that cannot do anything. The list builders are UnitComponents.h.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "annex/WeaponRec.h"
#include "core/Chain.h"
#include "core/LatLonPoint.h"
#include "core/NavVector.h"
#include "core/SavedTreeListOf.h"
#include "core/TreeListOf.h"
#include "units/Sensor.h"

class MovingObject;
class TimedRecord;
class WeaponAnnex;

class Mount : public TreeListNode<Mount> {
public:
    // Readiness states.
    static constexpr uint32_t STATE_READY = 2;
    static constexpr uint32_t STATE_BUSY = 5;
    static constexpr uint32_t STATE_DAMAGED = 6;
    static constexpr uint32_t STATE_DESTROYED = 7;

    // capabilities bits: a loadout mount (an aircraft's weapon load), a
    // magazine, and a mount that engages without a contact.
    static constexpr uint32_t LOADOUT = 0x1;
    static constexpr uint32_t MAGAZINE = 0x2;
    static constexpr uint32_t ENGAGES_WITHOUT_CONTACT = 0x4;

    using MountList = SavedTreeListOf<Mount>;

    // The arguments of an engagement query, as the unit passes them.
    struct EngagementQuery {
        uint32_t targetMask = 0;
        NavVector toTarget;
        Chain<TimedRecord>* chain = nullptr;
        uint16_t firingID = 0;   // used only by a mount without an owner
        uint16_t targetID = 0;
        int32_t targetCourse = 0;
        uint16_t targetSpeed = 0;
        uint16_t rejectMask = 0;
    };

    // The engagement model's operations; a null member answers as noted.
    struct Operations {
        // The per-step reload of the counters and weapon records (nothing).
        void (*reload)(Mount& mount, uint8_t seconds) = nullptr;
        // Whether the mount's two round counters are equal, which sends it
        // to the magazines for rounds (false).
        bool (*roundCountersEqual)(const Mount& mount) = nullptr;
        // Starts transfers of rounds from the magazines; true when one was
        // started (false).
        bool (*transferFromMagazines)(Mount& mount, MountList& magazines, uint32_t value) = nullptr;
        // The longest and the shortest reach over its weapons against a
        // target mask (0).
        uint16_t (*getLongestReach)(const Mount& mount, uint32_t targetMask) = nullptr;
        uint16_t (*getShortestReach)(const Mount& mount, uint32_t targetMask) = nullptr;
        // The summed rating of its weapons against a target mask (0).
        int32_t (*sumWeaponRatings)(const Mount& mount, uint32_t targetMask, uint8_t flag) = nullptr;
        // The fire request for an attack option (refused: false).
        bool (*fireWeapon)(Mount& mount, uint32_t targetValue, const NavVector& toTarget,
                           TimedRecord& record, int32_t targetCourse, uint16_t targetSpeed) = nullptr;
        // Fires the option's weapon; true when the option is finished (true).
        bool (*launch)(Mount& mount, TimedRecord& record) = nullptr;
        // Appends the weapon records' engagement entries to the chain
        // (nothing).
        void (*queryEngagements)(Mount& mount, const EngagementQuery& query, const LatLonPoint& targetPosition) =
            nullptr;
        // One point-defence shot step; answers the kills (0).
        uint8_t (*pointDefenseShot)(Mount& mount, TimedRecord& record, uint8_t count, uint16_t sectorMask,
                                    std::ostream* log) = nullptr;
        // Finds a sensor to guide the weapon onto the target (false).
        bool (*findGuidance)(Mount& mount, uint16_t targetID, const WeaponAnnex& weapon, uint8_t mode,
                             uint16_t& outMountID, uint16_t& outSensorID, uint8_t sensorValue,
                             uint8_t shortTime) = nullptr;
        // The launches at a position and at a unit; answer the rounds (0).
        uint8_t (*launchAtPosition)(Mount& mount, const LatLonPoint& target, WeaponRec& weapon, uint8_t wanted,
                                    int32_t sensorMode, int32_t setting) = nullptr;
        uint8_t (*launchAtUnit)(Mount& mount, TimedRecord& record, WeaponRec& weapon) = nullptr;
    };

    // Installs the operations; returns the ones they replace.
    static Operations SetOperations(const Operations& operations);

    // Ready, every other number 0, both lists empty, no owner.
    Mount() = default;
    explicit Mount(uint16_t key) : TreeListNode<Mount>(key) {}
    // The mount of mount.dat record mountID when an owner is given, else the
    // magazine of magazine.dat record mountID: ready and with that owner in
    // any case; with the record, its weapon records (UnitComponents.h), its
    // rate of fire, its sensors (each given the sector mask `sectors` and the
    // owner), its capacity and the room left in it, its id and its flag word;
    // the sector mask is kept only with a record. Key 0, for the list
    // builders to give.
    Mount(uint16_t mountID, MovingObject* newOwner, uint32_t sectors);
    ~Mount() override = default;
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;

    uint32_t GetState() const { return state; }
    uint32_t GetMountCode() const { return mountCode; }
    MovingObject* GetOwner() const { return owner; }
    // Sets the owner and gives every sensor of the mount the same owner.
    void SetOwner(MovingObject* newOwner);
    // An order to the readiness state: a destroyed mount takes none; a
    // damaged one only ORDER_REPAIR (to ready); any other takes busy,
    // damaged and destroyed as given and every other order as ready.
    static constexpr int32_t ORDER_REPAIR = 8;
    void SetState(int32_t order);

    void Reload(uint8_t seconds);
    bool RoundCountersEqual() const;
    bool TransferFromMagazines(MountList& magazines, uint32_t value);
    uint16_t GetLongestReach(uint32_t targetMask) const;
    uint16_t GetShortestReach(uint32_t targetMask) const;
    int32_t SumWeaponRatings(uint32_t targetMask, uint8_t flag) const;
    bool FireWeapon(uint32_t targetValue, const NavVector& toTarget, TimedRecord& record,
                    int32_t targetCourse, uint16_t targetSpeed);
    bool Launch(TimedRecord& record);
    // In the ready state, the engagement entries of every weapon record
    // for the query (the owner's id given as the firing unit).
    void QueryEngagements(const EngagementQuery& query, const LatLonPoint& targetPosition);
    uint8_t PointDefenseShot(TimedRecord& record, uint8_t count, uint16_t sectorMask, std::ostream* log);
    bool FindGuidance(uint16_t targetID, const WeaponAnnex& weapon, uint8_t mode, uint16_t& outMountID,
                      uint16_t& outSensorID, uint8_t sensorValue, uint8_t shortTime);
    uint8_t LaunchAtPosition(const LatLonPoint& target, WeaponRec& weapon, uint8_t wanted, int32_t sensorMode,
                             int32_t setting);
    uint8_t LaunchAtUnit(TimedRecord& record, WeaponRec& weapon);

    // Saved form, little-endian (an element of a saved mount list):
    //   key              u16
    //   state            u32
    //   mountCode        u32
    //   weapons          keyed list: u16 count, each WeaponRec's saved form
    //   fireInterval     i8    seconds per round, or -(30-second periods)
    //   countdown        i8
    //   roundsReady      i8
    //   sensors          u16 count, each sensor's class byte and record
    //   mountAnnexID     u16   the mount.dat, magazine.dat or loadout.dat
    //                          record it was built from
    //   arcMask          u16   45-degree sectors covered
    //   capacity         u16   rounds it holds when full
    //   emptySpace       u16   rounds the mount can take on
    //   transferBlock    u16   shots reserved by queued attack options: a
    //                          ready mount starts transfers only at 0
    //   inTransfer       u16   rounds on their way from magazines
    //   capabilities     u32   LOADOUT, MAGAZINE, ENGAGES_WITHOUT_CONTACT
    // The owner is not saved. Load reads into a fresh mount; a record cut
    // short, or a sensor no class reads (fatal, see LoadSensorList), leaves
    // the stream failed and answers false, and the caller discards the mount.
    void Save(std::ostream& out) const;
    bool Load(std::istream& in);

    uint32_t state = STATE_READY;
    uint32_t mountCode = 0;
    SavedTreeListOf<WeaponRec> weapons;
    int8_t fireInterval = 0;       // seconds per round, or -(30-second periods)
    int8_t countdown = 0;
    int8_t roundsReady = 0;
    TreeListOf<Sensor> sensors;
    uint16_t mountAnnexID = 0;
    uint16_t arcMask = 0;
    uint16_t capacity = 0;         // rounds
    uint16_t emptySpace = 0;       // rounds
    uint16_t transferBlock = 0;
    uint16_t inTransfer = 0;
    uint32_t capabilities = 0;

private:
    MovingObject* owner = nullptr;   // not saved
};
