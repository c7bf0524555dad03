// RadarSensor.cpp: the radar's detection test (gates, signal margin, noise
// jamming from the own unit's jamming entries, threshold, fringe chance, and
// the contact it fills), its range and its function text.
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "annex/AnnexTables.h"
#include "annex/ShipAnnex.h"
#include "annex/SubAnnex.h"
#include "core/NavVector.h"
#include "core/ResourceLoader.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SensorClasses.h"
#include "engagement/SensorSettings.h"
#include "units/Unit.h"

namespace {

// A jamming level no band has: every band starts here.
constexpr int16_t UNJAMMED = -32767;
constexpr int32_t NO_JAMMING = 32767;
// Angle units in a tenth of a degree, and tenths in a turn and a half turn.
constexpr int32_t ANGLE_UNITS_PER_TENTH = 24576;
constexpr int32_t TENTHS_PER_TURN = 3600;
constexpr int32_t TENTHS_PER_HALF_TURN = 1800;
// Side-lobe gain (tenths of a decibel) by 20 degrees off the jammer's
// bearing, and the back lobe's.
constexpr int16_t SIDE_LOBE[9] = {-7, -15, -30, -60, -100, -70, -40, -22, -19};
constexpr int32_t SIDE_LOBE_STEP = 200;
constexpr int16_t BACK_LOBE = -9;
// The fringe below a margin of 0: margins -6 to -1 are seen 16 in 100 per
// tenth of a decibel above -7.
constexpr int32_t FRINGE = 7;
constexpr int32_t FRINGE_CHANCE_STEP = 16;
// With the random fringe off, the chance a search sees what it could.
constexpr uint16_t SEARCH_CHANCE = 90;
constexpr uint16_t FRIEND_CHANCE = 80;
constexpr uint32_t TORPEDO_CLASS = 0x800;
constexpr int16_t HORIZON_MARGIN = 32;   // nautical miles beyond the horizon
constexpr uint16_t CLASSIFIED = 8;
constexpr uint16_t SIDE_TOLD = 2;
constexpr uint16_t SIDE_TELLS_SETTING = 0x1;

// The class name of a ship's or submarine's record, or the fixed name.
void CopyClassName(Contact& contact, const Unit& target)
{
    const AnnexTables& tables = Annex::Tables();
    if (target.GetTypeLetter() == 'S') {
        const ShipAnnex* record = tables.Ships() != nullptr ? tables.Ships()->Find(target.GetAnnexID()) : nullptr;
        if (record != nullptr)
            contact.name = record->className;
        else
            contact.name.Set("Unknown Ship");
    } else {
        const SubAnnex* record = tables.Subs() != nullptr ? tables.Subs()->Find(target.GetAnnexID()) : nullptr;
        if (record != nullptr)
            contact.name = record->className;
        else
            contact.name.Set("Unknown Sub");
    }
}

// Whether the radar's record weakens jamming.
bool JamResistant(uint16_t sensorID)
{
    const AnnexTable<SensorAnnex>* table = Annex::Tables().Sensors();
    const SensorAnnex* record = table != nullptr ? table->Find(sensorID) : nullptr;
    return record != nullptr && (record->recordFlags & RadarSensor::RECORD_JAM_RESISTANT) != 0;
}

}  // namespace

int32_t RadarSensor::ClampJamming(int32_t margin)
{
    if (margin > 370)
        return 400;
    if (margin >= 0)
        return margin + 30;
    if (margin > -300)
        return margin / 6 + 51;
    return 0;
}

