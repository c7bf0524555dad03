// HoldingMission.h: HoldingMission, mission 2 of every side (type 2): a unit
// returned to the standing missions waits here until it has finished its
// path, defends itself against the contact it was told to fight, and then
// goes on to mission 1. The side's ops staff makes it.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "core/Units.h"
#include "missions/MissionRecord.h"

class HoldingMission : public MissionRecord {
public:
    static constexpr uint16_t TYPE = 2;
    static constexpr int32_t NAME_TEXT = 0x7B010B;          // the mission's name
    static constexpr int32_t DESCRIPTION_TEXT = 0x7B00DC;   // its description in reports
    // A contact closer than this (range units) is engaged.
    static constexpr int32_t ENGAGE_REACH = 30 * RANGE_PER_NM;

    // The set-up mission: creation kind, name text, owning side.
    HoldingMission(uint16_t kind, const char* nameText, Side* owner);
    // The mission list loader's mission, before Load.
    HoldingMission(uint16_t type, Side* owner);
    ~HoldingMission() override = default;

    // The saved form is the base record alone.
    bool Load(std::istream& in) override;
    bool Save(std::ostream& out) override;

    // The unit's record, unless already done, becomes done (no events removed).
    void ReleaseUnit(Unit* unit) override;
    // Unit reports are taken and ignored: answers true.
    bool LaunchForUnit(Unit* unit, uint16_t aircraftType, uint16_t loadout, uint16_t holderID,
                       uint8_t force) override;
    // A plane's attack class becomes 0; other units are left alone.
    void SetAircraftPosture(Unit* unit, uint32_t kind) override;
    // The step of one unit when its mission-unit event falls due.
    void StepUnit(uint16_t unitID, uint8_t code) override;
    // The description becomes the text of DESCRIPTION_TEXT.
    void SaveName() override;
    // Launches nothing: answers true.
    bool LaunchReplacement(Unit* plane, MissionUnitRec* record) override;

    // A unit told to engage: an ordered engagement counts as started; an
    // engaging unit attacks its contact in reach or goes back to idle.
    void KeepDefending(MissionUnitRec* record, Unit* unit);
};
