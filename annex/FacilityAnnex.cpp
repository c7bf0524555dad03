// FacilityAnnex.cpp: the file layout of a facility.dat record and its
// default name.
#include "annex/FacilityAnnex.h"

#include <istream>
#include <ostream>

#include "core/ResourceLoader.h"

FacilityAnnex::FacilityAnnex()
{
    SetDefaultName();
}

FacilityAnnex::FacilityAnnex(uint16_t id) : TreeListNode<FacilityAnnex>(id)
{
    SetDefaultName();
}

FacilityAnnex::~FacilityAnnex()
{
    mounts.DeleteAll();
}

// The name of a record whose file gives none: the resource text, borrowed
// and handed back at once. Without a loader (tools, tests) it stays empty.
void FacilityAnnex::SetDefaultName()
{
    if (!TheResourceLoader)
        return;
    if (const char* const text = TheResourceLoader->Get(FACILITY_DEFAULT_NAME_TEXT)) {
        name.Set(text);
        TheResourceLoader->Free(FACILITY_DEFAULT_NAME_TEXT);
    }
}

void FacilityAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    SaveField(out, typeCode);
    SaveField(out, secondCode);
    WriteAnnexList(out, airFacilityIDs);
    WriteAnnexList(out, sensors);
    WriteAnnexList(out, mounts);
    WriteAnnexList(out, commIDs);
    WriteAnnexList(out, magazineIDs);
    WriteAnnexList(out, fuelIDs);
    triple1.Save(out);
    triple2.Save(out);
    triple3.Save(out);
    SaveField(out, value);
    SaveField(out, textNumber);
    name.Save(out);
    SaveField(out, damagePoints);
    SaveField(out, height);
    for (uint8_t byte : bytes)
        SaveField(out, byte);
    if (annexVersion != 0)
        SaveField(out, lastValue);
}

bool FacilityAnnex::Read(std::istream& in)
{
    airFacilityIDs.DeleteAll();
    sensors.DeleteAll();
    mounts.DeleteAll();
    commIDs.DeleteAll();
    magazineIDs.DeleteAll();
    fuelIDs.DeleteAll();
    lastValue = 0;

    LoadKey(in);
    LoadField(in, typeCode);
    LoadField(in, secondCode);
    ReadAnnexList(in, airFacilityIDs, 2);
    ReadAnnexList(in, sensors, IDRecord::FILE_BYTES);
    ReadAnnexList(in, mounts, IDRecord::FILE_BYTES);
    ReadAnnexList(in, commIDs, 2);
    ReadAnnexList(in, magazineIDs, 2);
    ReadAnnexList(in, fuelIDs, 2);
    triple1.Load(in);
    triple2.Load(in);
    triple3.Load(in);
    LoadField(in, value);
    LoadField(in, textNumber);
    name.Load(in);
    LoadField(in, damagePoints);
    LoadField(in, height);
    for (uint8_t& byte : bytes)
        LoadField(in, byte);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastValue);
    return static_cast<bool>(in);
}
