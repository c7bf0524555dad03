// MapDir.cpp: reading the map directory from the INI file.
#include "world/MapDir.h"

#include <cstring>

#include "core/ConfigurationFileIO.h"

std::string MakeMapDir(const char* value)
{
    if (value == nullptr || value[0] == '\0')
        return ".\\";
    std::string dir(value, strnlen(value, MAP_DIR_MAX_LENGTH));
    if (dir.back() != '\\') {
        if (dir.size() == MAP_DIR_MAX_LENGTH)
            dir.pop_back();   // room for the backslash
        dir += '\\';
    }
    return dir;
}

std::string ReadMapDir(ConfigurationFileIO& ini)
{
    char value[MAP_DIR_MAX_LENGTH + 1] = {};
    if (ini.GetString("Tessarn3", "MapDir", value, sizeof value, '\0') != 1)
        return MakeMapDir(nullptr);
    return MakeMapDir(value);
}
