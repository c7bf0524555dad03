// WeaponRec.cpp: the file and saved forms of the weapon record.
#include "annex/WeaponRec.h"

#include <istream>
#include <ostream>

namespace {

bool olderSavedLayout = false;

} // namespace

void WeaponRec::SetOlderSavedLayout(bool older)
{
    olderSavedLayout = older;
}

bool WeaponRec::IsOlderSavedLayout()
{
    return olderSavedLayout;
}

void WeaponRec::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, cycleTimer);
    SaveField(out, readyShots);
    SaveField(out, weaponID);
    SaveField(out, secondValue);
    SaveField(out, shotsLeft);
    SaveField(out, fireInterval);
    SaveField(out, thirdValue);
    SaveField(out, flag);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool WeaponRec::Read(std::istream& in)
{
    LoadKey(in);
    LoadField(in, cycleTimer);
    LoadField(in, readyShots);
    LoadField(in, weaponID);
    LoadField(in, secondValue);
    LoadField(in, shotsLeft);
    LoadField(in, fireInterval);
    LoadField(in, thirdValue);
    LoadField(in, flag);
    const bool hasLastValue = IsAnnexLoading() ? GetAnnexVersion() != 0 : !olderSavedLayout;
    if (hasLastValue)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
