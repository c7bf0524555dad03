// FacilityDamage.cpp: a facility taking hits, its damage effects, the step
// that repairs part of the last step's damage, and its removal from play.
#include "units/Facility.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "annex/DBEnum.h"
#include "core/NameString.h"
#include "core/gam2arena.h"
#include "units/Group.h"
#include "units/PlaneBridge.h"
#include "units/PlaneRecBridge.h"
#include "units/Status.h"
#include "units/UnitEvents.h"
#include "world/game2ui.h"
#include "world/gam2anim.h"

namespace {

// Damage categories with a rule of their own.
constexpr uint32_t CATEGORY_NO_DAMAGE = 8;       // effects only
constexpr uint32_t CATEGORY_QUARTER = 0x2000;    // an airfield keeps a quarter
constexpr uint32_t CATEGORY_NO_EFFECT_8 = 0x200;

// Damage effects (multi-action codes).
constexpr uint32_t EFFECT_AIRFIELD = 15;
constexpr uint32_t EFFECT_CHANCE_CODE1 = 5;
constexpr uint32_t EFFECT_8 = 8;
constexpr uint32_t EFFECT_18 = 18;
// The effect drawn by a number 0 to 9.
constexpr uint32_t EFFECT_TABLE[10] = {1, 1, 1, 5, 5, 17, 8, 8, 17, 18};

// Message class of the destruction line.
constexpr uint16_t MESSAGE_CLASS_LOSS = 0x10;

// The aircraft lost on the ground, as the victory conditions count them.
constexpr uint8_t AIRCRAFT_ON_GROUND = 0x50;

// An airfield that cannot take aircraft of this size class counts as
// destroyed.
constexpr uint32_t LEAST_WORKING_AIRFIELD_SIZE = 9;

}  // namespace

// The steps, for a hit of strength `amount` and damage category `kind`:
//  1. nothing left to destroy: answer 1;
//  2. d = the strength scaled by the class of facilityCode2;
//  3. the count of damage effects and the damage kept: category 8 only
//     effects (two dice and d / 10, at least one); an airfield (AIRFIELD)
//     d / 10 effects (one more by chance of d mod 10) and d / 100 damage
//     (d / 4 for category bit 0x2000); else d x 10 / damagePoints plus a die
//     less 4 effects and d damage;
//  4. the damage (at most damagePoints) adds to damageTaken and recentDamage;
//     its share of damagePoints plus 10 to 60 decides: above 100 destroyed
//     (message, victory conditions, no points left, answer 1), above 50
//     damaged;
//  5. still standing: the effects, an airfield that takes no aircraft of
//     size 9 counts destroyed, and an air base takes over the status bits;
//  6. the victory conditions are evaluated unless destroyed.
// damageTaken is summed wide and kept within 16 bits.
int32_t Facility::TakeDamage(int32_t amount, uint32_t kind)
{
    if (damagePoints == 0)
        return 1;
    const uint16_t strength = static_cast<uint16_t>(amount);
    const uint16_t category = static_cast<uint16_t>(kind);
    const uint32_t d = DBEnum::Scale_By_Class(strength, category, facilityCode2);
    int32_t effects = 0;
    uint32_t damage = 0;
    if (kind == CATEGORY_NO_DAMAGE) {
        effects = gam2arena::Random(6) + gam2arena::Random(6) + static_cast<int32_t>(d / 10);
        effects = std::max(effects, 1);
    } else if (capabilityFlags == AIRFIELD) {
        effects = static_cast<int32_t>(d / 10);
        if (gam2arena::Random(10) < d % 10)
            ++effects;
        damage = (kind & CATEGORY_QUARTER) != 0 ? d / 4 : d / 100;
    } else {
        effects = static_cast<int32_t>(d * 10 / damagePoints) + gam2arena::Random(6) - 4;
        effects = std::max(effects, 0);
        damage = d;
    }

    int32_t answer = 0;
    if (damage != 0) {
        damage = std::min<uint32_t>(damage, damagePoints);
        damageTaken = static_cast<int16_t>(std::min<int32_t>(damageTaken + static_cast<int32_t>(damage), INT16_MAX));
        recentDamage += static_cast<int32_t>(damage);
        const int32_t p = damageTaken * 100 / damagePoints + (gam2arena::Random(6) + 1) * 10;
        if (p >= 101 && (damageState & DESTROYED) == 0) {
            if (game2ui::IsVisibleToPlayer(GetID())) {
                char text[UnitStatus::LINE_SIZE * 2] = {};
                CopyResourceText(DESTROYED_TEXT, text, static_cast<int32_t>(sizeof text));
                char message[sizeof text + NameString::SIZE];
                std::snprintf(message, sizeof message, "%s%s", GetName().Text(), text);
                ui2game::PostGameMessage(GetSideID(), sideEntryID, message, MESSAGE_CLASS_LOSS, 'S');
            }
            damageState |= DESTROYED;
            unit2gam::CheckVictoryConditions(GetID());
            damagePoints = 0;
            ClearFlags(UnitFlag::SEEKER_ON | UnitFlag::LINKS_RECORDS);
            answer = 1;
        } else if (p > 50) {
            damageState |= DAMAGED;
        }
    }

    if (damagePoints != 0) {
        for (int32_t i = 0; i < effects; ++i)
            ApplyCriticalHit(amount, kind);
        if (capabilityFlags == AIRFIELD && GetMaxAircraftSize(true, true) < LEAST_WORKING_AIRFIELD_SIZE)
            damageState |= DESTROYED;
        if (GetParentID() != 0) {
            auto* const base = dynamic_cast<Group*>(gam2arena::FindUnit(GetParentID()));
            if (base != nullptr && base->GetTypeLetter() == 'B')
                base->UpdateStatusFromFacilities();
        }
    }
    if ((damageState & DESTROYED) == 0)
        unit2gam::CheckVictoryConditions(GetID());
    return answer;
}

