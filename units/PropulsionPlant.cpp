// PropulsionPlant.cpp: a propulsion plant's engines and fuels, its choice of
// setting for a wanted speed, its engine loads and fuel use, and its saved
// form.
#include "units/PropulsionPlant.h"

#include <algorithm>
#include <istream>
#include <limits>
#include <ostream>

#include "annex/EngineFuel.h"
#include "annex/AnnexTables.h"
#include "core/StreamFields.h"

namespace {

// Altitudes (tens of metres) above which an engine that needs air can run.
constexpr int16_t DEEPEST_BREATHING = -3;

// Engines that run whenever their fuel is on board, at any altitude.
bool RunsAnywhere(uint32_t engine)
{
    switch (engine) {
    case EngineType::NUCLEAR: case EngineType::ROCKET: case EngineType::TURBOPROP:
    case EngineType::JET: case EngineType::UNNAMED: case EngineType::HELO_TURBOSHAFT:
    case EngineType::MISSILE_COAST: case EngineType::TORPEDO_ENGINE:
        return true;
    default:
        return false;
    }
}

bool NeedsAir(uint32_t engine)
{
    return engine == EngineType::DIESEL || engine == EngineType::GAS_TURBINE
           || engine == EngineType::STEAM;
}

uint32_t ClampToU32(int64_t value)
{
    return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<uint32_t>::max()));
}

// Load table of an electric, air-independent or diesel, gas-turbine or steam
// engine: percent at speed s (knots) in 5-knot bracket k.
int64_t ElectricLoad(int64_t s, int64_t k)
{
    static constexpr int64_t FACTOR[] = {20, 150, 150, 500, 1000, 3000, 10000};
    return k == 2 ? 150 * s + 1500 : FACTOR[std::min<int64_t>(k, 6)] * s;
}

int64_t DieselLoad(int64_t s, int64_t k)
{
    switch (k) {
    case 0: return 8 * s + 60;
    case 1: return 100;
    case 2: return 8 * (s - 10) + 100;
    case 3: return 100 * s / 9;
    case 4: return 100 * s / 7;
    case 5: return 20 * s;
    case 6: return 100 * s / 3;
    default: return 50 * s;
    }
}

int64_t GasTurbineLoad(int64_t s, int64_t k)
{
    switch (k) {
    case 0: return 80;
    case 1: return s + 80;
    case 2: return s + 85;
    case 3: return 100;
    case 4: return 20 * (s - 20) + 100;
    case 5: return 100 * s / 7;
    case 6: return 100 * s / 6;
    default: return 20 * s;
    }
}

int64_t SteamLoad(int64_t s, int64_t k)
{
    switch (k) {
    case 0: return s + 86;
    case 1: return s + 85;
    case 2: return 100;
    case 3: return 1000 * (s - 15) / 75 + 100;
    case 4: return 20 * (s - 15) + 100;
    case 5: return 20 * s;
    case 6: return 25 * s;
    default: return 100 * s / 3;
    }
}

}  // namespace

PropulsionPlant::PropulsionPlant(uint16_t propulsionID) : propulsionAnnexID(propulsionID)
{
    const AnnexTable<PropulsionAnnex>* table = Annex::Tables().Propulsions();
    const PropulsionAnnex* record = table != nullptr ? table->Find(propulsionID) : nullptr;
    if (record == nullptr)
        return;
    engineType = record->primaryType;
    secondEngineType = record->secondaryType;
    hasFuel = engineType == EngineType::NUCLEAR ? 1 : 0;
    for (int row = 0; row < SETTINGS; ++row) {
        for (int band = 0; band < BANDS; ++band) {
            const PropulsionSpeed& entry = record->speedTable[row][band];
            speedTable[row][band] = {entry.upper, entry.lower, entry.speed};
        }
    }
    for (int band = 0; band < BANDS; ++band) {
        useRate[band] = record->bandValuesA[band];
        secondUseRate[band] = record->bandValuesB[band];
    }
    setting = PlantSetting::IDLE;
}

bool PropulsionPlant::Accepts(uint32_t engine, uint32_t fuel)
{
    return EngineAcceptsFuel(engine, fuel);
}

uint32_t PropulsionPlant::OwnFuel(uint32_t engine)
{
    return EngineOwnFuel(engine);
}

int PropulsionPlant::BandInForce(int row, int16_t altitude) const
{
    if (row < 0 || row >= SETTINGS)
        return -1;
    for (int band = 0; band < BANDS; ++band) {
        if (speedTable[row][band].ceiling >= altitude)
            return band;
    }
    return -1;
}

