// ini.cpp: fuzz target of the INI reader (ConfigurationFileIO) with the
// lookups start-up makes: strings, numbers, hexadecimal and status words, in
// a named section and in "ALL".
#include <cstdint>
#include <string>

#include "core/ConfigurationFileIO.h"
#include "fuzz/FuzzTarget.h"

void FuzzSeeds(fuzz::Seeds& seeds)
{
    seeds.Add("start-up.ini", "[Tessarn3]\r\nResDirCount 2\r\nResDir1 .\\RESOURCE\\\r\nResDir2 .\\DATA\\\r\n"
                              "AnnexDir .\\ANNEX\\ ; the tables\r\nMapDir .\\MAPS\\\r\nSound On\r\n"
                              "Colours 0x1F\r\n\r\n[Display]\r\nMode\r\n  1024\r\n; remark\r\nKey\tvalue\r\n");
    seeds.Add("empty.ini", "");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::WorkDir() + "/fuzz.ini";
    fuzz::WriteFile(path, fuzz::Bytes(data, size));
    fuzz::Guarded([&] {
        ConfigurationFileIO ini(path.c_str());
        static const char* const sections[] = {"Tessarn3", "Display", "ALL", "Missing"};
        static const char* const keys[] = {"ResDirCount", "ResDir1", "AnnexDir", "MapDir", "Sound", "Colours",
                                           "Mode", "Key"};
        static const char* const words[] = {"Off", "On"};
        static const int32_t values[] = {0, 1};
        char buffer[80];
        int32_t number = 0;
        for (const char* section : sections) {
            for (const char* key : keys) {
                ini.GetString(section, key, buffer, sizeof buffer, ';');
                ini.GetLongInt(section, key);
                ini.GetHexInt(section, key);
                ini.GetStatus(section, key, words, values, 2);
            }
            for (int i = 0; i < 4 && ini.GetNextTextItem(section, "ResDirCount", buffer, sizeof buffer, '['); ++i) {
            }
            for (int i = 0; i < 4 && ini.GetNextNumericItem(section, "Mode", number, '['); ++i) {
            }
        }
    });
    return 0;
}