// An airfield takes effect 15; any other facility one drawn from the table,
// where effects 5, 8 and 18 stand only by the chance of the damage tables
// (5 at facilityCode1, 8 and 18 at facilityCode2; 8 never for category
// 0x200). Effects 1, 16 and 17 carry the strength's low byte.
void Facility::ApplyCriticalHit(int32_t amount, uint32_t kind)
{
    const uint16_t strength = static_cast<uint16_t>(amount);
    const uint16_t category = static_cast<uint16_t>(kind);
    uint32_t effect = EFFECT_AIRFIELD;
    uint16_t value = 0;
    if (capabilityFlags != AIRFIELD) {
        effect = EFFECT_TABLE[gam2arena::Random(10) % 10];
        if (effect == 1 || effect == 16 || effect == 17)
            value = static_cast<uint8_t>(strength);
        if (effect == EFFECT_CHANCE_CODE1 && !DBEnum::Chance_Check(strength, category, facilityCode1))
            effect = 0;
        if (effect == EFFECT_8 && (kind == CATEGORY_NO_EFFECT_8 || !DBEnum::Chance_Check(strength, category, facilityCode2)))
            effect = 0;
        if (effect == EFFECT_18 && !DBEnum::Chance_Check(strength, category, facilityCode2))
            effect = 0;
    }
    if (effect != 0)
        PostOrDrop(MakeMultiActionEvent(GetID(), effect, value));
}

// Repair keeps a tenth of the last step's damage, half of it once the
// facility is damaged (divisions truncate toward 0).
void Facility::Move(uint8_t elapsed)
{
    SetFlags(UnitFlag::BASE);
    const int32_t repaired = (damageState & DAMAGED) == 0 ? recentDamage * 9 / 10 : recentDamage / 2;
    damageTaken = static_cast<int16_t>(damageTaken - repaired);
    recentDamage = 0;
    for (Mount* mount = mounts.First(); mount != nullptr; mount = mount->GetNext())
        mount->Reload(elapsed);
    WeatherReport report;
    gam2anim::GetWeatherAt(report, GetPosition());
    SetWeather(report);
}

void Facility::RemoveFromPlay()
{
    if (gam2side::SideExists(GetSideID())) {
        for (const PlaneRec* r = planeRecs.First(); r != nullptr; r = r->GetNext()) {
            unit2gam::CheckVictoryConditions2(GetSideID(), r->planeAnnexID, AIRCRAFT_ON_GROUND, r->count);
            gam2side::MissionTest(r->missionID, GetID(), r->GetKey());
        }
    }
    airFacilityList.DeleteAll();
    planeRecs.DeleteAll();
    Unit::RemoveFromPlay();
}
