// TimeStampNode.cpp: the overlap test and saved form of a time span record.
#include "annex/TimeStampNode.h"

#include <istream>
#include <ostream>

bool TimeStampNode::Overlaps(const TimeStampNode& other) const
{
    return other.start_.Get() < end_.Get() && other.end_.Get() > start_.Get();
}

void TimeStampNode::Save(std::ostream& out) const
{
    SaveKey(out);
    start_.Save(out);
    end_.Save(out);
}

void TimeStampNode::Load(std::istream& in)
{
    LoadKey(in);
    start_.Load(in);
    end_.Load(in);
}
