// Submarine.h: Submarine, the unit of a submarine (type letter 'U'): a
// vessel that keeps its depth above the sea floor, recharges near the
// surface, comes up when its power is spent, hides its radar, visual and
// infrared signatures when submerged, and has its own damage intake, damage
// effects, evasion, status lines and saved record.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "units/Vessel.h"

class SubAnnex;

class Submarine : public Vessel {
public:
    static constexpr char TYPE_LETTER = 'U';
    static constexpr uint32_t DESTROYED = 0x40;
    // Altitudes (tens of metres): the shallowest submerged depth, at which
    // the boat counts as near the surface, and where it dives to evade.
    static constexpr int16_t NEAR_SURFACE = -2;
    static constexpr int16_t EVASION_DEPTH = -5;
    // Signatures of a boat near the surface and deeper.
    static constexpr int16_t SIGNATURE_NEAR_SURFACE = -100;
    static constexpr int16_t SIGNATURE_HIDDEN = -32000;

    // The vessel's part; max depth 0.
    Submarine() = default;
    // The unit of the sub.dat record `subAnnexID` (BuildFromAnnex).
    explicit Submarine(uint16_t subAnnexID);
    ~Submarine() override = default;

    char GetTypeLetter() const override { return TYPE_LETTER; }

    // ---- unit operations the submarine replaces ----

    // Unless kind has bit 8, the amount (unscaled) comes off the damage
    // points, never below 0, raising the speed loss once per damage level
    // passed. A boat with points left then suffers its critical hits (kind 8:
    // two draws of 6 plus a tenth of the amount, at least 1; otherwise
    // amount x 10 / points + draw(6) - 4, at least 0); one without is
    // destroyed (focus cleared, DESTROYED set) and the answer is 1. The
    // victory conditions are checked when it had points before the hit.
    int32_t TakeDamage(int32_t amount, uint32_t kind) override;
    // One of ten effects by draw(10), posted as a multi-action event; with
    // kind bit 8 only draws 0, 1, 7 and 9 have one.
    void ApplyCriticalHit(int32_t amount, uint32_t kind) override;
    // Altitude + 2: 0 at the shallowest submerged depth.
    int16_t GetAltitude() const override;
    // Surfaced: the triples (radar aspectValues 2, visual 0, infrared 1);
    // near the surface (-2, -1): -100, -100 and 0; deeper: -32000.
    int16_t GetRadarSignature(int aspect) const override;
    int16_t GetVisualSignature(int aspect) const override;
    int16_t GetInfraredSignature(int aspect) const override;
    // 1 surfaced, 2 submerged.
    uint32_t GetTargetMask() const override;
    // The unit's label, its fourth part the depth band's name.
    void UpdateLabel() override;
    int32_t GetClassValue() const override { return 10; }
    int32_t GetModeInterval(int32_t mode) const override { return mode == 1 ? 10 : 15; }
    void GetStatus(UnitStatus& status) const override;
    // The sub.dat byte for targets of a type letter, as a ship's.
    uint8_t GetTargetClassByte(char letter) const override;
    bool CanSupportType(char /*letter*/) const override { return true; }
    bool HasSupportCapability() const override { return true; }
    // A contact whose band word has 0x4000: the ship's evasion, the boat
    // ordered to 20 knots at the point; one with 0x1000 or 0x2000: a dive to
    // EVASION_DEPTH (answering false).
    bool EvadeThreat(Contact& threat) override;
    // The set-up from the sub.dat record of `id`: the annex id always; with
    // the record the maximum depth, the class name from the type code, the
    // damage points (damage classes 0), the sonar triples, the name, the
    // equipment (Vessel::BuildEquipment) and the three triples.
    void BuildFromAnnex(uint16_t id) override;
    // 2 below 40 full damage points, 8 up to 150, else 16.
    uint8_t GetSizeClass() const override;

    // The step: the unit's, kept above the sea floor, with the store of
    // fuel type 5 recharged near the surface and the battery run down.
    void Move(uint8_t elapsed) override;

    // ---- moving-object operation ----

    // The vessel's figures; surfaced, the speed-table value 5 more.
    void UpdateSpecialReach() override;

    // Saved record, little-endian:
    //   letter 'U' u8, annexID u16, maxDepth i16 (tens of metres), the
    //   vessel's part (Vessel.h)
    // LoadFields reads after the letter; a record cut short answers false.
    void SaveFields(std::ostream& out) const override;
    bool LoadFields(std::istream& in) override;

    // The sub.dat record of annexID, or null.
    const SubAnnex* FindRecord() const;
    // Seconds of running left on the stores (the status panel's second
    // time): the battery, with the air-independent store's time added.
    int32_t GetStoreSeconds() const;

    int16_t maxDepth = 0;   // tens of metres, negative

protected:
    // Stopped deeper than NEAR_SURFACE with no power: up to NEAR_SURFACE,
    // then 5 knots half a minute later.
    void OnOutOfPower() override;
    // Keeps the boat above a rising sea floor, recharges the store of fuel
    // type 5 near the surface, and refreshes the fuel flags of a run that
    // spent its stores.
    void OnStepMoved(uint8_t elapsed) override;

private:
    // Noted at the start of a step: the sea floor under the boat and whether
    // its stores were already spent.
    int16_t stepFloor = 0;
    bool stepExhausted = false;
};

// Registers the submarine's maker under its type letter.
void RegisterSubmarineClass();
