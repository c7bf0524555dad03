// Contact.h: Contact, what one side knows of one unit of the world: where it
// seems to be and how exactly (an area of uncertainty), what it is, whose it
// is, when and by which sensors it was seen. The side's keyed list of them is
// SideContacts (SideContacts.h); merging a fresh detection into a held
// contact is in ContactMerge.cpp.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/GameTime.h"
#include "core/IDList.h"
#include "core/NameString.h"
#include "core/ScenarioAdmin.h"
#include "core/TreeListOf.h"
#include "units/PositionObject.h"
#include "units/UnitStatus.h"

class Uncertain_Poly;
class Unit;

// knownBits
namespace ContactKnown {
constexpr uint16_t SPEED = 0x01;
constexpr uint16_t COURSE = 0x02;
constexpr uint16_t AREA = 0x04;
constexpr uint16_t ALTITUDE = 0x10;
}  // namespace ContactKnown

// changeBits: what changed since the side's last upkeep.
namespace ContactChange {
constexpr uint16_t NEW = 0x01;
constexpr uint16_t SIDE_KNOWN = 0x02;
constexpr uint16_t COURSE = 0x04;
constexpr uint16_t IDENTIFIED = 0x08;
constexpr uint16_t DROPPED = 0x40;
constexpr uint16_t AREA_APPEARED = 0x80;
constexpr uint16_t AREA_VANISHED = 0x100;
}  // namespace ContactChange

class Contact : public TreeListNode<Contact>, public PositionObject {
public:
    // Weapon kind of a decoy: the contact presents the target it imitates.
    static constexpr uint32_t DECOY_WEAPON_KIND = 0x800;
    // Texts of a fresh contact's name by type letter.
    static constexpr int32_t TEXT_AIRCRAFT = 0x7B00AA;    // 'P'
    static constexpr int32_t TEXT_SHIP = 0x7B00AB;        // 'S'
    static constexpr int32_t TEXT_WEAPON = 0x7B00AC;      // 'W'
    static constexpr int32_t TEXT_SUBMARINE = 0x7B00AD;   // 'U'
    static constexpr int32_t TEXT_UNKNOWN = 0x7B00AE;     // any other letter
    static constexpr int32_t TEXT_FACILITY = 0x7B00AF;    // 'F'
    static constexpr int32_t TEXT_TORPEDO = 0x7B01A1;     // 'W' with target mask 0x800

    // Empty contact for a loader: every field 0, bandWord 0xFFF.
    Contact();
    // A fresh detection of `unit` by a sensor of the given kind (see the
    // .cpp): position, altitude, letter, target mask and band word from the
    // unit (a decoy presents what it imitates), named by its letter, seen at
    // the current game time, key = the unit's id.
    Contact(const Unit& unit, uint32_t kind);
    // A copy for events and for a split data-link picture: carries the
    // picture of the unit (see the .cpp for the fields), not the precision of
    // the detection, the sensor lists or the estimates. Null: an empty contact.
    explicit Contact(const Contact* other);
    // A contact read from its saved record (Load); a damaged record leaves
    // the stream failed and the contact is to be dropped.
    explicit Contact(std::istream& in);
    ~Contact() override;

    Contact(const Contact&) = delete;
    Contact& operator=(const Contact&) = delete;

    uint32_t GetTypeFlags() const { return targetMask; }
    void SetTypeFlags(uint32_t mask) { targetMask = mask; }
    uint32_t GetDetectionKind() const { return detectionKind; }