Contact* RadarSensor::Detect(Unit& own, Unit& target, const NavVector& vector, int selector, int32_t rangeLoss,
                             bool flagA, bool flagB, bool trackMode)
{
    // 1. Gates.
    if (state_ != STATE_ACTIVE || !flagA || !flagB)
        return nullptr;
    if (vector.range / 4096 > int32_t{maxRange} || vector.range < 2 * int32_t{minRange})
        return nullptr;
    // 2. Both above the surface; a torpedo counts as below it.
    const int16_t targetAltitude = (target.GetTargetMask() & TORPEDO_CLASS) != 0 ? int16_t{-1} : target.GetAltitude();
    if (own.GetAltitude() < 0 || targetAltitude < 0)
        return nullptr;

    // 3, 4. Bands and signal margin.
    const uint32_t bands = trackMode ? trackBands : searchBands;
    const int32_t signature = target.GetRadarSignature(selector);
    int32_t margin = signature - 4 * rangeLoss;

    // 5, 6. The weakest jamming over the bands searched; a band left
    // unjammed leaves the margin alone.
    SignatureList& jammers = own.JammingEntries();
    const uint32_t jamBands = bands & SignatureRecord::BAND_BITS;
    if (jammers.First() != nullptr && jamBands != 0) {
        int16_t levels[SignatureRecord::BAND_COUNT];
        std::fill(std::begin(levels), std::end(levels), UNJAMMED);
        int32_t toTarget = (vector.bearing / ANGLE_UNITS_PER_TENTH) % TENTHS_PER_TURN;
        if (toTarget < 0)
            toTarget += TENTHS_PER_TURN;
        const int32_t beam = beamWidth;
        for (const SignatureRecord* jammer = jammers.First(); jammer != nullptr; jammer = jammer->GetNext()) {
            int32_t d = std::abs(toTarget - jammer->GetDirection());
            if (d > TENTHS_PER_HALF_TURN)
                d = TENTHS_PER_TURN - d;
            int16_t offset = 0;
            if (d > beam && d < TENTHS_PER_HALF_TURN - beam)
                offset = SIDE_LOBE[std::min(d / SIDE_LOBE_STEP, 8)];
            else if (d > beam)
                offset = BACK_LOBE;
            jammer->RaiseBandLevels(jamBands, levels, offset);
        }
        int32_t weakest = NO_JAMMING;
        for (uint32_t rest = jamBands; rest != 0; rest &= rest - 1)
            weakest = std::min<int32_t>(weakest, levels[std::countr_zero(rest)]);

        // 7. Every band jammed: the jamming eats into the margin.
        if (weakest > UNJAMMED && weakest < NO_JAMMING) {
            int32_t jam = weakest - margin - (trackMode ? trackJamGain : searchJamGain) - jamMargin;
            jam = ClampJamming(jam);
            if (JamResistant(sensorID_))
                jam = static_cast<int32_t>(jam * 0.4);
            else if (trackMode)
                jam >>= 1;
            margin -= jam;
        }
    }

    // 8, 9. Threshold and decision.
    margin -= trackMode ? trackThreshold : searchThreshold;
    bool seen = false;
    if (!GetSensorSettings().noRandomFringeRadar) {
        if (margin >= 0)
            seen = true;
        else if (!trackMode && margin + FRINGE > 0)
            seen = gam2arena::Random(100) < (margin + FRINGE) * FRINGE_CHANCE_STEP;
    } else if (margin >= 0) {
        seen = trackMode || gam2arena::Random(100) < SEARCH_CHANCE;
    }
    if (!seen)
        return nullptr;

    // 10. What the radar learns.
    Contact* const contact = NewContact(target, SensorClass::RADAR);
    contact->statusValue = 0;
    contact->signalValue = static_cast<uint32_t>(signature);
    SetSensorBits(*contact, BITS_RADAR);
    contact->sizeClass = RadarSizeClass(signature);
    if (target.GetSideID() == own.GetSideID() && (capabilities & CAP_IDENTIFY_FRIENDS) != 0
        && gam2arena::Random(100) < FRIEND_CHANCE) {
        FillIdentity(*contact, target);
    }
    FillMotion(*contact, target, (capabilities & CAP_HEIGHT_FINDING) != 0);
    const char letter = target.GetTypeLetter();
    if ((capabilities & CAP_CLASSIFY) != 0 && (letter == 'S' || (letter == 'U' && target.GetAltitude() >= 0))) {
        CopyClassName(*contact, target);
        contact->identifiedAs = target.GetAnnexID();
        contact->changeBits = CLASSIFIED;
        const bool settingTells = (GetSensorSettings().scenarioSettingsWord & SIDE_TELLS_SETTING) != 0
                                  && gam2side::IsKnownToCurrentSide(own.GetID());
        if (settingTells || HiddenFromPlayer(own)) {
            contact->sideId = static_cast<uint8_t>(target.GetSideID());
            contact->changeBits |= SIDE_TOLD;
        }
    }
    contact->SetSource(0, 1, 0, maxRange);
    contact->SetDetectionValue(0, 1);
    return contact;
}

uint16_t RadarSensor::GetRange(uint32_t classBits, bool) const
{
    if ((classBits & capabilities) == 0 || state_ != STATE_ACTIVE)
        return 0;
    uint32_t range = 0;
    if ((classBits & CAP_SURFACE) != 0) {
        const Unit* const unit = OwnerUnit();
        range = (unit != nullptr ? unit->GetHorizon() : 0u) + HORIZON_MARGIN;
    } else if ((classBits & (CAP_AIR | CAP_AIR_ALSO)) != 0) {
        range = maxRange;
    }
    return static_cast<uint16_t>(std::min<uint32_t>(range, maxRange));
}

int RadarSensor::GetFunctionText(char* out) const
{
    int kind = 0;
    if ((capabilities & CAP_SURFACE) != 0)
        kind = 3;
    if ((capabilities & CAP_AIR) != 0)
        kind = 2;
    if (trackBands != 0)
        kind = 1;
    static constexpr int32_t TEXTS[4] = {TEXT_NO_FUNCTION, TEXT_FIRE_CONTROL, TEXT_AIR_SEARCH, TEXT_SURFACE_SEARCH};
    if (out == nullptr)
        return kind;
    out[0] = '\0';
    if (TheResourceLoader != nullptr) {
        if (const char* text = TheResourceLoader->Get(TEXTS[kind])) {
            std::strncpy(out, text, FUNCTION_TEXT_SIZE - 1);
            out[FUNCTION_TEXT_SIZE - 1] = '\0';
            TheResourceLoader->Free(TEXTS[kind]);
        }
    }
    return kind;
}
