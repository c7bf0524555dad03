// Scen2ui.h: the bridge through which the windows and the after-action log
// read the scenario header object gAdmin. Every accessor tests gAdmin first.
#pragma once

namespace Scen2ui {

// The name of the current scenario, "" before one is loaded. Without gAdmin:
// fatal error "Scen2ui::GetScenarioName : gAdmin is NULL", and null when that
// returns.
const char* GetScenarioName();

} // namespace Scen2ui