bool PropulsionPlant::FirstRuns(int16_t altitude) const
{
    if (hasFuel == 0)
        return false;
    const bool nearSurface = altitude > DEEPEST_BREATHING;
    if (engineType == EngineType::ELECTRIC || RunsAnywhere(engineType))
        return true;
    if (engineType == EngineType::AIR_INDEPENDENT)
        return nearSurface || hasAirIndependentFuel != 0;
    return NeedsAir(engineType) && nearSurface;
}

// Rows 2 and 3 count when the second engine runs, or when there is none and
// the first runs.
bool PropulsionPlant::FullSettingsOpen(int16_t altitude, bool firstRuns) const
{
    if (secondHasFuel == 0)
        return secondEngineType == 0 && firstRuns;
    const bool nearSurface = altitude > DEEPEST_BREATHING;
    const bool canBreathe = nearSurface || hasAirIndependentFuel != 0;
    const uint32_t second = secondEngineType;
    if (second == EngineType::ELECTRIC || RunsAnywhere(second))
        return true;
    if (second == EngineType::AIR_INDEPENDENT)
        return canBreathe && firstRuns;
    if (NeedsAir(second))
        return nearSurface;
    return secondEngineType == 0 && firstRuns;
}

int32_t PropulsionPlant::Select(uint16_t wanted, int16_t altitude)
{
    const bool firstRuns = FirstRuns(altitude);
    if (!firstRuns) {
        setting = PlantSetting::OFF;
        load = 0;
        secondLoad = 0;
        return 0;
    }
    const bool fullOpen = FullSettingsOpen(altitude, firstRuns);

    int32_t result = -1;
    int bestRow = -1;
    int bestBand = 0;
    int32_t bestSpeed = -1;
    for (int row = 0; row < SETTINGS && result < 0; ++row) {
        if (row >= PlantSetting::FULL && !fullOpen)
            continue;
        const int band = BandInForce(row, altitude);
        if (band < 0)
            continue;
        const uint16_t speed = speedTable[row][band].speed;
        if (speed >= wanted) {
            setting = static_cast<int16_t>(row);
            result = wanted;
        } else if (speed > bestSpeed) {
            bestSpeed = speed;
            bestRow = row;
            bestBand = band;
        }
    }
    if (result < 0) {
        if (bestRow < 0) {
            bestRow = 0;
            bestBand = 0;
        }
        setting = static_cast<int16_t>(bestRow);
        result = speedTable[bestRow][bestBand].speed;
    }

    if (result == 0) {
        load = 100;
        secondLoad = 0;
    } else if (setting < PlantSetting::FULL || secondEngineType == 0) {
        secondLoad = 0;
        load = static_cast<int16_t>(std::min<uint32_t>(LoadPercent(static_cast<uint16_t>(result), altitude, false),
                                                       INT16_MAX));
    } else {
        secondLoad = static_cast<int16_t>(std::min<uint32_t>(LoadPercent(1, altitude, false), INT16_MAX));
        load = static_cast<int16_t>(std::min<uint32_t>(LoadPercent(static_cast<uint16_t>(result), altitude, true),
                                                       INT16_MAX));
    }
    return result;
}

uint32_t PropulsionPlant::LoadPercent(uint16_t speed, int16_t altitude, bool secondEngine) const
{
    const uint32_t engine = secondEngine ? secondEngineType : engineType;
    const int band = std::max(BandInForce(setting, altitude), 0);
    const int row = std::clamp<int>(setting, 0, SETTINGS - 1);
    const int64_t s = speed == 0 ? 1 : speed;
    const int64_t k = (s - 1) / 5;
    const int64_t bandSpeed = speedTable[row][band].speed;
    const int64_t reheat = secondUseRate[band];
    // s / B for the aircraft engines; a band of speed 0 gives no share.
    const auto share = [&](int64_t numerator) { return bandSpeed == 0 ? 0 : numerator * s / bandSpeed; };

    switch (engine) {
    case EngineType::ELECTRIC:
        return ClampToU32(ElectricLoad(s, k));
    case EngineType::AIR_INDEPENDENT:
    case EngineType::DIESEL:
        return ClampToU32(DieselLoad(s, k));
    case EngineType::GAS_TURBINE:
        return ClampToU32(GasTurbineLoad(s, k));
    case EngineType::STEAM:
        return ClampToU32(SteamLoad(s, k));
    case EngineType::ROCKET:
    case EngineType::HELO_TURBOSHAFT:
    case EngineType::MISSILE_COAST:
        return 100;
    case EngineType::TORPEDO_ENGINE:
        return setting >= PlantSetting::FULL ? reheat : 100;
    case EngineType::TURBOPROP:
    case EngineType::JET:
        switch (setting) {
        case PlantSetting::IDLE:
            return 75;
        case PlantSetting::CRUISE:
            return ClampToU32(share(25) + 75);
        case PlantSetting::FULL:
            return engine == EngineType::TURBOPROP ? ClampToU32(share(50) + 100)
                                                   : ClampToU32(share(50) * 2 * reheat / 100);
        case PlantSetting::FLANK:
            return engine == EngineType::TURBOPROP ? 200 : ClampToU32(share(10) * 50 * reheat / 100);
        default:
            return 0;
        }
    default:
        return 0;   // none, nuclear, 512 and unknown engines
    }
}

