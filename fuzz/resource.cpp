// resource.cpp: fuzz target of the resource loader: the input is the one
// ".RES" file of the resource folder; the loader indexes it and every block
// of the first indexes is validated, fetched and released as the texts are.
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/ConfigurationFileIO.h"
#include "core/ResourceLoader.h"
#include "fuzz/FuzzTarget.h"

void FuzzSeeds(fuzz::Seeds& seeds)
{
    seeds.Add("TEXT.RES", fuzz::ReadFile(fuzz::DataDir() + "/RESOURCE/TEXT.RES"));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = [] {
        const std::string dir = fuzz::WorkDir() + "/RES";
        std::filesystem::create_directories(dir);
        fuzz::WriteFile(fuzz::WorkDir() + "/res.ini", "[Tessarn3]\nResDirCount 1\nResDir1 " + dir + "\n");
        return dir;
    }();
    fuzz::WriteFile(folder + "/FUZZ.RES", fuzz::Bytes(data, size));
    const uint32_t fileID = size >= 2 ? data[0] | uint32_t{data[1]} << 8 : 0;
    fuzz::Guarded([&] {
        ConfigurationFileIO ini((fuzz::WorkDir() + "/res.ini").c_str());
        ResourceLoader loader(ini);
        for (uint32_t index = 0; index < 64; ++index) {
            const auto number = static_cast<int32_t>(fileID << 16 | index);
            if (loader.ValidateResource(number) > 0 && loader.Get(number) != nullptr)
                loader.Free(number);
        }
        loader.Purge(0);
    });
    return 0;
}
