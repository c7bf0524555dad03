// Contact.cpp: the contact record: its constructors, precision and area,
// holds, threat values and saved form. The merge is ContactMerge.cpp.
#include "engagement/Contact.h"

#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "core/ErrorReport.h"
#include "core/NavMath.h"
#include "core/ResourceLoader.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "units/Unit.h"
#include "world/UncertainPoly.h"

namespace {

// Band word of a contact with no unit behind it.
constexpr uint16_t BAND_WORD_NONE = 0xFFF;
// Bit of bandWord that mirrors bandFlag.
constexpr uint16_t BAND_FLAG_BIT = 0x10;
// Bits of the unit's band word a decoy keeps; its band code goes above.
constexpr uint16_t DECOY_KEPT_BITS = 0x1FF;
// Detection kind whose decoy presents no target class of its own.
constexpr uint32_t KIND_SEES_THROUGH_DECOY = 2;
// Angle units of a tenth of a degree (6 arc-minutes).
constexpr int32_t ANGLE_PER_BEARING_ERROR = 6 * 4096;

// File versions from which parts of the record are present.
const VersionNumber TYPE_LETTER_SAVED(2, 1, 4, 0);
const VersionNumber LATEST_SENSORS_SAVED(2, 1, 7, 0);
const VersionNumber SECOND_SENSOR_BITS_SAVED(2, 1, 11, 0);
const VersionNumber COURSE_SPEED_SAVED(3, 6, 2, 0);
const VersionNumber LATEST_FORM(3, 6, 3, 0);

// The version of the file being read; without a header object the latest
// form.
bool FileAtLeast(const VersionNumber& version)
{
    return gAdmin == nullptr || gAdmin->GetFileVersion() >= version;
}

int32_t NameTextFor(uint8_t letter, uint32_t targetMask)
{
    switch (letter) {
    case 'P': return Contact::TEXT_AIRCRAFT;
    case 'S': return Contact::TEXT_SHIP;
    case 'U': return Contact::TEXT_SUBMARINE;
    case 'F': return Contact::TEXT_FACILITY;
    case 'W': return targetMask == 0x800 ? Contact::TEXT_TORPEDO : Contact::TEXT_WEAPON;
    default: return Contact::TEXT_UNKNOWN;
    }
}

// Strength values by size class of a surface contact.
uint16_t SurfaceStrength(uint8_t sizeClass)
{
    switch (sizeClass) {
    case 1: return 500;
    case 2: return 700;
    case 4: return 800;
    case 8: return 900;
    case 16: return 1000;
    default: return 100;
    }
}

void SetStrengths(uint16_t* values, uint16_t air, uint16_t surface, uint16_t submerged, uint16_t fourth)
{
    values[0] = air;
    values[1] = surface;
    values[2] = submerged;
    values[3] = fourth;
}

void RefuseRecord(std::istream& in, const char* why)
{
    char text[120];
    std::snprintf(text, sizeof text, "Contact::Load: %s", why);
    ErrorBox(text);
    in.setstate(std::ios::failbit);
}

}  // namespace

Contact::Contact()
{
    bandWord = BAND_WORD_NONE;
}

Contact::Contact(const Unit& unit, uint32_t kind)
    : TreeListNode<Contact>(unit.GetID())
{
    detectionKind = kind;
    typeLetter = static_cast<uint8_t>(unit.GetTypeLetter());
    targetMask = unit.GetTargetMask();
    lastDetection = GameTime(gam2arena::GetGameTime());
    bandWord = unit.GetStateFlags();

    // A decoy presents the target it imitates, with that target's band code.
    if (typeLetter == 'W' && unit.GetWeaponKind() == DECOY_WEAPON_KIND) {
        uint32_t shown = kind == KIND_SEES_THROUGH_DECOY ? 0 : targetMask;
        uint16_t bandCode = 0;
        if (shown & 2) {
            shown = 2;
            bandCode = 0x3000;
        } else if (shown & 1) {
            shown = 1;
            bandCode = 0x1000;
        } else if (shown & 4) {
            shown = 4;
            bandCode = 0x5000;
        } else {
            shown = 8;
            bandCode = 0x7000;
        }
        targetMask = shown;
        if (kind != KIND_SEES_THROUGH_DECOY)
            bandWord = static_cast<uint16_t>((bandWord & DECOY_KEPT_BITS) | bandCode);
    }

    const int32_t text = NameTextFor(typeLetter, targetMask);
    if (TheResourceLoader != nullptr) {
        if (const char* words = TheResourceLoader->Get(text)) {
            name.Set(words);
            TheResourceLoader->Free(text);
        }
    }
    SetPosition(unit.PositionObject::GetPosition());
    SetAltitude(unit.PositionObject::GetAltitude());
    UpdateXY();
}

