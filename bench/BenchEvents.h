// BenchEvents.h: what the group and station benchmarks install in place of
// the simulation's events and bridge: an order that is only queued, its
// makers for speeds and station events, a path handed over by copying it
// onto the unit, a leg test that always passes, and a diesel plant that
// runs.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

#include "core/Event.h"
#include "core/StreamFields.h"
#include "core/gam2arena.h"
#include "units/PositionNode.h"
#include "units/PropulsionPlant.h"
#include "units/Unit.h"

namespace bench {

class BenchEvent : public Event {
public:
    BenchEvent(uint8_t code, uint16_t unit) : code_(code), unit_(unit) {}
    bool HandleEvent() override { return false; }
    uint16_t GetSubject() const override { return unit_; }
    void SetSubject(uint16_t unit) override { unit_ = unit; }
    uint8_t TypeCode() const override { return code_; }
    bool Load(std::istream& in) override { return LoadBase(in); }
    void Save(std::ostream& out) const override
    {
        SaveField(out, code_);
        SaveBase(out);
    }
    Event* Clone() const override { return new BenchEvent(code_, unit_); }

private:
    uint8_t code_;
    uint16_t unit_;
};

inline Event* MakeSpeed(uint16_t unit, uint16_t, GameTime due)
{
    auto* e = new BenchEvent(EventCode::SET_SPEED, unit);
    e->SetDueTime(due);
    return e;
}

inline Event* MakeStation(uint8_t code, uint16_t unit, GameTime due)
{
    auto* e = new BenchEvent(code, unit);
    e->SetDueTime(due);
    return e;
}

inline void CopyPathOntoUnit(uint16_t unitID, const PositionNode* path)
{
    if (Unit* const unit = gam2arena::FindUnit(unitID))
        unit->SetPath(PositionNode::CopyChain(path));
}

inline bool AnyLeg(uint16_t, const LatLonPoint&, const LatLonPoint&)
{
    return true;
}

// Speeds 6, 18, 26 and 32 knots for the four settings, up to altitude 10.
inline PropulsionPlant* DieselPlant(bool fuelled)
{
    auto* plant = new PropulsionPlant();
    plant->SetKey(1);
    plant->engineType = EngineType::DIESEL;
    plant->hasFuel = fuelled ? 1 : 0;
    const uint16_t speeds[] = {6, 18, 26, 32};
    for (int row = 0; row < PropulsionPlant::SETTINGS; ++row) {
        for (int band = 0; band < PropulsionPlant::BANDS; ++band)
            plant->speedTable[row][band] = {10, -2, speeds[row]};
    }
    return plant;
}

}  // namespace bench
