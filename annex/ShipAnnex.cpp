// ShipAnnex.cpp: the file layout of a ship.dat record.
#include "annex/ShipAnnex.h"

#include <istream>
#include <ostream>

void ShipAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, shipCode);
    typeCode.Save(out);
    SaveField(out, vesselCode1);
    SaveField(out, vesselCode2);
    SaveField(out, vesselCode3);
    SaveField(out, fourthCode);
    SaveField(out, damagePoints);
    WriteAnnexList(out, airFacilityIDs);
    vesselTriple1.Save(out);
    vesselTriple2.Save(out);
    triple1.Save(out);
    triple2.Save(out);
    triple3.Save(out);
    WriteAnnexList(out, propulsionIDs);
    WriteAnnexList(out, sensors);
    WriteAnnexList(out, mounts);
    WriteAnnexList(out, commIDs);
    WriteAnnexList(out, fuelIDs);
    WriteAnnexList(out, magazineIDs);
    WriteAnnexList(out, eighthIDs);
    SaveField(out, length);
    SaveField(out, displacement);
    SaveField(out, crew);
    SaveField(out, value1);
    SaveField(out, value2);
    SaveField(out, value3);
    SaveField(out, value4);
    SaveField(out, value5);
    SaveField(out, value6);
    SaveField(out, textNumber);
    SaveField(out, value7);
    className.Save(out);
    secondName.Save(out);
    for (uint8_t byte : bytes)
        SaveField(out, byte);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool ShipAnnex::Read(std::istream& in)
{
    airFacilityIDs.DeleteAll();
    propulsionIDs.DeleteAll();
    sensors.DeleteAll();
    mounts.DeleteAll();
    commIDs.DeleteAll();
    fuelIDs.DeleteAll();
    magazineIDs.DeleteAll();
    eighthIDs.DeleteAll();
    lastValue = 0;

    LoadKey(in);
    LoadField(in, shipCode);
    typeCode.Load(in);
    LoadField(in, vesselCode1);
    LoadField(in, vesselCode2);
    LoadField(in, vesselCode3);
    LoadField(in, fourthCode);
    LoadField(in, damagePoints);
    ReadAnnexList(in, airFacilityIDs, 2);
    vesselTriple1.Load(in);
    vesselTriple2.Load(in);
    triple1.Load(in);
    triple2.Load(in);
    triple3.Load(in);
    ReadAnnexList(in, propulsionIDs, 2);
    ReadAnnexList(in, sensors, IDRecord::FILE_BYTES);
    ReadAnnexList(in, mounts, IDRecord::FILE_BYTES);
    ReadAnnexList(in, commIDs, 2);
    ReadAnnexList(in, fuelIDs, 2);
    ReadAnnexList(in, magazineIDs, 2);
    ReadAnnexList(in, eighthIDs, 2);
    LoadField(in, length);
    LoadField(in, displacement);
    LoadField(in, crew);
    LoadField(in, value1);
    LoadField(in, value2);
    LoadField(in, value3);
    LoadField(in, value4);
    LoadField(in, value5);
    LoadField(in, value6);
    LoadField(in, textNumber);
    LoadField(in, value7);
    className.Load(in);
    secondName.Load(in);
    for (uint8_t& byte : bytes)
        LoadField(in, byte);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
