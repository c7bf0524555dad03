// FuelTank.cpp: drawing fuel from a unit's tank, its remaining time and its
// saved form.
#include "units/FuelTank.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "annex/AnnexTables.h"
#include "core/ScenarioAdmin.h"
#include "core/StreamFields.h"

namespace {

// Base units per count of each fuel type code in the table mode.
constexpr uint32_t TABLE_UNITS[] = {
    1,       // 0 "No Fuel"
    36000,   // 1 "Diesel Fuel"
    36000,   // 2 "Gas Fuel"
    36000,   // 3 "Oil Fuel"
    1,       // 4 "Battery"
    36000,   // 5 "Air-Independent"
    1,       // 6 "Rocket Fuel"
    36000,   // 7 "Aviation Fuel"
    1,       // 8 "Weapon Coast Time"
    0,       // 9 "Torpedo Fuel": burnt by weapons only, in raw units
};
constexpr uint32_t TABLE_CODES = sizeof TABLE_UNITS / sizeof TABLE_UNITS[0];

// Aircraft fuel: base units per count.
constexpr uint32_t UNITS_PER_HUNDRED = 100;
// The rate is given per this many game seconds.
constexpr uint64_t RATE_SECONDS = 60;

// How a count converts: base units per count, or raw (no conversion, no
// whole-count rounding).
struct CountScale {
    uint32_t units;
    bool raw;
};

CountScale ChooseScale(uint32_t fuelType, bool raw, bool perHundred)
{
    if (raw)
        return {1, true};
    if (perHundred)
        return {UNITS_PER_HUNDRED, false};
    if (fuelType >= TABLE_CODES)
        return {1, false};                 // no table entry: one unit a count
    if (TABLE_UNITS[fuelType] == 0)
        return {1, true};                  // a division by 0 otherwise
    return {TABLE_UNITS[fuelType], false};
}

// Whether the file being loaded carries the partial amount of each tank.
bool FileCarriesPartial()
{
    if (gAdmin == nullptr)
        return true;
    const VersionNumber version = gAdmin->GetFileVersion();
    if (!(version > VersionNumber(3, 5, 9, 1)))
        return false;
    return gAdmin->HasFullHeader() || version < VersionNumber(3, 5, 10, 0);
}

} // namespace

FuelTank::FuelTank(uint16_t fuelID)
{
    const AnnexTable<FuelAnnex>* table = Annex::Tables().Fuels();
    const FuelAnnex* record = table ? table->Find(fuelID) : nullptr;
    if (record == nullptr) {
        fuelType_ = 0;
        return;
    }
    fuelType_ = record->fuelType;
    capacity_ = record->capacity;
    count_ = record->capacity;
}

uint32_t FuelTank::GetRemaining(uint32_t rate, bool raw, bool perHundred) const
{
    const CountScale scale = ChooseScale(fuelType_, raw, perHundred);
    const uint64_t total = uint64_t{count_} * scale.units + partial_;   // < 2^48
    const uint64_t seconds = rate == 0 ? total : total * RATE_SECONDS / rate;
    return static_cast<uint32_t>(std::min<uint64_t>(seconds, UINT32_MAX));
}

bool FuelTank::Consume(uint32_t amount, bool raw, bool perHundred)
{
    if (amount <= partial_) {
        partial_ -= amount;
        return true;
    }
    const uint32_t rest = amount - partial_;
    const CountScale scale = ChooseScale(fuelType_, raw, perHundred);
    // In 64 bits: with one unit a count, rest / 1 + 1 reaches 2^32.
    const uint64_t need = scale.raw ? rest : uint64_t{rest} / scale.units + 1;
    if (count_ < need) {
        count_ = 0;
        partial_ = 0;
        return false;
    }
    count_ = static_cast<uint32_t>(count_ - need);
    // What is left of the counts drawn: 0 in raw units, else 1 to units.
    const uint64_t drawn = scale.raw ? need : need * scale.units;
    partial_ = static_cast<uint32_t>(drawn - rest);
    return true;
}

bool FuelTank::Save(std::ostream& out) const
{
    SaveField(out, fuelType_);
    SaveField(out, capacity_);
    SaveField(out, count_);
    SaveField(out, partial_);
    return static_cast<bool>(out);
}

bool FuelTank::Load(std::istream& in)
{
    uint32_t fuelType = 0;
    uint32_t capacity = 0;
    uint32_t count = 0;
    uint32_t partial = 0;
    LoadField(in, fuelType);
    LoadField(in, capacity);
    LoadField(in, count);
    if (FileCarriesPartial())
        LoadField(in, partial);
    if (!in)
        return false;
    fuelType_ = fuelType;
    capacity_ = capacity;
    count_ = count;
    partial_ = partial;
    return true;
}