    // Bearing error, tenths of a degree, and whether it holds a value.
    void SetDetectionValue(uint16_t error, uint8_t valid);
    // Range error (range units), whether it holds a value, nearest range
    // (range units) and farthest range (whole nautical miles).
    void SetSource(uint16_t error, uint8_t valid, uint32_t nearest, uint16_t farthest);
    // Keeps the sharper of the two errors and the narrower range band.
    void MergeDetectionValue(const Contact& other);
    // Builds the area of uncertainty as seen from `observer`: a sector with a
    // bearing error, a circle of range plus range error with a range error
    // only, else a circle of the farthest range. A bearing error of 0 (or a
    // range error of 0 with it) leaves no area: the position is exact. With
    // an area the position moves to its centre.
    void SetDetectionPoint(const LatLonPoint& observer);
    // Where the contact is taken to be: with an area, one of its vertices
    // drawn at random (gam2arena::Random), else the stored position.
    void GetPosition(LatLonPoint& out) const;
    // With an area, moves the position to the area's centre.
    void CenterOnArea();
    // Stores the flag and mirrors it into bit 0x10 of bandWord.
    void SetBandFlag(uint8_t flag);
    // Asks missions to leave the contact alone for `seconds`: keeps the
    // smallest non-zero request since the last upkeep; 0 changes nothing.
    void SetFirstDetection(uint32_t seconds);
    // Upkeep: a pending request becomes holdUntil = now + request; else an
    // expired hold is cleared.
    void ApplyHold();
    // Upkeep: the strength values (threat[2..5]) from the identified unit's
    // mounts, else from the target mask and size class (see the .cpp).
    void UpdateThreatValues();
    // Takes a copy of `source` as the area (null: no area); the contact's own
    // area is left alone.
    void CopyArea(const Uncertain_Poly* source);
    const Uncertain_Poly* GetArea() const { return area; }
    Uncertain_Poly* GetArea() { return area; }
    // Takes `newArea` over as the area (null: none), deleting the old one.
    void SetArea(Uncertain_Poly* newArea);

    // Folds the fresh detection `fresh` of the same unit into this contact
    // (ContactMerge.cpp); fresh may lose its area to this one.
    void Merge(Contact& fresh);
    // Narrows the area to the overlap of this contact's and fresh's areas.
    void IntersectArea(Contact& fresh);

    // The name, with "-" and the contact number while not identified. `out`
    // holds at least NameString::SIZE + 6 bytes.
    void GetName(char* out) const;
    static constexpr int NAME_TEXT_SIZE = NameString::SIZE + 8;

    // Status panel, tags and sensor list (ContactStatus.cpp).
    // Fills the panel lines of the contact (name, side, course, speed,
    // altitude, time to go of a weapon, time seen, status, condition, size)
    // and sets lineCount to 77.
    void GetStatus(UnitStatus& status) const;
    // A letter, the number to three digits and a blank ("S007 "): the unit's
    // when identified and present, else the contact's. `out` holds 32 bytes.
    void GetShortTag(char* out) const;
    // Tag, course, speed and altitude columns, "XXX" for what is not known;
    // nothing for a null out. `out` holds 32 bytes.
    void GetDisplayLine(char* out) const;
    // One line per sensor that has seen the contact: "*" when it saw it last,
    // the sensor's name in 32 columns and its role in 12; cut at size - 1
    // and terminated.
    void GetSensorText(char* out, int32_t size) const;
    // The resource number of the size text: by sizeClass and, while not
    // identified, detection kind 4 or 6. A size class outside 1, 2, 4, 8
    // and 16 (an altitude band left there by a sonobuoy line) gives the
    // "size unknown" text.
    int32_t GetSizeText() const;
    static constexpr int32_t TEXT_SIZE_UNKNOWN = 0x7B01B2;

