// VictoryManager.cpp: a side's victory manager, its saved form, evaluation
// and announcement.
#include "missions/VictoryManager.h"

#include "core/StreamFields.h"

namespace {

// Writes an empty item list: its u32 count 0.
void SaveEmptyList(std::ostream& out)
{
    SaveField(out, uint32_t{0});
}

}  // namespace

VictoryManager::VictoryManager(uint16_t sideID) : sideId(sideID) {}

VictoryManager::VictoryManager(std::istream& in)
{
    Load(in);
}

VictoryManager::~VictoryManager() = default;

bool VictoryManager::Save(std::ostream& out) const
{
    SaveField(out, static_cast<uint8_t>(conditions.size()));
    SaveField(out, sideId);
    SaveEmptyList(out);
    SaveEmptyList(out);
    SaveEmptyList(out);
    SaveEmptyList(out);
    return static_cast<bool>(out);
}

bool VictoryManager::Load(std::istream& in)
{
    uint8_t count = 0;
    uint16_t side = 0;
    LoadField(in, count);
    LoadField(in, side);
    for (int list = 0; list < 4 && in; ++list) {
        uint32_t items = 0;
        LoadField(in, items);
        if (in && items != 0)
            in.setstate(std::ios::failbit);
    }
    if (!in || count != 0) {
        in.setstate(std::ios::failbit);
        return false;
    }
    sideId = side;
    holdStart = 0;
    return true;
}

VictoryCondition* VictoryManager::GetCondition(uint8_t index) const
{
    return index < conditions.size() ? conditions[index] : nullptr;
}

void VictoryManager::Evaluate(Unit* /*unit*/) {}

void VictoryManager::RecordKindLoss(uint16_t /*platformID*/, uint16_t /*typeLetter*/, uint16_t /*loserSide*/,
                                    uint16_t /*count*/)
{
}

void VictoryManager::AnnounceVictory() {}

void VictoryManager::OnVictoryAnswer(uint16_t /*sideID*/, uint8_t /*answer*/) {}

void VictoryManager::DescribeStatus(std::ostream& out)
{
    out << '\0';
}

void VictoryManager::WriteReport(uint8_t /*showOutcome*/, std::ostream& out)
{
    out << '\0';
}
