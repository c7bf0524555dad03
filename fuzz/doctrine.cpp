// doctrine.cpp: fuzz target of a doctrine file (Doctrine::LoadFile) read over
// tables loaded before: a file that loads replaces them whole, any other
// leaves them as they were; decisions are then asked of the doctrine.
#include <cstdint>
#include <string>

#include "fuzz/FuzzTarget.h"
#include "missions/Doctrine.h"
#include "missions/DoctrineDir.h"
#include "missions/SortedIDList.h"

namespace {

// Decisions over the first keys of both tables, each value as its key.
void AskDecisions(const Doctrine& doctrine)
{
    SortedIDList factors;
    SortedIDList options;
    for (uint16_t key = 0; key < 12; ++key) {
        factors.InsertSorted(key, key * 9u);
        options.InsertSorted(key, key);
    }
    (void)doctrine.ChooseOption(factors, options);
}

}  // namespace

void FuzzSeeds(fuzz::Seeds& seeds)
{
    seeds.Add("default", fuzz::ReadFile(fuzz::DataDir() + "/DOCTRINE/default.dtr"));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string sample = fuzz::ReadFile(fuzz::DataDir() + "/DOCTRINE/default.dtr");
    const std::string dir = fuzz::WorkDir() + "/";
    if (!fuzz::WriteFile(dir + "sample.dtr", sample) || !fuzz::WriteFile(dir + "input.dtr", fuzz::Bytes(data, size)))
        return 0;
    fuzz::Guarded([&] {
        SetDoctrineDir(dir);
        Doctrine doctrine(0, 0);
        doctrine.SetFileName("sample.dtr");
        doctrine.LoadFile();
        doctrine.SetFileName("input.dtr");
        doctrine.LoadFile();
        AskDecisions(doctrine);
    });
    return 0;
}
