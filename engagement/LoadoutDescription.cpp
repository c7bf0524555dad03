// LoadoutDescription.cpp: the loadout text of the arming and launch
// windows, written through a stream that stops at the end of the caller's
// buffer.
#include "engagement/LoadoutDescription.h"

#include <iomanip>
#include <ostream>
#include <streambuf>

#include "annex/AnnexTables.h"
#include "annex/LoadoutAnnex.h"
#include "annex/PlaneAnnex.h"
#include "annex/WeaponAnnex.h"
#include "annex/WeaponRec.h"
#include "core/ErrorReport.h"
#include "core/IDList.h"
#include "core/ResourceLoader.h"
#include "core/gam2arena.h"
#include "units/PlaneRec.h"
#include "units/Unit.h"

uint8_t gShowSubstitutions = 0;

namespace {

constexpr int32_t TEXT_SHIP_HEADING = 0x7B01F1;
constexpr int32_t TEXT_FACILITY_HEADING = 0x7B01F2;
constexpr int32_t TEXT_LOADOUT_HEADING = 0x7B01F3;
constexpr int32_t TEXT_LOADOUT_RADIUS = 0x7B01F4;
constexpr int32_t TEXT_RADIUS_UNIT = 0x7B01F5;
constexpr int32_t TEXT_NO_LOADOUT = 0x7B01F6;
constexpr int32_t TEXT_TYPE_RADIUS = 0x7B01F7;
constexpr int32_t TEXT_NO_WEAPON = 0x7B0258;
constexpr int32_t TEXT_NO_WEAPON_RECORD = 0x7B0259;

// Width of a weapon's name column.
constexpr int NAME_WIDTH = 36;
constexpr int ROUNDS_WIDTH = 3;

// A stream buffer over the caller's bytes that keeps the last byte free
// for the terminator and drops what does not fit.
class BoundedBuffer : public std::streambuf {
public:
    BoundedBuffer(char* text, int16_t size)
    {
        setp(text, text + (size > 0 ? size - 1 : 0));
    }
    // Ends the text after the last byte written.
    void Terminate() { *pptr() = '\0'; }

protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

// Writes a resource text (nothing without a loader or the text).
void PutText(std::ostream& out, int32_t number)
{
    if (TheResourceLoader == nullptr)
        return;
    if (const char* text = TheResourceLoader->Get(number)) {
        out << text;
        TheResourceLoader->Free(number);
    }
}

void PostText(int32_t number)
{
    if (TheResourceLoader == nullptr)
        return;
    if (const char* text = TheResourceLoader->Get(number)) {
        PostToMessageLog(text);
        TheResourceLoader->Free(number);
    }
}

void EndLine(std::ostream& out)
{
    out << '\n' << std::flush;
}

void PutHeading(std::ostream& out, const Unit& unit)
{
    switch (unit.GetTypeLetter()) {
    case 'F': {
        PutText(out, TEXT_FACILITY_HEADING);
        out << unit.GetName().Text();
        if (const Unit* at = unit.attachedID != 0 ? gam2arena::FindUnit(unit.attachedID) : nullptr)
            out << " at " << at->GetName().Text();
        out << '.';
        EndLine(out);
        break;
    }
    case 'S':
        PutText(out, TEXT_SHIP_HEADING);
        out << unit.GetName().Text() << '.';
        EndLine(out);
        break;
    default:
        break;
    }
}

const PlaneAnnex* TypeOf(const PlaneRec* record)
{
    const AnnexTable<PlaneAnnex>* const planes = Annex::Tables().Planes();
    return record != nullptr && planes != nullptr ? planes->Find(record->planeAnnexID) : nullptr;
}

// One weapon line: end of line, then the second name (when there is one)
// and the first name together in the name column, and the rounds.
void PutWeapon(std::ostream& out, uint16_t weaponRecID, const NavIDList* substitutions)
{
    const AnnexTable<WeaponRec>* const recs = Annex::Tables().WeaponRecs();
    const WeaponRec* const rec = recs != nullptr ? recs->Find(weaponRecID) : nullptr;
    if (rec == nullptr) {
        PostText(TEXT_NO_WEAPON_RECORD);
        out << '\0';
        return;
    }
    uint16_t weaponID = rec->weaponID;
    if (gShowSubstitutions != 0 && substitutions != nullptr)
        if (const NavIDNode* shown = substitutions->Find(weaponID)) {
            // Arming records 0 for a weapon the magazines could not supply:
            // the aircraft carry nothing there, so the line is left out. A
            // 0 for a weapon the database lacks still reports the gap.
            if (shown->GetValue() == 0 && Annex::FindWeapon(weaponID) != nullptr)
                return;
            weaponID = shown->GetValue();
        }
    const WeaponAnnex* const weapon = Annex::FindWeapon(weaponID);
    if (weapon == nullptr) {
        PostText(TEXT_NO_WEAPON);
        out << '\0';
        return;
    }
    EndLine(out);
    int width = NAME_WIDTH;
    const char* const second = weapon->secondName.Text();
    if (second[0] != '\0') {
        out << second << ' ';
        width -= static_cast<int>(std::char_traits<char>::length(second)) + 1;
    }
    out << std::setw(width > 0 ? width : 0) << weapon->className.Text() << "  " << std::setw(ROUNDS_WIDTH)
        << rec->shotsLeft;
}

}  // namespace

void DescribeLoadout(uint16_t unitID, uint16_t planeRecID, uint16_t loadoutID, const NavIDList* substitutions,
                     char* text, int16_t size)
{
    if (text == nullptr || size <= 0)
        return;
    BoundedBuffer buffer(text, size);
    std::ostream out(&buffer);
    out.fill(' ');
    out.setf(std::ios::left, std::ios::adjustfield);

    const AnnexTable<LoadoutAnnex>* const loadouts = Annex::Tables().Loadouts();
    const PlaneRec* record = nullptr;
    const LoadoutAnnex* loadout = nullptr;
    Unit* const unit = gam2arena::FindUnit(unitID);
    if (unit != nullptr) {
        PutHeading(out, *unit);
        PlaneRecList* const list = unit->GetPlaneRecList();
        record = list != nullptr ? list->Find(planeRecID) : nullptr;
        if (record != nullptr && loadouts != nullptr)
            loadout = loadouts->Find(loadoutID);
        else
            substitutions = nullptr;
    } else {
        if (loadouts != nullptr)
            loadout = loadouts->Find(loadoutID);
        substitutions = nullptr;
    }

    const PlaneAnnex* const type = TypeOf(record);
    if (loadout == nullptr) {
        PutText(out, TEXT_NO_LOADOUT);
        EndLine(out);
        if (type != nullptr) {
            PutText(out, TEXT_TYPE_RADIUS);
            out << type->usableRange / 2 << ' ';
            PutText(out, TEXT_RADIUS_UNIT);
            EndLine(out);
        }
    } else {
        PutText(out, TEXT_LOADOUT_HEADING);
        for (const IDNode* w = loadout->weaponRecIDs.First(); w != nullptr; w = w->GetNext())
            PutWeapon(out, w->GetKey(), substitutions);
        if (const NavIDNode* entry = type != nullptr ? type->loadouts.Find(loadout->GetKey()) : nullptr) {
            EndLine(out);
            PutText(out, TEXT_LOADOUT_RADIUS);
            out << entry->GetValue() / 3 << ' ';
            PutText(out, TEXT_RADIUS_UNIT);
            EndLine(out);
        }
    }
    buffer.Terminate();
}
