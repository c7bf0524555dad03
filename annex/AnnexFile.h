// AnnexFile.h: the container shared by the sixteen annex files (version word,
// record count, records), the version rule, the process-wide reading state the
// record readers consult, AnnexTable<T> (the checked table load) and the
// generic file read and write used by the loader, the data builder and tests.
// The record classes live in one file each beside this one; the ID-value list
// node they embed is core/IDRecord.h.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>

#include "core/ErrorReport.h"
#include "core/SavedTreeListOf.h"
#include "core/StreamFields.h"
#include "core/TreeList.h"

// File layout, little-endian:
//   version   u32     the annex version; absent in files older than versions
//   count     u16     number of records, 0 to 65535
//   records   count   one after the other, each starting with its u16 ID
// A record's version-1 fields (the trailing u32 of every record, and more in
// the weapon record) are present only in files of version 1 or later.

// The annex version this program reads and writes.
constexpr uint32_t ANNEX_VERSION = 1;

// The text of the warning for a version-0 file, and of the fatal error for a
// version of 2 or more.
constexpr const char* ANNEX_TEXT_OLDER = "Annex version older than Program version.";
constexpr const char* ANNEX_TEXT_LATER = "Annex version later than Program version.\nCannot continue!";

// The resource text reported when an annex file cannot be opened.
constexpr int32_t ANNEX_OPEN_FAILED_TEXT = 0x7B025D;

// The sixteen annex files, in the order the annex load opens them.
constexpr const char* ANNEX_AIRFACIL = "airfacil.dat";
constexpr const char* ANNEX_COMM = "comm.dat";
constexpr const char* ANNEX_FACILITY = "facility.dat";
constexpr const char* ANNEX_FUEL = "fuel.dat";
constexpr const char* ANNEX_INSTALLA = "installa.dat";
constexpr const char* ANNEX_LOADOUT = "loadout.dat";
constexpr const char* ANNEX_MOUNT = "mount.dat";
constexpr const char* ANNEX_MAGAZINE = "magazine.dat";
constexpr const char* ANNEX_PLANE = "plane.dat";
constexpr const char* ANNEX_PROPULS = "propuls.dat";
constexpr const char* ANNEX_SENSOR = "sensor.dat";
constexpr const char* ANNEX_SHIP = "ship.dat";
constexpr const char* ANNEX_SUB = "sub.dat";
constexpr const char* ANNEX_WEAPON = "weapon.dat";
constexpr const char* ANNEX_WEAPREC = "weaprec.dat";
constexpr const char* ANNEX_WARHEAD = "warhead.dat";
constexpr int ANNEX_FILE_COUNT = 16;
extern const char* const ANNEX_FILES[ANNEX_FILE_COUNT];

// ---------------------------------------------------------------------------
// Reading state

// The annex version of the file being read: set by CheckAnnexVersion, read by
// every record reader to decide on its version-1 fields. 1 until a file sets it.
uint32_t GetAnnexVersion();
void SetAnnexVersion(uint32_t version);

// True while an annex file is being read. WeaponRec, also read from saved
// games, asks it to tell its file layout (by the annex version) from its saved
// layout (by the scenario loader's older-layout flag).
bool IsAnnexLoading();
void SetAnnexLoading(bool loading);

// Holds the annex-loading flag set for its own lifetime and then puts back
// the value it found. Every read of annex records holds one (each table
// load, and the whole annex load around its files), so that a weaprec.dat of
// version 0 reads as one whoever opened it.
class AnnexLoadingScope {
public:
    AnnexLoadingScope() : previous_(IsAnnexLoading()) { SetAnnexLoading(true); }
    ~AnnexLoadingScope() { SetAnnexLoading(previous_); }
    AnnexLoadingScope(const AnnexLoadingScope&) = delete;
    AnnexLoadingScope& operator=(const AnnexLoadingScope&) = delete;

private:
    bool previous_;
};

