// ShortTriple.cpp: the three per-aspect values and their saved form.
#include "annex/ShortTriple.h"

#include <istream>
#include <ostream>

#include "core/StreamFields.h"

uint16_t ShortTriple::Get(int index) const
{
    return (index >= 0 && index < COUNT) ? values_[index] : 0;
}

void ShortTriple::Set(int index, uint16_t value)
{
    if (index >= 0 && index < COUNT)
        values_[index] = value;
}

void ShortTriple::Clear()
{
    for (uint16_t& value : values_)
        value = 0;
}

bool ShortTriple::operator==(const ShortTriple& other) const
{
    for (int i = 0; i < COUNT; ++i)
        if (values_[i] != other.values_[i])
            return false;
    return true;
}

void ShortTriple::Save(std::ostream& out) const
{
    for (uint16_t value : values_)
        SaveField(out, value);
}

void ShortTriple::Load(std::istream& in)
{
    for (uint16_t& value : values_)
        LoadField(in, value);
}
