// PropulsionAnnex.cpp: the file layout of a propuls.dat record.
#include "annex/PropulsionAnnex.h"

#include <istream>
#include <ostream>

uint16_t PropulsionAnnex::GetTopSpeed() const
{
    uint16_t top = 0;
    for (const auto& row : speedTable)
        for (const PropulsionSpeed& entry : row)
            if (entry.speed > top)
                top = entry.speed;
    return top;
}

void PropulsionAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, primaryType);
    SaveField(out, secondaryType);
    for (uint16_t v : bandValuesA)
        SaveField(out, v);
    for (uint16_t v : bandValuesB)
        SaveField(out, v);
    for (const auto& row : speedTable)
        for (const PropulsionSpeed& entry : row) {
            SaveField(out, entry.upper);
            SaveField(out, entry.lower);
            SaveField(out, entry.speed);
        }
    SaveField(out, value);
    name.Save(out);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool PropulsionAnnex::Read(std::istream& in)
{
    LoadKey(in);
    LoadField(in, primaryType);
    LoadField(in, secondaryType);
    for (uint16_t& v : bandValuesA)
        LoadField(in, v);
    for (uint16_t& v : bandValuesB)
        LoadField(in, v);
    for (auto& row : speedTable)
        for (PropulsionSpeed& entry : row) {
            LoadField(in, entry.upper);
            LoadField(in, entry.lower);
            LoadField(in, entry.speed);
        }
    LoadField(in, value);
    name.Load(in);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
