// MapDir.h: the map directory, where the coast, border and ice files of the
// scenarios lie: read at start-up from the INI key MapDir of section
// Tessarn3 and passed by the scenario loader to Map::Create_Map.
#pragma once

#include <string>

class ConfigurationFileIO;

// The longest map directory text, the appended backslash included.
constexpr int MAP_DIR_MAX_LENGTH = 100;

// The map directory text: the key's value cut to MAP_DIR_MAX_LENGTH
// characters, with a backslash appended when it does not end in one; ".\"
// when the key (or the file) is missing or its value is empty.
std::string ReadMapDir(ConfigurationFileIO& ini);

// The same rules applied to a value already read (null: missing).
std::string MakeMapDir(const char* value);