// Reads the version word of a freshly opened annex file and leaves the stream
// at the u16 count. A word whose high 16 bits are not 0 is no version word
// (the file starts with its count): the version is 0 and the stream goes back
// to where the word began. A file too short for a word but long enough for a
// count is read the same way. The version is stored as the current annex
// version. Version 1 passes silently; 0 shows the ErrorBox ANNEX_TEXT_OLDER
// and passes; 2 or more is the FatalError ANNEX_TEXT_LATER. Answers false
// when reading must stop (a later version, or not even a count left).
bool CheckAnnexVersion(std::istream& in);

// ---------------------------------------------------------------------------
// Checks while reading

// Bytes from the read position to the end of the stream; -1 when the stream
// has failed or cannot tell (it cannot seek).
int64_t AnnexBytesLeft(std::istream& in);

// Reads an embedded list (a u16 count, then count entries of at least
// entryBytes each) with the list's own Load, after checking that the bytes
// left can hold count entries. A count larger than that fails the stream and
// reads nothing more; the list is then left empty. A stream that cannot tell
// its position is read without the check: the list's Load still stops at the
// first entry cut short. Answers the stream's state.
template <class T>
bool ReadAnnexList(std::istream& in, SavedTreeListOf<T>& list, int64_t entryBytes)
{
    const std::streampos start = in ? in.tellg() : std::streampos(-1);
    if (start == std::streampos(-1))
        return list.Load(in);
    uint16_t count = 0;
    if (!LoadField(in, count))
        return false;
    const int64_t left = AnnexBytesLeft(in);
    if (left >= 0 && int64_t{count} * entryBytes > left) {
        in.setstate(std::ios::failbit);
        return false;
    }
    if (!in.seekg(start))
        return false;
    return list.Load(in);
}

// Writes an embedded list; answers the stream's state.
template <class T>
bool WriteAnnexList(std::ostream& out, const SavedTreeListOf<T>& list)
{
    return list.Save(out);
}

// Reports an annex file that cannot be opened: the FatalError whose text is
// resource ANNEX_OPEN_FAILED_TEXT, or a text naming the file when the
// resource cannot be had.
void ReportAnnexOpenFailure(const std::string& path);

// ---------------------------------------------------------------------------
// AnnexTable<T>: a keyed table of annex records of class T.
//
// What T offers (every annex record class does):
//   T()                              all fields cleared, lists empty
//   bool Read(std::istream&)         the file layout, version-1 fields only
//                                    when GetAnnexVersion() is not 0; answers
//                                    the stream's state
//   void Save(std::ostream&, uint32_t annexVersion = ANNEX_VERSION) const
//                                    the same layout; version 0 leaves out the
//                                    version-1 fields
//   void Load(std::istream&)         Read, for SavedTreeListOf
//   static constexpr int64_t MIN_FILE_BYTES
//                                    the smallest record a version-0 file can
//                                    hold (empty lists, empty name); with 4
//                                    more for version 1 it refuses counts
//                                    larger than the bytes left
//
// Load and LoadMatching read the record count, refuse a count that the bytes
// left cannot hold, then read record after record, checking the stream after
// each: a record cut short is deleted, reported, and ends the load. Both
// answer false when anything was refused or cut; what was read whole before
// stays in the table. Both hold an AnnexLoadingScope while they read.
template <class T>
class AnnexTable : public SavedTreeListOf<T> {
public:
    using typename SavedTreeListOf<T>::LoadCallback;

    // fileName only names the file in reports.
    explicit AnnexTable(const char* fileName = "annex") : fileName_(fileName) {}

    const char* GetFileName() const { return fileName_; }

    // Every record read is inserted; afterwards the last key issued is the
    // highest key in the table (unless it is empty).
    bool Load(std::istream& in) override
    {
        return ReadRecords(in, nullptr, nullptr, true);
    }

    // The callback, when given, sees every record read; a record is kept when
    // the reference list holds its ID (a null reference holds nothing).
    bool LoadMatching(std::istream& in, const TreeList* reference, LoadCallback callback) override
    {
        return ReadRecords(in, reference, callback, false);
    }

