// AreaVictoryCondition.cpp: the area victory condition, its per-unit tests
// and its saved form, and DurationText.

#include "missions/AreaVictoryCondition.h"

#include <istream>
#include <ostream>

#include "core/ScenarioAdmin.h"

AreaVictoryCondition::AreaVictoryCondition(std::istream& in)
{
    kind = KIND_AREA;
    LoadData(in);
}

AreaVictoryCondition::~AreaVictoryCondition() = default;

void AreaVictoryCondition::CheckUnit(Unit*, uint16_t) {}

std::string AreaVictoryCondition::Describe() const { return {}; }

bool AreaVictoryCondition::IsMet() const { return VictoryCondition::IsMet(); }

void AreaVictoryCondition::SetSense(uint8_t hostileSense) { hostile = hostileSense; }

void AreaVictoryCondition::SaveData(std::ostream&) const {}

bool AreaVictoryCondition::LoadData(std::istream& in) { return static_cast<bool>(in); }

void AreaVictoryCondition::CheckFriendlyUnit(Unit&) {}

void AreaVictoryCondition::CheckHostileUnit(Unit&) {}

const VersionNumber& AreaVictoryCondition::TrackingVersion()
{
    static const VersionNumber version(2, 1, 13, 0);
    return version;
}

std::string DurationText(uint32_t) { return {}; }
