// PlatformList.cpp: building, copying, filtering and freeing the five
// platform lists of the database viewer.
#include "annex/PlatformList.h"

#include <cstring>
#include <sstream>
#include <string>

#include "annex/AnnexFile.h"
#include "annex/AnnexTables.h"
#include "annex/FacilityAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/ShipAnnex.h"
#include "annex/SubAnnex.h"
#include "annex/WeaponAnnex.h"
#include "core/ErrorReport.h"
#include "core/NameString.h"

namespace Annex {

namespace {

Chain<StringNode>* lists[PLATFORM_KIND_COUNT] = {};
SensorIndexLookup sensorIndexLookup = nullptr;
ViewerTablesRelease viewerTablesRelease = nullptr;

Chain<StringNode>*& ListOf(PlatformKind kind)
{
    return lists[static_cast<int>(kind)];
}

// Writes "second first", or "first" when the second name is empty, into out
// (PLATFORM_TEXT_SIZE bytes). Each name holds at most 31 characters, so the
// join always fits.
void JoinNames(const NameString& first, const NameString& second, char* out)
{
    static_assert(2 * NameString::MAX_LENGTH + 2 <= PLATFORM_TEXT_SIZE);
    out[0] = '\0';
    if (second.Text()[0] != '\0') {
        std::strcat(out, second.Text());
        std::strcat(out, " ");
    }
    std::strcat(out, first.Text());
}

template <class Record>
void MakeEntryText(const Record& record, char* out)
{
    JoinNames(record.className, record.secondName, out);
}

template <>
void MakeEntryText<FacilityAnnex>(const FacilityAnnex& record, char* out)
{
    std::strncpy(out, record.name.Text(), PLATFORM_TEXT_SIZE - 1);
    out[PLATFORM_TEXT_SIZE - 1] = '\0';
}

void ReportDamage(const char* fileName, const std::string& what)
{
    const std::string text = std::string("Annex::LoadPlatformLists: ") + fileName + what;
    ErrorBox(text.c_str());
}

// Reads the records of one platform file into list, one entry per record
// with an ID; the record itself is not kept.
template <class Record>
void ReadPlatformFile(const std::string& annexDir, const char* fileName, Chain<StringNode>& list)
{
    std::istringstream in;
    if (!OpenAnnexFile(AnnexFilePath(annexDir, fileName), in))
        return;   // no file, no entries, no message
    if (!CheckAnnexVersion(in))
        return;
    uint16_t count = 0;
    if (!LoadField(in, count)) {
        ReportDamage(fileName, ": the record count is missing");
        return;
    }
    const int64_t left = AnnexBytesLeft(in);
    if (left >= 0 && int64_t{count} * Record::MIN_FILE_BYTES > left) {
        ReportDamage(fileName, ": record count " + std::to_string(count) + " exceeds the "
                                   + std::to_string(left) + " bytes left");
        return;
    }
    char text[PLATFORM_TEXT_SIZE];
    for (uint32_t i = 0; i < count; ++i) {
        Record record;
        if (!record.Read(in)) {
            ReportDamage(fileName, ": record " + std::to_string(i + 1) + " of "
                                       + std::to_string(count) + " is cut short and dropped");
            return;
        }
        if (record.GetKey() == 0)
            continue;
        MakeEntryText(record, text);
        list.Append(new StringNode(text, record.GetKey(), PLATFORM_TEXT_SIZE));
    }
}

// Appends a copy of entry, with its own text buffer, to out.
void AppendCopy(const StringNode& entry, Chain<StringNode>& out)
{
    out.Append(new StringNode(entry.GetText(), entry.GetValue(), PLATFORM_TEXT_SIZE));
}

void CopyList(PlatformKind kind, const char* missingText, Chain<StringNode>& out)
{
    const Chain<StringNode>* const list = ListOf(kind);
    if (list == nullptr) {
        FatalError(missingText);
        return;
    }
    for (const StringNode* entry = list->First(); entry != nullptr; entry = entry->GetNext())
        AppendCopy(*entry, out);
}

bool FilterKind(PlatformKind kind, const IDList& sensors, Chain<StringNode>*& out)
{
    const RecordList* const index = sensorIndexLookup != nullptr ? sensorIndexLookup(kind) : nullptr;
    return PlatformsWithSensors(ListOf(kind), index, sensors, out);
}

}  // namespace

void LoadPlatformLists(const std::string& annexDir)
{
    FreePlatformLists();
    for (int k = 0; k < PLATFORM_KIND_COUNT; ++k)
        lists[k] = new Chain<StringNode>;
    ReadPlatformFile<ShipAnnex>(annexDir, ANNEX_SHIP, *ListOf(PlatformKind::Ship));
    ReadPlatformFile<SubAnnex>(annexDir, ANNEX_SUB, *ListOf(PlatformKind::Sub));
    ReadPlatformFile<PlaneAnnex>(annexDir, ANNEX_PLANE, *ListOf(PlatformKind::Plane));
    ReadPlatformFile<FacilityAnnex>(annexDir, ANNEX_FACILITY, *ListOf(PlatformKind::Facility));
    ReadPlatformFile<WeaponAnnex>(annexDir, ANNEX_WEAPON, *ListOf(PlatformKind::Weapon));
}

void LoadPlatformLists()
{
    LoadPlatformLists(GetAnnexDir());
}

void FreePlatformLists()
{
    if (viewerTablesRelease != nullptr)
        viewerTablesRelease();
    for (Chain<StringNode>*& list : lists) {
        delete list;   // the chain deletes its entries
        list = nullptr;
    }
}

bool HasPlatformList(PlatformKind kind)
{
    return ListOf(kind) != nullptr;
}

void GetShipButtonList(Chain<StringNode>& out)
{
    CopyList(PlatformKind::Ship, "Ship Button list is NULL", out);
}

void GetSubButtonList(Chain<StringNode>& out)
{
    CopyList(PlatformKind::Sub, "Sub Button list is NULL", out);
}

void GetPlaneButtonList(Chain<StringNode>& out)
{
    CopyList(PlatformKind::Plane, "Plane Button list is NULL", out);
}

void GetFacilityButtonList(Chain<StringNode>& out)
{
    CopyList(PlatformKind::Facility, "Facility Button list is NULL", out);
}

void GetWeaponButtonList(Chain<StringNode>& out)
{
    CopyList(PlatformKind::Weapon, "Weapon Button list is NULL", out);
}

bool FacilitiesWithSensors(const IDList& sensors, Chain<StringNode>*& out)
{
    return FilterKind(PlatformKind::Facility, sensors, out);
}

bool PlanesWithSensors(const IDList& sensors, Chain<StringNode>*& out)
{
    return FilterKind(PlatformKind::Plane, sensors, out);
}

bool SubsWithSensors(const IDList& sensors, Chain<StringNode>*& out)
{
    return FilterKind(PlatformKind::Sub, sensors, out);
}

bool ShipsWithSensors(const IDList& sensors, Chain<StringNode>*& out)
{
    return FilterKind(PlatformKind::Ship, sensors, out);
}

bool PlatformsWithSensors(const Chain<StringNode>* list, const RecordList* sensorIndex,
                          const IDList& sensors, Chain<StringNode>*& out)
{
    if (out == nullptr)
        out = new Chain<StringNode>;
    else
        out->DeleteAll();

    // carrying: the platforms that carry every sensor seen so far.
    IDList carrying;
    bool first = true;
    for (const IDNode* sensor = sensors.First(); sensor != nullptr; sensor = sensor->GetNext()) {
        IDList next;
        const IDListNode* const entry = sensorIndex != nullptr ? sensorIndex->Find(sensor->GetKey()) : nullptr;
        if (entry != nullptr) {
            const IDList& platforms = entry->GetIDList();
            for (const IDNode* p = platforms.First(); p != nullptr; p = p->GetNext()) {
                if (first) {
                    if (next.Find(p->GetKey()) == nullptr)
                        next.Insert(new IDNode(p->GetKey()));
                } else if (IDNode* const kept = carrying.Find(p->GetKey())) {
                    carrying.Remove(kept);
                    next.Insert(kept);
                }
            }
        }
        carrying.DeleteAll();   // platforms without this sensor drop out
        while (IDNode* const moved = next.First()) {
            next.Remove(moved);
            carrying.Insert(moved);
        }
        first = false;
    }

    if (list == nullptr)
        return false;
    for (const StringNode* e = list->First(); e != nullptr && carrying.First() != nullptr; e = e->GetNext()) {
        const intptr_t value = e->GetValue();
        if (value < 0 || value > 0xFFFF)
            continue;
        if (IDNode* const match = carrying.Find(static_cast<uint16_t>(value))) {
            carrying.Remove(match);   // each platform once
            delete match;
            AppendCopy(*e, *out);
        }
    }
    return false;
}

SensorIndexLookup SetSensorIndexLookup(SensorIndexLookup lookup)
{
    const SensorIndexLookup previous = sensorIndexLookup;
    sensorIndexLookup = lookup;
    return previous;
}

ViewerTablesRelease SetViewerTablesRelease(ViewerTablesRelease release)
{
    const ViewerTablesRelease previous = viewerTablesRelease;
    viewerTablesRelease = release;
    return previous;
}

}  // namespace Annex
