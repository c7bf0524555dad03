// ScenarioAdmin.cpp: the scenario header object and version numbers.
#include "core/ScenarioAdmin.h"

#include <cstring>
#include <istream>
#include <ostream>

#include "core/StreamFields.h"

ScenarioAdmin* gAdmin = nullptr;

namespace {

// The class's name buffer; the extra byte keeps a full name terminated.
char scenarioName[ScenarioAdmin::NAME_SIZE + 1] = {};

} // namespace

VersionNumber::VersionNumber(int16_t a, int16_t b, int16_t c, int16_t d) : parts_{a, b, c, d} {}

bool VersionNumber::operator==(const VersionNumber& other) const
{
    for (int i = 0; i < 4; ++i) {
        if (parts_[i] != other.parts_[i])
            return false;
    }
    return true;
}

bool VersionNumber::operator<(const VersionNumber& other) const
{
    for (int i = 0; i < 4; ++i) {
        if (parts_[i] != other.parts_[i])
            return parts_[i] < other.parts_[i];
    }
    return false;
}

std::ostream& VersionNumber::Save(std::ostream& out) const
{
    for (int16_t part : parts_)
        SaveField(out, part);
    return out;
}

std::istream& VersionNumber::Load(std::istream& in)
{
    for (int16_t& part : parts_)
        LoadField(in, part);
    if (parts_[3] < 0 || parts_[3] > 5)
        parts_[3] = 0;
    return in;
}

std::string VersionNumber::Text() const
{
    return std::to_string(parts_[0]) + "." + std::to_string(parts_[1]) + "." +
           std::to_string(parts_[2]) + "." + std::to_string(parts_[3]);
}

ScenarioAdmin::ScenarioAdmin()
    : programVersion_(3, 6, 3, 0), versionText_(programVersion_.Text())
{
}

void ScenarioAdmin::SetScenarioName(const char* name)
{
    std::memset(scenarioName, 0, sizeof scenarioName);
    if (name != nullptr)
        std::strncpy(scenarioName, name, NAME_SIZE);
}

const char* ScenarioAdmin::GetScenarioName()
{
    return scenarioName;
}

bool ScenarioAdmin::HasScenarioName()
{
    return scenarioName[0] != '\0';
}