    // Writes the count and every record in key order in the layout of the
    // given annex version. No version word: WriteAnnexFile writes that.
    bool SaveVersion(std::ostream& out, uint32_t annexVersion) const
    {
        uint32_t count = 0;
        for (const T* record = this->First(); record; record = record->GetNext())
            ++count;
        if (count > 0xFFFF) {
            Report(": more than 65535 records");
            out.setstate(std::ios::failbit);
            return false;
        }
        SaveField(out, static_cast<uint16_t>(count));
        for (const T* record = this->First(); record; record = record->GetNext())
            record->Save(out, annexVersion);
        return static_cast<bool>(out);
    }

    bool Save(std::ostream& out) const override { return SaveVersion(out, ANNEX_VERSION); }

private:
    bool ReadRecords(std::istream& in, const TreeList* reference, LoadCallback callback, bool keepAll)
    {
        const AnnexLoadingScope loading;
        uint16_t count = 0;
        if (!LoadField(in, count)) {
            Report(": the record count is missing");
            return false;
        }
        // Every record of a version-1 file ends with a u32 more.
        const int64_t minBytes = T::MIN_FILE_BYTES + (GetAnnexVersion() != 0 ? 4 : 0);
        const int64_t left = AnnexBytesLeft(in);
        if (left >= 0 && int64_t{count} * minBytes > left) {
            Report(": record count " + std::to_string(count) + " exceeds the "
                   + std::to_string(left) + " bytes left");
            in.setstate(std::ios::failbit);
            return false;
        }
        for (uint32_t i = 0; i < count; ++i) {
            T* const record = new T();
            if (!record->Read(in)) {
                delete record;
                Report(": record " + std::to_string(i + 1) + " of " + std::to_string(count)
                       + " is cut short and dropped");
                return false;
            }
            if (callback)
                callback(record);
            if (keepAll || (reference && reference->Find(record->GetKey())))
                this->Insert(record);
            else
                delete record;
        }
        if (keepAll)
            if (T* const last = this->Last())
                this->SetLastKey(last->GetKey());
        return true;
    }

    void Report(const std::string& what) const
    {
        const std::string text = std::string("AnnexTable::Load: ") + fileName_ + what;
        ErrorBox(text.c_str());
    }

    const char* fileName_;
};

// ---------------------------------------------------------------------------
// Whole files

// The path of an annex file: the annex directory text (the INI key AnnexDir,
// which carries its own trailing separator) followed directly by the name.
std::string AnnexFilePath(const std::string& annexDir, const char* fileName);

// Reads the whole file at path (a program path text, resolved through
// platform::NativePath) into a memory stream, so that the readers can measure
// the bytes left cheaply. False, without a report, when it cannot be opened.
bool OpenAnnexFile(const std::string& path, std::istringstream& in);

// Reads one annex file into table: the version rule, then the table's Load
// (reference null and keepAll true) or LoadMatching. A file that cannot be
// opened is reported by ReportAnnexOpenFailure. Answers false when the file
// was missing, refused by the version rule, or damaged.
template <class T>
bool ReadAnnexFile(const std::string& path, AnnexTable<T>& table, bool keepAll,
                   const TreeList* reference = nullptr,
                   typename AnnexTable<T>::LoadCallback callback = nullptr)
{
    std::istringstream in;
    if (!OpenAnnexFile(path, in)) {
        ReportAnnexOpenFailure(path);
        return false;
    }
    if (!CheckAnnexVersion(in))
        return false;
    return keepAll ? table.Load(in) : table.LoadMatching(in, reference, callback);
}

// Writes a whole annex file: the version word (none for version 0 when
// withVersionWord is false: the layout of files older than versions), then
// the table in that version's layout. Answers the stream's state.
template <class T>
bool WriteAnnexFile(std::ostream& out, const AnnexTable<T>& table, uint32_t annexVersion,
                    bool withVersionWord = true)
{
    if (withVersionWord)
        SaveField(out, annexVersion);
    return table.SaveVersion(out, annexVersion);
}