Contact::Contact(const Contact* other)
{
    bandWord = BAND_WORD_NONE;
    if (other == nullptr)
        return;
    targetMask = other->targetMask;
    typeLetter = other->typeLetter;
    detectionKind = other->detectionKind;
    lastDetection = other->lastDetection;
    sideId = other->sideId;
    sensorBitsEver = other->sensorBitsEver;
    sensorBitsEver2 = other->sensorBitsEver2;
    name = other->name;
    contactNumber = other->contactNumber;
    SetPosition(other->PositionObject::GetPosition());
    UpdateXY();
    SetAltitude(other->PositionObject::GetAltitude());
    bandWord = other->bandWord;
    CopyArea(other->area);
    SetKey(other->GetKey());
    changeBits = other->changeBits;
    SetBandFlag(other->bandFlag);
    stickyFlags = other->stickyFlags;
    conditionBits = other->conditionBits;
    holdUntil = other->holdUntil;
    statusValue = other->statusValue;
    auxValue = other->auxValue;
    std::memcpy(threat, other->threat, sizeof threat);
    knownBits = other->knownBits;
    sizeClass = other->sizeClass;
    identifiedAs = other->identifiedAs;
    signalValue = other->signalValue;
    hadArea = other->hadArea;
    hostileAct = other->hostileAct;
    sensorBitsLatest = other->sensorBitsLatest;
}

Contact::Contact(std::istream& in)
{
    Load(in);
}

Contact::~Contact()
{
    delete area;
}

void Contact::SetDetectionValue(uint16_t error, uint8_t valid)
{
    bearingError = error;
    bearingErrorValid = valid;
}

void Contact::SetSource(uint16_t error, uint8_t valid, uint32_t nearest, uint16_t farthest)
{
    rangeError = error;
    rangeErrorValid = valid;
    minRange = nearest;
    maxRange = farthest;
}

void Contact::MergeDetectionValue(const Contact& other)
{
    if (other.bearingErrorValid && (!bearingErrorValid || other.bearingError < bearingError)) {
        bearingError = other.bearingError;
        bearingErrorValid = other.bearingErrorValid;
    }
    if (other.rangeErrorValid && (!rangeErrorValid || other.rangeError < rangeError)) {
        rangeError = other.rangeError;
        rangeErrorValid = other.rangeErrorValid;
    }
    if (other.minRange > minRange)
        minRange = other.minRange;
    if (other.maxRange < maxRange)
        maxRange = other.maxRange;
}

void Contact::SetDetectionPoint(const LatLonPoint& observer)
{
    const LatLonPoint target = PositionObject::GetPosition();
    const int32_t range = NavMath::Vector_Flat(observer, target).range;
    const int32_t farthest = int32_t{maxRange} * RANGE_PER_NM;
    // rangeError is set from 16 bits, so it fits a signed 32-bit value.
    const int32_t error = static_cast<int32_t>(rangeError);
    Uncertain_Poly* built = nullptr;
    if (bearingErrorValid) {
        // An error of 0 is an exact fix: no area, the true position shows.
        if (bearingError != 0 && !(rangeErrorValid && rangeError == 0))
            built = new Uncertain_Poly(observer, target, int32_t{bearingError} * ANGLE_PER_BEARING_ERROR,
                                       rangeErrorValid ? error : -1, static_cast<int32_t>(minRange), farthest);
    } else if (rangeErrorValid) {
        built = new Uncertain_Poly(observer, static_cast<int32_t>(int64_t{range} + error));
    } else {
        built = new Uncertain_Poly(observer, farthest);
    }
    SetArea(built);
    CenterOnArea();
}

void Contact::GetPosition(LatLonPoint& out) const
{
    if (area != nullptr && area->GetPointCount() > 0) {
        const uint16_t vertex = gam2arena::Random(static_cast<uint16_t>(area->GetPointCount()));
        out = area->GetLatLonPoint(static_cast<int16_t>(vertex));
        return;
    }
    out = PositionObject::GetPosition();
}

