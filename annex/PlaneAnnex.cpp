// PlaneAnnex.cpp: the file layout of a plane.dat record and the loadout
// range lookup.
#include "annex/PlaneAnnex.h"

#include <istream>
#include <ostream>

uint16_t PlaneAnnex::GetCombatRange(uint16_t loadoutID) const
{
    if (loadoutID != 0)
        if (const NavIDNode* const entry = loadouts.Find(loadoutID))
            return entry->GetValue();
    return usableRange;
}

void PlaneAnnex::ClearWorkedOutFigures()
{
    usableRange = 0;
    for (int i = 0; i < PERF_ENTRIES; ++i) {
        perfSpeed[i] = 0;
        perfRange[i] = 0;
        perfCeiling[i] = 0;
    }
}

void PlaneAnnex::Save(std::ostream& out, uint32_t annexVersion) const
{
    SaveKey(out);
    typeCode.Save(out);
    triple1.Save(out);
    triple2.Save(out);
    triple3.Save(out);
    WriteAnnexList(out, propulsionIDs);
    WriteAnnexList(out, sensorIDs);
    WriteAnnexList(out, mountIDs);
    IDList loadoutIDs;   // the file holds the IDs alone
    for (const NavIDNode* entry = loadouts.First(); entry; entry = entry->GetNext())
        loadoutIDs.Insert(new IDNode(entry->GetKey()));
    WriteAnnexList(out, loadoutIDs);
    WriteAnnexList(out, commIDs);
    WriteAnnexList(out, fuelIDs);
    SaveField(out, length);
    SaveField(out, span);
    SaveField(out, weight);
    SaveField(out, crew);
    SaveField(out, airValueUnloaded);
    SaveField(out, airValueLoaded);
    SaveField(out, aircraftFlags);
    SaveField(out, climbRate);
    SaveField(out, textID);
    SaveField(out, value);
    className.Save(out);
    secondName.Save(out);
    for (uint8_t byte : bytes)
        SaveField(out, byte);
    if (annexVersion != 0)
        SaveField(out, lastWord);
}

bool PlaneAnnex::Read(std::istream& in)
{
    propulsionIDs.DeleteAll();
    sensorIDs.DeleteAll();
    mountIDs.DeleteAll();
    loadouts.DeleteAll();
    commIDs.DeleteAll();
    fuelIDs.DeleteAll();
    lastWord = 0;
    ClearWorkedOutFigures();

    LoadKey(in);
    typeCode.Load(in);
    triple1.Load(in);
    triple2.Load(in);
    triple3.Load(in);
    ReadAnnexList(in, propulsionIDs, 2);
    ReadAnnexList(in, sensorIDs, IDRecord::FILE_BYTES);
    ReadAnnexList(in, mountIDs, IDRecord::FILE_BYTES);
    IDList loadoutIDs;
    if (ReadAnnexList(in, loadoutIDs, 2))
        for (const IDNode* id = loadoutIDs.First(); id; id = id->GetNext())
            loadouts.Insert(new NavIDNode(id->GetKey(), 0));
    ReadAnnexList(in, commIDs, 2);
    ReadAnnexList(in, fuelIDs, 2);
    LoadField(in, length);
    LoadField(in, span);
    LoadField(in, weight);
    LoadField(in, crew);
    LoadField(in, airValueUnloaded);
    LoadField(in, airValueLoaded);
    LoadField(in, aircraftFlags);
    LoadField(in, climbRate);
    LoadField(in, textID);
    LoadField(in, value);
    className.Load(in);
    secondName.Load(in);
    for (uint8_t& byte : bytes)
        LoadField(in, byte);
    if (GetAnnexVersion() != 0)
        LoadField(in, lastWord);
    return static_cast<bool>(in);
}