uint32_t PropulsionPlant::MainFuelUse(int32_t seconds, int16_t altitude) const
{
    if (setting == PlantSetting::OFF)
        return 0;
    int row = setting;
    if (setting >= PlantSetting::FULL && secondEngineType != 0)
        row = PlantSetting::CRUISE;
    const int band = std::max(BandInForce(row, altitude), 0);
    const int64_t engineLoad = secondLoad != 0 ? secondLoad : load;
    return ClampToU32(int64_t{useRate[band]} * engineLoad * seconds / 100);
}

uint32_t PropulsionPlant::SecondFuelUse(int32_t seconds, int16_t altitude) const
{
    const bool secondDrives = setting >= PlantSetting::FULL && secondEngineType != 0;
    const bool airIndependentDeep = altitude < -2 && engineType == EngineType::AIR_INDEPENDENT;
    if (!secondDrives && !airIndependentDeep)
        return 0;
    const int band = std::max(BandInForce(setting, altitude), 0);
    int64_t rate = 0;
    if (secondEngineType != 0)
        rate = secondUseRate[band];
    else if (engineType == EngineType::AIR_INDEPENDENT)
        rate = useRate[band];
    return ClampToU32(rate * load * seconds / 100);
}

const PropulsionPlant::SpeedEntry* PropulsionPlant::BandAt(int16_t altitude) const
{
    if (setting == PlantSetting::OFF || hasFuel == 0)
        return nullptr;
    if (setting >= PlantSetting::FULL && secondEngineType != 0 && secondHasFuel == 0)
        return nullptr;
    const int band = BandInForce(setting, altitude);
    return band < 0 ? nullptr : &speedTable[setting][band];
}

void PropulsionPlant::ClearFuelFlags()
{
    if (engineType != EngineType::NUCLEAR) {
        hasFuel = 0;
        hasAirIndependentFuel = 0;
    }
    if (secondEngineType != EngineType::NUCLEAR)
        secondHasFuel = 0;
}

void PropulsionPlant::NoteFuel(uint32_t fuel)
{
    if (fuel == FuelType::AIR_INDEPENDENT) {
        hasAirIndependentFuel = 1;
        return;
    }
    if (AcceptsFuel(fuel))
        hasFuel = 1;
    if (SecondAcceptsFuel(fuel))
        secondHasFuel = 1;
}

void PropulsionPlant::Save(std::ostream& out) const
{
    SaveKey(out);
    SaveField(out, engineType);
    SaveField(out, secondEngineType);
    lastChange.Save(out);
    SaveField(out, load);
    SaveField(out, secondLoad);
    SaveField(out, hasFuel);
    SaveField(out, secondHasFuel);
    SaveField(out, hasAirIndependentFuel);
    for (const auto& row : speedTable) {
        for (const SpeedEntry& entry : row) {
            SaveField(out, entry.ceiling);
            SaveField(out, entry.floor);
            SaveField(out, entry.speed);
        }
    }
    for (uint16_t rate : useRate)
        SaveField(out, rate);
    for (uint16_t rate : secondUseRate)
        SaveField(out, rate);
    SaveField(out, setting);
    SaveField(out, propulsionAnnexID);
}

bool PropulsionPlant::Load(std::istream& in)
{
    LoadKey(in);
    LoadField(in, engineType);
    LoadField(in, secondEngineType);
    lastChange.Load(in);
    LoadField(in, load);
    LoadField(in, secondLoad);
    LoadField(in, hasFuel);
    LoadField(in, secondHasFuel);
    LoadField(in, hasAirIndependentFuel);
    for (auto& row : speedTable) {
        for (SpeedEntry& entry : row) {
            LoadField(in, entry.ceiling);
            LoadField(in, entry.floor);
            LoadField(in, entry.speed);
        }
    }
    for (uint16_t& rate : useRate)
        LoadField(in, rate);
    for (uint16_t& rate : secondUseRate)
        LoadField(in, rate);
    LoadField(in, setting);
    LoadField(in, propulsionAnnexID);
    return static_cast<bool>(in);
}
