// ReferencePoint.cpp: a side's map point: its label, its saved form and the
// number a new point takes.
#include "units/ReferencePoint.h"

#include <cstdio>
#include <istream>
#include <ostream>

#include "core/ResourceLoader.h"
#include "core/StreamFields.h"

ReferencePoint::ReferencePoint()
{
    SetStateFlags(POINT_STATE_FLAGS);
}

ReferencePoint::ReferencePoint(uint16_t number) : TreeListNode<ReferencePoint>(number)
{
    SetStateFlags(POINT_STATE_FLAGS);
}

void ReferencePoint::MakeLabel()
{
    char text[NameString::SIZE] = {};
    if (name.Text()[0] == '\0') {
        if (TheResourceLoader != nullptr) {
            if (const char* words = TheResourceLoader->Get(TEXT_NO_NAME)) {
                std::snprintf(text, sizeof text, "%s", words);
                TheResourceLoader->Free(TEXT_NO_NAME);
            }
        }
    } else {
        std::snprintf(text, sizeof text, "%.4s%u   ", name.Text(), unsigned{GetKey()});
    }
    label.Set(text);
}

void ReferencePoint::Save(std::ostream& out) const
{
    SaveField(out, GetKey());
    SimObject::Save(out);
    name.Save(out);
    SaveField(out, flag);
}

bool ReferencePoint::Load(std::istream& in)
{
    uint16_t number = 0;
    SimObject place;
    NameString readName;
    uint8_t readFlag = 0;
    LoadField(in, number);
    if (!in || !place.Load(in))
        return false;
    readName.Load(in);
    LoadField(in, readFlag);
    if (!in)
        return false;   // nothing half-read is kept
    SetKey(number);
    static_cast<SimObject&>(*this) = place;
    name = readName;
    flag = readFlag;
    MakeLabel();
    return true;
}

uint16_t FindFreePointNumber(const TreeListOf<ReferencePoint>& points)
{
    uint16_t candidate = 1;
    for (const ReferencePoint* p = points.First(); p != nullptr; p = p->GetNext()) {
        if (p->GetKey() > candidate)
            break;
        if (p->GetKey() == candidate)
            ++candidate;
    }
    return candidate;
}
