// Scen2ui.cpp: the scenario header accessors of the bridge.
#include "core/Scen2ui.h"

#include "core/ErrorReport.h"
#include "core/ScenarioAdmin.h"

namespace Scen2ui {

const char* GetScenarioName()
{
    if (gAdmin == nullptr) {
        FatalError("Scen2ui::GetScenarioName : gAdmin is NULL");
        return nullptr;
    }
    return gAdmin->GetScenarioName();
}

} // namespace Scen2ui
