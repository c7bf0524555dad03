// UnitPointDefense.cpp: a unit's point defence against an incoming weapon:
// its mounts engage in turn until one shoots the weapon down; otherwise its
// ECM, infrared and acoustic countermeasures raise the weapon's
// countermeasure values. The "+" lines go to the after-action log. Also the
// unit's engagement list, which its mounts fill for a target.
#include <algorithm>
#include <sstream>

#include "annex/AnnexTables.h"
#include "annex/SensorAnnex.h"
#include "annex/TimedRecord.h"
#include "core/NavMath.h"
#include "core/Units.h"
#include "core/gam2arena.h"
#include "engagement/Contact.h"
#include "engagement/SideContacts.h"
#include "engagement/WeaponFireCalls.h"
#include "engagement/WeaponRun.h"
#include "units/Weapon.h"

namespace {
constexpr uint16_t TAKES_PART = 0x100;      // the one reason bit a taking part record may carry
constexpr uint32_t QUERY_FLAGS = 7;
constexpr uint32_t COURSE_FROM_BEARING = 0x4;
constexpr uint32_t ECM_BITS = 0xFFF;
constexpr uint32_t IRCM_BITS = 0x300000;
constexpr uint32_t ACOUSTIC_BITS = 0x7000000;
constexpr int32_t ECM_TEXT = 0x7B022A;
constexpr int32_t IRCM_TEXT = 0x7B022B;
constexpr int32_t ACOUSTIC_TEXT = 0x7B022C;
constexpr size_t SENSOR_TEXT_SIZE = 64;

// The strongest countermeasure sensor of one kind.
struct Remembered {
    const Sensor* sensor = nullptr;
    int32_t text = 0;
    const char* missing = "";
};

std::string SensorLine(const Remembered& kept)
{
    const SensorAnnex* record = Annex::Tables().Sensors() != nullptr
                                    ? Annex::Tables().Sensors()->Find(kept.sensor->GetSensorID())
                                    : nullptr;
    if (record == nullptr)
        return {};
    // A text that cannot be loaded is replaced by a note that names it.
    const std::string end = WeaponRun::Text(kept.text);
    std::string text = std::string(record->name.Text()) + (end.empty() ? std::string(kept.missing) : end);
    if (text.size() > SENSOR_TEXT_SIZE)
        text.resize(SENSOR_TEXT_SIZE);
    return "+ " + text;
}

}  // namespace

void UnitDefense::BuildEngagementList(Unit& self, uint32_t mask, uint16_t targetID, const NavVector& toTarget,
                                      Chain<TimedRecord>& out, uint32_t flags)
{
    SideContacts* const side = self.sideEntryID != 0 ? gam2arena::FindSide(self.sideEntryID) : nullptr;
    if (side == nullptr)
        return;
    Mount::EngagementQuery query;
    query.targetMask = mask;
    query.toTarget = toTarget;
    query.chain = &out;
    query.firingID = self.GetID();
    query.targetID = targetID;
    query.rejectMask = static_cast<uint16_t>(flags);
    LatLonPoint point;
    if (targetID == 0) {
        point = NavMath::Get_LatLonPoint_From_Vector(self.GetPosition(), toTarget.range, toTarget.bearing);
        query.targetCourse = toTarget.bearing;
    } else if (const Contact* contact = side->GetContact(targetID)) {
        contact->GetPosition(point);
        query.targetSpeed = (contact->knownBits & ContactKnown::SPEED) != 0 ? contact->speed : uint16_t{0};
        query.targetCourse = (contact->knownBits & ContactKnown::COURSE) != 0 && (flags & COURSE_FROM_BEARING) == 0
                                 ? contact->course * ANGLE_PER_DEGREE
                                 : toTarget.bearing;
    }
    for (Mount* mount = self.mounts.First(); mount != nullptr; mount = mount->GetNext())
        mount->QueryEngagements(query, point);
}

