// SubAnnex.cpp: the file layout of a sub.dat record.
#include "annex/SubAnnex.h"

#include <istream>
#include <ostream>

void SubAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    typeCode.Save(out);
    SaveField(out, maxDepth);
    vesselTriple1.Save(out);
    vesselTriple2.Save(out);
    SaveField(out, damagePoints);
    triple1.Save(out);
    triple2.Save(out);
    triple3.Save(out);
    WriteAnnexList(out, propulsionIDs);
    WriteAnnexList(out, sensors);
    WriteAnnexList(out, mounts);
    WriteAnnexList(out, magazineIDs);
    WriteAnnexList(out, commIDs);
    WriteAnnexList(out, fuelIDs);
    SaveField(out, length);
    SaveField(out, displacement);
    SaveField(out, crew);
    SaveField(out, textNumber);
    SaveField(out, value1);
    SaveField(out, subFlags);
    className.Save(out);
    secondName.Save(out);
    for (uint8_t byte : bytes)
        SaveField(out, byte);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool SubAnnex::Read(std::istream& in)
{
    propulsionIDs.DeleteAll();
    sensors.DeleteAll();
    mounts.DeleteAll();
    magazineIDs.DeleteAll();
    commIDs.DeleteAll();
    fuelIDs.DeleteAll();
    lastValue = 0;

    LoadKey(in);
    typeCode.Load(in);
    LoadField(in, maxDepth);
    vesselTriple1.Load(in);
    vesselTriple2.Load(in);
    LoadField(in, damagePoints);
    triple1.Load(in);
    triple2.Load(in);
    triple3.Load(in);
    ReadAnnexList(in, propulsionIDs, 2);
    ReadAnnexList(in, sensors, IDRecord::FILE_BYTES);
    ReadAnnexList(in, mounts, IDRecord::FILE_BYTES);
    ReadAnnexList(in, magazineIDs, 2);
    ReadAnnexList(in, commIDs, 2);
    ReadAnnexList(in, fuelIDs, 2);
    LoadField(in, length);
    LoadField(in, displacement);
    LoadField(in, crew);
    LoadField(in, textNumber);
    LoadField(in, value1);
    LoadField(in, subFlags);
    className.Load(in);
    secondName.Load(in);
    for (uint8_t& byte : bytes)
        LoadField(in, byte);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
