// DoctrineDir.cpp: the doctrine directory text, read from the INI file, and
// where it is held.
#include "missions/DoctrineDir.h"

#include <cstring>

#include "core/ConfigurationFileIO.h"

namespace {

std::string& HeldDoctrineDir()
{
    static std::string held = ".\\";
    return held;
}

} // namespace

std::string MakeDoctrineDir(const char* value)
{
    if (value == nullptr || value[0] == '\0')
        return ".\\";
    std::string dir(value, strnlen(value, DOCTRINE_DIR_MAX_LENGTH));
    if (dir.back() != '\\') {
        if (dir.size() == DOCTRINE_DIR_MAX_LENGTH)
            dir.pop_back();   // room for the backslash
        dir += '\\';
    }
    return dir;
}

std::string ReadDoctrineDir(ConfigurationFileIO& ini)
{
    char value[DOCTRINE_DIR_MAX_LENGTH + 1] = {};
    if (ini.GetString("Tessarn3", "DoctrineDir", value, sizeof value, '\0') != 1)
        return MakeDoctrineDir(nullptr);
    return MakeDoctrineDir(value);
}

const std::string& GetDoctrineDir() { return HeldDoctrineDir(); }

void SetDoctrineDir(const std::string& directory) { HeldDoctrineDir() = directory; }