void Contact::CenterOnArea()
{
    if (area != nullptr)
        MoveTo(area->Get_Center());
}

void Contact::SetBandFlag(uint8_t flag)
{
    bandFlag = flag;
    if (flag != 0)
        bandWord |= BAND_FLAG_BIT;
    else
        bandWord &= static_cast<uint16_t>(~BAND_FLAG_BIT);
}

void Contact::SetFirstDetection(uint32_t seconds)
{
    if (seconds != 0 && (pendingHold == 0 || pendingHold >= seconds))
        pendingHold = seconds;
}

void Contact::ApplyHold()
{
    const uint32_t now = gam2arena::GetGameTime();
    if (pendingHold != 0) {
        holdUntil = GameTime(now + pendingHold);   // wraps as the saved u32 does
        pendingHold = 0;
    } else if (holdUntil.Get() < now) {
        holdUntil = GameTime(0);
    }
}

void Contact::UpdateThreatValues()
{
    uint16_t* const strength = &threat[2];
    if (identifiedAs != 0) {
        const Unit* const unit = gam2arena::FindUnit(GetKey());
        if (unit == nullptr)
            return;
        SetStrengths(strength, static_cast<uint16_t>(unit->SumWeaponRatings(0xC)),
                     static_cast<uint16_t>(unit->SumWeaponRatings(1)),
                     static_cast<uint16_t>(unit->SumWeaponRatings(2)), 0);
        return;
    }
    switch (targetMask) {
    case 1: {
        const uint16_t value = SurfaceStrength(sizeClass);
        SetStrengths(strength, value, value, value, value);
        break;
    }
    case 2: SetStrengths(strength, 0, 550, 550, 0); break;
    case 4: SetStrengths(strength, 1000, 1000, 1000, 1000); break;
    case 8:
    case 0x40:
    case 0x80:
    case 0x100:
    case 0x200: SetStrengths(strength, 0, 0, 0, 0); break;
    default:
        // 0x20 itself, and any other mask carrying it: an installation.
        if (targetMask & 0x20)
            SetStrengths(strength, 1500, 0, 0, 0);
        break;
    }
}

void Contact::CopyArea(const Uncertain_Poly* source)
{
    if (source == area)
        return;
    DropArea();
    if (source == nullptr || source->GetPointCount() < 1)
        return;
    const int16_t n = source->GetPointCount();
    LatLonPoint* const ring = new LatLonPoint[n];
    for (int16_t i = 0; i < n; ++i)
        ring[i] = source->GetSourcePoint(i);
    area = new Uncertain_Poly(ring, n);
    delete[] ring;
    knownBits |= ContactKnown::AREA;
}

void Contact::SetArea(Uncertain_Poly* newArea)
{
    if (newArea == area)
        return;
    delete area;
    area = newArea;
    if (area != nullptr)
        knownBits |= ContactKnown::AREA;
    else
        knownBits &= static_cast<uint16_t>(~ContactKnown::AREA);
}

void Contact::DropArea()
{
    SetArea(nullptr);
}

void Contact::MoveTo(const LatLonPoint& point)
{
    SetPosition(point);
    UpdateXY();
}

void Contact::GetName(char* out) const
{
    if (identifiedAs != 0)
        std::snprintf(out, NAME_TEXT_SIZE, "%s", name.Text());
    else
        std::snprintf(out, NAME_TEXT_SIZE, "%s-%u", name.Text(), static_cast<unsigned>(contactNumber));
}

void Contact::Save(std::ostream& out) const
{
    Save(out, LATEST_FORM);
}

