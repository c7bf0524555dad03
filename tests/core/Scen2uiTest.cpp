// Tests of the scenario header accessors of the bridge: the name comes from
// gAdmin, and a missing gAdmin is a fatal error with a null answer.
#include <gtest/gtest.h>

#include "core/Scen2ui.h"
#include "core/ScenarioAdmin.h"
#include "support/ReportCapture.h"

namespace {

TEST(Scen2ui, GetScenarioNameReadsTheHeaderObject)
{
    ScenarioAdmin admin;
    gAdmin = &admin;
    ScenarioAdmin::SetScenarioName("");
    EXPECT_STREQ(Scen2ui::GetScenarioName(), "");
    ScenarioAdmin::SetScenarioName("Strait Patrol");
    EXPECT_STREQ(Scen2ui::GetScenarioName(), "Strait Patrol");
    ScenarioAdmin::SetScenarioName("");
    gAdmin = nullptr;
}

TEST(Scen2ui, GetScenarioNameWithoutHeaderObjectIsFatal)
{
    ReportCapture capture;
    gAdmin = nullptr;
    EXPECT_EQ(Scen2ui::GetScenarioName(), nullptr);
    ASSERT_EQ(capture.fatals.size(), 1u);
    EXPECT_EQ(capture.fatals[0], "Scen2ui::GetScenarioName : gAdmin is NULL");
}

} // namespace
