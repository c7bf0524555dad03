// annex.cpp: fuzz target of the annex tables: the first byte picks one of the
// sixteen annex files, the rest of the input replaces it in a copy of the
// sample annex folder; the tables are loaded (every ID named in the reference
// lists) and the platform lists read, as a scenario's start does.
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

#include "annex/AnnexFile.h"
#include "annex/AnnexTables.h"
#include "annex/PlatformList.h"
#include "core/StreamFields.h"
#include "fuzz/FuzzTarget.h"

using namespace Annex;

namespace {

const char* const FILES[16] = {ANNEX_AIRFACIL, ANNEX_COMM, ANNEX_FACILITY, ANNEX_FUEL, ANNEX_INSTALLA,
                               ANNEX_LOADOUT,  ANNEX_MOUNT, ANNEX_MAGAZINE, ANNEX_PLANE, ANNEX_PROPULS,
                               ANNEX_SENSOR,   ANNEX_SHIP, ANNEX_SUB, ANNEX_WEAPON, ANNEX_WEAPREC,
                               ANNEX_WARHEAD};

std::string SampleFile(int file)
{
    return fuzz::ReadFile(fuzz::DataDir() + "/ANNEX/" + FILES[file]);
}

// Reference lists naming IDs 0 to 599 in every table.
void NameEveryID()
{
    std::ostringstream out(std::ios::binary);
    for (int list = 0; list < 16; ++list) {
        SaveField(out, uint16_t{600});
        for (uint16_t id = 0; id < 600; ++id)
            SaveField(out, id);
    }
    std::istringstream in(out.str(), std::ios::binary);
    LoadReferenceLists(in);
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    for (int file = 0; file < 16; ++file)
        seeds.Add(FILES[file], std::string(1, static_cast<char>(file)) + SampleFile(file));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = [] {
        const std::string dir = fuzz::WorkDir() + "/ANNEX";
        std::filesystem::create_directories(dir);
        for (int file = 0; file < 16; ++file)
            fuzz::WriteFile(dir + "/" + FILES[file], SampleFile(file));
        fuzz::UseSampleResources();
        return dir + "/";
    }();
    if (size < 1)
        return 0;
    const int file = data[0] % 16;
    fuzz::WriteFile(folder + FILES[file], fuzz::Bytes(data + 1, size - 1));
    fuzz::Guarded([&] {
        NameEveryID();
        LoadDatabase(folder);
        LoadPlatformLists(folder);
    });
    FreePlatformLists();
    FreeScenarioAnnex();
    fuzz::WriteFile(folder + FILES[file], SampleFile(file));
    return 0;
}
