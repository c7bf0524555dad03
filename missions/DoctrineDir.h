// DoctrineDir.h: the doctrine directory, where the sides' doctrine files lie:
// read at start-up from the INI key DoctrineDir of section Tessarn3 and held
// here for Doctrine::LoadFile.
#pragma once

#include <string>

class ConfigurationFileIO;

// The longest doctrine directory text, the appended backslash included.
constexpr int DOCTRINE_DIR_MAX_LENGTH = 50;

// The doctrine directory text: the key's value cut to DOCTRINE_DIR_MAX_LENGTH
// characters, with a backslash appended when it does not end in one; ".\"
// when the key (or the file) is missing or its value is empty.
std::string ReadDoctrineDir(ConfigurationFileIO& ini);
// The same rules applied to a value already read (null: missing).
std::string MakeDoctrineDir(const char* value);

// The directory held for the doctrine files; ".\" until one is set.
const std::string& GetDoctrineDir();
void SetDoctrineDir(const std::string& directory);
