// idlists.cpp: fuzz target of the sixteen annex reference ID lists of the
// arena section (LoadReferenceLists), saved again after a load.
#include <cstdint>
#include <sstream>
#include <string>

#include "annex/AnnexTables.h"
#include "core/IDNode.h"
#include "core/StreamFields.h"
#include "fuzz/FuzzTarget.h"

using namespace Annex;

void FuzzSeeds(fuzz::Seeds& seeds)
{
    std::ostringstream out(std::ios::binary);
    for (uint16_t list = 0; list < 16; ++list) {
        const uint16_t count = list % 4;
        SaveField(out, count);
        for (uint16_t id = 1; id <= count; ++id)
            SaveField(out, static_cast<uint16_t>(id * 7 + list));
    }
    seeds.Add("lists", out.str());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::istringstream in(fuzz::Bytes(data, size), std::ios::binary);
    fuzz::Guarded([&] {
        if (LoadReferenceLists(in)) {
            std::ostringstream out(std::ios::binary);
            SaveReferenceLists(out);
        }
        ClearReferenceLists();
    });
    return 0;
}