bool UnitDefense::PointDefense(Unit& self, Weapon& incoming)
{
    SideContacts* const side = self.sideEntryID != 0 ? gam2arena::FindSide(self.sideEntryID) : nullptr;
    const uint16_t weaponID = incoming.GetID();
    const NavVector toWeapon = NavMath::Get_Vector(self.GetPosition(), incoming.GetPosition());
    const WeaponFireSettings& options = GetWeaponFireSettings();
    const bool log = options.aaLog && options.showPointDefense;
    const bool verbose = log && options.extraVerbosePointDefense;
    const bool terse = log && options.extraShortPointDefense;
    std::ostringstream stream;
    if (log) {
        stream << "++++++++\n";
        if (verbose) {
            stream << "+ Starting Point Defense Calculations.\n"
                   << "+ Defending Unit is " << self.GetName().Text() << ".\n"
                   << "+ Target weapon is " << incoming.GetName().Text() << ".\n";
        } else if (terse) {
            stream << "+ Point Defense\n";
        }
    }
    Chain<TimedRecord> records;
    self.BuildEngagementList(incoming.GetTargetMask(), weaponID, toWeapon, records, QUERY_FLAGS);
    bool shotDown = false;
    bool sectorKnown = false;
    uint8_t sector = 0;
    while (TimedRecord* record = records.First()) {
        records.Remove(record);
        if (!shotDown && (record->resultBits & ~TAKES_PART) == 0) {
            Mount* const mount = self.mounts.Find(record->mountKey);
            const Contact* contact = side != nullptr ? side->GetContact(weaponID) : nullptr;
            if (mount != nullptr && (contact != nullptr || (mount->capabilities & Mount::ENGAGES_WITHOUT_CONTACT) != 0)) {
                if (!sectorKnown) {
                    sector = WeaponRun::SectorBit(toWeapon.bearing, self.GetCourse());
                    sectorKnown = true;
                }
                const uint8_t kills = mount->PointDefenseShot(*record, 1, sector, &stream);
                shotDown = kills != 0;
                if (verbose)
                    stream << "+ Number Shot Down by Mount was " << int{kills} << "\n";
            }
        }
        delete record;
    }
    if (!shotDown) {
        Remembered ecm{nullptr, ECM_TEXT, "--Unable to load UNIT_POINT_DEFENSE_ECM_MSG_END resource"};
        Remembered ircm{nullptr, IRCM_TEXT, "--Unable to load UNIT_POINT_DEFENSE_IRCM_MSG_END resource"};
        Remembered acoustic{nullptr, ACOUSTIC_TEXT, "--Unable to load UNIT_POINT_DEFENSE_ACM_MSG_END resource"};
        for (const Sensor* sensor = self.sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
            if (sensor->GetSensorType() != Sensor::TYPE_ECM || sensor->GetState() == Sensor::STATE_DAMAGED
                || sensor->GetState() == Sensor::STATE_DESTROYED)
                continue;
            const int16_t strength = sensor->jamMargin;
            if (incoming.weaponKind == WeaponKind::ECM_COUNTERED) {
                if ((sensor->capabilities & ECM_BITS) != 0 && incoming.firstCounterValue < strength) {
                    incoming.firstCounterValue = strength;
                    ecm.sensor = sensor;
                    if (terse)
                        stream << "+ Zot! (ECM)\n";
                }
                if ((sensor->capabilities & IRCM_BITS) != 0
                    && incoming.secondCounterValue < static_cast<uint16_t>(strength)) {
                    incoming.secondCounterValue = static_cast<uint16_t>(strength);
                    ircm.sensor = sensor;
                    if (terse)
                        stream << "+ Zap! (IRCM)\n";
                }
            } else if (incoming.weaponKind == WeaponKind::TORPEDO) {
                if ((sensor->capabilities & ACOUSTIC_BITS) != 0 && incoming.firstCounterValue < strength) {
                    incoming.firstCounterValue = strength;
                    acoustic.sensor = sensor;
                    if (terse)
                        stream << "+ Buzz! (Acoustic CM)\n";
                }
            }
        }
        if (log)
            for (const Remembered* kept : {&ecm, &ircm, &acoustic})
                if (kept->sensor != nullptr)
                    if (const std::string line = SensorLine(*kept); !line.empty())
                        stream << line << "\n";
    }
    if (log) {
        stream << "+++++++++\n";
        WeaponRun::AddToAALog(stream.str());
    }
    return shotDown;
}
