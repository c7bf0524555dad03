// ViolationRecord.cpp: the record of one rules-of-engagement breach: its
// comparison, saved form and description.
#include "missions/ViolationRecord.h"

#include <istream>
#include <ostream>

#include "core/ResourceText.h"
#include "core/StreamFields.h"
#include "missions/RecordNameCalls.h"

ViolationRecord::ViolationRecord(uint16_t side, uint8_t isHostile, const char* victim, uint16_t platform,
                                 const char* violator)
    : VictoryItem(VictoryTag::VIOLATION), hostile(isHostile), platformID(platform), sideID(side)
{
    victimName.Set(victim);
    violatorName.Set(violator);
}

ViolationRecord::ViolationRecord(std::istream& in) : VictoryItem(VictoryTag::VIOLATION)
{
    Load(in);
}

void ViolationRecord::Save(std::ostream& out) const
{
    SaveField(out, GetTag());
    SaveField(out, hostile);
    SaveField(out, platformID);
    SaveField(out, sideID);
    violatorName.Save(out);
    victimName.Save(out);
}

void ViolationRecord::Load(std::istream& in)
{
    LoadField(in, hostile);
    LoadField(in, platformID);
    LoadField(in, sideID);
    violatorName.Load(in);
    victimName.Load(in);
}

std::string ViolationRecord::Describe() const
{
    std::string text = ResourceString(VIOLATOR_TEXT) + violatorName.Text() + ResourceString(VIOLATED_TEXT);
    char platform[NameString::SIZE + 1] = {};
    if (platformID != 0 && CopyRecordName(platformID, platform, NameString::SIZE))
        text += ResourceString(PLATFORM_TEXT) + platform + ResourceString(PLATFORM_END_TEXT);
    text += ResourceString(VICTIM_TEXT) + victimName.Text() + ResourceString(VICTIM_END_TEXT);
    if (hostile != 0)
        text += ResourceString(HOSTILE_TEXT);
    return FitDescription(text + "\n");
}

bool ViolationRecord::IsEqual(const ViolationRecord& other) const
{
    return sideID == other.sideID && violatorName.IsEqual(other.violatorName) &&
           victimName.IsEqual(other.victimName);
}