void Contact::Save(std::ostream& out, const VersionNumber& form) const
{
    SaveKey(out);
    SaveField(out, detectionKind);
    SaveField(out, targetMask);
    SaveField(out, lastDetection.Get());
    SaveField(out, sideId);
    SaveField(out, sensorBitsEver);
    name.Save(out);
    SaveField(out, contactNumber);
    SaveField(out, bandWord);
    PositionObject::Save(out);
    if (area != nullptr && area->GetPointCount() > 0) {
        SaveField(out, static_cast<uint16_t>(area->GetPointCount()));
        area->Save(out);
    } else {
        SaveField(out, uint16_t{0});
    }
    SaveField(out, changeBits);
    for (uint16_t value : threat)
        SaveField(out, value);
    SaveField(out, bandFlag);
    SaveField(out, stickyFlags);
    SaveField(out, conditionBits);
    SaveField(out, holdUntil.Get());
    SaveField(out, pendingHold);
    SaveField(out, statusValue);
    SaveField(out, auxValue);
    SaveField(out, knownBits);
    SaveField(out, sizeClass);
    sensorsEver.Save(out);
    SaveField(out, identifiedAs);
    SaveField(out, observerId);
    SaveField(out, signalValue);
    SaveField(out, hadArea);
    SaveField(out, auxTime.Get());
    SaveField(out, auxA);
    SaveField(out, auxB);
    SaveField(out, hostileAct);
    SaveField(out, speedEstimate);
    SaveField(out, courseEstimate);
    SaveField(out, sensorBitsLatest);
    if (form >= TYPE_LETTER_SAVED)
        SaveField(out, typeLetter);
    if (form >= LATEST_SENSORS_SAVED) {
        sensorsLatest.Save(out);
        if (form >= SECOND_SENSOR_BITS_SAVED)
            SaveField(out, sensorBitsEver2);
    }
    if (form >= COURSE_SPEED_SAVED) {
        SaveField(out, course);
        SaveField(out, speed);
    }
}

void Contact::Load(std::istream& in)
{
    uint32_t seconds = 0;
    LoadKey(in);
    LoadField(in, detectionKind);
    LoadField(in, targetMask);
    LoadField(in, seconds);
    lastDetection = GameTime(seconds);
    LoadField(in, sideId);
    LoadField(in, sensorBitsEver);
    name.Load(in);
    LoadField(in, contactNumber);
    LoadField(in, bandWord);
    if (!in || !PositionObject::Load(in)) {
        RefuseRecord(in, "the record is cut short");
        return;
    }
    uint16_t areaPoints = 0;
    LoadField(in, areaPoints);
    SetArea(nullptr);
    if (in && areaPoints != 0) {
        auto* const loaded = new Uncertain_Poly(in);
        if (!in || loaded->GetPointCount() != static_cast<int16_t>(areaPoints)) {
            delete loaded;
            RefuseRecord(in, "the area of uncertainty is damaged");
            return;
        }
        SetArea(loaded);
    }
    LoadField(in, changeBits);
    for (uint16_t& value : threat)
        LoadField(in, value);
    LoadField(in, bandFlag);
    LoadField(in, stickyFlags);
    LoadField(in, conditionBits);
    LoadField(in, seconds);
    holdUntil = GameTime(seconds);
    LoadField(in, pendingHold);
    LoadField(in, statusValue);
    LoadField(in, auxValue);
    LoadField(in, knownBits);
    LoadField(in, sizeClass);
    if (in)
        sensorsEver.Load(in);
    LoadField(in, identifiedAs);
    LoadField(in, observerId);
    LoadField(in, signalValue);
    LoadField(in, hadArea);
    LoadField(in, seconds);
    auxTime = GameTime(seconds);
    LoadField(in, auxA);
    LoadField(in, auxB);
    LoadField(in, hostileAct);
    LoadField(in, speedEstimate);
    LoadField(in, courseEstimate);
    LoadField(in, sensorBitsLatest);
    if (FileAtLeast(TYPE_LETTER_SAVED)) {
        LoadField(in, typeLetter);
    } else {
        const Unit* const unit = gam2arena::FindUnit(GetKey());
        typeLetter = unit != nullptr ? static_cast<uint8_t>(unit->GetTypeLetter()) : 0;
    }
    if (FileAtLeast(LATEST_SENSORS_SAVED)) {
        if (in)
            sensorsLatest.Load(in);
        if (FileAtLeast(SECOND_SENSOR_BITS_SAVED))
            LoadField(in, sensorBitsEver2);
        else
            sensorBitsEver2 = sensorBitsEver;
    } else {
        sensorBitsEver2 = sensorBitsEver;
    }
    if (FileAtLeast(COURSE_SPEED_SAVED)) {
        LoadField(in, course);
        LoadField(in, speed);
    }
    detectionHistory = 0;
    trackHistory = 0;
    attributeByte = 0;
    if (!in)
        RefuseRecord(in, "the record is cut short");
}