    // Saved form, little-endian (the file version chooses the tail):
    //   key u16; detectionKind u32, targetMask u32
    //   lastDetection u32, sideId u8, sensorBitsEver u32
    //   name NameString, contactNumber u16, bandWord u16
    //   position part (PositionObject, 19 bytes)
    //   area point count u16 (0: none), then the Uncertain_Poly saved form
    //   changeBits u16, threat 6 x u16, bandFlag u8, stickyFlags u8
    //   conditionBits u32, holdUntil u32, pendingHold u32, statusValue u16, auxValue u16
    //   knownBits u16, sizeClass u8, sensorsEver (IDList)
    //   identifiedAs u16, observerId u16, signalValue u32, hadArea u8
    //   auxTime u32, auxA u16, auxB u16, hostileAct u8, speedEstimate u16,
    //   courseEstimate u16, sensorBitsLatest u32
    //   from 2.1.4.0: typeLetter u8; from 2.1.7.0: sensorsLatest (IDList),
    //   from 2.1.11.0: sensorBitsEver2 u32
    //   from 3.6.2.0: course u16, speed u16
    // The unsaved history fields start at 0. Save writes the latest form;
    // the second Save writes the form of a file of that version (a scenario
    // builder writing older files, and the tests).
    void Save(std::ostream& out) const;
    void Save(std::ostream& out, const VersionNumber& form) const;
    // Reads into a fresh contact. A record cut short, an id list longer than
    // the stream, or an area whose point count is 0 or disagrees with the
    // count before it is reported (ErrorBox) and leaves the stream failed;
    // the caller drops the contact.
    void Load(std::istream& in);

    // Fields, in the order of the record.
    uint32_t detectionKind = 0;      // kind code of the latest detection
    uint32_t targetMask = 0;         // target-class bits of the detected unit
    uint8_t rangeErrorValid = 0;
    uint8_t bearingErrorValid = 0;
    uint32_t minRange = 0;           // range units
    uint16_t maxRange = 0;           // whole nautical miles
    uint32_t rangeError = 0;         // range units, plus or minus
    uint16_t bearingError = 0;       // tenths of a degree, plus or minus
    uint8_t typeLetter = 0;
    GameTime lastDetection;          // game seconds
    uint8_t sideId = 0;              // 0 while not known
    uint32_t sensorBitsEver = 0;
    NameString name;
    uint16_t contactNumber = 0;      // 0 in a fresh detection
    uint32_t signalValue = 0;
    uint16_t threat[6] = {};
    uint8_t hostileAct = 0;
    uint8_t bandFlag = 0;
    uint8_t stickyFlags = 0;
    uint32_t conditionBits = 0;
    GameTime holdUntil;              // game seconds, 0: no hold
    uint32_t pendingHold = 0;        // seconds
    uint16_t statusValue = 0;
    uint16_t auxValue = 0;
    uint16_t bandWord = 0;
    uint16_t speed = 0;              // knots, with ContactKnown::SPEED
    uint16_t course = 0;             // whole degrees, with ContactKnown::COURSE
    uint8_t hadArea = 0;             // an area existed at the last upkeep
    uint16_t changeBits = 0;         // ContactChange
    uint16_t knownBits = 0;          // ContactKnown
    uint8_t sizeClass = 0;           // 1, 2, 4, 8 or 16
    IDList sensorsEver;              // sensor record ids
    IDList sensorsLatest;
    uint16_t identifiedAs = 0;
    uint16_t observerId = 0;         // unit id of the latest detecting unit
    GameTime auxTime;
    uint16_t auxA = 0;
    uint16_t auxB = 0;
    uint16_t speedEstimate = 0;      // knots
    uint16_t courseEstimate = 0;     // whole degrees
    uint32_t sensorBitsLatest = 0;
    uint32_t sensorBitsEver2 = 0;
    // Never saved: what the Arena's contact phase reads. Bit 0 of the
    // detection history is set by every merged detection, bit 0 of the track
    // history by one carrying course or speed; the phase writes the
    // attribute byte itself.
    uint32_t detectionHistory = 0;
    uint32_t trackHistory = 0;
    uint8_t attributeByte = 0;

private:
    // Clears the area flag and deletes the area.
    void DropArea();
    // Sets the position and refreshes the projected one.
    void MoveTo(const LatLonPoint& point);

    Uncertain_Poly* area = nullptr;  // owned; null when the position is exact
};

// Hands the unit information texts (units/Status.h) the current side's
// contacts: their status panel and sensor list. Called once at start-up.
void InstallContactTexts();
