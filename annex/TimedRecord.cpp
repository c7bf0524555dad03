// TimedRecord.cpp: the attack option's saved form, its one-line text and the
// attack-result table.
#include "annex/TimedRecord.h"

#include <cstring>
#include <istream>
#include <ostream>
#include <string>

#include "annex/AnnexTables.h"
#include "core/ResourceLoader.h"
#include "core/StreamFields.h"

namespace {

// "Attack OK" is never a line's prefix: a fireable option shows its count.
constexpr DBEnumRow ATTACK_RESULT_ROWS[] = {
    {"Attack OK", ATTACK_ALL_REASONS},
    {"No Ammo Ready", ATTACK_NO_AMMO},
    {"Weapon Not Capable", ATTACK_NOT_CAPABLE},
    {"Nuclear Release Not Granted", ATTACK_NO_NUCLEAR_RELEASE},
    {"Not BOL Capable", ATTACK_NOT_BOL_CAPABLE},
    {"Altitude too low", ATTACK_ALTITUDE_TOO_LOW},
    {"Altitude too high", ATTACK_ALTITUDE_TOO_HIGH},
    {"Speed too high", ATTACK_SPEED_TOO_HIGH},
    {"Speed too low", ATTACK_SPEED_TOO_LOW},
    {"Target Not Illuminated", ATTACK_NOT_ILLUMINATED},
    {"Weapon Cannot Acquire Target", ATTACK_CANNOT_ACQUIRE},
    {"Firing location invalid", ATTACK_BAD_LOCATION},
    {"Target Too Close", ATTACK_TOO_CLOSE},
    {"Out Of Range", ATTACK_OUT_OF_RANGE},
};

constexpr DBEnumTable ATTACK_RESULTS = {
    static_cast<uint16_t>(sizeof ATTACK_RESULT_ROWS / sizeof ATTACK_RESULT_ROWS[0]),
    ATTACK_RESULT_ROWS,
};

// The text of the first reason row (past "Attack OK") whose bit is set in
// resultBits, or null when none is.
const char* FindReasonText(uint16_t resultBits)
{
    for (uint16_t row = 1; row < ATTACK_RESULTS.count; ++row) {
        if ((resultBits & ATTACK_RESULTS.rows[row].code) != 0)
            return ATTACK_RESULTS.rows[row].name;
    }
    return nullptr;
}

// Appends the numbered resource text to line; nothing when it cannot be had.
void AppendResourceText(std::string& line, int32_t number)
{
    if (TheResourceLoader == nullptr)
        return;
    const char* const text = TheResourceLoader->Get(number);
    if (text == nullptr)
        return;
    line += text;
    TheResourceLoader->Free(number);
}

// The weapon.dat record in the scenario's weapon table, or null.
const WeaponAnnex* FindWeapon(uint16_t weaponID)
{
    const AnnexTable<WeaponAnnex>* const weapons = Annex::Tables().Weapons();
    return weapons != nullptr ? weapons->Find(weaponID) : nullptr;
}

}  // namespace

const DBEnumTable& TimedRecord::AttackResults()
{
    return ATTACK_RESULTS;
}

void TimedRecord::Describe(char (&text)[TEXT_SIZE]) const
{
    std::string line;
    const WeaponAnnex* const weapon = FindWeapon(weaponID);
    if (weapon == nullptr) {
        AppendResourceText(line, UNKNOWN_WEAPON_TEXT);
    } else {
        if (resultBits == 0) {
            if (quantity != 0)
                line = std::to_string(quantity) + " x ";
            else
                AppendResourceText(line, NONE_ALLOTTED_TEXT);
        } else if (const char* const reason = FindReasonText(resultBits)) {
            line = reason;
            line += " : ";
        }
        const char* const secondName = weapon->secondName.Text();
        line += secondName;
        if (secondName[0] != '\0')
            line += ' ';
        line += weapon->className.Text();
    }
    std::memset(text, 0, sizeof text);
    line.copy(text, TEXT_SIZE - 1);
}

void TimedRecord::Save(std::ostream& out) const
{
    firstTime.Save(out);
    secondTime.Save(out);
    SaveField(out, idA);
    SaveField(out, idB);
    SaveField(out, idC);
    SaveField(out, idD);
    position.Save(out);
    SaveField(out, mountKey);
    SaveField(out, weaponRecKey);
    SaveField(out, weaponID);
    SaveField(out, quantity);
    SaveField(out, resultBits);
    SaveField(out, value16);
    SaveField(out, weaponKind);
    SaveField(out, value16b);
}

bool TimedRecord::Load(std::istream& in)
{
    // Read into a copy, so that a record cut short changes nothing here.
    TimedRecord read;
    read.firstTime.Load(in);
    read.secondTime.Load(in);
    LoadField(in, read.idA);
    LoadField(in, read.idB);
    LoadField(in, read.idC);
    LoadField(in, read.idD);
    read.position.Load(in);
    LoadField(in, read.mountKey);
    LoadField(in, read.weaponRecKey);
    LoadField(in, read.weaponID);
    LoadField(in, read.quantity);
    LoadField(in, read.resultBits);
    LoadField(in, read.value16);
    LoadField(in, read.weaponKind);
    LoadField(in, read.value16b);
    if (!in)
        return false;
    *this = read;   // extra comes back null: it is not saved
    return true;
}
